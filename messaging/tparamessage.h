#pragma once

#include "messaging/messagingsettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace orvane {
class DialogService;
}

namespace orvane::messaging {

// "Paramètres de messagerie": the e-mail account, the SMTP server, the Apicrypt choice and the
// incoming server from which results are fetched.
// Created once and reused: once the Apicrypt box has been disabled for want of an identifier it
// stays disabled for the rest of the run.
class Tparamessage : public QDialog
{
    Q_OBJECT

public:
    explicit Tparamessage(DialogService &dialogs, QWidget *parent = nullptr);

    // Shows the settings, waits for the dialog to close (by "&OK" or the close box alike, there is
    // no cancel) and takes every control back into the settings. The caller stores them.
    void edit(MessagingSettings &settings);

public slots:
    void Button1Click();

protected:
    // Each opening starts at the first field, wherever the caret was left the time before.
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *addEdit(const char *name, const QString &label, const QString &hint);

    DialogService &m_dialogs;
    QLineEdit *m_idmessagerie;
    QLineEdit *m_passe;
    QLineEdit *m_serveur;
    QLineEdit *m_port;
    QLineEdit *m_email;
    QLineEdit *m_cle;
    QCheckBox *m_cryptage;
    QLineEdit *m_imapserveur;
    QLineEdit *m_imapport;
    QComboBox *m_imapsecurite;
    QLineEdit *m_imapid;
    QLineEdit *m_imappasse;
    QCheckBox *m_releve;
};

} // namespace orvane::messaging
