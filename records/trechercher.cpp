#include "records/trechercher.h"

#include "records/lettercolumn.h"

#include "records/dbgrid.h"
#include "records/table.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace orvane::records {

TRechercher::TRechercher(Database &db, QWidget *parent)
    : QDialog(parent)
    , m_patients(std::make_unique<Table>(db, QStringLiteral("Donnees.DB")))
{
    setObjectName(QStringLiteral("TRechercher"));
    setWindowTitle(QStringLiteral("rechercher"));
    setSizeGripEnabled(true);
    m_patients->setOrdering(QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier"));
    m_patients->open();

    m_recherche = new QLineEdit(this);
    m_recherche->setObjectName(QStringLiteral("Recherche"));
    m_grid = new DbGrid(*m_patients,
                        {{QStringLiteral("N°Dossier"), QStringLiteral("N°Dossier"), Qt::AlignCenter},
                         {QStringLiteral("NomPrénom"), QStringLiteral("Nom et Prénom")},
                         {QStringLiteral("Jour"), QStringLiteral("Date")},
                         {QStringLiteral("Mois"), QStringLiteral("de"), Qt::AlignCenter},
                         {QStringLiteral("Année"), QStringLiteral("Naissance"), Qt::AlignLeft | Qt::AlignVCenter}},
                        this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_letters = new LetterColumn(this);
    m_letters->setObjectName(QStringLiteral("ListBox1"));
    m_letters->setEmphasis(Qt::red);
    m_ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Annuler"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_recherche, 0, 0);
    layout->addWidget(m_grid, 1, 0);
    layout->addWidget(m_letters, 0, 1, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    // The corner stays free for the size grip.
    buttons->addSpacing(style()->pixelMetric(QStyle::PM_SizeGripSize));
    layout->addLayout(buttons, 2, 0, 1, 2);
    resize(660, 440);

    connect(m_recherche, &QLineEdit::textChanged, this, &TRechercher::RechercheChange);
    connect(m_letters, &QListWidget::itemClicked, this, &TRechercher::ListBox1Click);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TRechercher::BitBtn1Click);
    connect(m_ok, &QPushButton::clicked, this, &TRechercher::BitBtn1Click);
    connect(m_cancel, &QPushButton::clicked, this, &TRechercher::BitBtn2Click);
    for (QWidget *widget : {static_cast<QWidget *>(m_recherche), static_cast<QWidget *>(m_grid),
                            static_cast<QWidget *>(m_letters)})
        widget->installEventFilter(this);
}

TRechercher::~TRechercher() = default;

QVariantList TRechercher::selectedKey() const
{
    return {m_patients->value(QStringLiteral("NomPrénom")), m_patients->value(QStringLiteral("Nom")),
            m_patients->value(QStringLiteral("Prénom")), m_patients->value(QStringLiteral("N°Dossier"))};
}

void TRechercher::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TRechercher::FormActivate()
{
    m_patients->refresh();
    m_recherche->setFocus();
    m_recherche->clear();
}

void TRechercher::nearest(const QString &key)
{
    // The search reads the base as it is now: what a refresh first would make visible, it sees.
    m_patients->setOrdering(QStringLiteral("Nomprénom"));
    m_patients->findNearest({key});
}

void TRechercher::RechercheChange(const QString &text)
{
    if (!text.isEmpty())
        nearest(text);
}

void TRechercher::ListBox1Click()
{
    if (QListWidgetItem *item = m_letters->currentItem())
        nearest(item->text());
}

void TRechercher::BitBtn1Click()
{
    m_answerOk = true;
    accept();
}

void TRechercher::BitBtn2Click()
{
    m_answerOk = false;
    reject();
}

bool TRechercher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        bool handled = false;
        FormKeyDown(static_cast<QKeyEvent *>(event), handled);
        if (handled)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TRechercher::keyPressEvent(QKeyEvent *event)
{
    bool handled = false;
    FormKeyDown(event, handled);
    if (!handled)
        QDialog::keyPressEvent(event);
}

void TRechercher::FormKeyDown(QKeyEvent *event, bool &handled)
{
    const bool ctrlBreak = event->key() == Qt::Key_Cancel
        || (event->key() == Qt::Key_Pause && event->modifiers() & Qt::ControlModifier);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        BitBtn1Click();
        handled = true;
    } else if (ctrlBreak || event->key() == Qt::Key_Escape) {
        BitBtn2Click();
        handled = true;
    }
}

} // namespace orvane::records
