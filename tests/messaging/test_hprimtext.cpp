#include "messaging/hprimtext.h"
#include "platform/error.h"
#include "platform/textlines.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace orvane::messaging;

namespace {

MessageContext dupont()
{
    MessageContext context;
    context.surname = QStringLiteral("DUPONT");
    context.forename = QStringLiteral("Jean");
    context.patientKey = QStringLiteral("DUPONT Jean");
    context.birthDate = MessageContext::birthDateText(QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("1950"));
    context.socialSecurity = QStringLiteral("1500375123456-78 ");
    context.addressLine1 = QStringLiteral("12 rue des Lilas");
    context.addressLine2 = QStringLiteral("75012 PARIS");
    context.senderEmail = QStringLiteral("dr.martin@cabinet.fr");
    return context;
}

} // namespace

class TestHprimText : public QObject
{
    Q_OBJECT

private:
    orvane::test::TemporaryHome m_home;

private slots:
    void identityAsReadersExpectIt()
    {
        QCOMPARE(HprimText::birthDateLine(QStringLiteral("28/12/1948")), QStringLiteral("28/12/1948"));
        QCOMPARE(HprimText::birthDateLine(QStringLiteral("//")), QString());
        QCOMPARE(HprimText::socialSecurityLine(QStringLiteral("2690520123456-789")), QStringLiteral("2690520123456789"));
        QCOMPARE(HprimText::socialSecurityLine(QStringLiteral("1852A12345678-9  ")), QStringLiteral("1852A123456789"));
        QCOMPARE(HprimText::socialSecurityLine(QStringLiteral("_____________-___")), QString());
    }

    void wholeTemplate()
    {
        const HprimText text(dupont(), QDate(2006, 3, 15), QStringLiteral("cardio@hopital.fr"), QStringLiteral("Dr X"));
        const QStringList expected{"",
                                   "DUPONT",
                                   "Jean",
                                   "12 rue des Lilas",
                                   "",
                                   "75012 PARIS",
                                   "05/03/1950",
                                   "150037512345678",
                                   "",
                                   "15/03/06",
                                   ".          DR.MARTIN",
                                   ".          CARDIO",
                                   "",
                                   "Dr X- Généraliste",
                                   "",
                                   "75012 PARIS",
                                   "",
                                   "Amoxicilline 1 g",
                                   "",
                                   "1 comprimé matin et soir",
                                   "****FIN****",
                                   "****FINFICHIER****"};
        QCOMPARE(text.lines(QStringLiteral("Amoxicilline 1 g\r\n\r\n1 comprimé matin et soir")), expected);
    }

    void endMarkersStandOnLinesOfTheirOwn_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("no final break") << "Doliprane" << QStringList{"Doliprane", "****FIN****", "****FINFICHIER****"};
        QTest::newRow("final break") << "Doliprane\r\n" << QStringList{"Doliprane", "****FIN****", "****FINFICHIER****"};
        QTest::newRow("nothing pasted") << "" << QStringList{"", "****FIN****", "****FINFICHIER****"};
    }
    void endMarkersStandOnLinesOfTheirOwn()
    {
        QFETCH(QString, pasted);
        QFETCH(QStringList, tail);
        const QStringList lines = HprimText(dupont(), QDate(2006, 3, 15), QString(), QString()).lines(pasted);
        QCOMPARE(lines.mid(lines.size() - tail.size()), tail);
        QCOMPARE(lines.size(), 17 + tail.size() - (pasted.isEmpty() ? 1 : 0));
    }

    void addressCodes_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("code");
        QTest::newRow("dotted name") << "abc.def@x.fr" << ".          ABC.DEF";
        QTest::newRow("accent keeps its case") << "élise@x.fr" << ".          éLISE";
        QTest::newRow("no at sign") << "abcdef" << ".          ";
        QTest::newRow("empty") << "" << ".          ";
        QTest::newRow("first at sign") << "a@b@c" << ".          A";
        QTest::newRow("two addresses") << "un@x.fr, deux@y.fr" << ".          UN";
    }
    void addressCodes()
    {
        QFETCH(QString, address);
        QFETCH(QString, code);
        QCOMPARE(HprimText::addressCode(address), code);
    }

    void contextHelpers()
    {
        QCOMPARE(MessageContext::addressLine(QStringLiteral("1 rue A\r\n75000 PARIS\r\nFrance"), 1), QStringLiteral("75000 PARIS"));
        QCOMPARE(MessageContext::addressLine(QStringLiteral("1 rue A"), 1), QString());
        QCOMPARE(MessageContext::addressLine(QString(), 0), QString());
    }

};

QTEST_GUILESS_MAIN(TestHprimText)
#include "test_hprimtext.moc"
