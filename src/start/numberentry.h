#pragma once

#include <QStringView>

#include <optional>

// The numeric value of the number box, read leniently: blanks, tabs and line
// feeds anywhere are ignored; the longest leading number is taken (sign,
// digits, point and fraction, exponent, or &H / &O whole numbers); no leading
// number reads as 0. Never fails: huge input gives an infinite or a huge value.
double readNumberEntry(QStringView text);

// The topic number the entry stands for, when 1 <= value <= limit; rounded half
// to even.
std::optional<int> topicNumberFromEntry(QStringView text, int limit);
