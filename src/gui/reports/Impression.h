#pragma once

#include "core/reports/ListSnapshot.h"

#include <QString>

// The printed reports. The mode is "Apercu" for a preview on screen, any other text
// (callers pass "") for printing.

// From the stock file.
void imprime_complete(const QString &mode);
void imprime_perimes(const QString &mode);
void imprime_seuil(const QString &mode);
void imprime_avance(const QString &mode, const QString &horizon);

// From the rows the list window shows, its filter and its check box, as they stood.
void imprime_liste(const QString &mode, const ListSnapshot &list);
void imprime_commande(const QString &mode, const ListSnapshot &list);

// "Aperçu avant impression ?": "Apercu" on Yes, "" on No.
QString askPreview();
