#include "StockGenerator.h"

#include "core/stock/StockFile.h"

#include <QDate>
#include <QRandomGenerator>

#include <array>

QStringList generatedLines(int count)
{
    static const std::array<const char16_t *, 12> syllables = {
        u"para", u"cé", u"ta", u"mol", u"ami", u"oxi", u"cil", u"line", u"bé", u"ta", u"dine", u"pro"};
    static const std::array<const char16_t *, 5> routes = {u"Orale", u"Cutanée", u"Injectable", u"Rectale",
                                                           u"Nasale"};
    static const std::array<const char16_t *, 6> types = {u"Comprimé", u"Gélule", u"Ampoule",
                                                          u"Flacon",   u"Sachet", u"Suppositoire"};
    QRandomGenerator random(20261206);
    QStringList lines;
    lines.reserve(count);
    const QDate base(2025, 1, 1);
    for (int i = 0; i < count; ++i) {
        QString name;
        const int parts = 2 + int(random.bounded(3));
        for (int p = 0; p < parts; ++p)
            name += QString::fromUtf16(syllables[random.bounded(std::uint32_t(syllables.size()))]);
        name[0] = name[0].toUpper();
        name += QStringLiteral(" %1 mg").arg(random.bounded(1000));
        const QString date = base.addDays(random.bounded(1500)).toString(QStringLiteral("dd/MM/yyyy"));
        lines << composeRecord(name, routes[random.bounded(std::uint32_t(routes.size()))],
                               types[random.bounded(std::uint32_t(types.size()))],
                               QString::number(random.bounded(100)), date,
                               QString::number(random.bounded(20)), QString::number(random.bounded(2)));
    }
    return lines;
}

GeneratedStock::GeneratedStock(int count)
{
    Platform::setProgramDirectory(this);
    QString error;
    if (!writeStock(generatedLines(count), &error))
        qFatal("cannot write the benchmark stock: %s", qPrintable(error));
}

GeneratedStock::~GeneratedStock()
{
    Platform::setProgramDirectory(nullptr);
}
