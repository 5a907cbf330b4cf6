// Work a screen will soon want, done ahead on threads of the pictures' own: pictures read and pages
// played. The work is the application's: as it goes (its last event, or its destruction beginning),
// work not yet begun is dropped, a play under way stops at its next record, and the application waits
// for the rest. A page drawing its text once the window system has gone would stop the program.
#pragma once
#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent>
#include <atomic>
#include <optional>
#include <type_traits>

namespace platform {

class WorkAhead {
public:
    // The application's own, on the window's thread.
    static WorkAhead& ofApplication();
    ~WorkAhead() { finish(); }

    // Runs `work` on a worker thread. Its result is empty when the work was dropped: the application
    // was going before it began (or there is none).
    template <class F> auto run(F work) -> QFuture<std::optional<std::invoke_result_t<F>>> {
        using Result = std::optional<std::invoke_result_t<F>>;
        if (!accepting()) return QtFuture::makeReadyFuture(Result());
        return QtConcurrent::run(&m_threads, [this, work = std::move(work)]() -> Result {
            if (m_cancelled) return std::nullopt;
            return work();
        });
    }
    // Set as the application goes; a play looks at it between records.
    const std::atomic<bool>& cancelled() const { return m_cancelled; }
    // Drops what has not begun, stops plays at their next record and waits for the rest.
    void finish();

private:
    bool accepting();
    QThreadPool m_threads;
    std::atomic<bool> m_cancelled{false};
    bool m_armed = false;  // tied to the application of the moment
};

}  // namespace platform
