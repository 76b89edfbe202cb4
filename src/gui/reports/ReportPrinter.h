#pragma once

#include "core/reports/ReportOutput.h"

#include <QString>

#include <memory>
#include <optional>

class PdfDocument;
class ReportLayout;

// Reports on screen and paper. A preview shows the page in a modal preview window, from
// which it can also be printed, or the whole report saved as one PDF. A print sends one
// copy of each page to the default printer; with none marked default, to the only printer
// there is, or to the one the user picks once for the report. With no printer installed,
// the report's pages go to a PDF file in the program's directory (in the user's documents
// when that directory is read-only), and the user is told where.
class ReportPrinter final : public ReportOutput
{
public:
    ReportPrinter();
    ~ReportPrinter() override;

    void begin(const QString &report, const ReportTemplate &layout, const ReportReplay &replay) override;
    void preview(const ReportPage &page) override;
    void print(const ReportPage &page) override;
    void finish() override;

    // Where the pages of a report go when there is no printer: "<name> <date>.pdf" in the
    // program's directory, or in the user's documents when the program's directory is
    // read-only; never over an existing file.
    static QString fallbackPdfPath(const QString &report);

private:
    enum class Destination
    {
        Printer,
        Pdf,
        Cancelled
    };
    Destination chooseDestination();
    void printOnPaper(const ReportPage &page);
    void savePdf(const QString &report);

    QString m_report;
    ReportTemplate m_layout;
    ReportReplay m_replay;
    std::optional<Destination> m_destination;
    QString m_printerName;
    std::unique_ptr<ReportLayout> m_printerLayout;
    std::unique_ptr<PdfDocument> m_pdf;
    QString m_failure;
};

namespace Platform {

ReportOutput &reportOutput();
// The output stays owned by the caller; nullptr goes back to the screen and printer.
void setReportOutput(ReportOutput *output);

} // namespace Platform
