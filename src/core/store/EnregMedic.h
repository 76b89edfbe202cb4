#pragma once

#include <QString>
#include <QStringView>

// One medicine: the seven fixed-width fields of a line of the stock file, 111 characters
// side by side without separators.
struct EnregMedic
{
    QString nom;           // name
    QString formemedic;    // route of administration
    QString typemedic;     // presentation
    QString qte;           // quantity, digits or blank
    QString dat;           // expiry date "dd/mm/yyyy", or blank
    QString critique;      // critical threshold, digits or blank
    QString indispensable; // "1" or "0"

    friend bool operator==(const EnregMedic &, const EnregMedic &) = default;
};

// The same fields as views into a line, blanks removed at both ends; valid as long as
// the line they were cut from. Used where many lines are read and few fields copied.
struct EnregView
{
    QStringView nom;
    QStringView formemedic;
    QStringView typemedic;
    QStringView qte;
    QStringView dat;
    QStringView critique;
    QStringView indispensable;
};

namespace Enreg {

inline constexpr qsizetype kLineLength = 111;

struct Field
{
    qsizetype start; // 0-based column
    qsizetype width;
};

inline constexpr Field kNom{0, 40};
inline constexpr Field kFormemedic{40, 20};
inline constexpr Field kTypemedic{60, 20};
inline constexpr Field kQte{80, 3};
inline constexpr Field kDat{83, 15};
inline constexpr Field kCritique{98, 3};
inline constexpr qsizetype kIndispensableWidth = 10; // read from the end of the line

// Removes blanks (character 32 only) at both ends, as the stock file's readers do.
QStringView trimBlanks(QStringView text);

} // namespace Enreg
