#pragma once

#include <QList>
#include <QString>

// The medicine list as the list window shows it when a report of it starts: its filter,
// whether only indispensable medicines show, and its rows in the order shown.
struct ListSnapshot
{
    struct Row
    {
        QString name;
        QString route;
        QString presentation;
        QString expiry;
        QString quantity;
    };

    QString filterName;
    bool indispensableOnly = false;
    QList<Row> rows;
};
