#include "clinical/archivemove.h"

#include "platform/textlines.h"
#include "records/database.h"
#include "records/table.h"

namespace orvane::clinical {

namespace {

const QString notesField = QStringLiteral("Consultation");
const QString nameField = QStringLiteral("Nomprénom");

} // namespace

QString archivedConsultation(const QString &archive, const QString &notes)
{
    if (archive.isEmpty() || notes.isEmpty())
        return archive + notes;
    QString combined = archive;
    if (!endsWithLineBreak(combined))
        combined += lineBreak;
    combined += notes;
    return combined;
}

ArchiveMove::ArchiveMove(records::Table &consultations, records::Table &archive, Question confirm)
    : m_consultations(consultations)
    , m_archive(archive)
    , m_confirm(std::move(confirm))
{
}

QString ArchiveMove::question()
{
    return QStringLiteral("Voulez-vous ajouter le champ consultation aux archives?");
}

void ArchiveMove::placeOnArchiveRow(const Patient &patient)
{
    // Printing a prescription may have closed the archive table.
    m_archive.open();
    if (!m_archive.locate(records::recordNumberField, patient.recordNumber)) {
        m_archive.insert();
        m_archive.setValue(records::recordNumberField, patient.recordNumber);
    }
    m_archive.edit();
}

bool ArchiveMove::run(const Patient &patient)
{
    if (!m_confirm())
        return false;
    m_consultations.edit();
    const QString notes = m_consultations.text(notesField);
    placeOnArchiveRow(patient);
    m_archive.setText(nameField, patient.name);
    m_archive.setText(notesField, archivedConsultation(m_archive.text(notesField), notes));
    try {
        records::Database::Transaction transaction(m_archive.database());
        m_archive.post();
        m_consultations.setText(notesField, QString());
        m_consultations.post();
        transaction.commit();
    } catch (...) {
        // Rolled back by now: each table shows again what is stored, and notes still pending keep
        // their text.
        if (m_archive.isEditing())
            m_archive.cancel();
        else
            m_archive.refresh();
        if (m_consultations.isEditing())
            m_consultations.setText(notesField, notes);
        else
            m_consultations.refresh();
        throw;
    }
    return true;
}

} // namespace orvane::clinical
