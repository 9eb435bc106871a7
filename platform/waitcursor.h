#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace orvane {

// The hourglass for as long as the object lives, whatever way the step it covers ends.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace orvane
