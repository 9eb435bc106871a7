#include "records/identitypage.h"

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/radiogroup.h"
#include "records/boundcontrols.h"
#include "records/currentpatient.h"
#include "records/enteredit.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::records {

namespace {

QGroupBox *box(const QString &caption, QWidget *content, QWidget *parent)
{
    auto *group = new QGroupBox(caption, parent);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(content);
    return group;
}

} // namespace

IdentityPage::IdentityPage(CurrentPatient &patient, const Clock &clock, QWidget *parent)
    : QWidget(parent)
    , m_patient(patient)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("Identite"));
    Table &patients = patient.patients();

    auto *number = new QLineEdit(this);
    number->setObjectName(QStringLiteral("EditNDossier"));
    number->setToolTip(QStringLiteral("Dossier"));
    number->setReadOnly(true);
    number->setEnabled(false);
    new BoundLineEdit(number, patients, recordNumberField);

    // Treatments first: the identity box follows it in the keyboard order.
    m_treatmentBox = new QGroupBox(QStringLiteral("Traitements Médicaux"), this);
    auto *treatmentLayout = new QVBoxLayout(m_treatmentBox);
    treatmentLayout->addWidget(addMemo(QStringLiteral("gen"), patient.treatments(), QStringLiteral("Traitement général")));

    m_nom = addEdit(QStringLiteral("EditNom"), QStringLiteral("Nom"), QStringLiteral("Nom"), 23);
    m_prenom = addEdit(QStringLiteral("EditPrnom"), QStringLiteral("Prénom"), QStringLiteral("Prénom"), 20);
    TEDBEdit *jour = addEdit(QStringLiteral("Editjour"), QStringLiteral("Jour"), QStringLiteral("Jour"));
    TEDBEdit *mois = addEdit(QStringLiteral("EditMois"), QStringLiteral("Mois"), QStringLiteral("Mois"));
    m_annee = addEdit(QStringLiteral("EditAnne"), QStringLiteral("Année"), QStringLiteral("Année"));
    m_age = new QLineEdit(this);
    m_age->setObjectName(QStringLiteral("Edit3"));
    m_age->setToolTip(QStringLiteral("Age"));
    m_age->setReadOnly(true);
    m_age->setFocusPolicy(Qt::NoFocus);

    auto *sexe = new RadioGroup(QStringLiteral("&Sexe"), {QStringLiteral("Masculin"), QStringLiteral("Feminin")}, 2, this);
    sexe->setObjectName(QStringLiteral("Sexe"));
    new BoundRadioGroup(sexe, patients, QStringLiteral("Sexe"));

    m_address = addMemo(QStringLiteral("MemoAdresse"), patients, QStringLiteral("Adresse"));
    m_address->setToolTip(
        QStringLiteral("Adresse: Tab pour sortir du champ, Tab,Entrée ou Flêches pour les autres"));
    m_address->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_address->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_address->setTabChangesFocus(true);

    TEDBEdit *phone = addEdit(QStringLiteral("EditTlphone"), QStringLiteral("Téléphone"), QStringLiteral("Téléphone"), 14);
    TEDBEdit *profession = addEdit(QStringLiteral("EditProfession"), QStringLiteral("Profession"), QStringLiteral("Profession"));
    TEDBEdit *nss = addEdit(QStringLiteral("nss"), QStringLiteral("SS"), QString(), 17);
    QPlainTextEdit *specialists = addMemo(QStringLiteral("memoMedecin"), patients, QStringLiteral("Medecins spécialistes"));
    specialists->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    specialists->setTabChangesFocus(true);

    auto *insurance = new RadioGroup(QStringLiteral("&Ass.Maladie"),
                                     {QStringLiteral("R G"), QStringLiteral("ALD"), QStringLiteral("CMU"),
                                      QStringLiteral("Tutelle"), QStringLiteral("A C")},
                                     3, this);
    insurance->setObjectName(QStringLiteral("DBRadioGroup1"));
    insurance->setToolTip(QStringLiteral("Régime Général - Affection longue durée - Couverture Médicale "
                                         "Universelle - Tutelle - Anciens Combattants"));
    new BoundRadioGroup(insurance, patient.insurance(), QStringLiteral("Type d'AM"));

    m_historyPages = new QTabWidget(this);
    m_historyPages->setObjectName(QStringLiteral("allergies"));
    const QList<std::tuple<QString, QString, QString>> historyTexts = {
        {QStringLiteral("med"), QStringLiteral("Antécédents médicaux"), QStringLiteral("&Médicaux")},
        {QStringLiteral("chir"), QStringLiteral("Antécédents chirugicaux"), QStringLiteral("&Chirurgicaux")},
        {QStringLiteral("allergie"), QStringLiteral("Allergies médicamenteuses"), QStringLiteral("&Allergies Méd.")}};
    for (const auto &[name, field, title] : historyTexts) {
        // A page of its own around the memo, where a pick list may stand beside it.
        auto *page = new QWidget(m_historyPages);
        auto *pageLayout = new QHBoxLayout(page);
        pageLayout->setContentsMargins(2, 2, 2, 2);
        pageLayout->addWidget(addMemo(name, patient.history(), field), 1);
        m_historyPages->addTab(page, title);
    }

    auto *letters = new QWidget(this);
    auto *lettersLayout = new QHBoxLayout(letters);
    const QList<std::tuple<QString, QString, void (IdentityPage::*)()>> buttons = {
        {QStringLiteral("examensrecus"), QStringLiteral("Examens reçus"), &IdentityPage::receivedResultsClicked},
        {QStringLiteral("courrierenvoye"), QStringLiteral("Courier Envoyé"), &IdentityPage::sentLettersClicked},
        {QStringLiteral("courrierrecu"), QStringLiteral("Courier reçu"), &IdentityPage::receivedLettersClicked}};
    for (const auto &[name, hint, signal] : buttons) {
        auto *button = new QToolButton(letters);
        button->setObjectName(name);
        button->setToolTip(hint);
        button->setText(hint);
        lettersLayout->addWidget(button);
        connect(button, &QToolButton::clicked, this, signal);
    }

    auto *identity = new QGroupBox(this);
    auto *grid = new QGridLayout(identity);
    grid->addWidget(box(QStringLiteral("&Dossier"), number, identity), 0, 0);
    grid->addWidget(box(QStringLiteral("&Nom"), m_nom, identity), 0, 1);
    grid->addWidget(box(QStringLiteral("&Prénom"), m_prenom, identity), 0, 2);
    auto *birth = new QWidget(identity);
    auto *birthLayout = new QHBoxLayout(birth);
    birthLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *part : {static_cast<QWidget *>(jour), static_cast<QWidget *>(mois),
                          static_cast<QWidget *>(m_annee), static_cast<QWidget *>(m_age)})
        birthLayout->addWidget(part);
    grid->addWidget(box(QStringLiteral("&Date de Naissance"), birth, identity), 1, 0, 1, 2);
    grid->addWidget(sexe, 1, 2);
    grid->addWidget(box(QStringLiteral("&Adresse"), m_address, identity), 2, 0, 2, 2);
    grid->addWidget(box(QStringLiteral("&Téléphone"), phone, identity), 2, 2);
    grid->addWidget(box(QStringLiteral("&Profession"), profession, identity), 3, 2);
    grid->addWidget(box(QStringLiteral("&N°SS"), nss, identity), 4, 0, Qt::AlignTop);
    grid->addWidget(box(QStringLiteral("&Spécialistes"), specialists, identity), 4, 1, 1, 2);

    auto *layout = new QGridLayout(this);
    layout->addWidget(identity, 0, 0, 2, 1);
    layout->addWidget(m_treatmentBox, 0, 1);
    layout->addWidget(insurance, 1, 1);
    layout->addWidget(box(QStringLiteral("&Antécédents"), m_historyPages, this), 2, 0);
    layout->addWidget(box(QStringLiteral("&Courriers et Examens"), letters, this), 2, 1);

    // Keyboard order: the treatments, the identity box, the insurance scheme, the history.
    QWidget *order[] = {m_treatmentBox->findChild<QPlainTextEdit *>(QStringLiteral("gen")), m_nom, m_prenom, jour,
                        mois, m_annee, sexe, m_address, phone, profession, nss, specialists, insurance,
                        m_historyPages};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_nom->installEventFilter(this);
    m_prenom->installEventFilter(this);
    connect(m_annee, &QLineEdit::textChanged, this, &IdentityPage::EditAnneChange);
    EditAnneChange(m_annee->text());
}

