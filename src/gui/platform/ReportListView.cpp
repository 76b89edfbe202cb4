#include "ReportListView.h"

#include "Widgets.h"

#include <QHeaderView>
#include <QKeyEvent>

ReportListView::ReportListView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setTextElideMode(Qt::ElideRight);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowChosen(index.row());
    });
}

void ReportListView::keyPressEvent(QKeyEvent *event)
{
    if (chooseFramedRow(this, event)) {
        emit rowChosen(currentIndex().row());
        return;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    const QModelIndex after = currentIndex();
    const bool choosing = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
    if (after.isValid() && (after.row() != before.row() || choosing))
        emit rowChosen(after.row());
}
