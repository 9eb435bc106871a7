#include "vidal/standin/drugcatalogue.h"

#include "platform/error.h"
#include "records/alias.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/table.h"

#include <QFileInfo>
#include <algorithm>

namespace orvane::vidal {

namespace {

const QString brandField = QStringLiteral("Marque");

} // namespace

DrugCatalogue::DrugCatalogue(const QString &programFolder)
{
    try {
        const records::AliasSettings alias = records::AliasSettings::load(programFolder);
        if (alias.isSqlite() && !QFileInfo::exists(alias.sqlitePath(programFolder))) {
            m_fallbackReason = QStringLiteral("pas de base Orvane (%1)").arg(alias.describe(programFolder));
            return;
        }
        auto db = std::make_unique<records::Database>(alias, programFolder);
        auto drugs = std::make_unique<records::Table>(*db, records::tables::drugs);
        drugs->open();
        drugs->setOrdering(brandField);
        drugs->first();
        if (drugs->isEmpty()) {
            m_fallbackReason = QStringLiteral("la liste des médicaments du cabinet est vide");
            return;
        }
        m_db = std::move(db);
        m_drugs = std::move(drugs);
    } catch (const Error &error) {
        m_fallbackReason = error.message();
    }
}

DrugCatalogue::~DrugCatalogue() = default;

QStringList DrugCatalogue::sample()
{
    return {QStringLiteral("AMOXICILLINE 1 g"),  QStringLiteral("AUGMENTIN 1 g"),
            QStringLiteral("CELESTENE 2 mg"),    QStringLiteral("DAFALGAN 1 g"),
            QStringLiteral("DOLIPRANE 500 mg"),  QStringLiteral("EFFERALGAN 1 g"),
            QStringLiteral("GAVISCON"),          QStringLiteral("HELICIDINE"),
            QStringLiteral("KARDEGIC 75 mg"),    QStringLiteral("LEVOTHYROX 50 µg"),
            QStringLiteral("SMECTA"),            QStringLiteral("SPASFON")};
}

QStringList DrugCatalogue::from(const QString &prefix, int count) const
{
    if (m_drugs)
        return fromPracticeList(prefix, count);
    const QStringList all = sample();
    const QString key = records::sortKey(prefix);
    const auto found = std::find_if(all.cbegin(), all.cend(),
                                    [&key](const QString &name) { return records::sortKey(name) >= key; });
    // As in the practice's list, a prefix after every name shows the last one.
    const auto start = found == all.cend() ? found - 1 : found;
    return QStringList(start, all.cend()).mid(0, count);
}

QStringList DrugCatalogue::fromPracticeList(const QString &prefix, int count) const
{
    m_drugs->findNearest({prefix});
    QStringList names;
    if (m_drugs->isEmpty() || count <= 0)
        return names;
    const int brand = m_drugs->fieldIndex(brandField);
    QStringList found = {m_drugs->text(brandField)};
    for (const records::Table::Row &row : m_drugs->neighbours(count - 1, true))
        found.append(row.values.at(brand).toString());
    for (const QString &name : found) {
        if (!name.trimmed().isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace orvane::vidal
