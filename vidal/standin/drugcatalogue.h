#pragma once

#include <QStringList>
#include <memory>

namespace orvane::records {
class Database;
class Table;
} // namespace orvane::records

namespace orvane::vidal {

// The drugs the stand-in access program offers: the practice's drug list when its base can be
// read, otherwise a dozen common drugs of its own.
class DrugCatalogue
{
public:
    // Never creates a base: a missing SQLite file means the built-in sample.
    explicit DrugCatalogue(const QString &programFolder);
    ~DrugCatalogue();
    DrugCatalogue(const DrugCatalogue &) = delete;
    DrugCatalogue &operator=(const DrugCatalogue &) = delete;

    bool isPracticeList() const { return m_drugs != nullptr; }
    // Why the practice's list is not used, for the window; empty when it is.
    QString fallbackReason() const { return m_fallbackReason; }

    // Up to count names in alphabetical order, from the first that sorts at or after the prefix
    // (letter case and accents ignored).
    QStringList from(const QString &prefix, int count) const;

    static QStringList sample();

private:
    QStringList fromPracticeList(const QString &prefix, int count) const;

    std::unique_ptr<records::Database> m_db;
    std::unique_ptr<records::Table> m_drugs;
    QString m_fallbackReason;
};

} // namespace orvane::vidal
