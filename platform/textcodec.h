#pragma once

#include <QByteArray>
#include <QString>

namespace orvane {

// The 8-bit files and byte strings the program shares with French Windows systems.
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);

// A text received from elsewhere, kept with every character it has: in Windows-1252 when that code
// page holds them all, otherwise in UTF-8 after a byte-order mark.
QByteArray keptTextBytes(const QString &text);
// Either form back: UTF-8 after a byte-order mark, Windows-1252 otherwise.
QString fromKeptText(const QByteArray &bytes);

} // namespace orvane
