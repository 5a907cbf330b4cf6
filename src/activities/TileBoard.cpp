#include "activities/TileBoard.h"
#include "platform/screen/Navigator.h"
#include "core/Activities.h"
#include "quiz/ScoreScreen.h"
#include "core/Shared.h"
#include "platform/screen/Accessibility.h"

#include <QKeyEvent>

using namespace platform;

void TileBoard::buildButtons(const Buttons& b) {
    using Board = TileBoard::Board;
    // Our own line: the same task without a mouse, or on a touch screen.
    const QByteArray howTo = QStringLiteral("Keyboard: Tab to a %1, Space to lift it, arrows to move it, Space to drop it. "
                                            "Touch: tap a %1, then a %2.")
                                 .arg(QLatin1String(b.tile), QLatin1String(b.place))
                                 .toUtf8();
    // clang-format off
    build({{.kind = Kind::Label, .caption = howTo.constData(), .at = {120, b.howToTop, 11550, 330},
            .font = {"Tahoma", 10.5}, .fore = Yellow, .flags = Transparent | Centered}});
    if (b.newProblem)
        build({{.caption = "New Problem", .at = {120, 7920, 2565, 495},
                .font = b.font, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Board::newProblem>}}, m_board);
    build({{.caption = "Start Again", .at = {3360, 7920, 2565, 495},
            .font = b.font, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Board::startAgain>},
           {.caption = "Check Score", .at = {6000, 7920, 2565, 495},
            .font = b.font, .fore = Yellow, .back = Black, .flags = Centered | Hidden | Hover, .to = slot<&Board::checkScore>},
           {.caption = "Exit", .at = {10560, 7920, 1245, 495},
            .font = b.font, .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Board::exit>}}, m_board);
    // clang-format on
}

void TileBoard::bindBoard() {
    for (int i = 0; i < Tiles; ++i) {
        Label* t = tile(i);
        t->onMouseDown = [this](int, int, float, float) { m_dragged = false; };
        t->onMouseMove = [this, i](int button, int, float x, float y) { dragTile(i, button, x, y); };
        // Any button drops.
        t->onMouseUp = [this, i](int, int, float, float) { dropTile(i); };
        t->onClick = [this, i] { tileClicked(i); };
        box(i)->onClick = [this, i] { boxClicked(i); };
        home(i)->onClick = [this] { homeClicked(); };
    }
    m_board.exit->onClick = [this] { platform::screens().close(this); };
    setCancelControl(m_board.exit);
    // An activity is named by its caption ("Products of Primes").
    screenName = [this] { return text(); };
    m_board.startAgain->onClick = [this] { startAgain(); };
    m_board.checkScore->onClick = [this] { checkScore(); };
    if (m_board.newProblem)
        m_board.newProblem->onClick = [this] {
            startAgain();
            newProblem();
        };
    // A dragged tile stays in view above boxes, slots and squares, and a press on a tile reaches it.
    for (Label* tile : m_board.tiles) tile->putOnTop();
    // Tab goes from tile to tile; boxes are reached by carrying a tile there.
    for (int i = 0; i < Tiles; ++i) {
        box(i)->setTabStop(false);
        box(i)->describe = [this, i] { return QStringLiteral("box: ") + boxWords(i); };
        // A tile on a box says what the box asks for too, and which tile hides it, so a pupil can
        // check the board by Tab alone.
        tile(i)->describe = [this, i] {
            QString said = QStringLiteral("tile ") + tile(i)->text() + QStringLiteral(", ") + whereIs(i);
            for (int b = 0; b < Tiles; ++b) {
                const std::vector<int> stack = stackOn(b);
                if (std::find(stack.begin(), stack.end(), i) == stack.end()) continue;
                said += boxClue(b);
                if (stack.front() != i) said += QStringLiteral(", beneath ") + tile(stack.front())->text();
                break;
            }
            return said;
        };
    }
    for (Label* home : m_board.homes) home->setTabStop(false);
}

void TileBoard::boardSetUp() {
    const int n = Tiles;
    for (int i = 0; i < n; ++i) {
        box(i)->setShown(false);
        home(i)->moveTo(home(i)->leftTwips(), home(i)->topTwips(), tile(i)->widthTwips(), tile(i)->heightTwips());
    }
    for (int i = 0; i < n; ++i) {
        // The answer reaches the tile only this way: copied before the box is emptied.
        tile(i)->setText(box(i)->text());
        box(i)->setText(QString());
        box(i)->setBackStyle(0);
        box(i)->setShown(true);
        home(i)->moveTo(tile(i)->leftTwips(), tile(i)->topTwips());
    }
    for (int i = 0; i < n; ++i) {
        tile(i)->setShown(true);
        home(i)->setShown(true);
    }
}

