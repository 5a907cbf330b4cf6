// The bare Qt program's start for bench_startup: a full-screen frameless window in the backdrop's
// blue with the title page centred on it, as the program's first screen stands. Nothing else.
#include "BarePages.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::initFonts();  // the same fonts as the program's captions
    BarePages bare;
    bare.coverScreen();
    bare.show(bare.title());
    // Full screen as the program's backdrop is: that also makes it the active window, with the
    // keyboard, as a program a pupil types into must be.
    bare.window.showFullScreen();
    return QApplication::exec();
}
