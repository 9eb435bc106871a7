// Writes a PNG of every window and tab of the program, with sample data, into the folder given.
#include "windowtour.h"

#include "app/frenchlanguage.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
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
    tour.visitEveryWindow([&](const QString &name, QWidget &window) {
        const QString file = folder.filePath(name + QStringLiteral(".png"));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    });
    return failures == 0 ? 0 : 1;
}
