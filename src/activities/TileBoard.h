// The board both activities stand on: twelve tiles dragged from a tray onto twelve answer boxes,
// twelve home slots that remember where the tiles started, and the buttons below.
#pragma once
#include "platform/Form.h"

class TileBoard : public platform::Form {
    Q_OBJECT
public:
    void Label2_MouseMove(int Index, int Button, int Shift, float X, float Y);
    void Label2_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void Label3_MouseMove(int Index);
    void Form_MouseMove(int button, int shift, float x, float y) override;
    virtual void Label3_Click(int Index);

    // Tap and tap, and the keyboard: a tile picked up (highlighted) goes where the pupil next taps, or
    // where the arrow keys take it; it is put down through the same snap rule as a drag.
    void Label2_MouseDown(int Index);
    void Label2_Click(int Index);  // a tile tapped, or Enter or Space on it
    void Label1_Click(int Index);  // a box tapped
    void Label4_Click(int Index);  // a place in the tray tapped
    int carried() const { return m_carried; }  // the tile picked up; -1 if none

    // Whether tile t stands exactly on box b.
    bool onBox(int t, int b) const;
    // The tile a pupil sees on box b: of the tiles standing exactly on it, the one drawn on top; -1 if none.
    int tileOn(int b) const;
    // Shows the activity under its opener's caption and heading.
    void showAs(const QString& caption, const QString& heading);

protected:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"}, Label6{this, "Label6"};

    // Binds the board's events and puts the tiles above every other control; after the layout is built.
    void bindBoard();
    // The set-up the load event runs: answers from the boxes onto the tiles, home slots onto the tiles.
    void boardSetUp();
    virtual void unloadSelf() = 0;
    // Where box b stands, in words a screen reader says ("row 2, box 1").
    virtual QString boxPlace(int b) const = 0;
    // What else a reader is told of box b, after its place (", opposite the 2"); nothing by default.
    virtual QString boxClue(int) const { return {}; }

    // The arrow keys move a tile picked up from box to box and to the tray; Escape puts it back.
    void keyPressEvent(QKeyEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    static bool hits(const platform::Control& tile, const platform::Control& target);
    void startAgain();
    void pickUp(int t);
    void putDown();             // where it stands now, as a drop there
    void putBack();             // where it was picked up from
    void moveCarried(int step);  // to the next or previous box, or to its place in the tray
    void showCarried(bool carried);
    QString whereIs(int t) const;
    int m_carried = -1;
    float m_fromLeft = 0, m_fromTop = 0;
    bool m_dragged = false;  // the tile under the pointer moved since the press: a drag, not a tap
};
