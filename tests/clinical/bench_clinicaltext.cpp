// Prints how long the rules of the patient texts take on notes of several megabytes.
#include "benchmeasure.h"
#include "clinical/chartdata.h"
#include "clinical/datecheck.h"
#include "clinical/textfind.h"
#include "clinical/valuelist.h"
#include "platform/textlines.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace orvane;
using namespace orvane::clinical;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString notes;
    for (int day = 0; notes.size() < 8 * 1024 * 1024; ++day) {
        appendDateBlock(notes, QStringLiteral("%1/01/1990").arg(day % 28 + 1, 2, 10, QLatin1Char('0')));
        appendLines(notes, {QStringLiteral("Toux sèche depuis trois jours, pas de fièvre"), QStringLiteral("Examen Normal")});
    }
    QTextStream(stdout) << "notes of " << notes.size() / (1024 * 1024) << " M characters\n";

    bool found = false;
    measure("date check, date absent", 10, [&] { found = containsLine(notes, QStringLiteral("08/12/2006")) || found; });
    measure("append 10 000 lines", 1, [&] {
        QString copy = notes;
        for (int i = 0; i < 10000; ++i)
            appendLine(copy, QStringLiteral("Examen Idem"));
    });
    measure("search from the top, not found", 10,
            [&] { found = findLineAfterCaret(notes, 0, QStringLiteral("introuvable")).has_value() || found; });
    measure("last line", 1000, [&] { found = lastLine(notes).isEmpty() || found; });

    QString list;
    for (int i = 0; i < 10000; ++i)
        appendValueEntry(list, QStringLiteral("08/12/2006"), QString::number(60 + i % 30));
    measure("chart of 10 000 entries", 10, [&] {
        const ChartData chart = buildChart(*chartChoice(QStringLiteral("choix1"), QStringLiteral("Poids")), list, QString());
        QStringList labels;
        for (const ChartBar &bar : chart.first)
            labels.append(bar.label);
        found = thinLabels(labels, 20).labelledBars.isEmpty() || found;
    });
    // Printing the results keeps the compiler from leaving out the work.
    QTextStream(stdout) << "results seen: " << (found ? "yes" : "no") << "\n";
    return 0;
}
