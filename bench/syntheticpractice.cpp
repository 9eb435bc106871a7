#include "bench/syntheticpractice.h"

#include "bench/syntheticbase.h"
#include "import/paradoxwriter.h"
#include "records/schema.h"

#include <QDate>
#include <QDir>
#include <QRandomGenerator>
#include <memory>

namespace orvane::bench {

namespace {

using import::ParadoxWriter;

QString visits(QRandomGenerator &random)
{
    if (random.bounded(100) == 0)
        return longNotes(random);
    QString notes;
    const int count = 1 + random.bounded(20);
    for (int visit = 0; visit < count; ++visit) {
        notes += QStringLiteral("\r\n%1/%2/200%3\r\n\r\n").arg(1 + random.bounded(28), 2, 10, QLatin1Char('0')).arg(1 + random.bounded(12), 2, 10, QLatin1Char('0')).arg(random.bounded(7));
        notes += QStringLiteral("Rhinopharyngite, fièvre à 38°5, examen pulmonaire normal. TA 13/8, poids %1 kg\r\n")
                     .arg(random.bounded(50, 110));
    }
    return notes;
}

std::unique_ptr<ParadoxWriter> writerOf(const QString &folder, const QString &table)
{
    return std::make_unique<ParadoxWriter>(QDir(folder).filePath(table),
                                           ParadoxWriter::columnsOf(records::tableDef(table)));
}

} // namespace

void makeSyntheticPractice(const QString &folder, int patients)
{
    namespace tables = records::tables;
    QDir().mkpath(folder);
    QRandomGenerator random(20062);
    auto patientTable = writerOf(folder, tables::patients);
    auto history = writerOf(folder, tables::history);
    auto consultations = writerOf(folder, tables::consultations);
    auto treatments = writerOf(folder, tables::treatments);
    auto measures = writerOf(folder, tables::measures);
    auto insurance = writerOf(folder, tables::insurance);
    auto archive = writerOf(folder, tables::archive);
    const QStringList schemes = {QStringLiteral("R G"), QStringLiteral("ALD"), QStringLiteral("CMU")};
    for (int number = 1; number <= patients; ++number) {
        const QString nom = randomSurname(random);
        const QString prenom = randomForename(random);
        const QString name = nom + QLatin1Char(' ') + prenom;
        patientTable->append({name, nom, prenom, number, QStringLiteral("01-45-%1-%2-%3").arg(number % 100, 2, 10, QLatin1Char('0')).arg(number / 100 % 100, 2, 10, QLatin1Char('0')).arg(number % 97, 2, 10, QLatin1Char('0')),
                              QStringLiteral("%1 rue des Lilas\r\n75%2 Paris").arg(number % 200).arg(number % 20, 3, 10, QLatin1Char('0')),
                              QStringLiteral("Enseignant"), random.bounded(1, 29), random.bounded(1, 13), random.bounded(1920, 2006),
                              QStringLiteral("Dr Moreau, cardiologue"), random.bounded(2) ? QStringLiteral("Masculin") : QStringLiteral("Feminin"),
                              QStringLiteral("1%1-123").arg(number, 12, 10, QLatin1Char('0'))});
        history->append({number, QStringLiteral("HTA depuis 1998\r\nDiabète de type 2"), QStringLiteral("12/03/2006 HbA1c 6,8 %"),
                         QStringLiteral("Appendicectomie en 1975"), random.bounded(5) == 0 ? QVariant(QStringLiteral("Pénicilline")) : QVariant()});
        consultations->append({number, name, visits(random)});
        treatments->append({number, QStringLiteral("AMLOR 5\rKARDEGIC 75\r"), QStringLiteral("DTP 12/03/2005, rappel 2015")});
        QVariantList values{number};
        for (int list = 0; list < 12; ++list)
            values.append(list == 9 ? QVariant(QStringLiteral("12/03/2006\r72\r15/09/2006\r71\r")) : QVariant());
        values << (number % 50 == 0 ? QVariant(QDate(2006, 1, 10)) : QVariant()) << QStringLiteral("90");
        measures->append(values);
        insurance->append({number, schemes.at(random.bounded(3))});
        archive->append({number, name, QStringLiteral("AMLOR 5\r\n1 comprimé le matin\r\n\r\nKARDEGIC 75\r\n1 sachet à midi"), 1, QVariant()});
    }
    writerOf(folder, tables::counter)->append({patients});
    writerOf(folder, tables::drugs)->append({QStringLiteral("DOLIPRANE 500"), QStringLiteral("1 cp 3 fois par jour"), QStringLiteral("A")});
    writerOf(folder, tables::historyWords)->append({QStringLiteral("Diabète")});
    writerOf(folder, tables::reasons)->append({QStringLiteral("Fièvre")});
    writerOf(folder, tables::examinations)->append({QStringLiteral("Abdomen souple")});
}

} // namespace orvane::bench
