#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The medicines whose boxes were scanned: "Pharma_Codes.dat" beside the other files, one
// product code a line, fixed-width like the stock: the GTIN (14 digits), then the name
// (40), the route (20), the presentation (20) and the expiry date of the line it was saved
// from (10, dd/mm/yyyy or blank; lines written before it was kept end before it).
inline const QString kCodesFileName = QStringLiteral("Pharma_Codes.dat");

struct KnownMedicine
{
    QString name;
    QString route;
    QString presentation;
    QString expiry; // tells two lines of one medicine apart
};

// The medicine a product code was last saved with; nothing when the code is unknown. A
// file that cannot be read says so in `error`.
std::optional<KnownMedicine> knownMedicine(const QString &gtin, QString *error);
// The product codes saved with this medicine (name, route and presentation as in the stock),
// the last saved first.
QStringList codesOf(const KnownMedicine &medicine, QString *error);
// Records the code's medicine, replacing what it was known as; the file is rewritten
// whole or left as it was.
bool rememberMedicine(const QString &gtin, const KnownMedicine &medicine, QString *error);
