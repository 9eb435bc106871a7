#include "clinical/labreport.h"

#include "platform/conversions.h"

#include <QRegularExpression>

namespace orvane::clinical {

namespace {

constexpr int headerSize = 12;

QString field(const QStringList &fields, int index)
{
    return fields.value(index).trimmed();
}

// "  < 0.12  mg/l " under type A: the value and its unit packed in one field.
void unpackUnit(QString &value, QString &unit)
{
    static const QRegularExpression packed(QStringLiteral("^([<>≤≥]?=?\\s*[+-]?\\d+(?:[.,]\\d+)?\\*?)\\s+(\\S+)$"));
    const QRegularExpressionMatch match = packed.match(value);
    if (unit.isEmpty() && match.hasMatch()) {
        value = match.captured(1);
        unit = match.captured(2);
    }
}

QString withoutMarks(const QString &value)
{
    QString bare = value.trimmed();
    while (bare.startsWith(QLatin1Char('*')))
        bare.remove(0, 1);
    while (bare.endsWith(QLatin1Char('*')))
        bare.chop(1);
    return bare.trimmed();
}

QDate headerDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return QDate();
    int year = match.captured(3).toInt();
    // Two-digit years: the report is of this century unless that puts it in the future.
    if (match.captured(3).size() == 2)
        year += year <= QDate::currentDate().year() % 100 ? 2000 : 1900;
    return QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
}

QDate santeDate(const QString &text)
{
    return QDate::fromString(text.trimmed().left(8), QStringLiteral("yyyyMMdd"));
}

void addComment(LabResult &result, const QString &text)
{
    if (!result.comment.isEmpty())
        result.comment += QLatin1String("\r\n");
    result.comment += text;
}

// HPRIM Net: RES|label|code|type|value|unit|low|high|flag|status|value2|unit2|low2|high2
std::optional<LabResult> resLine(const QString &line)
{
    const QStringList fields = line.split(QLatin1Char('|'));
    LabResult result;
    result.label = field(fields, 1);
    while (result.label.endsWith(QLatin1Char(':')))
        result.label = result.label.chopped(1).trimmed();
    result.code = field(fields, 2);
    result.type = field(fields, 3).toUpper();
    result.value = withoutMarks(fields.value(4));
    result.unit = field(fields, 5);
    unpackUnit(result.value, result.unit);
    if (fields.size() < 5 || (result.label.isEmpty() && result.code.isEmpty()))
        return std::nullopt;
    result.number = labNumber(result.value);
    result.low = field(fields, 6);
    result.high = field(fields, 7);
    result.flag = field(fields, 8).toUpper();
    result.status = field(fields, 9).toUpper();
    result.value2 = withoutMarks(fields.value(10));
    result.unit2 = field(fields, 11);
    unpackUnit(result.value2, result.unit2);
    result.number2 = labNumber(result.value2);
    result.low2 = field(fields, 12);
    result.high2 = field(fields, 13);
    return result;
}

bool isKind(const QString &line, QLatin1String kind)
{
    if (!line.startsWith(kind, Qt::CaseInsensitive))
        return false;
    return line.size() == kind.size() || line.at(kind.size()) == QLatin1Char('|');
}

// HPRIM Santé 2.x: records whose delimiters the "H" record declares.
class SanteReader
{
public:
    explicit SanteReader(const QString &header)
        : m_field(header.at(1))
        , m_component(header.at(2))
        , m_repetition(header.size() > 3 ? header.at(3) : QChar())
        , m_escape(header.size() > 4 ? header.at(4) : QChar())
        , m_subcomponent(header.size() > 5 ? header.at(5) : QChar())
    {
    }

    static bool isHeader(const QString &line)
    {
        // "H" then at least the field and component delimiters, which are never letters or digits.
        return line.size() >= 3 && line.at(0).toUpper() == QLatin1Char('H') && !line.at(1).isLetterOrNumber()
            && !line.at(1).isSpace() && !line.at(2).isLetterOrNumber();
    }

    QString kindOf(const QString &line) const { return line.section(m_field, 0, 0).trimmed().toUpper(); }
    QChar fieldDelimiter() const { return m_field; }

    // Whether the record was one of HPRIM Santé's; results and patients go into the report.
    bool read(const QString &record, LabReport &report) const
    {
        const QStringList fields = record.split(m_field);
        const QString kind = fields.value(0).trimmed().toUpper();
        if (kind == QLatin1String("P"))
            report.patients.append(patient(fields));
        else if (kind == QLatin1String("OBR")) {
            m_requestDate = santeDate(text(fields, 7));
            if (!report.requestDate.isValid())
                report.requestDate = m_requestDate;
        } else if (kind == QLatin1String("OBX")) {
            if (fields.size() < 6)
                return false;
            report.results.append(observation(fields));
        } else if (kind == QLatin1String("C")) {
            if (report.results.isEmpty())
                return true;
            const QString comment = fields.size() > 3 ? text(fields, 3) : text(fields, fields.size() - 1);
            addComment(report.results.last(), comment);
        } else if (kind != QLatin1String("L") && kind != QLatin1String("H"))
            return false;
        return true;
    }

private:
    QStringList components(const QString &value) const
    {
        QStringList parts = value.split(m_component);
        for (QString &part : parts)
            part = unescaped(part).trimmed();
        return parts;
    }

