#include "clinical/tacuitearch.h"

#include "clinical/colourfile.h"
#include "platform/dialogservice.h"
#include "records/boundcontrols.h"
#include "records/schema.h"
#include "records/table.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::clinical {

namespace {

const QString nameField = QStringLiteral("NomPrénom");

} // namespace

Tacuitearch::Tacuitearch(records::Database &db, DialogService &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_table(std::make_unique<records::Table>(db, records::tables::archive))
    , m_name(new QLineEdit(this))
    , m_text(new QPlainTextEdit(this))
    , m_recordNumberShown(new QLineEdit(this))
    , m_recordNumber(new QLineEdit(this))
    , m_newRowName(new QLineEdit(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("acuitearch"));
    m_table->setObjectName(QStringLiteral("Table1"));
    m_name->setObjectName(QStringLiteral("Nomprenom"));
    m_name->setMaxLength(100);
    m_text->setObjectName(QStringLiteral("acuarch"));
    m_text->setFont(QFont(QStringLiteral("Arial")));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_recordNumberShown->setObjectName(QStringLiteral("dossier"));
    m_recordNumber->setObjectName(QStringLiteral("Edit1"));
    m_newRowName->setObjectName(QStringLiteral("Edit2"));
    for (QLineEdit *hidden : {m_recordNumberShown, m_recordNumber, m_newRowName})
        hidden->hide();
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    connect(m_ok, &QPushButton::clicked, this, &Tacuitearch::BitBtn1Click);
    new records::BoundLineEdit(m_name, *m_table, nameField);
    new records::BoundLineEdit(m_recordNumberShown, *m_table, records::recordNumberField);

    auto *menu = new QMenuBar(this);
    QMenu *edition = menu->addMenu(QStringLiteral("&Edition"));
    connect(edition->addAction(QStringLiteral("&Copier")), &QAction::triggered, this, &Tacuitearch::Copier1Click);
    connect(edition->addAction(QStringLiteral("C&oller")), &QAction::triggered, this, &Tacuitearch::Coller1Click);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(m_name);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_ok, 0, Qt::AlignCenter);
    resize(520, 420);
    FormCreate();
}

Tacuitearch::~Tacuitearch() = default;

void Tacuitearch::FormCreate()
{
    QPalette window = palette();
    window.setColor(QPalette::Window, Qt::lightGray);
    setPalette(window);
    setAutoFillBackground(true);

    const ColourReading reading = readColourFile(colourFilePath(), 3, palette());
    // In file order: the window, then the fields' background, then their text.
    const QList<QPair<QList<QWidget *>, QPalette::ColorRole>> targets = {
        {{this}, QPalette::Window}, {{m_name, m_text}, QPalette::Base}, {{m_name, m_text}, QPalette::Text}};
    for (int i = 0; i < reading.colours.size(); ++i) {
        if (!reading.colours.at(i))
            continue;
        for (QWidget *widget : targets.at(i).first) {
            QPalette colours = widget->palette();
            colours.setColor(targets.at(i).second, *reading.colours.at(i));
            widget->setPalette(colours);
        }
    }
    if (!reading.error.isEmpty())
        m_dialogs.showError(reading.error);
}

void Tacuitearch::showArchive(const QString &field, const QString &recordNumber, const QString &name,
                              const QString &caption)
{
    delete m_textBinding;
    m_textBinding = nullptr;
    m_table->close();
    m_recordNumber->setText(recordNumber);
    m_newRowName->setText(name);
    setWindowTitle(caption);
    // Without a patient no row is shown, rather than the first patient's archive.
    if (!recordNumber.isEmpty()) {
        m_table->open();
        m_textBinding = new records::BoundMemo(m_text, *m_table, field);
    } else {
        m_text->clear();
        m_name->clear();
    }
    m_dialogs.execModal(*this);
}

void Tacuitearch::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void Tacuitearch::FormActivate()
{
    if (!m_recordNumber->text().isEmpty() && m_table->isOpen()
        && !m_table->locate(records::recordNumberField, m_recordNumber->text())) {
        m_table->insert();
        m_table->setText(records::recordNumberField, m_recordNumber->text());
        m_table->setText(nameField, m_newRowName->text());
    }
    m_ok->setFocus();
}

void Tacuitearch::BitBtn1Click()
{
    if (m_table->isOpen()) {
        m_table->edit();
        m_table->post();
        m_table->close();
    }
    accept();
}

void Tacuitearch::reject()
{
    BitBtn1Click();
}

void Tacuitearch::Copier1Click()
{
    m_text->selectAll();
    m_text->copy();
}

void Tacuitearch::Coller1Click()
{
    m_text->setFocus();
    m_text->paste();
}

} // namespace orvane::clinical
