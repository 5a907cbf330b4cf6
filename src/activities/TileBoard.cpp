#include "activities/TileBoard.h"
#include "core/Activities.h"
#include "core/Module1.h"
#include "platform/Accessibility.h"

#include <QKeyEvent>

using namespace platform;
using Module1::OutOf;
using Module1::Score;

void TileBoard::bindBoard() {
    Label2.onMouseDown([this](int i, int, int, float, float) { Label2_MouseDown(i); });
    Label2.onMouseMove([this](int i, int b, int s, float x, float y) { Label2_MouseMove(i, b, s, x, y); });
    Label2.onMouseUp([this](int i, int b, int s, float x, float y) { Label2_MouseUp(i, b, s, x, y); });
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i) { Label3_MouseMove(i); });
    Label2.onClick([this](int i) { Label2_Click(i); });
    Label1.onClick([this](int i) { Label1_Click(i); });
    Label4.onClick([this](int i) { Label4_Click(i); });
    // A dragged tile stays in view above boxes, slots and squares, and a press on a tile reaches it.
    for (int i : Label2.indices()) Label2(i)->ZOrderFront();
    // Tab goes from tile to tile; boxes are reached by carrying a tile there.
    for (int i : Label1.indices()) {
        Label1(i)->SetTabStop(false);
        Label1(i)->describe = [this, i] {
            const int t = tileOn(i);
            return QStringLiteral("box: ") + boxPlace(i) + boxClue(i) +
                   (t < 0 ? QStringLiteral(", empty") : QStringLiteral(", showing ") + Label2(t)->Caption());
        };
    }
    for (int i : Label4.indices()) Label4(i)->SetTabStop(false);
    for (int i : Label2.indices())
        Label2(i)->describe = [this, i] { return QStringLiteral("tile ") + Label2(i)->Caption() + QStringLiteral(", ") + whereIs(i); };
}

void TileBoard::boardSetUp() {
    const int n = OutOf;
    for (int i = 0; i < n; ++i) {
        Label1(i)->SetVisible(false);
        Label4(i)->Move(Label4(i)->Left(), Label4(i)->Top(), Label2(i)->Width(), Label2(i)->Height());
    }
    for (int i = 0; i < n; ++i) {
        // The answer reaches the tile only this way: copied before the box is emptied.
        Label2(i)->SetCaption(Label1(i)->Caption());
        Label1(i)->SetCaption(QString());
        Label1(i)->SetBackStyle(0);
        Label1(i)->SetVisible(true);
        Label4(i)->Move(Label2(i)->Left(), Label2(i)->Top());
    }
    for (int i = 0; i < n; ++i) {
        Label2(i)->SetVisible(true);
        Label4(i)->SetVisible(true);
    }
}

// Drags with the left button alone; the tile centres itself under the pointer at every move.
void TileBoard::Label2_MouseMove(int Index, int Button, int, float X, float Y) {
    if (Button != 1) return;
    m_dragged = true;
    Label* t = Label2(Index);
    t->Move(float(double(t->Left()) + X - double(t->Width()) / 2), t->Top());
    t->Move(t->Left(), float(double(t->Top()) + Y - double(t->Height()) / 2));
}

bool TileBoard::hits(const Control& t, const Control& r) {
    const auto place = [](const Control& c) { return core::Place{c.Left(), c.Top(), c.Width(), c.Height()}; };
    return core::hits(place(t), place(r));
}

bool TileBoard::onBox(int t, int b) const {
    return Label2(t)->Left() == Label1(b)->Left() && Label2(t)->Top() == Label1(b)->Top();
}

int TileBoard::tileOn(int b) const {
    int top = -1;
    for (int t : Label2.indices())
        if (onBox(t, b) && (top < 0 || Label2(t)->ZOrderPosition() > Label2(top)->ZOrderPosition())) top = t;
    return top;
}

// Any button drops: the last box or slot hit in the pass takes the tile; a miss leaves it where it is.
void TileBoard::Label2_MouseUp(int Index, int, int, float, float) {
    if (Index == m_carried && m_dragged) showCarried(false);  // a tile picked up, then dragged, is put down by the drag
    const int n = OutOf;
    Label* t = Label2(Index);
    for (int i = 0; i < n; ++i) {
        if (hits(*t, *Label1(i))) t->Move(Label1(i)->Left(), Label1(i)->Top());
        if (hits(*t, *Label4(i))) t->Move(Label4(i)->Left(), Label4(i)->Top());
    }
    int placed = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (onBox(i, j)) ++placed;
    if (placed == n && !Label3(2)->Visible()) {
        Label3(2)->SetVisible(true);
        announce(QStringLiteral("Check Score is now available"));
    }
}

