#include "messaging/tajout.h"

#include "platform/screenplacement.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orvane::messaging {

Tajout::Tajout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ajout"));
    setWindowTitle(QStringLiteral("Correspondants"));
    widenForTitle(*this);
    setModal(true);
    new QFormLayout(this);
    m_nom = addEdit("nom", QStringLiteral("Nom Prénom:"));
    m_adresse = addEdit("adresse", QStringLiteral("Adresse:"));
    m_spec = addEdit("spec", QStringLiteral("Spécialité:"));
    m_email = addEdit("email", QStringLiteral("Email:"));

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    static_cast<QFormLayout *>(layout())->addRow(buttons);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_email, &QLineEdit::textChanged, this, &Tajout::emailChange);
    connect(m_nom, &QLineEdit::textChanged, this, &Tajout::emailChange);
    reset();
}

QLineEdit *Tajout::addEdit(const char *name, const QString &label)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    static_cast<QFormLayout *>(layout())->addRow(label, edit);
    return edit;
}

void Tajout::reset()
{
    for (QLineEdit *edit : {m_nom, m_adresse, m_spec, m_email})
        edit->clear();
    m_ok->setEnabled(false);
}

void Tajout::emailChange()
{
    m_ok->setEnabled(!m_nom->text().trimmed().isEmpty() && m_email->text().contains(QLatin1Char('@')));
}

Correspondent Tajout::correspondent() const
{
    return {m_nom->text(), m_adresse->text(), m_spec->text(), m_email->text().trimmed()};
}

} // namespace orvane::messaging
