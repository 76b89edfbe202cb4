#include "StockReports.h"

#include "ReportPrinter.h"
#include "core/platform/Today.h"
#include "core/reports/ReportFrame.h"
#include "core/reports/ReportOutput.h"
#include "core/reports/ReportSession.h"
#include "core/stock/StockFile.h"
#include "core/stock/StockRules.h"
#include "gui/platform/MessageBox.h"
#include "gui/reports/ReportRenderer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>

#include <functional>

namespace {

// The busy pointer for the whole run, back to normal for the messages.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { release(); }
    void release()
    {
        if (m_on)
            QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};

QString todayText()
{
    return Platform::today().toString(QStringLiteral("dd/MM/yyyy"));
}

// Counts the pages a report makes, drawing none.
class PageCounter final : public ReportOutput
{
public:
    void begin(const QString &, const ReportTemplate &, const ReportReplay &) override {}
    void preview(const ReportPage &) override { ++pages; }
    void print(const ReportPage &) override { ++pages; }
    void finish() override {}
    int pages = 0;
};

// What a report writes on its sheet: its titles and name, then its rows through the frame;
// how many medicines it lists.
using Fill = std::function<int(ReportSession &, ReportMode)>;

// A report from its template to its last page. The template is refused at once when it
// cannot be used or cannot hold the report; the report is made once without drawing to
// count its pages, and an empty one only says `messageVide` when there is one.
void runReport(ReportMode mode, const QString &sheet, const Fill &fill, const QString &messageVide,
               BusyPointer &busy)
{
    ReportSession session(Platform::reportOutput());
    QString error;
    if (!session.openTemplate(&error) || !(error = reportLayoutProblem(*session.layout())).isEmpty()) {
        busy.release();
        Platform::showError(error);
        return;
    }
    const auto make = [layout = *session.layout(), sheet, fill](ReportOutput &output, ReportMode m,
                                                                int pages) {
        ReportSession again(output);
        again.useTemplate(layout);
        again.selectSheet(sheet);
        again.setPageCount(pages);
        return fill(again, m);
    };
    PageCounter counter;
    if (make(counter, mode, 0) == 0 && !messageVide.isEmpty()) {
        busy.release();
        Platform::message(messageVide, QStringLiteral("Information"), MsgIcon::Information);
        return;
    }
    session.selectSheet(sheet);
    session.setPageCount(counter.pages);
    session.setReplay(
        [make, pages = counter.pages](ReportOutput &output) { make(output, ReportMode::Print, pages); });
    fill(session, mode);
}

using Qualifies =
    std::function<std::optional<ReportFrame::Cells>(const MedicineRecordView &, std::optional<int> daysLeft)>;

// A report on the lines of the stock file, in file order.
void printStockReport(ReportMode mode, const QString &titre, const Qualifies &qualifies,
                      const QString &messageVide)
{
    BusyPointer busy;
    QString error;
    const QStringList lines = readStock(&error);
    if (!error.isEmpty()) {
        busy.release();
        Platform::showError(error);
        return;
    }
    const QDate today = Platform::today();
    const auto fill = [=](ReportSession &session, ReportMode m) {
        session.write(u"A1", titre);
        session.write(u"A2", QStringLiteral("à la date du: ") + todayText());
        ReportFrame frame(session, m);
        for (const QString &line : lines) {
            frame.beforeLine();
            const MedicineRecordView e = recordView(line);
            if (const auto cells = qualifies(e, daysToExpiry(e.expiry, today)))
                frame.add(*cells);
        }
        frame.finish();
        return frame.count();
    };
    runReport(mode, QStringLiteral("Liste"), fill, messageVide, busy);
}

ReportFrame::Cells reportCells(const MedicineRecordView &e, QStringView colonneE)
{
    return {e.name.toString(), e.route.toString(), e.presentation.toString(), colonneE.toString(),
            e.quantity.toString()};
}

// A report on the rows of the list window, in the order it showed them.
void printListReport(ReportMode mode, const ListSnapshot &list, bool order)
{
    BusyPointer busy;
    const auto fill = [list, order](ReportSession &session, ReportMode m) {
        const QString titre = list.indispensableOnly ? QStringLiteral("Médicaments 'indispensables'")
                              : order                ? QStringLiteral("Médicaments")
                                                     : QStringLiteral("Médicaments:");
        session.write(u"A1", titre);
        // The list and the order share their titles: their names tell them apart.
        const QString which = list.indispensableOnly ? QStringLiteral(" indispensables") : QString();
        session.setReportName(order ? QStringLiteral("Commande pharmacie, médicaments") + which
                                    : QStringLiteral("Liste ") + list.filterName +
                                          QStringLiteral(" des médicaments") + which);
        if (order) {
            session.write(u"A2", QStringLiteral("Commande pharmacie à la date du: ") + todayText());
            session.write(u"A3",
                          QStringLiteral("(à partir de la liste ") + list.filterName + QStringLiteral(")"));
        } else {
            session.write(u"A2", QStringLiteral("Liste ") + list.filterName +
                                     QStringLiteral(" à la date du: ") + todayText());
        }
        ReportFrame frame(session, m);
        for (const ListSnapshot::Row &row : list.rows) {
            frame.beforeLine();
            // The order lists what is in stock; the quantity to order is left to the user.
            if (order)
                frame.add({row.name, row.route, row.presentation, row.quantity, std::nullopt});
            else
                frame.add({row.name, row.route, row.presentation, row.expiry, row.quantity});
        }
        frame.finish();
        return frame.count();
    };
    runReport(mode, order ? QStringLiteral("Commande") : QStringLiteral("Liste"), fill, QString(), busy);
}

} // namespace

