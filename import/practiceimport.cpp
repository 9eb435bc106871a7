#include "import/practiceimport.h"

#include "import/paradoxtable.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "records/backupfolder.h"
#include "records/baseinuselock.h"
#include "records/database.h"
#include "records/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSet>
#include <cmath>
#include <memory>

namespace orvane::import {

using records::Database;
using records::FieldType;
using records::SqlDialect;
using records::Table;
using records::TableDef;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// File names compare without regard to letter case, as on the Windows systems that wrote them.
QString fileIn(const QString &folder, const QString &name)
{
    const QStringList files = QDir(folder).entryList(QDir::Files);
    for (const QString &file : files) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).absoluteFilePath(file);
    }
    return QString();
}

bool accepts(FieldType type, ParadoxTable::Type stored)
{
    using T = ParadoxTable::Type;
    switch (type) {
    case FieldType::Text: return stored == T::Alpha;
    case FieldType::Number: return stored == T::Number || stored == T::Short || stored == T::Long;
    case FieldType::Short: return stored == T::Short;
    case FieldType::Date: return stored == T::Date;
    case FieldType::Memo:
    case FieldType::FormattedMemo: return stored == T::Memo || stored == T::FormattedMemo || stored == T::Alpha;
    }
    return false;
}

QString expectedType(FieldType type)
{
    switch (type) {
    case FieldType::Text: return QStringLiteral("alphanumérique");
    case FieldType::Number: return QStringLiteral("numérique");
    case FieldType::Short: return QStringLiteral("entier court");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::Memo: return QStringLiteral("mémo");
    case FieldType::FormattedMemo: return QStringLiteral("mémo formaté");
    }
    return QString();
}

qint64 recordKey(const QVariant &number)
{
    return std::llround(number.toDouble());
}

// A table of the folder with, for each field of the schema's table, the file's field holding it.
struct Source
{
    const TableDef *def = nullptr;
    std::unique_ptr<ParadoxTable> file;
    QList<int> columns; // -1: the file has no such field

    QVariantList row(int index) const
    {
        const QVariantList read = file->row(index);
        QVariantList values;
        for (const int column : columns)
            values.append(column < 0 ? QVariant() : read.at(column));
        return values;
    }
};

class ImportRun
{
public:
    ImportRun(const QString &folder, const QDate &today, ImportProgress *progress)
        : m_folder(folder)
        , m_today(today)
        , m_progress(progress)
    {
    }

    // Opens the tables of the folder and checks their fields, before the base is touched.
    void openSources();
    bool holdsPatients(Database &db) const;
    void empty(Database &db, bool everyTable);
    void import(Database &db);
    ImportReport &report() { return m_report; }

private:
    Source *source(const QString &table);
    void startTable(const Source &source);
    void advance(int row);
    void importCounter();
    void importPatients(Database &db);
    void numberWaitingPatients(Database &db);
    void storePatient(Database &db, int row, QVariantList &values);
    void importPerPatient(Database &db, const Source &source);
    void importList(Database &db, const Source &source);
    void joinIntoFirstRow(Database &db, const Source &source, const QVariantList &values, int firstRow, int row);
    void storeCounter(Database &db);
    [[noreturn]] void failAt(const Source &source, int row, const Error &error) const;

    QString m_folder;
    QDate m_today;
    ImportProgress *m_progress;
    std::vector<Source> m_sources;
    ImportReport m_report;
    QSet<qint64> m_patients;
    // Patients whose number is missing or another's: numbered once every number of every table is known.
    struct Waiting
    {
        int row;
        QVariantList values;
        QString why;
    };
    QList<Waiting> m_waiting;
    std::unique_ptr<Table> m_patientTable;
    double m_counter = 0;
    double m_highest = 0;
    double m_issued = 0;
};

