#pragma once

#include "platform/dialogservice.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

namespace orvane::test {

// Answers the program's questions in the order a test scripted them and records what was asked.
// A question without a scripted answer fails the running test.
class ScriptedDialogService final : public DialogService
{
public:
    struct Request
    {
        Request(QString kind, QString caption, QString text, QString title = QString())
            : kind(std::move(kind))
            , caption(std::move(caption))
            , text(std::move(text))
            , title(std::move(title))
        {
        }

        QString kind; // "yesno", "message", "error", "text", "open", "save", "font", "printer", "modal"
        QString caption; // the folder for the file dialogs
        QString text; // the filter for the file dialogs
        QString title; // the file dialogs' title
    };
    using ModalScript = std::function<void(QDialog &)>;

    void answerYes() { m_answers.append(Answer{QVariant(true), {}}); }
    void answerNo() { m_answers.append(Answer{QVariant(false), {}}); }
    void answerText(const QString &text) { m_answers.append(Answer{QVariant(text), {}}); }
    void answerCancel() { m_answers.append(Answer{QVariant(), {}}); }
    void answerFile(const QString &path) { m_answers.append(Answer{QVariant(path), {}}); }
    void answerPrinterSetup(bool confirmed) { m_answers.append(Answer{QVariant(confirmed), {}}); }
    void answerFont(const QFont &font) { m_answers.append(Answer{QVariant(font), {}}); }
    // The script drives the shown window (clicks, keys) and must leave it closed.
    void answerModal(ModalScript script) { m_answers.append(Answer{QVariant(), std::move(script)}); }

    const QList<Request> &requests() const { return m_requests; }
    QStringList texts() const;
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

    bool askYesNo(QWidget *parent, const QString &text, Icon icon) override;
    void showMessage(QWidget *parent, const QString &text) override;
    void showError(const QString &text) override;
    std::optional<QString> askText(QWidget *parent, const QString &caption, const QString &prompt,
                                   const QString &initial) override;
    QString chooseFileToOpen(QWidget *parent, const QString &folder, const QString &filter,
                             const QString &caption = QString()) override;
    QString chooseFileToSave(QWidget *parent, const QString &folder, const QString &filter,
                             const QString &caption = QString()) override;
    std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) override;
    bool setUpPrinter(QWidget *parent, QPrinter &printer) override;
    int execModal(QDialog &dialog) override;

private:
    struct Answer
    {
        QVariant value;
        ModalScript modal;
    };
    Answer take(const Request &request);

    QList<Answer> m_answers;
    QList<Request> m_requests;
};

} // namespace orvane::test
