#pragma once
#include "activities/TileBoard.h"

// Nets of Dice: four flat nets of dice with digits missing; opposite faces add up to 7.
class DiceActivity : public TileBoard {
    Q_OBJECT
public:
    DiceActivity();
    // The activity under the opener's caption and heading.
    static void open(const QString& caption, const QString& heading);

    void Form_Load() override;
    void Label3_Click(int Index) override;

protected:
    void unloadSelf() override;
    QString boxPlace(int b) const override;
    QString boxClue(int b) const override;

private:
    // The net a control lies on (0 to 3), by the square under its middle; -1 for none.
    int netOf(const platform::Control* c) const;
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Shape> Shape1{this, "Shape1"};
    platform::Ctl<platform::Label> Label7{this, "Label7"}, Label8{this, "Label8"};
};

namespace forms {
extern platform::FormRef<::DiceActivity> DiceActivity;  // Nets of Dice
}  // namespace forms
