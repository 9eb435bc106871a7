#include "clinical/labresults.h"
#include "clinical/pregnancy.h"
#include "clinical/vaccinations.h"
#include "support/fixedclock.h"

#include <QTest>

using namespace orvane;
using namespace orvane::clinical;

namespace {
const QString crlf = QStringLiteral("\r\n");
const QString dateBlock = crlf + QStringLiteral("08/12/2006") + crlf + crlf;

const VaccinationItem &item(const QString &group, const QString &caption)
{
    for (const VaccinationGroup &candidate : vaccinationGroups()) {
        if (candidate.objectName != group)
            continue;
        for (const VaccinationItem &each : candidate.items) {
            if (each.caption == caption)
                return each;
        }
    }
    qFatal("no vaccination item %s / %s", qPrintable(group), qPrintable(caption));
}

LabEntry typed(const QString &gb, const QString &tp, const QString &clearance = QString())
{
    LabEntry entry;
    entry.typed = QStringList{QString(), gb, QString(), QString(), QString(), tp, QString(), QString()};
    entry.clearance = clearance;
    return entry;
}
} // namespace

// The vaccination, lab-results and pregnancy rules.
class TestRecordSheets : public QObject
{
    Q_OBJECT

private:
    test::FixedClock m_clock{QDateTime(QDate(2006, 12, 8), QTime(9, 0))};

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void vaccinationItems_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("lines");
        auto row = [](const char *name, const char *group, const char *caption, QStringList lines) {
            QTest::newRow(name) << QString::fromUtf8(group) << QString::fromUtf8(caption) << lines;
        };
        row("Pentacoq 1", "Pentacoq", "1 ère injection", {"Pentacoq: 1 ère injection (3 mois)", "Rappel le:07/01/2007"});
        row("Pentacoq 2", "Pentacoq", "2 ème injection", {"Pentacoq: 2 ème injection (4 mois)", "Rappel le:07/01/2007"});
        row("Pentacoq 3", "Pentacoq", "3 ème injection", {"Pentacoq: 3 ème injection (5 mois)", "Rappel le:08/12/2007"});
        row("Pentacoq 1 an", "Pentacoq", "Rappel 1 an", {"Pentacoq: rappel 1 an", "Prochain rappel le:07/12/2011"});
        row("Pentacoq 5 ans", "Pentacoq", "Rappel 5 ans", {"Pentacoq: rappel 5 ans", "Prochain rappel le:07/12/2011"});
        row("Tetavax 1", "Tetavax", "1 ère injection", {"Tetavax: 1 ère injection", "Rappel le:07/01/2007"});
        row("Tetavax 2", "Tetavax", "2 ème injection", {"Tetavax: 2 ème injection", "Rappel le:08/12/2007"});
        row("Tetavax 1 an", "Tetavax", "rappel 1 an", {"Tetavax: rappel 1 an", "Prochain rappel le:05/12/2016"});
        row("Tetavax 10 ans", "Tetavax", "rappel 10 ans", {"Tetavax: rappel 10 ans", "Prochain rappel le:05/12/2016"});
        row("ROR Vax", "RORVax", "1 injection", {"RORVax:1 injection"});
        row("Monovax", "Monovax", "1 injection", {"MonoVax:1 injection"});
        row("Vaxigrip", "Vaxigrip", "1 injection", {"Vaxigrip:1 injection"});
        row("Mammographie", "mammo", "Mammographie", {"Mammographie", "à refaire le:08/10/2008"});
    }
    void vaccinationItems()
    {
        QFETCH(QString, group);
        QFETCH(QString, caption);
        QFETCH(QStringList, lines);
        QCOMPARE(vaccinationLines(item(group, caption), m_clock.today()), lines);
    }

    void vaccinationGroupsInOrder()
    {
        QStringList captions;
        for (const VaccinationGroup &group : vaccinationGroups())
            captions.append(group.caption);
        QCOMPARE(captions, (QStringList{"Pentacoq", "Monovax", "ROR Vax", "Vaxigrip", "Tetavax", "Mammographies"}));
    }

    void firstVaccinationOfTheDayIsDated()
    {
        QString text;
        recordVaccination(text, item("Pentacoq", "1 ère injection"), m_clock);
        QCOMPARE(text, dateBlock + "Pentacoq: 1 ère injection (3 mois)" + crlf + "Rappel le:07/01/2007" + crlf);
    }

    void secondItemOfTheDayIsNotDatedAgain()
    {
        QString text;
        recordVaccination(text, item("Vaxigrip", "1 injection"), m_clock);
        recordVaccination(text, item("Vaxigrip", "1 injection"), m_clock);
        QCOMPARE(text, dateBlock + "Vaxigrip:1 injection" + crlf + "Vaxigrip:1 injection" + crlf);
        m_clock.set(QDate(2006, 12, 9));
        recordVaccination(text, item("Monovax", "1 injection"), m_clock);
        QVERIFY(text.endsWith(crlf + "09/12/2006" + crlf + crlf + "MonoVax:1 injection" + crlf));
        m_clock.set(QDate(2006, 12, 8));
    }

    void labResultsText_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("gb");
        QTest::addColumn<QString>("tp");
        QTest::addColumn<QString>("after");
        QTest::newRow("two values") << "" << "7200" << "85" << dateBlock + "GB:7200 /mm3" + crlf + "TP:85" + crlf;
        QTest::newRow("no value still dated") << "" << "" << "" << dateBlock;
        QTest::newRow("already dated, dated again") << dateBlock << "" << "85" << dateBlock + dateBlock + "TP:85" + crlf;
    }
    void labResultsText()
    {
        QFETCH(QString, before);
        QFETCH(QString, gb);
        QFETCH(QString, tp);
        QFETCH(QString, after);
        appendLabResults(before, typed(gb, tp, QStringLiteral("60")), QStringLiteral("08/12/2006"));
        QCOMPARE(before, after);
    }

    void labResultLines()
    {
        QStringList lines;
        for (const LabField &field : labFields())
            lines.append(field.resultLine(QStringLiteral("1")));
        QCOMPARE(lines, (QStringList{"GR:1 M/mm3", "GB:1 /mm3", "HB:1 g/l", "HBA1c:1 %", "Vs:1 à 1 h", "TP:1",
                                     "Glyc.:1 g/l", "Chol:1 g/l"}));
    }

    void pregnancy_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("weeks");
        QTest::addColumn<QString>("term");
        QTest::newRow("one week") << QDate(2006, 12, 1) << QDate(2006, 12, 8) << "1" << "14/09/2007";
        QTest::newRow("ten days round down") << QDate(2006, 12, 1) << QDate(2006, 12, 11) << "1" << "14/09/2007";
        QTest::newRow("eleven days round up") << QDate(2006, 12, 1) << QDate(2006, 12, 12) << "2" << "14/09/2007";
        QTest::newRow("start to come") << QDate(2006, 12, 19) << QDate(2006, 12, 8) << "-2" << "02/10/2007";
        QTest::newRow("far past") << QDate(-100000, 1, 1) << QDate(2006, 12, 8)
                                  << QString::number(qRound64(QDate(-100000, 1, 1).daysTo(QDate(2006, 12, 8)) / 7.0))
                                  << shortDateText(QDate(-100000, 1, 1).addDays(287));
        QTest::newRow("far future") << QDate(100000000, 1, 1) << QDate(2006, 12, 8)
                                    << QString::number(qRound64(QDate(100000000, 1, 1).daysTo(QDate(2006, 12, 8)) / 7.0))
                                    << shortDateText(QDate(100000000, 1, 1).addDays(287));
    }
    void pregnancy()
    {
        QFETCH(QDate, start);
        QFETCH(QDate, today);
        QFETCH(QString, weeks);
        QFETCH(QString, term);
        const PregnancyDisplay display = pregnancyDisplay(start, today);
        QCOMPARE(display.start, shortDateText(start));
        QCOMPARE(display.weeks, weeks);
        QCOMPARE(display.term, term);
    }

    void noPregnancy()
    {
        for (const QDate &start : {QDate(), noPregnancyDate()}) {
            const PregnancyDisplay display = pregnancyDisplay(start, m_clock.today());
            QVERIFY(display.start.isEmpty() && display.weeks.isEmpty() && display.term.isEmpty());
        }
        QVERIFY(pregnancyBoxEnabled(QStringLiteral("Feminin")));
        QVERIFY(pregnancyBoxEnabled(QString()));
        QVERIFY(!pregnancyBoxEnabled(QStringLiteral("Masculin")));
    }
};

QTEST_GUILESS_MAIN(TestRecordSheets)
#include "test_recordsheets.moc"
