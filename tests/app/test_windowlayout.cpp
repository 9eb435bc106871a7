#include "windowtour.h"

#include "support/testenvironment.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QTabBar>
#include <QTest>

namespace {

QString describe(const QWidget *widget)
{
    QStringList path;
    for (const QWidget *w = widget; w && !w->isWindow(); w = w->parentWidget())
        path.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    return path.join(QLatin1Char('/'));
}

QString plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

// Whether the text fits in that many pixels of the widget's font, with the margins of the style.
bool fits(const QWidget *widget, const QString &text, int room, int margins)
{
    return widget->fontMetrics().horizontalAdvance(plain(text)) + margins <= room;
}

// What a person would find wrong in the window as shown.
QStringList faultsOf(QWidget &window)
{
    QStringList faults;
    // The title bar holds the icon and three buttons beside the title.
    if (!fits(&window, window.windowTitle(), window.width(), 150))
        faults << QStringLiteral("window title \"%1\" elided").arg(window.windowTitle());
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->isWindow() || !widget->isVisible())
            continue;
        QWidget *parent = widget->parentWidget();
        // What scrolls inside a view is the view's business.
        bool scrolled = false;
        for (QWidget *up = parent; up && up != &window; up = up->parentWidget()) {
            if (qobject_cast<QAbstractScrollArea *>(up))
                scrolled = true;
        }
        if (scrolled)
            continue;
        const QString name = describe(widget);
        const QSize least = widget->minimumSizeHint();
        // Qt's own parts of a control ("qt_spinbox_lineedit") are sized by the control.
        const bool partOfQtControl = widget->objectName().startsWith(QLatin1String("qt_"));
        if (least.isValid() && !partOfQtControl && widget->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored
            && (widget->width() < least.width() || widget->height() < least.height()))
            faults << QStringLiteral("%1 is %2 x %3, less than its %4 x %5")
                          .arg(name)
                          .arg(widget->width())
                          .arg(widget->height())
                          .arg(least.width())
                          .arg(least.height());
        if (!parent->rect().contains(widget->geometry()))
            faults << QStringLiteral("%1 stands outside its parent").arg(name);
        for (QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (sibling != widget && sibling->isVisible() && !sibling->isWindow() && widget < sibling
                && widget->geometry().intersects(sibling->geometry()))
                faults << QStringLiteral("%1 overlaps %2").arg(name, describe(sibling));
        }
        if (auto *box = qobject_cast<QGroupBox *>(widget); box && !fits(box, box->title(), box->width(), 12))
            faults << QStringLiteral("%1: title \"%2\" cut").arg(name, box->title());
        if (auto *header = qobject_cast<QHeaderView *>(widget); header && header->orientation() == Qt::Horizontal) {
            for (int i = 0; i < header->count(); ++i) {
                const QString title = header->model()->headerData(i, Qt::Horizontal).toString();
                if (!header->isSectionHidden(i) && !fits(header, title, header->sectionSize(i), 8))
                    faults << QStringLiteral("%1: column title \"%2\" cut").arg(name, title);
            }
        }
        if (auto *tabs = qobject_cast<QTabBar *>(widget); tabs && tabs->sizeHint().width() > tabs->width())
            faults << QStringLiteral("%1: tab titles cut").arg(name);
    }
    return faults;
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowShowsEachControlWhole();
};

void TestWindowLayout::everyWindowShowsEachControlWhole()
{
    orvane::test::TemporaryHome home;
    orvane::test::WindowTour tour;
    QStringList faults;
    int windows = 0;
    tour.visitEveryWindow([&](const QString &name, QWidget &window) {
        ++windows;
        for (const QString &fault : faultsOf(window)) {
            // Qt's own file dialog is checked for what the program sets in it: its columns.
            if (name != QStringLiteral("file-dialog") || fault.contains(QStringLiteral("column title")))
                faults << name + QStringLiteral(": ") + fault;
        }
    });
    QVERIFY(windows > 12);
    for (const QString &fault : faults)
        qWarning("%s", qPrintable(fault));
    QVERIFY2(faults.isEmpty(), "controls cut, outside their parent or overlapping (listed above)");
}

QTEST_MAIN(TestWindowLayout)
#include "test_windowlayout.moc"
