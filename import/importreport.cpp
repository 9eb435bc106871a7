#include "import/importreport.h"

#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvane::import {

void ImportReport::startTable(const QString &table)
{
    m_tables.append(Counts{table});
    m_current = int(m_tables.size()) - 1;
}

void ImportReport::resumeTable(const QString &table)
{
    for (int i = 0; i < m_tables.size(); ++i) {
        if (m_tables.at(i).table == table)
            m_current = i;
    }
}

void ImportReport::note(int row, const QString &decision, bool changed)
{
    m_notes.append(QStringLiteral("%1, ligne %2 : %3").arg(current().table).arg(row + 1).arg(decision));
    if (changed)
        ++current().changed;
}

void ImportReport::note(const QString &decision)
{
    m_notes.append(decision);
}

QString ImportReport::countsText() const
{
    QString text = QStringLiteral("%1 %2 %3 %4\n")
                       .arg(QStringLiteral("table"), -14)
                       .arg(QStringLiteral("lues"), 10)
                       .arg(QStringLiteral("importées"), 10)
                       .arg(QStringLiteral("modifiées"), 10);
    for (const Counts &counts : m_tables)
        text += QStringLiteral("%1 %2 %3 %4\n").arg(counts.table, -14).arg(counts.read, 10).arg(counts.imported, 10).arg(counts.changed, 10);
    return text;
}

QString ImportReport::text(const QString &folder, const QString &base, const QDateTime &when) const
{
    QString text = QStringLiteral("Importation des tables de %1 dans la base %2, le %3 à %4\n\n")
                       .arg(QDir::toNativeSeparators(folder), base, when.toString(QStringLiteral("dd/MM/yyyy")),
                            when.toString(QStringLiteral("HH:mm:ss")));
    text += countsText();
    text += QLatin1Char('\n');
    if (m_notes.isEmpty())
        text += QStringLiteral("Toutes les lignes ont été importées telles quelles.\n");
    else
        text += QStringLiteral("Lignes importées autrement qu'elles ont été lues, ou à vérifier :\n");
    for (const QString &line : m_notes)
        text += QStringLiteral("- ") + line + QLatin1Char('\n');
    return text;
}

QString ImportReport::write(const QString &programFolder, const QString &folder, const QString &base,
                            const QDateTime &when) const
{
    const QString stem = programFolder + QStringLiteral("/import-") + when.date().toString(Qt::ISODate);
    QString path = stem + QStringLiteral(".txt");
    for (int next = 2; QFileInfo::exists(path); ++next)
        path = stem + QStringLiteral("-%1.txt").arg(next);
    QDir().mkpath(programFolder);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw Error(QStringLiteral("Le rapport %1 ne peut pas être écrit : %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    file.write(text(folder, base, when).toUtf8());
    if (!file.commit())
        throw Error(QStringLiteral("Le rapport %1 ne peut pas être écrit : %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return path;
}

} // namespace orvane::import
