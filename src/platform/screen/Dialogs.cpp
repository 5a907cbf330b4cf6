#include "platform/screen/Dialogs.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/Stage.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

Q_LOGGING_CATEGORY(lcEvents, "vellacourt.events")

namespace platform {

void run(const std::function<void()>& procedure) {
    try {
        procedure();
    } catch (const std::exception& e) {
        qCWarning(lcEvents, "%s", core::reasonOf(e).c_str());
        showMessage(QStringLiteral("Something went wrong: %1").arg(QString::fromStdString(e.what())));
    }
    reportNameChangesSoon();
}

QString chooseFileToSave(const QString& caption, const QString& suggested, const QString& filter) {
    if (saveFileHook) return saveFileHook(suggested);
    // The toolkit's own dialog, drawn in the stage's window: no desktop's dialog that a thin client may lack.
    const QString chosen = QFileDialog::getSaveFileName(Stage::instance(), caption, QDir::home().filePath(suggested), filter,
                                                        nullptr, QFileDialog::DontUseNativeDialog);
    Stage::instance()->activateWindow();
    return chosen;
}

Answer showMessage(const QString& text, Buttons buttons, const QString& caption) {
    if (msgBoxHook) return msgBoxHook(text, caption);
    QMessageBox box(Stage::instance());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (buttons) {
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setIcon(QMessageBox::Question);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        box.setIcon(QMessageBox::Question);
        break;
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    }
    const int pressed = box.exec();
    // The keyboard and a screen reader go back to the stage as the box closes, whether or not a
    // window manager hands them back (a reader that saw no window come back says nothing more).
    Stage::instance()->activateWindow();
    switch (pressed) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

}  // namespace platform
