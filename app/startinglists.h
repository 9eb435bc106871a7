#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::records {
class Database;
}

namespace orvane::app {

// The stock lists a new practice starts with: its drug list with their usual posology (the
// interaction classes are the physician's to set) and the stock words of each consultation list.
struct StartingList
{
    QString table;
    QList<QStringList> rows; // each row's values in the order of the table's fields
};

// The lists shipped with the program, as its resources hold them.
QList<StartingList> startingLists();

// Fills each list whose table this opening of the base made. Once the base has its tables nothing
// is added again, so an entry the physician deleted never comes back.
void fillStartingLists(records::Database &db);

} // namespace orvane::app
