#include "platform/screen/Fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <cmath>
#include <thread>

namespace platform {

QFont makeFont(const FontDesc& f) {
    QFont font(QString::fromLatin1(f.family));
    font.setPixelSize(int(std::lround(f.points * 4.0 / 3.0)));
    font.setBold(f.bold);
    return font;
}

namespace {
// fontconfig's first start, on a worker: waited for before Qt asks fontconfig anything, or at exit.
struct FontconfigStart {
    std::thread worker;
    void wait() {
        if (worker.joinable()) worker.join();
    }
    ~FontconfigStart() { wait(); }
};
FontconfigStart& fontconfigStart() {
    static FontconfigStart start;
    return start;
}
}  // namespace

void startFontconfig() {
    if (!fontconfigStart().worker.joinable()) fontconfigStart().worker = std::thread([] { FcInit(); });
}

void waitForFontconfig() { fontconfigStart().wait(); }

void initFonts() {
    // Qt's font list is fontconfig's: two starts at once would each read every configuration file.
    waitForFontconfig();
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) return;
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

}  // namespace platform
