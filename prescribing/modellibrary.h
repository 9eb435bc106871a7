#pragma once

#include "prescribing/modelfiles.h"

#include <optional>

class QWidget;

namespace orvane {
class DialogService;
}

namespace orvane::prescribing {

// Loading and saving the bilan and certificate models through the file dialog, which opens in the
// kind's folder.
class ModelLibrary
{
public:
    ModelLibrary(DialogService &dialogs, QWidget *parent);

    // The lines of the model the physician chose; nothing when he cancelled the dialog.
    std::optional<QStringList> load(ModelKind kind);
    // Writes the lines to the chosen file; an existing file is replaced only after the physician agrees.
    void save(ModelKind kind, const QStringList &lines);

private:
    DialogService &m_dialogs;
    QWidget *m_parent;
};

} // namespace orvane::prescribing
