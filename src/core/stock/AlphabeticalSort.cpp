#include "AlphabeticalSort.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>

const QCollator &frenchCollator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}

QList<qsizetype> alphabeticalOrder(const QStringList &texts)
{
    // A collator comparison per pair, without keys: on long lines, building keys costs more
    // memory and time than the comparisons they save. The stock file is usually sorted
    // already, save the medicines added at its end since the last rewrite: the sorted head
    // is kept as it is and only the tail is sorted, then merged in.
    const QCollator &collator = frenchCollator();
    const auto before = [&](qsizetype a, qsizetype b) {
        return collator.compare(texts.at(a), texts.at(b)) < 0;
    };
    QList<qsizetype> order(texts.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    const auto tail = std::is_sorted_until(order.begin(), order.end(), before);
    if (tail == order.end())
        return order;
    std::stable_sort(tail, order.end(), before);
    std::inplace_merge(order.begin(), tail, order.end(), before);
    return order;
}

void sortAlphabetically(QStringList &list)
{
    if (list.size() < 2)
        return;
    QStringList sorted;
    sorted.reserve(list.size());
    for (qsizetype position : alphabeticalOrder(list))
        sorted.append(list.at(position));
    list = std::move(sorted);
}
