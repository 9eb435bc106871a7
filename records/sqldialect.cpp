#include "records/sqldialect.h"

namespace orvane::records {

namespace {

class SqliteDialect final : public SqlDialect
{
public:
    QString driver() const override { return QStringLiteral("QSQLITE"); }
    QStringList connectionSetUp() const override
    {
        // WAL keeps the base whole when the program is killed mid-write; FULL makes each commit durable.
        return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=FULL")};
    }
    // A writer takes the lock at once: waiting for it is then covered by the busy timeout, where a
    // deferred transaction could fail at its first write after another copy's commit.
    QStringList beginTransaction() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }
    QStringList beginExclusive(const QString &) const override { return beginTransaction(); }
    QStringList lockSchema() const override { return {}; }
    bool writesTablesTogether() const override { return false; }
    // Qt hands SQLite its "?" marks as named ones, which SQLite looks up one by one: the time to
    // prepare a statement grows with the square of its marks (a 200-row statement of 25 fields: 90 ms).
    int marksPerStatement() const override { return 1000; }

    QString columnType(FieldType type) const override
    {
        switch (type) {
        case FieldType::Number: return QStringLiteral("REAL");
        case FieldType::Short: return QStringLiteral("INTEGER");
        default: return QStringLiteral("TEXT");
        }
    }
    QString keyOrderedTable() const override { return QStringLiteral(" WITHOUT ROWID"); }

protected:
    QString idColumnDefinition() const override
    {
        return idColumn() + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    }
    QString textKeyType() const override { return QStringLiteral("TEXT NOT NULL DEFAULT ''"); }
    QString numberKeyType() const override { return QStringLiteral("REAL NOT NULL DEFAULT -1e300"); }

public:
    // A contentless FTS5 table: the text stays in its own table only; the triggers hand the index
    // each text stored and the old one it replaces, in the same transaction.
    QStringList createTextIndex(const TextIndexDef &index) const override
    {
        const QString fts = quote(index.name);
        const auto handOver = [&](const QString &row) {
            // The old text is taken out of the index, the new one put in.
            return row == QLatin1String("old")
                ? QStringLiteral("INSERT INTO %1(%1, rowid, t) VALUES ('delete', old.%2, old.%3);")
                      .arg(fts, idColumn(), quote(index.field))
                : QStringLiteral("INSERT INTO %1(rowid, t) VALUES (new.%2, new.%3);").arg(fts, idColumn(), quote(index.field));
        };
        return QStringList{QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(t, content='', "
                                          "tokenize='unicode61 remove_diacritics 2')").arg(fts)}
            + createRowTriggers(index.name, index.table, handOver, index.field);
    }
    QStringList fillTextIndex(const TextIndexDef &index) const override
    {
        return {QStringLiteral("INSERT INTO %1(rowid, t) SELECT %2, %3 FROM %4")
                    .arg(quote(index.name), idColumn(), quote(index.field), quote(index.table))};
    }
    QString findIndexByName() const override { return QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"); }
    QString textMatches(const TextIndexDef &index, const QString &alias) const override
    {
        return QStringLiteral("%1.%2 IN (SELECT rowid FROM %3 WHERE %3 MATCH ?)").arg(alias, idColumn(), quote(index.name));
    }
    // Its planner may read the index's whole answer again for each patient: a drug with a word of
    // most notes took two minutes so.
    bool looksForTextsPerPatient() const override { return false; }
    // One FTS5 phrase: the index's own tokenizer splits and folds it as it did the texts.
    QString phraseValue(const QString &typed) const override
    {
        QString escaped = typed;
        escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + escaped + QLatin1Char('"');
    }
    QStringList createRowTriggers(const QString &name, const QString &table,
                                  const std::function<QString(const QString &)> &onRow,
                                  const QString &updatedColumn) const override
    {
        const auto trigger = [&](const QString &suffix, const QString &event, const QString &body) {
            return QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 BEGIN %4 END")
                .arg(quote(name + suffix), event, quote(table), body);
        };
        const QString oldRow = onRow(QStringLiteral("old"));
        const QString newRow = onRow(QStringLiteral("new"));
        return {trigger(QStringLiteral("_ajout"), QStringLiteral("INSERT"), newRow),
                trigger(QStringLiteral("_retrait"), QStringLiteral("DELETE"), oldRow),
                trigger(QStringLiteral("_modif"), updateOf(updatedColumn), oldRow + QLatin1Char(' ') + newRow)};
    }
    // One writer at a time holds the base.
    QString takeInTrigger(const QString &) const override { return {}; }
};

class PostgresDialect final : public SqlDialect
{
public:
    QString driver() const override { return QStringLiteral("QPSQL"); }
    // Its settings go with the connection request.
    QStringList connectionSetUp() const override { return {}; }
    QStringList beginTransaction() const override { return {QStringLiteral("BEGIN")}; }
    QStringList beginExclusive(const QString &quotedTable) const override
    {
        return {QStringLiteral("BEGIN"),
                QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(quotedTable)};
    }
    // Any number will do as long as every copy of the program uses the same one.
    QStringList lockSchema() const override { return {QStringLiteral("SELECT pg_advisory_xact_lock(20060101)")}; }
    bool writesTablesTogether() const override { return true; }
    // Each statement is a round trip; the server binds up to 65,535 values.
    int marksPerStatement() const override { return 30000; }

