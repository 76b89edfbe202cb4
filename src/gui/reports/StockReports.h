#pragma once

#include "core/reports/ListSnapshot.h"
#include "core/reports/ReportOutput.h"

#include <QString>

// The printed reports, previewed page by page or printed.

// From the stock file.
void printCompleteList(ReportMode mode);
void printExpired(ReportMode mode);
void printLowStock(ReportMode mode);
void printForecast(ReportMode mode, const QString &horizon);

// From the rows the list window shows, its filter and its check box, as they stood.
void printShownList(ReportMode mode, const ListSnapshot &list);
void printOrder(ReportMode mode, const ListSnapshot &list);

// "Aperçu avant impression ?": a preview on Yes, printing on No.
ReportMode askPreview();