QLineEdit *IdentityPage::nameEdit() const
{
    return m_nom;
}

TEDBEdit *IdentityPage::addEdit(const QString &name, const QString &field, const QString &hint, int maxLength)
{
    auto *edit = new TEDBEdit(m_patient.patients(), field, this);
    edit->setObjectName(name);
    if (!hint.isEmpty())
        edit->setToolTip(hint);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QPlainTextEdit *IdentityPage::addMemo(const QString &name, Table &table, const QString &field)
{
    auto *memo = new QPlainTextEdit(this);
    memo->setObjectName(name);
    new BoundMemo(memo, table, field);
    return memo;
}

bool IdentityPage::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the surname composes the name too, so that a surname typed after the forename is
    // not left out of the name searched on.
    if ((watched == m_prenom || watched == m_nom) && event->type() == QEvent::FocusOut)
        EditPrnomExit();
    return QWidget::eventFilter(watched, event);
}

void IdentityPage::EditPrnomExit()
{
    m_patient.composeName();
}

void IdentityPage::EditAnneChange(const QString &text)
{
    // Only what the person types can fail: a stored year is always a number.
    std::optional<int> age;
    try {
        age = ageFromYearText(text, m_clock.today().year());
    } catch (const Error &) {
        if (m_annee->hasFocus())
            throw;
        return;
    }
    // An empty year (a new file) shows no age rather than the previous patient's.
    if (age)
        m_age->setText(QString::number(*age));
    else
        m_age->clear();
}

void IdentityPage::Copier1Click()
{
    m_address->selectAll();
    m_address->copy();
}

void IdentityPage::Coller1Click()
{
    m_address->setFocus();
    m_address->paste();
}

} // namespace orvane::records
