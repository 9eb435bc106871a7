#include "vidal/standin/accessvidalwindow.h"

#include "vidal/standin/drugcatalogue.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::vidal {

namespace {

constexpr int shownDrugs = 25;

QString sexText(int sexIndex)
{
    switch (sexIndex) {
    case 0: return QStringLiteral("Masculin");
    case 1: return QStringLiteral("Féminin");
    default: return QStringLiteral("non précisé");
    }
}

QLabel *valueLabel(const QString &text, const QString &name)
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AccessVidalWindow::AccessVidalWindow(const std::optional<VidalPatient> &patient, const DrugCatalogue &catalogue,
                                     QWidget *parent)
    : QDialog(parent)
    , m_catalogue(catalogue)
{
    setWindowTitle(QStringLiteral("Accès Vidal (programme d'essai)"));

    auto *drugsBox = new QGroupBox(QStringLiteral("Médicaments"));
    auto *drugsLayout = new QVBoxLayout(drugsBox);
    const QString source = catalogue.isPracticeList()
        ? QStringLiteral("Liste des médicaments du cabinet")
        : QStringLiteral("Échantillon intégré (%1)").arg(catalogue.fallbackReason());
    auto *sourceLabel = valueLabel(source, QStringLiteral("source"));
    sourceLabel->setWordWrap(true);
    drugsLayout->addWidget(sourceLabel);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("recherche"));
    m_search->setPlaceholderText(QStringLiteral("Recherche"));
    drugsLayout->addWidget(m_search);
    m_drugs = new QListWidget;
    m_drugs->setObjectName(QStringLiteral("medicaments"));
    drugsLayout->addWidget(m_drugs);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(patientBox(patient));
    layout->addWidget(drugsBox, 1);
    layout->addWidget(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &AccessVidalWindow::showDrugsFrom);
    connect(m_drugs, &QListWidget::itemChanged, this, &AccessVidalWindow::itemTicked);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showDrugsFrom(QString());
}

QWidget *AccessVidalWindow::patientBox(const std::optional<VidalPatient> &patient)
{
    auto *box = new QGroupBox(QStringLiteral("Patient transmis par Orvane"));
    auto *form = new QFormLayout(box);
    if (!patient) {
        form->addRow(valueLabel(QStringLiteral("Aucune demande Orvane dans le presse-papiers."),
                                QStringLiteral("aucunedemande")));
        return box;
    }
    form->addRow(QStringLiteral("Sexe"), valueLabel(sexText(patient->sexIndex), QStringLiteral("sexe")));
    form->addRow(QStringLiteral("Âge"), valueLabel(patient->age, QStringLiteral("age")));
    form->addRow(QStringLiteral("Taille"), valueLabel(patient->lastHeight, QStringLiteral("taille")));
    form->addRow(QStringLiteral("Poids"), valueLabel(patient->lastWeight, QStringLiteral("poids")));
    form->addRow(QStringLiteral("Semaines de grossesse"),
                 valueLabel(patient->pregnancyWeeks, QStringLiteral("semaines")));
    form->addRow(QStringLiteral("Clairance"), valueLabel(patient->clearance, QStringLiteral("clearance")));
    auto *allergies = new QPlainTextEdit(patient->allergies);
    allergies->setObjectName(QStringLiteral("allergies"));
    allergies->setReadOnly(true);
    allergies->setMaximumHeight(allergies->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow(QStringLiteral("Allergies"), allergies);
    return box;
}

void AccessVidalWindow::showDrugsFrom(const QString &prefix)
{
    const QSignalBlocker quiet(m_drugs);
    m_drugs->clear();
    for (const QString &name : m_catalogue.from(prefix, shownDrugs)) {
        auto *item = new QListWidgetItem(name, m_drugs);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(m_chosen.contains(name) ? Qt::Checked : Qt::Unchecked);
    }
}

void AccessVidalWindow::itemTicked(QListWidgetItem *item)
{
    const QString name = item->text();
    m_chosen.removeAll(name);
    if (item->checkState() == Qt::Checked)
        m_chosen.append(name);
}

QStringList AccessVidalWindow::chosenLines() const
{
    QStringList lines;
    // Framed by "- " and " -" so that Orvane logs exactly the drug's name.
    for (const QString &name : m_chosen)
        lines.append(QStringLiteral("- ") + name + QStringLiteral(" -"));
    return lines;
}

} // namespace orvane::vidal
