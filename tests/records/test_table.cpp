#include "platform/error.h"
#include "records/database.h"
#include "records/othercopytext.h"
#include "records/table.h"
#include "support/testdatabase.h"

#include <QSignalSpy>
#include <QTest>

using namespace orvane;
using namespace orvane::records;

namespace {

const QString patientOrdering = QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier");

void addPatient(Table &patients, const QString &nom, const QString &prenom, double number, int year = 1950)
{
    patients.insert();
    patients.setText(QStringLiteral("Nom"), nom);
    patients.setText(QStringLiteral("Prénom"), prenom);
    patients.setText(QStringLiteral("NomPrénom"), nom + QLatin1Char(' ') + prenom);
    patients.setValue(recordNumberField, number);
    patients.setValue(QStringLiteral("Année"), year);
    patients.post();
}

} // namespace

class TestTable : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;

private slots:
    void init() { m_base = std::make_unique<test::TestDatabase>(); }
    void cleanup() { m_base.reset(); }

    void tableNamesIgnoreLetterCase()
    {
        Table mainWindows(m_base->db(), QStringLiteral("donnees.db"));
        Table searchWindows(m_base->db(), QStringLiteral("Donnees.DB"));
        mainWindows.open();
        searchWindows.open();
        addPatient(mainWindows, QStringLiteral("DURAND"), QStringLiteral("Marie"), 1);
        QVERIFY(searchWindows.isEmpty());
        searchWindows.refresh();
        QCOMPARE(searchWindows.text(QStringLiteral("nomprénom")), QStringLiteral("DURAND Marie"));
    }

    void aTableReopenedUnderAnotherNameTakesThatTablesOrdering()
    {
        Table words(m_base->db(), tables::historyWords);
        words.open();
        for (const QString &word : {QStringLiteral("Zona"), QStringLiteral("Asthme")}) {
            words.insert();
            words.setText(QStringLiteral("Mots"), word);
            words.post();
        }
        Table editor(m_base->db(), QStringLiteral("Orvane.db"));
        editor.open();
        editor.close();
        editor.setTableName(QStringLiteral("MotsMed.db"));
        editor.open();
        QCOMPARE(editor.ordering(), QStringLiteral("Mots"));
        QCOMPARE(test::fieldValues(editor, QStringLiteral("Mots")), (QStringList{"Asthme", "Zona"}));
    }

    void movesFollowTheOrderingWithoutRegardToCaseOrAccents()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("ÉMILE"), QStringLiteral("Jean"), 1);
        addPatient(patients, QStringLiteral("DUPONT"), QStringLiteral("Luc"), 2);
        addPatient(patients, QStringLiteral("emery"), QStringLiteral("Paul"), 3);
        addPatient(patients, QStringLiteral("ZOLA"), QStringLiteral("Anne"), 4);
        QCOMPARE(test::fieldValues(patients, QStringLiteral("Nom")),
                 (QStringList{"DUPONT", "emery", "ÉMILE", "ZOLA"}));
        patients.last();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ZOLA"));
        patients.next();
        QVERIFY(patients.atEnd());
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ZOLA"));
        patients.prior();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ÉMILE"));
        patients.first();
        patients.prior();
        QVERIFY(patients.atStart());
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("DUPONT"));
    }

    void equalNamesOrderByTheFollowingFields()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("MARTIN"), QStringLiteral("Luc"), 9);
        addPatient(patients, QStringLiteral("MARTIN"), QStringLiteral("Luc"), 3);
        QStringList numbers;
        patients.first();
        numbers << patients.text(recordNumberField);
        patients.next();
        numbers << patients.text(recordNumberField);
        QCOMPARE(numbers, (QStringList{"3", "9"}));
    }

    void nearestSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("one letter") << "D" << "DUPONT Luc";
        QTest::newRow("prefix") << "DUR" << "DURAND Marie";
        QTest::newRow("lower case") << "durand" << "DURAND Marie";
        QTest::newRow("accent typed without") << "emile" << "ÉMILE Jean";
        QTest::newRow("between names") << "DUQ" << "DURAND Marie";
        QTest::newRow("after every name") << "ZZZ" << "ÉMILE Jean";
        QTest::newRow("quote and percent") << "D'%_\\" << "DUPONT Luc";
    }
    void nearestSearch()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("DURAND"), QStringLiteral("Marie"), 1);
        addPatient(patients, QStringLiteral("DUPONT"), QStringLiteral("Luc"), 2);
        addPatient(patients, QStringLiteral("ÉMILE"), QStringLiteral("Jean"), 3);
        patients.setOrdering(QStringLiteral("Nomprénom"));
        patients.findNearest({typed});
        QCOMPARE(patients.text(QStringLiteral("NomPrénom")), found);
    }

    void keyedSearchIsExactAndStaysWhenNothingMatches()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("MARTIN"), QStringLiteral("Luc"), 9);
        addPatient(patients, QStringLiteral("MARTIN"), QStringLiteral("Luc"), 3);
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 5);
        patients.setOrdering(patientOrdering);
        QVERIFY(patients.findKey({"MARTIN Luc", "MARTIN", "Luc", 9}));
        QCOMPARE(patients.number(recordNumberField), 9.0);
        QVERIFY(!patients.findKey({"MARTIN Luc", "MARTIN", "Luc", 4}));
        QCOMPARE(patients.number(recordNumberField), 9.0);
    }

    void locateIgnoresCaseAndKeepsTheRowWhenNothingMatches()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("MARTIN"), QStringLiteral("Luc"), 12);
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 5);
        QVERIFY(patients.locate(recordNumberField, QStringLiteral("12")));
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("MARTIN"));
        QVERIFY(!patients.locate(recordNumberField, 9999));
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("MARTIN"));
        QVERIFY(patients.locate(QStringLiteral("Prénom"), QStringLiteral("eve")));
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        QVERIFY_THROWS_EXCEPTION(Error, patients.locate(recordNumberField, QStringLiteral("douze")));
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
    }

    void requiredFieldRefusesAndLeavesTheRowPending()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        patients.insert();
        patients.setText(QStringLiteral("Nom"), QStringLiteral("DURAND"));
        patients.setValue(recordNumberField, 1);
        try {
            patients.post();
            QFAIL("posted without the forename");
        } catch (const Error &error) {
            QCOMPARE(error.message(), QStringLiteral("Le champ 'Prénom' doit avoir une valeur"));
        }
        QCOMPARE(patients.state(), Table::State::Insert);
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("DURAND"));
        // The implicit store of a move refuses in the same way and the move does not happen.
        QVERIFY_THROWS_EXCEPTION(Error, patients.first());
        QCOMPARE(patients.state(), Table::State::Insert);
        patients.setText(QStringLiteral("Prénom"), QStringLiteral("Marie"));
        patients.setText(QStringLiteral("Année"), QStringLiteral("1948"));
        patients.first();
        QCOMPARE(patients.state(), Table::State::Browse);
        QCOMPARE(patients.text(QStringLiteral("Prénom")), QStringLiteral("Marie"));
    }

    void implicitStorePostsChangedRowsAndDropsUnchangedOnes()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 1);
        addPatient(patients, QStringLiteral("BRUN"), QStringLiteral("Léa"), 2);
        patients.first();
        patients.edit();
        patients.setText(QStringLiteral("Profession"), QStringLiteral("boulanger"));
        patients.next();
        patients.first();
        QCOMPARE(patients.text(QStringLiteral("Profession")), QStringLiteral("boulanger"));
        patients.insert();
        QCOMPARE(patients.state(), Table::State::Insert);
        patients.next(); // an untouched new row is dropped
        QCOMPARE(patients.state(), Table::State::Browse);
        Table all(m_base->db(), tables::patients);
        all.open();
        QCOMPARE(test::fieldValues(all, QStringLiteral("Nom")).size(), 2);
    }

    void cancelRestoresTheRowAndRemoveGoesToTheNeighbour()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 1);
        addPatient(patients, QStringLiteral("BRUN"), QStringLiteral("Léa"), 2);
        addPatient(patients, QStringLiteral("CARON"), QStringLiteral("Paul"), 3);
        patients.first();
        patients.edit();
        patients.setText(QStringLiteral("Nom"), QStringLiteral("CHANGED"));
        patients.cancel();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        patients.next();
        patients.remove();
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("CARON"));
        patients.remove(); // the last one: the previous becomes current
        QCOMPARE(patients.text(QStringLiteral("Nom")), QStringLiteral("ABEL"));
        patients.remove();
        QVERIFY(patients.isEmpty());
    }

    void detailFollowsItsMasterAndInsertsWithItsNumber()
    {
        Table patients(m_base->db(), tables::patients);
        Table consultations(m_base->db(), tables::consultations);
        consultations.setMaster(&patients);
        patients.open();
        consultations.open();
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 41);
        addPatient(patients, QStringLiteral("BRUN"), QStringLiteral("Léa"), 42);
        patients.first();
        QVERIFY(consultations.isEmpty());
        consultations.edit(); // on an empty detail set, edit inserts
        QCOMPARE(consultations.state(), Table::State::Insert);
        QCOMPARE(consultations.number(recordNumberField), 41.0);
        consultations.setText(QStringLiteral("Consultation"), QStringLiteral("notes d'Eve"));
        patients.next(); // the detail's pending row is stored before the master moves
        QVERIFY(consultations.isEmpty());
        patients.first();
        QCOMPARE(consultations.text(QStringLiteral("Consultation")), QStringLiteral("notes d'Eve"));
        QCOMPARE(consultations.state(), Table::State::Browse);
    }

    void detailOfAPendingMasterRowFollowsItsNewNumber()
    {
        Table patients(m_base->db(), tables::patients);
        Table history(m_base->db(), tables::history);
        history.setMaster(&patients);
        patients.open();
        history.open();
        patients.insert();
        patients.setValue(recordNumberField, 42);
        history.edit();
        history.post();
        Table allHistory(m_base->db(), tables::history);
        allHistory.open();
        QCOMPARE(allHistory.number(recordNumberField), 42.0);
    }

    void perPatientTablesNeverHoldTwoRowsForOneNumber()
    {
        // Two running copies each create the first treatment row of patient 7.
        auto secondCopy = m_base->openAnother();
        Table first(m_base->db(), tables::treatments);
        Table second(*secondCopy, tables::treatments);
        first.open();
        second.open();
        first.insert();
        second.insert();
        first.setValue(recordNumberField, 7);
        first.setText(QStringLiteral("Traitement général"), QStringLiteral("Aspirine"));
        second.setValue(recordNumberField, 7);
        second.setText(QStringLiteral("Vaccinations"), QStringLiteral("DTP"));
        first.post();
        second.post();
        QCOMPARE(second.rowId(), first.rowId());
        QCOMPARE(second.text(QStringLiteral("Traitement général")), QStringLiteral("Aspirine"));
        Table all(m_base->db(), tables::treatments);
        all.open();
        QCOMPARE(test::fieldValues(all, QStringLiteral("Vaccinations")), QStringList{QStringLiteral("DTP")});
        QCOMPARE(all.text(QStringLiteral("Traitement général")), QStringLiteral("Aspirine"));
    }

    void postWritesOnlyTheChangedFields()
    {
        auto secondCopy = m_base->openAnother();
        Table mine(m_base->db(), tables::measures);
        mine.open();
        mine.insert();
        mine.setValue(recordNumberField, 5);
        mine.post();
        Table theirs(*secondCopy, tables::measures);
        theirs.open();
        mine.edit();
        mine.setText(QStringLiteral("Poids"), QStringLiteral("01/02/2006\r70\r"));
        theirs.edit();
        theirs.setText(QStringLiteral("Taille"), QStringLiteral("01/02/2006\r172\r"));
        theirs.post();
        mine.post();
        mine.refresh();
        QCOMPARE(mine.text(QStringLiteral("Poids")), QStringLiteral("01/02/2006\r70\r"));
        QCOMPARE(mine.text(QStringLiteral("Taille")), QStringLiteral("01/02/2006\r172\r"));
    }

    void rowsPostedInARolledBackTransactionArePendingAgain()
    {
        Table consultations(m_base->db(), tables::consultations);
        Table history(m_base->db(), tables::history);
        consultations.open();
        history.open();
        consultations.insert();
        consultations.setValue(recordNumberField, 9);
        consultations.setText(QStringLiteral("Consultation"), QStringLiteral("Toux"));
        history.insert();
        history.setValue(recordNumberField, 9);
        {
            Database::Transaction transaction(m_base->db());
            consultations.post();
            history.post();
            // left without commit, as when a later write of the same store fails
        }
        QCOMPARE(consultations.state(), Table::State::Insert);
        QCOMPARE(history.state(), Table::State::Insert);
        QCOMPARE(consultations.text(QStringLiteral("Consultation")), QStringLiteral("Toux"));
        Table stored(m_base->db(), tables::consultations);
        stored.open();
        QVERIFY(stored.isEmpty());
        consultations.post();
        stored.refresh();
        QCOMPARE(stored.text(QStringLiteral("Consultation")), QStringLiteral("Toux"));
    }

    void aValueAnotherCopyStoredIsRefusedUntilThePhysicianTypesTheOneToKeep()
    {
        auto secondCopy = m_base->openAnother();
        const QString scheme = QStringLiteral("Type d'AM");
        Table mine(m_base->db(), tables::insurance);
        mine.open();
        mine.insert();
        mine.setValue(recordNumberField, 3);
        mine.setText(scheme, QStringLiteral("ALD"));
        mine.post();
        Table theirs(*secondCopy, tables::insurance);
        theirs.open();
        theirs.edit();
        theirs.setText(scheme, QStringLiteral("CMU"));
        theirs.post();
        mine.edit();
        mine.setText(scheme, QStringLiteral("MSA"));
        QVERIFY_THROWS_EXCEPTION(Error, mine.post());
        // The refusal is no permission: every store is refused until the value is typed again.
        try {
            mine.checkBrowseMode();
            QFAIL("stored over the other copy's value");
        } catch (const Error &error) {
            QVERIFY2(error.message().contains(QStringLiteral("« CMU »")), qPrintable(error.message()));
        }
        theirs.refresh();
        QCOMPARE(theirs.text(scheme), QStringLiteral("CMU"));
        QCOMPARE(mine.text(scheme), QStringLiteral("MSA"));
        mine.setText(scheme, QStringLiteral("MSA"));
        mine.post();
        theirs.refresh();
        QCOMPARE(theirs.text(scheme), QStringLiteral("MSA"));
    }

    void aTextAnotherCopyStoredComesFirstInTheStoredText_data()
    {
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("kept");
        const QString marker = otherCopyMarker(QDateTime(QDate(2026, 12, 10), QTime(5, 12)));
        QCOMPARE(marker, QStringLiteral("---- Ajouté sur ce poste le 10/12/2026 à 05:12, après le texte enregistré sur un autre poste ----"));
        QTest::newRow("both appended") << "Toux\r\n" << "Toux\r\nA" << "Toux\r\nB" << "Toux\r\nA\r\n" + marker + "\r\nB";
        QTest::newRow("line added") << "Toux" << "Toux A\r\n" << "Toux\r\nB" << "Toux A\r\n" + marker + "\r\nB";
        QTest::newRow("read text edited") << "Toux" << "Toux A" << "Rhume B" << "Toux A\r\n" + marker + "\r\nRhume B";
        QTest::newRow("new row") << "" << "A" << "B" << "A\r\n" + marker + "\r\nB";
        QTest::newRow("other emptied it") << "Toux" << "" << "Toux B" << marker + "\r\n B";
        QTest::newRow("value list") << "01/02\r70\r" << "01/02\r70\r03/02\r71\r" << "01/02\r70\r04/02\r72\r"
                                    << "01/02\r70\r03/02\r71\r04/02\r72\r";
    }
    void aTextAnotherCopyStoredComesFirstInTheStoredText()
    {
        QFETCH(QString, read);
        QFETCH(QString, stored);
        QFETCH(QString, mine);
        QFETCH(QString, kept);
        QCOMPARE(keptWithOtherCopyText(read, stored, mine, QDateTime(QDate(2026, 12, 10), QTime(5, 12))), kept);
    }

    void twoTableObjectsSeeEachOthersRowsAfterARefresh()
    {
        Table one(m_base->db(), tables::reasons);
        Table other(m_base->db(), QStringLiteral("Motif.db"));
        one.open();
        other.open();
        one.insert();
        one.setText(QStringLiteral("Motif"), QStringLiteral("Fièvre"));
        one.post();
        QVERIFY(other.isEmpty());
        other.refresh();
        QCOMPARE(other.text(QStringLiteral("motif")), QStringLiteral("Fièvre"));
        one.edit();
        one.setText(QStringLiteral("Motif"), QStringLiteral("Toux"));
        one.post();
        other.refresh();
        QCOMPARE(other.text(QStringLiteral("Motif")), QStringLiteral("Toux"));
        one.remove();
        other.refresh();
        QVERIFY(other.isEmpty());
    }

    void rowDeletedByAnotherCopyIsWrittenAnewRatherThanLost()
    {
        auto secondCopy = m_base->openAnother();
        Table mine(m_base->db(), tables::reasons);
        Table theirs(*secondCopy, tables::reasons);
        mine.open();
        mine.insert();
        mine.setText(QStringLiteral("Motif"), QStringLiteral("Asthme"));
        mine.post();
        theirs.open();
        mine.edit();
        mine.setText(QStringLiteral("Motif"), QStringLiteral("Asthme sévère"));
        theirs.remove();
        mine.post();
        theirs.refresh();
        QCOMPARE(theirs.text(QStringLiteral("Motif")), QStringLiteral("Asthme sévère"));
    }

    void counterIncrementsAtomicallyAcrossConnections()
    {
        auto secondCopy = m_base->openAnother();
        Table mine(m_base->db(), tables::counter);
        Table theirs(*secondCopy, tables::counter);
        mine.open();
        theirs.open();
        QVERIFY(mine.isEmpty());
        QCOMPARE(mine.increment(recordNumberField), 1.0);
        QCOMPARE(theirs.increment(recordNumberField), 2.0);
        QCOMPARE(mine.increment(recordNumberField), 3.0);
        QCOMPARE(mine.number(recordNumberField), 3.0);
        theirs.refresh();
        QCOMPARE(theirs.number(recordNumberField), 3.0);
    }

    void fieldValuesConvertToAndFromText()
    {
        Table measures(m_base->db(), tables::measures);
        measures.open();
        measures.insert();
        measures.setText(recordNumberField, QStringLiteral("12"));
        measures.setText(QStringLiteral("Début grossesse"), QStringLiteral("03/11/2006"));
        QCOMPARE(measures.date(QStringLiteral("Début grossesse")), QDate(2006, 11, 3));
        QVERIFY_THROWS_EXCEPTION(Error, measures.setText(QStringLiteral("Début grossesse"), QStringLiteral("hier")));
        QVERIFY_THROWS_EXCEPTION(Error, measures.setText(recordNumberField, QStringLiteral("12a")));
        measures.setValue(QStringLiteral("Poids"), QStringLiteral("01/01/2006\r72\r"));
        measures.post();
        measures.refresh();
        QCOMPARE(measures.text(recordNumberField), QStringLiteral("12"));
        QCOMPARE(measures.text(QStringLiteral("Début grossesse")), QStringLiteral("03/11/2006"));
        QCOMPARE(measures.text(QStringLiteral("Poids")), QStringLiteral("01/01/2006\r72\r"));
        measures.edit();
        measures.setValue(QStringLiteral("Début grossesse"), 0); // 0: no date
        measures.post();
        QVERIFY(measures.date(QStringLiteral("Début grossesse")).isNull());
    }

    void textsSurviveByteForByte_data()
    {
        QTest::addColumn<QString>("text");
        QString controls;
        for (char16_t c = 1; c < 32; ++c)
            controls.append(QChar(c));
        controls.append(QChar(0x7f));
        QTest::newRow("quotes") << QStringLiteral("l'\"été\" ''\"\"");
        QTest::newRow("backslashes and wildcards") << QStringLiteral("C:\\Orvane\\ \\' \\\\ 100%_ $1 ?");
        QTest::newRow("control characters") << controls;
        QTest::newRow("accents and ligatures") << QStringLiteral("Œuvre ÉMILE Noël çà ß € ° µ");
        QTest::newRow("line breaks") << QStringLiteral("ligne 1\r\nligne 2\rmédicament\n\r\n");
        QTest::newRow("beyond the basic plane") << QStringLiteral("𝄞 \U0001F489");
        QTest::newRow("blanks only") << QStringLiteral("  \t ");
    }
    void textsSurviveByteForByte()
    {
        QFETCH(QString, text);
        Table archive(m_base->db(), tables::archive);
        archive.open();
        archive.insert();
        archive.setValue(recordNumberField, 3);
        archive.setText(QStringLiteral("Consultation"), text);
        archive.setText(QStringLiteral("Nomprénom"), text);
        archive.post();
        auto secondCopy = m_base->openAnother();
        Table again(*secondCopy, QStringLiteral("Arch.DB"));
        again.open();
        QCOMPARE(again.text(QStringLiteral("Consultation")), text);
        QCOMPARE(again.text(QStringLiteral("Nomprénom")), text);
        // A text ordering field is found again by its own text.
        Table words(m_base->db(), tables::historyWords);
        words.open();
        words.insert();
        words.setText(QStringLiteral("Mots"), text);
        words.post();
        Table wordsAgain(*secondCopy, tables::historyWords);
        wordsAgain.open();
        QVERIFY(wordsAgain.findKey({text}));
        QCOMPARE(wordsAgain.text(QStringLiteral("Mots")), text);
    }

    void linesAreJoinedWithCarriageReturnLineFeed()
    {
        Table archive(m_base->db(), tables::archive);
        archive.open();
        archive.insert();
        archive.setValue(recordNumberField, 3);
        archive.setLines(QStringLiteral("Prescription"), {QStringLiteral("a"), QStringLiteral("b")});
        archive.post();
        archive.refresh();
        QCOMPARE(archive.text(QStringLiteral("Prescription")), QStringLiteral("a\r\nb"));
        QCOMPARE(archive.lines(QStringLiteral("Prescription")), (QStringList{"a", "b"}));
    }

    void showingRowsNeverPutsATableInEditMode()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 1);
        addPatient(patients, QStringLiteral("BRUN"), QStringLiteral("Léa"), 2);
        QSignalSpy moves(&patients, &Table::currentChanged);
        QSignalSpy writes(&patients, &Table::fieldChanged);
        patients.first();
        patients.next();
        QCOMPARE(moves.count(), 2);
        QCOMPARE(writes.count(), 0);
        QCOMPARE(patients.state(), Table::State::Browse);
    }

    void writingNeedsEditMode()
    {
        Table patients(m_base->db(), tables::patients);
        patients.open();
        addPatient(patients, QStringLiteral("ABEL"), QStringLiteral("Eve"), 1);
        QVERIFY_THROWS_EXCEPTION(Error, patients.setText(QStringLiteral("Nom"), QStringLiteral("X")));
        QVERIFY_THROWS_EXCEPTION(Error, patients.setOrdering(QStringLiteral("Profession")));
        QVERIFY_THROWS_EXCEPTION(Error, patients.setTableName(tables::drugs));
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "test_table.moc"
