#include "platform/error.h"
#include "prescribing/prescriptionprinter.h"
#include "prescribing/timprime.h"
#include "records/currentpatient.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/recordingsurface.h"
#include "support/sampleprintsettings.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QTest>
#include <functional>
#include <memory>

using namespace orvane;
using namespace orvane::prescribing;
using orvane::records::Table;
using orvane::test::RecordingSurface;

namespace {

// A recording surface that notes what the program showed and stored when each job began.
class WatchedSurface final : public PrinterSurface
{
public:
    std::function<void()> atBegin;
    RecordingSurface recording;

    void beginDocument(const PrintJob &job) override
    {
        if (atBegin)
            atBegin();
        recording.beginDocument(job);
    }
    void endDocument() override { recording.endDocument(); }
    void setFont(const PrintFont &font) override { recording.setFont(font); }
    void drawText(int x, int y, const QString &text) override { recording.drawText(x, y, text); }
    int textWidth(const QString &text) override { return recording.textWidth(text); }
    void drawLine(int x1, int y1, int x2, int y2) override { recording.drawLine(x1, y1, x2, y2); }
    QSize printableArea() override { return recording.printableArea(); }
    bool setUpPrinter(QWidget *parent) override { return recording.setUpPrinter(parent); }
};

const QString renewal = QStringLiteral("Ordonnance à renouveler: 2 fois");

} // namespace

