#include "vidal/vidalrequest.h"

#include "platform/textlines.h"
#include "records/table.h"

#include <QStringList>

namespace orvane::vidal {

namespace {

const QString zero = QStringLiteral("0");
constexpr int fixedLineCount = 7;

// A value of one line must not carry a line break: it would shift every later line of the request.
QString oneLine(const QString &value)
{
    QString line = value;
    line.replace(lineBreak, QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QString orZero(const QString &value)
{
    return value.isEmpty() ? zero : oneLine(value);
}

} // namespace

bool VidalPatient::operator==(const VidalPatient &other) const
{
    return sexIndex == other.sexIndex && age == other.age && lastHeight == other.lastHeight
        && lastWeight == other.lastWeight && pregnancyWeeks == other.pregnancyWeeks
        && clearance == other.clearance && allergies == other.allergies;
}

VidalPatient VidalPatient::fromRecords(int sexIndex, const QString &age, const QString &pregnancyWeeks,
                                       const records::Table &measures, const records::Table &history)
{
    VidalPatient patient;
    patient.sexIndex = sexIndex;
    patient.age = age;
    // Each value list ends with a line end: its last memo line is the latest value.
    patient.lastHeight = lastLine(measures.text(QStringLiteral("Taille")));
    patient.lastWeight = lastLine(measures.text(QStringLiteral("Poids")));
    patient.pregnancyWeeks = pregnancyWeeks;
    patient.clearance = measures.text(QStringLiteral("Clearance"));
    patient.allergies = history.text(QStringLiteral("Allergies médicamenteuses"));
    return patient;
}

QString vidalRequest(const VidalPatient &patient)
{
    QStringList lines = {requestMarker,
                         QString::number(patient.sexIndex),
                         oneLine(patient.age),
                         oneLine(patient.lastHeight),
                         oneLine(patient.lastWeight),
                         orZero(patient.pregnancyWeeks),
                         orZero(patient.clearance)};
    const QStringList allergies = splitLines(patient.allergies);
    lines += allergies.isEmpty() ? QStringList{QString()} : allergies;
    return endLines(lines);
}

std::optional<VidalPatient> parseVidalRequest(const QString &text)
{
    const QStringList lines = splitLines(text);
    if (lines.size() < fixedLineCount || lines.first() != requestMarker)
        return std::nullopt;
    VidalPatient patient;
    bool isNumber = false;
    const int sex = lines.at(1).toInt(&isNumber);
    patient.sexIndex = isNumber ? sex : -1;
    patient.age = lines.at(2);
    patient.lastHeight = lines.at(3);
    patient.lastWeight = lines.at(4);
    patient.pregnancyWeeks = lines.at(5);
    patient.clearance = lines.at(6);
    patient.allergies = joinLines(lines.mid(fixedLineCount));
    return patient;
}

} // namespace orvane::vidal
