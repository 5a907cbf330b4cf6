#pragma once
#include "activities/BoardKinds.h"
#include "activities/TileBoard.h"

// Nets of Dice: four flat nets of dice with digits missing; opposite faces add up to 7.
class DiceActivity : public TileBoard {
    Q_OBJECT
public:
    struct Controls {
        std::array<platform::Label*, 12> faces{};  // the digits printed on the nets
        std::array<platform::Label*, 4> nets{};    // each net's words to a reader, over its squares
    };
    DiceActivity();
    // The activity under the opener's caption, heading and portrait.
    static void open(const BoardKind& kind, const BoardOpening& opening);

    void prepare() override;

protected:
    void checkScore() override;
    QString boxPlace(int b) const override;
    QString boxClue(int b) const override;
    // A die's net: its boxes are carried through together.
    int boxGroup(int b) const override;

private:
    // The net a control lies on (0 to 3), by the square under its middle; -1 for none.
    int netOf(const platform::Control* c) const;
    Controls m_ui;
};

