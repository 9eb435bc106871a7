#pragma once

#include "messaging/addressbook.h"
#include "messaging/messagecontext.h"
#include "messaging/messagingsettings.h"

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace orvane {
class Clock;
class DialogService;
}

namespace orvane::messaging {

class ApicryptBridge;
class ConnectionState;
class MailTransport;
class Tajout;

// "HPRIM": the non-modal window that composes the HPRIM text of a prescription for a chosen
// correspondent, has it enciphered when asked, and sends it. Created once and only shown and
// hidden, so its texts, boxes and list survive between openings.
class TfrmMessageEditor : public QDialog
{
    Q_OBJECT

public:
    using SettingsSource = std::function<MessagingSettings()>;

    // Without a transport or a connection state of its own the window uses the SMTP client and the
    // system's connection state. The settings are asked for at each showing and each send.
    TfrmMessageEditor(DialogService &dialogs, const Clock &clock, SettingsSource settings,
                      QWidget *parent = nullptr, MailTransport *transport = nullptr,
                      const ConnectionState *connection = nullptr);
    ~TfrmMessageEditor() override;

    // Stores the patient and sender of this opening, puts the prescriber's line into "Exp:" and the
    // prescription on the clipboard, then shows the window without waiting; nothing is cleared.
    void openFor(const MessageContext &context, const QString &prescriberLine, const QString &prescription);

    const MessageContext &context() const { return m_context; }

public slots:
    void ListView1DblClick();
    void Button1Click();
    void Button2Click();
    void BitBtn1Click();
    void bbtnCancelClick();
    void bbtnOkClick();
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildWindow();
    void showCorrespondents();
    void clearAfterMessage();
    void showEnciphered(const QStringList &lines);
    static QString placeholderQuestion();

    DialogService &m_dialogs;
    const Clock &m_clock;
    SettingsSource m_settings;
    std::unique_ptr<MailTransport> m_ownTransport;
    std::unique_ptr<ConnectionState> m_ownConnection;
    MailTransport &m_transport;
    const ConnectionState &m_connection;
    AddressBook m_addressBook;
    MessageContext m_context;
    ApicryptBridge *m_apicrypt = nullptr;
    Tajout *m_ajout = nullptr;

    QLineEdit *m_edtTo = nullptr;
    QLineEdit *m_edtSubject = nullptr;
    QLineEdit *m_dest1 = nullptr;
    QLineEdit *m_exp1 = nullptr;
    QCheckBox *m_chkReturnReciept = nullptr;
    QCheckBox *m_crypt = nullptr;
    QTreeWidget *m_listView1 = nullptr;
    QPlainTextEdit *m_memo1 = nullptr;
    QPlainTextEdit *m_memo2 = nullptr;
    QPushButton *m_bitBtn1 = nullptr;
    QPushButton *m_bbtnOk = nullptr;
};

} // namespace orvane::messaging
