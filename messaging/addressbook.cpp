#include "messaging/addressbook.h"

#include "platform/textlines.h"

#include "platform/error.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <algorithm>

namespace orvane::messaging {

namespace {

constexpr int linesPerCorrespondent = 4;

// A line break inside a field would shift every later correspondent of the file by one line.
QString singleLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace

bool Correspondent::operator==(const Correspondent &other) const
{
    return name == other.name && address == other.address && speciality == other.speciality
        && email == other.email;
}

AddressBook::AddressBook(const QString &filePath)
    : m_filePath(filePath)
{
}

void AddressBook::load()
{
    m_correspondents.clear();
    m_read.clear();
    if (!QFile::exists(m_filePath))
        return;
    QStringList lines = readWindowsTextFile(m_filePath);
    // Blank lines an editor left at the end are no correspondent.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    for (int first = 0; first < lines.size(); first += linesPerCorrespondent) {
        m_correspondents.append(Correspondent{lines.value(first), lines.value(first + 1),
                                              lines.value(first + 2), lines.value(first + 3)});
    }
    sort();
    m_read = m_correspondents;
}

void AddressBook::save()
{
    // Two workstations saving at once take turns; a lock left by a crash is stale after 30 s.
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(10000))
        throw Error(QStringLiteral("Le fichier %1 est occupé par un autre poste : recommencez dans un moment.")
                        .arg(QDir::toNativeSeparators(m_filePath)));
    AddressBook stored(m_filePath);
    stored.load();
    QList<Correspondent> merged = stored.m_correspondents;
    for (const Correspondent &c : std::as_const(m_read)) {
        if (!m_correspondents.contains(c))
            merged.removeOne(c);
    }
    for (const Correspondent &c : std::as_const(m_correspondents)) {
        if (!m_read.contains(c) && !merged.contains(c))
            merged.append(c);
    }
    m_correspondents = merged;
    sort();
    QStringList lines;
    for (const Correspondent &c : m_correspondents)
        lines << c.name << c.address << c.speciality << c.email;
    writeWindowsTextFile(m_filePath, lines);
    m_read = m_correspondents;
}

int AddressBook::add(const Correspondent &correspondent)
{
    const Correspondent cleaned{singleLine(correspondent.name), singleLine(correspondent.address),
                                singleLine(correspondent.speciality), singleLine(correspondent.email)};
    m_correspondents.append(cleaned);
    sort();
    return int(m_correspondents.lastIndexOf(cleaned));
}

void AddressBook::remove(int index)
{
    if (index >= 0 && index < m_correspondents.size())
        m_correspondents.removeAt(index);
}

void AddressBook::sort()
{
    QCollator collator;
    std::stable_sort(m_correspondents.begin(), m_correspondents.end(),
                     [&collator](const Correspondent &a, const Correspondent &b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
}

} // namespace orvane::messaging
