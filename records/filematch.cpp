#include "records/filematch.h"

#include "records/textindex.h"
#include "platform/textlines.h"

#include <QRegularExpression>

namespace orvane::records {

namespace {

// "dd/MM/yyyy" read digit by digit: the practice search reads every line of the texts it lists, and
// the toolkit's parser of formats costs more than the rest of the search.
QDate dayMonthYear(QStringView text)
{
    if (text.size() != 10 || text.at(2) != QLatin1Char('/') || text.at(5) != QLatin1Char('/'))
        return QDate();
    int parts[3] = {0, 0, 0};
    int part = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('/')) {
            ++part;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            parts[part] = parts[part] * 10 + (c.unicode() - '0');
        } else {
            return QDate();
        }
    }
    return QDate(parts[2], parts[1], parts[0]);
}

QDate dateLine(const QString &line)
{
    return dayMonthYear(QStringView(line).trimmed());
}

bool holdsInARow(const QStringList &words, const QStringList &wanted)
{
    if (wanted.isEmpty())
        return false;
    for (qsizetype start = 0; start + wanted.size() <= words.size(); ++start) {
        if (words.mid(start, wanted.size()) == wanted)
            return true;
    }
    return false;
}

// A recall line begins with "prochain", "rappel" or "à refaire": the other lines are told apart
// without the regular expression, which costs more than the rest of the practice search.
bool mayBeRecall(const QString &line)
{
    for (const QChar c : line) {
        if (c.isSpace())
            continue;
        const QChar folded = c.toCaseFolded();
        return folded == u'p' || folded == u'r' || folded == u'à';
    }
    return false;
}

// The date written after the label of a recall line; none when the line is not one.
std::optional<QDate> recallOf(const QString &line)
{
    if (!mayBeRecall(line))
        return std::nullopt;
    static const QRegularExpression recall(QStringLiteral("^\\s*(?:prochain\\s+)?(?:rappel|à refaire)\\s+le\\s*:\\s*(\\S+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = recall.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    return dayMonthYear(match.capturedView(1));
}

MatchedLine shownEntry(const VaccinationEntry &entry)
{
    return {entry.line.trimmed(), entry.date};
}

} // namespace

std::optional<MatchedLine> lastLineWith(const QStringList &texts, const QString &phrase)
{
    const QStringList wanted = foldedWords(phrase);
    if (wanted.isEmpty())
        return std::nullopt;
    // From the end, line by line: in notes of years the last mention is near it, and folding the
    // whole text for it would cost more than the search itself.
    for (auto text = texts.crbegin(); text != texts.crend(); ++text) {
        const QStringList lines = splitLines(*text);
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            if (dateLine(lines.at(i)).isValid() || !holdsInARow(foldedWords(lines.at(i)), wanted))
                continue;
            QDate date;
            for (qsizetype above = i - 1; above >= 0 && !date.isValid(); --above)
                date = dateLine(lines.at(above));
            return MatchedLine{lines.at(i).trimmed(), date};
        }
    }
    return std::nullopt;
}

QList<VaccinationEntry> vaccinationEntries(const QString &text)
{
    QList<VaccinationEntry> entries;
    QDate date;
    for (const QString &line : splitLines(text)) {
        if (line.trimmed().isEmpty())
            continue;
        const QDate lineDate = dateLine(line);
        if (lineDate.isValid()) {
            date = lineDate;
            continue;
        }
        if (const auto recall = recallOf(line)) {
            if (!entries.isEmpty())
                entries.last().recall = *recall;
            continue;
        }
        entries.append({line, date, QDate()});
    }
    return entries;
}

VaccinationAnswer checkVaccination(const QString &text, const VaccinationCriterion &criterion)
{
    const QList<VaccinationEntry> entries = vaccinationEntries(text);
    const QStringList item = foldedWords(criterion.item);
    const auto isOf = [&criterion, &item](const QStringList &entryWords) {
        return criterion.item.isEmpty() || holdsInARow(entryWords, item);
    };
    if (criterion.kind == VaccinationCriterion::Kind::RecallDue) {
        // Only the last entry of each vaccine counts: an injection given since replaces its recall.
        QStringList seen;
        std::optional<MatchedLine> due;
        for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
            const QStringList words = foldedWords(entry->line);
            // The vaccine or screening an entry is of is its first word ("Pentacoq: 1 ère injection").
            if (!isOf(words) || seen.contains(words.value(0)))
                continue;
            seen.append(words.value(0));
            if (entry->recall.isValid() && entry->recall <= criterion.to && (!due || entry->recall < due->date))
                due = MatchedLine{entry->line.trimmed(), entry->recall};
        }
        return {due.has_value(), due};
    }
    std::optional<MatchedLine> inPeriod;
    std::optional<MatchedLine> last;
    for (const VaccinationEntry &entry : entries) {
        if (!isOf(foldedWords(entry.line)))
            continue;
        last = shownEntry(entry);
        if (entry.date.isValid() && entry.date >= criterion.from && entry.date <= criterion.to)
            inPeriod = shownEntry(entry);
    }
    if (criterion.kind == VaccinationCriterion::Kind::Done)
        return {inPeriod.has_value(), inPeriod};
    return {!inPeriod.has_value(), last};
}

} // namespace orvane::records
