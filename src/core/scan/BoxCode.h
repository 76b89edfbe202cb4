#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// What the DataMatrix code of a medicine box holds, read by the GS1 rules: the product
// code (AI 01, a GTIN-14 whose last 13 digits are the CIP code), the expiry date (AI 17),
// and the batch (AI 10) and serial number (AI 21) when present.
struct BoxCode
{
    QString gtin;
    QDate expiry;
    QString batch;
    QString serial;
};

// The code as a scanner in keyboard mode types it: "]d2" first or not; variable-length
// fields ended by the group separator (ASCII 29), by nothing at the end, or, with some
// scanner settings, never ended at all.
inline constexpr QChar kGroupSeparator = QChar(0x1d);

struct BoxCodeReading
{
    std::optional<BoxCode> code;
    // Why there is no code, in French, with what was read: "(01)03400930000010 (17)271341".
    QString problem;
};

// Years come as two digits: the century is the one that puts the date closest to `today`
// (GS1's rule: from 49 years back to 50 years ahead).
BoxCodeReading readBoxCode(QStringView text, const QDate &today);

// Whether a text typed so far can be the start of such a code ("]d2", then AI 01 and its
// 14 digits, then anything): what a scan is recognised by before it ends.
bool mayStartBoxCode(QStringView text);
