#include "messaging/correspondencedialog.h"

#include "platform/desktopopen.h"
#include "platform/dialogservice.h"

#include <QDateTime>
#include <algorithm>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane::messaging {

QFileInfoList patientFiles(const QString &folder, const QString &patientKey)
{
    const QString prefix = patientFilePrefix(patientKey);
    QFileInfoList files;
    const QFileInfoList all = QDir(folder).entryInfoList(QDir::Files, QDir::Time);
    for (const QFileInfo &file : all) {
        if (file.fileName().startsWith(prefix, Qt::CaseInsensitive))
            files.append(file);
    }
    return files;
}

namespace {

QString folderCaption(CorrespondenceFolder folder)
{
    switch (folder) {
    case CorrespondenceFolder::ReceivedLetters: return QStringLiteral("Courrier reçu");
    case CorrespondenceFolder::SentLetters: return QStringLiteral("Courrier envoyé");
    case CorrespondenceFolder::ReceivedResults: return QStringLiteral("Examens reçus");
    }
    return QString();
}

} // namespace

void browseCorrespondence(DialogService &dialogs, QWidget *parent, CorrespondenceFolder folder,
                          const QString &patientKey)
{
    const QString path = correspondenceFolderPath(folder);
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isDir()) {
        dialogs.showMessage(parent, QStringLiteral("Le dossier « %1 » n'existe pas encore : aucun document n'y a "
                                                   "encore été classé.")
                                        .arg(shown));
        return;
    }
    const QFileInfoList files = patientFiles(path, patientKey);
    const QString patient = patientKey.trimmed().isEmpty() ? QStringLiteral("ce patient") : patientKey.trimmed();
    if (files.isEmpty()) {
        dialogs.showMessage(parent, QStringLiteral("Le dossier « %1 » ne contient aucun fichier de %2.").arg(shown, patient));
        return;
    }
    CorrespondenceDialog dialog(dialogs, parent);
    dialog.showFiles(files, QStringLiteral("%1 : %2").arg(folderCaption(folder), patient));
    dialogs.execModal(dialog);
}

CorrespondenceDialog::CorrespondenceDialog(DialogService &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_list(new QTreeWidget(this))
    , m_open(new QPushButton(QStringLiteral("&Ouvrir"), this))
    , m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("Correspondance"));
    m_list->setObjectName(QStringLiteral("Fichiers"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Fichier"), QStringLiteral("Dernière modification"), QStringLiteral("Taille")});
    m_list->header()->setStretchLastSection(false);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_open->setObjectName(QStringLiteral("Ouvrir"));
    // Enter in the list reaches the window's default button: the file opens once.
    m_open->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("Fermer"));
    close->setAutoDefault(false);
    m_menu->addAction(QStringLiteral("&Ouvrir"), this, &CorrespondenceDialog::OuvrirClick);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_open, &QPushButton::clicked, this, &CorrespondenceDialog::OuvrirClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CorrespondenceDialog::OuvrirClick);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        // The file under the mouse is the one opened.
        if (QTreeWidgetItem *item = m_list->itemAt(at)) {
            m_list->setCurrentItem(item);
            m_menu->popup(m_list->viewport()->mapToGlobal(at));
        }
    });
}

void CorrespondenceDialog::showFiles(const QFileInfoList &files, const QString &caption)
{
    setWindowTitle(caption);
    m_list->clear();
    const QLocale locale;
    for (const QFileInfo &file : files) {
        auto *item = new QTreeWidgetItem(
            m_list, {file.fileName(), locale.toString(file.lastModified(), QStringLiteral("dd/MM/yyyy HH:mm")),
                     QStringLiteral("%L1 Ko").arg((file.size() + 1023) / 1024)});
        item->setData(0, Qt::UserRole, file.absoluteFilePath());
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->setFocus();
    // The names show whole: the window is as wide as its columns, within the screen.
    int columns = 0;
    for (int i = 0; i < m_list->columnCount(); ++i) {
        m_list->resizeColumnToContents(i);
        columns += m_list->columnWidth(i);
    }
    const int room = screen() ? screen()->availableGeometry().width() - 40 : 1200;
    resize(std::clamp(columns + 60, 560, std::max(room, 560)), 320);
}

void CorrespondenceDialog::OuvrirClick()
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    openWithDesktop(m_dialogs, this, item->data(0, Qt::UserRole).toString());
}

} // namespace orvane::messaging
