#include "support/testenvironment.h"
#include "vidal/vidalexchange.h"
#include "vidal/vidalhost.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <memory>

using namespace orvane;
using namespace orvane::vidal;

namespace {

// The prescription page as the exchange sees it, recording what it is asked to do.
class RecordingHost final : public VidalHost
{
public:
    VidalPatient patient;
    QStringList prescriptionLines;
    QStringList logged;
    int printButtonsDisabled = 0;
    QString scratch;

    VidalPatient vidalPatient() const override { return patient; }
    QString prescription() const override { return prescriptionLines.join(QStringLiteral("\r\n")); }
    void appendToPrescription(const QString &line) override { prescriptionLines.append(line); }
    void logDrug(const QString &logText) override { logged.append(logText); }
    void disablePrintButtons() override { ++printButtonsDisabled; }
    void setScratchText(const QString &text) override { scratch = text; }
};

const QString twoDrugAnswer = QStringLiteral("VIDALCD->\r\n- DOLIPRANE 500 mg -\r\n- SPASFON -\r\n");

} // namespace

class TestVidalExchange : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TemporaryHome> m_home;
    std::unique_ptr<RecordingHost> m_host;
    std::unique_ptr<VidalExchange> m_exchange;
    QStringList m_started;
    QClipboard *m_clipboard = nullptr;

    void answerWith(const QString &text) { m_clipboard->setText(text); }

