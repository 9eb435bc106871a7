#pragma once

#include "records/schema.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QSet>
#include <QVariant>
#include <optional>

class QSqlQuery;

namespace orvane::records {

class Database;

// A table object: an open table with a current row, moved and searched through the index of its
// current ordering. Nothing here loads a whole table: every move reads the one row it goes to.
class Table : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Table(Database &db, const QString &tableName = QString(), QObject *parent = nullptr);
    ~Table() override;

    // The name may change only while the table is closed; any spelling of the schema's tables.
    void setTableName(const QString &tableName);
    QString tableName() const { return m_tableName; }
    const TableDef &definition() const;
    Database &database() const { return m_db; }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }

    // Fields separated by ";", as "NomPrénom;Nom;Prénom;N°Dossier"; the current row stays current.
    void setOrdering(const QString &ordering);
    QString ordering() const { return m_orderingFields.join(QLatin1Char(';')); }

    // This table shows only the rows whose link field equals the master's current value, follows
    // the master's moves, and gives its value to the rows inserted here.
    void setMaster(Table *master, const QString &linkField = recordNumberField);
    Table *master() const { return m_master; }

    void first();
    void last();
    void next();
    void prior();
    bool atStart() const { return m_bof; }
    bool atEnd() const { return m_eof; }
    bool isEmpty() const { return !m_row.has_value(); }

    // Re-reads the current row: rows stored by other table objects or other running copies appear.
    void refresh();
    // refresh() then next() (forward) or prior(): one read of the base while the current row is stored.
    void refreshAndStep(bool forward);

    // Searches on the leading fields of the current ordering.
    bool findKey(const QVariantList &values); // exact; the row stays when nothing matches
    void findNearest(const QVariantList &values); // first row whose key is >= the values
    // First row, in the current ordering, whose field equals the value (letter case ignored).
    bool locate(const QString &fieldName, const QVariant &value);
    // The row of a given hidden key (used by grids); false when it no longer exists.
    bool gotoRowId(qint64 rowId);
    qint64 rowId() const { return m_row ? m_row->id : 0; }

    void edit();
    void insert();
    void post();
    void cancel();
    void remove();
    // The implicit store before a move: a changed pending row is posted, an unchanged one dropped.
    void checkBrowseMode();
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }
    // The fields written since edit or insert, typed text included.
    QStringList changedFieldNames() const;

    QVariant value(const QString &fieldName) const;
    QString text(const QString &fieldName) const;
    double number(const QString &fieldName) const;
    QDate date(const QString &fieldName) const;
    QStringList lines(const QString &fieldName) const;

    // Writing needs edit or insert mode; texts are converted to the field's type.
    void setValue(const QString &fieldName, const QVariant &value);
    void setText(const QString &fieldName, const QString &text);
    void setLines(const QString &fieldName, const QStringList &lines);

    // Stores a new row holding these values (in the order of the schema's fields) without moving
    // to it or telling bound controls: for filling a table in bulk. The rules of post hold: values
    // converted to the fields' types, required fields, sort keys, one row per patient. Needs no open
    // table. Returns the new row's hidden key.
    qint64 appendRow(const QVariantList &values);
    // The same for many rows, sent many to a statement in one transaction.
    void appendRows(const QList<QVariantList> &rows);

    // Posts the tables' pending rows as post() on each in turn does, in one transaction. On a server
    // that takes writes to several tables in one statement, their new per-patient rows go in that
    // one statement: a row refused there stays pending, and the others are stored.
    static void postTogether(const QList<Table *> &tables);

    // Adds one to a number field of every row in one atomic step and returns the new value of the
    // first row; an empty table gets one row holding 1. Two running copies never get the same value.
    double increment(const QString &fieldName);

    struct Row
    {
        qint64 id = 0;
        QVariantList values;
    };
    // Up to count rows next to the current one (after it when forward, before it otherwise),
    // without moving; for the grids, which show only the rows on screen.
    QList<Row> neighbours(int count, bool forward) const;
    // Up to count rows on each side, as neighbours() reads them (nearest first), in one read.
    std::pair<QList<Row>, QList<Row>> neighboursAround(int count) const;
    std::optional<Row> currentRow() const { return m_row; }
    int fieldIndex(const QString &fieldName) const;

signals:
    // The current row is another one, or was re-read: bound controls show it again.
    void currentChanged();
    // The program wrote a field of the pending row.
    void fieldChanged(int fieldIndex);
    void stateChanged();
    // Bound controls holding typed text write it into the row now.
    void flushRequested();

