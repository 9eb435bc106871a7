#pragma once

#include <QString>

namespace orvane::prescribing {

class PrintContext;

// The texts the letterhead was laid out for: each line of the letterhead is centred where its
// reference text would stand, so a longer name spreads evenly to both sides.
namespace reference {
inline const QString identifiant = QStringLiteral("Docteur Jean MARTIN");
inline const QString diplome = QStringLiteral("Médecine Générale - Diplômé de la Faculté de Paris");
inline const QString securite = QStringLiteral("RPPS 10001234567");
inline const QString ville = QStringLiteral("75011 PARIS");
inline const QString residence = QStringLiteral("12, rue des Tilleuls");
inline const QString telephone = QStringLiteral("Tél. : 01 23 45 67 89");
inline const QString libre1 = QStringLiteral("Sur Rendez-vous");
inline const QString libre2 = QStringLiteral("Fermé le Jeudi Après-Midi");
} // namespace reference

// The practice letterhead at the top of the current page. It leaves the font at 7 points italic.
void Entete(const PrintContext &context);

// The statement of membership of an approved management association, at the foot of the page,
// when the settings say the prescriber is a member.
void Aga(const PrintContext &context);

inline const QString agaStatement = QStringLiteral(
    "Membre d'une association agréée par l'administration fiscale et acceptant à ce titre le "
    "réglement des honoraires par chèque libellé à son nom");

} // namespace orvane::prescribing
