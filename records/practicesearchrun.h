#pragma once

#include "records/alias.h"
#include "records/filematch.h"
#include "records/practicesearch.h"

#include <QList>
#include <QMetaType>
#include <QThread>
#include <QVariantList>
#include <atomic>

namespace orvane::records {

class Database;

// A patient the search found, with what matched.
struct FoundPatient
{
    double number = 0;
    // His row of the patients' table: how the main window opens his file, even where an imported
    // practice gave two patients one number.
    qint64 rowId = 0;
    QString name; // `NomPrénom`
    QDate birth; // invalid when the year is unknown
    QString birthText; // as the file holds it, "12/03/1951", "1951"
    std::optional<int> age;
    QString matched;
    QDate matchedDate;
};

// One row of the search statement as the list shows it; none when the texts read show that the
// patient does not meet the criteria after all (a vaccination outside the period).
std::optional<FoundPatient> foundPatient(const QVariantList &row, const SearchStatement &statement,
                                         const SearchCriteria &criteria, const QDate &today);

// The same base on another connection, as a second running copy reaches it.
AliasSettings sameBase(const Database &db);

// A search on a thread and a connection of its own: the window stays usable, and stop() ends it at
// the next row. The patients come in batches, the first ones before the count is known.
class PracticeSearchRun : public QThread
{
    Q_OBJECT

public:
    PracticeSearchRun(const AliasSettings &base, const SearchCriteria &criteria, const QDate &today,
                      QObject *parent = nullptr);
    void stop() { m_stopped = true; }
    bool stopped() const { return m_stopped; }

signals:
    void found(const QList<orvane::records::FoundPatient> &patients);
    // After the last batch: how many were found, or why the search failed.
    void ended(int count, const QString &failure);

protected:
    void run() override;

private:
    AliasSettings m_base;
    SearchCriteria m_criteria;
    QDate m_today;
    std::atomic_bool m_stopped{false};
};

} // namespace orvane::records

Q_DECLARE_METATYPE(orvane::records::FoundPatient)
