// Shared set-up for the screen tests: a working folder seeded from data/, a stage of a chosen
// size, recorded message boxes, and screenshots on request.
#pragma once
#include "activities/GalleryActivity.h"
#include "platform/screen/Navigator.h"
#include "core/Shared.h"
#include "platform/screen/Desktop.h"
#include "platform/screen/Dialogs.h"
#include "platform/files/FileChannel.h"
#include "platform/screen/Fonts.h"
#include "platform/files/Paths.h"
#include "platform/screen/ScreenProbe.h"
#include "platform/screen/Stage.h"
#include "platform/files/WorkingFiles.h"
#include "activities/DiceActivity.h"
#include "activities/PrimesActivity.h"
#include "pages/PageViewer.h"
#include "quiz/QuizScreen.h"
#include "quiz/ScoreScreen.h"
#include "quiz/WrongAnswersScreen.h"
#include "shell/MainMenu.h"
#include "shell/TitleScreen.h"
#include "shell/TopicScreen.h"
#include "worksheets/CatalogueScreen.h"
#include "worksheets/WizardScreen.h"
#include "worksheets/WorksheetFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace testutil {

struct Message {
    QString text, caption;
};

// Everything a test case needs, made afresh for each case.
class Session {
public:
    QTemporaryDir dir;
    QList<Message> messages;
    platform::Answer answer = platform::Answer::Ok;
    int ended = 0;
    QStringList urls;

