#pragma once

#include <QString>
#include <optional>

namespace orvane::records {
class Table;
}

namespace orvane::vidal {

// What the access program is told about the current patient.
struct VidalPatient
{
    int sexIndex = -1; // position of the "&Sexe" choice: 0 "Masculin", 1 "Feminin", -1 none
    QString age; // the age box as shown
    QString lastHeight; // last line of the "Taille" value list, empty when none
    QString lastWeight; // last line of the "Poids" value list, empty when none
    QString pregnancyWeeks; // the "Semaines" box, empty without a pregnancy
    QString clearance; // the "Clearance" field
    QString allergies; // the "Allergies médicamenteuses" text, lines separated by CR LF

    bool operator==(const VidalPatient &other) const;

    // The patient's data from the identity page's sex choice and age box, the pregnancy box's weeks,
    // and the current rows of "stat.DB" (measures) and "ANTE.DB" (history).
    static VidalPatient fromRecords(int sexIndex, const QString &age, const QString &pregnancyWeeks,
                                    const records::Table &measures, const records::Table &history);
};

inline const QString requestMarker = QStringLiteral("->VIDALCD");

// The request put on the clipboard: the marker, sex, age, height, weight, weeks ("0" when empty),
// clearance ("0" when empty), then one line per allergy line (one empty line when there is none),
// every line ended by CR LF.
QString vidalRequest(const VidalPatient &patient);

// Reads a request back, as the access program does; no value when the text is not a request.
std::optional<VidalPatient> parseVidalRequest(const QString &text);

} // namespace orvane::vidal
