// Message boxes, and the rule that a failure nobody trapped becomes one, never a crash.
#pragma once
#include "platform/files/Core.h"

#include <QString>
#include <functional>

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEvents)

namespace platform {

// Message boxes: OK, OK and Cancel, or a question answered Yes or No (Escape: No). The caption is
// the program's title unless given.
inline const QString ProgramTitle = QStringLiteral("Vellacourt Numerists");
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };
Answer showMessage(const QString& text, Buttons buttons = Buttons::Ok, const QString& caption = ProgramTitle);
// Test seam: when set, receives every message box instead of the screen.
inline std::function<Answer(const QString& text, const QString& caption)> msgBoxHook;

// The file a teacher names to save to, through the toolkit's own file dialog (empty: cancelled).
// `suggested` is the file name offered, in the user's home folder.
QString chooseFileToSave(const QString& caption, const QString& suggested, const QString& filter);
// Test seam: when set, answers in place of the dialog.
inline std::function<QString(const QString& suggested)> saveFileHook;

// Runs an event procedure; a failure nobody trapped becomes a message, never a crash.
void run(const std::function<void()>& procedure);

// A step of a longer procedure that may fail without stopping the steps after it.
template <class F> void skipOnFailure(F&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        qCInfo(lcEvents, "a step was skipped: %s", core::reasonOf(e).c_str());
    }
}

}  // namespace platform
