#include "records/textindex.h"

#include "platform/error.h"
#include "records/database.h"
#include "records/practicesearch.h"
#include "records/schema.h"

#include <QRegularExpression>
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
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    return sortKey(text).toLower().split(separators, Qt::SkipEmptyParts);
}

namespace {

bool exists(Database &db, const TextIndexDef &index)
{
    QSqlQuery &find = db.prepared(db.dialect().findIndexByName());
    find.addBindValue(index.name);
    db.run(find);
    const bool found = find.next();
    find.finish();
    return found;
}

// The indexes of the tables the base holds.
QList<TextIndexDef> indexesOfHeldTables(Database &db)
{
    const QStringList tables = db.connection().tables();
    QList<TextIndexDef> held;
    for (const TextIndexDef &index : textIndexes() + resultTextIndexes()) {
        if (tables.contains(index.table))
            held.append(index);
    }
    return held;
}

} // namespace

QList<TextIndexDef> searchableResultTexts(Database &db)
{
    if (!holdsResults(db.connection().tables()))
        return {};
    for (const TextIndexDef &index : resultTextIndexes()) {
        if (!exists(db, index))
            return {};
    }
    return resultTextIndexes();
}

QStringList missingTextIndexes(Database &db)
{
    QStringList missing;
    for (const TextIndexDef &index : indexesOfHeldTables(db)) {
        if (!exists(db, index))
            missing.append(index.name);
    }
    return missing;
}

void createTextIndexes(Database &db, const std::function<void(int, int)> &progress)
{
    const QList<TextIndexDef> all = indexesOfHeldTables(db);
    for (int i = 0; i < all.size(); ++i) {
        // Another running copy may be making the same index: the table's lock lets one do it.
        Database::Transaction transaction(db, all.at(i).table, Database::Transaction::Begin::Now);
        if (!exists(db, all.at(i))) {
            for (const QString &statement : db.dialect().createTextIndex(all.at(i)) + db.dialect().fillTextIndex(all.at(i)))
                db.run(statement);
        }
        transaction.commit();
        if (progress)
            progress(i + 1, int(all.size()));
    }
}

} // namespace orvane::records
