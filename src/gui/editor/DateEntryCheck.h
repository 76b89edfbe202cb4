#pragma once

#include <QString>

enum class Check
{
    Passed,
    Refused
};

// Checks a date typed into the editor's date box. Shows the reason of a refusal itself
// (title "Erreur", information icon).
Check checkTypedDate(const QString &text);
