#include "import/paradoxwriter.h"
#include "import/practiceimport.h"
#include "platform/error.h"
#include "platform/places.h"
#include "records/baseinuselock.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/storedrow.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;
using namespace orvane::import;
using namespace orvane::records;

namespace {

QVariantList patient(const QVariant &number, const QString &nom, const QString &prenom)
{
    return {nom + QLatin1Char(' ') + prenom, nom, prenom, number, QVariant(), QStringLiteral("1 rue des Écoles\r\n75005 Paris"),
            QVariant(), 12, 3, 1950, QVariant(), QStringLiteral("Feminin"), QVariant()};
}

// A stat.DB row: the weight list, then the pregnancy start.
QVariantList measures(double number, const QString &weights, const QVariant &pregnancy = QVariant())
{
    QVariantList row{number};
    for (int i = 0; i < 12; ++i)
        row.append(i == 9 ? QVariant(weights) : QVariant());
    return row << pregnancy << QVariant();
}

QString memoOfSize(int bytes)
{
    QString text;
    while (text.size() < bytes)
        text += QStringLiteral("12/03/2006\r\nFièvre à 39°, œdème des chevilles, TA 13/8\r\n");
    return text;
}

} // namespace

class TestPracticeImport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<QTemporaryDir> m_folder;
    test::FixedClock m_clock{QDateTime(QDate(2026, 12, 9), QTime(9, 15))};

    QString file(const QString &name) const { return m_folder->filePath(name); }

    void write(const QString &table, const QList<QVariantList> &rows)
    {
        ParadoxWriter writer(file(table), ParadoxWriter::columnsOf(tableDef(table)));
        for (const QVariantList &row : rows)
            writer.append(row);
    }

    ImportResult importFolder(bool replace = false)
    {
        return PracticeImport(m_folder->path(), m_base->alias(), places::programFolder(), m_clock).run(replace);
    }

    QString importError(bool replace = false)
    {
        try {
            importFolder(replace);
        } catch (const Error &error) {
            return error.message();
        }
        return QString();
    }

    int patientCount()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        return int(test::fieldValues(patients, recordNumberField).size());
    }

    QString stored(const QString &table, double number, const QString &field)
    {
        return test::storedField(m_base->db(), table, number, field);
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>(test::TestDatabase::Open::Later);
        m_folder = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        m_base.reset();
        m_folder.reset();
    }

    void everyTableComesOverWithItsTypes()
    {
        const QString longNotes = memoOfSize(70 * 1024);
        write(tables::counter, {{5}});
        write(tables::patients, {patient(1, QStringLiteral("LEFÈVRE"), QStringLiteral("Hélène")),
                                 patient(2, QStringLiteral("ŒUVRARD"), QStringLiteral("Zoé")),
                                 patient(12, QStringLiteral("DURAND"), QStringLiteral("Jean"))});
        write(tables::history, {{1, QStringLiteral("HTA"), QVariant(), QStringLiteral("Appendicectomie"), QStringLiteral("Pénicilline")}});
        write(tables::consultations, {{1, QVariant(), longNotes}, {2, QVariant(), QStringLiteral("Angine")}});
        write(tables::treatments, {{1, QStringLiteral("AMLOR 5\r"), QStringLiteral("DTP 12/03/2005")}});
        write(tables::measures, {measures(1, QStringLiteral("12/03/2006\r72\r"), QDate(2006, 1, 10)), measures(2, QString(), 0)});
        write(tables::insurance, {{1, QStringLiteral("ALD")}});
        write(tables::archive, {{1, QStringLiteral("LEFÈVRE Hélène"), QStringLiteral("{\\rtf1 AMLOR 5}"), 2, QVariant()}});
        write(tables::drugs, {{QStringLiteral("DOLIPRANE 500"), QStringLiteral("1 cp 3 fois par jour"), QStringLiteral("A")}});
        write(tables::historyWords, {{QStringLiteral("Diabète")}});
        write(tables::reasons, {{QStringLiteral("Fièvre")}});
        write(tables::examinations, {{QStringLiteral("Abdomen souple")}});

        const ImportResult result = importFolder();

        Table patients(m_base->db(), tables::patients);
        patients.open();
        patients.findNearest({QStringLiteral("lefevre")});
        QCOMPARE(patients.text(QStringLiteral("Prénom")), QStringLiteral("Hélène"));
        QCOMPARE(patients.text(QStringLiteral("Adresse")), QStringLiteral("1 rue des Écoles\r\n75005 Paris"));
        QCOMPARE(patients.text(QStringLiteral("Téléphone")), QString());
        QCOMPARE(test::fieldValues(patients, QStringLiteral("Nom")),
                 (QStringList{QStringLiteral("DURAND"), QStringLiteral("LEFÈVRE"), QStringLiteral("ŒUVRARD")}));
        QCOMPARE(stored(tables::consultations, 1, QStringLiteral("Consultation")), longNotes);
        QCOMPARE(stored(tables::history, 1, QStringLiteral("Allergies médicamenteuses")), QStringLiteral("Pénicilline"));
        QCOMPARE(stored(tables::treatments, 1, QStringLiteral("Traitement général")), QStringLiteral("AMLOR 5\r"));
        QCOMPARE(stored(tables::measures, 1, QStringLiteral("Début grossesse")), QStringLiteral("10/01/2006"));
        QCOMPARE(stored(tables::measures, 2, QStringLiteral("Début grossesse")), QString());
        QCOMPARE(stored(tables::insurance, 1, QStringLiteral("Type d'AM")), QStringLiteral("ALD"));
        QCOMPARE(stored(tables::archive, 1, QStringLiteral("Prescription")), QStringLiteral("{\\rtf1 AMLOR 5}"));
        QCOMPARE(stored(tables::archive, 1, QStringLiteral("Copies")), QStringLiteral("2"));
        Table reasons(m_base->db(), tables::reasons);
        reasons.open();
        QCOMPARE(test::fieldValues(reasons, QStringLiteral("Motif")), QStringList{QStringLiteral("Fièvre")});
        // The next new file follows the highest number imported, above the counter's 5.
        Table counter(m_base->db(), tables::counter);
        counter.open();
        QCOMPARE(counter.increment(recordNumberField), 13.0);

        QCOMPARE(result.report.tables().size(), 12);
        for (const ImportReport::Counts &counts : result.report.tables()) {
            QCOMPARE(counts.imported, counts.read);
            QCOMPARE(counts.changed, 0);
        }
        QVERIFY(QFile::exists(places::inProgramFolder(QStringLiteral("import-2026-12-09.txt"))));
    }

    void rowsTheProgramCannotUseAsTheyStandAreImportedByItsRulesAndReported()
    {
        write(tables::counter, {{3}});
        write(tables::patients, {patient(7, QStringLiteral("MARTIN"), QStringLiteral("Paul")),
                                 patient(QVariant(), QStringLiteral("BERNARD"), QStringLiteral("Luc")),
                                 patient(7, QStringLiteral("PETIT"), QStringLiteral("Anne"))});
        write(tables::consultations, {{7, QVariant(), QStringLiteral("Angine")},
                                      {7, QVariant(), QStringLiteral("Otite")},
                                      {99, QVariant(), QStringLiteral("Sans patient")}});
        write(tables::measures, {measures(7, QStringLiteral("01/01/2006\r70\r")), measures(7, QStringLiteral("02/02/2006\r71\r"))});
        write(tables::insurance, {{7, QStringLiteral("R G")}, {7, QStringLiteral("ALD")}});

        const ImportResult result = importFolder();

        // Numbered above 99, which rows of a deleted patient still carry.
        QCOMPARE(stored(tables::patients, 100, QStringLiteral("Nom")), QStringLiteral("BERNARD"));
        QCOMPARE(stored(tables::patients, 101, QStringLiteral("Nom")), QStringLiteral("PETIT"));
        QCOMPARE(stored(tables::consultations, 7, QStringLiteral("Consultation")),
                 QStringLiteral("Angine\r\n----- Seconde fiche de ce dossier, réunie à l'importation du 09/12/2026 -----\r\nOtite"));
        QCOMPARE(stored(tables::consultations, 99, QStringLiteral("Consultation")), QStringLiteral("Sans patient"));
        QCOMPARE(stored(tables::measures, 7, QStringLiteral("Poids")), QStringLiteral("01/01/2006\r70\r02/02/2006\r71\r"));
        QCOMPARE(stored(tables::insurance, 7, QStringLiteral("Type d'AM")), QStringLiteral("R G"));
        Table counter(m_base->db(), tables::counter);
        counter.open();
        QCOMPARE(counter.number(recordNumberField), 101.0);

        const QString notes = result.report.notes().join(QLatin1Char('\n'));
        for (const char *decision : {"donnees.db, ligne 2 : patient sans numéro de dossier (BERNARD Luc) : reçoit le numéro 100",
                                     "donnees.db, ligne 3 : le numéro 7 est déjà celui de la ligne 1",
                                     "CONSULT.DB, ligne 2 : seconde ligne du dossier 7 (la première est la ligne 1)",
                                     "CONSULT.DB, ligne 3 : ligne d'un patient supprimé (aucun patient n'a le numéro 99)",
                                     "am.db, ligne 2 : seconde ligne du dossier 7 (la première est la ligne 1) : réunie "
                                     "à la première, qui garde ses valeurs ; non repris : Type d'AM « ALD »"})
            QVERIFY2(notes.contains(QString::fromUtf8(decision)), qPrintable(notes));
        const ImportReport::Counts &patientCounts = result.report.tables().at(1);
        QCOMPARE(patientCounts.table, tables::patients);
        QCOMPARE((QList<int>{patientCounts.read, patientCounts.imported, patientCounts.changed}), (QList<int>{3, 3, 2}));
    }

    // A new number, given by the import or by the next new file, is above every number in use: the
    // counter's largest row, the numbers the replaced base issued, the rows of deleted patients.
    void newNumbersGoAboveEveryNumberInUse_data()
    {
        QTest::addColumn<QList<double>>("counterRows");
        QTest::addColumn<double>("issuedBefore");
        QTest::addColumn<double>("deletedPatient");
        QTest::addColumn<double>("expected");
        QTest::newRow("largest counter row, not the last") << QList<double>{20, 4} << 0.0 << 0.0 << 21.0;
        QTest::newRow("numbers the replaced base issued") << QList<double>{4} << 60.0 << 0.0 << 61.0;
        QTest::newRow("rows of a deleted patient") << QList<double>{4} << 0.0 << 30.0 << 31.0;
    }
    void newNumbersGoAboveEveryNumberInUse()
    {
        QFETCH(QList<double>, counterRows);
        QFETCH(double, issuedBefore);
        QFETCH(double, deletedPatient);
        QFETCH(double, expected);
        if (issuedBefore > 0) {
            Table(m_base->db(), tables::patients).appendRow(patient(1, QStringLiteral("ANCIEN"), QStringLiteral("Patient")));
            Table(m_base->db(), tables::counter).appendRow({issuedBefore});
            m_base->close();
        }
        QList<QVariantList> counter;
        for (const double value : counterRows)
            counter.append(QVariantList{value});
        write(tables::counter, counter);
        write(tables::patients, {patient(2, QStringLiteral("MARTIN"), QStringLiteral("Paul")),
                                 patient(2, QStringLiteral("PETIT"), QStringLiteral("Anne"))});
        QList<QVariantList> treatments{{2, QStringLiteral("AMLOR 5\r"), QVariant()}};
        if (deletedPatient > 0)
            treatments.append(QVariantList{deletedPatient, QStringLiteral("KARDEGIC\r"), QVariant()});
        write(tables::treatments, treatments);

        importFolder(issuedBefore > 0);

        QCOMPARE(stored(tables::patients, expected, QStringLiteral("Nom")), QStringLiteral("PETIT"));
        QCOMPARE(stored(tables::treatments, expected, QStringLiteral("Traitement général")), QStringLiteral("<none>"));
        Table next(m_base->db(), tables::counter);
        next.open();
        QCOMPARE(next.increment(recordNumberField), expected + 1);
    }

    void aFailureLeavesTheBaseAsItWas_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("truncated table") << "truncate CONSULT.DB" << "CONSULT.DB : le fichier est tronqué";
        QTest::newRow("random bytes") << "random CONSULT.DB" << "CONSULT.DB : ";
        QTest::newRow("missing memo file") << "remove CONSULT.MB" << "CONSULT.DB : le fichier de ses mémos, CONSULT.MB, est introuvable";
        QTest::newRow("truncated memo file") << "truncate CONSULT.MB" << "CONSULT.DB, ligne 150 : le fichier est endommagé (pxlib : ";
        QTest::newRow("unexpected field type") << "logical stat.DB"
                                               << "stat.DB : le champ « Début grossesse » est de type logique là où le "
                                                  "programme attend le type date.";
        QTest::newRow("refused row") << "refuse ARCH.DB" << "ARCH.DB, ligne 1 : ";
    }

    void aFailureLeavesTheBaseAsItWas()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        {
            Table reasons(m_base->db(), tables::reasons);
            reasons.open();
            reasons.insert();
            reasons.setText(QStringLiteral("Motif"), QStringLiteral("Angine"));
            reasons.post();
        }
        write(tables::reasons, {{QStringLiteral("Fièvre")}});
        write(tables::patients, {patient(1, QStringLiteral("MARTIN"), QStringLiteral("Paul"))});
        QList<QVariantList> notes;
        for (int number = 1; number <= 300; ++number)
            notes.append({number, QVariant(), memoOfSize(3000)});
        write(tables::consultations, notes);
        write(tables::archive, {{1, QVariant(), QStringLiteral("AMLOR 5"), 1, QVariant()}});
        const QString action = damage.section(QLatin1Char(' '), 0, 0);
        const QString target = file(damage.section(QLatin1Char(' '), 1));
        QFile damaged(target);
        if (action == QLatin1String("truncate")) {
            QVERIFY(damaged.resize(damaged.size() / 2));
        } else if (action == QLatin1String("random")) {
            QByteArray bytes(int(damaged.size()), '\0');
            QRandomGenerator random(2006);
            for (char &byte : bytes)
                byte = char(random.bounded(256));
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write(bytes);
            damaged.close();
        } else if (action == QLatin1String("remove")) {
            QVERIFY(damaged.remove());
        } else if (action == QLatin1String("logical")) {
            QList<ParadoxWriter::Column> columns = ParadoxWriter::columnsOf(tableDef(tables::measures));
            columns[13].type = ParadoxTable::Type::Other;
            ParadoxWriter(target, columns).append(measures(1, QString(), 1));
        } else {
            m_base->refuseWrites(tables::archive);
        }
        m_base->close();

        const QString error = importError();

        QVERIFY2(error.startsWith(message), qPrintable(error));
        QCOMPARE(patientCount(), 0);
        Table reasons(m_base->db(), tables::reasons);
        reasons.open();
        QCOMPARE(test::fieldValues(reasons, QStringLiteral("Motif")), QStringList{QStringLiteral("Angine")});
    }

    void aBaseHoldingPatientsIsReplacedOnlyWhenAskedAndAfterASafetyCopy()
    {
        {
            Table patients(m_base->db(), tables::patients);
            patients.open();
            patients.appendRow(patient(1, QStringLiteral("ANCIEN"), QStringLiteral("Patient")));
            Table(m_base->db(), tables::counter).appendRow({50});
        }
        m_base->close();
        write(tables::patients, {patient(1, QStringLiteral("MARTIN"), QStringLiteral("Paul")),
                                 patient(2, QStringLiteral("PETIT"), QStringLiteral("Anne"))});

        QVERIFY(importError().contains(QStringLiteral("contient déjà des dossiers de patients")));
        QCOMPARE(stored(tables::patients, 1, QStringLiteral("Nom")), QStringLiteral("ANCIEN"));
        m_base->close();

        const ImportResult replaced = importFolder(true);
        QCOMPARE(stored(tables::patients, 1, QStringLiteral("Nom")), QStringLiteral("MARTIN"));
        QCOMPARE(patientCount(), 2);
        // Numbers the replaced base issued are not issued again.
        Table counter(m_base->db(), tables::counter);
        counter.open();
        QCOMPARE(counter.increment(recordNumberField), 51.0);
        // The base as it was, also a shared one, is kept as a base of the program.
        Database copy(AliasSettings::sqliteFile(replaced.safetyCopy), places::programFolder());
        QCOMPARE(test::storedField(copy, tables::patients, 1, QStringLiteral("Nom")), QStringLiteral("ANCIEN"));
    }

    void refusedWhileTheProgramRunsOnTheBase()
    {
        write(tables::patients, {patient(1, QStringLiteral("MARTIN"), QStringLiteral("Paul"))});
        // The program holds its lock on an SQLite base, and its connection on a shared one.
        std::unique_ptr<BaseInUseLock> running;
        if (m_base->alias().isSqlite())
            running = std::make_unique<BaseInUseLock>(m_base->alias().sqlitePath(places::programFolder()));
        else
            m_base->db();
        QVERIFY(importError().startsWith(QStringLiteral("Orvane 2006 est ouvert sur la base ")));
        running.reset();
        m_base->close();
        QCOMPARE(patientCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPracticeImport)
#include "test_practiceimport.moc"
