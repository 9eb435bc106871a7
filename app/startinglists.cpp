#include "app/startinglists.h"

#include "app/programpicture.h"
#include "platform/error.h"
#include "platform/textlines.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/table.h"

#include <QFile>

namespace orvane::app {

namespace {

const QString listsResource = QStringLiteral(":/orvane/startinglists.txt");

} // namespace

QList<StartingList> startingLists()
{
    registerProgramResources();
    QFile file(listsResource);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Les listes de départ du programme ne peuvent pas être lues"));
    QList<StartingList> lists;
    const QStringList lines = splitLines(QString::fromUtf8(file.readAll()));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            lists.append({line.mid(1, line.size() - 2), {}});
        else if (!lists.isEmpty())
            lists.last().rows.append(line.split(QLatin1Char('|')));
    }
    return lists;
}

void fillStartingLists(records::Database &db)
{
    const QStringList created = db.createdTables();
    if (created.isEmpty())
        return;
    records::Database::Transaction transaction(db);
    for (const StartingList &list : startingLists()) {
        if (!created.contains(list.table, Qt::CaseInsensitive))
            continue;
        const QList<records::FieldDef> &fields = records::tableDef(list.table).fields;
        records::Table table(db, list.table);
        table.open();
        for (const QStringList &row : list.rows) {
            table.insert();
            for (int i = 0; i < row.size() && i < fields.size(); ++i)
                table.setText(fields.at(i).name, row.at(i).trimmed());
            table.post();
        }
    }
    transaction.commit();
}

} // namespace orvane::app
