#pragma once

#include "records/schema.h"
#include "records/textindex.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace orvane::records {

// What differs between the engines: column types, the surrogate key, connection set-up and how a
// writer takes the table for itself. Everything else is the same portable SQL.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    static std::unique_ptr<SqlDialect> forDriver(const QString &driver);

    virtual QString driver() const = 0;
    // Statements run once on every new connection.
    virtual QStringList connectionSetUp() const = 0;
    // Starts a transaction that writes.
    virtual QStringList beginTransaction() const = 0;
    // Starts a transaction that holds the write lock on the table from its first statement.
    virtual QStringList beginExclusive(const QString &quotedTable) const = 0;
    // Inside a transaction: waits until no other connection is creating the schema.
    virtual QStringList lockSchema() const = 0;
    // Whether one statement may insert into several tables (each statement costs a server's round trip).
    virtual bool writesTablesTogether() const = 0;
    // The most values one statement of rows appended in bulk binds.
    virtual int marksPerStatement() const = 0;

    // The column type of a number field, for casting a bound value to it.
    QString numberType() const { return columnType(FieldType::Number); }
    // The column type of a field of that type.
    virtual QString columnType(FieldType type) const = 0;
    // What follows CREATE TABLE (...) for a table stored in the order of its primary key.
    virtual QString keyOrderedTable() const = 0;

    // CREATE TABLE and CREATE INDEX statements for one table of the schema.
    QStringList createStatements(const TableDef &table) const;
    // One lookup index of the table; the same on both engines.
    static QString createLookup(const TableDef &table, const LookupDef &lookup);

    // The full-text index of one text field, made once and then kept up to date by the engine
    // itself in the transaction of every store of the text; and, for a base that has texts
    // already, what fills it.
    virtual QStringList createTextIndex(const TextIndexDef &index) const = 0;
    virtual QStringList fillTextIndex(const TextIndexDef &index) const = 0;
    // One row when an index or table of the bound name exists.
    virtual QString findIndexByName() const = 0;
    // The name that shows the text index made, as the engine holds it.
    virtual QString textIndexName(const TextIndexDef &index) const { return index.name; }
    // A condition on the row `alias` of the index's table: its text holds the bound phrase.
    virtual QString textMatches(const TextIndexDef &index, const QString &alias) const = 0;
    // A condition that holds at least where textMatches does, answered by the index alone: the
    // caller checks the phrase in the lines it reads.
    virtual QString textNarrowedTo(const TextIndexDef &index, const QString &alias) const { return textMatches(index, alias); }
    // The value bound to that condition for the words typed.
    virtual QString phraseValue(const QString &typed) const = 0;
    // Whether, once another criterion has narrowed the patients to few, their texts are better
    // looked for patient by patient than gathered from the whole index.
    virtual bool looksForTextsPerPatient() const = 0;

    // Triggers named `name` that run, in the transaction of each store of a row of `table`, the
    // statements `onRow` gives for the row stored ("new") or the one removed ("old"); an update
    // runs both, the old row first. Only an update of `updatedColumn` counts when one is named.
    virtual QStringList createRowTriggers(const QString &name, const QString &table,
                                          const std::function<QString(const QString &row)> &onRow,
                                          const QString &updatedColumn = {}) const = 0;
    // Inside such a trigger, a statement after which the transaction alone writes `table` until it
    // ends, readers aside: empty where writers take turns anyway.
    virtual QString takeInTrigger(const QString &table) const = 0;

    static QString quote(const QString &identifier);
    // The field of the row named `alias` in a statement.
    static QString column(const QString &alias, const QString &field) { return alias + QLatin1Char('.') + quote(field); }
    // The hidden column holding the sort key of an ordering field.
    static QString keyColumn(const QString &fieldName);
    static QString idColumn() { return QStringLiteral("\"_id\""); }

protected:
    virtual QString idColumnDefinition() const = 0;
    virtual QString textKeyType() const = 0;
    virtual QString numberKeyType() const = 0;
    // The event of a trigger on an update, of the column only when one is named.
    static QString updateOf(const QString &column);
};

// Sort value of an empty number: before every real one.
constexpr double emptyNumberKey = -1.0e300;

} // namespace orvane::records
