#include "BackupsWindow.h"

#include "core/stock/Stock.h"
#include "core/stock/StockFile.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/Widgets.h"
#include "gui/platform/WindowLayout.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString sizeText(qint64 bytes)
{
    const QLocale french(QLocale::French);
    if (bytes < 1024)
        return QStringLiteral("%1 octets").arg(bytes);
    if (bytes < qint64(1024) * 1024)
        return QStringLiteral("%1 Ko").arg(french.toString(double(bytes) / 1024, 'f', 0));
    return QStringLiteral("%1 Mo").arg(french.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1));
}

QString whenText(const QDateTime &when)
{
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace

BackupsWindow::BackupsWindow(QWidget *parent)
    : QDialog(parent)
{
    ignoreEscape(this); // like the program's other windows, it closes by its own button
    setObjectName(QStringLiteral("backupsWindow"));
    setWindowTitle(QStringLiteral("Sauvegardes du stock"));
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("backups"));
    m_table->setAccessibleName(QStringLiteral("Sauvegardes du stock"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Date et heure"), QStringLiteral("Médicaments"), QStringLiteral("Taille")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_restore = new QPushButton(QStringLiteral("Restaurer"), this);
    m_restore->setObjectName(QStringLiteral("restore"));
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("close"));
    connect(m_restore, &QPushButton::clicked, this, [this] { restore(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(!m_table->selectedItems().isEmpty()); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(520, 420);
    keepPlacement(this);
    fill();
}

void BackupsWindow::fill()
{
    m_backups = Backups::of(DataFile::Stock);
    m_table->setRowCount(int(m_backups.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const Backups::Backup &b = m_backups.at(row);
        const QString cells[] = {whenText(b.when), QLocale(QLocale::French).toString(b.lines),
                                 sizeText(b.size)};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_restore->setEnabled(false);
}

void BackupsWindow::restore()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_backups.size())
        return;
    const Backups::Backup backup = m_backups.at(row);
    const QString question =
        QStringLiteral("Remplacer le stock par sa sauvegarde du %1 (%2 médicaments) ?\r\n\r\n"
                       "Le stock actuel est d'abord sauvegardé lui aussi.")
            .arg(whenText(backup.when), QLocale(QLocale::French).toString(backup.lines));
    if (Platform::message(question, QStringLiteral("Restaurer"), MsgIcon::Question, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    QString error;
    if (Stock stock; !stock.restore(backup, &error)) {
        Platform::showError(error);
        return;
    }
    Platform::message(QStringLiteral("Le stock a été restauré."), QStringLiteral("Restaurer"),
                      MsgIcon::Information);
    fill();
}
