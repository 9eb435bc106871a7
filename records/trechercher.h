#pragma once

#include <QDialog>
#include <QVariantList>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvane::records {

class Database;
class DbGrid;
class LetterColumn;
class Table;

// The search window: a list of every patient that follows the typed name or a clicked letter.
// Its answer stays in the window between uses (OK before the first one).
class TRechercher : public QDialog
{
    Q_OBJECT

public:
    explicit TRechercher(Database &db, QWidget *parent = nullptr);
    ~TRechercher() override;

    bool answeredOk() const { return m_answerOk; }
    // `NomPrénom`, `Nom`, `Prénom`, `N°Dossier` of the highlighted patient.
    QVariantList selectedKey() const;
    Table &patients() { return *m_patients; }

public slots:
    void FormActivate();
    void RechercheChange(const QString &text);
    void ListBox1Click();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormKeyDown(QKeyEvent *event, bool &handled);
    void nearest(const QString &key);

    std::unique_ptr<Table> m_patients;
    QLineEdit *m_recherche;
    DbGrid *m_grid;
    LetterColumn *m_letters;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    bool m_answerOk = true;
};

} // namespace orvane::records
