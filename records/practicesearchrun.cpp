#include "records/practicesearchrun.h"

#include "platform/clock.h"
#include "platform/error.h"
#include "records/database.h"
#include "records/schema.h"
#include "records/textindex.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <iterator>

namespace orvane::records {

namespace {

constexpr int batchMilliseconds = 100;
// The clock is read every so many rows only: read at each of half a million, it shows.
constexpr int rowsBetweenClockReadings = 64;

std::optional<int> wholeNumber(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || number <= 0)
        return std::nullopt;
    return int(number);
}

// Written digit by digit: even the C library's formatting costs more than reading the row.
QString dayMonthYearText(int day, int month, int year)
{
    if (day > 99 || month > 99 || year < 1000 || year > 9999)
        return QStringLiteral("%1/%2/%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year);
    const auto digit = [](int value) { return QChar(u'0' + value % 10); };
    const QChar text[] = {digit(day / 10), digit(day), u'/', digit(month / 10), digit(month), u'/',
                          digit(year / 1000), digit(year / 100), digit(year / 10), digit(year)};
    return QString(text, std::size(text));
}

void fillBirth(FoundPatient &patient, const QVariantList &row, const QDate &today)
{
    const auto day = wholeNumber(row.at(2));
    const auto month = wholeNumber(row.at(3));
    const auto year = wholeNumber(row.at(4));
    if (!year)
        return;
    patient.birth = QDate(*year, month.value_or(1), day.value_or(1));
    if (!patient.birth.isValid())
        patient.birth = QDate(*year, 1, 1);
    patient.birthText = day && month ? dayMonthYearText(*day, *month, *year) : QString::number(*year);
    if (const int age = ageOn(day.value_or(1), month.value_or(1), *year, today); age >= 0)
        patient.age = age;
}

QStringList shownTexts(const QVariantList &row, const SearchStatement &statement, const QString &table,
                       const QStringList &fields)
{
    QStringList texts;
    for (int i = 0; i < statement.shownTexts.size(); ++i) {
        const ShownText &shown = statement.shownTexts.at(i);
        if ((table.isEmpty() || shown.table == table) && (fields.isEmpty() || fields.contains(shown.field)))
            texts.append(row.value(identityColumns + i).toString());
    }
    return texts;
}

// The result the statement joined: "HbA1c : 8,4 %" on its date.
MatchedLine shownResult(const QVariantList &row, const SearchStatement &statement)
{
    const int at = statement.resultAt();
    const QString label = row.value(at + 1).toString().trimmed();
    const QString value = QString::number(row.value(at + 3).toDouble(), 'g', 12).replace(QLatin1Char('.'), QLatin1Char(','));
    return {QStringLiteral("%1 : %2 %3").arg(label.isEmpty() ? row.value(at + 2).toString() : label, value,
                                             row.value(at + 4).toString()).trimmed(),
            QDate::fromString(row.value(at).toString(), Qt::ISODate)};
}

// The last line of the patient's texts that holds the phrase, else of the result's text.
std::optional<MatchedLine> lineWithWords(const QVariantList &row, const SearchStatement &statement, const QString &words)
{
    if (auto line = lastLineWith(shownTexts(row, statement, {}, {}), words))
        return line;
    if (!statement.showsResultText)
        return std::nullopt;
    const int at = statement.resultTextAt();
    auto line = lastLineWith({row.value(at).toString()}, words);
    if (line)
        line->date = QDate::fromString(row.value(at + 1).toString(), Qt::ISODate);
    return line;
}

} // namespace

std::optional<FoundPatient> foundPatient(const QVariantList &row, const SearchStatement &statement,
                                         const SearchCriteria &criteria, const QDate &today)
{
    FoundPatient patient;
    patient.number = row.at(0).toDouble();
    patient.name = row.at(1).toString();
    patient.rowId = row.at(5).toLongLong();
    fillBirth(patient, row, today);
    std::optional<MatchedLine> shown;
    if (statement.showsResult)
        shown = shownResult(row, statement);
    if (criteria.vaccination) {
        const VaccinationAnswer answer = checkVaccination(
            shownTexts(row, statement, tables::treatments, {QStringLiteral("Vaccinations")}).value(0), *criteria.vaccination);
        if (!answer.met)
            return std::nullopt;
        if (!shown)
            shown = answer.shown;
    }
    if (!shown && !criteria.drug.isEmpty())
        shown = lastLineWith(shownTexts(row, statement, {}, {QStringLiteral("Traitement général"), QStringLiteral("Prescription")}),
                             criteria.drug);
    if (!criteria.words.isEmpty()) {
        // The statement only narrowed to the files holding the words: a line must hold the phrase.
        const std::optional<MatchedLine> line = lineWithWords(row, statement, criteria.words);
        if (!line)
            return std::nullopt;
        if (!shown)
            shown = line;
    }
    if (shown) {
        patient.matched = shown->text;
        patient.matchedDate = shown->date;
    }
    return patient;
}

AliasSettings sameBase(const Database &db)
{
    if (db.alias().isSqlite())
        return AliasSettings::sqliteFile(db.connection().databaseName());
    return db.alias();
}

PracticeSearchRun::PracticeSearchRun(const AliasSettings &base, const SearchCriteria &criteria, const QDate &today,
                                     QObject *parent)
    : QThread(parent)
    , m_base(base)
    , m_criteria(criteria)
    , m_today(today)
{
    qRegisterMetaType<QList<orvane::records::FoundPatient>>();
}

void PracticeSearchRun::run()
{
    int count = 0;
    QString failure;
    try {
        Database db(m_base, QString());
        const SearchStatement statement = searchStatement(
            m_criteria, db.dialect(), m_today, m_criteria.words.isEmpty() ? QList<TextIndexDef>() : searchableResultTexts(db));
        QSqlQuery query = db.streamed(statement.sql, statement.values);
        QList<FoundPatient> batch;
        QElapsedTimer sinceBatch;
        sinceBatch.start();
        const int columns = statement.columnCount();
        QVariantList row(columns);
        for (int rows = 1; !m_stopped && query.next(); ++rows) {
            for (int i = 0; i < columns; ++i)
                row[i] = query.value(i);
            if (auto patient = foundPatient(row, statement, m_criteria, m_today)) {
                batch.append(std::move(*patient));
                ++count;
            }
            // The first patient shows at once; then the rows of each tenth of a second go together:
            // an answer of half the practice comes in a few batches, not in thousands.
            if (!batch.isEmpty()
                && (count == 1 || (rows % rowsBetweenClockReadings == 0 && sinceBatch.elapsed() >= batchMilliseconds))) {
                const qsizetype size = batch.size();
                emit found(std::exchange(batch, {}));
                batch.reserve(size);
                sinceBatch.restart();
            }
        }
        query.finish();
        if (!batch.isEmpty() && !m_stopped)
            emit found(batch);
    } catch (const Error &error) {
        failure = error.message();
    }
    emit ended(count, failure);
}

} // namespace orvane::records
