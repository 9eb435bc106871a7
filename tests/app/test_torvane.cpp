#include "shellfixture.h"
#include "support/fixedclock.h"
#include "support/scripteddialogservice.h"

#include "app/tdialogues.h"
#include "app/tmotdepasse.h"
#include "app/torvane.h"
#include "records/alias.h"
#include "records/database.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using orvane::app::TOrvane;
using orvane::records::Table;
namespace tables = orvane::records::tables;

namespace {

void pressOkThreeTimes(QDialog &password)
{
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(password.focusWidget(), Qt::Key_Return);
}

} // namespace

class TestTOrvane : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void frameAtCreation();
    void vidalNeedsItsProgram_data();
    void vidalNeedsItsProgram();
    void gateRunsAtFirstShowOnly();
    void refusedGateEndsWithoutQuitQuestion();
    void quitQuestion_data();
    void quitQuestion();
    void quitterStoresOpenRowsEvenWhenStaying();
    void quitterWithoutPatientStoresNothing();
    void closeBoxStoresNothing();
    void unreadableSettingReportedAfterGate();

private:
    void createMain();
    void showPassingGate();
    void addPatient(double number, const QString &surname);
    bool hasRow(const QString &table, double number) const;
    void answerQuit(bool yes);

    orvane::test::ShellFixture m_fixture;
    orvane::test::ScriptedDialogService m_dialogs;
    orvane::test::FixedClock m_clock;
    std::unique_ptr<orvane::records::Database> m_db;
    std::unique_ptr<TOrvane> m_main;
};

void TestTOrvane::init()
{
    m_fixture.reset();
    m_dialogs.clear();
    const QString folder = m_fixture.programFolder();
    m_db = std::make_unique<orvane::records::Database>(orvane::records::AliasSettings::load(folder), folder);
}

void TestTOrvane::cleanup()
{
    m_main.reset();
    m_db.reset();
}

void TestTOrvane::createMain()
{
    m_main = std::make_unique<TOrvane>(*m_db, m_dialogs, m_clock, m_fixture.programFolder());
    orvane::app::ProgramWindows windows;
    windows.dialogues = new orvane::app::Tdialogues(m_dialogs, m_main.get());
    windows.motdepasse = new orvane::app::Tmotdepasse(m_main.get());
    m_main->setWindows(windows);
}

void TestTOrvane::showPassingGate()
{
    m_dialogs.answerModal(pressOkThreeTimes);
    m_main->show();
    QVERIFY(m_main->isVisible());
}

void TestTOrvane::addPatient(double number, const QString &surname)
{
    Table patients(*m_db, tables::patients);
    patients.open();
    patients.insert();
    patients.setText(QStringLiteral("Nom"), surname);
    patients.setText(QStringLiteral("Prénom"), QStringLiteral("Jean"));
    patients.setText(QStringLiteral("NomPrénom"), surname + QStringLiteral(" Jean"));
    patients.setValue(QStringLiteral("N°Dossier"), number);
    patients.setValue(QStringLiteral("Année"), 1950);
    patients.post();
}

bool TestTOrvane::hasRow(const QString &table, double number) const
{
    Table rows(*m_db, table);
    rows.open();
    return rows.locate(QStringLiteral("N°Dossier"), number);
}

void TestTOrvane::answerQuit(bool yes)
{
    m_dialogs.answerModal([yes](QDialog &question) {
        QCOMPARE(question.windowTitle(), QStringLiteral("ORVANE 2006"));
        QCOMPARE(question.findChild<QLabel *>(QStringLiteral("action"))->text(),
                 QStringLiteral("Quitter Orvane 2006?"));
        QTest::mouseClick(question.findChild<QPushButton *>(yes ? QStringLiteral("ok") : QStringLiteral("non")),
                          Qt::LeftButton);
    });
}

void TestTOrvane::frameAtCreation()
{
    addPatient(3, QStringLiteral("MARTIN"));
    createMain();
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Orvane 2006"));
    QCOMPARE(m_main->minimumSize(), m_main->maximumSize());
    QCOMPARE(m_main->findChild<QLineEdit *>(QStringLiteral("Edit2"))->text(), QStringLiteral("15/03/2006"));
    QVERIFY(QMetaObject::invokeMethod(m_main.get(), "Timer1Timer"));
    QCOMPARE(m_main->findChild<QLineEdit *>(QStringLiteral("Edit1"))->text(), QStringLiteral("10:30:00"));

    const auto *notebook = m_main->findChild<QTabWidget *>(QStringLiteral("TabbedNotebook1"));
    const QStringList names = {"Identite", "consultation", "Prescri", "vaccin", "bilans", "statistique"};
    const QStringList titles = {QStringLiteral("&Identité"), "&Consultation", "&Prescriptions", "&Vaccinations",
                                "&Bilans et Mesures", "&Statistiques"};
    QCOMPARE(notebook->count(), 6);
    for (int i = 0; i < notebook->count(); ++i) {
        QCOMPARE(notebook->widget(i)->objectName(), names.at(i));
        QCOMPARE(notebook->tabText(i), titles.at(i));
    }
    QCOMPARE(notebook->currentWidget()->objectName(), QStringLiteral("Identite"));

    orvane::records::CurrentPatient &tables = m_main->patient();
    QCOMPARE(tables.patients().ordering(), QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier"));
    QCOMPARE(tables.patients().text(QStringLiteral("Nom")), QStringLiteral("MARTIN"));
    for (Table *detail : {&tables.history(), &tables.consultations(), &tables.treatments(), &tables.measures(),
                          &tables.insurance(), &tables.archive()}) {
        QVERIFY2(detail->isOpen(), qPrintable(detail->tableName()));
        QCOMPARE(detail->master(), &tables.patients());
    }
    for (Table *list : {&tables.counter(), &tables.drugs(), &tables.historyWords(), &tables.reasons(),
                        &tables.examinations()})
        QVERIFY2(list->isOpen() && !list->master(), qPrintable(list->tableName()));
    QVERIFY(!m_main->isVisible());
    QCOMPARE(m_dialogs.requests().size(), 0);
}

void TestTOrvane::vidalNeedsItsProgram_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("installed") << true;
    QTest::newRow("missing") << false;
}

