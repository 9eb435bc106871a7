#include "clinical/bardepthitem.h"
#include "clinical/barchartview.h"
#include "clinical/statisticspage.h"
#include "platform/error.h"
#include "platform/radiogroup.h"
#include "prescribing/printfiles.h"
#include "prescribing/qprintersurface.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/pdfwords.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"
#include "support/widgetdriver.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QDir>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace orvane;
using namespace orvane::clinical;
using records::Table;

namespace {

const QString cr = QStringLiteral("\r");

QString valueList(const QStringList &lines)
{
    return lines.join(cr) + cr;
}

QList<qreal> valuesOf(const QBarSet *set)
{
    QList<qreal> values;
    for (int i = 0; i < set->count(); ++i)
        values.append(set->at(i));
    return values;
}

} // namespace

// The statistics tab: the choices charting the patient's value lists, the chart's look, printing.
class TestStatisticsPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestDatabase> m_base;
    std::unique_ptr<Table> m_measures;
    test::ScriptedDialogService m_dialogs;
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};
    std::unique_ptr<prescribing::QPrinterSurface> m_printer;
    std::unique_ptr<StatisticsPage> m_page;

    BarChartView &chart() const { return *m_page->chart(); }
    RadioGroup *group(const QString &name) const { return test::namedChild<RadioGroup>(m_page.get(), name); }

    void setLists(const QList<QPair<QString, QString>> &lists)
    {
        m_measures->edit();
        for (const auto &[field, text] : lists)
            m_measures->setText(field, text);
        m_measures->post();
    }

    void choose(const QString &groupName, const QString &item) { test::clickOption(group(groupName), item); }

    // The message of a choice whose list holds a faulty value; the program shows it.
    QString failureOf(const QString &groupName, const QString &item)
    {
        RadioGroup *choice = group(groupName);
        choice->setItemIndex(choice->indexOfText(item));
        try {
            if (groupName == QLatin1String("choix2"))
                m_page->choix2Click();
            else if (groupName == QLatin1String("choix1"))
                m_page->choix1Click();
            else
                m_page->ChoixClick();
        } catch (const Error &error) {
            return error.message();
        }
        return QString();
    }

    // The chart is laid out again by the event loop, as it is on screen before anyone looks.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); }

    static QString patientPrints() { return prescribing::PrintFiles::folder() + QStringLiteral("/DURAND Marie 12"); }

    QStringList printedFiles() const
    {
        return QDir(patientPrints()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }

private slots:
    void init()
    {
        m_base = std::make_unique<test::TestDatabase>();
        m_dialogs.clear();
        m_measures = std::make_unique<Table>(m_base->db(), records::tables::measures);
        m_measures->open();
        m_measures->insert();
        m_measures->setValue(records::recordNumberField, 12);
        m_measures->post();
        m_printer = std::make_unique<prescribing::QPrinterSurface>(m_dialogs, m_clock);
        m_printer->printer().setOutputFormat(QPrinter::PdfFormat);
        m_page = std::make_unique<StatisticsPage>(*m_measures, *m_printer, m_clock, [] {
            return StatisticsPage::ChartPatient{QStringLiteral("DURAND Marie 12"), QStringLiteral("DURAND Marie")};
        });
        m_page->resize(760, 460);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }
    void cleanup()
    {
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        m_page.reset();
        m_printer.reset();
        m_measures.reset();
        m_base.reset();
    }

    void weightsBecomeDatedBars()
    {
        setLists({{QStringLiteral("Poids"), valueList({"08/12/2006", "72", "09/01/2007", "73.5"})}});
        choose(QStringLiteral("choix1"), QStringLiteral("Poids"));
        QCOMPARE(chart().chart()->title(), QStringLiteral("Poids"));
        QCOMPARE(valuesOf(chart().firstSeries()), (QList<qreal>{72, 73.5}));
        QCOMPARE(chart().dateLabels(), (QStringList{"08/12/2006", "09/01/2007"}));
        QVERIFY(!chart().showsSecondSeries());
        QVERIFY(chart().showsMarks());
        QCOMPARE(chart().firstSeries()->color(), QColor(0, 0, 255));
        m_measures->refresh();
        QCOMPARE(chart().firstSeries()->count(), 2);
        // Another patient's row: no bar of the previous one stays.
        m_measures->insert();
        QCOMPARE(chart().firstSeries()->count(), 0);
        QCOMPARE(chart().chart()->title(), QString());
    }

    void eachItemChartsItsList_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<qreal>("value");
        QTest::newRow("TP") << "Choix" << "TP" << "TP (%)" << qreal(6);
        QTest::newRow("Glyc.") << "Choix" << "Glyc." << "Glycémie (g/l)" << qreal(7);
        QTest::newRow("Taille") << "choix1" << "Taille" << "Taille" << qreal(9);
    }
    void eachItemChartsItsList()
    {
        QFETCH(QString, group);
        QFETCH(QString, item);
        QFETCH(QString, title);
        QFETCH(qreal, value);
        const QStringList lists{"GR", "GB", "Hb", "HbA1c", "VS", "TP", "Glycémies", "Chol", "Taille"};
        QList<QPair<QString, QString>> values;
        for (int i = 0; i < lists.size(); ++i)
            values.append({lists.at(i), valueList({"01/12/2006", QString::number(i + 1)})});
        setLists(values);
        choose(group, item);
        QCOMPARE(chart().chart()->title(), title);
        QCOMPARE(valuesOf(chart().firstSeries()), QList<qreal>{value});
    }

    void bloodPressurePairsTheTwoLists()
    {
        setLists({{QStringLiteral("Max"), valueList({"01/10/2006", "13", "01/11/2006", "14", "01/12/2006", "12.5"})},
                  {QStringLiteral("Min"), valueList({"01/10/2006", "8", "01/11/2006", "9", "01/12/2006", "7"})},
                  {QStringLiteral("Hb"), valueList({"01/12/2006", "13.2"})}});
        choose(QStringLiteral("Choix"), QStringLiteral("GB"));
        choose(QStringLiteral("choix2"), QString());
        QCOMPARE(chart().chart()->title(), QStringLiteral("Tension Artérielle"));
        QVERIFY(chart().showsSecondSeries());
        QCOMPARE(valuesOf(chart().firstSeries()), (QList<qreal>{13, 14, 12.5}));
        QCOMPARE(valuesOf(chart().secondSeries()), (QList<qreal>{8, 9, 7}));
        QCOMPARE(chart().secondSeries()->color(), QColor(255, 0, 0));
        QCOMPARE(group(QStringLiteral("Choix"))->itemIndex(), -1);

        choose(QStringLiteral("Choix"), QStringLiteral("Hb"));
        QVERIFY(!chart().showsSecondSeries());
        QCOMPARE(valuesOf(chart().firstSeries()), QList<qreal>{13.2});
        QCOMPARE(group(QStringLiteral("choix2"))->itemIndex(), -1);
    }

    void faultyValueStopsTheChart_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<qreal>>("bars");
        QTest::addColumn<QString>("message");
        QTest::newRow("comma") << valueList({"01/11/2006", "72", "01/12/2006", "72,5", "02/12/2006", "73"})
                               << QList<qreal>{72} << "'72,5' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("empty line") << valueList({"01/11/2006", "72", "", "73"}) << QList<qreal>{72, 73}
                                    << QString();
        QTest::newRow("odd lines") << valueList({"01/11/2006", "72", "01/12/2006"}) << QList<qreal>{72}
                                   << "'' n'est pas une valeur en virgule flottante correcte";
    }
    void faultyValueStopsTheChart()
    {
        QFETCH(QString, list);
        QFETCH(QList<qreal>, bars);
        QFETCH(QString, message);
        setLists({{QStringLiteral("Poids"), list}});
        QCOMPARE(failureOf(QStringLiteral("choix1"), QStringLiteral("Poids")), message);
        QCOMPARE(valuesOf(chart().firstSeries()), bars);
        QCOMPARE(chart().chart()->title(), QStringLiteral("Poids"));
    }

    void enteringTheTabClearsTwoGroups()
    {
        setLists({{QStringLiteral("Poids"), valueList({"08/12/2006", "72"})}});
        choose(QStringLiteral("choix1"), QStringLiteral("Poids"));
        group(QStringLiteral("choix2"))->setItemIndex(0);
        group(QStringLiteral("Choix"))->setItemIndex(2);
        m_page->clearChoices();
        QCOMPARE(group(QStringLiteral("Choix"))->itemIndex(), -1);
        QCOMPARE(group(QStringLiteral("choix1"))->itemIndex(), -1);
        QCOMPARE(group(QStringLiteral("choix2"))->itemIndex(), 0);
        QCOMPARE(valuesOf(chart().firstSeries()), QList<qreal>{72});
    }

    void fixedLookOfTheChart()
    {
        QChart *shown = chart().chart();
        QVERIFY(!shown->legend()->isVisible());
        QCOMPARE(chart().dateAxis()->titleText(), QStringLiteral("Dates"));
        const QGradient *background = shown->backgroundBrush().gradient();
        QVERIFY(background);
        QCOMPARE(background->stops().first().second, QColor(Qt::white));
        QCOMPARE(background->stops().last().second, QColor(192, 192, 192));
        QCOMPARE(shown->plotAreaBackgroundBrush().color(), QColor(Qt::white));
        QCOMPARE(m_page->findChild<QToolButton *>(QStringLiteral("SpeedButton1"))->toolTip(),
                 QStringLiteral("Imprimer le tableau"));
        QCOMPARE(group(QStringLiteral("Choix"))->toolTip(), QStringLiteral("Click simple"));
    }

    void barsStandInRelief()
    {
        setLists({{QStringLiteral("Poids"), valueList({"08/12/2006", "72", "09/01/2007", "60"})}});
        choose(QStringLiteral("choix1"), QStringLiteral("Poids"));
        settle();
        QChart *shown = chart().chart();
        QBarSeries *series = qobject_cast<QBarSeries *>(shown->series().first());
        const QPointF origin = shown->mapToPosition(QPointF(0, 0), series);
        const QPointF unit = shown->mapToPosition(QPointF(1, 1), series) - origin;
        const BarBox box = barBox(0, 0, 1, series->barWidth(), 72, origin, unit);
        QVERIFY(box.depth >= 2);
        const QImage image = chart().viewport()->grab().toImage();
        const auto pixel = [&](const QPointF &at) {
            return image.pixelColor(chart().mapFromScene(shown->mapToScene(at)));
        };
        QCOMPARE(pixel(box.front.center()), QColor(0, 0, 255));
        // Left of the middle, where the value mark's line does not pass.
        const QColor top = pixel(QPointF(box.front.left() + box.front.width() / 4 + box.depth / 2,
                                         box.front.top() - box.depth / 2));
        const QColor side = pixel(QPointF(box.front.right() + box.depth / 2, box.front.center().y()));
        for (const QColor &face : {top, side}) {
            QCOMPARE(face.red(), 0);
            QCOMPARE(face.green(), 0);
            QVERIFY2(face.blue() > 60 && face.blue() < 255, qPrintable(face.name()));
        }
        QVERIFY(side.blue() < top.blue());
    }

    void tenThousandEntriesStayReadable()
    {
        QStringList lines;
        for (int i = 0; i < 10000; ++i)
            lines << QDate(1980, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy")) << QString::number(60 + i % 20);
        setLists({{QStringLiteral("Poids"), valueList(lines)}});
        choose(QStringLiteral("choix1"), QStringLiteral("Poids"));
        settle();
        QCOMPARE(chart().firstSeries()->count(), 10000);
        QVERIFY(!chart().showsMarks());
        const int labels = int(chart().dateLabels().size());
        QVERIFY2(labels >= 2 && labels <= 20, qPrintable(QString::number(labels)));
        QCOMPARE(chart().dateAxis()->categoriesLabels().size(), labels);
        QCOMPARE(chart().labelledBars().first(), 0);
    }

    void repeatedDatesKeepTheirPlaces()
    {
        setLists({{QStringLiteral("Poids"),
                   valueList({"08/12/2006", "72", "08/12/2006", "71", "09/12/2006", "70", "08/12/2006", "69"})}});
        choose(QStringLiteral("choix1"), QStringLiteral("Poids"));
        QCOMPARE(chart().labelledBars(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(chart().dateAxis()->categoriesLabels().size(), 4);
        QCOMPARE(chart().dateAxis()->endValue(chart().dateAxis()->categoriesLabels().last()), 3.0);
    }

    void printingFollowsTheSetUpDialog()
    {
        setLists({{QStringLiteral("Poids"), valueList({"08/12/2006", "72", "09/01/2007", "73.5"})}});
        choose(QStringLiteral("choix1"), QStringLiteral("Poids"));
        m_dialogs.answerPrinterSetup(false);
        QTest::mouseClick(m_page->findChild<QToolButton *>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
        QVERIFY(printedFiles().isEmpty());

        m_dialogs.answerPrinterSetup(true);
        QTest::mouseClick(m_page->findChild<QToolButton *>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
        QCOMPARE(printedFiles().size(), 1);
        if (!test::pdfToTextAvailable())
            QSKIP("pdftotext is not installed: the printed words cannot be read");
        const QList<test::PdfPage> pages =
            test::readPdfPages(QDir(patientPrints()).filePath(printedFiles().first()));
        QCOMPARE(pages.size(), 1);
        for (const QString word : {"Poids", "Dates", "08/12/2006", "09/01/2007", "73.5"})
            QVERIFY2(!pages.first().find(word).isEmpty(), qPrintable(word));
        // The sheet says whose values it shows, which value and when it was printed.
        for (const QString &word : QStringList{"DURAND", "Marie", "Poids", "imprimé", m_clock.todayText()})
            QVERIFY2(pages.first().find(word).size() >= (word == "Poids" ? 2 : 1), qPrintable(word));
    }
};

QTEST_MAIN(TestStatisticsPage)
#include "test_statisticspage.moc"
