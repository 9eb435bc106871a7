#pragma once

#include <QList>
#include <QString>

namespace orvane::messaging {

struct Correspondent
{
    QString name;
    QString address;
    QString speciality;
    QString email;

    bool operator==(const Correspondent &other) const;
};

// The correspondents of the file "hprim.ini": four lines each (name, address, speciality, e-mail),
// kept sorted by name in the locale's text order; the file is rewritten whole after each change.
class AddressBook
{
public:
    explicit AddressBook(const QString &filePath);

    // A missing file gives an empty book. Trailing lines short of a full correspondent become one
    // with the missing fields empty, so a hand-edited file loses nothing at the next rewrite.
    void load();
    // Writes the book with what another workstation sharing the file stored since it was read: its
    // additions and removals are kept beside these.
    void save();

    const QList<Correspondent> &correspondents() const { return m_correspondents; }
    // Adds in name order and returns the new row's position.
    int add(const Correspondent &correspondent);
    void remove(int index);

private:
    void sort();

    QString m_filePath;
    QList<Correspondent> m_correspondents;
    QList<Correspondent> m_read; // as last read or written
};

} // namespace orvane::messaging
