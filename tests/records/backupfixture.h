#pragma once

#include <QByteArray>
#include <QString>

namespace orvane::records {
class Table;
}

namespace orvane::test {

// A base of the program at `path` holding the patients numbered 1 to `count`.
void makeBase(const QString &path, int count);
// One patient row, numbered, stored at once.
void addPatient(records::Table &patients, int number);
// The patients of the base or copy at `path`, through a connection of its own.
int patientCount(const QString &path);
double highestPatientNumber(const QString &path);
QByteArray fileBytes(const QString &path);

} // namespace orvane::test
