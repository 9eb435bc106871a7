#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace orvane::test {

// Takes the desktop's place for the files the program hands it to open (QDesktopServices), and
// keeps their paths.
class OpenedFiles : public QObject
{
    Q_OBJECT

public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QStringList paths;

public slots:
    void open(const QUrl &url) { paths.append(url.toLocalFile()); }
};

} // namespace orvane::test
