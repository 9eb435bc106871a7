#include "messaging/tfrmmessageeditor.h"

#include "messaging/apicryptbridge.h"
#include "messaging/connectionstate.h"
#include "messaging/hprimsender.h"
#include "messaging/hprimtext.h"
#include "messaging/smtpsession.h"
#include "messaging/tajout.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/places.h"
#include "platform/textlines.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane::messaging {

namespace {

QPlainTextEdit *makeMemo(QWidget *parent, const char *name, const QColor &colour, bool readOnly)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setReadOnly(readOnly);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Text, colour);
    memo->setPalette(palette);
    return memo;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setAutoDefault(false); // Enter in an edit must not send the message
    return button;
}

QLineEdit *makeEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

void setLines(QPlainTextEdit *memo, const QStringList &lines)
{
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->moveCursor(QTextCursor::End);
}

} // namespace

TfrmMessageEditor::TfrmMessageEditor(DialogService &dialogs, const Clock &clock, SettingsSource settings,
                                     QWidget *parent, MailTransport *transport, const ConnectionState *connection)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_settings(std::move(settings))
    , m_ownTransport(transport ? nullptr : std::make_unique<SmtpSession>())
    , m_ownConnection(connection ? nullptr : std::make_unique<SystemConnectionState>())
    , m_transport(transport ? *transport : *m_ownTransport)
    , m_connection(connection ? *connection : *m_ownConnection)
    , m_addressBook(places::inCorrespondenceFolder(QStringLiteral("hprim.ini")))
{
    setObjectName(QStringLiteral("frmMessageEditor"));
    setWindowTitle(QStringLiteral("HPRIM"));
    setModal(false);
    buildWindow();
    m_apicrypt = new ApicryptBridge(places::programFolder(), m_dialogs, this);
    connect(m_apicrypt, &ApicryptBridge::enciphered, this, &TfrmMessageEditor::showEnciphered);
    m_ajout = new Tajout(this);
    m_addressBook.load();
    showCorrespondents();
}

TfrmMessageEditor::~TfrmMessageEditor() = default;

void TfrmMessageEditor::buildWindow()
{
    auto *address = new QGroupBox(QStringLiteral("&Adresse"), this);
    auto *addressForm = new QFormLayout(address);
    m_edtTo = makeEdit(address, "edtTo");
    m_edtSubject = makeEdit(address, "edtSubject");
    m_edtSubject->setText(QStringLiteral("Compte rendu d'examen médical"));
    m_edtSubject->setCursorPosition(0);
    m_dest1 = makeEdit(address, "dest1");
    m_exp1 = makeEdit(address, "exp1");
    addressForm->addRow(QStringLiteral("&A:"), m_edtTo);
    addressForm->addRow(QStringLiteral("&Objet:"), m_edtSubject);
    addressForm->addRow(QStringLiteral("&Dest:"), m_dest1);
    addressForm->addRow(QStringLiteral("Exp:"), m_exp1);
    m_chkReturnReciept = new QCheckBox(QStringLiteral("&Accusé de Reception"), address);
    m_chkReturnReciept->setObjectName(QStringLiteral("chkReturnReciept"));
    m_crypt = new QCheckBox(QStringLiteral("&Cryptage"), address);
    m_crypt->setObjectName(QStringLiteral("crypt"));
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(m_chkReturnReciept);
    boxes->addWidget(m_crypt);
    addressForm->addRow(boxes);

    auto *recipients = new QGroupBox(QStringLiteral("&Destinataire"), this);
    auto *recipientsLayout = new QVBoxLayout(recipients);
    m_listView1 = new QTreeWidget(recipients);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setRootIsDecorated(false);
    m_listView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView1->setHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Adresse"), QStringLiteral("Spécialité"),
                                  QStringLiteral("@mail")});
    recipientsLayout->addWidget(m_listView1);
    auto *add = makeButton(recipients, "Button1", QStringLiteral("&Ajouter"), QString());
    auto *remove = makeButton(recipients, "Button2", QStringLiteral("&Supprimer"), QString());
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addStretch();
    recipientsLayout->addLayout(listButtons);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    auto *plain = new QGroupBox(QStringLiteral("&Message HPRIM"), splitter);
    m_memo1 = makeMemo(plain, "Memo1", QColor(Qt::darkBlue), false);
    (new QVBoxLayout(plain))->addWidget(m_memo1);
    auto *enciphered = new QGroupBox(QStringLiteral("&Message crypté"), splitter);
    m_memo2 = makeMemo(enciphered, "Memo2", QColor(Qt::red), true);
    (new QVBoxLayout(enciphered))->addWidget(m_memo2);

    m_bitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("&HPRIM"), QStringLiteral("construction du message HPRIM"));
    auto *cancel = makeButton(this, "bbtnCancel", QStringLiteral("Annuler"), QStringLiteral("Close window"));
    m_bbtnOk = makeButton(this, "bbtnOk", QStringLiteral("&Envoyer"), QStringLiteral("Send message now"));
    m_bitBtn1->setEnabled(false);
    m_bbtnOk->setEnabled(false);
    auto *buttonBar = new QHBoxLayout;
    buttonBar->addStretch();
    buttonBar->addWidget(m_bitBtn1);
    buttonBar->addWidget(cancel);
    buttonBar->addWidget(m_bbtnOk);

    auto *top = new QHBoxLayout;
    top->addWidget(address, 2);
    top->addWidget(recipients, 3);
    auto *window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addWidget(splitter, 1);
    window->addLayout(buttonBar);

    connect(m_listView1, &QTreeWidget::itemDoubleClicked, this, &TfrmMessageEditor::ListView1DblClick);
    connect(add, &QPushButton::clicked, this, &TfrmMessageEditor::Button1Click);
    connect(remove, &QPushButton::clicked, this, &TfrmMessageEditor::Button2Click);
    connect(m_bitBtn1, &QPushButton::clicked, this, &TfrmMessageEditor::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &TfrmMessageEditor::bbtnCancelClick);
    connect(m_bbtnOk, &QPushButton::clicked, this, &TfrmMessageEditor::bbtnOkClick);
    resize(900, 600);
}

