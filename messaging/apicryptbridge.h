#pragma once

#include <QLibrary>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class QTimer;
class QWidget;

namespace orvane {
class DialogService;
}

namespace orvane::messaging {

// Has the Apicrypt library encipher a text through files of the program folder: the text goes to
// "cryptage.txt", a first timer ("Timer2") runs the library once that file is there, a second one
// ("Timer1") waits for the library's "cryptage.txt.api" and hands its lines over.
class ApicryptBridge : public QObject
{
    Q_OBJECT

public:
    static const QString libraryFileName;
    static const QString inputFileName;
    static const QString outputFileName;
    static const QString keyFolderName;
    // The settings key of the maker's sibling product, where an earlier set-up may hold the user.
    static const QString identifierKey;
    static const QString decipherInputFileName;

    // The Apicrypt user that the sibling product's settings hold; empty when they hold none.
    static QString siblingProductUser();

    // A received text that the library enciphered: it begins with the library's armour line.
    static bool isEnciphered(const QString &text);
    // The clear text of an enciphered one, through the library's deciphering function and files
    // of the program folder; nothing when the library, its key folder or the user's identifier
    // is missing, or when the library writes no clear text.
    static std::optional<QString> decipher(const QString &programFolder, const QString &user, const QString &text);

    // The Apicrypt user of the messaging settings, read at each enciphering.
    using UserSource = std::function<QString()>;

    // The exchange files of an earlier run are removed here.
    ApicryptBridge(const QString &programFolder, UserSource user, DialogService &dialogs, QWidget *messageParent);

    // Writes the text for the library and starts the enciphering; nothing when the library is absent.
    void start(const QStringList &lines);

    QTimer *encipheringTimer() const { return m_encipheringTimer; }
    QTimer *outputTimer() const { return m_outputTimer; }

signals:
    void enciphered(const QStringList &lines);

private slots:
    void encipheringStep();
    void outputWait();

private:
    QString inFolder(const QString &name) const;
    void callLibrary(const QString &identifier);

    QString m_programFolder;
    UserSource m_user;
    DialogService &m_dialogs;
    QWidget *m_messageParent;
    QTimer *m_encipheringTimer;
    QTimer *m_outputTimer;
    QLibrary m_library;
    // Set while a step runs: a message box or the library may run an event loop, and a tick served
    // there must not start the step again nor touch the files the library is working on.
    bool m_stepRunning = false;
};

} // namespace orvane::messaging
