#include "Tri.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <vector>

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
    // Keys are computed once per text; comparing two keys is a byte compare, far cheaper
    // than a collator comparison per pair on tens of thousands of lines.
    const QCollator &collator = frenchCollator();
    struct Keyed
    {
        QCollatorSortKey key;
        qsizetype position;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i)
        keyed.push_back({collator.sortKey(texts.at(i)), i});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed &a, const Keyed &b) { return a.key.compare(b.key) < 0; });
    QList<qsizetype> order;
    order.reserve(texts.size());
    for (const Keyed &k : keyed)
        order.append(k.position);
    return order;
}

void trie_liste(QStringList &list)
{
    if (list.size() < 2)
        return;
    QStringList sorted;
    sorted.reserve(list.size());
    for (qsizetype position : alphabeticalOrder(list))
        sorted.append(list.at(position));
    list = std::move(sorted);
}
