#include "app/startup.h"

#include "app/startinglists.h"
#include "app/tapropos.h"
#include "app/tdialogues.h"
#include "app/tlogo.h"
#include "app/tmotdepasse.h"
#include "clinical/tacuitearch.h"
#include "clinical/tbetablocants.h"
#include "messaging/tfrmmessageeditor.h"
#include "messaging/tparamessage.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/error.h"
#include "platform/places.h"
#include "platform/privatefiles.h"
#include "platform/waitcursor.h"
#include "prescribing/timprime.h"
#include "prescribing/tmarges.h"
#include "prescribing/tordonnance.h"
#include "records/alias.h"
#include "records/baseinuselock.h"
#include "records/backupfolder.h"
#include "records/baserestore.h"
#include "records/dailybackup.h"
#include "records/database.h"
#include "records/textindex.h"
#include "records/trechercher.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QEventLoop>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>

namespace orvane::app {

Startup::Startup(DialogService &dialogs, const Clock &clock, std::chrono::milliseconds pause)
    : m_dialogs(dialogs)
    , m_clock(clock)
    , m_pause(pause)
{
}

Startup::~Startup() = default;

bool Startup::start()
{
    QString failure;
    QString programFolder;
    records::AliasSettings alias;
    {
        WaitCursor hourglass;
        TLogo logo;
        logo.showNow();
        QCoreApplication::setApplicationName(QStringLiteral("ORVANE 2006"));
        try {
            privatefiles::keepNewFilesPrivate();
            programFolder = places::programFolder();
            alias = records::AliasSettings::load(programFolder);
            protectFiles(alias, programFolder);
            places::shareCorrespondenceIn(alias.sharedFolder);
            // Held before the base is opened and for as long as the program runs: no restore replaces
            // the base under it. Where the lock cannot be written, neither could the base's own log.
            if (alias.isSqlite()) {
                m_baseLock = std::make_unique<records::BaseInUseLock>(alias.sqlitePath(programFolder));
                if (!m_baseLock->othersHold())
                    refuseEmptyBase(alias.sqlitePath(programFolder));
            }
            m_database = std::make_unique<records::Database>(alias, programFolder);
            m_database->checkWritable();
            fillStartingLists(*m_database);
            addSearchIndexes(programFolder);
            // A copy or a restore cut short by a kill or a crash left a file the size of the base.
            if (m_baseLock && !m_baseLock->othersHold())
                records::removeCutCopies(alias.sqlitePath(programFolder), records::BackupFolder::ofProgram(programFolder));
            createWindows(programFolder);
        } catch (const Error &error) {
            // Without its base the program cannot go on; it leaves everything else as it was.
            failure = error.message();
            m_main.reset();
            m_database.reset();
            m_baseLock.reset();
        }
        if (failure.isEmpty())
            pause();
    }
    if (!failure.isEmpty()) {
        m_dialogs.showError(failure);
        return false;
    }
    m_main->show();
    // The window has shown and its gate has run: the day's copy of the base goes on in the background.
    if (!m_terminated) {
        records::DailyBackup::startIfDue(alias, programFolder, m_clock, m_dialogs, m_main.get());
        tellOnceWhereCorrespondenceStays(alias, programFolder);
    }
    return true;
}

// A base made by an earlier version gets the indexes of the practice search once, after a safety copy
// of it: on a large base their making takes a while, shown in a progress window.
void Startup::addSearchIndexes(const QString &programFolder)
{
    if (records::missingSearchIndexes(*m_database).isEmpty())
        return;
    m_database->writeUpgradeCopy(programFolder, m_clock.now());
    QProgressDialog progress(QStringLiteral("Préparation de la recherche multicritère : index des dossiers..."),
                             QString(), 0, 0);
    progress.setWindowTitle(QStringLiteral("Orvane 2006"));
    progress.setMinimumDuration(0);
    progress.setValue(0);
    records::createSearchIndexes(*m_database, [&progress](int done, int count) {
        progress.setMaximum(count);
        progress.setValue(done);
    });
}

// Rooms sharing a server base without a shared folder each keep their own letters and results: the
// physician hears it once, with what to do.
void Startup::tellOnceWhereCorrespondenceStays(const records::AliasSettings &alias, const QString &programFolder)
{
    if (alias.isSqlite() || !alias.sharedFolder.isEmpty())
        return;
    const auto key = places::registryKey(QStringLiteral("Orvane 32"));
    const QString told = QStringLiteral("Dossiers/Courrier sur ce poste signalé");
    if (key->value(told).toBool())
        return;
    key->setValue(told, true);
    key->sync();
    m_dialogs.showMessage(m_main.get(),
                          QStringLiteral("La base est partagée, mais les courriers envoyés, les examens reçus et le carnet "
                                         "d'adresses (hprim.ini) restent sur ce poste, dans %1 : les autres postes ne "
                                         "les voient pas.\n\nPour les partager, nommez dans alias.ini un dossier que "
                                         "tous les postes montent (ligne Dossiers=, voir le README).")
                              .arg(QDir::toNativeSeparators(programFolder)));
}

// Files an earlier version or a copy by hand left readable by others are made the user's alone; a
// base kept outside the program folder too.
void Startup::protectFiles(const records::AliasSettings &alias, const QString &programFolder)
{
    QStringList baseFiles;
    if (alias.isSqlite()) {
        for (const QString &suffix : records::journalSuffixes())
            baseFiles.append(alias.sqlitePath(programFolder) + suffix);
    }
    privatefiles::protect(baseFiles);
}

// The engine takes an empty file for a new base and would make its tables in it: a base that lost
// everything (a full disk, a copy cut short) would go on, empty, without a word. Only a file that
// does not exist yet becomes a new base; while another running copy holds the base, it may be
// creating it at this very moment.
void Startup::refuseEmptyBase(const QString &basePath)
{
    const QFileInfo base(basePath);
    const QFileInfo log(basePath + QStringLiteral("-wal"));
    if (!base.exists() || base.size() > 0 || (log.exists() && log.size() > 0))
        return;
    throw Error(QStringLiteral("Le fichier de la base de données %1 est vide (0 octet) : ce qu'il contenait est perdu "
                               "(disque plein, copie interrompue ?). Orvane 2006 ne le prend pas pour une base neuve.\n\n"
                               "Remettez la dernière copie de sauvegarde avec orvane-restore (voir le README) ; pour "
                               "commencer vraiment une base neuve, supprimez ce fichier. Puis relancez Orvane 2006.")
                    .arg(QDir::toNativeSeparators(basePath)));
}

// The person's keys and clicks wait until the pause is over; the window system's own events are
// handled, so the splash stays painted when something passes over it.
void Startup::pause()
{
    QEventLoop loop;
    QTimer::singleShot(m_pause, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void Startup::createWindows(const QString &programFolder)
{
    m_main = std::make_unique<TOrvane>(*m_database, m_dialogs, m_clock, programFolder);
    connect(m_main.get(), &TOrvane::terminationRequested, this, &Startup::terminate);
    TOrvane *owner = m_main.get();
    ProgramWindows windows;
    windows.apropos = new Tapropos(owner);
    windows.betablocants = new clinical::Tbetablocants(*m_database, m_dialogs, owner);
    windows.acuitearch = new clinical::Tacuitearch(*m_database, m_dialogs, owner);
    windows.imprime = new prescribing::TImprime(owner);
    windows.rechercher = new records::TRechercher(*m_database, owner);
    windows.marges = new prescribing::TMarges(owner);
    windows.ordonnance = new prescribing::Tordonnance(m_dialogs, owner);
    windows.dialogues = new Tdialogues(m_dialogs, owner);
    windows.paramessage = new messaging::Tparamessage(m_dialogs, owner);
    windows.messageEditor = new messaging::TfrmMessageEditor(
        m_dialogs, m_clock, [owner] { return toMessagingWindows(owner->settingsStore().settings().messaging); }, owner);
    windows.motdepasse = new Tmotdepasse(owner);
    m_main->setWindows(windows);
}

void Startup::terminate()
{
    m_terminated = true;
    QCoreApplication::exit(0);
}

int Startup::run()
{
    if (!start())
        return 1;
    if (m_terminated)
        return 0;
    return QCoreApplication::exec();
}

} // namespace orvane::app
