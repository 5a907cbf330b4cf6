#include "platform/screen/Fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <cmath>

namespace platform {

QFont makeFont(const FontDesc& f) {
    QFont font(QString::fromLatin1(f.family));
    font.setPixelSize(int(std::lround(f.points * 4.0 / 3.0)));
    font.setBold(f.bold);
    return font;
}

void initFonts() {
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) return;
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

}  // namespace platform