    // The field's components joined by blanks, its escapes undone.
    QString text(const QStringList &fields, int index) const
    {
        QStringList parts = components(fields.value(index));
        parts.removeAll(QString());
        return parts.join(QLatin1Char(' '));
    }

    QString unescaped(const QString &value) const
    {
        if (m_escape.isNull() || !value.contains(m_escape))
            return value;
        QString out;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const qsizetype end = value.indexOf(m_escape, i + 1);
            if (value.at(i) != m_escape || end != i + 2) {
                out += value.at(i);
                continue;
            }
            switch (value.at(i + 1).unicode()) {
            case 'F': out += m_field; break;
            case 'S': out += m_component; break;
            case 'R': out += m_repetition; break;
            case 'E': out += m_escape; break;
            case 'T': out += m_subcomponent; break;
            default: out += value.mid(i, 3);
            }
            i = end;
        }
        return out;
    }

    LabPatient patient(const QStringList &fields) const
    {
        const QStringList name = components(fields.value(5));
        return LabPatient{name.value(0), name.value(1), santeDate(fields.value(7))};
    }

    LabResult observation(const QStringList &fields) const
    {
        LabResult result;
        const QStringList analysis = components(fields.value(3));
        result.code = analysis.value(0);
        result.label = analysis.value(1);
        result.type = field(fields, 2).toUpper();
        result.value = withoutMarks(text(fields, 5));
        result.unit = text(fields, 6);
        unpackUnit(result.value, result.unit);
        result.number = labNumber(result.value);
        const QString range = text(fields, 7);
        static const QRegularExpression bounds(
            QStringLiteral("^\\s*([+-]?\\d+(?:[.,]\\d+)?)\\s*(?:-|à|a)\\s*([+-]?\\d+(?:[.,]\\d+)?)\\s*$"));
        const QRegularExpressionMatch match = bounds.match(range);
        if (match.hasMatch()) {
            result.low = match.captured(1);
            result.high = match.captured(2);
        } else if (!range.isEmpty())
            addComment(result, QStringLiteral("Normales : ") + range);
        result.flag = field(fields, 8).toUpper();
        result.status = field(fields, 11).toUpper();
        result.date = santeDate(fields.value(14));
        if (!result.date.isValid())
            result.date = m_requestDate;
        return result;
    }

    QChar m_field;
    QChar m_component;
    QChar m_repetition;
    QChar m_escape;
    QChar m_subcomponent;
    mutable QDate m_requestDate;
};

} // namespace

std::optional<double> labNumber(const QString &value)
{
    return parseDecimalNumber(withoutMarks(value).remove(QLatin1Char(' ')));
}

QDate LabReport::dateOf(const LabResult &result) const
{
    if (examDate.isValid())
        return examDate;
    return result.date.isValid() ? result.date : requestDate;
}

LabReport readLabReport(const QStringList &lines)
{
    LabReport report;
    if (lines.size() >= headerSize) {
        report.examDateText = lines.at(9).trimmed();
        report.examDate = headerDate(report.examDateText);
        report.laboratory = lines.at(10).mid(10).trimmed();
        for (const QChar c : lines.at(7)) {
            if (c.isLetterOrNumber())
                report.socialSecurity += c;
        }
    }
    std::optional<SanteReader> sante;
    QString record; // the HPRIM Santé record being read, with its continuation lines
    auto endRecord = [&] {
        if (!record.isEmpty() && !sante->read(record, report))
            report.unreadLines.append(record);
        record.clear();
    };
    bool lastIsResult = false; // whether a "TEX" line belongs to the result before it
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (SanteReader::isHeader(line)) {
            if (sante)
                endRecord();
            sante.emplace(line);
            continue;
        }
        if (sante) {
            const QString kind = sante->kindOf(line);
            if (kind == QLatin1String("A")) {
                if (record.isEmpty())
                    report.unreadLines.append(line);
                else
                    record += line.section(sante->fieldDelimiter(), 1);
                continue;
            }
            if (kind == QLatin1String("P") || kind == QLatin1String("OBR") || kind == QLatin1String("OBX")
                || kind == QLatin1String("C") || kind == QLatin1String("L")) {
                endRecord();
                record = line;
                continue;
            }
        }
        if (isKind(line, QLatin1String("RES"))) {
            if (const auto result = resLine(line)) {
                report.results.append(*result);
                lastIsResult = true;
            } else {
                report.unreadLines.append(lines.at(i));
                lastIsResult = false;
            }
        } else if (isKind(line, QLatin1String("TEX"))) {
            if (lastIsResult)
                addComment(report.results.last(), line.mid(4).trimmed());
        } else
            lastIsResult = false;
    }
    if (sante)
        endRecord();
    return report;
}

} // namespace orvane::clinical
