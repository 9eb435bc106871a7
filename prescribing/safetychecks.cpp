#include "prescribing/safetychecks.h"

#include "platform/textlines.h"
#include "prescribing/prescriptionlayout.h"
#include "records/schema.h"

#include <QRegularExpression>

#include <algorithm>

namespace orvane::prescribing {

bool classesInteract(const QStringList &classes)
{
    return classes.contains(QStringLiteral("A"), Qt::CaseInsensitive)
        && classes.contains(QStringLiteral("B"), Qt::CaseInsensitive);
}

QString drugNameOf(const QString &brand)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = brand.simplified().split(blanks, Qt::SkipEmptyParts);
    QStringList name;
    for (const QString &word : words) {
        if (std::any_of(word.cbegin(), word.cend(), [](QChar c) { return c.isDigit(); }))
            break;
        name.append(word);
    }
    return name.isEmpty() ? brand.simplified() : name.join(QLatin1Char(' '));
}

bool contraIndicated(const QString &drug, const QStringList &patientTexts)
{
    const QString name = records::sortKey(drugNameOf(drug));
    if (name.isEmpty())
        return false;
    // Whole words only: "FER" must not be found in "INFERIEUR". The blanks inside the name may be
    // any run of blanks in the text.
    QString pattern = QRegularExpression::escape(name);
    pattern.replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
    const QRegularExpression wholeName(QStringLiteral("(?<![\\w])") + pattern + QStringLiteral("(?![\\w])"),
                                       QRegularExpression::UseUnicodePropertiesOption);
    for (const QString &text : patientTexts) {
        const QStringList lines = splitLines(text);
        if (std::any_of(lines.cbegin(), lines.cend(),
                        [&wholeName](const QString &line) { return wholeName.match(records::sortKey(line)).hasMatch(); }))
            return true;
    }
    return false;
}

QString contraIndicationMessage(const QString &drug)
{
    return QStringLiteral("Attention !\nIl y a une contre-indication à l'utilisation du médicament\n") + drug;
}

} // namespace orvane::prescribing
