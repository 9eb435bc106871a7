#include "platform/dialogservice.h"

#include "platform/screenplacement.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QTreeView>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace orvane {

namespace {

QString captionFor(DialogService::Icon icon)
{
    switch (icon) {
    case DialogService::Icon::Information: return QStringLiteral("Information");
    case DialogService::Icon::Warning: return QStringLiteral("Avertissement");
    case DialogService::Icon::Confirmation: return QStringLiteral("Confirmation");
    }
    return QString();
}

QMessageBox::Icon boxIconFor(DialogService::Icon icon)
{
    switch (icon) {
    case DialogService::Icon::Information: return QMessageBox::Information;
    case DialogService::Icon::Warning: return QMessageBox::Warning;
    case DialogService::Icon::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A splash window stays on top of every other: a question shown while it is up would sit hidden
// under it, and the program would look frozen. The splash goes first.
void hideSplash()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible() && window->windowType() == Qt::SplashScreen)
            window->hide();
    }
}

// Qt's French catalogue leaves the file dialog's types in English ("Folder", "txt File").
class FrenchFileTypes : public QFileIconProvider
{
public:
    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QStringLiteral("Dossier");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Fichier") : QStringLiteral("Fichier %1").arg(suffix.toUpper());
    }
};

// Qt's own file dialog (where the desktop has none of its own) in French, its columns wide enough
// for their titles; the file chosen, or an empty text.
QString chosenFile(QFileDialog &dialog)
{
    static FrenchFileTypes types;
    dialog.setIconProvider(&types);
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        // The name takes what the others leave; they are as wide as their title or a long value.
        QHeaderView *header = list->header();
        const QStringList longValues = {QString(), QStringLiteral("999,9 Kio"), QStringLiteral("Fichier XLSX"),
                                        QStringLiteral("10/12/2026 00:00:00")};
        for (int i = 1; i < header->count(); ++i) {
            const QString title = header->model()->headerData(i, Qt::Horizontal).toString();
            const int least = std::max(header->fontMetrics().horizontalAdvance(title),
                                       list->fontMetrics().horizontalAdvance(longValues.value(i))) + 32;
            header->resizeSection(i, std::max(header->sectionSize(i), least));
        }
        header->resizeSection(0, std::max(header->sectionSize(0), 380));
        dialog.resize(std::max(dialog.width(), header->length() + 220), std::max(dialog.height(), 440));
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

bool QtDialogService::askYesNo(QWidget *parent, const QString &text, Icon icon)
{
    hideSplash();
    QMessageBox box(boxIconFor(icon), captionFor(icon), text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    widenLayoutForTitle(box);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogService::showMessage(QWidget *parent, const QString &text)
{
    hideSplash();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
    widenLayoutForTitle(box);
    box.exec();
}

void QtDialogService::showError(const QString &text)
{
    hideSplash();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    widenLayoutForTitle(box);
    box.exec();
}

std::optional<QString> QtDialogService::askText(QWidget *parent, const QString &caption,
                                                const QString &prompt, const QString &initial)
{
    hideSplash();
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    widenLayoutForTitle(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtDialogService::chooseFileToOpen(QWidget *parent, const QString &folder, const QString &filter,
                                          const QString &caption)
{
    hideSplash();
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

QString QtDialogService::chooseFileToSave(QWidget *parent, const QString &folder, const QString &filter,
                                          const QString &caption)
{
    hideSplash();
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return chosenFile(dialog);
}

std::optional<QFont> QtDialogService::chooseFont(QWidget *parent, const QFont &initial)
{
    hideSplash();
    bool ok = false;
    // The dialog opens on the font the text is really drawn with: a family this system does not
    // have ("Times New Roman") stands for the one that replaces it.
    const QFontInfo drawn(initial);
    QFont shown = initial;
    shown.setFamily(drawn.family());
    shown.setStyleName(drawn.styleName());
    const QFont font = QFontDialog::getFont(&ok, shown, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

bool QtDialogService::setUpPrinter(QWidget *parent, QPrinter &printer)
{
    hideSplash();
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // The printer's set-up: its choice is kept for the next prints, nothing is printed now.
    dialog.setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *accept = buttons->button(QDialogButtonBox::Ok))
            accept->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogService::execModal(QDialog &dialog)
{
    hideSplash();
    return dialog.exec();
}

} // namespace orvane
