// One of several running copies working on one base at the same time, as the workstations of a
// group practice do: it creates files (new file, required fields, validate) and, after each,
// stores clinical rows for a patient among the latest ones, whoever created it.
//
//   orvane_concurrent_files ALIAS_FILE COPY FILES
//
// COPY (0 to 3) chooses the measure field this copy appends to, so the lines each copy reports
// can be checked afterwards. Every row is reported on standard output once it is posted:
//   patient NUMBER NOM PRENOM
//   measure NUMBER FIELD LINE
// A failure is reported on standard error and ends the copy with status 1.
//
//   orvane_concurrent_files ALIAS_FILE notes NUMBER TEXT
//
// Reads the notes of patient NUMBER, says "read", waits for a line on standard input, then appends
// TEXT to what it read and stores. Reports "stored", or "refused" with the store's message on the
// following lines and "kept" when the pending text still ends with TEXT; after a refusal it stores
// once more, as the next tab change does, and reports "stored" again.

#include "platform/error.h"
#include "records/alias.h"
#include "records/currentpatient.h"
#include "records/database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>

using namespace orvane;
using namespace orvane::records;

namespace {

const QStringList measureFields{QStringLiteral("GR"), QStringLiteral("GB"), QStringLiteral("Hb"),
                                QStringLiteral("HbA1c")};

// Numbers near the latest one, so that copies often store rows for the same patients at once.
constexpr int recentPatients = 20;

void report(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void createFile(CurrentPatient &patient, int copy, int file)
{
    patient.beginNewFile();
    Table &patients = patient.patients();
    const QString nom = QStringLiteral("COPIE%1").arg(copy);
    const QString prenom = QStringLiteral("Dossier%1").arg(file);
    patients.setText(QStringLiteral("Nom"), nom);
    patients.setText(QStringLiteral("Prénom"), prenom);
    patient.composeName();
    patients.setValue(QStringLiteral("Année"), 1930 + file % 70);
    patient.validate();
    report(QStringLiteral("patient %1 %2 %3").arg(patients.text(recordNumberField), nom, prenom));
}

void storeMeasure(CurrentPatient &patient, int copy, int file, QRandomGenerator &random)
{
    const double latest = patient.patients().number(recordNumberField);
    const int number = std::max(1, int(latest) - int(random.bounded(recentPatients)));
    // A number whose file another copy has not validated yet has no patient row.
    if (!patient.findByNumber(QString::number(number)))
        return;
    const QString field = measureFields.at(copy);
    const QString line = QStringLiteral("c%1f%2").arg(copy).arg(file);
    Table &measures = patient.measures();
    measures.edit();
    measures.setLines(field, measures.lines(field) << line);
    patient.storeClinicalRows();
    report(QStringLiteral("measure %1 %2 %3").arg(number).arg(field, line));
}

int appendToNotes(CurrentPatient &patient, const QString &number, const QString &text)
{
    if (!patient.findByNumber(number))
        throw Error(QStringLiteral("no patient ") + number);
    Table &notes = patient.consultations();
    const QString field = QStringLiteral("Consultation");
    const QString typed = notes.text(field) + text;
    report(QStringLiteral("read"));
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;
    notes.edit();
    notes.setText(field, typed);
    try {
        patient.storeClinicalRows();
        report(QStringLiteral("stored"));
    } catch (const Error &error) {
        report(QStringLiteral("refused\n") + error.message());
        if (notes.isEditing() && notes.text(field).endsWith(text))
            report(QStringLiteral("kept"));
        patient.storeClinicalRows();
        report(QStringLiteral("stored"));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(2) == QLatin1String("notes")) {
        try {
            const QString aliasFile = args.at(1);
            Database db(AliasSettings::loadFile(aliasFile), QFileInfo(aliasFile).absolutePath());
            CurrentPatient patient(db);
            patient.open();
            return appendToNotes(patient, args.at(3), args.at(4));
        } catch (const Error &error) {
            std::fputs(qPrintable(error.message() + QLatin1Char('\n')), stderr);
            return 1;
        }
    }
    bool copyOk = false;
    bool filesOk = false;
    const int copy = args.value(2).toInt(&copyOk);
    const int files = args.value(3).toInt(&filesOk);
    if (args.size() != 4 || !copyOk || !filesOk || copy < 0 || copy >= measureFields.size()) {
        std::fputs("usage: orvane_concurrent_files ALIAS_FILE COPY(0-3) FILES\n", stderr);
        return 2;
    }
    try {
        const QString aliasFile = args.at(1);
        Database db(AliasSettings::loadFile(aliasFile), QFileInfo(aliasFile).absolutePath());
        CurrentPatient patient(db);
        patient.open();
        QRandomGenerator random(quint32(copy + 1));
        for (int file = 0; file < files; ++file) {
            createFile(patient, copy, file);
            storeMeasure(patient, copy, file, random);
        }
    } catch (const Error &error) {
        std::fputs(qPrintable(error.message() + QLatin1Char('\n')), stderr);
        return 1;
    }
    return 0;
}
