#pragma once

#include <QDialog>
#include <memory>

namespace orvane {
class DialogService;
namespace records {
class Database;
class DbGrid;
class Table;
} // namespace records
} // namespace orvane

namespace orvane::clinical {

// The list editor: one table object, reopened on the list chosen from the menu, in a grid that
// shows and edits every field, with a navigator to insert, delete, edit, store and cancel rows.
class Tbetablocants : public QDialog
{
    Q_OBJECT

public:
    Tbetablocants(records::Database &db, DialogService &dialogs, QWidget *parent = nullptr);
    ~Tbetablocants() override;

    // Reopens the editor's table under that name, places the window and shows it modally.
    void editList(const QString &tableName, const QString &caption, int left, int width);

    records::Table &table() const { return *m_table; }
    records::DbGrid *grid() const { return m_grid; }

public slots:
    void BitBtn1Click();
    // The navigator's buttons.
    void insertRow();
    void deleteRow();
    void editRow();
    void postRow();
    void cancelRow();
    // Closing the window any other way keeps what was typed, as OK does.
    void reject() override;

private:
    void showTable();

    DialogService &m_dialogs;
    std::unique_ptr<records::Table> m_table;
    records::DbGrid *m_grid = nullptr;
};

} // namespace orvane::clinical
