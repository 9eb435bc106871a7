#include "support/testenvironment.h"

#include <QDir>
#include <QLocale>

namespace orvane::test {

TemporaryHome::TemporaryHome()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    , m_oldData(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(m_dir.path() + QStringLiteral("/config"));
    QDir().mkpath(m_dir.path() + QStringLiteral("/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/data")));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

TemporaryHome::~TemporaryHome()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_DATA_HOME", m_oldData);
}

} // namespace orvane::test
