#pragma once

#include <QString>
#include <functional>

namespace orvane::records {
class Table;
}

namespace orvane::clinical {

// What the archive keeps after the notes are moved into it: the earlier archive, then the notes,
// on a line of their own. Notes emptied by an earlier move are thereby never lost.
QString archivedConsultation(const QString &archive, const QString &notes);

// Moves the current patient's consultation notes into the patient's archive row and empties the
// notes. The archive row is stored first; the notes are emptied only once it is, and both writes
// stand or fall together.
class ArchiveMove
{
public:
    // "Voulez-vous ajouter le champ consultation aux archives?": true to go on.
    using Question = std::function<bool()>;

    struct Patient
    {
        double recordNumber = 0;
        QString name; // "NomPrénom"
    };

    // The consultations table stands on the patient's row; the archive table, on the same
    // database, may be closed.
    ArchiveMove(records::Table &consultations, records::Table &archive, Question confirm);

    // False when the person refused: nothing changes. A refused write throws the store's message
    // and leaves the notes as they were and the archive row as stored before.
    bool run(const Patient &patient);

    static QString question();

private:
    void placeOnArchiveRow(const Patient &patient);

    records::Table &m_consultations;
    records::Table &m_archive;
    Question m_confirm;
};

} // namespace orvane::clinical
