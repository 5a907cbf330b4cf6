// The boards a topic can name, each registered once under its key ("primes"): how it opens, and for
// a gallery board its words and shape (layout as data) and its rule (core/GalleryActivities.h).
// A new gallery board is a rule with its test in the core and one row of BoardKinds.cpp.
#pragma once
#include "core/GalleryActivities.h"
#include "core/TopicFile.h"
#include "platform/screen/Controls.h"

// What a topic hands the board it opens: its caption, the topic's heading, and the portrait the
// score screen shows.
struct BoardOpening {
    QString caption, heading;
    core::PictureFile portrait;
};

// A gallery board's words and the shape of its boxes. Rows: four rows of three boxes, a row's start
// before them and a sign after each. Cells: twelve boxes in four rows of three, each after its own clue.
struct GalleryLayout {
    const char *fact = "", *instruction = "", *dragHint = "";
    bool cells = false;
    const char* signs[3] = {"", "", ""};  // rows: after the first, second and third box
    float firstBox = 0, boxStep = 0;      // rows: where the boxes stand across
    platform::FontDesc tileFont{};
    // The clues' size in points and, for cells, their width in twips, where the board's own (24 beside
    // a row, 18 and 2400 in a cell) will not hold them; 0 keeps the board's own.
    double cluePoints = 0;
    float clueWidth = 0;
    // Tiles of one face lie on one pile in the tray: a tray of Yes and No tiles side by side would
    // tell how many of each answer there are.
    bool piles = false;
};

struct BoardKind {
    const char* key = "";  // as a topic file names it
    void (*open)(const BoardKind& kind, const BoardOpening& opening) = nullptr;
    // A gallery board's screen and rule. A board with a screen of its own has its layout there; here
    // it has what its printed sheet needs: the instruction, the signs of its rows, and its rule.
    GalleryLayout layout{};
    const core::GalleryRule* rule = nullptr;
};

// The board registered under a topic's key; null when there is none.
const BoardKind* boardKind(const QString& key);
