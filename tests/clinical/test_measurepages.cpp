#include "clinical/clearancerecord.h"
#include "clinical/resultspage.h"
#include "clinical/vaccinationpage.h"
#include "platform/error.h"
#include "platform/radiogroup.h"
#include "records/currentpatient.h"
#include "records/enteredit.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/storedrow.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <memory>

using namespace orvane;
using namespace orvane::clinical;
using records::Table;

namespace {

const QString block = QStringLiteral("\r\n08/12/2006\r\n\r\n");
const QString cr = QStringLiteral("\r");

} // namespace

// The vaccinations and the results tabs driven through their controls on a real database.
class TestMeasurePages : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<records::CurrentPatient> m_patient;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};
    std::unique_ptr<VaccinationPage> m_vaccinations;
    std::unique_ptr<ResultsPage> m_results;

    DateCheck::Question question()
    {
        return [this] { return m_dialogs.askYesNo(nullptr, QStringLiteral("Date du jour?"), DialogService::Icon::Confirmation); };
    }

    template<typename T>
    T *control(QWidget *page, const QString &name) const
    {
        return test::namedChild<T>(page, name);
    }

    QString stored(const QString &table, const QString &field) const
    {
        return test::storedField(m_base->db(), table, m_patient->patients().number(records::recordNumberField), field);
    }

    void choose(const QString &group, const QString &item)
    {
        test::clickOption(control<RadioGroup>(m_vaccinations.get(), group), item);
    }

    void clickInto(QWidget *page, const QString &memo)
    {
        QTest::mouseClick(control<QPlainTextEdit>(page, memo)->viewport(), Qt::LeftButton);
    }

    QString vaccinationsShown() const
    {
        return m_vaccinations->findChild<QPlainTextEdit *>(QStringLiteral("vaccinations"))->toPlainText();
    }

    QString shown(const QString &name) const { return m_results->findChild<QLineEdit *>(name)->text(); }
    QStringList pregnancyShown() const
    {
        return {shown(QStringLiteral("debut")), shown(QStringLiteral("semaines")), shown(QStringLiteral("terme"))};
    }

    // Focus moves only in the active window.
    void showActive()
    {
        m_results->show();
        m_results->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_results.get()));
    }

    void storePregnancyStart(const QDate &start)
    {
        Table &measures = m_patient->measures();
        measures.edit();
        measures.setValue(QStringLiteral("Début grossesse"), start);
        measures.post();
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_clock.set(QDate(2006, 12, 8));
        m_patient = std::make_unique<records::CurrentPatient>(m_base->db());
        m_patient->open();
        test::addPatient(*m_patient, QStringLiteral("MARTIN"), QStringLiteral("Claire"));
        m_vaccinations = std::make_unique<VaccinationPage>(m_patient->treatments(), m_clock, question());
        m_results = std::make_unique<ResultsPage>(*m_patient, m_clock, question());
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        m_results.reset();
        m_vaccinations.reset();
        m_patient.reset();
        m_base.reset();
    }

    void vaccinationItemsWriteTheirLines_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("lines");
        QTest::newRow("Pentacoq first") << "Pentacoq" << "1 ère injection"
                                        << "Pentacoq: 1 ère injection (3 mois)\r\nRappel le:07/01/2007";
        QTest::newRow("Tetavax 10 years, no leap days") << "Tetavax" << "rappel 10 ans"
                                                        << "Tetavax: rappel 10 ans\r\nProchain rappel le:05/12/2016";
        QTest::newRow("ROR Vax") << "RORVax" << "1 injection" << "RORVax:1 injection";
        QTest::newRow("Monovax") << "Monovax" << "1 injection" << "MonoVax:1 injection";
        QTest::newRow("Vaxigrip") << "Vaxigrip" << "1 injection" << "Vaxigrip:1 injection";
        QTest::newRow("mammography after 670 days") << "mammo" << "Mammographie" << "Mammographie\r\nà refaire le:08/10/2008";
    }
    void vaccinationItemsWriteTheirLines()
    {
        QFETCH(QString, group);
        QFETCH(QString, item);
        QFETCH(QString, lines);
        choose(group, item);
        const QString expected = block + lines + "\r\n";
        QCOMPARE(stored(records::tables::treatments, QStringLiteral("Vaccinations")), expected);
        QCOMPARE(vaccinationsShown(), QString(expected).replace("\r\n", "\n"));
        QCOMPARE(control<RadioGroup>(m_vaccinations.get(), group)->itemIndex(), -1);
        QVERIFY(m_dialogs.requests().isEmpty());
        QCOMPARE(control<RadioGroup>(m_vaccinations.get(), group)->toolTip(), QStringLiteral("Doubleclick"));
    }

    void vaccinationTextAsksForTheDateOnANewDay()
    {
        m_dialogs.answerNo();
        clickInto(m_vaccinations.get(), QStringLiteral("vaccinations"));
        QCOMPARE(stored(records::tables::treatments, QStringLiteral("Vaccinations")), QStringLiteral("<none>"));
        m_dialogs.answerYes();
        clickInto(m_vaccinations.get(), QStringLiteral("vaccinations"));
        clickInto(m_vaccinations.get(), QStringLiteral("vaccinations"));
        QCOMPARE(m_dialogs.texts(), (QStringList{"Date du jour?", "Date du jour?"}));
        QCOMPARE(stored(records::tables::treatments, QStringLiteral("Vaccinations")), block);
    }

    void typedVaccinationTextIsKeptByTheDateCheck()
    {
        QPlainTextEdit *memo = control<QPlainTextEdit>(m_vaccinations.get(), QStringLiteral("vaccinations"));
        memo->setPlainText(QStringLiteral("BCG 1990"));
        m_dialogs.answerYes();
        clickInto(m_vaccinations.get(), QStringLiteral("vaccinations"));
        QCOMPARE(stored(records::tables::treatments, QStringLiteral("Vaccinations")), "BCG 1990" + block);
    }

    void refusedVaccinationStoreKeepsTheLines()
    {
        m_base->refuseWrites(records::tables::treatments);
        auto *group = control<RadioGroup>(m_vaccinations.get(), QStringLiteral("Vaxigrip"));
        group->setItemIndex(0);
        QVERIFY_THROWS_EXCEPTION(Error, m_vaccinations->VaxigripClick());
        QCOMPARE(m_patient->treatments().text(QStringLiteral("Vaccinations")), block + "Vaxigrip:1 injection\r\n");
        QVERIFY(vaccinationsShown().endsWith(QStringLiteral("Vaxigrip:1 injection\n")));
        QCOMPARE(group->itemIndex(), -1);
    }

    void labFieldsWriteTheirLineAndList_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("line");
        QTest::newRow("GR") << "GR" << "GR (X1 000 000)" << "GR" << "GR:4.5 M/mm3";
        QTest::newRow("HBA1C") << "HBA1C" << "HbA1c (%)" << "HbA1c" << "HBA1c:4.5 %";
        QTest::newRow("GLYC") << "GLYC" << "Glyc. (g/l)" << "Glycémies" << "Glyc.:4.5 g/l";
    }
    void labFieldsWriteTheirLineAndList()
    {
        QFETCH(QString, field);
        QFETCH(QString, label);
        QFETCH(QString, list);
        QFETCH(QString, line);
        auto *edit = control<records::TEnterEdit>(m_results.get(), field);
        bool labelled = false;
        for (const QLabel *each : m_results->findChildren<QLabel *>())
            labelled = labelled || (each->buddy() == edit && each->text() == label);
        QVERIFY(labelled);
        QTest::keyClicks(edit, QStringLiteral("4.5"));
        QTest::mouseClick(control<QToolButton>(m_results.get(), QStringLiteral("IEButton22")), Qt::LeftButton);
        QCOMPARE(stored(records::tables::history, QStringLiteral("Bilans")), block + line + "\r\n");
        QCOMPARE(stored(records::tables::measures, list), "08/12/2006" + cr + "4.5" + cr);
        QCOMPARE(edit->text(), QString());
    }

    void validationDatesEveryTimeAndKeepsTheClearanceOfThePatient()
    {
        auto *gb = control<records::TEnterEdit>(m_results.get(), QStringLiteral("GB"));
        auto *tp = control<records::TEnterEdit>(m_results.get(), QStringLiteral("TP"));
        auto *clearance = control<records::TEnterEdit>(m_results.get(), QStringLiteral("clearance"));
        gb->setText(QStringLiteral("7200"));
        tp->setText(QStringLiteral("85"));
        clearance->setText(QStringLiteral("60"));
        m_results->Button3Click();
        clearance->setText(QStringLiteral("75"));
        m_results->Button3Click();
        QCOMPARE(stored(records::tables::history, QStringLiteral("Bilans")), block + "GB:7200 /mm3\r\nTP:85\r\n" + block);
        QCOMPARE(stored(records::tables::measures, QStringLiteral("GB")), "08/12/2006" + cr + "7200" + cr);
        QCOMPARE(stored(records::tables::measures, QStringLiteral("Clearance")), QStringLiteral("75"));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("GR")), QString());
        QCOMPARE(clearance->text(), QStringLiteral("75"));
        // Each typed clearance is a result of its day, once: the latest by date is the one prescribed with.
        m_results->Button3Click();
        const double patient = m_patient->patients().number(records::recordNumberField);
        QCOMPARE(ClearanceRecord(m_base->db()).dayOf(patient, QStringLiteral("75")), std::optional(QDate(2006, 12, 8)));
        QSqlQuery typed(m_base->db().connection());
        QVERIFY(typed.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = 'Clearance'")
                               .arg(records::SqlDialect::quote(records::tables::results),
                                    records::SqlDialect::quote(QStringLiteral("Analyte")))));
        QVERIFY(typed.next());
        QCOMPARE(typed.value(0).toInt(), 2);
        QCOMPARE(gb->text(), QString());
        m_patient->patients().refresh(); // read again: the same patient's clearance stays
        QCOMPARE(clearance->text(), QStringLiteral("75"));
        test::addPatient(*m_patient, QStringLiteral("NOEL"), QStringLiteral("Paul"));
        QCOMPARE(clearance->text(), QString());
    }

    void refusedValidationKeepsTheTypedValues_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::newRow("measures refused") << records::tables::measures;
        QTest::newRow("history refused after the measures") << records::tables::history;
    }
    void refusedValidationKeepsTheTypedValues()
    {
        QFETCH(QString, refused);
        auto *results = control<QPlainTextEdit>(m_results.get(), QStringLiteral("Bilanssanguins"));
        results->setPlainText(QStringLiteral("NFS normale"));
        auto *gb = control<records::TEnterEdit>(m_results.get(), QStringLiteral("GB"));
        gb->setText(QStringLiteral("7200"));
        control<records::TEnterEdit>(m_results.get(), QStringLiteral("clearance"))->setText(QStringLiteral("60"));
        m_base->refuseWrites(refused);
        QVERIFY_THROWS_EXCEPTION(Error, m_results->Button3Click());
        QCOMPARE(gb->text(), QStringLiteral("7200"));
        QCOMPARE(stored(records::tables::history, QStringLiteral("Bilans")), QStringLiteral("<none>"));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("GB")), QStringLiteral("<none>"));
        // Nothing of the validation is left pending: pressed again, it writes each value once.
        QCOMPARE(m_patient->history().text(QStringLiteral("Bilans")), QStringLiteral("NFS normale"));
        QCOMPARE(m_patient->measures().text(QStringLiteral("GB")), QString());
        QCOMPARE(m_patient->measures().text(QStringLiteral("Clearance")), QString());
    }

    void resultsTextAsksForTheDate()
    {
        m_dialogs.answerYes();
        clickInto(m_results.get(), QStringLiteral("Bilanssanguins"));
        clickInto(m_results.get(), QStringLiteral("Bilanssanguins"));
        QCOMPARE(m_dialogs.texts(), QStringList{"Date du jour?"});
        QCOMPARE(stored(records::tables::history, QStringLiteral("Bilans")), block);
    }

    void weightListShowsOneEntryALine()
    {
        Table &measures = m_patient->measures();
        measures.edit();
        measures.setText(QStringLiteral("Poids"), "08/12/2006" + cr + "72" + cr);
        measures.post();
        QPlainTextEdit *weights = control<QPlainTextEdit>(m_results.get(), QStringLiteral("poids1"));
        QCOMPARE(weights->document()->blockCount(), 3);
        QCOMPARE(weights->document()->firstBlock().text(), QStringLiteral("08/12/2006"));
    }

    void editedWeightListIsStoredWhenLeft()
    {
        showActive();
        QPlainTextEdit *weights = control<QPlainTextEdit>(m_results.get(), QStringLiteral("poids1"));
        weights->setFocus();
        QTest::keyClicks(weights, QStringLiteral("08/12/2006"));
        control<QWidget>(m_results.get(), QStringLiteral("GR"))->setFocus();
        QCOMPARE(stored(records::tables::measures, QStringLiteral("Poids")), QStringLiteral("08/12/2006"));
    }

    void pickedStartShowsWeeksAndTerm_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("weeks");
        QTest::newRow("7 days") << QDate(2006, 12, 8) << "1";
        QTest::newRow("start to come") << QDate(2006, 11, 17) << "-2";
    }
    void pickedStartShowsWeeksAndTerm()
    {
        QFETCH(QDate, today);
        QFETCH(QString, weeks);
        m_clock.set(today);
        control<QDateEdit>(m_results.get(), QStringLiteral("DateTimePicker1"))->setDate(QDate(2006, 12, 1));
        QCOMPARE(pregnancyShown(), (QStringList{"01/12/2006", weeks, "14/09/2007"}));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("Début grossesse")), QStringLiteral("01/12/2006"));
    }

    void closingTheCalendarShowsTodayAgain()
    {
        auto *picker = control<QDateEdit>(m_results.get(), QStringLiteral("DateTimePicker1"));
        QCOMPARE(picker->date(), QDate(2006, 12, 8));
        m_results->show();
        QWidget *calendar = picker->calendarWidget()->window();
        calendar->show();
        picker->setDate(QDate(2006, 10, 2));
        calendar->hide();
        QCOMPARE(picker->date(), QDate(2006, 12, 8));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("Début grossesse")), QStringLiteral("02/10/2006"));
        QCOMPARE(shown(QStringLiteral("debut")), QStringLiteral("02/10/2006"));
    }

    void cancelledPregnancyStaysEmpty()
    {
        storePregnancyStart(QDate(2006, 12, 1));
        m_results->refreshPregnancy();
        QTest::mouseClick(control<QToolButton>(m_results.get(), QStringLiteral("annuler")), Qt::LeftButton);
        QCOMPARE(pregnancyShown(), (QStringList{"", "", ""}));
        QCOMPARE(stored(records::tables::measures, QStringLiteral("Début grossesse")), QStringLiteral("30/12/1899"));
        m_results->refreshPregnancy();
        QCOMPARE(pregnancyShown(), (QStringList{"", "", ""}));
    }

    void pregnancyBoxFollowsThePatient()
    {
        auto *box = control<QGroupBox>(m_results.get(), QStringLiteral("alertegrossesse"));
        storePregnancyStart(QDate(2006, 12, 1));
        Table &patients = m_patient->patients();
        patients.edit();
        patients.setText(QStringLiteral("Sexe"), QStringLiteral("Masculin"));
        patients.post();
        m_results->refreshPregnancy();
        QVERIFY(!box->isEnabled());
        test::addPatient(*m_patient, QStringLiteral("NOEL"), QStringLiteral("Anne"));
        // Another patient: no pregnancy of the previous one is shown, and no sex chosen offers the box.
        QCOMPARE(pregnancyShown(), (QStringList{"", "", ""}));
        QVERIFY(box->isEnabled());
        m_patient->previous();
        QCOMPARE(shown(QStringLiteral("debut")), QStringLiteral("01/12/2006"));
        QVERIFY(!box->isEnabled());
    }
};

QTEST_MAIN(TestMeasurePages)
#include "test_measurepages.moc"
