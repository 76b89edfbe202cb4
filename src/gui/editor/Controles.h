#pragma once

#include <QString>

// Checks a date typed into the editor's date box. Shows the reason of a refusal itself
// (title "Erreur", information icon) and returns "Erreur"; returns "" for a good date.
QString verif_date(const QString &text);
