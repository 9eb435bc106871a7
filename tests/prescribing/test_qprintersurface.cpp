#include "prescribing/qprintersurface.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "prescribing/printfiles.h"
#include "support/fixedclock.h"
#include "support/pdfwords.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

using namespace orvane;
using namespace orvane::prescribing;
using orvane::test::PdfPage;
using orvane::test::PdfWord;

class TestQPrinterSurface : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TemporaryHome> m_home;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock;
    std::unique_ptr<QPrinterSurface> m_surface;

    QStringList printedFiles() const
    {
        QDir folder(PrintFiles::folder());
        QStringList files;
        for (const QString &name : folder.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
            files.append(folder.filePath(name));
        return files;
    }

    // The printable area's top-left corner on the PDF page, in device units.
    QPointF printableOrigin()
    {
        const QRectF paint = m_surface->printer().pageLayout().paintRect(QPageLayout::Inch);
        return paint.topLeft() * deviceUnitsPerInch;
    }

    PdfPage onlyPage(const QString &file)
    {
        const QList<PdfPage> pages = test::readPdfPages(file);
        if (pages.size() != 1)
            qWarning("%s has %d pages", qPrintable(file), int(pages.size()));
        return pages.value(0);
    }

    void skipWithoutPdfToText()
    {
        if (!test::pdfToTextAvailable())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

private slots:
    void init()
    {
        m_home = std::make_unique<test::TemporaryHome>();
        m_dialogs.clear();
        m_surface = std::make_unique<QPrinterSurface>(m_dialogs, m_clock);
        m_surface->printer().setOutputFormat(QPrinter::PdfFormat);
        m_surface->printer().setPageSize(QPageSize(QPageSize::A4));
    }
    void cleanup()
    {
        m_surface.reset();
        m_home.reset();
    }

    void textsStandWhereTheyWereAsked_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("small italic near the corner") << 7 << false << true << 0 << 0;
        QTest::newRow("regular in the middle") << 12 << false << false << 1200 << 1700;
        QTest::newRow("large bold low on the page") << 18 << true << false << 250 << 3200;
    }
    void textsStandWhereTheyWereAsked()
    {
        skipWithoutPdfToText();
        QFETCH(int, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, x);
        QFETCH(int, y);
        const QString word = QStringLiteral("Posologie");
        m_surface->beginDocument({});
        m_surface->setFont(PrintFont{QStringLiteral("Times New Roman"), points, bold, italic, false});
        const int width = m_surface->textWidth(word);
        m_surface->drawText(x, y, word);
        m_surface->endDocument();

        const QList<PdfWord> found = onlyPage(printedFiles().value(0)).find(word);
        QCOMPARE(found.size(), 1);
        const QPointF origin = printableOrigin();
        const PdfWord &printed = found.first();
        QVERIFY2(qAbs(printed.left - origin.x() - x) <= 3, qPrintable(QString::number(printed.left - origin.x())));
        QVERIFY2(qAbs(printed.top - origin.y() - y) <= 0.15 * points + 3,
                 qPrintable(QString::number(printed.top - origin.y())));
        QVERIFY2(qAbs(printed.right - printed.left - width) <= 3,
                 qPrintable(QString::number(printed.right - printed.left)));
        // The em height honours the size in points at the device units.
        const double emHeight = printed.bottom - printed.top;
        QVERIFY2(qAbs(emHeight - points * double(deviceUnitsPerInch) / 72.0) <= 0.25 * points * double(deviceUnitsPerInch) / 72.0,
                 qPrintable(QString::number(emHeight)));
    }

    void theFontStaysInForceForTheNextJob()
    {
        skipWithoutPdfToText();
        m_surface->beginDocument({});
        m_surface->setFont(PrintFont{QStringLiteral("Times New Roman"), 18, true, false, false});
        m_surface->drawText(300, 300, QStringLiteral("Premier"));
        m_surface->endDocument();
        m_surface->beginDocument({});
        m_surface->drawText(300, 300, QStringLiteral("Second"));
        m_surface->endDocument();

        const QStringList files = printedFiles();
        QCOMPARE(files.size(), 2);
        const PdfWord first = onlyPage(files.at(0)).find(QStringLiteral("Premier")).value(0);
        const PdfWord second = onlyPage(files.at(1)).find(QStringLiteral("Second")).value(0);
        QVERIFY(first.bottom > first.top);
        QCOMPARE(qRound(second.bottom - second.top), qRound(first.bottom - first.top));
    }

    void textOutsideThePrintableAreaIsCutOff()
    {
        skipWithoutPdfToText();
        m_surface->beginDocument({});
        m_surface->setFont(PrintFont{});
        m_surface->drawText(200, 3300, QStringLiteral("Dedans"));
        m_surface->drawText(200, 5000, QStringLiteral("Dessous"));
        m_surface->drawText(4000, 300, QStringLiteral("Droite"));
        m_surface->drawText(-3000, 300, QStringLiteral("Gauche"));
        m_surface->endDocument();
        const QList<PdfPage> pages = test::readPdfPages(printedFiles().value(0));
        QCOMPARE(pages.size(), 1);
        QStringList words;
        for (const PdfWord &word : pages.first().words)
            words.append(word.text);
        QCOMPARE(words, QStringList{QStringLiteral("Dedans")});
    }

    void linesAreTenUnitsWide()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        m_surface->beginDocument({});
        m_surface->drawLine(200, 1000, 2000, 1000);
        m_surface->endDocument();
        const QString picture = m_home->path() + QStringLiteral("/page");
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {QStringLiteral("-r"), QString::number(deviceUnitsPerInch), QStringLiteral("-gray"),
                                    QStringLiteral("-singlefile"), printedFiles().value(0), picture}),
                 0);
        const QImage page(picture + QStringLiteral(".pgm"));
        QVERIFY(!page.isNull());
        const QPoint origin = printableOrigin().toPoint();
        auto inked = [&](int x, int y) { return qGray(page.pixel(origin.x() + x, origin.y() + y)) < 128; };
        for (int y = 997; y <= 1003; ++y)
            QVERIFY2(inked(1000, y), qPrintable(QString::number(y)));
        QVERIFY(!inked(1000, 990));
        QVERIFY(!inked(1000, 1010));
        QVERIFY(inked(210, 1000));
        QVERIFY(!inked(2020, 1000));
    }

    void everyJobIsAFileOfItsOwn()
    {
        for (int job = 0; job < 2; ++job) {
            m_surface->beginDocument({});
            m_surface->drawLine(100, 100, 1000, 100);
            m_surface->endDocument();
        }
        // A later run in the same second keeps the files already written.
        QPrinterSurface laterRun(m_dialogs, m_clock);
        laterRun.printer().setOutputFormat(QPrinter::PdfFormat);
        laterRun.beginDocument({});
        laterRun.endDocument();

        const QStringList files = printedFiles();
        QCOMPARE(files.size(), 3);
        for (int job = 1; job <= 3; ++job) {
            const QString expected = PrintFiles::folder()
                + QStringLiteral("/2006-03-15 10h30m00 impression %1.pdf").arg(job);
            QVERIFY2(files.contains(expected), qPrintable(files.join(QLatin1Char('\n'))));
        }
        for (const QString &file : files)
            QVERIFY(QFile(file).size() > 0);
    }

    void withoutAPrinterAPatientsJobIsHisCopy()
    {
        for (int job = 0; job < 2; ++job) {
            m_surface->beginDocument({QStringLiteral("MARTIN Claire 12"), QStringLiteral("ordonnance 100%")});
            m_surface->endDocument();
        }
        const QDir copies(PrintFiles::folder() + QStringLiteral("/MARTIN Claire 12"));
        QCOMPARE(copies.entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("2006-03-15 10h30m00 ordonnance 100% (2).pdf"),
                              QStringLiteral("2006-03-15 10h30m00 ordonnance 100%.pdf")}));
        QVERIFY(printedFiles().isEmpty());
    }

    void anUnwritableFolderIsReportedWithItsMessage()
    {
        QFile blocker(PrintFiles::folder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        try {
            m_surface->beginDocument({});
            QFAIL("printing went on without its folder");
        } catch (const Error &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Impossible de créer le dossier")),
                     qPrintable(error.message()));
        }
        // Once the folder can be made the next job prints.
        QVERIFY(QFile::remove(PrintFiles::folder()));
        m_surface->beginDocument({});
        m_surface->endDocument();
        QCOMPARE(printedFiles().size(), 1);
    }

    void drawingWithoutAJobFails()
    {
        QVERIFY_THROWS_EXCEPTION(Error, m_surface->drawText(10, 10, QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(Error, m_surface->drawLine(0, 0, 10, 10));
        QVERIFY_THROWS_EXCEPTION(Error, m_surface->endDocument());
    }

    void setUpAfterAPatientsPrintShowsNoFileOfHisAndAsksNothing()
    {
        m_surface->beginDocument({QStringLiteral("LEFÈVRE Élodie 3"), QStringLiteral("certificat")});
        m_surface->endDocument();
        const QString certificate = QDir(PrintFiles::folder() + QStringLiteral("/LEFÈVRE Élodie 3")).entryList(QDir::Files).value(0);
        QVERIFY(!certificate.isEmpty());
        QVERIFY(!m_surface->printer().outputFileName().contains(QStringLiteral("LEFÈVRE")));

        // The set-up as the physician sees it: no output file, and OK asks no question.
        QStringList seen;
        QTimer::singleShot(0, this, [&seen] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // A failed check below leaves the dialog open: it goes anyway, and the test goes on.
            QTimer::singleShot(2000, dialog, &QDialog::reject);
            const auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(file);
            QVERIFY(!file->isVisible());
            QVERIFY(!QFileInfo::exists(file->text()));
            for (const QLabel *label : dialog->findChildren<QLabel *>()) {
                if (label->isVisible())
                    seen.append(label->text());
            }
            // A question the dialog would ask on OK is noted and closed.
            QTimer::singleShot(0, dialog, [&seen, dialog] {
                QWidget *modal = QApplication::activeModalWidget();
                if (modal && modal != dialog) {
                    seen.append(QStringLiteral("question"));
                    modal->close();
                    dialog->reject();
                }
            });
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QtDialogService dialogs;
        QVERIFY(dialogs.setUpPrinter(nullptr, m_surface->printer()));
        QVERIFY2(!seen.join(QLatin1Char(' ')).contains(QStringLiteral("LEFÈVRE")), qPrintable(seen.join(QLatin1Char('|'))));
        QVERIFY(!seen.join(QLatin1Char(' ')).contains(QStringLiteral("question")));

        // The next patient's chart goes to his folder only.
        m_surface->beginDocument({QStringLiteral("DURAND Marie 5"), QStringLiteral("graphique")});
        m_surface->endDocument();
        QCOMPARE(QDir(PrintFiles::folder() + QStringLiteral("/DURAND Marie 5")).entryList(QDir::Files).size(), 1);
        QCOMPARE(QDir(PrintFiles::folder() + QStringLiteral("/LEFÈVRE Élodie 3")).entryList(QDir::Files),
                 QStringList{certificate});
    }

    void setUpGoesThroughTheDialogService()
    {
        m_dialogs.answerPrinterSetup(false);
        QVERIFY(!m_surface->setUpPrinter(nullptr));
        m_dialogs.answerPrinterSetup(true);
        QVERIFY(m_surface->setUpPrinter(nullptr));
        QCOMPARE(m_dialogs.requests().size(), 2);
        QCOMPARE(m_dialogs.requests().first().kind, QStringLiteral("printer"));
    }
};

QTEST_MAIN(TestQPrinterSurface)
#include "test_qprintersurface.moc"
