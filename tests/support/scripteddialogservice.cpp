#include "support/scripteddialogservice.h"

#include <QDialog>
#include <QTest>

namespace orvane::test {

QStringList ScriptedDialogService::texts() const
{
    QStringList result;
    for (const Request &request : m_requests)
        result.append(request.text);
    return result;
}

void ScriptedDialogService::clear()
{
    m_answers.clear();
    m_requests.clear();
}

ScriptedDialogService::Answer ScriptedDialogService::take(const Request &request)
{
    m_requests.append(request);
    if (m_answers.isEmpty()) {
        const QByteArray what = QStringLiteral("unscripted %1: %2 %3")
                                    .arg(request.kind, request.caption, request.text)
                                    .toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        return Answer{};
    }
    return m_answers.takeFirst();
}

bool ScriptedDialogService::askYesNo(QWidget *, const QString &text, Icon)
{
    return take({QStringLiteral("yesno"), QString(), text}).value.toBool();
}

void ScriptedDialogService::showMessage(QWidget *, const QString &text)
{
    m_requests.append({QStringLiteral("message"), QString(), text});
}

void ScriptedDialogService::showError(const QString &text)
{
    m_requests.append({QStringLiteral("error"), QString(), text});
}

std::optional<QString> ScriptedDialogService::askText(QWidget *, const QString &caption,
                                                      const QString &prompt, const QString &)
{
    const QVariant value = take({QStringLiteral("text"), caption, prompt}).value;
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

QString ScriptedDialogService::chooseFileToOpen(QWidget *, const QString &folder, const QString &filter,
                                                const QString &caption)
{
    return take({QStringLiteral("open"), folder, filter, caption}).value.toString();
}

QString ScriptedDialogService::chooseFileToSave(QWidget *, const QString &folder, const QString &filter,
                                                const QString &caption)
{
    return take({QStringLiteral("save"), folder, filter, caption}).value.toString();
}

std::optional<QFont> ScriptedDialogService::chooseFont(QWidget *, const QFont &initial)
{
    const QVariant value = take({QStringLiteral("font"), QString(), initial.family()}).value;
    if (!value.isValid())
        return std::nullopt;
    return value.value<QFont>();
}

bool ScriptedDialogService::setUpPrinter(QWidget *, QPrinter &)
{
    return take({QStringLiteral("printer"), QString(), QString()}).value.toBool();
}

int ScriptedDialogService::execModal(QDialog &dialog)
{
    Answer answer = take({QStringLiteral("modal"), dialog.windowTitle(), dialog.objectName()});
    dialog.setResult(0);
    dialog.show();
    QTest::qWait(0);
    if (answer.modal)
        answer.modal(dialog);
    if (dialog.isVisible())
        dialog.close();
    return dialog.result();
}

} // namespace orvane::test
