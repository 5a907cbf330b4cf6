#include "activities/TileBoard.h"
#include "platform/Navigator.h"
#include "core/Activities.h"
#include "quiz/ScoreScreen.h"
#include "core/Shared.h"
#include "platform/Accessibility.h"

#include <QKeyEvent>

using namespace platform;

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
    // A dragged tile stays in view above boxes, slots and squares, and a press on a tile reaches it.
    for (Label* tile : m_board.tiles) tile->ZOrderFront();
    // Tab goes from tile to tile; boxes are reached by carrying a tile there.
    for (int i = 0; i < Tiles; ++i) {
        box(i)->SetTabStop(false);
        box(i)->describe = [this, i] {
            const int t = tileOn(i);
            return QStringLiteral("box: ") + boxPlace(i) + boxClue(i) +
                   (t < 0 ? QStringLiteral(", empty") : QStringLiteral(", showing ") + shownOn(i));
        };
        tile(i)->describe = [this, i] {
            return QStringLiteral("tile ") + tile(i)->text() + QStringLiteral(", ") + whereIs(i);
        };
    }
    for (Label* home : m_board.homes) home->SetTabStop(false);
}

void TileBoard::boardSetUp() {
    const int n = Tiles;
    for (int i = 0; i < n; ++i) {
        box(i)->SetVisible(false);
        home(i)->Move(home(i)->Left(), home(i)->Top(), tile(i)->Width(), tile(i)->Height());
    }
    for (int i = 0; i < n; ++i) {
        // The answer reaches the tile only this way: copied before the box is emptied.
        tile(i)->setText(box(i)->text());
        box(i)->setText(QString());
        box(i)->SetBackStyle(0);
        box(i)->SetVisible(true);
        home(i)->Move(tile(i)->Left(), tile(i)->Top());
    }
    for (int i = 0; i < n; ++i) {
        tile(i)->SetVisible(true);
        home(i)->SetVisible(true);
    }
}

// Drags with the left button alone; the tile centres itself under the pointer at every move.
void TileBoard::dragTile(int Index, int Button, float X, float Y) {
    if (Button != 1) return;
    m_dragged = true;
    Label* t = tile(Index);
    t->Move(float(double(t->Left()) + X - double(t->Width()) / 2), t->Top());
    t->Move(t->Left(), float(double(t->Top()) + Y - double(t->Height()) / 2));
}

bool TileBoard::hits(const Control& t, const Control& r) {
    const auto place = [](const Control& c) { return core::Place{c.Left(), c.Top(), c.Width(), c.Height()}; };
    return core::hits(place(t), place(r));
}

bool TileBoard::onBox(int t, int b) const {
    return tile(t)->Left() == box(b)->Left() && tile(t)->Top() == box(b)->Top();
}

int TileBoard::tileOn(int b) const {
    int top = -1;
    for (int t = 0; t < Tiles; ++t)
        if (onBox(t, b) && (top < 0 || tile(t)->ZOrderPosition() > tile(top)->ZOrderPosition())) top = t;
    return top;
}

QString TileBoard::shownOn(int b) const {
    const int t = tileOn(b);
    return t < 0 ? QString() : tile(t)->text();
}

// Any button drops: the last box or slot hit in the pass takes the tile; a miss leaves it where it is.
void TileBoard::dropTile(int Index) {
    if (Index == m_carried && m_dragged) showCarried(false);  // a tile picked up, then dragged, is put down by the drag
    const int n = Tiles;
    Label* t = tile(Index);
    for (int i = 0; i < n; ++i) {
        if (hits(*t, *box(i))) t->Move(box(i)->Left(), box(i)->Top());
        if (hits(*t, *home(i))) t->Move(home(i)->Left(), home(i)->Top());
    }
    int placed = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (onBox(i, j)) ++placed;
    if (placed == n && !m_board.checkScore->Visible()) {
        m_board.checkScore->SetVisible(true);
        announce(QStringLiteral("Check Score is now available"));
    }
}

void TileBoard::tileClicked(int Index) {
    if (std::exchange(m_dragged, false)) return;  // the end of a drag, already dropped
    if (m_carried == Index) return putDown();
    if (m_carried >= 0) putBack();
    pickUp(Index);
}

void TileBoard::boxClicked(int Index) {
    if (m_carried < 0) return;
    tile(m_carried)->Move(box(Index)->Left(), box(Index)->Top());
    putDown();
}

// A tile always goes home to its own place, whichever place in the tray is tapped.
void TileBoard::homeClicked() {
    if (m_carried < 0) return;
    tile(m_carried)->Move(home(m_carried)->Left(), home(m_carried)->Top());
    putDown();
}

void TileBoard::pickUp(int t) {
    m_carried = t;
    m_fromLeft = tile(t)->Left();
    m_fromTop = tile(t)->Top();
    // Carried over a box that holds a tile already, it must stay in sight above that one.
    tile(t)->ZOrderFront();
    showCarried(true);
    announce(tile(t)->text() + QStringLiteral(" picked up"));
}

void TileBoard::putDown() {
    const int t = m_carried;
    showCarried(false);
    const bool checkShown = m_board.checkScore->Visible();
    dropTile(t);
    const QString where = whereIs(t);
    QString said = tile(t)->text() +
                   (where == QLatin1String("in the tray") ? QStringLiteral(" back ") : QStringLiteral(" placed ")) +
                   where;
    if (!checkShown && m_board.checkScore->Visible()) said += QStringLiteral(". Check Score is now available");
    announce(said);
}

void TileBoard::putBack() {
    const int t = m_carried;
    showCarried(false);
    tile(t)->Move(m_fromLeft, m_fromTop);
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
    // The places a tile can go, in reading order: every box, and its own place in the tray.
    std::vector<Control*> places;
    for (Label* box : m_board.boxes)
        if (box->Visible()) places.push_back(box);
    places.push_back(home(m_carried));
    std::stable_sort(places.begin(), places.end(), readingOrder);
    Label* t = tile(m_carried);
    const auto at = std::find_if(places.begin(), places.end(),
                                 [t](const Control* p) { return p->Left() == t->Left() && p->Top() == t->Top(); });
    Control* to = roundStep(places, at == places.end() ? -1 : at - places.begin(), step);
    t->Move(to->Left(), to->Top());
    const auto box = std::find(m_board.boxes.begin(), m_board.boxes.end(), to);
    announce(box == m_board.boxes.end() ? QStringLiteral("the tray") : boxPlace(int(box - m_board.boxes.begin())));
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
    for (int i = 0; i < Tiles; ++i) tile(i)->Move(home(i)->Left(), home(i)->Top());
    m_board.checkScore->SetVisible(false);
}

void TileBoard::showAs(const QString& caption, const QString& heading, const QString& portrait) {
    setText(caption);
    m_portrait = portrait;
    m_board.heading->setText(heading);
    showInFront();
}

void TileBoard::showScore(int score, const QString& name) const {
    ScoreScreen::afterActivity({score, Tiles, name, m_portrait});
}
