#include "app/torvane.h"

#include "app/passwordgate.h"
#include "app/tdialogues.h"
#include "app/tmotdepasse.h"
#include "platform/clock.h"
#include "platform/dialogservice.h"
#include "platform/screenplacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace orvane::app {

namespace {

constexpr int windowWidth = 800;
constexpr int windowHeight = 600;

} // namespace

TOrvane::TOrvane(records::Database &db, DialogService &dialogs, const Clock &clock,
                 const QString &programFolder, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                              | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_programFolder(programFolder)
    , m_tables(db)
    , m_settings(programFolder)
{
    setObjectName(QStringLiteral("Orvane"));
    setWindowTitle(QStringLiteral("Orvane 2006"));
    buildFrame();
    setFixedSize(windowWidth, windowHeight);

    placeAtTopLeft(*this);
    m_tables.open();
    m_dateBox->setText(m_clock.todayText());
    m_settings.load();
    m_notebook->setCurrentIndex(0);
    m_vidalAvailable = QFileInfo::exists(QDir(m_programFolder).filePath(QStringLiteral("accesvidalcd.exe")));
}

void TOrvane::buildFrame()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);

    m_toolBar = new QToolBar(panel);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_dateBox = new QLineEdit(QStringLiteral("-/-/-"), m_toolBar);
    m_dateBox->setObjectName(QStringLiteral("Edit2"));
    m_dateBox->setReadOnly(true);
    m_dateBox->setFocusPolicy(Qt::NoFocus);
    m_dateBox->setMaximumWidth(90);
    m_toolBar->addWidget(m_dateBox);
    layout->addWidget(m_toolBar);

    m_notebook = new QTabWidget(panel);
    m_notebook->setObjectName(QStringLiteral("TabbedNotebook1"));
    addPage(QStringLiteral("Identite"), QStringLiteral("&Identité"));
    addPage(QStringLiteral("consultation"), QStringLiteral("&Consultation"));
    addPage(QStringLiteral("Prescri"), QStringLiteral("&Prescriptions"));
    addPage(QStringLiteral("vaccin"), QStringLiteral("&Vaccinations"));
    addPage(QStringLiteral("bilans"), QStringLiteral("&Bilans et Mesures"));
    addPage(QStringLiteral("statistique"), QStringLiteral("&Statistiques"));
    layout->addWidget(m_notebook, 1);

    setCentralWidget(panel);
}

void TOrvane::addPage(const QString &name, const QString &title)
{
    auto *page = new QWidget(m_notebook);
    page->setObjectName(name);
    m_notebook->addTab(page, title);
}

void TOrvane::setWindows(const ProgramWindows &windows)
{
    m_windows = windows;
}

void TOrvane::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_gateRun) {
        m_gateRun = true;
        FormShow();
    }
}

// Runs once, when the window first shows: nothing of the files is usable before the gate.
void TOrvane::FormShow()
{
    PasswordGate gate(m_dialogs, *m_windows.motdepasse, m_settings);
    if (gate.run() == PasswordGate::Outcome::Ended) {
        m_ending = true;
        emit terminationRequested();
        return;
    }
    reportSettingsProblems();
}

void TOrvane::reportSettingsProblems()
{
    for (const QString &problem : m_settings.loadProblems())
        m_dialogs.showMessage(this, problem);
}

bool TOrvane::FormCloseQuery()
{
    return m_windows.dialogues->ask(QStringLiteral("ORVANE 2006"), QStringLiteral("Quitter Orvane 2006?"));
}

void TOrvane::closeEvent(QCloseEvent *event)
{
    if (m_ending || FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

// The open rows stay stored even when the user then decides to stay.
void TOrvane::Quitter1Click()
{
    m_tables.storeOpenRows();
    close();
}

} // namespace orvane::app