private:
    enum class Direction { Forward, Backward };
    // Whether a read of one row also reads the rows the per-patient details show for it.
    enum class Details { Apart, Joined };
    struct Query;

    void requireOpen() const;
    // Before a move: the pending row, and those of the details, are stored.
    void prepareMove();
    // The first row in the direction: first() forward, last() backward.
    void moveToEnd(Direction direction);
    // The row beyond the current one in the direction: next() forward, prior() backward.
    void step(Direction direction);
    void requireEditing() const;
    void flushEditors() const;
    void setRow(std::optional<Row> row);
    void afterMove();
    void storeDetails();
    void followMaster();
    QVariant masterValue() const;
    // The open per-patient details whose rows are read with this table's row.
    QList<Table *> joinedDetails() const;
    // Reads in one statement the rows the details will show for the current row, unless the move
    // already read them.
    void readDetailRows();
    // `select` (one row holding "N°Dossier") with the joined details' rows beside it.
    static QString joinedSelect(const QString &select, const QList<Table *> &joined);
    // Hands each detail its row from the joined columns, the first one at `column`.
    static void readJoined(const QSqlQuery &query, int column, const QList<Table *> &joined);

    QVariantList keyOf(const Row &row) const;
    QList<Row> fetch(Direction direction, const QVariantList &from, int compared, bool inclusive,
                     int limit, Details details = Details::Apart) const;
    QList<Row> runSelect(const QString &where, const QVariantList &bindings, Direction direction,
                         int limit, Details details = Details::Apart) const;
    // The SELECT of runSelect, its values appended to `values`; `leading` columns go first.
    QString selectSql(const QString &where, const QVariantList &bindings, Direction direction, int limit,
                      QVariantList &values, const QString &leading = QString()) const;
    // The keys of the ordering, then the hidden key, compared with as many values.
    QString keyCondition(Direction direction, int compared, bool inclusive) const;
    std::optional<Row> fetchOne(Direction direction, const QVariantList &from, int compared, bool inclusive,
                                Details details = Details::Apart) const;
    std::optional<Row> rowById(qint64 id, Details details = Details::Apart) const;
    // A row of values in the order of the schema's fields, converted and checked as post does.
    Row rowToAppend(const QVariantList &values) const;
    // The hidden key and every field, as a row is read; the row read from the query's `column` on.
    QString selectedColumns() const;
    QList<int> allFields() const;
    Row readRow(const QSqlQuery &query, int column) const;
    const FieldDef &fieldAt(int fieldIndex) const { return definition().fields.at(fieldIndex); }
    // The fields' columns, with their sort keys, and the row's values for them.
    void addColumns(const Row &row, const QList<int> &fieldIndexes, QStringList *columns,
                    QVariantList &bindings) const;
    QList<int> changedFields() const;
    void requireValues(const Row &row) const;
    void writeRow(Row &row, bool inserting);
    bool updateRow(const Row &row);
    // The row goes back to browsing, stored.
    void finishPost();
    // The new per-patient rows of those tables in one statement, each read back as stored.
    static void insertTogether(const QList<Table *> &tables);
    // The INSERT of the row, its values added to `bindings`; when `merging`, into another running
    // copy's row of the same patient, returning the row as stored.
    QString insertStatement(const Row &row, bool merging, QVariantList &bindings) const;
    // After an insert that met another copy's row without writing into it: tells what that copy stored.
    void refuseIfStored(const Row &row);
    [[noreturn]] void refuseOverwrite(const Row &stored);
    QString patientName() const;
    // Into another running copy's row of the same patient when it made one first, if `merging`.
    void insertRow(Row &row, bool merging);
    // Whether the row was written (a per-patient row may meet another copy's row instead).
    // `wholeRow`: the statement returns every column, and the row becomes what it returned.
    bool runInsert(QSqlQuery &insert, const QVariantList &bindings, Row &row, bool wholeRow);

    // The state of a pending row just before its post.
    struct Pending
    {
        State state;
        Row row;
        std::optional<Row> before;
        bool modified;
        QSet<int> changedFields;
    };
    void keepPendingUntilCommit(const Pending &pending);
    void restorePending(const Pending &pending);
    void moveToNeighbourOf(const Row &gone);

    Database &m_db;
    QString m_tableName;
    const TableDef *m_def = nullptr;
    QStringList m_orderingFields;
    QList<int> m_orderingIndexes;
    Table *m_master = nullptr;
    QString m_linkField;
    int m_linkIndex = -1;
    QList<Table *> m_details;
    // The row the master read for this detail with its own, taken at the next followMaster.
    std::optional<std::optional<Row>> m_readWithMaster;

    State m_state = State::Inactive;
    std::optional<Row> m_row; // the current row, or the pending one while editing
    std::optional<Row> m_before; // the current row before editing began
    bool m_modified = false;
    QSet<int> m_changedFields; // fields written since edit or insert: the ones an update stores
    bool m_bof = true;
    bool m_eof = true;
    mutable bool m_flushing = false;
    // The parts of the row queries that change only with the table or its ordering.
    mutable QString m_selectStart;
    mutable QList<bool> m_keyed; // per field: whether it has a sort-key column
    QSqlQuery *m_appendStatement = nullptr;
    mutable QString m_orderForward;
    mutable QString m_orderBackward;
};

} // namespace orvane::records
