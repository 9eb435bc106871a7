#include "prescribing/timprime.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <stdexcept>

using orvane::prescribing::TImprime;

class TestTImprime : public QObject
{
    Q_OBJECT

private slots:
    void looksLikeAPrintingNotice()
    {
        TImprime window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Imprime"));
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        auto *panel = window.findChild<QFrame *>(QStringLiteral("Panel1"));
        QVERIFY(panel && panel->frameShape() != QFrame::NoFrame);
        auto *picture = window.findChild<QLabel *>(QStringLiteral("Image1"));
        QVERIFY(picture && !picture->pixmap().isNull());
        auto *notice = window.findChild<QLabel *>(QStringLiteral("Label1"));
        QVERIFY(notice);
        QCOMPARE(notice->text(), QStringLiteral("Impression en cours"));
        QVERIFY(notice->font().bold());
        QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    void standsCentredWhilePrintingAndGoesOnFailure()
    {
        TImprime window;
        try {
            TImprime::WhilePrinting shown(window);
            QVERIFY(window.isVisible());
            const QPoint screenCentre = window.screen()->availableGeometry().center();
            QVERIFY((window.frameGeometry().center() - screenCentre).manhattanLength() <= 2);
            throw std::runtime_error("printer refused the job");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestTImprime)
#include "test_timprime.moc"
