#pragma once

#include "vidal/vidalrequest.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace orvane::vidal {

class DrugCatalogue;

// The stand-in access program's one window: the patient data received from Orvane, a short drug
// list to choose from, and OK to send the chosen drugs back.
class AccessVidalWindow : public QDialog
{
    Q_OBJECT

public:
    AccessVidalWindow(const std::optional<VidalPatient> &patient, const DrugCatalogue &catalogue,
                      QWidget *parent = nullptr);

    // The prescription lines of the chosen drugs, in the order they were ticked.
    QStringList chosenLines() const;

private slots:
    void showDrugsFrom(const QString &prefix);
    void itemTicked(QListWidgetItem *item);

private:
    QWidget *patientBox(const std::optional<VidalPatient> &patient);

    const DrugCatalogue &m_catalogue;
    QLineEdit *m_search = nullptr;
    QListWidget *m_drugs = nullptr;
    QStringList m_chosen;
};

} // namespace orvane::vidal
