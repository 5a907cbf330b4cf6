// The program ended while pages are played ahead: started, the guide's pages asked for at a
// whiteboard's scale, and main left at once or a few milliseconds in (tests/exit_ahead_test.sh).
#include "platform/pictures/Picture.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QThread>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral(DATA_DIR));  // the program's files are read from its working folder
    for (int k = 1; k <= 4; ++k)
        platform::playAhead(platform::LoadPicture(QStringLiteral("wmf/guide%1.wmf").arg(k), 3.6), 3.6);
    QThread::msleep(QRandomGenerator::global()->bounded(20));
    return 0;
}
