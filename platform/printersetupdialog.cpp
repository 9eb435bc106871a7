#include "platform/printersetupdialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

namespace orvane {

namespace {

// The controls of Qt's dialog that show and choose the output file.
const char *const outputFileControls[] = {"filename", "lOutput", "fileBrowser"};

} // namespace

PrinterSetUpDialog::PrinterSetUpDialog(QPrinter &printer, QWidget *parent)
    : QPrintDialog(&printer, parent)
{
    setOption(QAbstractPrintDialog::PrintToFile, true);
    setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
    if (auto *buttons = findChild<QDialogButtonBox *>()) {
        if (QPushButton *accept = buttons->button(QDialogButtonBox::Ok))
            accept->setText(QStringLiteral("OK"));
    }
    // The dialog checks the file when PDF is chosen: a name that exists would bring its question
    // about overwriting, a folder or an empty name its refusal.
    if (auto *file = findChild<QLineEdit *>(QStringLiteral("filename")))
        file->setText(m_scratch.filePath(QStringLiteral("impression.pdf")));
}

void PrinterSetUpDialog::setVisible(bool visible)
{
    // Qt shows the file row again at each showing.
    QPrintDialog::setVisible(visible);
    if (!visible)
        return;
    for (const char *name : outputFileControls) {
        if (auto *control = findChild<QWidget *>(QLatin1String(name)))
            control->hide();
    }
}

} // namespace orvane
