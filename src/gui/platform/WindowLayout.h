#pragma once

#include <QList>

class QTableView;
class QWidget;

// Windows and tables that keep what the user arranged, between rebuilds of a table and
// between runs.

// The window opens where it stood when it was last closed, provided that place is on a
// screen now (a screen unplugged since leaves it where it would open anyway), and, when
// its size is the user's to change, at the size it had. Kept at every close, under the
// window's object name.
void keepPlacement(QWidget *window);

// The view's columns take the widths the user dragged them to, else `designWidths`. A drag
// is kept at once; a window that refills its table calls applyColumnWidths afterwards.
void keepColumnWidths(QTableView *view, const QList<int> &designWidths);
void applyColumnWidths(QTableView *view);
