#include "platform/places.h"
#include "vidal/standin/accessvidalwindow.h"
#include "vidal/standin/drugcatalogue.h"
#include "vidal/vidalanswer.h"
#include "vidal/vidalrequest.h"

#include <QApplication>
#include <QClipboard>
#include <QTimer>

using namespace orvane;

namespace {

constexpr int answerWatchPeriodMs = 250;

// On Windows and macOS the system keeps a clipboard text after its program ends; on X11 and
// Wayland the text lives only as long as the program that put it there.
bool clipboardOutlivesProgram()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("windows") || platform == QLatin1String("cocoa");
}

} // namespace

// A stand-in for the Vidal access program: it reads Orvane's request from the clipboard, shows the
// patient, and puts the chosen drugs back as Orvane's answer.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("accesvidalcd"));
    QClipboard *clipboard = QGuiApplication::clipboard();

    const std::optional<vidal::VidalPatient> patient = vidal::parseVidalRequest(clipboard->text());
    const vidal::DrugCatalogue catalogue(places::programFolder());
    vidal::AccessVidalWindow window(patient, catalogue);
    if (window.exec() != QDialog::Accepted)
        return 0;

    const QString answer = vidal::vidalAnswer(window.chosenLines());
    clipboard->setText(answer);
    if (clipboardOutlivesProgram())
        return 0;
    // Stay until Orvane has taken the answer (it empties the clipboard) or something else is copied.
    // X11 does not reliably tell a program that it lost the clipboard, so the text is looked at.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [clipboard, &answer] {
        if (clipboard->text() != answer)
            QCoreApplication::quit();
    });
    watch.start(answerWatchPeriodMs);
    return app.exec();
}
