#pragma once

#include "prescribing/printsettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace orvane {
class DialogService;
class RadioGroup;
}

namespace orvane::prescribing {

// The letterhead dialog: the eight letterhead lines, the association membership and a preview of
// the letterhead. It edits a copy of the print settings, which its caller stores once it has
// closed, however it was closed.
class Tordonnance : public QDialog
{
    Q_OBJECT

public:
    static constexpr int lineCount = 8;

    explicit Tordonnance(DialogService &dialogs, QWidget *parent = nullptr);

    // Fills the fields from the settings' letterhead lines and membership.
    void load(const PrintSettings &settings);
    // The loaded settings with the letterhead lines as typed and the membership as chosen (-1 when
    // neither "Oui" nor "Non" is chosen).
    PrintSettings edited() const;

public slots:
    // The preview shows the fields' texts as they stand when the dialog becomes active.
    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildFields();
    QWidget *buildPreview();
    // The font dialog, preset with the font of the line's preview, gives that preview its font.
    void choosePreviewFont(int line);

    DialogService &m_dialogs;
    PrintSettings m_settings;
    QLineEdit *m_edits[lineCount] = {};
    QLabel *m_previews[lineCount] = {};
    RadioGroup *m_aga = nullptr;
};

} // namespace orvane::prescribing
