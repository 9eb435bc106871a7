#pragma once

#include "prescribing/printsettings.h"

namespace orvane::prescribing {

// v truncated toward zero; values beyond the range of int stop at its ends.
int truncated(double v);

// The positions of every printed layout: fixed numbers of the normal layout scaled by the spacing
// factors kx and ky, each product truncated on its own before a margin is added or subtracted.
class PrintCoordinates
{
public:
    explicit PrintCoordinates(const PrintSettings &settings);

    double kx() const { return m_kx; }
    double ky() const { return m_ky; }

    // T(kx·v) and T(ky·v).
    int x(long long v) const;
    int y(long long v) const;
    // T(kx·v) + G: measured from the left margin.
    int fromLeft(int v) const;
    // T(kx·v) − D: measured towards the right margin.
    int fromRight(int v) const;
    // T(ky·v) − 4·B: at the foot of the page, raised by the bottom margin.
    int foot(int v) const;
    // The row-th line of a list that starts at T(ky·first) and steps by T(ky·step).
    int row(int first, int step, int row) const;

private:
    double m_kx;
    double m_ky;
    int m_left;
    int m_right;
    int m_bottom;
};

} // namespace orvane::prescribing
