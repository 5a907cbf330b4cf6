#pragma once
#include "activities/TileBoard.h"
#include "core/Activities.h"

// Products of Primes: four numbers, each the product of three primes, to factorise with prime tiles.
class PrimesActivity : public TileBoard {
    Q_OBJECT
public:
    struct Controls {
        std::array<platform::Label*, 4> products{};  // "30  =" beside each row of boxes
    };
    PrimesActivity();
    // The activity under the opener's caption, heading and portrait.
    static void open(const QString& caption, const QString& heading, const QString& portrait);

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    void calculate();
    void newProblem();

    core::Factors Factors{}, Placed{};

protected:
    void checkScore() override;
    QString boxPlace(int b) const override;

private:
    Controls m_ui;
};