void TestTOrvane::vidalNeedsItsProgram()
{
    QFETCH(bool, installed);
    if (installed) {
        QFile program(QDir(m_fixture.programFolder()).filePath(QStringLiteral("accesvidalcd.exe")));
        QVERIFY(program.open(QIODevice::WriteOnly));
    }
    createMain();
    QCOMPARE(m_main->vidalAvailable(), installed);
}

void TestTOrvane::gateRunsAtFirstShowOnly()
{
    createMain();
    showPassingGate();
    m_main->hide();
    m_main->show();
    m_main->showMinimized();
    m_main->showNormal();
    QCOMPARE(m_dialogs.requests().size(), 1);
    QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("modal"));
    QCOMPARE(m_dialogs.requests().first().caption, QStringLiteral("Orvane 2006"));
}

void TestTOrvane::refusedGateEndsWithoutQuitQuestion()
{
    createMain();
    QSignalSpy ending(m_main.get(), &TOrvane::terminationRequested);
    m_dialogs.answerModal([](QDialog &password) { password.close(); });
    m_main->show();
    QCOMPARE(ending.count(), 1);
    QVERIFY(m_main->close());
    QCOMPARE(m_dialogs.requests().size(), 1);
}

void TestTOrvane::quitQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Oui closes") << true;
    QTest::newRow("Non stays") << false;
}

void TestTOrvane::quitQuestion()
{
    QFETCH(bool, yes);
    addPatient(1, QStringLiteral("ARNAUD"));
    addPatient(2, QStringLiteral("BERNARD"));
    createMain();
    showPassingGate();
    m_main->patient().patients().next();
    answerQuit(yes);
    QCOMPARE(m_main->close(), yes);
    QCOMPARE(m_main->isVisible(), !yes);
    // Leaving closes the tables; staying keeps the same patient.
    QCOMPARE(m_main->patient().patients().isOpen(), !yes);
    if (!yes)
        QCOMPARE(m_main->patient().patients().text(QStringLiteral("Nom")), QStringLiteral("BERNARD"));
    QCOMPARE(m_dialogs.pendingAnswers(), 0);
}

void TestTOrvane::quitterStoresOpenRowsEvenWhenStaying()
{
    addPatient(7, QStringLiteral("DUPONT"));
    createMain();
    showPassingGate();
    answerQuit(false);
    m_main->Quitter1Click();
    QVERIFY(m_main->isVisible());
    QVERIFY(hasRow(tables::consultations, 7));
    QVERIFY(hasRow(tables::history, 7));
    QVERIFY(hasRow(tables::treatments, 7));
    QVERIFY(!hasRow(tables::measures, 7));
    QVERIFY(!m_main->patient().consultations().isEditing());
}

void TestTOrvane::quitterWithoutPatientStoresNothing()
{
    createMain();
    showPassingGate();
    answerQuit(true);
    m_main->Quitter1Click();
    QVERIFY(!m_main->isVisible());
    Table consultations(*m_db, tables::consultations);
    consultations.open();
    QVERIFY(consultations.isEmpty());
}

void TestTOrvane::closeBoxStoresNothing()
{
    addPatient(7, QStringLiteral("DUPONT"));
    createMain();
    showPassingGate();
    answerQuit(true);
    QVERIFY(m_main->close());
    QVERIFY(!hasRow(tables::consultations, 7));
}

void TestTOrvane::unreadableSettingReportedAfterGate()
{
    m_fixture.storeValue(QStringLiteral("Marge Bas"), QStringLiteral("abc"));
    createMain();
    QCOMPARE(m_dialogs.requests().size(), 0);
    showPassingGate();
    QCOMPARE(m_dialogs.requests().size(), 2);
    QCOMPARE(m_dialogs.requests().last().kind, QStringLiteral("message"));
    QVERIFY(m_dialogs.requests().last().text.startsWith(QStringLiteral("'abc' n'est pas une valeur entière correcte")));
    QCOMPARE(m_main->settingsStore().settings().margins.bottom, 50);
}

QTEST_MAIN(TestTOrvane)
#include "test_torvane.moc"
