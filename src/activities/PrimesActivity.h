#pragma once
#include "activities/TileBoard.h"
#include "core/Activities.h"

// Products of Primes: four numbers, each the product of three primes, to factorise with prime tiles.
class PrimesActivity : public TileBoard {
    Q_OBJECT
public:
    PrimesActivity();
    // The activity under the opener's caption and heading.
    static void open(const QString& caption, const QString& heading);

    void Form_Load() override;
    void Label3_Click(int Index) override;
    void calculate();
    void newProblem();

    core::Factors Factors{}, Placed{};

protected:
    void unloadSelf() override;
    QString boxPlace(int b) const override;

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label5{this, "Label5"}, Label7{this, "Label7"};
};

namespace forms {
extern platform::FormRef<::PrimesActivity> PrimesActivity;  // Products of Primes
}  // namespace forms
