#pragma once

#include "messaging/correspondencefolders.h"

#include <QDialog>
#include <QFileInfoList>

class QMenu;
class QPushButton;
class QTreeWidget;

namespace orvane {
class DialogService;
}

namespace orvane::messaging {

// The patient's files of a correspondence folder: names that begin with his prefix, newest first.
QFileInfoList patientFiles(const QString &folder, const QString &patientKey);

// Shows the patient's files of one folder to open them; says so when the folder does not exist
// yet or holds none of his.
void browseCorrespondence(DialogService &dialogs, QWidget *parent, CorrespondenceFolder folder,
                          const QString &patientKey);

// The patient's files of one correspondence folder, newest first, each opened with the desktop's
// application for it: a double-click, Enter, "Ouvrir" or the list's context menu. The window
// stays open, so that a letter and a result can be read one after the other.
class CorrespondenceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CorrespondenceDialog(DialogService &dialogs, QWidget *parent = nullptr);

    void showFiles(const QFileInfoList &files, const QString &caption);
    QTreeWidget *fileList() const { return m_list; }

public slots:
    // Opens the highlighted file.
    void OuvrirClick();

private:
    DialogService &m_dialogs;
    QTreeWidget *m_list;
    QPushButton *m_open;
    QMenu *m_menu;
};

} // namespace orvane::messaging
