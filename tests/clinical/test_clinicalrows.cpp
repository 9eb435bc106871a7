#include "clinical/archivemove.h"
#include "clinical/consultationlines.h"
#include "clinical/datecheck.h"
#include "platform/error.h"
#include "clinical/fieldtext.h"
#include "clinical/labresults.h"
#include "clinical/vaccinations.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/testdatabase.h"

#include <QTest>
#include <memory>

using namespace orvane;
using namespace orvane::clinical;
using records::Table;

namespace {
const QString notesField = QStringLiteral("Consultation");
const double recordNumber = 12;
const ArchiveMove::Patient patient{recordNumber, QStringLiteral("DUPONT Jean")};
} // namespace

// The rules that write the current patient's rows, on a real database.
class TestClinicalRows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<Table> m_consultations;
    std::unique_ptr<Table> m_archive;
    std::unique_ptr<Table> m_measures;
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};
    int m_asked = 0;

    // A second table object on the same table, as another window would see the stored row.
    QString stored(const QString &table, const QString &field)
    {
        Table reader(m_base->db(), table);
        reader.open();
        return reader.locate(records::recordNumberField, recordNumber) ? reader.text(field) : QStringLiteral("<none>");
    }

    void writeNotes(const QString &notes)
    {
        m_consultations->edit();
        m_consultations->setText(notesField, notes);
        m_consultations->post();
    }

    ArchiveMove archiveMove(bool answer)
    {
        return ArchiveMove(*m_consultations, *m_archive, [this, answer] {
            ++m_asked;
            return answer;
        });
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_consultations = std::make_unique<Table>(m_base->db(), records::tables::consultations);
        m_consultations->open();
        m_consultations->insert();
        m_consultations->setValue(records::recordNumberField, recordNumber);
        m_consultations->post();
        m_archive = std::make_unique<Table>(m_base->db(), records::tables::archive);
        m_measures = std::make_unique<Table>(m_base->db(), records::tables::measures);
        m_measures->open();
        m_measures->insert();
        m_measures->setValue(records::recordNumberField, recordNumber);
        m_measures->post();
        m_asked = 0;
    }
    void cleanup()
    {
        m_measures.reset();
        m_archive.reset();
        m_consultations.reset();
        m_base.reset();
    }

    void archivingCreatesTheRowAndEmptiesTheNotes()
    {
        writeNotes(QStringLiteral("\r\n08/12/2006\r\n\r\nToux"));
        QVERIFY(archiveMove(true).run(patient));
        QCOMPARE(m_asked, 1);
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("\r\n08/12/2006\r\n\r\nToux"));
        QCOMPARE(stored(records::tables::archive, QStringLiteral("Nomprénom")), patient.name);
        QCOMPARE(stored(records::tables::consultations, notesField), QString());
        QCOMPARE(m_consultations->text(notesField), QString());
    }

    void archivingTwiceKeepsBothTexts()
    {
        writeNotes(QStringLiteral("premier"));
        QVERIFY(archiveMove(true).run(patient));
        writeNotes(QStringLiteral("second"));
        QVERIFY(archiveMove(true).run(patient));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("premier\r\nsecond"));
        Table rows(m_base->db(), records::tables::archive);
        rows.open();
        rows.next();
        QVERIFY(rows.atEnd());
    }

    void refusedQuestionChangesNothing()
    {
        writeNotes(QStringLiteral("Toux"));
        QVERIFY(!archiveMove(false).run(patient));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("<none>"));
        QCOMPARE(stored(records::tables::consultations, notesField), QStringLiteral("Toux"));
    }

    void refusedArchiveLeavesTheNotes()
    {
        writeNotes(QStringLiteral("Toux"));
        m_base->refuseWrites(records::tables::archive);
        QVERIFY_THROWS_EXCEPTION(Error, archiveMove(true).run(patient));
        QCOMPARE(stored(records::tables::consultations, notesField), QStringLiteral("Toux"));
        QCOMPARE(m_consultations->text(notesField), QStringLiteral("Toux"));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("<none>"));
        QVERIFY(!m_archive->isEditing());
    }

    void refusedEmptyingUndoesTheArchive()
    {
        writeNotes(QStringLiteral("ancien"));
        QVERIFY(archiveMove(true).run(patient));
        writeNotes(QStringLiteral("Toux"));
        m_base->refuseWrites(records::tables::consultations);
        QVERIFY_THROWS_EXCEPTION(Error, archiveMove(true).run(patient));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("ancien"));
        QCOMPARE(m_archive->text(notesField), QStringLiteral("ancien"));
        QCOMPARE(stored(records::tables::consultations, notesField), QStringLiteral("Toux"));
        QCOMPARE(m_consultations->text(notesField), QStringLiteral("Toux"));
    }

    void notesAnotherCopyChangedMeanwhileSurviveAFailedMove()
    {
        writeNotes(QStringLiteral("Toux"));
        auto otherCopy = m_base->openAnother();
        Table theirs(*otherCopy, records::tables::consultations);
        theirs.open();
        theirs.edit();
        theirs.setText(notesField, QStringLiteral("Toux NOTE-A"));
        theirs.post();
        QVERIFY_THROWS_EXCEPTION(Error, archiveMove(true).run(patient));
        m_consultations->post();
        QVERIFY(stored(records::tables::consultations, notesField).startsWith(QLatin1String("Toux NOTE-A\r\n----")));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("<none>"));
    }

    void archivingReopensAClosedArchive()
    {
        m_archive->open();
        m_archive->close();
        writeNotes(QStringLiteral("Toux"));
        QVERIFY(archiveMove(true).run(patient));
        QCOMPARE(stored(records::tables::archive, notesField), QStringLiteral("Toux"));
    }

    void dateCheckStoresTheRowOnlyWhenAdded()
    {
        const DateCheck check(m_clock, [this] {
            ++m_asked;
            return true;
        });
        QVERIFY(check.run(*m_consultations, notesField));
        QCOMPARE(stored(records::tables::consultations, notesField), QStringLiteral("\r\n08/12/2006\r\n\r\n"));
        QVERIFY(!check.run(*m_consultations, notesField));
        QCOMPARE(m_asked, 1);
        QVERIFY(!m_consultations->isEditing());
    }

    void bloodPressureFillsBothListsInOneStore()
    {
        const auto entry = bloodPressureEntry(QStringLiteral("13"), QStringLiteral("8"));
        addToValueLists(*m_measures, entry->values, m_clock.todayText());
        addToValueLists(*m_measures, entry->values, QStringLiteral("09/12/2006"));
        QCOMPARE(m_measures->text(QStringLiteral("Max")), QStringLiteral("08/12/2006\r13\r09/12/2006\r13\r"));
        QCOMPARE(m_measures->text(QStringLiteral("Min")), QStringLiteral("08/12/2006\r8\r09/12/2006\r8\r"));
        QVERIFY(!m_measures->isEditing());
    }

    void labValidationWritesBothRows()
    {
        Table history(m_base->db(), records::tables::history);
        history.open();
        history.insert();
        history.setValue(records::recordNumberField, recordNumber);
        m_measures->edit();
        m_measures->setText(QStringLiteral("GB"), QStringLiteral("01/12/2006\r6000\r"));
        m_measures->setText(QStringLiteral("Clearance"), QStringLiteral("80"));
        LabEntry entry{{"", "7200", "", "", "", "85", "", ""}, QStringLiteral("60")};
        validateLabResults(history, *m_measures, entry, m_clock.today());
        validateLabResults(history, *m_measures, LabEntry{}, m_clock.today());
        QCOMPARE(stored(records::tables::measures, QStringLiteral("GB")), QStringLiteral("01/12/2006\r6000\r08/12/2006\r7200\r"));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("TP")), QStringLiteral("08/12/2006\r85\r"));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("GR")), QString());
        QCOMPARE(stored(records::tables::measures, QStringLiteral("Clearance")), QStringLiteral("60"));
        const QString block = QStringLiteral("\r\n08/12/2006\r\n\r\n");
        QCOMPARE(stored(records::tables::history, QStringLiteral("Bilans")),
                 block + "GB:7200 /mm3\r\nTP:85\r\n" + block);
    }

    void vaccinationOnTheRow()
    {
        Table treatments(m_base->db(), records::tables::treatments);
        treatments.open();
        treatments.insert();
        treatments.setValue(records::recordNumberField, recordNumber);
        const VaccinationItem &mammography = vaccinationGroups().last().items.first();
        changeTextField(treatments, QStringLiteral("Vaccinations"),
                        [&](QString &text) { recordVaccination(text, mammography, m_clock); });
        QCOMPARE(stored(records::tables::treatments, QStringLiteral("Vaccinations")),
                 QStringLiteral("\r\n08/12/2006\r\n\r\nMammographie\r\nà refaire le:08/10/2008\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestClinicalRows)
#include "test_clinicalrows.moc"
