#pragma once

#include "core/reports/ReportTemplate.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <array>

class QPagedPaintDevice;
class QPainter;
struct ReportPage;

// A template laid out on one device's page, once per report: the fonts, the rows' heights
// and the columns' edges in device pixels. Nothing a report holds is ever cut: a text wider
// than its cell is drawn smaller, and rows are drawn closer when the device's page is
// smaller than the template asked for. `problem()` says, naming the setting to change, when
// the template cannot hold a page's 45 rows or the texts its columns are made for at a
// readable size.
class ReportLayout
{
public:
    ReportLayout(const ReportTemplate &layout, const QPagedPaintDevice &device);

    QString problem() const { return m_problem; }
    // Draws the print area of a page: the title lines, the column headings of row 4, the
    // rows in a grid, the total, the footer.
    void paint(QPainter &painter, const ReportPage &page) const;
    int dpi() const { return m_dpi; }

private:
    // Advances of the characters a stock file can hold, so that a cell is measured without
    // asking the font each time.
    struct Advances
    {
        void measure(const QFont &font, const QPagedPaintDevice &device);
        double width(const QString &text) const;
        std::array<float, 256> latin1{};
        QFont font;
        QFontMetricsF metrics{QFont()};
    };

    void checkColumns(const ReportTemplate &layout, const QString &sheetName);
    void fail(const QString &why);
    // A text on a baseline, aligned between two edges; drawn smaller when it is wider.
    void drawText(QPainter &painter, const QString &text, double left, double right, double baseline,
                  const Advances &advances, Qt::Alignment align) const;

    ReportTemplate m_template;
    int m_dpi = 0;
    double m_width = 0;
    double m_height = 0;
    double m_pad = 0;
    double m_titleRow = 0;
    double m_headingRow = 0;
    double m_row = 0;
    double m_footer = 0;
    double m_titleBaseline = 0;
    double m_headingBaseline = 0;
    double m_textBaseline = 0;
    double m_textDescent = 0;
    QFont m_titleFont, m_headingFont, m_textFont;
    Advances m_title, m_text, m_headings;
    QString m_problem;
};

// The page size, orientation and margins of the template, for a printer or a PDF.
void applyPageLayout(QPagedPaintDevice &device, const ReportTemplate &layout);

// What keeps the template from printing a report, said as the reader says it; or nothing.
QString reportLayoutProblem(const ReportTemplate &layout);
