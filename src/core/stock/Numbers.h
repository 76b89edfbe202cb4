#pragma once

#include <QStringView>

#include <optional>

// The numeric value of a text wherever a number is read from text: blanks, tabs and line
// feeds are dropped from the whole text, then the longest leading decimal number
// (optional sign, digits, optional point and digits, optional exponent) is read.
// A text that starts otherwise, or an empty text, is 0. "1 2" is 12, "3e2x" is 300.
double numericValue(QStringView text);

// True when every character is one of the ASCII digits 0 to 9 (an empty text too).
bool allDigits(QStringView text);

// Rounds to the nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Nothing when the result does not fit 16 bits signed.
std::optional<short> toInt16(double value);
