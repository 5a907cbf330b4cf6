// The bare Qt program's start for bench_startup: a full-screen frameless window in the backdrop's
// blue with the title page centred on it, as the program's first screen stands. Nothing else: it
// takes the system's fonts as it finds them (a Tahoma the system lacks is matched by fontconfig), so
// the cost of registering ours is charged to the program alone.
#include "BarePages.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BarePages bare;
    bare.coverScreen();
    bare.show(bare.title());
    // Full screen as the program's backdrop is: that also makes it the active window, with the
    // keyboard, as a program a pupil types into must be.
    bare.window.showFullScreen();
    return QApplication::exec();
}
