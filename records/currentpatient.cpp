#include "records/currentpatient.h"

#include "platform/conversions.h"
#include "records/database.h"

#include <algorithm>
#include <QMap>

namespace orvane::records {

const QString CurrentPatient::mainOrdering = QStringLiteral("NomPrénom;Nom;Prénom;N°Dossier");
const QString CurrentPatient::nameOrdering = QStringLiteral("NomPrénom");

CurrentPatient::CurrentPatient(Database &db, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_patients(std::make_unique<Table>(db, tables::patients))
    , m_counter(std::make_unique<Table>(db, tables::counter))
    , m_history(std::make_unique<Table>(db, tables::history))
    , m_consultations(std::make_unique<Table>(db, tables::consultations))
    , m_treatments(std::make_unique<Table>(db, tables::treatments))
    , m_measures(std::make_unique<Table>(db, tables::measures))
    , m_insurance(std::make_unique<Table>(db, tables::insurance))
    , m_archive(std::make_unique<Table>(db, tables::archive))
    , m_drugs(std::make_unique<Table>(db, tables::drugs))
    , m_historyWords(std::make_unique<Table>(db, tables::historyWords))
    , m_reasons(std::make_unique<Table>(db, tables::reasons))
    , m_examinations(std::make_unique<Table>(db, tables::examinations))
{
    for (Table *detail : {m_history.get(), m_consultations.get(), m_treatments.get(), m_measures.get(),
                          m_insurance.get(), m_archive.get()})
        detail->setMaster(m_patients.get());
}

CurrentPatient::~CurrentPatient() = default;

void CurrentPatient::open()
{
    m_patients->setOrdering(mainOrdering);
    for (Table *table : {m_patients.get(), m_counter.get(), m_history.get(), m_consultations.get(),
                         m_treatments.get(), m_measures.get(), m_insurance.get(), m_archive.get(), m_drugs.get(),
                         m_historyWords.get(), m_reasons.get(), m_examinations.get()})
        table->open();
}

QList<Table *> CurrentPatient::allTables() const
{
    return {m_history.get(), m_consultations.get(), m_treatments.get(), m_measures.get(),
            m_insurance.get(), m_archive.get(), m_patients.get(), m_counter.get(),
            m_drugs.get(), m_historyWords.get(), m_reasons.get(), m_examinations.get()};
}

void CurrentPatient::close()
{
    if (isUntouchedNewFile())
        m_patients->cancel();
    const QList<Table *> all = allTables();
    for (Table *table : all)
        table->checkBrowseMode();
    for (Table *table : all)
        table->close();
}

bool CurrentPatient::isUntouchedNewFile() const
{
    // A new file opened by mistake holds only the number it was given, and the blank name that
    // leaving its name boxes composed: nothing of the physician's.
    if (m_patients->state() != Table::State::Insert)
        return false;
    const QStringList changed = m_patients->changedFieldNames();
    return std::all_of(changed.cbegin(), changed.cend(), [this](const QString &field) {
        return field == recordNumberField || m_patients->text(field).trimmed().isEmpty();
    });
}

QStringList CurrentPatient::unsavedParts()
{
    const QMap<QString, QString> names = {
        {tables::history, QStringLiteral("les antécédents")},
        {tables::consultations, QStringLiteral("les notes de consultation")},
        {tables::treatments, QStringLiteral("le traitement")},
        {tables::measures, QStringLiteral("les mesures et résultats")},
        {tables::insurance, QStringLiteral("le régime d'assurance maladie")},
        {tables::archive, QStringLiteral("l'archive")}};
    const QString patient = m_patients->isOpen() ? m_patients->text(QStringLiteral("NomPrénom")).trimmed() : QString();
    QStringList parts;
    for (Table *table : allTables()) {
        if (!table->isEditing() || table->changedFieldNames().isEmpty())
            continue;
        if (table == m_patients.get()) {
            const QString file = table->state() == Table::State::Insert ? QStringLiteral("le nouveau dossier")
                                                                       : QStringLiteral("l'identité");
            parts.append(patient.isEmpty() ? file : QStringLiteral("%1 de %2").arg(file, patient));
        } else {
            parts.append(names.value(table->tableName(), QStringLiteral("la liste %1").arg(table->tableName())));
        }
    }
    return parts;
}

void CurrentPatient::closeWithoutStoring()
{
    for (Table *table : allTables()) {
        table->cancel();
        table->close();
    }
}

void CurrentPatient::storeRows(const QList<Table *> &tables)
{
    // Without any patient there is no number to give the rows.
    if (m_patients->isEmpty())
        return;
    for (Table *table : tables)
        table->edit();
    // One transaction: one write to disk for the four rows, and on a server few round trips.
    Table::postTogether(tables);
}

void CurrentPatient::storeClinicalRows()
{
    storeRows({m_consultations.get(), m_history.get(), m_measures.get(), m_treatments.get()});
}

void CurrentPatient::storeOpenRows()
{
    storeRows({m_consultations.get(), m_history.get(), m_treatments.get()});
}

void CurrentPatient::step(bool forward)
{
    storeClinicalRows();
    m_patients->refreshAndStep(forward);
}

void CurrentPatient::previous()
{
    step(false);
}

void CurrentPatient::next()
{
    step(true);
}

void CurrentPatient::beginNewFile()
{
    storeClinicalRows();
    m_patients->refresh();
    m_patients->insert();
    try {
        // The increment reads the value any other running copy stored in the same statement.
        const double number = m_counter->increment(recordNumberField);
        m_patients->setValue(recordNumberField, number);
    } catch (...) {
        m_patients->cancel();
        throw;
    }
}

QStringList CurrentPatient::fillFromCarteVitale(const CarteVitaleIdentity &identity)
{
    m_patients->edit();
    QStringList cut;
    const QList<QPair<QString, QString>> names = {{QStringLiteral("Nom"), identity.nom},
                                                  {QStringLiteral("Prénom"), identity.prenom},
                                                  {QStringLiteral("NomPrénom"), identity.nom + QLatin1Char(' ') + identity.prenom}};
    for (const auto &[field, text] : names) {
        m_patients->setText(field, text);
        if (m_patients->text(field).size() < text.size())
            cut.append(field);
    }
    // A reader's text with something else than digits at a date's place leaves that part empty.
    const QList<QPair<QString, QString>> birth = {{QStringLiteral("Jour"), identity.jour},
                                                  {QStringLiteral("Mois"), identity.mois},
                                                  {QStringLiteral("Année"), identity.annee}};
    for (const auto &[field, text] : birth) {
        if (const auto value = parseWholeNumber(text))
            m_patients->setValue(field, double(*value));
    }
    return cut;
}

void CurrentPatient::validate()
{
    // The name searched on follows the surname and forename as they are stored.
    composeName();
    m_patients->edit();
    m_patients->post();
}

void CurrentPatient::removePatient()
{
    m_patients->edit();
    m_patients->remove();
}

void CurrentPatient::composeName()
{
    if (!m_patients->isOpen() || m_patients->isEmpty())
        return;
    const QString composed = m_patients->text(QStringLiteral("Nom")) + QLatin1Char(' ')
        + m_patients->text(QStringLiteral("Prénom"));
    if (composed == m_patients->text(QStringLiteral("NomPrénom")))
        return;
    m_patients->edit();
    m_patients->setText(QStringLiteral("NomPrénom"), composed);
}

bool CurrentPatient::goToPatient(const QVariantList &mainOrderingKey)
{
    return goToPatientFound([&] { return m_patients->findKey(mainOrderingKey); });
}

bool CurrentPatient::goToPatientRow(qint64 rowId)
{
    return goToPatientFound([&] { return m_patients->gotoRowId(rowId); });
}

bool CurrentPatient::goToPatientFound(const std::function<bool()> &find)
{
    storeClinicalRows();
    // The search reads the base as it is now; only when it finds nothing does the row stay, refreshed.
    m_patients->setOrdering(mainOrdering);
    if (find())
        return true;
    m_patients->refresh();
    return false;
}

void CurrentPatient::findByName(const QString &typed)
{
    m_patients->setOrdering(nameOrdering);
    m_patients->findNearest({typed});
}

bool CurrentPatient::findByNumber(const QString &typed)
{
    return m_patients->locate(recordNumberField, typed);
}

std::optional<int> ageFromYearText(const QString &yearText, int currentYear)
{
    if (yearText.isEmpty())
        return std::nullopt;
    const qint64 year = toWholeNumber(yearText);
    if (year > currentYear)
        return std::nullopt;
    return int(currentYear - year);
}

} // namespace orvane::records
