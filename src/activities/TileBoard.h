// The board every activity stands on: twelve tiles dragged from a tray onto twelve answer boxes,
// twelve home slots that remember where the tiles started, and the buttons below.
#pragma once
#include "platform/screen/Form.h"
#include "core/TopicFile.h"

#include <array>
#include <vector>

class TileBoard : public platform::Form {
    Q_OBJECT
public:
    static constexpr int Tiles = 12;  // tiles, boxes and home slots alike
    struct Board {
        std::array<platform::Label*, Tiles> boxes{}, tiles{}, homes{};  // tile i starts on home i, box i's answer on it
        platform::Label *heading = nullptr, *exit = nullptr, *startAgain = nullptr, *checkScore = nullptr;
        platform::Label* newProblem = nullptr;  // on boards whose problem is drawn at random
    };
    const Board& board() const { return m_board; }

    // Tap and tap, and the keyboard: a tile picked up (highlighted) goes where the pupil next taps, or
    // where the arrow keys take it; it is put down through the same snap rule as a drag.
    int carried() const { return m_carried; }  // the tile picked up; -1 if none

    // Whether tile t stands exactly on box b.
    bool onBox(int t, int b) const;
    // The tile a pupil sees on box b: of the tiles standing exactly on it, the one drawn on top; -1 if none.
    int tileOn(int b) const;
    // What box b shows the pupil: the caption of the tile on top of it, or nothing.
    QString shownOn(int b) const;
    // Shows the activity under its opener's caption and heading; the score screen shows the portrait.
    void showAs(const QString& caption, const QString& heading, const core::PictureFile& portrait);

protected:
    Board m_board;

    // How a board's own controls look: the buttons' font, whether the board draws new problems, where
    // the line on working without a mouse stands and what it calls a tile and the place it goes.
    struct Buttons {
        platform::FontDesc font;
        bool newProblem;
        float howToTop;
        const char *tile, *place;
    };
    // Builds the board's own controls: that line, and New Problem, Start Again, Check Score and Exit.
    void buildButtons(const Buttons& buttons);
    // A problem drawn afresh, on a board set up again (boards with a New Problem button).
    virtual void newProblem() {}

    // Binds the board's events and puts the tiles above every other control; after the layout is built.
    void bindBoard();
    // The set-up a board runs as it prepares and for each new problem: answers from the boxes onto the
    // tiles, home slots onto the tiles.
    void boardSetUp();
    // Every tile back to its home slot; Check Score hidden until the boxes are full again.
    void startAgain();
    // The pupil's score, from what the boxes show, and the score screen under the activity's name.
    virtual void checkScore() = 0;
    // The score screen for this score out of the tiles, under the activity's name, the opener's portrait
    // and the mathematician the board shows as its heading.
    void showScore(int score, const QString& name) const;
    // Where box b stands, in words a screen reader says ("row 2, box 1").
    virtual QString boxPlace(int b) const = 0;
    // What else a reader is told of box b, after its place (", opposite the 2"); nothing by default.
    virtual QString boxClue(int) const { return {}; }
    // The boxes a reader meets together (a die's net): the arrows carry a tile through one group, in
    // reading order, before the next. One group by default.
    virtual int boxGroup(int) const { return 0; }
    // Box b as a reader hears it, by its own name and as a tile is carried onto it: its place, its
    // clue and what it holds ("row 1, box 2, showing 11, 5 beneath"), the carried tile left out.
    QString boxWords(int b) const;

    // The arrow keys move a tile picked up from box to box and to the tray; Escape puts it back.
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    platform::Label* tile(int i) const { return m_board.tiles[size_t(i)]; }
    platform::Label* box(int i) const { return m_board.boxes[size_t(i)]; }
    platform::Label* home(int i) const { return m_board.homes[size_t(i)]; }
    static bool hits(const platform::Control& tile, const platform::Control& target);
    void dragTile(int t, int button, float x, float y);
    void dropTile(int t);
    void tileClicked(int t);  // a tile tapped, or Enter or Space on it
    void boxClicked(int b);   // a box tapped
    void homeClicked();       // a place in the tray tapped
    void pickUp(int t);
    void putDown();             // where it stands now, as a drop there
    void putBack();             // where it was picked up from
    void moveCarried(int step);  // to the next or previous box, or to its place in the tray
    void showCarried(bool carried);
    QString whereIs(int t) const;
    // The tiles standing on box b, the one on top first; the carried tile left out.
    std::vector<int> stackOn(int b) const;
    // The tiles out of sight beneath the one on top of box b (", 5 beneath"); nothing for one or none.
    QString hiddenOn(int b) const;
    int m_carried = -1;
    float m_fromLeft = 0, m_fromTop = 0;
    bool m_dragged = false;  // the tile under the pointer moved since the press: a drag, not a tap
    core::PictureFile m_portrait;  // the opener's, for the score screen
};
