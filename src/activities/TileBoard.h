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

    // Whether tile t stands exactly on box b.
    bool onBox(int t, int b) const;
    // The tile a pupil sees on box b: of the tiles standing exactly on it, the one drawn on top; -1 if none.
    int tileOn(int b) const;

protected:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"}, Label6{this, "Label6"};

    // Binds the board's events and puts the tiles above every other control; after the layout is built.
    void bindBoard();
    // The set-up the load event runs: answers from the boxes onto the tiles, home slots onto the tiles.
    void boardSetUp();
    virtual void unloadSelf() = 0;

private:
    static bool hits(const platform::Control& tile, const platform::Control& target);
    void startAgain();
};
