#include "clinical/finddialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::clinical {

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent)
    , m_text(new QLineEdit(this))
    , m_findNext(new QPushButton(QStringLiteral("&Suivant"), this))
{
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Rechercher"));
    setModal(false);
    m_text->setObjectName(QStringLiteral("findText"));
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("Annuler"), this);
    close->setObjectName(QStringLiteral("cancel"));

    auto *label = new QLabel(QStringLiteral("&Rechercher :"), this);
    label->setBuddy(m_text);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_findNext);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::find);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const
{
    return m_text->text();
}

void FindDialog::setFindText(const QString &text)
{
    m_text->setText(text);
}

} // namespace orvane::clinical
