#include "app/printsettingsmapping.h"
#include "app/settingsstore.h"
#include "app/tmotdepasse.h"
#include "app/torvane.h"
#include "clinical/statisticspage.h"
#include "platform/error.h"
#include "platform/radiogroup.h"
#include "platform/textlines.h"
#include "prescribing/certificatelayout.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/prescriptionpage.h"
#include "prescribing/printcontext.h"
#include "prescribing/printfiles.h"
#include "prescribing/qprintersurface.h"
#include "prescribing/timprime.h"
#include "printingchecks.h"
#include "records/currentpatient.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/printedplacement.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cups/cups.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::prescribing;

namespace {

const QString queue = QStringLiteral("orvane-pdf");

// A CUPS server of the test's own with one cups-pdf queue, the default printer (support/cupsserver.sh).
class CupsServer
{
public:
    QString start()
    {
        const QString address = run({QStringLiteral("start"), m_state.path(), queue}).trimmed();
        qputenv("CUPS_SERVER", address.toLocal8Bit());
        return address;
    }
    ~CupsServer() { run({QStringLiteral("stop"), m_state.path()}); }
    void setQueue(const QString &state) { run({QStringLiteral("queue"), m_state.path(), queue, state}); }
    void kill() { run({QStringLiteral("kill"), m_state.path()}); }

    // The PDF files the queue wrote, in the order of their jobs.
    QStringList printed() const
    {
        static const QRegularExpression jobNumber(QStringLiteral("job_(\\d+)"));
        const QDir folder(m_state.path() + QStringLiteral("/pdf"));
        QStringList files = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        std::sort(files.begin(), files.end(), [](const QString &a, const QString &b) {
            return jobNumber.match(a).captured(1).toInt() < jobNumber.match(b).captured(1).toInt();
        });
        for (QString &file : files)
            file = folder.filePath(file);
        return files;
    }

private:
    QString run(const QStringList &arguments)
    {
        QProcess script;
        script.start(QStringLiteral("bash"), QStringList{QStringLiteral(ORVANE_CUPS_SCRIPT)} + arguments);
        if (!script.waitForFinished(120000) || script.exitCode() != 0)
            qWarning("cupsserver.sh %s: %s", qPrintable(arguments.join(QLatin1Char(' '))),
                     script.readAllStandardError().constData());
        return QString::fromLocal8Bit(script.readAllStandardOutput());
    }

    QTemporaryDir m_state{QStringLiteral("/tmp/orvane-cups-XXXXXX")};
};

using Layout = std::function<void(const PrintContext &)>;

} // namespace

// Printing from the program through a real CUPS queue: the jobs come out of the queue as PDF files
// laid out as the program drew them, each with its copy in the patient's folder of prints; a queue
// that does not take the job stops the print as a printer error.
class TestCupsPrinting : public QObject
{
    Q_OBJECT

private:
    CupsServer m_server;
    std::unique_ptr<test::TestDatabase> m_base;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock;
    std::unique_ptr<app::TOrvane> m_window;
    app::ProgramWindows m_windows;

