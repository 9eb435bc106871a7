#include "clinical/analytes.h"

#include "clinical/labreport.h"
#include "platform/textcodec.h"
#include "platform/textlines.h"
#include "records/schema.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace orvane::clinical {

namespace {

const QLatin1String analyteKind("analyse");
const QString labelKind = QStringLiteral("libellé");

QString labelKey(const QString &label)
{
    QString key = records::sortKey(label.simplified());
    // The second unit's line of some laboratories: "CHOLESTEROL(B)".
    static const QRegularExpression secondUnit(QStringLiteral("\\s*\\(B\\)$"));
    key.remove(secondUnit);
    while (key.endsWith(QLatin1Char(':')))
        key = key.chopped(1).trimmed();
    return key;
}

std::optional<UnitFactor> unitFactor(const QString &text)
{
    const qsizetype equals = text.lastIndexOf(QLatin1Char('='));
    if (equals <= 0)
        return std::nullopt;
    UnitFactor factor{text.left(equals).trimmed(), 1, 0};
    const QStringList parts = text.mid(equals + 1).split(QLatin1Char('+'));
    bool factorOk = false;
    bool offsetOk = parts.size() == 1;
    factor.factor = parts.value(0).trimmed().toDouble(&factorOk);
    if (parts.size() == 2)
        factor.offset = parts.at(1).trimmed().toDouble(&offsetOk);
    if (!factorOk || !offsetOk || parts.size() > 2)
        return std::nullopt;
    return factor;
}

// The program's own list is UTF-8; the physician's file is kept as the received texts are.
QStringList fileLines(const QString &path, bool utf8)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return splitLines(utf8 ? QString::fromUtf8(bytes) : fromKeptText(bytes));
}

} // namespace

QString unitKey(const QString &unit)
{
    QString key = unit.toLower();
    key.remove(QLatin1Char(' '));
    key.replace(QChar(0x03BC), QLatin1Char('u'));
    key.replace(QChar(0x00B5), QLatin1Char('u'));
    key.replace(QChar(0x00B3), QLatin1Char('3'));
    return key;
}

std::optional<double> Analyte::converted(double value, const QString &fromUnit) const
{
    const QString key = unitKey(fromUnit);
    for (const UnitFactor &factor : units) {
        if (unitKey(factor.unit) == key)
            return value * factor.factor + factor.offset;
    }
    return std::nullopt;
}

QString Analyte::listText(double value) const
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

void AnalyteCatalogue::read(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = trimmed.split(QLatin1Char('|'));
        const QString kind = fields.value(0).trimmed();
        if (kind == analyteKind && fields.size() == 6) {
            Analyte analyte{fields.at(1).trimmed(), fields.at(2).trimmed(), fields.at(3).trimmed(), 2, {}};
            bool ok = false;
            analyte.decimals = fields.at(4).toInt(&ok);
            for (const QString &unit : fields.at(5).split(QLatin1Char(';'))) {
                const auto factor = unitFactor(unit);
                ok = ok && factor;
                if (factor)
                    analyte.units.append(*factor);
            }
            if (ok && !analyte.name.isEmpty() && !analyte.units.isEmpty()) {
                m_analytes.append(analyte);
                continue;
            }
        } else if (kind == labelKind && fields.size() == 3 && analyte(fields.at(1).trimmed())
                   && !labelKey(fields.at(2)).isEmpty()) {
            m_labels.insert(labelKey(fields.at(2)), fields.at(1).trimmed());
            continue;
        }
        m_problems.append(line);
    }
}

AnalyteCatalogue AnalyteCatalogue::standard(const QString &physicianFile)
{
    AnalyteCatalogue catalogue;
    catalogue.read(fileLines(QStringLiteral(":/analyses.txt"), true));
    catalogue.read(fileLines(physicianFile, false));
    return catalogue;
}

const Analyte *AnalyteCatalogue::analyte(const QString &name) const
{
    for (const Analyte &candidate : m_analytes) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}

const Analyte *AnalyteCatalogue::analyteOf(const LabResult &result) const
{
    for (const QString &text : {result.label, result.code}) {
        const auto found = m_labels.constFind(labelKey(text));
        if (!text.trimmed().isEmpty() && found != m_labels.constEnd())
            return analyte(found.value());
    }
    return nullptr;
}

QString AnalyteCatalogue::labelLine(const QString &analyte, const QString &label)
{
    return labelKind + QLatin1Char('|') + analyte + QLatin1Char('|') + label.simplified().remove(QLatin1Char('|'));
}

bool agree(double a, double b)
{
    const double scale = std::max(std::fabs(a), std::fabs(b));
    return scale == 0 || std::fabs(a - b) <= 0.02 * scale;
}

ListValue listValueOf(const Analyte &analyte, const LabResult &result)
{
    const auto first = result.number ? analyte.converted(*result.number, result.unit) : std::nullopt;
    const auto second = result.number2 ? analyte.converted(*result.number2, result.unit2) : std::nullopt;
    if (first && second && !agree(*first, *second)) {
        return {std::nullopt, QStringLiteral("Les deux unités du laboratoire ne concordent pas : %1 %2 et %3 %4")
                                  .arg(result.value, result.unit, result.value2, result.unit2)};
    }
    if (first || second)
        return {first ? first : second, QString()};
    if (!result.number)
        return {std::nullopt, QString()};
    return {std::nullopt, QStringLiteral("Unité « %1 » inconnue pour %2 : valeur non reportée").arg(result.unit, analyte.name)};
}

} // namespace orvane::clinical
