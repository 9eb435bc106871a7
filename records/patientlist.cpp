#include "records/patientlist.h"

#include "platform/clock.h"
#include "platform/textlines.h"

namespace orvane::records {

namespace {

QString csvField(const QString &text)
{
    // A mail merge takes one patient a line: the lines of a cell are joined by a blank.
    QString field = joinLines(splitLines(text, FinalBreak::OpensEmptyLine), QStringLiteral(" "));
    if (!field.contains(QLatin1Char(';')) && !field.contains(QLatin1Char('"')))
        return field;
    return QLatin1Char('"') + field.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

const QStringList &patientListTitles()
{
    static const QStringList titles = {QStringLiteral("Nom et Prénom"), QStringLiteral("N°Dossier"),
                                       QStringLiteral("Naissance"),     QStringLiteral("Âge"),
                                       QStringLiteral("Trouvé"),        QStringLiteral("Date")};
    return titles;
}

QStringList patientListCells(const FoundPatient &patient)
{
    return {patient.name,
            QString::number(patient.number, 'f', 0),
            patient.birthText,
            patient.age ? QString::number(*patient.age) : QString(),
            patient.matched,
            patient.matchedDate.isValid() ? shortDateText(patient.matchedDate) : QString()};
}

QByteArray patientListCsv(const QList<FoundPatient> &patients)
{
    QStringList rows;
    rows.append(patientListTitles().join(QLatin1Char(';')));
    for (const FoundPatient &patient : patients) {
        QStringList fields;
        for (const QString &cell : patientListCells(patient))
            fields.append(csvField(cell));
        rows.append(fields.join(QLatin1Char(';')));
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + endLines(rows).toUtf8();
}

} // namespace orvane::records
