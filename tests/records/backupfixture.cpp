#include "records/backupfixture.h"

#include "records/database.h"
#include "records/sqlitefile.h"
#include "records/table.h"

#include <QFile>
#include <QFileInfo>

namespace orvane::test {

using namespace orvane::records;

void makeBase(const QString &path, int count)
{
    Database db(AliasSettings::sqliteFile(path), QFileInfo(path).absolutePath());
    Table patients(db, tables::patients);
    patients.open();
    for (int number = 1; number <= count; ++number)
        addPatient(patients, number);
}

void addPatient(Table &patients, int number)
{
    patients.insert();
    patients.setText(QStringLiteral("Nom"), QStringLiteral("PATIENT%1").arg(number, 6, 10, QLatin1Char('0')));
    patients.setText(QStringLiteral("Prénom"), QStringLiteral("Marie"));
    patients.setValue(recordNumberField, number);
    patients.setValue(QStringLiteral("Année"), 1950 + number % 50);
    patients.post();
}

int patientCount(const QString &path)
{
    return SqliteFile(path, SqliteFile::Mode::ReadOnly)
        .firstValue(QStringLiteral("SELECT COUNT(*) FROM \"donnees.db\""))
        .toInt();
}

double highestPatientNumber(const QString &path)
{
    return SqliteFile(path, SqliteFile::Mode::ReadOnly)
        .firstValue(QStringLiteral("SELECT COALESCE(MAX(\"N°Dossier\"), 0) FROM \"donnees.db\""))
        .toDouble();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace orvane::test