class TestPrescriptionPrinter : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<records::CurrentPatient> m_patient;
    std::unique_ptr<TImprime> m_window;
    std::unique_ptr<WatchedSurface> m_surface;
    std::unique_ptr<PrescriptionPrinter> m_printer;
    test::FixedClock m_clock;
    test::ScriptedDialogService m_dialogs;
    PrintSettings m_settings;

    void addPatient(const QString &nom) { test::addPatient(*m_patient, nom, QStringLiteral("Claire")); }
    double recordNumber() const { return m_patient->patients().number(records::recordNumberField); }
    // The patient's archived prescriptions as the base holds them, read by a table object of its own.
    QStringList archivedRows()
    {
        Table archive(m_base->db(), records::tables::archive);
        archive.open();
        QStringList rows;
        for (archive.first(); !archive.atEnd(); archive.next()) {
            if (archive.number(records::recordNumberField) == recordNumber())
                rows.append(archive.text(QStringLiteral("Nomprénom")) + QLatin1Char('|')
                            + archive.text(QStringLiteral("Prescription")));
        }
        return rows;
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_patient = std::make_unique<records::CurrentPatient>(m_base->db());
        m_patient->open();
        addPatient(QStringLiteral("MARTIN"));
        m_window = std::make_unique<TImprime>();
        m_surface = std::make_unique<WatchedSurface>();
        m_settings = test::samplePrintSettings(100, 100);
        m_printer = std::make_unique<PrescriptionPrinter>(*m_surface, m_patient->patients(), m_patient->archive(),
                                                          [this] { return m_settings; }, m_dialogs, m_clock);
        m_printer->setPrintingWindow(m_window.get());
    }
    void cleanup()
    {
        m_dialogs.clear();
        m_printer.reset();
        m_surface.reset();
        m_window.reset();
        m_patient.reset();
        m_base.reset();
    }

    void eachPrintArchivesFirstAndShowsTheWindow_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("renewal");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<bool>("archived");
        QTest::addColumn<QString>("nameDrawn");
        QTest::newRow("plain") << "plain" << QString() << 1 << true << "MARTIN Claire";
        QTest::newRow("plain renewable") << "plain" << renewal << 2 << true << "MARTIN Claire";
        QTest::newRow("long-term illness") << "100%" << QString() << 2 << true << QString();
        QTest::newRow("certificate") << "certificate" << renewal << 1 << false
                                     << "Je soussigné Docteur Anne DURAND Déclare avoir examiné M(me) MARTIN Claire";
    }
    void eachPrintArchivesFirstAndShowsTheWindow()
    {
        QFETCH(QString, operation);
        QFETCH(QString, renewal);
        QFETCH(int, jobs);
        QFETCH(bool, archived);
        QFETCH(QString, nameDrawn);
        const QString text = QStringLiteral("AMOXICILLINE 1 g\r\n1 comprimé matin et soir\r\n");
        QStringList archiveAtBegin;
        QList<bool> windowAtBegin;
        m_surface->atBegin = [&] {
            archiveAtBegin.append(archivedRows().join(QLatin1Char(';')));
            windowAtBegin.append(m_window->isVisible());
        };

        if (operation == QLatin1String("plain"))
            m_printer->printPlain(text, renewal);
        else if (operation == QLatin1String("100%"))
            m_printer->printLongTermIllness(text, renewal);
        else
            m_printer->printCertificate(text);

        const QList<RecordingSurface::Document> &documents = m_surface->recording.documents();
        QCOMPARE(documents.size(), jobs);
        QCOMPARE(windowAtBegin, QList<bool>(jobs, true));
        QVERIFY(!m_window->isVisible());
        const QString row = archived ? QStringLiteral("MARTIN Claire|") + text : QString();
        QCOMPARE(archiveAtBegin, QStringList(jobs, row));
        QCOMPARE(archivedRows(), archived ? QStringList{row} : QStringList());
        QCOMPARE(documents.first().find(QStringLiteral("1 comprimé matin et soir")).size(), 1);
        if (!nameDrawn.isEmpty())
            QCOMPARE(documents.first().find(nameDrawn).size(), 1);
        QCOMPARE(documents.last().find(QStringLiteral("DUPLICATA")).size(), jobs == 2 ? 1 : 0);
        // Each job is the patient's, for the copy kept in his folder of prints.
        const QString owner = QStringLiteral("MARTIN Claire %1").arg(recordNumber());
        QCOMPARE(documents.first().job.owner, owner);
        QCOMPARE(documents.last().job.owner, owner);
        QVERIFY(m_dialogs.requests().isEmpty());
    }

    void linesOffThePageAreToldOnceAndTheRestPrints()
    {
        // At twice the interval the last lines and the foot of the page fall below the sheet.
        m_settings = test::samplePrintSettings(100, 200);
        QStringList lines;
        for (int i = 1; i <= 14; ++i)
            lines.append(QStringLiteral("ligne %1").arg(i));
        // Its start is on the sheet, its end past the right edge: cut, so not printed.
        const QString tooWide = QStringLiteral("PARACETAMOL 500 mg ").repeated(12).trimmed();
        lines[0] = tooWide;
        m_printer->printPlain(lines.join(QStringLiteral("\r\n")), renewal);

        const QList<RecordingSurface::Document> &documents = m_surface->recording.documents();
        QCOMPARE(documents.size(), 2);
        QCOMPARE(documents.last().find(QStringLiteral("ligne 14")).size(), 1);
        QCOMPARE(m_dialogs.requests().size(), 1);
        const QString message = m_dialogs.requests().first().text;
        QVERIFY2(message.contains(QStringLiteral("hors de la page")), qPrintable(message));
        // Named once though both copies lost them; the lines that fit are not named.
        QCOMPARE(message.count(QStringLiteral("« ligne 13 »")), 1);
        QCOMPARE(message.count(QStringLiteral("« ligne 14 »")), 1);
        QVERIFY(!message.contains(QStringLiteral("« ligne 12 »")));
        QCOMPARE(message.count(QStringLiteral("« ") + tooWide + QStringLiteral(" »")), 1);
        QCOMPARE(message.count(QStringLiteral("« ") + renewal + QStringLiteral(" »")), 1);
        QCOMPARE(archivedRows().size(), 1);
    }

    void aTwoZoneFormOfOnlyTheSeparatorPrints()
    {
        // The separator is not printed: its form is the headings and rules, not a print gone off the page.
        m_printer->printLongTermIllness(QStringLiteral("<non 100%>"), QString());
        QCOMPARE(m_surface->recording.documents().size(), 2);
        QVERIFY(m_dialogs.requests().isEmpty());
    }

    void aPrintWithEveryLineOffThePagePrintsAndFilesNothing_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("intervalle");
        QTest::addColumn<int>("leftMargin");
        QTest::newRow("plain") << "plain" << 5000 << 150;
        QTest::newRow("100%") << "100%" << 5000 << 150;
        QTest::newRow("certificate") << "certificate" << 5000 << 150;
        // The right-hand block of the letterhead still fits; the lines do not.
        QTest::newRow("plain, lines right of the sheet") << "plain" << 100 << 5000;
    }
    void aPrintWithEveryLineOffThePagePrintsAndFilesNothing()
    {
        QFETCH(QString, operation);
        QFETCH(int, intervalle);
        QFETCH(int, leftMargin);
        m_settings = test::samplePrintSettings(100, intervalle);
        m_settings.margeGauche = leftMargin;
        QString message;
        try {
            if (operation == QLatin1String("plain"))
                m_printer->printPlain(QStringLiteral("AMOXICILLINE 1 g"), renewal);
            else if (operation == QLatin1String("100%"))
                m_printer->printLongTermIllness(QStringLiteral("AMOXICILLINE 1 g"), renewal);
            else
                m_printer->printCertificate(QStringLiteral("AMOXICILLINE 1 g"));
        } catch (const Error &error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith(QStringLiteral("Rien n'a été imprimé : les lignes tombent hors de la page.")),
                 qPrintable(message));
        QVERIFY(m_surface->recording.documents().isEmpty());
        QVERIFY(archivedRows().isEmpty());
        QVERIFY(!m_window->isVisible());
    }

    void aSecondPrintReplacesTheArchivedPrescription()
    {
        m_printer->printPlain(QStringLiteral("PARACETAMOL 500 mg"), QString());
        // The name the row was created with stays, as the archive viewer lists it.
        m_patient->patients().edit();
        m_patient->patients().setText(QStringLiteral("NomPrénom"), QStringLiteral("MARTIN-DURAND Claire"));
        m_patient->patients().post();
        m_printer->printLongTermIllness(QStringLiteral("LEVOTHYROX 50\r\n<non 100%>\r\nDOLIPRANE"), QString());
        QCOMPARE(archivedRows(), QStringList{QStringLiteral("MARTIN Claire|LEVOTHYROX 50\r\n<non 100%>\r\nDOLIPRANE")});

        // An empty prescription empties the archived one.
        m_printer->printPlain(QString(), QString());
        QCOMPARE(archivedRows(), QStringList{QStringLiteral("MARTIN Claire|")});
        QCOMPARE(m_surface->recording.documents().last().find(QStringLiteral("MARTIN-DURAND Claire")).size(), 1);
    }

    void eachPatientHasHisOwnArchiveRow()
    {
        m_printer->printPlain(QStringLiteral("pour Martin"), QString());
        addPatient(QStringLiteral("BRUN"));
        m_printer->printPlain(QStringLiteral("pour Brun"), QString());
        QCOMPARE(archivedRows(), QStringList{QStringLiteral("BRUN Claire|pour Brun")});
        m_patient->patients().findKey({QStringLiteral("MARTIN Claire")});
        QCOMPARE(archivedRows(), QStringList{QStringLiteral("MARTIN Claire|pour Martin")});
    }

    void withoutAPatientNothingIsArchived()
    {
        m_patient->removePatient();
        QVERIFY(m_patient->patients().isEmpty());
        m_printer->printPlain(QStringLiteral("ligne"), QString());
        QCOMPARE(m_surface->recording.documents().size(), 1);
        Table archive(m_base->db(), records::tables::archive);
        archive.open();
        QVERIFY(archive.isEmpty());
    }
};

QTEST_MAIN(TestPrescriptionPrinter)
#include "test_prescriptionprinter.moc"
