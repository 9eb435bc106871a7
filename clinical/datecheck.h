#pragma once

#include <QString>
#include <functional>

namespace orvane {
class Clock;
namespace records {
class Table;
}
} // namespace orvane

namespace orvane::clinical {

// Whether one line of the text is exactly the given one, letter case ignored. Lines end with CR LF,
// CR or LF; the text is scanned where the line occurs, never split.
bool containsLine(const QString &text, const QString &line);

// The date block that opens a day's entries: an empty line, the date, an empty line.
void appendDateBlock(QString &text, const QString &dateText);

// Adds the date block when no line of the text is that date; true when it was added.
bool addDateBlockIfMissing(QString &text, const QString &dateText);

// The date check of the patient's running texts (notes, vaccinations, lab results): a text that
// has no line of today's date gets the date block, after the person agreed or without asking.
class DateCheck
{
public:
    // Asked when today's date is missing; true to add it ("Date du jour?" in the question window).
    using Question = std::function<bool()>;

    DateCheck(const Clock &clock, Question askDateOfToday);

    bool isDated(const QString &text) const;
    // True when the date block was added.
    bool run(QString &text) const;
    bool addWithoutAsking(QString &text) const;
    // The same on a text field of the table's current row; the row is stored when the block is added.
    bool run(records::Table &table, const QString &field) const;

private:
    const Clock &m_clock;
    Question m_askDateOfToday;
};

} // namespace orvane::clinical
