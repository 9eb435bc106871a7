// Prints how long the consultation tab takes to date, search and extend notes of several megabytes.
#include "benchmeasure.h"
#include "clinical/consultationpage.h"
#include "clinical/finddialog.h"
#include "platform/textlines.h"
#include "records/currentpatient.h"
#include "records/table.h"
#include "support/fixedclock.h"
#include "support/newpatient.h"
#include "support/scripteddialogservice.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextStream>
#include <QToolButton>

using namespace orvane;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::TestDatabase base;
    test::ScriptedDialogService dialogs;
    test::FixedClock clock(QDateTime(QDate(2006, 12, 8), QTime(9, 0)));
    records::CurrentPatient patient(base.db());
    patient.open();
    test::addPatient(patient, QStringLiteral("DUPONT"), QStringLiteral("Jean"));

    QString notes;
    for (int day = 0; notes.size() < 4 * 1024 * 1024; ++day) {
        clinical::appendDateBlock(notes, QStringLiteral("%1/01/1990").arg(day % 28 + 1, 2, 10, QLatin1Char('0')));
        orvane::appendLines(notes, {QStringLiteral("Toux sèche depuis trois jours, pas de fièvre"), QStringLiteral("Examen Normal")});
    }
    clinical::appendDateBlock(notes, clock.todayText());
    records::Table &consultations = patient.consultations();
    consultations.edit();
    consultations.setText(QStringLiteral("Consultation"), notes);
    consultations.post();
    QTextStream(stdout) << "notes of " << notes.size() / (1024 * 1024) << " M characters\n";

    clinical::ConsultationPage page(patient, clock, dialogs, [] { return false; });
    page.resize(780, 520);
    page.show();
    auto *memo = page.findChild<QPlainTextEdit *>(QStringLiteral("consul"));
    measure("click into dated notes", 10, [&] { page.consulClick(); });
    measure("one-click entry", 10, [&] { page.findChild<QToolButton *>(QStringLiteral("IEButton14"))->click(); });
    measure("typed key then entry", 10, [&] {
        memo->moveCursor(QTextCursor::End);
        memo->insertPlainText(QStringLiteral("x"));
        page.SpeedButton3Click();
    });
    page.findDialog()->setFindText(QStringLiteral("introuvable"));
    measure("search, not found", 10, [&] { page.FindDialog1Find(); });
    return 0;
}
