#include "records/serveradmin.h"

#include "platform/error.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace orvane::records {

void runOnServer(const AliasSettings &server, const QString &sql)
{
    const QString connectionName = QStringLiteral("orvane-admin-") + QUuid::createUuid().toString();
    QString failure;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        admin.setHostName(server.host);
        admin.setPort(server.port);
        admin.setUserName(server.user);
        admin.setPassword(server.password);
        admin.setDatabaseName(server.database);
        if (!admin.open()) {
            failure = admin.lastError().text();
        } else {
            QSqlQuery query(admin);
            if (!query.exec(sql))
                failure = query.lastError().text();
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!failure.isEmpty())
        throw Error(QStringLiteral("%1: %2").arg(sql, failure));
}

} // namespace orvane::records
