#include "support/testenvironment.h"

#include <QDir>
#include <QLocale>
#include <QSettings>

namespace orvane::test {

TemporaryHome::TemporaryHome()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    , m_oldData(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(m_dir.path() + QStringLiteral("/config"));
    QDir().mkpath(m_dir.path() + QStringLiteral("/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/data")));
    // QSettings reads the configuration folder once per process; later homes must be told.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path() + QStringLiteral("/config"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

TemporaryHome::~TemporaryHome()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_DATA_HOME", m_oldData);
    const QString oldConfig = m_oldConfig.isEmpty() ? QDir::homePath() + QStringLiteral("/.config")
                                                    : QFile::decodeName(m_oldConfig);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, oldConfig);
}

} // namespace orvane::test
