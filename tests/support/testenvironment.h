#pragma once

#include <QString>
#include <QTemporaryDir>

namespace orvane::test {

// Points the settings and data folders at a fresh temporary folder for the lifetime of the object,
// so a test never touches the user's real files, and sets the French locale of the program's users.
class TemporaryHome
{
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
};

} // namespace orvane::test
