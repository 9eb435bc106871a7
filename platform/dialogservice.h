#pragma once

#include <QFont>
#include <QString>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace orvane {

// Every exchange with the person goes through this service, so that tests can answer in its place.
class DialogService
{
public:
    enum class Icon { Information, Warning, Confirmation };

    virtual ~DialogService() = default;

    // A modal message box with "&Oui" (default, Enter) and "&Non" (Escape): true for "&Oui".
    virtual bool askYesNo(QWidget *parent, const QString &text, Icon icon) = 0;
    // A plain message box with one "OK" button.
    virtual void showMessage(QWidget *parent, const QString &text) = 0;
    // A failure message, shown once by the application.
    virtual void showError(const QString &text) = 0;
    // A one-line question with "OK" and "Annuler"; no value when cancelled.
    virtual std::optional<QString> askText(QWidget *parent, const QString &caption,
                                           const QString &prompt, const QString &initial) = 0;
    // The system's file dialogs, titled by the caption; an empty text when cancelled. The save dialog
    // accepts an existing file without asking: the caller asks its own question before replacing it.
    virtual QString chooseFileToOpen(QWidget *parent, const QString &folder, const QString &filter,
                                     const QString &caption = QString()) = 0;
    virtual QString chooseFileToSave(QWidget *parent, const QString &folder, const QString &filter,
                                     const QString &caption = QString()) = 0;
    virtual std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) = 0;
    // The printer set-up dialog; true when confirmed.
    virtual bool setUpPrinter(QWidget *parent, QPrinter &printer) = 0;
    // Shows one of the program's own windows modally and returns its result code.
    virtual int execModal(QDialog &dialog) = 0;
};

// The service of the running program: Qt's own dialogs with the program's French buttons.
class QtDialogService final : public DialogService
{
public:
    bool askYesNo(QWidget *parent, const QString &text, Icon icon) override;
    void showMessage(QWidget *parent, const QString &text) override;
    void showError(const QString &text) override;
    std::optional<QString> askText(QWidget *parent, const QString &caption, const QString &prompt,
                                   const QString &initial) override;
    QString chooseFileToOpen(QWidget *parent, const QString &folder, const QString &filter,
                             const QString &caption = QString()) override;
    QString chooseFileToSave(QWidget *parent, const QString &folder, const QString &filter,
                             const QString &caption = QString()) override;
    std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) override;
    bool setUpPrinter(QWidget *parent, QPrinter &printer) override;
    int execModal(QDialog &dialog) override;
};

} // namespace orvane
