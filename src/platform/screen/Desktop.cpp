#include "platform/screen/Desktop.h"
#include "platform/screen/Stage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace platform {

void openUrl(const QString& url) {
    if (openUrlHook) return openUrlHook(url);
    QDesktopServices::openUrl(QUrl(url));
}

void quitProgram() {
    if (endHook) return endHook();
    Stage::instance()->hide();
    QCoreApplication::exit(0);
}

}  // namespace platform
