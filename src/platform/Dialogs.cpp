#include "platform/Dialogs.h"
#include "platform/Stage.h"

#include <QMessageBox>

namespace platform {

void run(const std::function<void()>& procedure) {
    try {
        procedure();
    } catch (const std::exception& e) {
        MsgBox(QStringLiteral("Something went wrong: %1").arg(QString::fromStdString(e.what())));
    }
}

Answer MsgBox(const QString& text, Buttons buttons, const QString& caption) {
    if (msgBoxHook) return msgBoxHook(text, caption);
    QMessageBox box(Stage::instance());
    box.setWindowTitle(caption);
    box.setText(text);
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setIcon(QMessageBox::Question);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

}  // namespace platform
