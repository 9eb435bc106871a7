#pragma once

#include "app/programwindows.h"
#include "app/settingsstore.h"
#include "records/patienttables.h"

#include <QMainWindow>

class QLineEdit;
class QTabWidget;
class QToolBar;

namespace orvane {
class Clock;
class DialogService;
}

namespace orvane::app {

// The main window: the frame around the current patient's file, its tables and the settings.
class TOrvane : public QMainWindow
{
    Q_OBJECT

public:
    TOrvane(records::Database &db, DialogService &dialogs, const Clock &clock,
            const QString &programFolder, QWidget *parent = nullptr);

    // The windows created after this one; the frame shows them when needed.
    void setWindows(const ProgramWindows &windows);
    const ProgramWindows &windows() const { return m_windows; }

    records::PatientTables &tables() { return m_tables; }
    SettingsStore &settingsStore() { return m_settings; }
    QTabWidget *notebook() const { return m_notebook; }
    // Whether the Vidal access program is installed in the program folder.
    bool vidalAvailable() const { return m_vidalAvailable; }

signals:
    // The access password was not given: the program ends without any question.
    void terminationRequested();

public slots:
    void FormShow();
    bool FormCloseQuery();
    void Quitter1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildFrame();
    void addPage(const QString &name, const QString &title);
    void reportSettingsProblems();

    DialogService &m_dialogs;
    const Clock &m_clock;
    QString m_programFolder;
    records::PatientTables m_tables;
    SettingsStore m_settings;
    ProgramWindows m_windows;

    QToolBar *m_toolBar = nullptr;
    QLineEdit *m_dateBox = nullptr;
    QTabWidget *m_notebook = nullptr;
    bool m_vidalAvailable = false;
    bool m_gateRun = false;
    bool m_ending = false;
};

} // namespace orvane::app