void ImportRun::openSources()
{
    for (const TableDef &def : records::schema()) {
        const QString path = fileIn(m_folder, def.name);
        if (path.isEmpty())
            continue;
        Source source;
        source.def = &def;
        source.file = std::make_unique<ParadoxTable>(
            path, fileIn(m_folder, QFileInfo(path).completeBaseName() + QStringLiteral(".MB")));
        QSet<int> used;
        for (const records::FieldDef &field : def.fields) {
            int column = -1;
            const auto &fields = source.file->fields();
            for (int i = 0; i < fields.size(); ++i) {
                if (fields.at(i).name.compare(field.name, Qt::CaseInsensitive) == 0)
                    column = i;
            }
            if (column >= 0 && !accepts(field.type, fields.at(column).type))
                throw Error(QStringLiteral("%1 : le champ « %2 » est de type %3 là où le programme attend le type %4.")
                                .arg(QFileInfo(path).fileName(), fields.at(column).name, fields.at(column).typeName,
                                     expectedType(field.type)));
            if (column < 0)
                m_report.note(QStringLiteral("%1 : le fichier n'a pas de champ « %2 », qui reste vide").arg(def.name, field.name));
            used.insert(column);
            source.columns.append(column);
        }
        const auto &fields = source.file->fields();
        for (int i = 0; i < fields.size(); ++i) {
            if (!used.contains(i))
                m_report.note(QStringLiteral("%1 : le champ « %2 » du fichier n'est pas repris (le programme ne l'a pas)")
                                  .arg(def.name, fields.at(i).name));
        }
        m_sources.push_back(std::move(source));
    }
    if (m_sources.empty())
        throw Error(QStringLiteral("Le dossier %1 ne contient aucune table du programme (donnees.db, CONSULT.DB, "
                                   "ARCH.DB...).").arg(native(m_folder)));
    if (!source(records::tables::patients))
        throw Error(QStringLiteral("Le dossier %1 ne contient pas la table des patients, donnees.db.").arg(native(m_folder)));
}

Source *ImportRun::source(const QString &table)
{
    for (Source &source : m_sources) {
        if (source.def->name == table)
            return &source;
    }
    return nullptr;
}

bool ImportRun::holdsPatients(Database &db) const
{
    for (const TableDef &def : records::schema()) {
        if (def.name != records::tables::patients && !def.perPatient)
            continue;
        QSqlQuery &count = db.prepared(QStringLiteral("SELECT COUNT(*) FROM %1").arg(SqlDialect::quote(def.name)));
        db.run(count);
        const bool any = count.next() && count.value(0).toLongLong() > 0;
        count.finish();
        if (any)
            return true;
    }
    return false;
}

// The patients, their rows and the counter go whatever the folder holds; a list only when the
// folder brings one.
void ImportRun::empty(Database &db, bool everyTable)
{
    // A number the base ever issued is never issued again, even when its rows are replaced.
    QSqlQuery &issued = db.prepared(QStringLiteral("SELECT MAX(%1) FROM %2")
                                        .arg(SqlDialect::quote(records::recordNumberField),
                                             SqlDialect::quote(records::tables::counter)));
    db.run(issued);
    m_issued = issued.next() ? issued.value(0).toDouble() : 0;
    issued.finish();
    for (const TableDef &def : records::schema()) {
        const bool patientData = def.name == records::tables::patients || def.perPatient
            || def.name == records::tables::counter;
        if ((everyTable && patientData) || source(def.name))
            db.run(QStringLiteral("DELETE FROM %1").arg(SqlDialect::quote(def.name)));
    }
}

void ImportRun::startTable(const Source &source)
{
    m_report.startTable(source.def->name);
    m_report.current().read = source.file->rowCount();
    if (m_progress)
        m_progress->tableStarted(source.def->name, source.file->rowCount());
}

void ImportRun::advance(int row)
{
    ++m_report.current().imported;
    if (m_progress)
        m_progress->rowsDone(row + 1);
}

void ImportRun::failAt(const Source &source, int row, const Error &error) const
{
    throw Error(QStringLiteral("%1, ligne %2 : %3").arg(source.def->name).arg(row + 1).arg(error.message()));
}

void ImportRun::import(Database &db)
{
    importCounter();
    importPatients(db);
    for (const Source &source : m_sources) {
        if (source.def->perPatient)
            importPerPatient(db, source);
        else if (source.def->name != records::tables::patients && source.def->name != records::tables::counter)
            importList(db, source);
    }
    numberWaitingPatients(db);
    storeCounter(db);
}

