#pragma once

#include "core/reports/ListSnapshot.h"
#include "core/reports/ReportOutput.h"

#include <QString>

// The printed reports, previewed page by page or printed.

// From the stock file.
void imprime_complete(ReportMode mode);
void imprime_perimes(ReportMode mode);
void imprime_seuil(ReportMode mode);
void imprime_avance(ReportMode mode, const QString &horizon);

// From the rows the list window shows, its filter and its check box, as they stood.
void imprime_liste(ReportMode mode, const ListSnapshot &list);
void imprime_commande(ReportMode mode, const ListSnapshot &list);

// "Aperçu avant impression ?": a preview on Yes, printing on No.
ReportMode askPreview();
