#include "ExpiryForecastWindow.h"

#include "ForecastModel.h"
#include "core/platform/Today.h"
#include "core/stock/StockFile.h"
#include "core/stock/StockRules.h"
#include "gui/export/CalendarExport.h"
#include "gui/export/TableExport.h"
#include "gui/platform/KeyRules.h"
#include "gui/platform/MessageBox.h"
#include "gui/platform/ReportListView.h"
#include "gui/platform/Widgets.h"
#include "gui/platform/WindowLayout.h"
#include "gui/reports/StockReports.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>

ExpiryForecastWindow::ExpiryForecastWindow(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedWindow(this, QStringLiteral("expiryForecastWindow")); // it closes by its own buttons

    m_model = new ForecastModel(this);
    m_table = new ReportListView(this);
    m_table->setObjectName(QStringLiteral("forecastTable"));
    m_table->setAccessibleName(QStringLiteral("Médicaments"));
    m_table->setModel(m_model);
    m_table->setMinimumSize(467 + 24, 320);
    keepColumnWidths(m_table, {280, 187});
    keepPlacement(this);

    auto *title = new QLabel(QStringLiteral("Médicament(s) périmé()s dans: "), this);
    title->setObjectName(QStringLiteral("horizonLabel"));
    m_horizon = new QComboBox(this);
    // Beyond the first design: the stock's expiry dates in the doctor's calendar, the
    // reminder as far ahead as the horizon shown.
    auto *calendar = new QAction(QStringLiteral("Exporter vers l'agenda..."), this);
    calendar->setObjectName(QStringLiteral("calendarExport"));
    connect(calendar, &QAction::triggered, this,
            [this] { exportToCalendar(this, m_horizon->currentText()); });
    addExportMenu(m_table, [this] { return QStringLiteral("Périmés dans ") + m_horizon->currentText(); },
                  {calendar});
    m_horizon->setObjectName(QStringLiteral("horizon"));
    m_horizon->setEditable(false); // a horizon is picked from the list, never typed
    KeyRules::discardTypedText(m_horizon);
    m_horizon->setMinimumContentsLength(8);
    title->setBuddy(m_horizon);
    m_horizon->setAccessibleName(title->text());

    m_print = makePictureButton(QStringLiteral("print"), QStringLiteral("Impression"), Picture::Print, this);
    m_close = makePictureButton(QStringLiteral("close"), QStringLiteral("Fermer"), Picture::Close, this);

    connect(m_horizon, &QComboBox::activated, this, [this] { horizonChosen(); });
    connect(m_print, &QToolButton::clicked, this, [this] { print(); });
    connect(m_close, &QToolButton::clicked, this, [this] { close_(); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_table, 0, 0, 1, 5);
    grid->addWidget(title, 1, 0);
    grid->addWidget(m_horizon, 1, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(m_print, 1, 3);
    grid->addWidget(m_close, 1, 4);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

ExpiryForecastWindow::~ExpiryForecastWindow() = default;

void ExpiryForecastWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        activated();
    }
}

void ExpiryForecastWindow::activated()
{
    setWindowTitle(QStringLiteral("Gestion prévisionnelle des dates limites d'utilisation"));
    m_model->clear();
    m_horizon->clear();
    m_horizon->addItems(StockRules::horizonNames());
    m_horizon->setCurrentIndex(-1); // no horizon shows until one is picked
    m_horizon->setFocus();
}

void ExpiryForecastWindow::horizonChosen()
{
    const int horizon = StockRules::horizonDays(m_horizon->currentText());
    QString error;
    const QStringList lines = readStock(&error);
    const QDate today = Platform::today();
    QList<ForecastModel::Row> rows;
    for (const QString &line : lines) {
        const MedicineRecordView e = recordView(line);
        const std::optional<int> daysLeft = daysToExpiry(e.expiry, today);
        if (!StockRules::withinHorizon(daysLeft, horizon))
            continue;
        QString date = e.expiry.toString();
        if (StockRules::isExpired(daysLeft))
            date += QStringLiteral(" Déjà périmé.");
        rows.append({e.name.toString(), date});
    }
    m_model->setRows(std::move(rows));
    applyColumnWidths(m_table);
    if (!error.isEmpty())
        Platform::showError(error);
}

void ExpiryForecastWindow::print()
{
    printForecast(askPreview(), m_horizon->currentText());
}

void ExpiryForecastWindow::close_()
{
    accept();
}
