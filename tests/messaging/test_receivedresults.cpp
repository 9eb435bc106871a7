#include "clinical/clearancerecord.h"
#include "clinical/labresultgrid.h"
#include "clinical/labresultswindow.h"
#include "messaging/receivedresults.h"
#include "platform/textlines.h"
#include "platform/places.h"
#include "records/table.h"
#include "platform/pageprinter.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QSqlQuery>
#include <QTest>

using namespace orvane;
using namespace orvane::messaging;
using records::Table;

namespace {

const double number = 7;

QStringList header(const QString &surname = QStringLiteral("DUPONT"), const QString &insured = QStringLiteral("1480375123456"))
{
    return {QString(), surname, QStringLiteral("Emile"), QString(), QString(), QString(), QStringLiteral("03/05/1948"),
            insured, QString(), QStringLiteral("15/03/2006"), QStringLiteral(".         Laboratoire Pasteur"),
            QStringLiteral(".         DOCTEUR")};
}

const QStringList results{
    QStringLiteral("****LAB****"),
    QStringLiteral("RES|HEMOGLOBINE|HB|N|13.5|g/dL|13.0|17.0|N|F"),
    QStringLiteral("RES|LEUCOCYTES|GB|N|7.2|G/L|4.0|10.0|N|F|7200|/mm3|4000|10000"),
    QStringLiteral("RES|GLYCEMIE A JEUN|GLY|N|5.27|mmol/l|3.89|6.11|N|F|0.95|g/l|0.70|1.10"),
    QStringLiteral("RES|CHOLESTEROL|CHOL|N|2.10|g/l|||N|F|6.00|mmol/l"),
    QStringLiteral("RES|CREATININE|CREA|N|85|µmol/l|62|106|N|F"),
    QStringLiteral("RES|FERRITINE|FER|N|420|µg/l|30|400|H|F"),
    QStringLiteral("RES|"),
    QStringLiteral("****FIN****")};

// Prints each page into an image, as a printer would receive it.
class ImagePrinter final : public PagePrinter
{
public:
    bool setUpPrinter(QWidget *) override { return true; }
    void printPage(const Drawing &draw, const PrintJob &job) override
    {
        QImage page(600, 800, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        draw(painter, QRectF(0, 0, 600, 800));
        jobs.append(job.kind);
    }
    QStringList jobs;
};

// The patient's results window, with the dialogs and the printer it answers to.
struct ResultsView
{
    ResultsView(records::Database &db, const ReceivedResults &results)
        : window(db, printer, dialogs, [&results]() -> const clinical::AnalyteCatalogue & { return results.catalogue(); },
                 [](const QString &, const QString &) {})
    {
    }
    test::ScriptedDialogService dialogs;
    ImagePrinter printer;
    clinical::LabResultsWindow window;
};

} // namespace

// Results read from the texts of the received-results folder into the patient's file.
class TestReceivedResults : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<ReceivedResults> m_results;
    QString m_folder;

    QString writeText(const QString &name, const QStringList &lines)
    {
        const QString path = QDir(m_folder).filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(receivedTextBytes(lines));
        return path;
    }

    QString measure(const QString &field)
    {
        Table measures(m_base->db(), records::tables::measures);
        measures.open();
        return measures.findKey({number}) ? measures.text(field) : QString();
    }

    int rowCount()
    {
        QSqlQuery count(m_base->db().connection());
        count.exec(QStringLiteral("SELECT COUNT(*) FROM \"RESULTATS.DB\""));
        count.next();
        return count.value(0).toInt();
    }

    PatientFile patientFile(const QString &insured = QStringLiteral("1480375123456-78"))
    {
        return {{QStringLiteral("DUPONT Emile"), number, insured}, QStringLiteral("DUPONT"), QStringLiteral("Emile"), 3, 5, 1948};
    }

