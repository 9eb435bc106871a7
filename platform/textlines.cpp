#include "platform/textlines.h"

#include "platform/error.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(breaks);
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

QStringList readWindowsTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(QDir::toNativeSeparators(path)));
    return splitLines(fromWindows1252(file.readAll()));
}

void writeWindowsTextFile(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(windowsTextBytes(lines)) < 0 || !file.commit())
        throw Error(QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace orvane
