#include "activities/TileBoard.h"
#include "core/Activities.h"
#include "core/Module1.h"

using namespace platform;
using Module1::OutOf;
using Module1::Score;

void TileBoard::bindBoard() {
    Label2.onMouseMove([this](int i, int b, int s, float x, float y) { Label2_MouseMove(i, b, s, x, y); });
    Label2.onMouseUp([this](int i, int b, int s, float x, float y) { Label2_MouseUp(i, b, s, x, y); });
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i) { Label3_MouseMove(i); });
    // A dragged tile stays in view above boxes, slots and squares, and a press on a tile reaches it.
    for (int i : Label2.indices()) Label2(i)->ZOrderFront();
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
    if (placed == n) Label3(2)->SetVisible(true);
}

void TileBoard::Label3_Click(int Index) {
    Score = 0;
    if (Index == 0)
        unloadSelf();
    else if (Index == 1)
        startAgain();
}

void TileBoard::startAgain() {
    for (int i = 0; i < OutOf; ++i) Label2(i)->Move(Label4(i)->Left(), Label4(i)->Top());
    Label3(2)->SetVisible(false);
}

void TileBoard::Label3_MouseMove(int Index) { Label3(Index)->SetBackStyle(1); }

void TileBoard::Form_MouseMove(int, int, float, float) {
    for (int i : Label3.indices()) Label3(i)->SetBackStyle(0);
}
