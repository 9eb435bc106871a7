#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;
class QPlainTextEdit;

namespace orvane {
class DialogService;
namespace records {
class Database;
class FieldBinding;
class Table;
} // namespace records
} // namespace orvane

namespace orvane::clinical {

// The viewer of one text of the patient's archive row, on its own archive table object. The
// patient's row is found, or made, when the window shows; OK stores it.
class Tacuitearch : public QDialog
{
    Q_OBJECT

public:
    // The colours come from the colour file; a faulty file is reported and the colours read
    // before the fault stay.
    Tacuitearch(records::Database &db, DialogService &dialogs, QWidget *parent = nullptr);
    ~Tacuitearch() override;

    // Shows the field ("Consultation" or "Prescription") of the archive row of that record
    // number modally; a row made for it takes the name.
    void showArchive(const QString &field, const QString &recordNumber, const QString &name, const QString &caption);

    records::Table &table() const { return *m_table; }

public slots:
    void FormCreate();
    void FormActivate();
    void BitBtn1Click();
    void Copier1Click();
    void Coller1Click();
    // Closing the window any other way keeps what was typed, as OK does.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    DialogService &m_dialogs;
    std::unique_ptr<records::Table> m_table;
    QLineEdit *m_name;
    QPlainTextEdit *m_text;
    QLineEdit *m_recordNumberShown;
    QLineEdit *m_recordNumber;
    QLineEdit *m_newRowName;
    QPushButton *m_ok;
    records::FieldBinding *m_textBinding = nullptr;
};

} // namespace orvane::clinical
