#include "platform/files/LibraryPath.h"
#include "platform/files/ResultsFiles.h"
#include "platform/screen/Dialogs.h"
#include "platform/screen/Fonts.h"
#include "platform/screen/Navigator.h"
#include "platform/screen/Stage.h"
#include "shell/MainMenu.h"
#include "shell/TitleScreen.h"

#include <QApplication>

// The run starts by opening and showing the title screen; its prepare() does the rest.
int main(int argc, char** argv) {
    platform::startWithoutRelativeLibraryPaths(argv);
    platform::startFontconfig();
    platform::Stage::useScaleSetting();
    platform::Stage::chooseScaleBeforeStart();
    QApplication app(argc, argv);
    platform::Stage::restartAtScreenScale(argv);
    // The title's picture at a whiteboard's scale takes longer to decode than the fonts take to load.
    TitleScreen::readPictureAhead();
    QApplication::setApplicationName(platform::ProgramTitle);
    platform::initFonts();
    // The launcher found the working folder unsafe or unusable: say why, and start nothing.
    if (const QString problem = qEnvironmentVariable("VELLACOURT_PROBLEM"); !problem.isEmpty()) {
        platform::showMessage(problem);
        return 1;
    }
    // The launcher could bring only part of the working folder up to date: the teacher is told, and
    // the program goes on with what is there.
    if (const QString notice = qEnvironmentVariable("VELLACOURT_NOTICE"); !notice.isEmpty()) {
        qunsetenv("VELLACOURT_NOTICE");
        platform::showMessage(notice);
    }
    // A school's results folder that would let pupils see one another's results is said at every start.
    if (const QString warning = platform::resultsFolderWarning(); !warning.isEmpty()) platform::showMessage(warning);
    // Started again at a screen's new scale: straight back to the main menu it was left at.
    if (qEnvironmentVariableIsSet("VELLACOURT_START_AT_MENU")) {
        qunsetenv("VELLACOURT_START_AT_MENU");
        platform::run([] {
            platform::Stage::instance()->showBackdrop();
            platform::screens().show<MainMenu>();
        });
    } else {
        platform::run([] { platform::screens().show<TitleScreen>(); });
    }
    return QApplication::exec();
}
