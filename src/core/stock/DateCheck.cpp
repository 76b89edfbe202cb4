#include "DateCheck.h"

#include "Numbers.h"

#include <QString>

#include <cmath>

DateFault checkDate(QStringView text)
{
    if (text == u"__/__/____")
        return DateFault::NothingTyped;
    if (text.left(10).contains(QLatin1Char('_')))
        return DateFault::Incomplete;
    if (text.isEmpty())
        return DateFault::Empty;
    const auto at = [&](qsizetype position) {
        return position <= text.size() ? text[position - 1] : QChar();
    };
    if (at(3) != QLatin1Char('/') || at(6) != QLatin1Char('/'))
        return DateFault::MissingSlash;

    const double year = numericValue(text.mid(6));
    if (year < 1800)
        return DateFault::YearBefore1800;
    const double day = numericValue(text.mid(0, 2));
    const QStringView month = text.mid(3, 2);
    double lastDay = 0;
    if (month == u"01" || month == u"03" || month == u"05" || month == u"07" || month == u"08" ||
        month == u"10" || month == u"12")
        lastDay = 31;
    else if (month == u"04" || month == u"06" || month == u"09" || month == u"11")
        lastDay = 30;
    else if (month == u"02")
        lastDay = (year / 4 == std::floor(year / 4)) ? 29 : 28;
    else
        return DateFault::NoSuchDay;
    return day <= lastDay ? DateFault::None : DateFault::NoSuchDay;
}