void ImportRun::importCounter()
{
    const Source *counter = source(records::tables::counter);
    if (!counter)
        return;
    startTable(*counter);
    for (int row = 0; row < counter->file->rowCount(); ++row) {
        const QVariant value = counter->row(row).value(0);
        m_counter = std::max(m_counter, value.toDouble());
        advance(row);
    }
    if (counter->file->rowCount() > 1)
        m_report.note(QStringLiteral("%1 lignes au lieu d'une : le compteur garde la plus grande valeur, %2")
                          .arg(counter->file->rowCount())
                          .arg(qint64(m_counter)));
}

void ImportRun::importPatients(Database &db)
{
    const Source &patients = *source(records::tables::patients);
    const int numberField = patients.def->fieldIndex(records::recordNumberField);
    startTable(patients);
    QHash<qint64, int> firstRow;
    m_highest = std::max(m_counter, m_issued);
    for (int row = 0; row < patients.file->rowCount(); ++row) {
        QVariantList values = patients.row(row);
        const QVariant number = values.at(numberField);
        if (number.isNull()) {
            m_waiting.append(Waiting{row, values, QStringLiteral("patient sans numéro de dossier")});
            continue;
        }
        const qint64 key = recordKey(number);
        if (firstRow.contains(key)) {
            m_waiting.append(Waiting{row, values, QStringLiteral("le numéro %1 est déjà celui de la ligne %2 (ses lignes des "
                                                                 "autres tables restent à celle-ci)")
                                                      .arg(key)
                                                      .arg(firstRow.value(key) + 1)});
            continue;
        }
        firstRow.insert(key, row);
        m_patients.insert(key);
        m_highest = std::max(m_highest, number.toDouble());
        storePatient(db, row, values);
    }
}

// Numbered after every number any table of the folder uses, as the program numbers a new file: a
// number that rows of a deleted patient still carry would give them to him.
void ImportRun::numberWaitingPatients(Database &db)
{
    const Source &patients = *source(records::tables::patients);
    const int numberField = patients.def->fieldIndex(records::recordNumberField);
    if (m_waiting.isEmpty())
        return;
    m_report.resumeTable(patients.def->name);
    if (m_progress)
        m_progress->tableStarted(patients.def->name, patients.file->rowCount());
    for (Waiting &patient : m_waiting) {
        m_highest += 1;
        patient.values[numberField] = m_highest;
        m_patients.insert(recordKey(m_highest));
        m_report.note(patient.row, QStringLiteral("%1 (%2) : reçoit le numéro %3")
                                       .arg(patient.why, patient.values.at(patients.def->fieldIndex(QStringLiteral("NomPrénom"))).toString())
                                       .arg(qint64(m_highest)),
                      true);
        storePatient(db, patient.row, patient.values);
    }
}

void ImportRun::storePatient(Database &db, int row, QVariantList &values)
{
    const Source &patients = *source(records::tables::patients);
    const TableDef &def = *patients.def;
    const int nameField = def.fieldIndex(QStringLiteral("NomPrénom"));
    const int surnameField = def.fieldIndex(QStringLiteral("Nom"));
    const int forenameField = def.fieldIndex(QStringLiteral("Prénom"));
    try {
        if (values.at(nameField).isNull() && !values.at(surnameField).isNull()) {
            values[nameField] = values.at(surnameField).toString() + QLatin1Char(' ') + values.at(forenameField).toString();
            m_report.note(row, QStringLiteral("NomPrénom vide, composé du nom et du prénom : %1").arg(values.at(nameField).toString()), true);
        }
        if (!m_patientTable)
            m_patientTable = std::make_unique<Table>(db, def.name);
        m_patientTable->appendRow(values);
    } catch (const Error &error) {
        failAt(patients, row, error);
    }
    advance(row);
}

