#pragma once

#include "ReportTemplate.h"

#include <QString>

#include <array>
#include <functional>

// What a report does with its pages: shows each on screen, or prints it.
enum class ReportMode
{
    Preview,
    Print
};

// One page of a report as the sheet stands when it is previewed or printed: the cells of
// rows 1 to 50, columns A to F, and the print area.
struct ReportPage
{
    static constexpr int kRows = 50;
    // Rows 1 to 3 hold the title lines, row 4 the column headings; the records fill rows 5
    // to 49 and the total stands in row 50. A full page prints rows 1 to 48.
    static constexpr int kHeadingRow = 4;
    static constexpr int kFirstRecordRow = 5;
    static constexpr int kLastRecordRow = 49;
    static constexpr int kLastFullPageRow = 48;
    static constexpr int kTotalRow = 50;
    using Grid = std::array<std::array<QString, kReportColumns>, kRows>;

    QString report;    // the report's title, as in A1
    QString sheetName; // "Liste" or "Commande"
    QString printArea; // "$A$1:$F$48" or "$A$1:$F$50"
    int number = 0;    // 1 for the first page of the run
    int pageCount = 0; // how many the run makes
    Grid cells;        // cells[row - 1][column]

    const QString &cell(int row, int column) const
    {
        return cells[std::size_t(row - 1)][std::size_t(column)];
    }
    // The last row the print area takes in: 48 or 50.
    int lastRow() const;
};

class ReportOutput;
// Makes the whole report again, every page printed, into another output: a preview of one
// page saves the whole report this way.
using ReportReplay = std::function<void(ReportOutput &)>;

// Where the pages of a report go: the screen and the printer for the user, a record for
// the tests.
class ReportOutput
{
public:
    virtual ~ReportOutput() = default;
    // A report starts; its pages follow, then finish.
    virtual void begin(const QString &report, const ReportTemplate &layout, const ReportReplay &replay) = 0;
    // Shows the page and returns once the user has closed it.
    virtual void preview(const ReportPage &page) = 0;
    // One copy of the page.
    virtual void print(const ReportPage &page) = 0;
    virtual void finish() = 0;
};
