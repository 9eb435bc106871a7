// Prints how long the statistics chart takes to show a value list of ten thousand entries.
#include "clinical/barchartview.h"
#include "clinical/chartdata.h"
#include "clinical/valuelist.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextStream>

using namespace orvane::clinical;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString list;
    for (int i = 0; i < 10000; ++i)
        appendValueEntry(list, QDate(1980, 1, 1).addDays(i).toString(QStringLiteral("dd/MM/yyyy")),
                         QString::number(60 + i % 30 * 0.5));
    BarChartView view;
    view.resize(620, 440);
    view.show();
    QImage image(view.size(), QImage::Format_ARGB32);
    const ChartChoice weights = *chartChoice(QStringLiteral("choix1"), QStringLiteral("Poids"));

    QTextStream out(stdout);
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const ChartData data = buildChart(weights, list, QString());
        const qint64 built = timer.nsecsElapsed();
        view.showChart(data);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const qint64 shown = timer.nsecsElapsed();
        QPainter painter(&image);
        view.drawInto(painter, QRectF(image.rect()));
        painter.end();
        const qint64 drawn = timer.nsecsElapsed();
        out << "10 000 entries: read " << built / 1e6 << " ms, chart " << (shown - built) / 1e6 << " ms, drawn "
            << (drawn - shown) / 1e6 << " ms, in all " << drawn / 1e6 << " ms\n";
    }
    return 0;
}
