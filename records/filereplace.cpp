#include "records/filereplace.h"

#include "platform/error.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <system_error>

namespace orvane::records {

namespace {

std::filesystem::path nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

void replaceFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    if (error)
        throw Error(QStringLiteral("%1 ne peut pas être remplacé : %2")
                        .arg(QDir::toNativeSeparators(to), QString::fromLocal8Bit(error.message().c_str())));
}

} // namespace orvane::records
