#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;

namespace orvane::records {
class DbGrid;
class Table;
} // namespace orvane::records

namespace orvane::clinical {

// How one pick list looks: the names of its three controls, the grid's columns and hint, and
// whether the grid has a title row and the search field a "Recherche" label.
struct PickListLook
{
    QString letters; // the letter column, "alphabet4"
    QString search; // the search field, "recherche4"
    QString grid; // "laf"
    QStringList columns; // the fields shown, titled by their names
    QString hint;
    bool titles = false;
    bool searchLabel = false;
};

// A read-only grid over a table of stock words, a column of the letters A to Z to jump in it and a
// search field moving it as one types. Several lists may stand on one table object: they then
// always show the same current row. A double-click on the grid, or Enter or Space on its highlighted
// row, hands the word to the owner.
class PickList : public QWidget
{
    Q_OBJECT

public:
    PickList(records::Table &table, const QString &wordField, const PickListLook &look, QWidget *parent = nullptr);

    records::Table &table() const { return m_table; }
    records::DbGrid *grid() const { return m_grid; }
    QLineEdit *searchField() const { return m_search; }
    QListWidget *letters() const { return m_letters; }

    // The word of the table's current row; empty when the table has no row.
    QString word() const;
    // After a word was taken: the search field is emptied and the focus goes to the given control,
    // the text the word went into.
    void finishPick(QWidget *focusTarget);

public slots:
    // The letter column and the search field of every list.
    void alphabetClick();
    void rechercheChange(const QString &text);

signals:
    void picked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Re-reads the table, so that rows stored by the list editor appear, and moves it to the
    // first word at or after the key (the last word when none is).
    void moveTo(const QString &key);

    records::Table &m_table;
    QString m_wordField;
    QListWidget *m_letters;
    QLineEdit *m_search;
    records::DbGrid *m_grid;
};

} // namespace orvane::clinical
