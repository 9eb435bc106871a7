#include "messaging/pendingresultsdialog.h"

#include "messaging/correspondencefolders.h"
#include "messaging/fileremoval.h"
#include "messaging/resultfiler.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/textlines.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane::messaging {

PendingResultsDialog::PendingResultsDialog(const ResultFiler &filer, DialogService &dialogs,
                                           std::function<std::optional<QString>()> choosePatient, QWidget *parent)
    : QDialog(parent)
    , m_filer(filer)
    , m_dialogs(dialogs)
    , m_choosePatient(std::move(choosePatient))
{
    setObjectName(QStringLiteral("ExamensAClasser"));
    setWindowTitle(QStringLiteral("Examens à classer"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Liste"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Prénom"), QStringLiteral("Né(e) le"),
                             QStringLiteral("Motif"), QStringLiteral("Document")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Wide enough for the longest reason beside a long name.
    m_list->setMinimumSize(1000, 260);
    layout->addWidget(m_list);

    auto *buttons = new QHBoxLayout;
    m_choose = new QPushButton(QStringLiteral("&Choisir le patient"), this);
    m_choose->setObjectName(QStringLiteral("Choisir"));
    m_delete = new QPushButton(QStringLiteral("&Supprimer"), this);
    m_delete->setObjectName(QStringLiteral("Supprimer"));
    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("Fermer"));
    buttons->addWidget(m_choose);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(m_choose, &QPushButton::clicked, this, &PendingResultsDialog::ChoisirClick);
    connect(m_delete, &QPushButton::clicked, this, &PendingResultsDialog::SupprimerClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_choose->setEnabled(!selectedPath().isEmpty());
        m_delete->setEnabled(!selectedPath().isEmpty());
    });
}

void PendingResultsDialog::showEntries()
{
    refresh();
    m_dialogs.execModal(*this);
}

void PendingResultsDialog::refresh()
{
    m_list->clear();
    for (const ResultFiler::Waiting &entry : m_filer.waitingEntries()) {
        QStringList columns;
        // The file's name without the identity the other columns show: "examen du 15 3 2006".
        QString document = QFileInfo(entry.path).completeBaseName();
        if (entry.identity) {
            columns = {entry.identity->surname, entry.identity->forename,
                       QLocale().toString(entry.identity->birthDate, QStringLiteral("dd/MM/yyyy"))};
            const QString prefix = patientFilePrefix(entry.identity->surname + QLatin1Char(' ') + entry.identity->forename);
            if (document.startsWith(prefix))
                document.remove(0, prefix.size());
        } else {
            columns = {QString(), QString(), QString()};
        }
        columns << entry.reason << document;
        auto *item = new QTreeWidgetItem(m_list, columns);
        item->setData(0, Qt::UserRole, entry.path);
        item->setToolTip(4, QDir::toNativeSeparators(entry.path));
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    m_choose->setEnabled(!selectedPath().isEmpty());
    m_delete->setEnabled(!selectedPath().isEmpty());
}

QString PendingResultsDialog::selectedPath() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? item->data(0, Qt::UserRole).toString() : QString();
}

void PendingResultsDialog::ChoisirClick()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const std::optional<QString> patientKey = m_choosePatient();
    if (!patientKey || patientKey->isEmpty())
        return;
    m_filer.assign(path, *patientKey);
    refresh();
}

void PendingResultsDialog::SupprimerClick()
{
    const QString path = selectedPath();
    if (path.isEmpty()
        || !m_dialogs.askYesNo(this, QStringLiteral("Voulez-vous supprimer cet examen reçu?"), DialogService::Icon::Confirmation))
        return;
    removeFileIfPresent(path);
    refresh();
}

} // namespace orvane::messaging
