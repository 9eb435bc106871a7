#include "app/tdialogues.h"
#include "app/torvane.h"
#include "clinical/resultspage.h"
#include "clinical/statisticspage.h"
#include "clinical/vaccinationpage.h"
#include "platform/radiogroup.h"
#include "records/currentpatient.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace orvane;

// The vaccinations, results and statistics tabs inside the main window: the date question, and
// what a change of tab refreshes.
class TestMeasureTabs : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};
    std::unique_ptr<app::TOrvane> m_window;

    int tabOf(QWidget *page) const { return m_window->notebook()->indexOf(page); }
    // As a click on the tab does.
    void clickTab(QWidget *page) const { m_window->notebook()->setCurrentIndex(tabOf(page)); }
    QString weeksShown() const
    {
        return m_window->resultsPage()->findChild<QLineEdit *>(QStringLiteral("semaines"))->text();
    }
    void write(records::Table &table, const QString &field, const QVariant &value)
    {
        table.edit();
        table.setValue(field, value);
        table.post();
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_clock.set(QDate(2006, 12, 8));
        m_window = std::make_unique<app::TOrvane>(m_base->db(), m_dialogs, m_clock, m_base->home());
        app::ProgramWindows windows;
        windows.dialogues = new app::Tdialogues(m_dialogs, m_window.get());
        m_window->setWindows(windows);
        test::addPatient(m_window->patient(), QStringLiteral("MARTIN"), QStringLiteral("Claire"));
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        m_window.reset();
        m_base.reset();
    }

    void pagesStandInTheirPlaces()
    {
        QTabWidget *notebook = m_window->notebook();
        const QStringList names{"vaccin", "bilans", "statistique"};
        const QStringList titles{"&Vaccinations", "&Bilans et Mesures", "&Statistiques"};
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(notebook->widget(3 + i)->objectName(), names.at(i));
            QCOMPARE(notebook->tabText(3 + i), titles.at(i));
        }
    }

    void dateIsAskedInTheQuestionWindow()
    {
        m_dialogs.answerModal([](QDialog &dialog) {
            QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("action"))->text(), QStringLiteral("Date du jour?"));
            dialog.findChild<QAbstractButton *>(QStringLiteral("ok"))->click();
        });
        auto *memo = m_window->vaccinationPage()->findChild<QPlainTextEdit *>(QStringLiteral("vaccinations"));
        QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        QCOMPARE(m_dialogs.requests().last().caption, QStringLiteral("Ajouter la Date"));
        QCOMPARE(m_window->patient().treatments().text(QStringLiteral("Vaccinations")),
                 QStringLiteral("\r\n08/12/2006\r\n\r\n"));
    }

    void tabChangeRefreshesThePregnancy()
    {
        records::CurrentPatient &patient = m_window->patient();
        write(patient.measures(), QStringLiteral("Début grossesse"), QDate(2006, 12, 1));
        clickTab(m_window->resultsPage());
        QCOMPARE(weeksShown(), QStringLiteral("1"));
        m_clock.set(QDate(2006, 12, 12));
        write(patient.patients(), QStringLiteral("Sexe"), QStringLiteral("Masculin"));
        auto *box = m_window->resultsPage()->findChild<QGroupBox *>(QStringLiteral("alertegrossesse"));
        QVERIFY(box->isEnabled());
        // The menu shows a tab without the refresh; a click on a tab refreshes.
        m_window->showTab(QStringLiteral("statistique"));
        QCOMPARE(weeksShown(), QStringLiteral("1"));
        clickTab(m_window->vaccinationPage());
        QCOMPARE(weeksShown(), QStringLiteral("2"));
        QVERIFY(!box->isEnabled());
    }

    void enteringStatisticsClearsItsChoices()
    {
        clinical::StatisticsPage *statistics = m_window->statisticsPage();
        auto *labValues = statistics->findChild<RadioGroup *>(QStringLiteral("Choix"));
        auto *measures = statistics->findChild<RadioGroup *>(QStringLiteral("choix1"));
        auto *bloodPressure = statistics->findChild<RadioGroup *>(QStringLiteral("choix2"));
        labValues->setItemIndex(1);
        measures->setItemIndex(1);
        bloodPressure->setItemIndex(0);
        clickTab(m_window->resultsPage());
        QCOMPARE(labValues->itemIndex(), 1);
        clickTab(statistics);
        QCOMPARE(labValues->itemIndex(), -1);
        QCOMPARE(measures->itemIndex(), -1);
        QCOMPARE(bloodPressure->itemIndex(), 0);
    }
};

QTEST_MAIN(TestMeasureTabs)
#include "test_measuretabs.moc"
