#include "records/textindex.h"

#include "platform/error.h"
#include "records/database.h"
#include "records/latestresults.h"
#include "records/practicesearch.h"
#include "records/schema.h"
#include "records/sqldialect.h"

#include <QSqlQuery>

namespace orvane::records {

const QList<TextIndexDef> &textIndexes()
{
    static const QList<TextIndexDef> all = {
        {tables::consultations, QStringLiteral("Consultation"), QStringLiteral("mots_consultation")},
        {tables::archive, QStringLiteral("Prescription"), QStringLiteral("mots_archive_prescription")},
        {tables::archive, QStringLiteral("Consultation"), QStringLiteral("mots_archive_consultation")},
        {tables::history, QStringLiteral("Antécédents médicaux"), QStringLiteral("mots_antecedents_medicaux")},
        {tables::history, QStringLiteral("Antécédents chirugicaux"), QStringLiteral("mots_antecedents_chirurgicaux")},
        {tables::history, QStringLiteral("Allergies médicamenteuses"), QStringLiteral("mots_allergies")},
        {tables::history, QStringLiteral("Bilans"), QStringLiteral("mots_bilans")},
        {tables::treatments, QStringLiteral("Traitement général"), QStringLiteral("mots_traitement")},
        {tables::treatments, QStringLiteral("Vaccinations"), QStringLiteral("mots_vaccinations")},
    };
    return all;
}

const QList<TextIndexDef> &resultTextIndexes()
{
    static const QList<TextIndexDef> all = {
        {resultsTable::name, resultsTable::label, QStringLiteral("mots_resultats_libelle")},
        {resultsTable::name, resultsTable::comment, QStringLiteral("mots_resultats_commentaire")},
    };
    return all;
}

const TextIndexDef &textIndex(const QString &table, const QString &field)
{
    for (const TextIndexDef &index : textIndexes()) {
        if (index.table == table && index.field == field)
            return index;
    }
    throw Error(QStringLiteral("%1: pas d'index des mots du champ '%2'").arg(table, field));
}

QStringList foldedWords(const QString &text)
{
    // Letters and digits make the words; read by code point, so that a letter beyond the first
    // plane of Unicode stays one.
    const QString folded = sortKey(text).toLower();
    QStringList words;
    qsizetype start = -1;
    for (qsizetype at = 0, width = 1; at < folded.size(); at += width) {
        char32_t c = folded.at(at).unicode();
        width = 1;
        if (folded.at(at).isHighSurrogate() && at + 1 < folded.size() && folded.at(at + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(folded.at(at), folded.at(at + 1));
            width = 2;
        }
        const bool inWord = QChar::isLetterOrNumber(c);
        if (inWord && start < 0) {
            start = at;
        } else if (!inWord && start >= 0) {
            words.append(folded.mid(start, at - start));
            start = -1;
        }
    }
    if (start >= 0)
        words.append(folded.mid(start));
    return words;
}

namespace {

bool exists(Database &db, const QString &name)
{
    QSqlQuery &find = db.prepared(db.dialect().findIndexByName());
    find.addBindValue(name);
    db.run(find);
    const bool found = find.next();
    find.finish();
    return found;
}

// An index of the practice search and what makes it in a base that has rows already.
struct SearchIndex
{
    QString table;
    QString name;
    QStringList making;
};

// The indexes of the tables the base holds.
QList<SearchIndex> indexesOfHeldTables(Database &db)
{
    const QStringList tables = db.connection().tables();
    QList<SearchIndex> held;
    for (const TextIndexDef &index : textIndexes() + resultTextIndexes()) {
        if (tables.contains(index.table))
            held.append({index.table, db.dialect().textIndexName(index),
                         db.dialect().createTextIndex(index) + db.dialect().fillTextIndex(index)});
    }
    for (const TableDef &table : schema()) {
        if (!tables.contains(table.name))
            continue;
        for (const LookupDef &lookup : table.lookups)
            held.append({table.name, lookup.name, {SqlDialect::createLookup(table, lookup)}});
    }
    if (holdsResults(tables))
        held.append({resultsTable::name, latestResults::name, createLatestResults(db.dialect())});
    return held;
}

} // namespace

QList<TextIndexDef> searchableResultTexts(Database &db)
{
    if (!holdsResults(db.connection().tables()))
        return {};
    for (const TextIndexDef &index : resultTextIndexes()) {
        if (!exists(db, db.dialect().textIndexName(index)))
            return {};
    }
    return resultTextIndexes();
}

QStringList missingSearchIndexes(Database &db)
{
    QStringList missing;
    for (const SearchIndex &index : indexesOfHeldTables(db)) {
        if (!exists(db, index.name))
            missing.append(index.name);
    }
    return missing;
}

void createSearchIndexes(Database &db, const std::function<void(int, int)> &progress)
{
    const QList<SearchIndex> all = indexesOfHeldTables(db);
    for (int i = 0; i < all.size(); ++i) {
        // Another running copy may be making the same index: the table's lock lets one do it.
        Database::Transaction transaction(db, all.at(i).table, Database::Transaction::Begin::Now);
        if (!exists(db, all.at(i).name)) {
            for (const QString &statement : all.at(i).making)
                db.run(statement);
        }
        transaction.commit();
        if (progress)
            progress(i + 1, int(all.size()));
    }
}

} // namespace orvane::records
