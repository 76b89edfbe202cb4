#pragma once

#include "core/stock/MedicineRecord.h"

// "Fiche du médicament": what the public medicines database says of a medicine of the stock,
// found by the box codes saved for it, else by its name; or that the database does not know it.
void showMedicineSheet(const MedicineRecord &record);
