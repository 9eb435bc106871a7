#pragma once

#include "messaging/hprimtext.h"

#include <QDialog>
#include <functional>
#include <optional>

class QPushButton;
class QTreeWidget;

namespace orvane {
class DialogService;
}

namespace orvane::messaging {

class ResultFiler;

// "Examens à classer": the received results waiting in "A classer", with the identity their header
// gives and why they wait. The physician files one to the patient he picks, or deletes it.
class PendingResultsDialog : public QDialog
{
    Q_OBJECT

public:
    // choosePatient runs the search window: the patient picked, nothing when cancelled.
    PendingResultsDialog(const ResultFiler &filer, DialogService &dialogs,
                         std::function<std::optional<PatientMatch>()> choosePatient, QWidget *parent = nullptr);

    // Lists the entries anew and shows the window modally.
    void showEntries();

public slots:
    void refresh();
    void ChoisirClick();
    void SupprimerClick();

private:
    QString selectedPath() const;

    const ResultFiler &m_filer;
    DialogService &m_dialogs;
    std::function<std::optional<PatientMatch>()> m_choosePatient;
    QTreeWidget *m_list;
    QPushButton *m_choose;
    QPushButton *m_delete;
};

} // namespace orvane::messaging
