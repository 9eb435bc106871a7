#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::import {

// What an import read, stored and changed, table by table, with every decision it took about a
// row the program could not use as it stood.
class ImportReport
{
public:
    struct Counts
    {
        QString table;
        int read = 0;
        int imported = 0;
        int changed = 0;
    };

    void startTable(const QString &table);
    // Decisions about a table started earlier follow again, counted with it.
    void resumeTable(const QString &table);
    Counts &current() { return m_tables[m_current]; }
    const QList<Counts> &tables() const { return m_tables; }
    // A decision about a row (from 0) of the current table; `changed` when the row is not stored as read.
    void note(int row, const QString &decision, bool changed);
    // A decision about the import as a whole.
    void note(const QString &decision);
    const QStringList &notes() const { return m_notes; }

    // The table of counts as the terminal and the report show it.
    QString countsText() const;
    QString text(const QString &folder, const QString &base, const QDateTime &when) const;
    // Writes "import-<date>.txt" (then "-2", "-3"... when an import of the day already wrote one)
    // into the program folder; returns its path. Throws when it cannot be written.
    QString write(const QString &programFolder, const QString &folder, const QString &base,
                  const QDateTime &when) const;

private:
    QList<Counts> m_tables;
    int m_current = -1;
    QStringList m_notes;
};

} // namespace orvane::import
