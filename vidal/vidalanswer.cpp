#include "vidal/vidalanswer.h"

#include "platform/textlines.h"

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
    return isLineBreak(text.at(answerMarker.size()));
}

} // namespace

std::optional<QStringList> answerLines(const QString &clipboardText)
{
    if (!startsWithMarkerLine(clipboardText))
        return std::nullopt;
    return splitLines(clipboardText).mid(1);
}

QString vidalAnswer(const QStringList &lines)
{
    return endLines(QStringList{answerMarker} + lines);
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
    for (const QString &line : splitLines(prescription)) {
        if (isDrugLine(line))
            texts.append(drugLogText(line));
    }
    return texts;
}

} // namespace orvane::vidal
