#pragma once

#include "gui/platform/ColumnKind.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QTableView;

// A list as a table shows it, for a spreadsheet: its name, the titles and kinds of its
// visible columns in the order shown, and its rows as shown.
struct ShownTable
{
    QString name;
    QStringList titles;
    QList<ColumnKind> kinds;
    QList<QStringList> rows;
};

ShownTable shownTable(const QTableView &view, const QString &name);

// What French spreadsheet programs open as they are: UTF-8 with its byte order mark, ";"
// between fields, CR LF, quotes where a field needs them.
QByteArray csvBytes(const ShownTable &table);
// A workbook of one sheet named after the list: the titles bold, frozen and filtered, the
// columns as wide as their texts, numbers and dates as such.
QByteArray xlsxBytes(const ShownTable &table, QString *error);

// The table's context menu (right click, the menu key): "Exporter la liste affichée...",
// which asks where in a save dialog and writes the file whole, then the window's own
// `entries`. `name` tells the list shown.
void addExportMenu(QTableView *view, const std::function<QString()> &name,
                   const QList<QAction *> &entries = {});