void TileBoard::Label2_MouseDown(int) { m_dragged = false; }

void TileBoard::Label2_Click(int Index) {
    if (std::exchange(m_dragged, false)) return;  // the end of a drag, already dropped
    if (m_carried == Index) return putDown();
    if (m_carried >= 0) putBack();
    pickUp(Index);
}

void TileBoard::Label1_Click(int Index) {
    if (m_carried < 0) return;
    Label2(m_carried)->Move(Label1(Index)->Left(), Label1(Index)->Top());
    putDown();
}

// A tile always goes home to its own place, whichever place in the tray is tapped.
void TileBoard::Label4_Click(int) {
    if (m_carried < 0) return;
    Label2(m_carried)->Move(Label4(m_carried)->Left(), Label4(m_carried)->Top());
    putDown();
}

void TileBoard::pickUp(int t) {
    m_carried = t;
    m_fromLeft = Label2(t)->Left();
    m_fromTop = Label2(t)->Top();
    // Carried over a box that holds a tile already, it must stay in sight above that one.
    Label2(t)->ZOrderFront();
    showCarried(true);
    announce(Label2(t)->Caption() + QStringLiteral(" picked up"));
}

void TileBoard::putDown() {
    const int t = m_carried;
    showCarried(false);
    const bool checkShown = Label3(2)->Visible();
    Label2_MouseUp(t, 1, 0, 0, 0);
    const QString where = whereIs(t);
    QString said = Label2(t)->Caption() + (where == QLatin1String("in the tray") ? QStringLiteral(" back ") : QStringLiteral(" placed ")) + where;
    if (!checkShown && Label3(2)->Visible()) said += QStringLiteral(". Check Score is now available");
    announce(said);
}

void TileBoard::putBack() {
    const int t = m_carried;
    showCarried(false);
    Label2(t)->Move(m_fromLeft, m_fromTop);
    announce(Label2(t)->Caption() + QStringLiteral(" put back ") + whereIs(t));
}

void TileBoard::showCarried(bool carried) {
    // A tile picked up shows its colours the other way round: black on yellow stands out on every box.
    Label* t = Label2(m_carried);
    t->SetBackColor(carried ? Yellow : Black);
    t->SetForeColor(carried ? Black : Yellow);
    if (!carried) m_carried = -1;
}

QString TileBoard::whereIs(int t) const {
    if (t == m_carried) return QStringLiteral("picked up");
    for (int b : Label1.indices())
        if (onBox(t, b)) return QStringLiteral("on ") + boxPlace(b);
    return QStringLiteral("in the tray");
}

void TileBoard::moveCarried(int step) {
    // The places a tile can go, in reading order: every box, and its own place in the tray.
    std::vector<Control*> places;
    for (int b : Label1.indices())
        if (Label1(b)->Visible()) places.push_back(Label1(b));
    places.push_back(Label4(m_carried));
    std::stable_sort(places.begin(), places.end(), readingOrder);
    Label* t = Label2(m_carried);
    const auto at = std::find_if(places.begin(), places.end(),
                                 [t](const Control* p) { return p->Left() == t->Left() && p->Top() == t->Top(); });
    Control* to = roundStep(places, at == places.end() ? -1 : at - places.begin(), step);
    t->Move(to->Left(), to->Top());
    announce(to == Label4(m_carried) ? QStringLiteral("the tray") : boxPlace(to->Index));
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

void TileBoard::Label3_Click(int Index) {
    Score = 0;
    if (Index == 0)
        unloadSelf();
    else if (Index == 1)
        startAgain();
}

void TileBoard::startAgain() {
    if (m_carried >= 0) showCarried(false);
    for (int i = 0; i < OutOf; ++i) Label2(i)->Move(Label4(i)->Left(), Label4(i)->Top());
    Label3(2)->SetVisible(false);
}

void TileBoard::Label3_MouseMove(int Index) { Label3(Index)->SetBackStyle(1); }

void TileBoard::Form_MouseMove(int, int, float, float) {
    Label3.unhover();
}

void TileBoard::showAs(const QString& caption, const QString& heading) {
    SetCaption(caption);
    Label6->SetCaption(heading);
    Show();
}
