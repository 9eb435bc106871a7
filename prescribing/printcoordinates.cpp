#include "prescribing/printcoordinates.h"

#include <cmath>
#include <limits>

namespace orvane::prescribing {

namespace {

// Settings come from the registry and may hold any number: sums saturate instead of overflowing.
int saturated(long double v)
{
    constexpr long double lowest = std::numeric_limits<int>::min();
    constexpr long double highest = std::numeric_limits<int>::max();
    if (std::isnan(v))
        return 0;
    if (v <= lowest)
        return std::numeric_limits<int>::min();
    if (v >= highest)
        return std::numeric_limits<int>::max();
    return int(v);
}

} // namespace

int truncated(double v)
{
    return saturated(std::trunc(v));
}

PrintCoordinates::PrintCoordinates(const PrintSettings &settings)
    : m_kx(settings.espacement / 100.0)
    , m_ky(settings.intervalle / 100.0)
    , m_left(settings.margeGauche)
    , m_right(settings.margeDroite)
    , m_bottom(settings.margeBas)
{
}

int PrintCoordinates::x(long long v) const
{
    return truncated(m_kx * double(v));
}

int PrintCoordinates::y(long long v) const
{
    return truncated(m_ky * double(v));
}

int PrintCoordinates::fromLeft(int v) const
{
    return saturated((long double)x(v) + m_left);
}

int PrintCoordinates::fromRight(int v) const
{
    return saturated((long double)x(v) - m_right);
}

int PrintCoordinates::foot(int v) const
{
    return saturated((long double)y(v) - 4.0L * m_bottom);
}

int PrintCoordinates::row(int first, int step, int row) const
{
    return saturated((long double)y(first) + (long double)row * y(step));
}

} // namespace orvane::prescribing
