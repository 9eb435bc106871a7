#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvane::records {

class Database;

// A text field of a per-patient table searched by its words, through the engine's own full-text
// index: one index per field, named in plain ASCII since SQLite names its own tables after it.
struct TextIndexDef
{
    QString table;
    QString field;
    QString name;
};

// Every text of a patient's file that the practice search reads, one row per patient.
const QList<TextIndexDef> &textIndexes();
// The texts of the received results, many rows per patient; a base of an earlier version has none.
const QList<TextIndexDef> &resultTextIndexes();
const TextIndexDef &textIndex(const QString &table, const QString &field);

// The words of a text as the indexes hold them: letter case and accents do not count.
QStringList foldedWords(const QString &text);

// The indexes of the results' texts the base holds: none until the results table and its indexes are there.
QList<TextIndexDef> searchableResultTexts(Database &db);

// The indexes of the practice search a base made by an earlier version lacks, by name: the texts'
// and the lookups of the tables (see LookupDef); those of a table it does not hold are not lacking.
QStringList missingSearchIndexes(Database &db);
// Makes the missing indexes of the tables the base holds, the texts' filled from the texts the base
// holds, each in one transaction; `progress` hears of each index done (done, count).
void createSearchIndexes(Database &db, const std::function<void(int, int)> &progress = {});

} // namespace orvane::records