ReportMode askPreview()
{
    return Platform::message(QStringLiteral("Aperçu avant impression ?"), QStringLiteral("Impression"),
                             MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes
               ? ReportMode::Preview
               : ReportMode::Print;
}

void printCompleteList(ReportMode mode)
{
    printStockReport(
        mode, QStringLiteral("Liste complète des médicaments"),
        [](const MedicineRecordView &e, std::optional<int>) { return reportCells(e, e.expiry); }, QString());
}

void printExpired(ReportMode mode)
{
    printStockReport(
        mode, QStringLiteral("Liste des médicaments périmés"),
        [](const MedicineRecordView &e, std::optional<int> daysLeft) -> std::optional<ReportFrame::Cells> {
            if (!StockRules::isExpired(daysLeft))
                return std::nullopt;
            return reportCells(e, e.expiry);
        },
        QStringLiteral("Il n'y a pas de médicament périmé à ce jour."));
}

void printLowStock(ReportMode mode)
{
    printStockReport(
        mode, QStringLiteral("Médicaments en quantité insuffisante"),
        [](const MedicineRecordView &e, std::optional<int>) -> std::optional<ReportFrame::Cells> {
            if (!StockRules::runsLow(e))
                return std::nullopt;
            return reportCells(e, e.expiry);
        },
        QStringLiteral("Il n'y a pas de médicament en quantité insuffisante à ce jour."));
}

void printForecast(ReportMode mode, const QString &horizon)
{
    const int daysLeft = StockRules::horizonDays(horizon);
    printStockReport(
        mode, QStringLiteral("Médicaments périmés dans: ") + horizon,
        [daysLeft](const MedicineRecordView &e,
                   std::optional<int> restants) -> std::optional<ReportFrame::Cells> {
            if (!StockRules::withinHorizon(restants, daysLeft))
                return std::nullopt;
            return reportCells(e, StockRules::isExpired(restants) ? QStringView(u"Déjà périmé.") : e.expiry);
        },
        QStringLiteral("Il n'y a pas de médicament périmé à ce jour."));
}

void printShownList(ReportMode mode, const ListSnapshot &list)
{
    printListReport(mode, list, false);
}

void printOrder(ReportMode mode, const ListSnapshot &list)
{
    printListReport(mode, list, true);
}
