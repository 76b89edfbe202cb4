#pragma once

#include <QStringView>

// The check of a date typed into the masked date box ("dd/mm/yyyy", "_" in the digit
// places not typed yet), tests in this order; the first that fails decides.
enum class DateFault
{
    None,
    NothingTyped,   // "__/__/____": format, example 07/02/2001
    Incomplete,     // a "_" somewhere in the first ten characters
    Empty,          // "": no date at all
    MissingSlash,   // no "/" at position 3 or 6: format, example 07/02/2001
    YearBefore1800, // format, example 07/02/2003
    NoSuchDay,      // month outside 01..12, or a day past the month's end: example 07/02/2002
};

// Only the upper bound of the day is tested and every year divisible by 4 is a leap
// year, so 00/05/2020 and 29/02/1900 pass: the stock's readers treat such dates as
// "no calendar date".
DateFault checkDate(QStringView text);
