#pragma once

#include "messaging/addressbook.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvane::messaging {

// "Correspondants": the four fields of a new correspondent. "&OK" is enabled once a name and an
// e-mail address (with its "@") have been typed.
class Tajout : public QDialog
{
    Q_OBJECT

public:
    explicit Tajout(QWidget *parent = nullptr);

    // Empties the four fields and disables "&OK", as before each showing.
    void reset();
    Correspondent correspondent() const;

public slots:
    void emailChange();

private:
    QLineEdit *addEdit(const char *name, const QString &label);

    QLineEdit *m_nom;
    QLineEdit *m_adresse;
    QLineEdit *m_spec;
    QLineEdit *m_email;
    QPushButton *m_ok;
};

} // namespace orvane::messaging
