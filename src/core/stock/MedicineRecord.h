#pragma once

#include <QString>
#include <QStringView>

// One medicine: the seven fixed-width fields of a line of the stock file, 111 characters
// side by side without separators.
struct MedicineRecord
{
    QString name;          // name
    QString route;         // route of administration
    QString presentation;  // presentation
    QString quantity;      // quantity, digits or blank
    QString expiry;        // expiry date "dd/mm/yyyy", or blank
    QString threshold;     // critical threshold, digits or blank
    QString indispensable; // "1" or "0"

    friend bool operator==(const MedicineRecord &, const MedicineRecord &) = default;
};

// The same fields as views into a line, blanks removed at both ends; valid as long as
// the line they were cut from. Used where many lines are read and few fields copied.
struct MedicineRecordView
{
    QStringView name;
    QStringView route;
    QStringView presentation;
    QStringView quantity;
    QStringView expiry;
    QStringView threshold;
    QStringView indispensable;
};

namespace RecordLayout {

inline constexpr qsizetype kLineLength = 111;

struct Field
{
    qsizetype start; // 0-based column
    qsizetype width;
};

inline constexpr Field kName{0, 40};
inline constexpr Field kRoute{40, 20};
inline constexpr Field kPresentation{60, 20};
inline constexpr Field kQuantity{80, 3};
inline constexpr Field kExpiry{83, 15};
inline constexpr Field kThreshold{98, 3};
inline constexpr qsizetype kIndispensableWidth = 10; // read from the end of the line

// Removes blanks (character 32 only) at both ends, as the stock file's readers do.
QStringView trimBlanks(QStringView text);

} // namespace RecordLayout
