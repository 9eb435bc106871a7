#include "platform/places.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/table.h"
#include "support/testenvironment.h"
#include "vidal/standin/accessvidalwindow.h"
#include "vidal/standin/drugcatalogue.h"
#include "vidal/vidalanswer.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace orvane;
using namespace orvane::vidal;

namespace {

void fillPracticeList(const QStringList &brands)
{
    records::Database db(records::AliasSettings(), places::programFolder());
    records::Table drugs(db, records::tables::drugs);
    drugs.open();
    for (const QString &brand : brands) {
        drugs.insert();
        drugs.setText(QStringLiteral("Marque"), brand);
        drugs.post();
    }
}

QListWidgetItem *itemNamed(QListWidget *list, const QString &name)
{
    const auto found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class TestAccessVidal : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TemporaryHome> m_home;

private slots:
    void init() { m_home = std::make_unique<test::TemporaryHome>(); }
    void cleanup() { m_home.reset(); }

    void withoutABaseTheSampleIsOfferedAndNoBaseIsMade()
    {
        const DrugCatalogue catalogue(places::programFolder());
        QVERIFY(!catalogue.isPracticeList());
        QVERIFY(!QFileInfo::exists(places::inProgramFolder(QStringLiteral("Data/orvane.sqlite"))));
        QCOMPARE(catalogue.from(QString(), 100), DrugCatalogue::sample());
        QCOMPARE(catalogue.from(QStringLiteral("do"), 2), QStringList({"DOLIPRANE 500 mg", "EFFERALGAN 1 g"}));
        QCOMPARE(catalogue.from(QStringLiteral("zzz"), 5), QStringList{"SPASFON"});
    }

    void emptyPracticeListFallsBackToTheSample()
    {
        fillPracticeList({});
        const DrugCatalogue catalogue(places::programFolder());
        QVERIFY(!catalogue.isPracticeList());
        QCOMPARE(catalogue.from(QString(), 3).size(), 3);
    }

    void practiceListIsReadFromThePrefix()
    {
        fillPracticeList({"ZYRTEC", "ÉLUDRIL", "ASPEGIC 1000", "", "DOLIPRANE 1000 mg", "EFFERALGAN 500"});
        const DrugCatalogue catalogue(places::programFolder());
        QVERIFY(catalogue.isPracticeList());
        QCOMPARE(catalogue.from(QString(), 10),
                 QStringList({"ASPEGIC 1000", "DOLIPRANE 1000 mg", "EFFERALGAN 500", "ÉLUDRIL", "ZYRTEC"}));
        QCOMPARE(catalogue.from(QStringLiteral("elu"), 2), QStringList({"ÉLUDRIL", "ZYRTEC"}));
    }

    void windowShowsThePatientAndAnswersWithTheTickedDrugs()
    {
        const auto patient =
            parseVidalRequest(QStringLiteral("->VIDALCD\r\n1\r\n32\r\n\r\n61.5\r\n0\r\n0\r\nPENICILLINE\r\niode\r\n"));
        const DrugCatalogue catalogue(places::programFolder());
        AccessVidalWindow window(patient, catalogue);

        QCOMPARE(window.findChild<QLabel *>("sexe")->text(), QStringLiteral("Féminin"));
        QCOMPARE(window.findChild<QLabel *>("poids")->text(), QStringLiteral("61.5"));
        QCOMPARE(window.findChild<QPlainTextEdit *>("allergies")->toPlainText(), QStringLiteral("PENICILLINE\niode"));
        auto *drugs = window.findChild<QListWidget *>("medicaments");
        auto *search = window.findChild<QLineEdit *>("recherche");

        itemNamed(drugs, "SPASFON")->setCheckState(Qt::Checked);
        itemNamed(drugs, "AMOXICILLINE 1 g")->setCheckState(Qt::Checked);
        search->setText(QStringLiteral("sp"));
        QCOMPARE(itemNamed(drugs, "SPASFON")->checkState(), Qt::Checked);
        QVERIFY(!itemNamed(drugs, "AMOXICILLINE 1 g"));
        search->clear();
        itemNamed(drugs, "DAFALGAN 1 g")->setCheckState(Qt::Checked);
        itemNamed(drugs, "DAFALGAN 1 g")->setCheckState(Qt::Unchecked);

        const QStringList lines = window.chosenLines();
        QCOMPARE(lines, QStringList({"- SPASFON -", "- AMOXICILLINE 1 g -"}));
        // Orvane takes these lines and logs exactly the drugs' names.
        const auto taken = answerLines(vidalAnswer(lines));
        QVERIFY(taken.has_value());
        QCOMPARE(drugLogTexts(taken->join(QStringLiteral("\r\n"))), QStringList({"SPASFON", "AMOXICILLINE 1 g"}));
    }

    void windowWithoutARequestSaysSo()
    {
        const DrugCatalogue catalogue(places::programFolder());
        AccessVidalWindow window(std::nullopt, catalogue);
        QVERIFY(window.findChild<QLabel *>("aucunedemande"));
        QVERIFY(!window.findChild<QLabel *>("sexe"));
    }
};

QTEST_MAIN(TestAccessVidal)
#include "test_accessvidal.moc"
