// One Qt application for a whole test program (headless unless told otherwise), and a way to
// let its event loop run until something has happened.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "torva-tests";
    static char* argv[] = {name, nullptr};
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* const app = new QApplication(argc, argv);
    return *app;
}

// Handles events until `done()` holds; false when it still does not after `timeoutMs`.
inline constexpr int EventTimeoutMs = 20000;
template <class Condition>
bool PumpUntil(Condition done, int timeoutMs = EventTimeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}
