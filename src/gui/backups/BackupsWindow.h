#pragma once

#include "core/stock/Backups.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

// The copies of the stock kept before each rewrite, the newest first: when, how many
// medicines, how large. "Restaurer" puts the chosen one back in the place of the stock,
// once the user has confirmed, the present stock kept first.
class BackupsWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit BackupsWindow(QWidget *parent = nullptr);

private:
    void fill();
    void restore();

    QList<Backups::Backup> m_backups;
    QTableWidget *m_table = nullptr;
    QPushButton *m_restore = nullptr;
};