void ImportRun::importPerPatient(Database &db, const Source &source)
{
    const int link = source.def->fieldIndex(records::recordNumberField);
    Table table(db, source.def->name);
    startTable(source);
    QHash<qint64, int> firstRow;
    for (int row = 0; row < source.file->rowCount(); ++row) {
        const QVariantList values = source.row(row);
        const QVariant number = values.at(link);
        try {
            if (number.isNull()) {
                table.appendRow(values);
                m_report.note(row, QStringLiteral("ligne sans numéro de dossier, importée telle quelle"), false);
            } else if (firstRow.contains(recordKey(number))) {
                joinIntoFirstRow(db, source, values, firstRow.value(recordKey(number)), row);
            } else {
                table.appendRow(values);
                firstRow.insert(recordKey(number), row);
                m_highest = std::max(m_highest, number.toDouble());
                if (!m_patients.contains(recordKey(number)))
                    m_report.note(row, QStringLiteral("ligne d'un patient supprimé (aucun patient n'a le numéro %1) : "
                                                      "importée telle quelle, le numéro n'est pas redonné")
                                           .arg(recordKey(number)),
                                  false);
            }
        } catch (const Error &error) {
            failAt(source, row, error);
        }
        advance(row);
    }
}

// The program keeps one row per patient: a second one joins the first. Texts follow the first's
// under a dated line (value lists, which are entries, simply follow); a short field keeps the
// first's value and the report keeps the other.
void ImportRun::joinIntoFirstRow(Database &db, const Source &source, const QVariantList &values, int firstRow, int row)
{
    const TableDef &def = *source.def;
    Table first(db, def.name);
    first.open();
    first.locate(records::recordNumberField, values.at(def.fieldIndex(records::recordNumberField)));
    first.edit();
    const bool valueLists = def.name == records::tables::measures;
    const QString separator = QStringLiteral("\r\n----- Seconde fiche de ce dossier, réunie à l'importation du %1 -----\r\n")
                                  .arg(m_today.toString(QStringLiteral("dd/MM/yyyy")));
    QStringList kept;
    for (int i = 0; i < def.fields.size(); ++i) {
        const records::FieldDef &field = def.fields.at(i);
        const QVariant value = values.at(i);
        if (value.isNull() || field.name == records::recordNumberField)
            continue;
        const QString existing = first.text(field.name);
        if (field.type == FieldType::Memo || field.type == FieldType::FormattedMemo) {
            QString joined = existing;
            if (!existing.isEmpty())
                joined += valueLists ? (existing.endsWith(QLatin1Char('\r')) ? QString() : QStringLiteral("\r")) : separator;
            first.setText(field.name, joined + value.toString());
        } else if (first.value(field.name).isNull()) {
            first.setValue(field.name, value);
        } else if (first.value(field.name) != value) {
            kept.append(QStringLiteral("%1 « %2 »").arg(field.name, value.toString()));
        }
    }
    first.post();
    QString decision = QStringLiteral("seconde ligne du dossier %1 (la première est la ligne %2) : réunie à la première")
                           .arg(recordKey(values.at(def.fieldIndex(records::recordNumberField))))
                           .arg(firstRow + 1);
    if (!kept.isEmpty())
        decision += QStringLiteral(", qui garde ses valeurs ; non repris : ") + kept.join(QLatin1String(", "));
    m_report.note(row, decision, true);
}

void ImportRun::storeCounter(Database &db)
{
    const double value = std::max(m_issued, m_highest);
    if (value == 0)
        return;
    if (value > m_counter && source(records::tables::counter))
        m_report.note(QStringLiteral("%1 : le compteur passe de %2 à %3, le plus grand numéro de dossier utilisé dans les tables")
                          .arg(records::tables::counter)
                          .arg(qint64(m_counter))
                          .arg(qint64(value)));
    db.run(QStringLiteral("DELETE FROM %1").arg(SqlDialect::quote(records::tables::counter)));
    Table(db, records::tables::counter).appendRow({value});
}

void ImportRun::importList(Database &db, const Source &source)
{
    Table table(db, source.def->name);
    startTable(source);
    for (int row = 0; row < source.file->rowCount(); ++row) {
        const QVariantList values = source.row(row);
        try {
            table.appendRow(values);
        } catch (const Error &error) {
            failAt(source, row, error);
        }
        advance(row);
    }
}