    void showResults(clinical::LabResultsWindow &window)
    {
        window.load({number, QStringLiteral("DUPONT Emile"), QStringLiteral("DUPONT Emile 7"), {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_folder = places::inProgramFolder(QStringLiteral("examens"));
        QDir().mkpath(m_folder);
        m_results = std::make_unique<ReceivedResults>(m_base->db(), m_folder, places::inProgramFolder(QStringLiteral("Analyses.txt")));
        Table(m_base->db(), records::tables::patients)
            .appendRow({QStringLiteral("DUPONT Emile"), QStringLiteral("DUPONT"), QStringLiteral("Emile"), number, {}, {},
                        {}, 3, 5, 1948, {}, QStringLiteral("Masculin"), QStringLiteral("1480375123456-78")});
        Table(m_base->db(), records::tables::measures)
            .appendRow({number, {}, {}, QStringLiteral("01/01/2006\r130\r"), {}, {}, {}, {}, {}, {}, QStringLiteral("01/01/2006\r72\r")});
    }

    void cleanup()
    {
        m_results.reset();
        m_base.reset();
    }

    // Rows stored, the lists of the fields appended once in their units, a disagreeing pair and an
    // unknown analyte kept out of them, the clearance computed; a second reading adds nothing.
    void readIntoTheFile()
    {
        const QString path = writeText(QStringLiteral("DUPONT Emile-examen du 15 3 2006.txt"), header() + results);
        const auto outcome = m_results->read(number, path);
        QCOMPARE(outcome.added, 6);
        QCOMPARE(outcome.unreadLines, QStringList{QStringLiteral("RES|")});
        QCOMPARE(measure(QStringLiteral("Hb")), QStringLiteral("01/01/2006\r130\r15/03/2006\r135\r"));
        QCOMPARE(measure(QStringLiteral("GB")), QStringLiteral("15/03/2006\r7200\r"));
        QCOMPARE(measure(QStringLiteral("Glycémies")), QStringLiteral("15/03/2006\r0.95\r"));
        QCOMPARE(measure(QStringLiteral("Chol")), QString());
        QVERIFY(outcome.alerts.join(QLatin1Char('\n')).contains(QStringLiteral("ne concordent pas")));
        // (140 - 57) x 72 x 1.23 / 85
        QCOMPARE(measure(QStringLiteral("Clearance")), QStringLiteral("86"));
        QCOMPARE(rowCount(), 8); // six results, the clearance and the CKD-EPI estimate

        QCOMPARE(m_results->read(number, path).added, 0);
        const QString again = writeText(QStringLiteral("DUPONT Emile-examen du 15 3 2006 (2).txt"), header() + results);
        QCOMPARE(m_results->read(number, again).added, 0);
        QCOMPARE(measure(QStringLiteral("GB")), QStringLiteral("15/03/2006\r7200\r"));
        QCOMPARE(rowCount(), 8);

        const clinical::LabGrid grid = clinical::layOut(clinical::readPatientResults(m_base->db(), number));
        QCOMPARE(grid.dates, QList<QDate>{QDate(2006, 3, 15)});
        const int ferritin = int(grid.rows.indexOf(QStringLiteral("FERRITINE")));
        QVERIFY(ferritin >= 0);
        QVERIFY(grid.cells.at(ferritin).at(0)->shown.abnormal());
        QVERIFY(!grid.cells.at(ferritin).at(0)->shown.seen);
        clinical::markResultsSeen(m_base->db(), number);
        QVERIFY(clinical::readPatientResults(m_base->db(), number).first().seen);
    }

    // What no laboratory should send is stored as sent, all of it, and the view still opens.
    void badInputFiledWhole()
    {
        QStringList lines = header();
        lines[9] = QStringLiteral("31/02/2006");
        lines.append(QStringLiteral("RES|HEMOGLOBINE|HB|N|13.5|g/dL") + QString(QStringLiteral("|x")).repeated(10000));
        const QString huge(1 << 20, QLatin1Char('a'));
        lines.append(QStringLiteral("RES|NOTE|NT|A|") + huge + QStringLiteral("|"));
        lines.append(QStringLiteral("RES|HEMOGLOBINE|HB2|N|13|г/л"));
        for (int i = 0; i < 100000; ++i)
            lines.append(QStringLiteral("RES|ANALYSE %1|A%1|N|%1|mg/l").arg(i));
        const auto outcome = m_results->read(number, writeText(QStringLiteral("DUPONT Emile-gros.txt"), lines));
        QCOMPARE(outcome.added, 100003);
        QCOMPARE(outcome.alerts, (QStringList{QStringLiteral("Pas de date d'examen lisible (« 31/02/2006 ») : valeur non reportée"),
                                              QStringLiteral("Unité « г/л » inconnue pour Hb : valeur non reportée")}));
        QCOMPARE(measure(QStringLiteral("Hb")), QStringLiteral("01/01/2006\r130\r"));
        const clinical::LabGrid grid = clinical::layOut(clinical::readPatientResults(m_base->db(), number));
        QCOMPARE(grid.dates, QList<QDate>{QDate()});
        QCOMPARE(grid.rows.size(), 100002);
        QCOMPARE(grid.cells.at(grid.rows.indexOf(QStringLiteral("NOTE"))).at(0)->shown.value, huge);
        ResultsView view(m_base->db(), *m_results);
        clinical::LabResultsWindow &window = view.window;
        showResults(window);
        const QAbstractItemModel &model = *test::namedChild<QTableView>(&window, QStringLiteral("grille"))->model();
        QVERIFY(model.index(int(grid.rows.indexOf(QStringLiteral("NOTE"))), 0).data().toString().size() < 100);
    }

    // A corrected value replaces the one shown and in the list; the former one stays as history.
    void correctedResult()
    {
        m_results->read(number, writeText(QStringLiteral("DUPONT Emile-examen du 15 3 2006.txt"), header() + results));
        const auto outcome = m_results->read(
            number, writeText(QStringLiteral("DUPONT Emile-examen du 16 3 2006.txt"),
                              header() + QStringList{QStringLiteral("RES|HEMOGLOBINE|HB|N|12.0|g/dL|13.0|17.0|L|C")}));
        QCOMPARE(outcome.replaced, 1);
        QCOMPARE(measure(QStringLiteral("Hb")), QStringLiteral("01/01/2006\r130\r15/03/2006\r120\r"));
        const clinical::LabGrid grid = clinical::layOut(clinical::readPatientResults(m_base->db(), number));
        const auto &cell = grid.cells.at(grid.rows.indexOf(QStringLiteral("Hb"))).at(0);
        QCOMPARE(cell->shown.value, QStringLiteral("12.0"));
        QCOMPARE(cell->history.size(), 1);
        QCOMPARE(cell->history.first().value, QStringLiteral("13.5"));
    }

    // A clearance typed after the exam stays the prescribed one; one typed before gives way.
    void typedClearanceLaterWins_data()
    {
        QTest::addColumn<QDate>("typed");
        QTest::addColumn<QString>("prescribed");
        QTest::newRow("typed after the exam") << QDate(2006, 3, 20) << QStringLiteral("60");
        QTest::newRow("typed before the exam") << QDate(2006, 3, 10) << QStringLiteral("86");
    }
    void typedClearanceLaterWins()
    {
        QFETCH(QDate, typed);
        QFETCH(QString, prescribed);
        Table measures(m_base->db(), records::tables::measures);
        measures.open();
        QVERIFY(measures.findKey({number}));
        measures.edit();
        measures.setText(QStringLiteral("Clearance"), QStringLiteral("60"));
        measures.post();
        const clinical::ClearanceRecord clearances(m_base->db());
        clearances.fileTyped(number, QStringLiteral("60"), typed);
        m_results->read(number, writeText(QStringLiteral("DUPONT Emile-examen du 15 3 2006.txt"), header() + results));
        QCOMPARE(measure(QStringLiteral("Clearance")), prescribed);
        QCOMPARE(clearances.dayOf(number, prescribed), std::optional(std::max(typed, QDate(2006, 3, 15))));
    }

    // Files put into the folder by hand are read when their header names the patient, and only then.
    void filesPutByHand()
    {
        writeText(QStringLiteral("DUPONT Emile-bilan.txt"), header() + results);
        writeText(QStringLiteral("DUPONT Emile-autre.txt"), header(QStringLiteral("DURAND")) + results);
        writeText(QStringLiteral("DUPONT Emile-jumeau.txt"), header(QStringLiteral("DUPONT"), QStringLiteral("1480375999999")) + results);
        writeText(QStringLiteral("DUPONT Emile-lettre.txt"), {QStringLiteral("Cher confrère")});
        writeText(QStringLiteral("MARTIN Luc-bilan.txt"), header() + results);
        const QStringList notes = m_results->readNewFiles(patientFile());
        QCOMPARE(notes.size(), 2);
        QVERIFY(notes.first().startsWith(QStringLiteral("DUPONT Emile-autre.txt : ")));
        QVERIFY(notes.last().startsWith(QStringLiteral("DUPONT Emile-jumeau.txt : ")));
        QCOMPARE(rowCount(), 8);
        QVERIFY(m_results->readNewFiles(patientFile()).size() == 2);
        QCOMPARE(rowCount(), 8);
    }

    // The physician makes a laboratory's label stand for an analyte: kept in his file, applied to
    // the results stored under it and to the next ones.
    // The window: analytes in rows, the exam's date in its column, abnormal values red, values not
    // seen bold until it closes; a double-click on an analyte charts it, and the chart prints.
    void resultsWindow()
    {
        m_results->read(number, writeText(QStringLiteral("DUPONT Emile-examen du 15 3 2006.txt"), header() + results));
        ResultsView view(m_base->db(), *m_results);
        clinical::LabResultsWindow &window = view.window;
        showResults(window);
        auto *table = test::namedChild<QTableView>(&window, QStringLiteral("grille"));
        const QAbstractItemModel &model = *table->model();
        QCOMPARE(model.rowCount(), 8);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("15/03/2006"));
        const int ferritin = int(window.grid().rows.indexOf(QStringLiteral("FERRITINE")));
        const auto at = [&model](int row, Qt::ItemDataRole role) { return model.index(row, 0).data(role); };
        QCOMPARE(at(ferritin, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(at(ferritin, Qt::FontRole).value<QFont>().bold());
        const int hb = int(window.grid().rows.indexOf(QStringLiteral("Hb")));
        QCOMPARE(at(hb, Qt::DisplayRole).toString(), QStringLiteral("13.5 g/dL"));
        QVERIFY(at(hb, Qt::ForegroundRole).isNull());
        // Every value shows whole in its column.
        QVERIFY(table->columnWidth(0) > table->fontMetrics().horizontalAdvance(at(hb, Qt::DisplayRole).toString()));

        int points = -1;
        view.dialogs.answerModal([&points](QDialog &chart) {
            points = static_cast<clinical::LabChartDialog &>(chart).pointCount();
            QTest::mouseClick(test::namedChild<QPushButton>(&chart, QStringLiteral("Imprimer")), Qt::LeftButton);
            chart.reject();
        });
        const QRect cell = table->visualRect(model.index(hb, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(points, 1);
        QCOMPARE(view.printer.jobs, QStringList{QStringLiteral("graphique")});

        QTest::mouseClick(test::namedChild<QPushButton>(&window, QStringLiteral("Fermer")), Qt::LeftButton);
        showResults(window);
        QVERIFY(!at(ferritin, Qt::FontRole).value<QFont>().bold());
    }

    void labelAddedByThePhysician()
    {
        m_results->read(number, writeText(QStringLiteral("DUPONT Emile-a.txt"),
                                          header() + QStringList{QStringLiteral("RES|HGB TOTALE|HBT|N|14.1|g/dL|13|17|N|F")}));
        m_results->addLabel(QStringLiteral("Hb"), QStringLiteral("HGB TOTALE"));
        QCOMPARE(clinical::readPatientResults(m_base->db(), number).first().analyte, QStringLiteral("Hb"));
        ReceivedResults reopened(m_base->db(), m_folder, places::inProgramFolder(QStringLiteral("Analyses.txt")));
        clinical::LabResult sent;
        sent.label = QStringLiteral("Hgb totale");
        QCOMPARE(reopened.catalogue().analyteOf(sent)->name, QStringLiteral("Hb"));
    }
};

QTEST_MAIN(TestReceivedResults)
#include "test_receivedresults.moc"
