// The rules of the second hall's six boards: The Sieve and Measuring the Earth (Eratosthenes), Balance
// the Lever and Round the Circle (Archimedes), Balancing and Place Value (Al-Khwarizmi). Each is a
// GalleryRule like the first hall's (core/GalleryActivities.h): twelve tiles, twelve boxes, a box
// marked by what it shows, problems drawn from randomFraction() alone.
#pragma once
#include "core/GalleryActivities.h"

namespace core {

extern const GalleryRule SieveRule, EarthRule, LeverRule, CirclesRule, EquationsRule, PlaceValueRule;

// The prime that crosses n out first in the sieve: its smallest prime factor (n itself for a prime);
// 0 below 2.
int smallestPrimeFactor(int n);

// A number from 1 to 9999 as a British pupil writes it in words: "and" before the tens and units
// ("three hundred and five", "four thousand and sixty"), tens and units joined by a hyphen
// ("seventy-seven"); "" outside that range.
QString numberInWords(int n);

}  // namespace core
