#pragma once

#include "import/practiceimport.h"

#include <QElapsedTimer>
#include <QTextStream>

namespace orvane::import {

// The import's advance on the terminal: a bar per table with its rows and the time left, redrawn
// in place a few times a second; one line per table when the output is not a terminal.
class TerminalProgress final : public ImportProgress
{
public:
    TerminalProgress(QTextStream &out, bool terminal);
    ~TerminalProgress() override;

    void tableStarted(const QString &table, int rows) override;
    void rowsDone(int rows) override;
    // Ends the line of the table in progress, before a message.
    void finishLine();

private:
    void draw();

    QTextStream &m_out;
    bool m_terminal;
    QString m_table;
    int m_rows = 0;
    int m_done = 0;
    bool m_lineOpen = false;
    QElapsedTimer m_started;
    QElapsedTimer m_drawn;
};

} // namespace orvane::import
