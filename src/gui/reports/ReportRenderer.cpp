#include "ReportRenderer.h"

#include "core/reports/ReportOutput.h"
#include "core/reports/ReportTemplate.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

QFont toFont(const ReportFont &wanted)
{
    QFont font(wanted.family.isEmpty() ? QStringLiteral("DejaVu Sans") : wanted.family);
    font.setPointSizeF(wanted.pointSize);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    // Ligatures would make "fi" one glyph that text extraction cannot read back.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

Qt::Alignment alignment(const QString &align)
{
    if (align == QLatin1String("droite"))
        return Qt::AlignRight | Qt::AlignVCenter;
    if (align == QLatin1String("centre"))
        return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QPageSize::PageSizeId pageSizeId(const QString &name)
{
    static const std::pair<const char *, QPageSize::PageSizeId> sizes[] = {
        {"A3", QPageSize::A3},         {"A4", QPageSize::A4},       {"A5", QPageSize::A5},
        {"Letter", QPageSize::Letter}, {"Legal", QPageSize::Legal},
    };
    for (const auto &[n, id] : sizes) {
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return id;
    }
    return QPageSize::A4;
}

} // namespace

void applyPageLayout(QPagedPaintDevice &device, const ReportTemplate &layout)
{
    const auto &m = layout.marginsMm;
    device.setPageLayout(QPageLayout(QPageSize(pageSizeId(layout.pageSize)),
                                     layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(m[0], m[1], m[2], m[3]), QPageLayout::Millimeter));
}

void paintReportPage(QPainter &painter, QPagedPaintDevice &device, const ReportTemplate &layout,
                     const ReportPage &page)
{
    const ReportSheetTemplate sheet = layout.sheets.value(page.sheetName);
    // Millimetres to device pixels; the painter is never scaled, so fonts keep their size.
    const double perMm = device.logicalDpiX() / 25.4;
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QRectF box(0, 0, area.width(), area.height());

    const QFont titleFont = toFont(layout.titleFont);
    const QFont headingFont = toFont(layout.headingFont);
    const QFont textFont = toFont(layout.textFont);
    const double line = QFontMetricsF(textFont, &device).height() * 1.4;
    const double titleLine = QFontMetricsF(titleFont, &device).height() * 1.5;
    const double pad = 1.2 * perMm;

    // Column widths from the template, narrowed together if the page is too narrow.
    std::array<double, kReportColumns> widths{};
    double total = 0;
    for (int c = 0; c < kReportColumns; ++c)
        total += widths[std::size_t(c)] = sheet.columns[std::size_t(c)].widthMm * perMm;
    const double scale = total > box.width() ? box.width() / total : 1.0;
    std::array<double, kReportColumns + 1> x{};
    for (int c = 0; c < kReportColumns; ++c)
        x[std::size_t(c) + 1] = x[std::size_t(c)] + widths[std::size_t(c)] * scale;

    double y = 0;
    // Rows 1 to 3: the titles run across the page, as long texts do in a sheet.
    for (int row = 1; row < ReportPage::kHeadingRow; ++row) {
        const QString &text = page.cell(row, 0);
        const double h = row == 1 ? titleLine : line;
        if (!text.isEmpty() || row == 1) {
            painter.setFont(row == 1 ? titleFont : textFont);
            painter.drawText(QRectF(0, y, box.width(), h), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
        y += h;
    }
    y += line * 0.3;

    const QPen grid(QColor(0x70, 0x70, 0x70), std::max(1.0, 0.2 * perMm));
    const auto drawRow = [&](int row, double top, const QFont &font, bool headings) {
        painter.setFont(font);
        for (int c = 0; c < kReportColumns; ++c) {
            const QRectF cell(x[std::size_t(c)], top, x[std::size_t(c) + 1] - x[std::size_t(c)], line);
            const QString text = headings ? sheet.columns[std::size_t(c)].heading : page.cell(row, c);
            if (headings) {
                painter.fillRect(cell, QColor(0xe8, 0xe8, 0xe8));
            }
            painter.setPen(grid);
            painter.drawRect(cell);
            painter.setPen(Qt::black);
            const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
            const QString shown =
                QFontMetricsF(font, &device).elidedText(text, Qt::ElideRight, inner.width());
            painter.drawText(inner,
                             headings ? (Qt::AlignHCenter | Qt::AlignVCenter)
                                      : alignment(sheet.columns[std::size_t(c)].align),
                             shown);
        }
    };
    drawRow(ReportPage::kHeadingRow, y, headingFont, true);
    y += line;
    const int lastRow = std::min(page.lastRow(), ReportPage::kLastRecordRow);
    for (int row = ReportPage::kFirstRecordRow; row <= lastRow; ++row, y += line)
        drawRow(row, y, textFont, false);
    if (page.lastRow() >= ReportPage::kTotalRow) {
        // The total, with whatever the template puts beside it.
        painter.setFont(headingFont);
        for (int c = 0; c < kReportColumns; ++c) {
            const QString &text = page.cell(ReportPage::kTotalRow, c);
            if (text.isEmpty())
                continue;
            const QRectF cell(x[std::size_t(c)], y, x[std::size_t(c) + 1] - x[std::size_t(c)], line);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0), alignment(sheet.columns[std::size_t(c)].align),
                             text);
        }
    }
    if (!layout.footer.isEmpty()) {
        painter.setFont(textFont);
        QString footer = layout.footer;
        footer.replace(QLatin1String("{page}"), QString::number(page.number));
        painter.drawText(QRectF(0, box.height() - line, box.width(), line),
                         Qt::AlignHCenter | Qt::AlignBottom, footer);
    }
}
