#include "platform/textlines.h"

#include "platform/error.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace orvane {

bool endsWithLineBreak(const QString &text)
{
    return !text.isEmpty() && isLineBreak(text.back());
}

void appendLine(QString &text, const QString &line)
{
    if (text.isEmpty() || endsWithLineBreak(text)) {
        text += line;
        text += lineBreak;
    } else {
        text += lineBreak;
        text += line;
    }
}

void appendLines(QString &text, const QStringList &lines)
{
    for (const QString &line : lines)
        appendLine(text, line);
}

QString withLineAppended(QString text, const QString &line)
{
    appendLine(text, line);
    return text;
}

QStringList splitLines(const QString &text, FinalBreak finalBreak)
{
    if (text.isEmpty())
        return {};
    // A scan rather than a regular expression: the practice search splits the notes of every file it lists.
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text.at(i)))
            continue;
        lines.append(text.mid(start, i - start));
        if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));
    if (finalBreak == FinalBreak::EndsLastLine && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString lastLine(const QString &text)
{
    // Only the one break that ends the last line is passed over: a blank last line stays blank.
    qsizetype end = text.size();
    if (text.endsWith(QLatin1String("\r\n")))
        end -= 2;
    else if (end > 0 && isLineBreak(text.at(end - 1)))
        --end;
    qsizetype start = end;
    while (start > 0 && !isLineBreak(text.at(start - 1)))
        --start;
    return text.mid(start, end - start);
}

QString joinLines(const QStringList &lines, const QString &separator)
{
    return lines.join(separator);
}

QString endLines(const QStringList &lines, const QString &end)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += end;
    }
    return text;
}

QByteArray windowsTextBytes(const QStringList &lines)
{
    return toWindows1252(endLines(lines));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(QDir::toNativeSeparators(path)));
    return file.readAll();
}

QStringList readWindowsTextFile(const QString &path)
{
    return splitLines(fromWindows1252(fileBytes(path)));
}

QByteArray receivedTextBytes(const QStringList &lines)
{
    return keptTextBytes(endLines(lines));
}

QStringList readReceivedTextFile(const QString &path)
{
    return splitLines(fromKeptText(fileBytes(path)));
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
        throw Error(QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path)));
}

void writeWindowsTextFile(const QString &path, const QStringList &lines)
{
    writeFileBytes(path, windowsTextBytes(lines));
}

} // namespace orvane
