// What the program asks of the desktop: a web page in the browser, and ending the run.
#pragma once
#include <QString>
#include <functional>

namespace platform {

// The publisher's web site in the desktop's browser.
void openUrl(const QString& url);
inline std::function<void(const QString&)> openUrlHook;

// Ends the run at once: every screen goes, no further events.
void quitProgram();
inline std::function<void()> endHook;

}  // namespace platform