    Session() {
        copyTree(QStringLiteral(DATA_DIR), dir.path());
        QDir::setCurrent(dir.path());
        platform::msgBoxHook = [this](const QString& text, const QString& caption) {
            messages.append({text, caption});
            return answer;
        };
        platform::endHook = [this] { ++ended; };
        platform::openUrlHook = [this](const QString& url) { urls << url; };
        stage(800, 600);
    }
    ~Session() {
        reset();
        platform::msgBoxHook = nullptr;
        platform::endHook = nullptr;
        platform::openUrlHook = nullptr;
    }
    static void stage(int w, int h) {
        auto* s = platform::Stage::instance();
        s->setScreenSizePixels(QSize(w, h));
        if (!s->isVisible()) s->show();
        // The stage's shared keys (Escape, F11) reach it only as the active window, as on a desktop.
        s->activateWindow();
        if (!QTest::qWaitForWindowActive(s)) qWarning("the stage did not become the active window");
    }
    // Unloads every screen and lets the deferred deletions happen.
    static void reset() {
        platform::screens().closeAll();
        platform::FileChannel::one().abandon();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A path in the working folder; an absolute path is kept as it is, for files outside it.
    QString path(const QString& rel) const { return QDir::isAbsolutePath(rel) ? rel : dir.filePath(rel); }
    void write(const QString& rel, const QByteArray& bytes) const {
        QFile f(path(rel));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& rel) const {
        QFile f(path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void copyTree(const QString& from, const QString& to) {
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString dst = to + src.mid(from.size());
            QDir().mkpath(QFileInfo(dst).path());
            QFile::copy(src, dst);
            QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        }
    }
};

inline QByteArray indexOf(const QStringList& titles) {
    QByteArray out = " " + QByteArray::number(titles.size()) + " \r\n";
    for (const QString& t : titles) out += platform::encode1252(t) + "\r\n";
    return out;
}

// A worksheet file as the program writes it: question q has answer (q % 4) + 1 right.
inline QByteArray worksheetBytes(const QString& title, int questions = 10) {
    QByteArray out = platform::encode1252(title) + "\r\n \r\n";
    for (int q = 1; q <= questions; ++q) {
        out += "Question number " + QByteArray::number(q) + "\r\n";
        for (char k : QByteArray("ABCD")) out += QByteArray("Answer ") + k + "\r\n";
        out += QByteArray::number(q % 4 + 1) + "\r\n \r\n";
    }
    return out;
}

// Fills the wizard with a complete worksheet, answer A ticked throughout.
inline void fillValid(WizardScreen* w, const QString& title) {
    w->ui().title->setContents(title);
    for (int q = 0; q < 10; ++q) {
        w->ui().questions[q]->setContents(QStringLiteral("Q"));
        for (int k = 0; k < 4; ++k) {
            w->ui().answers[4 * q + k]->setContents(QStringLiteral("A"));
            w->ui().ticks[4 * q + k]->setTicked(k == 0);
        }
    }
}

// Screen centre of a control, for the mouse.
inline QPoint centre(platform::Control* c) { return c->widget()->rect().center(); }

inline void click(platform::Control* c) { QTest::mouseClick(c->widget(), Qt::LeftButton, {}, centre(c)); }
// Ticks an option or check box at the far end of its row, past its words: the whole rectangle is
// the button, as a pupil expects.
inline void tick(platform::Control* c) {
    QTest::mouseClick(c->widget(), Qt::LeftButton, {}, QPoint(c->widget()->width() - 2, c->widget()->height() / 2));
}
inline void hover(platform::Control* c) { QTest::mouseMove(c->widget(), centre(c)); }
// Types text key by key, accented letters included.
inline void type(platform::Control* c, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, ch.isLetterOrNumber() || ch.unicode() < 128 ? 0 : Qt::Key_unknown,
                        Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(c->widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(c->widget(), &release);
    }
}
// Moves the pointer over a bare spot of a form's client area (in twips).
inline void hoverForm(platform::Form* f, float x, float y) {
    QTest::mouseMove(f->clientArea(), QPoint(platform::toPixels(x), platform::toPixels(y)));
}

// A mathematician's topic screen, from the topic file of that name ("euclid").
inline void showTopic(const QString& name) {
    TopicScreen::show(core::parseTopic(
        platform::readWorkingFile(QStringLiteral("topics\\") + name + QStringLiteral(".txt"), core::MaxTopicBytes)));
}
inline void showEuclid() { showTopic(QStringLiteral("euclid")); }

// Euclid's entries as the tests number them: the quiz, the two activities, Exit and the two documents.
inline platform::Label* topicEntry(int entry) {
    const TopicScreen::Controls& ui = platform::screens().get<TopicScreen>().ui();
    return std::array{ui.quiz, ui.firstActivity, ui.exit, ui.secondActivity, ui.keyFacts, ui.notes}[size_t(entry)];
}

// A board's tile and box i; and Euclid's board at his entry 1 (Products of Primes) or 3 (Nets of Dice).
inline platform::Label* tile(const TileBoard* b, int i) { return b->board().tiles[size_t(i)]; }
inline platform::Label* box(const TileBoard* b, int i) { return b->board().boxes[size_t(i)]; }
inline TileBoard* openEuclidBoard(int entry) {
    showEuclid();
    click(topicEntry(entry));
    return entry == 1 ? static_cast<TileBoard*>(platform::screens().find<PrimesActivity>()) : platform::screens().find<DiceActivity>();
}

// Question q (from 1) of Euclid's quiz, as its file in the working folder holds it.
inline worksheetfiles::Question euclidQuestion(int q) {
    const platform::FileOneGuard guard;
    platform::FileChannel::one().openForReading(QStringLiteral("multiple\\Euclid.txt"));
    const worksheetfiles::Worksheet sheet = worksheetfiles::readOpenWorksheet();
    platform::FileChannel::one().close();
    return sheet.questions[size_t(q - 1)];
}
// Every tile onto the first free box needing what it shows, as `place(tile, box)` puts it there;
// false if a tile has no box to go to. Check Score must stay hidden until the last tile is down.
// The board's own answers say what each box needs: that its clues say the same is the gallery walk's
// to find (gallery_walk_test.py solves every board from what a pupil is told alone).
inline bool solveBoard(GalleryActivity* g, const std::function<void(int, int)>& place) {
    const std::array<QString, 12> needed = g->answers();
    const auto& tiles = g->board().tiles;
    std::array<bool, 12> used{};
    for (int b = 0; b < 12; ++b) {
        // The tile a pupil sees with that face: the top one where tiles lie on a pile.
        int t = -1;
        for (int i = 0; i < 12; ++i)
            if (!used[size_t(i)] && tiles[size_t(i)]->text() == needed[size_t(b)] &&
                (t < 0 || tiles[size_t(i)]->stackPosition() > tiles[size_t(t)]->stackPosition()))
                t = i;
        if (t < 0 || g->board().checkScore->isShown()) return false;  // no such tile, or shown too soon
        used[size_t(t)] = true;
        place(t, b);
    }
    return g->board().checkScore->isShown();
}
// The same, each tile clicked and then its box, as a pupil taps tile and place.
inline bool solveByClicks(GalleryActivity* g) {
    return solveBoard(g, [g](int t, int b) { click(tile(g, t)), click(box(g, b)); });
}

// The score the score screen shows.
inline int score() { return platform::screens().isOpen<ScoreScreen>() ? platform::screens().get<ScoreScreen>().result().score : 0; }

inline QuizScreen* startEuclidQuiz() {
    platform::screens().show<MainMenu>();
    showEuclid();
    click(platform::screens().get<TopicScreen>().ui().quiz);
    return platform::screens().find<QuizScreen>();
}
// Answers every question of Euclid's quiz forward: right unless q is listed as wrong.
inline void answerAll(QuizScreen* m, const QList<int>& wrong = {}) {
    for (int q = 1; q <= 10; ++q) {
        QCOMPARE(m->questionNumber(), q);
        const int right = int(core::toNumber(euclidQuestion(q).correct));
        tick(m->ui().answers[(wrong.contains(q) ? right % 4 + 1 : right) - 1]);
        click(m->ui().next);
    }
}

// What the screen shows of the stage. On an X server it is read back from the server, as a pupil
// sees it (letters the server was sent, not the ones Qt meant to draw); offscreen, the stage drawn.
inline QPixmap shown() {
    platform::Stage* stage = platform::Stage::instance();
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return stage->grab();
    if (!QTest::qWaitForWindowExposed(stage)) return {};
    QCoreApplication::processEvents();  // the updates still pending, painted and sent
    QPixmap shot = stage->screen()->grabWindow(stage->winId());
    // No more than the X server's screen: a stage of whole logical pixels may reach a pixel past it.
    const std::vector<platform::ProbedScreen> screens = platform::probeXScreens();
    if (!screens.empty()) shot = shot.copy(QRect(0, 0, screens[0].width, screens[0].height) & shot.rect());
    shot.setDevicePixelRatio(stage->devicePixelRatioF());
    return shot;
}

// Saves what a pupil sees of the stage when SCREENSHOTS names a folder.
inline void screenshot(const QString& name) {
    const QByteArray dir = qgetenv("SCREENSHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    const QPixmap shot = shown();
    // A stage drawn at another scale is named by its size in pixels, beside the pictures at scale 1.
    const QString size = shot.devicePixelRatio() == 1 ? QString() : QStringLiteral("-%1x%2").arg(shot.width()).arg(shot.height());
    shot.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + size + QStringLiteral(".png"));
}

// Tests never reach the machine's own printers: printing goes to a print server that is not there,
// unless a test starts a private one of its own.
inline void initApp() {
    qputenv("CUPS_SERVER", "/nonexistent/vellacourt-tests/cups.sock");
    platform::initFonts();
}

}  // namespace testutil
