#pragma once

namespace orvane::records {
class TRechercher;
}
namespace orvane::clinical {
class Tacuitearch;
class Tbetablocants;
}
namespace orvane::prescribing {
class TImprime;
class TMarges;
class Tordonnance;
}
namespace orvane::messaging {
class TfrmMessageEditor;
class Tparamessage;
}

namespace orvane::app {

class Tapropos;
class Tdialogues;
class Tmotdepasse;

// The windows created once at start after the main window, which owns them and shows each one
// when it is needed.
struct ProgramWindows
{
    Tapropos *apropos = nullptr;
    clinical::Tbetablocants *betablocants = nullptr;
    clinical::Tacuitearch *acuitearch = nullptr;
    prescribing::TImprime *imprime = nullptr;
    records::TRechercher *rechercher = nullptr;
    prescribing::TMarges *marges = nullptr;
    prescribing::Tordonnance *ordonnance = nullptr;
    Tdialogues *dialogues = nullptr;
    messaging::Tparamessage *paramessage = nullptr;
    messaging::TfrmMessageEditor *messageEditor = nullptr;
    Tmotdepasse *motdepasse = nullptr;
};

} // namespace orvane::app
