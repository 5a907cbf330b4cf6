// Numbers as the program writes and reads them in captions and files.
#pragma once
#include <QString>

namespace core {

// Number to text: a leading blank for non-negative numbers ("Question" + Str(3) reads "Question 3").
QString numberText(long long n);
// A number as a file's count line holds it: " 3 " (sign place, digits, one blank).
QString PrintNumber(long long n);
// Whole number from text the way a worksheet's fields are converted; throws 13 when not a number.
long long toNumber(const QString& text);

}  // namespace core
