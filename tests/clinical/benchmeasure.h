#pragma once

#include <QElapsedTimer>
#include <QTextStream>
#include <functional>

// Runs the work that many times and prints its mean time in milliseconds.
inline void measure(const char *what, int repeats, const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeats; ++i)
        work();
    QTextStream(stdout) << what << ": " << double(timer.nsecsElapsed()) / 1e6 / repeats << " ms\n";
}
