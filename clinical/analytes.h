#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane::clinical {

struct LabResult;

// A unit a laboratory writes and how a value in it becomes one in the analyte's own unit.
struct UnitFactor
{
    QString unit;
    double factor = 1;
    double offset = 0;
};

// An analysis the program knows: the value list of "stat.DB" it is appended to (none for some),
// in which unit and with how many decimals, and the units it can be converted from.
struct Analyte
{
    QString name; // "Hb", "Glycémies", "Créatinine"
    QString valueList; // empty when no list holds it
    QString unit;
    int decimals = 2;
    QList<UnitFactor> units;

    // The value in the analyte's unit; nothing for a unit it does not know (never guessed).
    std::optional<double> converted(double value, const QString &unit) const;
    // The value as the value list holds it: a point, no trailing zeros.
    QString listText(double value) const;
};

// A unit as written, made comparable: case, blanks, the micro signs and "mm³" do not count.
QString unitKey(const QString &unit);

// The catalogue of analyses and of the laboratories' labels and codes for them. It is data: the
// program's own list, completed by the physician's.
class AnalyteCatalogue
{
public:
    // Reads lines of the form of the program's list; a line it cannot read is listed in problems().
    void read(const QStringList &lines);
    // The program's own list, then the physician's file when there is one.
    static AnalyteCatalogue standard(const QString &physicianFile);

    const Analyte *analyte(const QString &name) const;
    const QList<Analyte> &analytes() const { return m_analytes; }
    // The analyte a result stands for, by its label then its code; nothing when unknown.
    const Analyte *analyteOf(const LabResult &result) const;
    QStringList problems() const { return m_problems; }

    // The line that makes a label stand for an analyte, as the physician's file holds it.
    static QString labelLine(const QString &analyte, const QString &label);

private:
    QList<Analyte> m_analytes;
    QHash<QString, QString> m_labels; // sort key of a label or code -> analyte name
    QStringList m_problems;
};

// What a result gives the value list of its analyte: its value in the list's unit, checked against
// the laboratory's second unit when it sends one.
struct ListValue
{
    std::optional<double> value;
    QString alert; // why nothing goes into the list, for the physician; empty when all is well
};
ListValue listValueOf(const Analyte &analyte, const LabResult &result);

// Whether two values of one analyte agree within 2 %.
bool agree(double a, double b);

} // namespace orvane::clinical
