#pragma once

#include <QByteArray>
#include <QString>

namespace orvane {

// The 8-bit files and byte strings the program shares with French Windows systems.
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);

} // namespace orvane
