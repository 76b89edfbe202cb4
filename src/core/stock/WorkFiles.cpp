#include "WorkFiles.h"

#include <QRegularExpression>

#include <algorithm>

bool isProgramWorkFile(const QString &name)
{
    // The conversion's two work files, which no finished conversion leaves.
    if (name == QLatin1String("Pharmacie.new") || name == QLatin1String("Pharmacie.def"))
        return true;
    // Ours: a file of the program, a dot, a tilde and six letters or digits.
    static const QRegularExpression ours(
        QStringLiteral("^(Pharmacie\\.dat|Pharma_Forme\\.dat|Pharma_Type\\.dat|Pharma_Codes\\.dat|"
                       "Pharmacie\\.new|Pharmacie\\.def|"
                       "Pharmacie[0-9]{8}(_[0-9]+)?\\.sav|Vellorin\\.lock|Vellorin\\.ini|[^/]+\\.pdf|"
                       "Pharma(cie|_Forme|_Type) [0-9 -]+ n[0-9]+\\.dat)\\.~[A-Za-z0-9]{6}$"));
    if (ours.match(name).hasMatch())
        return true;
    // Those of the first version, whose saves left "Pharmacie.dat.XXXXXX" behind: six
    // letters mixing both cases, which a name chosen by a person seldom does.
    static const QRegularExpression former(
        QStringLiteral("^(Pharmacie\\.dat|Pharma_Forme\\.dat|Pharma_Type\\.dat)\\.[A-Za-z]{6}$"));
    if (!former.match(name).hasMatch())
        return false;
    const QStringView letters = QStringView(name).right(6);
    const auto upper = std::count_if(letters.begin(), letters.end(), [](QChar c) { return c.isUpper(); });
    return upper >= 2 && upper <= 4;
}
