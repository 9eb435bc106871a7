#include "import/terminalprogress.h"

namespace orvane::import {

namespace {

constexpr int barWidth = 30;
constexpr qint64 redrawMilliseconds = 100;

QString duration(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TerminalProgress::TerminalProgress(QTextStream &out, bool terminal)
    : m_out(out)
    , m_terminal(terminal)
{
}

TerminalProgress::~TerminalProgress()
{
    finishLine();
}

void TerminalProgress::tableStarted(const QString &table, int rows)
{
    finishLine();
    m_table = table;
    m_rows = rows;
    m_done = 0;
    m_started.start();
    m_drawn.invalidate();
    if (m_terminal || rows == 0)
        draw();
}

void TerminalProgress::rowsDone(int rows)
{
    m_done = rows;
    if (m_done == m_rows || (m_terminal && (!m_drawn.isValid() || m_drawn.elapsed() >= redrawMilliseconds)))
        draw();
}

void TerminalProgress::finishLine()
{
    if (!m_lineOpen)
        return;
    m_out << '\n';
    m_out.flush();
    m_lineOpen = false;
}

void TerminalProgress::draw()
{
    m_drawn.start();
    m_lineOpen = true;
    const int filled = m_rows > 0 ? int(qint64(m_done) * barWidth / m_rows) : barWidth;
    QString left;
    if (m_done == m_rows)
        left = QStringLiteral("en %1").arg(duration(m_started.elapsed() / 1000));
    else if (m_done > 0)
        left = QStringLiteral("reste %1").arg(duration(m_started.elapsed() * (m_rows - m_done) / m_done / 1000));
    if (m_terminal)
        m_out << '\r';
    m_out << QStringLiteral("%1 [%2%3] %4 / %5  %6")
                 .arg(m_table, -12)
                 .arg(QString(filled, QLatin1Char('#')), QString(barWidth - filled, QLatin1Char('.')))
                 .arg(m_done, 8)
                 .arg(m_rows, -8)
                 .arg(left, -12);
    m_out.flush();
}

} // namespace orvane::import
