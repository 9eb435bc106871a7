#include "clinical/datecheck.h"

#include "clinical/fieldtext.h"
#include "platform/clock.h"
#include "platform/textlines.h"
#include "records/table.h"

namespace orvane::clinical {

bool containsLine(const QString &text, const QString &line)
{
    if (line.isEmpty())
        return false;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(line, from, Qt::CaseInsensitive);
        if (at < 0)
            return false;
        const qsizetype end = at + line.size();
        const bool startsLine = at == 0 || isLineBreak(text.at(at - 1));
        const bool endsLine = end == text.size() || isLineBreak(text.at(end));
        if (startsLine && endsLine)
            return true;
        from = at + 1;
    }
}

void appendDateBlock(QString &text, const QString &dateText)
{
    appendLines(text, {QString(), dateText, QString()});
}

bool addDateBlockIfMissing(QString &text, const QString &dateText)
{
    if (containsLine(text, dateText))
        return false;
    appendDateBlock(text, dateText);
    return true;
}

DateCheck::DateCheck(const Clock &clock, Question askDateOfToday)
    : m_clock(clock)
    , m_askDateOfToday(std::move(askDateOfToday))
{
}

bool DateCheck::isDated(const QString &text) const
{
    return containsLine(text, m_clock.todayText());
}

bool DateCheck::run(QString &text) const
{
    if (isDated(text) || !m_askDateOfToday())
        return false;
    appendDateBlock(text, m_clock.todayText());
    return true;
}

bool DateCheck::addWithoutAsking(QString &text) const
{
    return addDateBlockIfMissing(text, m_clock.todayText());
}

bool DateCheck::run(records::Table &table, const QString &field) const
{
    if (isDated(table.text(field)) || !m_askDateOfToday())
        return false;
    changeTextField(table, field, [this](QString &text) { appendDateBlock(text, m_clock.todayText()); });
    return true;
}

} // namespace orvane::clinical