void TfrmMessageEditor::showCorrespondents()
{
    m_listView1->clear();
    for (const Correspondent &c : m_addressBook.correspondents())
        m_listView1->addTopLevelItem(new QTreeWidgetItem({c.name, c.address, c.speciality, c.email}));
}

void TfrmMessageEditor::openFor(const MessageContext &context, const QString &prescriberLine,
                                const QString &prescription)
{
    m_context = context;
    m_exp1->setText(prescriberLine);
    QGuiApplication::clipboard()->setText(prescription);
    show();
    raise();
    activateWindow();
}

void TfrmMessageEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmMessageEditor::FormShow()
{
    m_crypt->setChecked(m_settings().enciphering());
}

void TfrmMessageEditor::ListView1DblClick()
{
    const int row = m_listView1->indexOfTopLevelItem(m_listView1->currentItem());
    if (row < 0 || !m_listView1->currentItem()->isSelected())
        return;
    const Correspondent &chosen = m_addressBook.correspondents().at(row);
    m_edtTo->setText(chosen.email);
    m_dest1->setText(chosen.name);
    m_bitBtn1->setEnabled(true);
}

void TfrmMessageEditor::Button1Click()
{
    m_ajout->reset();
    if (m_dialogs.execModal(*m_ajout) != QDialog::Accepted)
        return;
    const Correspondent added = m_addressBook.correspondents().at(m_addressBook.add(m_ajout->correspondent()));
    // Saving takes in what another workstation stored meanwhile: the rows are shown after it.
    m_addressBook.save();
    showCorrespondents();
    m_listView1->setCurrentItem(m_listView1->topLevelItem(int(m_addressBook.correspondents().indexOf(added))));
}

void TfrmMessageEditor::Button2Click()
{
    if (!m_dialogs.askYesNo(this, QStringLiteral("Voulez-vous supprimer ce correspondant?"),
                            DialogService::Icon::Confirmation))
        return;
    const QList<QTreeWidgetItem *> selected = m_listView1->selectedItems();
    if (!selected.isEmpty())
        m_addressBook.remove(m_listView1->indexOfTopLevelItem(selected.first()));
    m_addressBook.save();
    showCorrespondents();
}

void TfrmMessageEditor::BitBtn1Click()
{
    const HprimText hprim(m_context, m_clock.today(), m_edtTo->text(), m_exp1->text());
    const QStringList lines = splitLines(m_memo1->toPlainText()) + hprim.lines(QGuiApplication::clipboard()->text());
    setLines(m_memo1, lines);
    m_bbtnOk->setEnabled(true);
    if (m_crypt->isChecked())
        m_apicrypt->start(lines);
}

void TfrmMessageEditor::showEnciphered(const QStringList &lines)
{
    setLines(m_memo2, lines);
}

void TfrmMessageEditor::clearAfterMessage()
{
    m_bbtnOk->setEnabled(false);
    m_bitBtn1->setEnabled(false);
    m_edtTo->clear();
    m_dest1->clear();
    m_exp1->clear();
    m_listView1->clearSelection();
    m_listView1->setCurrentItem(nullptr);
    m_memo1->clear();
    m_memo2->clear();
    hide();
}

void TfrmMessageEditor::bbtnCancelClick()
{
    clearAfterMessage();
}

void TfrmMessageEditor::bbtnOkClick()
{
    OutgoingHprim outgoing;
    outgoing.enciphered = m_crypt->isChecked();
    outgoing.clearLines = splitLines(m_memo1->toPlainText());
    outgoing.encipheredLines = splitLines(m_memo2->toPlainText());
    outgoing.recipients = m_edtTo->text();
    outgoing.subject = m_edtSubject->text();
    outgoing.readReceipt = m_chkReturnReciept->isChecked();
    outgoing.senderLine = m_exp1->text();
    outgoing.context = m_context;

    const auto outcome = [&] {
        const WaitCursor hourglass;
        return HprimSender(m_transport, m_connection, m_clock).send(outgoing, m_settings(),
                                                                    [this] { clearAfterMessage(); });
    }();
    switch (outcome) {
    case HprimSender::Outcome::NoConnection:
        m_dialogs.showMessage(this, QStringLiteral("Absence de connexion internet active: veuillez vous connecter sur internet"));
        break;
    case HprimSender::Outcome::NothingToSend:
        hide();
        break;
    case HprimSender::Outcome::Sent:
        break;
    }
}

} // namespace orvane::messaging