    PrescriptionPage &page() const { return *m_window->prescriptionPage(); }
    QString prescriptionShown() const { return test::prescriptionShown(*m_window); }
    QString archivedPrescription() const { return test::archivedPrescription(m_base->db()); }
    QDir copies() const { return test::patientPrints(*m_window); }
    QStringList copyNames() const { return copies().entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name); }
    PrintContext recordingContext(PrinterSurface &surface) const
    {
        return PrintContext(surface, app::printSettingsOf(m_window->settingsStore().settings()), m_clock.todayText());
    }
    // The pages of a file the queue may still be writing.
    static QList<test::PdfPage> pagesOf(const QString &file)
    {
        const QDeadlineTimer deadline(60000);
        QList<test::PdfPage> pages;
        while ((pages = test::readPdfPages(file)).isEmpty() && !deadline.hasExpired())
            QTest::qWait(200);
        return pages;
    }
    void click(QWidget *parent, const QString &button)
    {
        QTest::mouseClick(parent->findChild<QToolButton *>(button), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("the test CUPS server and its cups-pdf backend need root, as in CI");
        QVERIFY(!m_server.start().isEmpty());
    }
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_window = std::make_unique<app::TOrvane>(m_base->db(), m_dialogs, m_clock, m_base->home());
        m_windows = app::ProgramWindows();
        m_windows.imprime = new TImprime(m_window.get());
        m_windows.motdepasse = new app::Tmotdepasse(m_window.get());
        m_window->setWindows(m_windows);
        test::addPatient(m_window->patient(), QStringLiteral("ABEL"), QStringLiteral("Louise"));
        // Qt finds the queue through its CUPS plug-in: the server's default printer.
        QCOMPARE(m_window->printerSurface().printer().printerName(), queue);
        QCOMPARE(m_window->printerSurface().printer().outputFormat(), QPrinter::NativeFormat);
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        m_window.reset();
        m_base.reset();
    }

    void eachLayoutPrintsThroughTheQueue_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QStringList>("kinds");
        const QString name = QStringLiteral("ABEL Louise");
        const QString renewal = QStringLiteral("Ordonnance à renouveler: 2 fois");
        const QString plainText = QStringLiteral("AMOXICILLINE 1 g\r\n1 gélule matin et soir");
        const QString zonesText = plainText + QStringLiteral("\r\n<non 100%>\r\nPARACETAMOL 500 mg");
        QTest::newRow("Normal") << "IEButton18" << plainText << Layout([=](const PrintContext &context) {
            printPlainPrescription(context, {name, splitLines(plainText), renewal});
        }) << QStringList{QStringLiteral("ordonnance"), QStringLiteral("ordonnance duplicata")};
        QTest::newRow("100%") << "IEButton19" << zonesText << Layout([=](const PrintContext &context) {
            printLongTermIllnessPrescription(context, {name, splitLines(zonesText), renewal});
        }) << QStringList{QStringLiteral("ordonnance 100%"), QStringLiteral("ordonnance 100% duplicata")};
        QTest::newRow("Certif.") << "IEButton20" << plainText << Layout([=](const PrintContext &context) {
            printCertificate(context, name, splitLines(plainText));
        }) << QStringList{QStringLiteral("certificat")};
    }
    void eachLayoutPrintsThroughTheQueue()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(Layout, layout);
        QFETCH(QStringList, kinds);
        const int before = int(m_server.printed().size());
        const bool certificate = button == QLatin1String("IEButton20");
        page().setPrescriptionText(text);
        page().findChild<QLineEdit *>(QStringLiteral("Edit5"))->setText(QStringLiteral("Ordonnance à renouveler: 2 fois"));
        click(&page(), button);

        test::RecordingSurface recording;
        layout(recordingContext(recording));
        QTRY_COMPARE_WITH_TIMEOUT(m_server.printed().size(), before + kinds.size(), 90000);
        const QPointF origin =
            m_window->printerSurface().printer().pageLayout().paintRect(QPageLayout::Inch).topLeft() * deviceUnitsPerInch;
        const QStringList copyFiles = copyNames();
        QCOMPARE(copyFiles.size(), kinds.size());
        for (int job = 0; job < kinds.size(); ++job) {
            // The queue's sheet and the copy kept of it, both as the layout drew them, on A4.
            const QString copy = copies().filePath(QStringLiteral("2006-03-15 10h30m00 %1.pdf").arg(kinds.at(job)));
            QVERIFY2(copyFiles.contains(QFileInfo(copy).fileName()), qPrintable(copyFiles.join(QLatin1Char(','))));
            const QString queued = m_server.printed().at(before + job);
            for (const QString &file : {queued, copy}) {
                const QList<test::PdfPage> pages = pagesOf(file);
                QCOMPARE(pages.size(), 1);
                QVERIFY2(qAbs(pages.first().width - 2976) < 5 && qAbs(pages.first().height - 4209) < 5,
                         qPrintable(QStringLiteral("%1 x %2").arg(pages.first().width).arg(pages.first().height)));
                // The queue's fonts are rewritten: their boxes stand up to a fifth of the size lower.
                const QStringList misplaced = test::textsNotWhereDrawn(recording.documents().at(job), pages.first(),
                                                                       origin, file == queued ? 0.25 : 0);
                QVERIFY2(misplaced.isEmpty(), qPrintable(file + QLatin1Char('\n') + misplaced.join(QLatin1Char('\n'))));
            }
        }
        QCOMPARE(prescriptionShown(), QString());
        QCOMPARE(archivedPrescription(), certificate ? QStringLiteral("<no row>") : text);
    }

    void theChartPrintsThroughTheQueue()
    {
        const int before = int(m_server.printed().size());
        records::Table &measures = m_window->patient().measures();
        measures.edit();
        measures.setText(QStringLiteral("Poids"), QStringLiteral("08/12/2006\r72\r09/01/2007\r73.5\r"));
        measures.post();
        clinical::StatisticsPage &statistics = *m_window->statisticsPage();
        // The chart is printed as it stands on screen; first use: the gate lets the test in.
        m_dialogs.answerModal([](QDialog &gate) {
            gate.findChild<QAbstractButton *>(QStringLiteral("Button1"))->click();
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->showTab(QStringLiteral("statistique"));
        test::clickOption(test::namedChild<RadioGroup>(&statistics, QStringLiteral("choix1")), QStringLiteral("Poids"));
        m_dialogs.answerPrinterSetup(true);
        click(&statistics, QStringLiteral("SpeedButton1"));

        QTRY_COMPARE_WITH_TIMEOUT(m_server.printed().size(), before + 1, 90000);
        QCOMPARE(copyNames(), QStringList{QStringLiteral("2006-03-15 10h30m00 graphique.pdf")});
        // The queue turns the chart's texts into outlines: its sheet is read for its page, the copy
        // for its words.
        const QList<test::PdfPage> sheet = pagesOf(m_server.printed().last());
        QCOMPARE(sheet.size(), 1);
        QVERIFY(qAbs(sheet.first().width - 2976) < 5 && qAbs(sheet.first().height - 4209) < 5);
        const QList<test::PdfPage> copy = pagesOf(copies().filePath(copyNames().first()));
        QCOMPARE(copy.size(), 1);
        for (const char *word : {"Poids", "08/12/2006", "73.5"})
            QVERIFY2(!copy.first().find(QString::fromUtf8(word)).isEmpty(), word);
    }

    // Last: the server is killed in its last row.
    void aQueueThatDoesNotTakeTheJobStopsThePrint_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("queue stopped") << "stopped" << "IEButton18" << "L'imprimante « orvane-pdf » est arrêtée";
        QTest::newRow("queue refusing jobs") << "rejecting" << "IEButton19"
                                             << "L'imprimante « orvane-pdf » refuse les impressions";
        QTest::newRow("job refused") << "refused" << "IEButton20" << "L'imprimante « orvane-pdf » a refusé l'impression : ";
        QTest::newRow("printer removed") << "removed" << "IEButton19" << "L'imprimante « orvane-pdf » est introuvable : ";
        QTest::newRow("server gone") << "killed" << "IEButton18"
                                     << "L'imprimante « orvane-pdf » ne répond pas, le service d'impression (";
    }
    void aQueueThatDoesNotTakeTheJobStopsThePrint()
    {
        QFETCH(QString, fault);
        QFETCH(QString, button);
        QFETCH(QString, message);
        const QStringList before = m_server.printed();
        if (fault == QLatin1String("killed"))
            m_server.kill();
        else if (fault == QLatin1String("refused"))
            // The queue's list of users keeps out the one printing (root may always print).
            cupsSetUser("orvane-refused");
        if (fault != QLatin1String("killed"))
            m_server.setQueue(fault);
        page().setPrescriptionText(QStringLiteral("LEVOTHYROX 75"));

        const QString shown = test::printFailure(page(), button);
        cupsSetUser(nullptr);
        if (fault != QLatin1String("killed"))
            m_server.setQueue(QStringLiteral("ready"));

        QVERIFY2(shown.startsWith(message), qPrintable(shown));
        QCOMPARE(prescriptionShown(), QStringLiteral("LEVOTHYROX 75"));
        QCOMPARE(archivedPrescription(),
                 button == QLatin1String("IEButton20") ? QStringLiteral("<no row>") : QStringLiteral("LEVOTHYROX 75"));
        QCOMPARE(copyNames(), QStringList());
        QVERIFY(!m_windows.imprime->isVisible());
        QTest::qWait(2000);
        QCOMPARE(m_server.printed(), before);
    }
};

QTEST_MAIN(TestCupsPrinting)
#include "test_cupsprinting.moc"
