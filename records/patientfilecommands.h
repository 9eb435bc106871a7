#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QClipboard;
class QWidget;

namespace orvane {
class DialogService;
}

namespace orvane::records {

class CurrentPatient;
class TRechercher;

// The file operations as the tool bar, the menus and the function keys start them: the questions
// asked, the order of the steps, and what the main window must show afterwards.
class PatientFileCommands : public QObject
{
    Q_OBJECT

public:
    PatientFileCommands(CurrentPatient &patient, DialogService &dialogs, QClipboard *clipboard,
                        QWidget *window, QObject *parent = nullptr);

    void previousFile();
    void nextFile();
    void newFile();
    void validate();
    enum class DeleteVariant { ToolBar, Menu };
    void deleteFile(DeleteVariant variant);
    void searchWindow(TRechercher &window);
    // Brings the patient of that main-ordering key, the current patient's rows stored first.
    void openPatient(const QVariantList &key);
    // The same for the patient of that row of the patients' table.
    void openPatientRow(qint64 rowId);
    void searchByName();
    void searchByNumber();

    // The text last taken from the clipboard for a new file.
    QString clipboardBuffer() const { return m_clipboardBuffer; }

signals:
    void identityTabRequested();
    void tabsFocusRequested();
    void prescriptionEmptied();
    void nameFocusRequested();
    void addressFocusRequested();

private:
    // `move` under the hourglass, then the file shown as a move shows it.
    void openPatientBy(const std::function<void()> &move);
    void afterMove();

    CurrentPatient &m_patient;
    DialogService &m_dialogs;
    QClipboard *m_clipboard;
    QWidget *m_window;
    QString m_clipboardBuffer;
};

} // namespace orvane::records
