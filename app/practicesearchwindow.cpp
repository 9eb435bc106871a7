#include "app/practicesearchwindow.h"

#include "app/foundpatientsmodel.h"
#include "app/settingsstore.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/places.h"
#include "records/database.h"
#include "records/patientlist.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

namespace orvane::app {

namespace {

const QString savedGroup = QStringLiteral("Recherches enregistrées");

QLineEdit *lineEdit(const QString &name, int characters)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 16);
    return edit;
}

QComboBox *comboBox(const QString &name, const QStringList &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

QString periodText(const QString &from, const QString &to)
{
    QString text;
    if (!from.trimmed().isEmpty())
        text += QStringLiteral(" du ") + from.trimmed();
    if (!to.trimmed().isEmpty())
        text += QStringLiteral(" au ") + to.trimmed();
    return text;
}

} // namespace

PracticeSearchWindow::PracticeSearchWindow(records::Database &db, DialogService &dialogs, const Clock &clock,
                                           ListPrinter print, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_printList(std::move(print))
{
    setObjectName(QStringLiteral("PracticeSearchWindow"));
    setWindowTitle(QStringLiteral("Recherche multicritère"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *criteria = new QGridLayout;
    buildCriteria(criteria);
    top->addLayout(criteria, 1);
    top->addSpacing(12);

    auto *savedBox = new QVBoxLayout;
    savedBox->addWidget(new QLabel(QStringLiteral("Recherches enregistrées")));
    m_saved = new QListWidget;
    m_saved->setObjectName(QStringLiteral("savedSearches"));
    m_saved->setToolTip(QStringLiteral("Un clic relance la recherche"));
    m_saved->setMaximumWidth(200);
    savedBox->addWidget(m_saved, 1);
    auto *save = new QPushButton(QStringLiteral("Enregistrer la &recherche..."));
    save->setObjectName(QStringLiteral("saveSearch"));
    save->setAutoDefault(false);
    savedBox->addWidget(save);
    top->addLayout(savedBox);
    layout->addLayout(top);

    auto *buttons = new QHBoxLayout;
    m_search = new QPushButton(QStringLiteral("&Chercher"));
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setDefault(true);
    m_stop = new QPushButton(QStringLiteral("&Arrêter (Échap)"));
    m_stop->setObjectName(QStringLiteral("stop"));
    m_printButton = new QPushButton(QStringLiteral("&Imprimer la liste"));
    m_printButton->setObjectName(QStringLiteral("printList"));
    m_csv = new QPushButton(QStringLiteral("Enregistrer en C&SV..."));
    m_csv->setObjectName(QStringLiteral("saveCsv"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    buttons->addWidget(m_search);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_printButton);
    buttons->addWidget(m_csv);
    for (QPushButton *button : {m_stop, m_printButton, m_csv})
        button->setAutoDefault(false);
    layout->addLayout(buttons);

    m_model = new FoundPatientsModel(this);
    m_list = new QTableView;
    m_list->setObjectName(QStringLiteral("foundPatients"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    m_list->setColumnWidth(0, 220);
    m_list->installEventFilter(this);
    layout->addWidget(m_list, 1);

    connect(m_search, &QPushButton::clicked, this, &PracticeSearchWindow::startSearch);
    connect(m_stop, &QPushButton::clicked, this, &PracticeSearchWindow::stopSearch);
    connect(m_printButton, &QPushButton::clicked, this, &PracticeSearchWindow::printList);
    connect(m_csv, &QPushButton::clicked, this, &PracticeSearchWindow::saveCsv);
    connect(save, &QPushButton::clicked, this, &PracticeSearchWindow::saveSearch);
    connect(m_saved, &QListWidget::itemClicked, this, &PracticeSearchWindow::runSaved);
    connect(m_list, &QTableView::doubleClicked, this, &PracticeSearchWindow::openCurrent);
    refreshSaved();
    setSearching(false);
    resize(1100, 640);
}

// A search stopped may still be finishing its row: its thread is waited for before it goes.
PracticeSearchWindow::~PracticeSearchWindow()
{
    stopSearch();
    for (records::PracticeSearchRun *run : findChildren<records::PracticeSearchRun *>()) {
        run->stop();
        run->wait();
    }
}

void PracticeSearchWindow::setAnalytes(const QStringList &names)
{
    m_analytes = names;
    auto *completer = new QCompleter(names, m_labAnalyte);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    delete m_labAnalyte->completer();
    m_labAnalyte->setCompleter(completer);
}

void PracticeSearchWindow::buildCriteria(QLayout *layout)
{
    auto *grid = static_cast<QGridLayout *>(layout);
    m_drug = lineEdit(QStringLiteral("drug"), 24);
    m_drug->setPlaceholderText(QStringLiteral("nom, sans le dosage"));
    m_words = lineEdit(QStringLiteral("words"), 24);
    m_words->setPlaceholderText(QStringLiteral("mot ou expression"));
    m_minimumAge = lineEdit(QStringLiteral("minimumAge"), 3);
    m_maximumAge = lineEdit(QStringLiteral("maximumAge"), 3);
    m_sex = comboBox(QStringLiteral("sex"), {QString(), QStringLiteral("Masculin"), QStringLiteral("Feminin")});
    m_scheme = comboBox(QStringLiteral("scheme"), {QString(), QStringLiteral("R G"), QStringLiteral("ALD"),
                                                   QStringLiteral("CMU"), QStringLiteral("Tutelle"), QStringLiteral("A C")});
    m_pregnant = new QCheckBox(QStringLiteral("Grossesse en cours"));
    m_pregnant->setObjectName(QStringLiteral("pregnant"));
    m_vaccinationKind = comboBox(QStringLiteral("vaccinationKind"), QStringList{QString()} + records::vaccinationKinds());
    m_vaccinationItem = comboBox(QStringLiteral("vaccinationItem"),
                                 {QString(), QStringLiteral("Pentacoq"), QStringLiteral("Tetavax"), QStringLiteral("RORVax"),
                                  QStringLiteral("MonoVax"), QStringLiteral("Vaxigrip"), QStringLiteral("Mammographie")});
    m_from = lineEdit(QStringLiteral("from"), 10);
    m_to = lineEdit(QStringLiteral("to"), 10);
    m_labAnalyte = lineEdit(QStringLiteral("labAnalyte"), 8);
    m_labAnalyte->setPlaceholderText(QStringLiteral("HbA1c"));
    m_labComparison = comboBox(QStringLiteral("labComparison"), records::labComparisons());
    m_labComparison->setCurrentIndex(1);
    m_labValue = lineEdit(QStringLiteral("labValue"), 6);
    m_labHighValue = lineEdit(QStringLiteral("labHighValue"), 6);
    m_labHighValue->setEnabled(false);
    connect(m_labComparison, &QComboBox::currentTextChanged, m_labHighValue, [this](const QString &comparison) {
        m_labHighValue->setEnabled(comparison == records::labComparisons().last());
    });
    m_labWhich = comboBox(QStringLiteral("labWhich"), records::labWhichValues());
    m_labFrom = lineEdit(QStringLiteral("labFrom"), 10);
    m_labTo = lineEdit(QStringLiteral("labTo"), 10);
    for (QLineEdit *date : {m_from, m_to, m_labFrom, m_labTo})
        date->setPlaceholderText(QStringLiteral("jj/mm/aaaa"));

    // The message on a criterion that cannot be read stands right after its field.
    const auto row = [&](int at, const QString &label, const QList<QWidget *> &fields, const QStringList &criteria) {
        grid->addWidget(new QLabel(label), at, 0);
        auto *line = new QHBoxLayout;
        for (QWidget *field : fields)
            line->addWidget(field);
        if (criteria.isEmpty())
            line->addStretch(1);
        else
            line->addWidget(problemLabel(criteria), 1);
        grid->addLayout(line, at, 1);
    };
    row(0, QStringLiteral("Médicament"), {m_drug}, {QStringLiteral("drug")});
    row(1, QStringLiteral("Texte des notes"), {m_words}, {QStringLiteral("words")});
    row(2, QStringLiteral("Âge de"), {m_minimumAge, new QLabel(QStringLiteral("à")), m_maximumAge, new QLabel(QStringLiteral("ans"))},
        {QStringLiteral("minimumAge"), QStringLiteral("maximumAge")});
    row(3, QStringLiteral("Sexe"), {m_sex, new QLabel(QStringLiteral("Régime")), m_scheme, m_pregnant}, {});
    row(4, QStringLiteral("Analyse"),
        {m_labAnalyte, m_labComparison, m_labValue, new QLabel(QStringLiteral("et")), m_labHighValue, m_labWhich},
        {QStringLiteral("labAnalyte"), QStringLiteral("labValue"), QStringLiteral("labHighValue")});
    row(5, QStringLiteral("Analyse faite"), {new QLabel(QStringLiteral("du")), m_labFrom, new QLabel(QStringLiteral("au")), m_labTo},
        {QStringLiteral("labFrom"), QStringLiteral("labTo")});
    row(6, QStringLiteral("Vaccination ou dépistage"), {m_vaccinationItem, m_vaccinationKind},
        {QStringLiteral("vaccinationItem")});
    row(7, QStringLiteral("Période"), {new QLabel(QStringLiteral("du")), m_from, new QLabel(QStringLiteral("au")), m_to},
        {QStringLiteral("from"), QStringLiteral("to")});
    grid->addWidget(problemLabel({QString()}), 8, 1);
    grid->setColumnStretch(1, 1);
}

// One label for the criteria of a row, named after the first.
QLabel *PracticeSearchWindow::problemLabel(const QStringList &criteria)
{
    auto *label = new QLabel;
    label->setObjectName(criteria.first().isEmpty() ? QStringLiteral("problem") : criteria.first() + QStringLiteral("Problem"));
    label->setStyleSheet(QStringLiteral("color: #b00000"));
    for (const QString &criterion : criteria)
        m_problems.insert(criterion, label);
    return label;
}

records::TypedCriteria PracticeSearchWindow::typed() const
{
    records::TypedCriteria typed;
    typed.drug = m_drug->text();
    typed.words = m_words->text();
    typed.minimumAge = m_minimumAge->text();
    typed.maximumAge = m_maximumAge->text();
    typed.sex = m_sex->currentText();
    typed.scheme = m_scheme->currentText();
    typed.pregnant = m_pregnant->isChecked();
    typed.vaccinationKind = m_vaccinationKind->currentText();
    typed.vaccinationItem = m_vaccinationItem->currentText();
    typed.from = m_from->text();
    typed.to = m_to->text();
    typed.labAnalyte = records::knownSpelling(m_labAnalyte->text(), m_analytes);
    typed.labComparison = m_labComparison->currentText();
    typed.labValue = m_labValue->text();
    typed.labHighValue = m_labHighValue->isEnabled() ? m_labHighValue->text() : QString();
    typed.labWhich = m_labWhich->currentText();
    typed.labFrom = m_labFrom->text();
    typed.labTo = m_labTo->text();
    return typed;
}

void PracticeSearchWindow::showTyped(const records::TypedCriteria &typed)
{
    m_drug->setText(typed.drug);
    m_words->setText(typed.words);
    m_minimumAge->setText(typed.minimumAge);
    m_maximumAge->setText(typed.maximumAge);
    m_sex->setCurrentText(typed.sex);
    m_scheme->setCurrentText(typed.scheme);
    m_pregnant->setChecked(typed.pregnant);
    m_vaccinationKind->setCurrentText(typed.vaccinationKind);
    m_vaccinationItem->setCurrentText(typed.vaccinationItem);
    m_from->setText(typed.from);
    m_to->setText(typed.to);
    m_labAnalyte->setText(typed.labAnalyte);
    if (!typed.labComparison.isEmpty())
        m_labComparison->setCurrentText(typed.labComparison);
    m_labValue->setText(typed.labValue);
    m_labHighValue->setText(typed.labHighValue);
    if (!typed.labWhich.isEmpty())
        m_labWhich->setCurrentText(typed.labWhich);
    m_labFrom->setText(typed.labFrom);
    m_labTo->setText(typed.labTo);
}

// The criteria in words, as the printed list recalls them.
QString PracticeSearchWindow::criteriaText(const records::TypedCriteria &typed) const
{
    QStringList parts;
    const auto add = [&parts](const QString &label, const QString &value) {
        if (!value.trimmed().isEmpty())
            parts.append(label + value.trimmed());
    };
    add(QStringLiteral("médicament : "), typed.drug);
    add(QStringLiteral("texte : "), typed.words);
    add(QStringLiteral("âge à partir de "), typed.minimumAge);
    add(QStringLiteral("âge jusqu'à "), typed.maximumAge);
    add(QStringLiteral("sexe : "), typed.sex);
    add(QStringLiteral("régime : "), typed.scheme);
    if (typed.pregnant)
        parts.append(QStringLiteral("grossesse en cours"));
    if (!typed.vaccinationKind.isEmpty()) {
        add(QString(), QStringLiteral("%1 %2 %3%4").arg(typed.vaccinationItem, typed.vaccinationKind, typed.from,
                                                          typed.to.isEmpty() ? QString() : QStringLiteral(" au ") + typed.to));
    }
    if (!typed.labAnalyte.trimmed().isEmpty()) {
        QString lab = QStringLiteral("%1 %2 %3").arg(typed.labAnalyte.trimmed(), typed.labComparison, typed.labValue.trimmed());
        if (typed.labComparison == records::labComparisons().last())
            lab += QStringLiteral(" et ") + typed.labHighValue.trimmed();
        lab += QStringLiteral(" (%1)").arg(typed.labWhich);
        add(QString(), lab + periodText(typed.labFrom, typed.labTo));
    }
    return parts.join(QLatin1String(", "));
}

void PracticeSearchWindow::setSearching(bool searching)
{
    m_search->setEnabled(!searching);
    m_stop->setEnabled(searching);
    m_printButton->setEnabled(!searching && m_model->found() > 0);
    m_csv->setEnabled(!searching && m_model->found() > 0);
}

void PracticeSearchWindow::startSearch()
{
    if (isSearching())
        return;
    const records::TypedCriteria criteria = typed();
    records::CriteriaReading reading = records::readCriteria(criteria, m_clock.today());
    if (reading.criteria.labValue && !records::holdsResults(m_db.connection().tables()))
        reading.problems.insert(QStringLiteral("labAnalyte"), records::noResultsStored());
    QMap<QLabel *, QStringList> said;
    for (auto label = m_problems.cbegin(); label != m_problems.cend(); ++label) {
        said[label.value()];
        if (reading.problems.contains(label.key()))
            said[label.value()].append(reading.problems.value(label.key()));
    }
    for (auto label = said.cbegin(); label != said.cend(); ++label)
        label.key()->setText(label.value().join(QLatin1String(" ; ")));
    if (!reading.problems.isEmpty()) {
        m_status->clear();
        return;
    }
    m_model->clear();
    m_shownCriteria = criteriaText(criteria);
    m_status->setText(QStringLiteral("Recherche en cours..."));
    m_run = new records::PracticeSearchRun(records::sameBase(m_db), reading.criteria, m_clock.today(), this);
    connect(m_run, &records::PracticeSearchRun::found, this, &PracticeSearchWindow::addFound);
    connect(m_run, &records::PracticeSearchRun::ended, this, &PracticeSearchWindow::searchEnded);
    connect(m_run, &QThread::finished, m_run, &QObject::deleteLater);
    setSearching(true);
    m_run->start();
}

// The window is free at once; the thread ends by itself at its next row and takes its connection with it.
void PracticeSearchWindow::stopSearch()
{
    if (!m_run)
        return;
    records::PracticeSearchRun *run = m_run;
    run->stop();
    disconnect(run, &records::PracticeSearchRun::found, this, nullptr);
    disconnect(run, &records::PracticeSearchRun::ended, this, nullptr);
    m_run = nullptr;
    m_status->setText(QStringLiteral("Recherche arrêtée : %1 patient(s) listé(s)").arg(m_model->found()));
    setSearching(false);
}

void PracticeSearchWindow::addFound(const QList<records::FoundPatient> &patients)
{
    m_model->add(patients);
    m_status->setText(QStringLiteral("Recherche en cours... %1 patient(s)").arg(m_model->found()));
}

void PracticeSearchWindow::searchEnded(int count, const QString &failure)
{
    m_run = nullptr;
    if (failure.isEmpty())
        m_status->setText(QStringLiteral("%1 patient(s) trouvé(s)").arg(count));
    else
        m_status->setText(QStringLiteral("La recherche a échoué : %1").arg(failure));
    setSearching(false);
    if (m_model->rowCount() > 0 && !m_list->currentIndex().isValid())
        m_list->setCurrentIndex(m_model->index(0, 0));
}

QList<records::FoundPatient> PracticeSearchWindow::listedPatients() const
{
    return m_model->listed();
}

void PracticeSearchWindow::openCurrent()
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return;
    emit patientChosen(m_model->patientAt(current.row()).rowId);
}

void PracticeSearchWindow::printList()
{
    QList<QStringList> rows;
    for (const records::FoundPatient &patient : listedPatients())
        rows.append(records::patientListCells(patient));
    m_printList(m_shownCriteria, rows);
}

void PracticeSearchWindow::saveCsv()
{
    const QString path = m_dialogs.chooseFileToSave(this, places::programFolder(), QStringLiteral("Fichiers CSV (*.csv)"),
                                                    QStringLiteral("Enregistrer la liste"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(records::patientListCsv(listedPatients())) < 0 || !file.commit()) {
        m_dialogs.showMessage(this, QStringLiteral("La liste ne peut pas être enregistrée dans %1 : %2")
                                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

void PracticeSearchWindow::saveSearch()
{
    const auto name = m_dialogs.askText(this, QStringLiteral("Enregistrer la recherche"),
                                        QStringLiteral("Nom de la recherche"), QString());
    if (!name || name->trimmed().isEmpty())
        return;
    const auto key = places::registryKey(SettingsStore::keyName);
    key->beginGroup(savedGroup);
    key->setValue(name->trimmed(), typed().toMap());
    key->endGroup();
    refreshSaved();
}

void PracticeSearchWindow::runSaved()
{
    const QListWidgetItem *item = m_saved->currentItem();
    if (!item || isSearching())
        return;
    const auto key = places::registryKey(SettingsStore::keyName);
    key->beginGroup(savedGroup);
    showTyped(records::TypedCriteria::fromMap(key->value(item->text()).toMap()));
    key->endGroup();
    startSearch();
}

void PracticeSearchWindow::refreshSaved()
{
    const auto key = places::registryKey(SettingsStore::keyName);
    key->beginGroup(savedGroup);
    m_saved->clear();
    m_saved->addItems(key->childKeys());
    key->endGroup();
}

void PracticeSearchWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && isSearching()) {
        stopSearch();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PracticeSearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openCurrent();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PracticeSearchWindow::closeEvent(QCloseEvent *event)
{
    stopSearch();
    QDialog::closeEvent(event);
}

} // namespace orvane::app
