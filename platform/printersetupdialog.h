#pragma once

#include <QPrintDialog>
#include <QTemporaryDir>

namespace orvane {

// The system's printer set-up, choosing the printer of the later jobs. The program names the file
// of each job written as PDF itself (in the patient's folder of prints), so the dialog's output
// file is neither shown nor asked about: it points at a scratch file that never exists.
class PrinterSetUpDialog : public QPrintDialog
{
    Q_OBJECT

public:
    explicit PrinterSetUpDialog(QPrinter &printer, QWidget *parent = nullptr);

    void setVisible(bool visible) override;

private:
    QTemporaryDir m_scratch;
};

} // namespace orvane