// Other workstations' connections to a shared base: the program runs there.
bool otherSessions(Database &db)
{
    QSqlQuery &sessions = db.prepared(QStringLiteral(
        "SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid() "
        "AND backend_type = 'client backend'"));
    db.run(sessions);
    const bool any = sessions.next() && sessions.value(0).toLongLong() > 0;
    sessions.finish();
    return any;
}

void removeBaseFiles(const QString &basePath)
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(basePath + suffix);
}

} // namespace

PracticeImport::PracticeImport(const QString &folder, const records::AliasSettings &alias,
                               const QString &programFolder, const Clock &clock)
    : m_folder(folder)
    , m_alias(alias)
    , m_programFolder(programFolder)
    , m_clock(clock)
{
}

ImportResult PracticeImport::run(bool replace, ImportProgress *progress)
{
    if (!QFileInfo(m_folder).isDir())
        throw Error(QStringLiteral("Le dossier %1 n'existe pas.").arg(native(m_folder)));
    const QDateTime now = m_clock.now();
    ImportRun run(m_folder, now.date(), progress);
    run.openSources();

    const QString basePath = m_alias.isSqlite() ? m_alias.sqlitePath(m_programFolder) : QString();
    std::unique_ptr<QLockFile> replacing;
    if (m_alias.isSqlite())
        replacing = records::BaseInUseLock::holdForReplacement(basePath, QStringLiteral("importer des tables"));
    const bool baseExisted = m_alias.isSqlite() && QFileInfo::exists(basePath);
    auto db = std::make_unique<Database>(m_alias, m_programFolder);
    // The whole import is one transaction of the size of the base. A rollback journal writes it
    // once, where the write-ahead log would write it twice (into the log, then into the base); the
    // program's next start takes the log back. A page cache that holds the transaction spares
    // writing pages out and back before the commit.
    if (m_alias.isSqlite()) {
        db->run(QStringLiteral("PRAGMA journal_mode = DELETE"));
        db->run(QStringLiteral("PRAGMA cache_size = -262144"));
    }
    const QString base = db->describe();
    ImportResult result;
    try {
        if (!m_alias.isSqlite() && otherSessions(*db))
            throw Error(QStringLiteral("Orvane 2006 est ouvert sur la base %1 depuis un autre poste : quittez-le sur "
                                       "tous les postes avant d'importer des tables. Rien n'a été modifié.")
                            .arg(base));
        const bool holdsPatients = run.holdsPatients(*db);
        if (holdsPatients && !replace)
            throw Error(QStringLiteral("La base %1 contient déjà des dossiers de patients : l'importation les "
                                       "remplacerait. Relancez avec --replace pour remplacer la base (une copie de "
                                       "sécurité en est prise d'abord). Rien n'a été modifié.")
                            .arg(base));
        if (holdsPatients) {
            const records::BackupFolder backups = records::BackupFolder::ofProgram(m_programFolder);
            result.safetyCopy = m_alias.isSqlite() ? backups.writeSafetyCopy(basePath, now) : backups.writeSafetyCopy(*db, now);
        }
        Database::Transaction transaction(*db);
        try {
            run.empty(*db, replace);
            run.import(*db);
        } catch (const Error &error) {
            QString message = error.message();
            if (!message.endsWith(QLatin1Char('.')))
                message += QLatin1Char('.');
            throw Error(message + QStringLiteral(" L'importation est annulée : la base est restée telle qu'elle était."));
        }
        transaction.commit();
    } catch (...) {
        db.reset();
        if (m_alias.isSqlite() && !baseExisted)
            removeBaseFiles(basePath);
        throw;
    }
    db.reset();
    result.report = run.report();
    try {
        result.reportPath = result.report.write(m_programFolder, m_folder, base, now);
    } catch (const Error &error) {
        throw Error(QStringLiteral("Les tables sont importées, mais : %1").arg(error.message()));
    }
    return result;
}

} // namespace orvane::import