// Drags with the left button alone; the tile centres itself under the pointer at every move.
void TileBoard::dragTile(int which, int button, float x, float y) {
    if (button != 1) return;
    m_dragged = true;
    Label* t = tile(which);
    t->moveTo(float(double(t->leftTwips()) + x - double(t->widthTwips()) / 2), t->topTwips());
    t->moveTo(t->leftTwips(), float(double(t->topTwips()) + y - double(t->heightTwips()) / 2));
}

bool TileBoard::hits(const Control& t, const Control& r) {
    const auto place = [](const Control& c) { return core::Place{c.leftTwips(), c.topTwips(), c.widthTwips(), c.heightTwips()}; };
    return core::hits(place(t), place(r));
}

bool TileBoard::onBox(int t, int b) const {
    return tile(t)->leftTwips() == box(b)->leftTwips() && tile(t)->topTwips() == box(b)->topTwips();
}

int TileBoard::tileOn(int b) const {
    int top = -1;
    for (int t = 0; t < Tiles; ++t)
        if (onBox(t, b) && (top < 0 || tile(t)->stackPosition() > tile(top)->stackPosition())) top = t;
    return top;
}

std::vector<int> TileBoard::stackOn(int b) const {
    std::vector<int> stack;
    for (int t = 0; t < Tiles; ++t)
        if (t != m_carried && onBox(t, b)) stack.push_back(t);
    std::sort(stack.begin(), stack.end(), [this](int x, int y) { return tile(x)->stackPosition() > tile(y)->stackPosition(); });
    return stack;
}

namespace {
// "5", "5 and 3", "5, 3 and 2".
QString listed(const QStringList& items) {
    if (items.size() < 2) return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.back();
}
}  // namespace

QString TileBoard::boxWords(int b) const {
    const std::vector<int> stack = stackOn(b);
    QString said = boxPlace(b) + boxClue(b);
    if (stack.empty()) return said + QStringLiteral(", empty");
    return said + QStringLiteral(", showing ") + tile(stack.front())->text() + hiddenOn(b);
}

// Two tiles may stand on one box; the one beneath is out of sight, but not forgotten.
QString TileBoard::hiddenOn(int b) const {
    const std::vector<int> stack = stackOn(b);
    QStringList beneath;
    for (size_t k = 1; k < stack.size(); ++k) beneath << tile(stack[k])->text();
    return beneath.isEmpty() ? QString() : QStringLiteral(", ") + listed(beneath) + QStringLiteral(" beneath");
}

QString TileBoard::shownOn(int b) const {
    const int t = tileOn(b);
    return t < 0 ? QString() : tile(t)->text();
}

// Any button drops: the last box or slot hit in the pass takes the tile; a miss leaves it where it is.
void TileBoard::dropTile(int which) {
    if (which == m_carried && m_dragged) showCarried(false);  // a tile picked up, then dragged, is put down by the drag
    const int n = Tiles;
    Label* t = tile(which);
    for (int i = 0; i < n; ++i) {
        if (hits(*t, *box(i))) t->moveTo(box(i)->leftTwips(), box(i)->topTwips());
        if (hits(*t, *home(i))) t->moveTo(home(i)->leftTwips(), home(i)->topTwips());
    }
    int placed = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (onBox(i, j)) ++placed;
    if (placed == n && !m_board.checkScore->isShown()) {
        m_board.checkScore->setShown(true);
        announce(QStringLiteral("Check Score is now available"));
    }
}

void TileBoard::tileClicked(int t) {
    if (std::exchange(m_dragged, false)) return;  // the end of a drag, already dropped
    if (m_carried == t) return putDown();
    if (m_carried >= 0) putBack();
    pickUp(t);
}

void TileBoard::boxClicked(int b) {
    if (m_carried < 0) return;
    tile(m_carried)->moveTo(box(b)->leftTwips(), box(b)->topTwips());
    putDown();
}

// A tile always goes home to its own place, whichever place in the tray is tapped.
void TileBoard::homeClicked() {
    if (m_carried < 0) return;
    tile(m_carried)->moveTo(home(m_carried)->leftTwips(), home(m_carried)->topTwips());
    putDown();
}

void TileBoard::pickUp(int t) {
    m_carried = t;
    m_fromLeft = tile(t)->leftTwips();
    m_fromTop = tile(t)->topTwips();
    // Carried over a box that holds a tile already, it must stay in sight above that one.
    tile(t)->putOnTop();
    showCarried(true);
    announce(tile(t)->text() + QStringLiteral(" picked up"));
}

