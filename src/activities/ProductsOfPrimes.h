#pragma once
#include "activities/TileBoard.h"

#include <array>

// Products of Primes: four numbers, each the product of three primes, to factorise with prime tiles.
class eratosthenesord : public TileBoard {
    Q_OBJECT
public:
    eratosthenesord();
    void Form_Load() override;
    void Label3_Click(int Index) override;
    void calculate();

    std::array<qint16, 13> PrimePool{};
    std::array<qint16, 19> Factors{};
    std::array<qint16, 13> Placed{};

    platform::Ctl<platform::Label> Label5{this, "Label5"}, Label7{this, "Label7"};

protected:
    void unloadSelf() override;
};
