#include "messaging/tparamessage.h"

#include "platform/dialogservice.h"
#include "platform/screenplacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orvane::messaging {

Tparamessage::Tparamessage(DialogService &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("paramessage"));
    setWindowTitle(QStringLiteral("Paramètres de messagerie"));
    widenForTitle(*this);
    new QFormLayout(this);
    m_idmessagerie = addEdit("idmessagerie", QStringLiteral("Identifiant de messagerie"),
                             QStringLiteral("Votre identifiant de messagerie"));
    m_passe = addEdit("passe", QStringLiteral("Mot de passe"), QStringLiteral("Votre mot de Passe de messageir"));
    m_passe->setEchoMode(QLineEdit::Password);
    m_passe->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_serveur = addEdit("serveur", QStringLiteral("Serveur"), QStringLiteral("Serveur de messagerie SMTP"));
    m_port = addEdit("port", QStringLiteral("Port"), QStringLiteral("Port SMTP (par défaut 25)"));
    m_email = addEdit("email", QStringLiteral("adresse email"), QStringLiteral("Votre adresse email Réelle"));
    m_cle = addEdit("cle", QStringLiteral("Clé Apicrypt"),
                    QStringLiteral("Votre identifiant Apicrypt, sans le nom de domaine du service"));

    auto *form = static_cast<QFormLayout *>(layout());
    // The boxes take the width; the check box stays as wide as its caption.
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    m_cryptage = new QCheckBox(QStringLiteral("Apycript"), this);
    m_cryptage->setObjectName(QStringLiteral("cryptage"));
    m_cryptage->setToolTip(QStringLiteral("Activer Apicrypt"));
    form->addRow(QString(), m_cryptage);

    form->addRow(new QLabel(QStringLiteral("<b>Réception des résultats</b>"), this));
    m_imapserveur = addEdit("imapserveur", QStringLiteral("Serveur de réception"),
                            QStringLiteral("Serveur de messagerie IMAP où arrivent les résultats"));
    m_imapport = addEdit("imapport", QStringLiteral("Port de réception"),
                         QStringLiteral("Port IMAP (par défaut 993 en TLS, 143 en STARTTLS)"));
    m_imapsecurite = new QComboBox(this);
    m_imapsecurite->setObjectName(QStringLiteral("imapsecurite"));
    m_imapsecurite->addItems({IncomingServer::tls, IncomingServer::startTls});
    m_imapsecurite->setToolTip(QStringLiteral("TLS dès la connexion, ou STARTTLS"));
    form->addRow(QStringLiteral("Sécurité"), m_imapsecurite);
    m_imapid = addEdit("imapid", QStringLiteral("Identifiant de réception"),
                       QStringLiteral("Votre identifiant sur le serveur de réception"));
    m_imappasse = addEdit("imappasse", QStringLiteral("Mot de passe de réception"),
                          QStringLiteral("Votre mot de passe sur le serveur de réception"));
    m_imappasse->setEchoMode(QLineEdit::Password);
    m_imappasse->setStyleSheet(m_passe->styleSheet());
    m_releve = new QCheckBox(QStringLiteral("Relever toutes les 10 minutes"), this);
    m_releve->setObjectName(QStringLiteral("releve"));
    m_releve->setToolTip(QStringLiteral("Relever les résultats reçus toutes les 10 minutes"));
    form->addRow(QString(), m_releve);

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    form->addRow(ok);
    connect(ok, &QPushButton::clicked, this, &Tparamessage::Button1Click);
}

QLineEdit *Tparamessage::addEdit(const char *name, const QString &label, const QString &hint)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(hint);
    static_cast<QFormLayout *>(layout())->addRow(label, edit);
    return edit;
}

void Tparamessage::Button1Click()
{
    accept();
}

void Tparamessage::edit(MessagingSettings &settings)
{
    m_email->setText(settings.email);
    m_passe->setText(settings.motDePasse);
    m_serveur->setText(settings.serveur);
    m_port->setText(settings.port);
    m_idmessagerie->setText(settings.idMessagerie);
    m_cryptage->setChecked(settings.enciphering());
    // Never enabled again during the run, even after an identifier has been typed.
    if (settings.apicrypt.isEmpty())
        m_cryptage->setEnabled(false);
    m_cle->setText(settings.apicrypt);
    const IncomingServer &incoming = settings.incoming;
    m_imapserveur->setText(incoming.host);
    m_imapport->setText(incoming.port);
    m_imapsecurite->setCurrentIndex(incoming.security == IncomingServer::startTls ? 1 : 0);
    m_imapid->setText(incoming.user);
    m_imappasse->setText(incoming.password);
    m_releve->setChecked(incoming.fetchesByItself());

    m_dialogs.execModal(*this);

    settings.email = m_email->text();
    settings.idMessagerie = m_idmessagerie->text();
    settings.motDePasse = m_passe->text();
    settings.serveur = m_serveur->text();
    settings.port = m_port->text();
    settings.cryptage = m_cryptage->isChecked() ? QStringLiteral("oui") : QStringLiteral("non");
    settings.apicrypt = m_cle->text();
    settings.incoming = {m_imapserveur->text(), m_imapport->text(), m_imapsecurite->currentText(), m_imapid->text(),
                         m_imappasse->text(), m_releve->isChecked() ? QStringLiteral("oui") : QStringLiteral("non")};
}

void Tparamessage::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_idmessagerie->setFocus();
}

} // namespace orvane::messaging
