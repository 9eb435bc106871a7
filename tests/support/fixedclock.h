#pragma once

#include "platform/clock.h"

namespace orvane::test {

// A clock that stays where the test puts it.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(const QDateTime &now = QDateTime(QDate(2006, 3, 15), QTime(10, 30)))
        : m_now(now)
    {
    }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void set(const QDate &date) { m_now = QDateTime(date, QTime(10, 30)); }

private:
    QDateTime m_now;
};

} // namespace orvane::test
