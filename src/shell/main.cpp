#include "platform/Vb.h"
#include "shell/Forms.h"
#include "shell/Titlefrm.h"

#include <QApplication>

// The run starts by loading and showing the title screen; its load event does the rest.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::ProgramTitle);
    platform::initFonts();
    platform::run([] { forms::Titlefrm->Show(); });
    return QApplication::exec();
}