void TileBoard::putDown() {
    const int t = m_carried;
    showCarried(false);
    const bool checkShown = m_board.checkScore->isShown();
    dropTile(t);
    const QString where = whereIs(t);
    QString said = tile(t)->text() +
                   (where == QLatin1String("in the tray") ? QStringLiteral(" back ") : QStringLiteral(" placed ")) +
                   where;
    // Put down over another tile: both stay, the new one on top, as a drag leaves them.
    for (int b = 0; b < Tiles; ++b)
        if (onBox(t, b)) said += hiddenOn(b);
    if (!checkShown && m_board.checkScore->isShown()) said += QStringLiteral(". Check Score is now available");
    announce(said);
}

void TileBoard::putBack() {
    const int t = m_carried;
    showCarried(false);
    tile(t)->moveTo(m_fromLeft, m_fromTop);
    announce(tile(t)->text() + QStringLiteral(" put back ") + whereIs(t));
}

void TileBoard::showCarried(bool carried) {
    // A tile picked up shows its colours the other way round: black on yellow stands out on every box.
    Label* t = tile(m_carried);
    t->setBackColor(carried ? Yellow : Black);
    t->setForeColor(carried ? Black : Yellow);
    if (!carried) m_carried = -1;
}

QString TileBoard::whereIs(int t) const {
    if (t == m_carried) return QStringLiteral("picked up");
    for (int b = 0; b < Tiles; ++b)
        if (onBox(t, b)) return QStringLiteral("on ") + boxPlace(b);
    return QStringLiteral("in the tray");
}

void TileBoard::moveCarried(int step) {
    // The places a tile can go: every box, group by group and each group in reading order, then its
    // own place in the tray.
    std::vector<Control*> places;
    for (Label* box : m_board.boxes)
        if (box->isShown()) places.push_back(box);
    const auto group = [this](const Control* c) { return boxGroup(int(std::find(m_board.boxes.begin(), m_board.boxes.end(), c) - m_board.boxes.begin())); };
    std::stable_sort(places.begin(), places.end(), [&](const Control* a, const Control* b) {
        return group(a) != group(b) ? group(a) < group(b) : readingOrder(a, b);
    });
    places.push_back(home(m_carried));
    Label* t = tile(m_carried);
    const auto at = std::find_if(places.begin(), places.end(),
                                 [t](const Control* p) { return p->leftTwips() == t->leftTwips() && p->topTwips() == t->topTwips(); });
    Control* to = roundStep(places, at == places.end() ? -1 : at - places.begin(), step);
    t->moveTo(to->leftTwips(), to->topTwips());
    const auto box = std::find(m_board.boxes.begin(), m_board.boxes.end(), to);
    // The box as its own name says it, so that a pupil who cannot see the board hears its clue and
    // whether a tile stands on it already.
    announce(box == m_board.boxes.end() ? QStringLiteral("the tray") : boxWords(int(box - m_board.boxes.begin())));
}

// Escape is the stage's way out of a screen, except while a tile is carried: then it puts the tile back.
bool TileBoard::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && m_carried >= 0 && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        e->accept();
        return true;
    }
    return Form::event(e);
}

void TileBoard::keyPressEvent(QKeyEvent* e) {
    if (m_carried >= 0) {
        switch (e->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down: run([this] { moveCarried(1); }); return;
        case Qt::Key_Left:
        case Qt::Key_Up: run([this] { moveCarried(-1); }); return;
        case Qt::Key_Escape: run([this] { putBack(); }); return;
        default: break;
        }
    }
    Form::keyPressEvent(e);
}

// Tab away from a tile picked up puts it back first, so nothing is left half-moved.
bool TileBoard::focusNextPrevChild(bool next) {
    if (m_carried >= 0 && isVisible()) putBack();
    return Form::focusNextPrevChild(next);
}

void TileBoard::startAgain() {
    if (m_carried >= 0) showCarried(false);
    for (int i = 0; i < Tiles; ++i) tile(i)->moveTo(home(i)->leftTwips(), home(i)->topTwips());
    m_board.checkScore->setShown(false);
}

void TileBoard::showAs(const QString& caption, const QString& heading, const core::PictureFile& portrait) {
    setText(caption);
    m_portrait = portrait;
    m_board.heading->setText(heading);
    showInFront();
}

void TileBoard::showScore(int score, const QString& name) const {
    ScoreScreen::afterActivity({score, Tiles, name, m_portrait, m_board.heading->text()});
}
