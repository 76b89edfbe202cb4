#pragma once

#include <QString>

// Whether a file of the program directory (or of its Sauvegardes folder) is a work file that a
// copy of the program stopped in the middle of a write left there: a file of the program, a
// dot, a tilde and six letters or digits; the conversion's two work files; those the first
// version's saves left. What a person named stays.
bool isProgramWorkFile(const QString &name);
