#pragma once

#include "core/reports/ReportOutput.h"

#include <QString>

#include <memory>

class QBuffer;
class QPainter;
class QPdfWriter;

// Reports on screen and paper. A preview shows the page in a modal preview window, from
// which it can also be printed or saved as PDF. A print sends one copy of the page to the
// default printer; with no printer installed, the report's pages go to a PDF file in the
// program's directory instead, and the user is told where.
class ReportPrinter final : public ReportOutput
{
public:
    ReportPrinter();
    ~ReportPrinter() override;

    void begin(const QString &report, const ReportTemplate &layout) override;
    void preview(const ReportPage &page) override;
    void print(const ReportPage &page) override;
    void finish() override;

    // Where the pages of a report go when there is no printer: "<title> <date>.pdf", never
    // over an existing file.
    static QString fallbackPdfPath(const QString &report);

private:
    QString m_report;
    ReportTemplate m_layout;
    QString m_pdfPath;
    std::unique_ptr<QBuffer> m_pdfDocument;
    std::unique_ptr<QPdfWriter> m_pdf;
    std::unique_ptr<QPainter> m_pdfPainter;
    QString m_failure;
};

namespace Platform {

ReportOutput &reportOutput();
// The output stays owned by the caller; nullptr goes back to the screen and printer.
void setReportOutput(ReportOutput *output);

} // namespace Platform
