#pragma once

#include <Qt>

// What a table's column holds, told by its model to whoever reads the table as data (an
// export to a spreadsheet): headerData(section, Qt::Horizontal, kColumnKindRole) gives it as
// an int; a model that says nothing holds text.
enum class ColumnKind
{
    Text,
    Number, // a quantity, a threshold
    Date    // dd/MM/yyyy first; a blank or impossible date is an empty cell
};

inline constexpr int kColumnKindRole = Qt::UserRole + 1;
