#pragma once
// The wall-clock time of one call, averaged over a run of calls.

#include <QElapsedTimer>

namespace lotgrid {

template<typename F>
double millisecondsPerCall(int calls, F &&f)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        f();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6 / calls;
}

} // namespace lotgrid
