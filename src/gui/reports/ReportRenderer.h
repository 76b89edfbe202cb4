#pragma once

class QPagedPaintDevice;
class QPainter;
struct ReportPage;
struct ReportTemplate;

// Draws the print area of a report page the way the template lays it out: the title and
// date lines, the column headings of row 4, the rows in a grid, the total, the footer.
void paintReportPage(QPainter &painter, QPagedPaintDevice &device, const ReportTemplate &layout,
                     const ReportPage &page);

// The page size, orientation and margins of the template, for a printer or a PDF.
void applyPageLayout(QPagedPaintDevice &device, const ReportTemplate &layout);
