#include "platform/pictures/WorkAhead.h"

#include <QCoreApplication>

namespace platform {

WorkAhead& WorkAhead::ofApplication() {
    static WorkAhead work;
    return work;
}

void WorkAhead::finish() {
    m_cancelled = true;
    m_threads.waitForDone();
}

// Tied to each application as it comes: finished at its last event and, since a program need not run
// an event loop (a test does not), at the first step of its destruction, its clean-up routines,
// before any window or font goes. Once it is going, nothing more is taken.
bool WorkAhead::accepting() {
    if (!QCoreApplication::instance() || QCoreApplication::closingDown()) return false;
    if (!m_armed) {
        m_armed = true;
        m_cancelled = false;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { ofApplication().finish(); });
        qAddPostRoutine([] {
            WorkAhead& work = ofApplication();
            work.finish();
            work.m_armed = false;
        });
    }
    return !m_cancelled;
}

}  // namespace platform
