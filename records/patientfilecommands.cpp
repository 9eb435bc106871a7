#include "records/patientfilecommands.h"

#include "platform/dialogservice.h"
#include "platform/waitcursor.h"
#include "records/cartevitale.h"
#include "records/currentpatient.h"
#include "records/trechercher.h"

#include <QClipboard>
#include <QGuiApplication>

namespace orvane::records {

PatientFileCommands::PatientFileCommands(CurrentPatient &patient, DialogService &dialogs, QClipboard *clipboard,
                                         QWidget *window, QObject *parent)
    : QObject(parent)
    , m_patient(patient)
    , m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_window(window)
{
}

void PatientFileCommands::afterMove()
{
    emit tabsFocusRequested();
    emit identityTabRequested();
    emit prescriptionEmptied();
}

void PatientFileCommands::previousFile()
{
    m_patient.previous();
    afterMove();
}

void PatientFileCommands::nextFile()
{
    m_patient.next();
    afterMove();
}

void PatientFileCommands::newFile()
{
    // Without text on the clipboard the buffer keeps what the previous use left there.
    if (m_clipboard && !m_clipboard->text().isEmpty())
        m_clipboardBuffer = m_clipboard->text();
    if (!m_dialogs.askYesNo(m_window, QStringLiteral("Nouveau Dossier ?"), DialogService::Icon::Information))
        return;
    if (!looksLikeCarteVitale(m_clipboardBuffer)) {
        emit identityTabRequested();
        m_patient.beginNewFile();
        emit identityTabRequested();
        emit prescriptionEmptied();
        emit nameFocusRequested();
        return;
    }
    if (!m_dialogs.askYesNo(m_window, QStringLiteral("Voulez-vous récupérer les informations de la carte Vitale ?"),
                            DialogService::Icon::Information))
        return;
    emit identityTabRequested();
    m_patient.beginNewFile();
    const QStringList cut = m_patient.fillFromCarteVitale(readCarteVitale(m_clipboardBuffer));
    // Once imported, the card's text is gone from the buffer too: a later new file would
    // otherwise offer the same patient again.
    m_clipboardBuffer.clear();
    if (m_clipboard)
        m_clipboard->clear();
    if (!cut.isEmpty()) {
        QStringList fields;
        for (const QString &field : cut)
            fields.append(QStringLiteral("« %1 »").arg(field));
        m_dialogs.showMessage(m_window, QStringLiteral("Le texte de la carte Vitale est plus long que le dossier ne le "
                                                       "permet : %1 %2. Vérifiez l'identité avant de valider.")
                                            .arg(fields.join(QStringLiteral(", ")),
                                                 fields.size() > 1 ? QStringLiteral("ont été coupés")
                                                                   : QStringLiteral("a été coupé")));
    }
    emit addressFocusRequested();
}

void PatientFileCommands::validate()
{
    emit identityTabRequested();
    m_patient.validate();
    m_dialogs.showMessage(m_window, QStringLiteral("Enregistrement Validé"));
    emit tabsFocusRequested();
    emit identityTabRequested();
}

void PatientFileCommands::deleteFile(DeleteVariant variant)
{
    const bool confirmed =
        m_dialogs.askYesNo(m_window, QStringLiteral("Attention!!.Voulez-vous vraiment supprimer ce dossier?"),
                           DialogService::Icon::Warning)
        && m_dialogs.askYesNo(m_window,
                              QStringLiteral("Attention!! La suppression est irrémédiable. Voulez-vous continuer?"),
                              DialogService::Icon::Warning);
    if (confirmed) {
        if (variant == DeleteVariant::ToolBar)
            emit identityTabRequested();
        m_patient.removePatient();
    }
    if (variant == DeleteVariant::ToolBar) {
        emit tabsFocusRequested();
        emit prescriptionEmptied();
        emit identityTabRequested();
    }
}

void PatientFileCommands::searchWindow(TRechercher &window)
{
    m_dialogs.execModal(window);
    if (!window.answeredOk())
        return;
    openPatient(window.selectedKey());
}

void PatientFileCommands::openPatient(const QVariantList &key)
{
    openPatientBy([&] { m_patient.goToPatient(key); });
}

void PatientFileCommands::openPatientRow(qint64 rowId)
{
    openPatientBy([&] { m_patient.goToPatientRow(rowId); });
}

void PatientFileCommands::openPatientBy(const std::function<void()> &move)
{
    {
        const WaitCursor hourglass;
        move();
    }
    afterMove();
}

void PatientFileCommands::searchByName()
{
    const auto typed = m_dialogs.askText(m_window, QStringLiteral("Nom du patient"), QStringLiteral("tapez le nom"),
                                         QString());
    if (!typed || typed->isEmpty())
        return;
    m_patient.findByName(*typed);
}

void PatientFileCommands::searchByNumber()
{
    const auto typed = m_dialogs.askText(m_window, QStringLiteral("Recherche par numéro de dossier"),
                                         QStringLiteral("Taper un numéro"), QString());
    if (!typed || typed->isEmpty())
        return;
    const WaitCursor hourglass;
    m_patient.findByNumber(*typed);
}

} // namespace orvane::records
