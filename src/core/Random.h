// The program-wide random numbers: one generator, reseeded from the clock.
#pragma once

namespace core {

void reseedRandom();
double randomFraction();  // in [0, 1)

}  // namespace core
