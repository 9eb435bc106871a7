#include "prescribing/certificatelayout.h"
#include "prescribing/prescriptionlayout.h"
#include "prescribing/printcontext.h"
#include "prescribing/printfiles.h"
#include "prescribing/qprintersurface.h"
#include "support/fixedclock.h"
#include "support/pdfwords.h"
#include "support/printedplacement.h"
#include "support/recordingsurface.h"
#include "support/sampleprintsettings.h"
#include "support/scripteddialogservice.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QTest>
#include <functional>

using namespace orvane;
using namespace orvane::prescribing;
using orvane::test::PdfPage;
using orvane::test::RecordingSurface;

Q_DECLARE_METATYPE(orvane::prescribing::PrintSettings)

// Each layout printed to PDF through the real surface: every text stands on paper where the
// same layout drawn on a recording surface put it.
class TestPrintedPages : public QObject
{
    Q_OBJECT

private:
    using Layout = std::function<void(const PrintContext &)>;

private slots:
    void layoutsPrintWhereTheyWereDrawn_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<PrintSettings>("settings");
        // Spacings below 100 %, and the settings a new practice starts with, whose foot (the
        // association's statement, the certificate's last sentence) lies lowest on the sheet.
        const PrintSettings narrow = test::samplePrintSettings(90, 80);
        const PrintSettings initial = test::samplePrintSettings(100, 100);
        const QStringList lines{QStringLiteral("AMOXICILLINE 1 g"), QStringLiteral("1 comprimé matin et soir"),
                                zoneSeparator, QStringLiteral("PARACETAMOL 500 mg")};
        const QString renewal = QStringLiteral("Ordonnance à renouveler: 3 fois");
        const Layout plain = [=](const PrintContext &context) {
            printPlainPrescription(context, {QStringLiteral("MARTIN Claire"), lines, renewal});
        };
        const Layout twoZones = [=](const PrintContext &context) {
            printLongTermIllnessPrescription(context, {QStringLiteral("MARTIN Claire"), lines, renewal});
        };
        const Layout certificate = [=](const PrintContext &context) {
            printCertificate(context, QStringLiteral("MARTIN Claire"), lines.mid(0, 2));
        };
        QTest::newRow("plain with duplicate") << plain << narrow;
        QTest::newRow("two zones") << twoZones << narrow;
        QTest::newRow("certificate") << certificate << narrow;
        QTest::newRow("plain, initial settings") << plain << initial;
        QTest::newRow("two zones, initial settings") << twoZones << initial;
        QTest::newRow("certificate, initial settings") << certificate << initial;
    }
    void layoutsPrintWhereTheyWereDrawn()
    {
        if (!test::pdfToTextAvailable())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(Layout, layout);
        QFETCH(PrintSettings, settings);
        test::TemporaryHome home;
        test::ScriptedDialogService dialogs;
        test::FixedClock clock;
        QPrinterSurface printer(dialogs, clock);
        printer.printer().setOutputFormat(QPrinter::PdfFormat);
        printer.printer().setPageSize(QPageSize(QPageSize::A4));
        RecordingSurface recording;
        layout(PrintContext(printer, settings, QStringLiteral("15/03/2006")));
        layout(PrintContext(recording, settings, QStringLiteral("15/03/2006")));

        const QDir folder(PrintFiles::folder());
        const QStringList files = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), recording.documents().size());
        const QPointF origin =
            printer.printer().pageLayout().paintRect(QPageLayout::Inch).topLeft() * deviceUnitsPerInch;

        for (int job = 0; job < files.size(); ++job) {
            const QList<PdfPage> pages = test::readPdfPages(folder.filePath(files.at(job)));
            QCOMPARE(pages.size(), 1);
            const QStringList misplaced = test::textsNotWhereDrawn(recording.documents().at(job), pages.first(), origin);
            QVERIFY2(misplaced.isEmpty(), qPrintable(QStringLiteral("job %1: ").arg(job) + misplaced.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_MAIN(TestPrintedPages)
#include "test_printedpages.moc"