private slots:
    void initTestCase()
    {
        m_clipboard = QGuiApplication::clipboard();
        m_clipboard->setText(QStringLiteral("probe"));
        if (m_clipboard->text() != QLatin1String("probe"))
            QSKIP("this platform keeps no clipboard text within the process");
    }

    void init()
    {
        m_home = std::make_unique<test::TemporaryHome>();
        m_host = std::make_unique<RecordingHost>();
        m_host->patient.sexIndex = 0;
        m_host->patient.age = QStringLiteral("58");
        m_started.clear();
        m_exchange = std::make_unique<VidalExchange>(*m_host, m_clipboard, nullptr,
                                                     [this](const QString &program) { m_started.append(program); });
        m_clipboard->clear();
    }

    void cleanup()
    {
        m_exchange.reset();
        m_host.reset();
        m_home.reset();
    }

    void accessProgramMustBeInTheProgramFolder()
    {
        QVERIFY(!VidalExchange::accessProgramInstalled());
        QFile program(VidalExchange::accessProgram());
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.close();
        QVERIFY(VidalExchange::accessProgramInstalled());
        QVERIFY(VidalExchange::accessProgram().startsWith(m_home->path()));
        QVERIFY(VidalExchange::accessProgram().endsWith(QLatin1String("/accesvidalcd.exe")));
    }

    void clickSendsTheRequestAndWatches()
    {
        m_exchange->vidalClick();
        const QString request = QStringLiteral("->VIDALCD\r\n0\r\n58\r\n\r\n\r\n0\r\n0\r\n\r\n");
        QCOMPARE(m_clipboard->text(), request);
        QCOMPARE(m_host->scratch, request);
        QCOMPARE(m_started, QStringList{VidalExchange::accessProgram()});
        QVERIFY(m_exchange->isWatching());
        QCOMPARE(m_exchange->timer().interval(), 100);
        QCOMPARE(m_exchange->timer().objectName(), QStringLiteral("Timer2"));
        QCOMPARE(m_host->printButtonsDisabled, 0);

        // The request itself, still on the clipboard, is never taken for the answer.
        m_exchange->Timer2Timer();
        QVERIFY(m_exchange->isWatching());
        QVERIFY(m_host->prescriptionLines.isEmpty());
    }

    void longTermIllnessPrescriptionDisablesPrinting()
    {
        m_host->prescriptionLines = QStringList{"- ABC -", "<non 100%>"};
        m_exchange->vidalClick();
        QCOMPARE(m_host->printButtonsDisabled, 1);
    }

    void secondClickSendsAgainAndKeepsWatching()
    {
        m_exchange->vidalClick();
        m_host->patient.age = QStringLiteral("59");
        m_exchange->vidalClick();
        QVERIFY(m_exchange->isWatching());
        QCOMPARE(m_started.size(), 2);
        QVERIFY(m_clipboard->text().contains(QLatin1String("\r\n59\r\n")));
    }

    void answerIsAppendedAndEveryDrugLineLogged()
    {
        m_host->prescriptionLines = QStringList{"- AMOXICILLINE 1 g: 1 flacon ", "", "2 cps matin et soir"};
        m_exchange->vidalClick();
        answerWith(twoDrugAnswer);
        m_exchange->Timer2Timer();

        QVERIFY(!m_exchange->isWatching());
        QCOMPARE(m_host->prescriptionLines,
                 QStringList({"- AMOXICILLINE 1 g: 1 flacon ", "", "2 cps matin et soir", "- DOLIPRANE 500 mg -",
                              "- SPASFON -"}));
        QCOMPARE(m_host->logged, QStringList({"AMOXICILLINE 1 g: 1 flaco", "DOLIPRANE 500 mg", "SPASFON"}));
        QVERIFY(m_clipboard->text().isEmpty());
        QCOMPARE(m_host->scratch, twoDrugAnswer);
    }

    void answerWithOnlyTheMarkerStillLogs()
    {
        m_host->prescriptionLines = QStringList{"- ABC -"};
        m_exchange->vidalClick();
        answerWith(QStringLiteral("VIDALCD->"));
        m_exchange->Timer2Timer();
        QVERIFY(!m_exchange->isWatching());
        QCOMPARE(m_host->prescriptionLines, QStringList{"- ABC -"});
        QCOMPARE(m_host->logged, QStringList{"ABC"});
        QVERIFY(m_clipboard->text().isEmpty());
    }

    void foreignClipboardIsIgnored_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("lower-case marker") << "lower";
        QTest::newRow("blank before the marker") << "blank";
        QTest::newRow("huge text") << "huge";
        QTest::newRow("binary data") << "binary";
        QTest::newRow("image") << "image";
        QTest::newRow("empty clipboard") << "empty";
    }
    void foreignClipboardIsIgnored()
    {
        QFETCH(QString, kind);
        m_exchange->vidalClick();
        if (kind == QLatin1String("lower")) {
            answerWith(QStringLiteral("vidalcd->\r\n- ABC -\r\n"));
        } else if (kind == QLatin1String("blank")) {
            answerWith(QStringLiteral(" VIDALCD->\r\n- ABC -\r\n"));
        } else if (kind == QLatin1String("huge")) {
            answerWith(QString(20 * 1024 * 1024, QLatin1Char('-')));
        } else if (kind == QLatin1String("binary")) {
            auto *data = new QMimeData;
            data->setData(QStringLiteral("application/octet-stream"), QByteArray("VIDALCD->\r\n\0\xff", 13));
            m_clipboard->setMimeData(data);
        } else if (kind == QLatin1String("image")) {
            QImage image(16, 16, QImage::Format_RGB32);
            image.fill(Qt::red);
            m_clipboard->setImage(image);
        } else {
            m_clipboard->clear();
        }
        for (int tick = 0; tick < 3; ++tick)
            m_exchange->Timer2Timer();

        QVERIFY(m_exchange->isWatching());
        QVERIFY(m_host->prescriptionLines.isEmpty());
        QVERIFY(m_host->logged.isEmpty());
        // What the physician copied from elsewhere stays on the clipboard.
        QCOMPARE(m_clipboard->text().isEmpty(), kind == QLatin1String("binary") || kind == QLatin1String("image")
                                                    || kind == QLatin1String("empty"));
        if (kind == QLatin1String("image"))
            QVERIFY(m_clipboard->mimeData()->hasImage());
    }

    void answerLineOfAnyLengthIsAppendedAsItIs()
    {
        const QString line = QStringLiteral("- ") + QString(5 * 1024 * 1024, QChar(0x00e9)) + QStringLiteral(" -");
        m_exchange->vidalClick();
        answerWith(QStringLiteral("VIDALCD->\r\n") + line);
        m_exchange->Timer2Timer();
        QCOMPARE(m_host->prescriptionLines, QStringList{line});
        QCOMPARE(m_host->logged.size(), 1);
        QCOMPARE(m_host->logged.first().size(), line.size() - 4);
    }

    void leavingThePrescriptionsPageStopsTheWatch()
    {
        m_exchange->vidalClick();
        m_exchange->pageChanged(true);
        QVERIFY(m_exchange->isWatching());
        m_exchange->pageChanged(false);
        QVERIFY(!m_exchange->isWatching());

        // A tick queued before the change, then a late answer: nothing is taken.
        answerWith(twoDrugAnswer);
        m_exchange->Timer2Timer();
        QVERIFY(m_host->prescriptionLines.isEmpty());
        QVERIFY(m_host->logged.isEmpty());
        QCOMPARE(m_clipboard->text(), twoDrugAnswer);

        // Only a new click takes it, and it first replaces the clipboard with a new request.
        m_exchange->vidalClick();
        answerWith(twoDrugAnswer);
        m_exchange->Timer2Timer();
        QCOMPARE(m_host->prescriptionLines.size(), 2);
    }

    void timerDrivesTheWatch()
    {
        m_exchange->vidalClick();
        answerWith(twoDrugAnswer);
        QTRY_VERIFY(!m_exchange->isWatching());
        QCOMPARE(m_host->prescriptionLines.size(), 2);
    }
};

QTEST_MAIN(TestVidalExchange)
#include "test_vidalexchange.moc"
