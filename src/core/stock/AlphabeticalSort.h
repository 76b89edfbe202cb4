#pragma once

#include <QList>
#include <QStringList>

class QCollator;

// French alphabetical order that ignores letter case: "dose" equals "Dose", an accented
// letter sorts with its base letter ("Eau" < "Éther" < "Ezra"). The same on every machine,
// whatever language the system is set to.
const QCollator &frenchCollator();

// The positions of the texts in ascending order; equal texts keep their relative order.
QList<qsizetype> alphabeticalOrder(const QStringList &texts);

// Sorts the texts in place, ascending. Equal texts keep their former relative order.
void sortAlphabetically(QStringList &list);
