#include "prescribing/tordonnance.h"

#include "platform/dialogservice.h"
#include "platform/radiogroup.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::prescribing {

namespace {

struct LineDefinition
{
    const char *label;
    QString PrintSettings::*setting;
    // The preview's look, as the letterhead prints the line.
    int points;
    bool bold;
    bool italic;
};

// In the order of the fields `Edit1` to `Edit8` and of the previews `Panel2` to `Panel9`.
const LineDefinition lines[Tordonnance::lineCount] = {
    {"Nom et Prénom", &PrintSettings::identifiant, 11, true, false},
    {"Saisie Libre", &PrintSettings::diplome, 8, false, true},
    {"N° d'inscription", &PrintSettings::securite, 8, false, false},
    {"Saisie Libre", &PrintSettings::libre1, 8, false, true},
    {"Saisie Libre", &PrintSettings::libre2, 8, false, true},
    {"Saisie Libre", &PrintSettings::ville, 10, true, false},
    {"Saisie Libre", &PrintSettings::residence, 9, true, false},
    {"Téléphone", &PrintSettings::telephone, 9, true, false},
};
// The previews of the first five lines stand in the left column, the others in the right one.
constexpr int leftColumnLines = 5;

QLabel *previewLine(const QString &name, QWidget *parent)
{
    auto *line = new QLabel(parent);
    line->setObjectName(name);
    line->setTextFormat(Qt::PlainText);
    QPalette black = line->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    line->setPalette(black);
    return line;
}

} // namespace

Tordonnance::Tordonnance(DialogService &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ordonnance"));
    setWindowTitle(QStringLiteral("EnTête Ordonnance"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());

    m_aga = new RadioGroup(QStringLiteral("Membre d'une A.G.A"), {QStringLiteral("Oui"), QStringLiteral("Non")}, 2,
                           this);
    m_aga->setObjectName(QStringLiteral("aga"));
    layout->addWidget(m_aga);

    auto *previewLabel = new QLabel(QStringLiteral("&Apparence de l'En-Tête"), this);
    previewLabel->setObjectName(QStringLiteral("Label9"));
    layout->addWidget(previewLabel);
    QWidget *preview = buildPreview();
    previewLabel->setBuddy(preview);
    layout->addWidget(preview);
    // The preview shows each line as it is typed.
    for (int i = 0; i < lineCount; ++i)
        connect(m_edits[i], &QLineEdit::textChanged, m_previews[i], &QLabel::setText);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

QWidget *Tordonnance::buildFields()
{
    void (Tordonnance::*const fontButtons[lineCount])() = {
        &Tordonnance::Button1Click, &Tordonnance::Button2Click, &Tordonnance::Button3Click,
        &Tordonnance::Button4Click, &Tordonnance::Button5Click, &Tordonnance::Button6Click,
        &Tordonnance::Button7Click, &Tordonnance::Button8Click,
    };
    auto *fields = new QWidget(this);
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < lineCount; ++i) {
        const QString number = QString::number(i + 1);
        auto *label = new QLabel(QString::fromUtf8(lines[i].label), fields);
        label->setObjectName(QStringLiteral("Label") + number);
        m_edits[i] = new QLineEdit(fields);
        m_edits[i]->setObjectName(QStringLiteral("Edit") + number);
        m_edits[i]->setMinimumWidth(320);
        label->setBuddy(m_edits[i]);
        auto *font = new QPushButton(QStringLiteral("F.."), fields);
        font->setObjectName(QStringLiteral("Button") + number);
        font->setAutoDefault(false);
        connect(font, &QPushButton::clicked, this, fontButtons[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_edits[i], i, 1);
        grid->addWidget(font, i, 2);
    }
    grid->setColumnStretch(1, 1);
    return fields;
}

QWidget *Tordonnance::buildPreview()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);

    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    for (int i = 0; i < lineCount; ++i) {
        m_previews[i] = previewLine(QStringLiteral("Panel%1").arg(i + 2), panel);
        QFont font(QStringLiteral("Times New Roman"), lines[i].points);
        font.setBold(lines[i].bold);
        font.setItalic(lines[i].italic);
        m_previews[i]->setFont(font);
        // An empty line keeps its place, as on paper.
        m_previews[i]->setMinimumHeight(QFontMetrics(font).height());
        (i < leftColumnLines ? left : right)->addWidget(m_previews[i]);
    }
    QLabel *date = previewLine(QStringLiteral("Panel10"), panel);
    date->setText(QStringLiteral("           Le:"));
    date->setFont(QFont(QStringLiteral("Times New Roman"), 9));
    right->addWidget(date);
    left->addStretch();
    right->addStretch();

    auto *columns = new QHBoxLayout(panel);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    return panel;
}

void Tordonnance::load(const PrintSettings &settings)
{
    m_settings = settings;
    for (int i = 0; i < lineCount; ++i)
        m_edits[i]->setText(settings.*lines[i].setting);
    // Only 0 and 1 name a choice; a stored value of another kind shows neither.
    m_aga->setItemIndex(settings.aga);
}

PrintSettings Tordonnance::edited() const
{
    PrintSettings settings = m_settings;
    for (int i = 0; i < lineCount; ++i)
        settings.*lines[i].setting = m_edits[i]->text();
    settings.aga = m_aga->itemIndex();
    return settings;
}

void Tordonnance::FormActivate()
{
    for (int i = 0; i < lineCount; ++i)
        m_previews[i]->setText(m_edits[i]->text());
}

void Tordonnance::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void Tordonnance::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void Tordonnance::choosePreviewFont(int line)
{
    QLabel *preview = m_previews[line];
    if (const std::optional<QFont> font = m_dialogs.chooseFont(this, preview->font()))
        preview->setFont(*font);
}

void Tordonnance::Button1Click() { choosePreviewFont(0); }
void Tordonnance::Button2Click() { choosePreviewFont(1); }
void Tordonnance::Button3Click() { choosePreviewFont(2); }
void Tordonnance::Button4Click() { choosePreviewFont(3); }
void Tordonnance::Button5Click() { choosePreviewFont(4); }
void Tordonnance::Button6Click() { choosePreviewFont(5); }
void Tordonnance::Button7Click() { choosePreviewFont(6); }
void Tordonnance::Button8Click() { choosePreviewFont(7); }

} // namespace orvane::prescribing
