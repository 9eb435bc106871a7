// Writes a PNG of every window and tab of the program, with sample data, into the folder given.
#include "windowtour.h"

#include "app/frenchlanguage.h"
#include "platform/dialogservice.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPrinter>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    orvane::app::useFrenchLanguage(application);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;
    // The home of the program stays temporary: no user's files are touched.
    orvane::test::TemporaryHome home;
    orvane::test::WindowTour tour;
    int failures = 0;
    const auto visitOne = [&](const QString &name, QWidget &window) {
        const QString file = folder.filePath(name + QStringLiteral(".png"));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    };
    tour.visitEveryWindow(visitOne);
    // Qt's own dialogs as the program opens them: the printer's set-up and the font of a line.
    orvane::QtDialogService dialogs;
    const auto grabNextDialog = [&](const QString &name) {
        QTimer::singleShot(200, [&, name] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                visitOne(name, *dialog);
                dialog->close();
            }
        });
    };
    QPrinter printer;
    grabNextDialog(QStringLiteral("printer-setup"));
    dialogs.setUpPrinter(nullptr, printer);
    grabNextDialog(QStringLiteral("font"));
    dialogs.chooseFont(nullptr, QFont(QStringLiteral("Times New Roman"), 14, QFont::Bold));
    return failures == 0 ? 0 : 1;
}
