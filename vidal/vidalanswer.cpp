#include "vidal/vidalanswer.h"

#include "vidal/memolines.h"

namespace orvane::vidal {

namespace {

constexpr int trimmedEachSide = 2;

// Only the start of the text is looked at, so a huge foreign clipboard text costs nothing.
bool startsWithMarkerLine(const QString &text)
{
    if (!text.startsWith(answerMarker))
        return false;
    if (text.size() == answerMarker.size())
        return true;
    const QChar next = text.at(answerMarker.size());
    return next == QLatin1Char('\r') || next == QLatin1Char('\n');
}

} // namespace

std::optional<QStringList> answerLines(const QString &clipboardText)
{
    if (!startsWithMarkerLine(clipboardText))
        return std::nullopt;
    return memoLines(clipboardText).mid(1);
}

QString vidalAnswer(const QStringList &lines)
{
    const QString crLf = QStringLiteral("\r\n");
    return (QStringList{answerMarker} + lines).join(crLf) + crLf;
}

bool isDrugLine(const QString &line)
{
    return line.contains(QLatin1Char('-'));
}

QString drugLogText(const QString &line)
{
    if (line.size() <= 2 * trimmedEachSide)
        return QString();
    return line.mid(trimmedEachSide, line.size() - 2 * trimmedEachSide);
}

QStringList drugLogTexts(const QString &prescription)
{
    QStringList texts;
    for (const QString &line : memoLines(prescription)) {
        if (isDrugLine(line))
            texts.append(drugLogText(line));
    }
    return texts;
}

} // namespace orvane::vidal