    QString columnType(FieldType type) const override
    {
        switch (type) {
        case FieldType::Number: return QStringLiteral("DOUBLE PRECISION");
        case FieldType::Short: return QStringLiteral("SMALLINT");
        default: return QStringLiteral("TEXT");
        }
    }
    QString keyOrderedTable() const override { return {}; }

protected:
    QString idColumnDefinition() const override
    {
        return idColumn() + QStringLiteral(" BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    }
    // Byte order, as SQLite compares, whatever the collation the server was set up with.
    QString textKeyType() const override { return QStringLiteral("TEXT COLLATE \"C\" NOT NULL DEFAULT ''"); }
    QString numberKeyType() const override { return QStringLiteral("DOUBLE PRECISION NOT NULL DEFAULT -1e300"); }

public:
    // The text's word list in a column the server computes with every row written, and an index
    // on it: nothing else to upkeep. The list is stored, not computed again at each search: a word
    // found in most texts made the server read them all and split each one again (20 s for
    // 333,000 notes). An earlier version indexed the computed list; that index goes.
    QStringList createTextIndex(const TextIndexDef &index) const override
    {
        return {QStringLiteral("DROP INDEX IF EXISTS %1").arg(quote(index.name)),
                QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 tsvector GENERATED ALWAYS AS (%3) STORED")
                    .arg(quote(index.table), quote(index.name), wordsOf(quote(index.field))),
                QStringLiteral("CREATE INDEX %1 ON %2 USING gin (%3)")
                    .arg(quote(textIndexName(index)), quote(index.table), quote(index.name))};
    }
    QStringList fillTextIndex(const TextIndexDef &) const override { return {}; }
    QString findIndexByName() const override { return QStringLiteral("SELECT 1 FROM pg_class WHERE relname = ?"); }
    QString textIndexName(const TextIndexDef &index) const override { return index.name + QStringLiteral("_gin"); }
    QString textMatches(const TextIndexDef &index, const QString &alias) const override
    {
        return QStringLiteral("%1.%2 @@ phraseto_tsquery('simple', %3)")
            .arg(alias, quote(index.name), folded(QStringLiteral("?")));
    }
    QString phraseValue(const QString &typed) const override { return typed; }
    // The planner weighs both ways itself: per patient, or the index's answer once, hashed.
    bool looksForTextsPerPatient() const override { return true; }
    // The words alone: a word list keeps the places of words up to the 16,383rd only, and notes of
    // years go past it.
    QString textNarrowedTo(const TextIndexDef &index, const QString &alias) const override
    {
        return QStringLiteral("%1.%2 @@ plainto_tsquery('simple', %3)")
            .arg(alias, quote(index.name), folded(QStringLiteral("?")));
    }
    // One function for the three events; it returns nothing, as an AFTER trigger's result is not used.
    QStringList createRowTriggers(const QString &name, const QString &table,
                                  const std::function<QString(const QString &)> &onRow,
                                  const QString &updatedColumn) const override
    {
        const QString function = quote(name) + QStringLiteral("()");
        return {QStringLiteral("CREATE OR REPLACE FUNCTION %1 RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "IF TG_OP <> 'INSERT' THEN %2 END IF; IF TG_OP <> 'DELETE' THEN %3 END IF; "
                               "RETURN NULL; END $$")
                    .arg(function, onRow(QStringLiteral("OLD")), onRow(QStringLiteral("NEW"))),
                QStringLiteral("CREATE TRIGGER %1 AFTER INSERT OR %2 OR DELETE ON %3 FOR EACH ROW EXECUTE FUNCTION %4")
                    .arg(quote(name), updateOf(updatedColumn), quote(table), function)};
    }
    // One lock per transaction, whatever the rows it writes (a lock per row would fill the server's
    // table of locks); it goes at the commit or rollback.
    QString takeInTrigger(const QString &table) const override
    {
        return QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE;").arg(quote(table));
    }

private:
    // Letter case and accents folded by functions the server may index on (unaccent may not), the
    // same expression in the index and in the search so that the planner takes the index.
    static QString folded(const QString &expression)
    {
        return QStringLiteral("lower(translate(%1, '%2', '%3'))")
            .arg(expression, QStringLiteral("ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝàáâãäåçèéêëìíîïñòóôõöùúûüýÿ"),
                 QStringLiteral("AAAAAACEEEEIIIINOOOOOUUUUYaaaaaaceeeeiiiinooooouuuuyy"));
    }
    // The server refuses a word list over 1 MB, and with it the store of the text: a text is
    // indexed on its first 250,000 characters, so that no store is ever refused for its length.
    static QString wordsOf(const QString &expression)
    {
        return QStringLiteral("to_tsvector('simple', %1)").arg(folded(QStringLiteral("left(%1, 250000)").arg(expression)));
    }
};

} // namespace

std::unique_ptr<SqlDialect> SqlDialect::forDriver(const QString &driver)
{
    if (driver.compare(QLatin1String("QPSQL"), Qt::CaseInsensitive) == 0)
        return std::make_unique<PostgresDialect>();
    return std::make_unique<SqliteDialect>();
}

QString SqlDialect::quote(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString SqlDialect::updateOf(const QString &column)
{
    return column.isEmpty() ? QStringLiteral("UPDATE") : QStringLiteral("UPDATE OF %1").arg(quote(column));
}

QString SqlDialect::keyColumn(const QString &fieldName)
{
    return quote(QStringLiteral("_k_") + fieldName);
}

QStringList SqlDialect::createStatements(const TableDef &table) const
{
    QStringList columns{idColumnDefinition()};
    for (const FieldDef &field : table.fields)
        columns.append(quote(field.name) + QLatin1Char(' ') + columnType(field.type));
    for (const QString &name : table.keyedFields()) {
        columns.append(keyColumn(name) + QLatin1Char(' ')
                       + (table.field(name).ordersAsNumber() ? numberKeyType() : textKeyType()));
    }
    const QString quotedTable = quote(table.name);
    QStringList statements{
        QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedTable, columns.join(QLatin1String(", ")))};
    for (int i = 0; i < table.orderings.size(); ++i) {
        QStringList keys;
        for (const QString &name : table.orderings.at(i).split(QLatin1Char(';')))
            keys.append(keyColumn(name));
        keys.append(idColumn());
        statements.append(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                              .arg(quote(table.name + QStringLiteral("~%1").arg(i)), quotedTable,
                                   keys.join(QLatin1String(", "))));
    }
    // Two running copies can never give one patient two rows of the same table.
    if (table.perPatient) {
        statements.append(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                              .arg(quote(table.name + QStringLiteral("~patient")), quotedTable,
                                   quote(recordNumberField)));
    }
    for (const LookupDef &lookup : table.lookups)
        statements.append(createLookup(table, lookup));
    return statements;
}

QString SqlDialect::createLookup(const TableDef &table, const LookupDef &lookup)
{
    const QStringList keyed = table.keyedFields();
    QStringList columns;
    for (const QString &field : lookup.fields) {
        if (field == lookup.inCapitals)
            columns.append(QStringLiteral("upper(%1)").arg(quote(field)));
        else
            columns.append(keyed.contains(field) ? keyColumn(field) : quote(field));
    }
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(quote(lookup.name), quote(table.name), columns.join(QLatin1String(", ")));
}

} // namespace orvane::records
