#include "ReportRenderer.h"

#include "core/reports/ReportOutput.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QVarLengthArray>

#include <cmath>

namespace {

// The smallest text a report may need for what its columns are made for.
constexpr double kReadableSize = 7;
// A row is the text's height and this much air; down to kTightRow before a template is
// refused, as the page's height allows.
constexpr double kAiryRow = 1.4;
constexpr double kTightRow = 1.1;
// The rows of the record grid that take the text's height: the date lines 2 and 3, a gap
// of 0.3, the 45 records and the total.
constexpr double kTextRows = 2 + 0.3 + 45 + 1;

const char *const kLetters = "ABCDEF";

// The widest ordinary text each column of a sheet holds, and what it is, for the message
// when a column is too narrow for it.
struct Widest
{
    const char16_t *text;
    const char *what;
};
constexpr Widest kName = {u"Méthylprednisolone 40 mg poudre solution", "un nom de 40 caractères"};
constexpr Widest kRoute = {u"Poudre pour solution", "une voie d'administration de 20 caractères"};
constexpr Widest kForm = {u"Seringue pré-remplie", "une présentation de 20 caractères"};
constexpr Widest kNumber = {u"32767", "un numéro"};
constexpr Widest kQuantity = {u"-32768", "une quantité"};
constexpr Widest kDate = {u"Déjà périmé.", "une date"};
constexpr Widest kNothing = {u"", ""};
const std::array<Widest, kReportColumns> kListColumns = {kNumber, kName, kRoute, kForm, kDate, kQuantity};
const std::array<Widest, kReportColumns> kOrderColumns = {kNumber, kName, kRoute, kForm, kQuantity, kNothing};

QFont toFont(const ReportFont &wanted)
{
    QFont font(wanted.family.isEmpty() ? QStringLiteral("DejaVu Sans") : wanted.family);
    font.setPointSizeF(wanted.pointSize);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    // Ligatures would make "fi" one glyph that text extraction cannot read back; without
    // shaping nor kerning, a text is as wide as its characters' advances.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

Qt::Alignment alignment(const QString &align)
{
    if (align == QLatin1String("droite"))
        return Qt::AlignRight;
    if (align == QLatin1String("centre"))
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
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

// "12", "7,5": millimetres and points as the messages give them.
QString french(double value)
{
    return QLocale(QLocale::French).toString(value, 'f', value == std::round(value) ? 0 : 1);
}

} // namespace

void ReportLayout::Advances::measure(const QFont &f, const QPagedPaintDevice &d)
{
    font = f;
    metrics = QFontMetricsF(font, &d);
    for (int c = 0; c < 256; ++c)
        latin1[std::size_t(c)] = float(metrics.horizontalAdvance(QChar(c)));
}

double ReportLayout::Advances::width(const QString &text) const
{
    double sum = 0;
    for (const QChar c : text) {
        if (c.unicode() < 256) {
            sum += double(latin1[c.unicode()]);
        } else {
            // "€", "œ", curly quotes: rare, measured with the rest of the text.
            return metrics.horizontalAdvance(text);
        }
    }
    return sum;
}

ReportLayout::ReportLayout(const ReportTemplate &layout, const QPagedPaintDevice &device)
    : m_template(layout)
    , m_dpi(device.logicalDpiY())
{
    const double perMm = m_dpi / 25.4;
    const QRectF area = device.pageLayout().paintRectPixels(m_dpi);
    m_width = area.width();
    m_height = area.height();
    m_pad = perMm;
    m_titleFont = toFont(layout.titleFont);
    m_headingFont = toFont(layout.headingFont);
    m_textFont = toFont(layout.textFont);
    m_title.measure(m_titleFont, device);
    m_text.measure(m_textFont, device);
    m_headings.measure(m_headingFont, device);

    const QFontMetricsF title(m_titleFont, &device);
    const QFontMetricsF text(m_textFont, &device);
    const QFontMetricsF heading(m_headingFont, &device);
    const double textHeight = text.height();
    const double headingHeight = std::max(textHeight, heading.height());
    m_titleRow = title.height() * 1.3;
    m_footer = layout.footer.isEmpty() ? 0 : textHeight * 1.4;
    const double grid = kTextRows * textHeight + headingHeight;
    const double air = std::min(kAiryRow, (m_height - m_titleRow - m_footer) / grid);
    if (air < kTightRow) {
        const double needed = m_titleRow + m_footer + grid * kTightRow;
        fail(QStringLiteral("ne laisse pas la place des 45 lignes d'une page : il leur faut %1 mm en "
                            "hauteur, la page en offre %2 entre les marges haut et bas. Réduisez la "
                            "« taille » des polices « texte » et « entetes », ou les marges haut et bas "
                            "(« marges_mm »)%3")
                 .arg(french(std::ceil(needed / perMm)), french(std::floor(m_height / perMm)),
                      layout.landscape ? QStringLiteral(", ou choisissez l'orientation portrait")
                                       : QString()));
    }
    // Squeezed on a device whose page is smaller than the template's: never a row lost.
    m_row = textHeight * std::max(air, 0.0);
    m_headingRow = headingHeight * std::max(air, 0.0);
    // Each text stands in the middle of its row.
    m_titleBaseline = (m_titleRow + title.ascent() - title.descent()) / 2;
    m_headingBaseline = (m_headingRow + heading.ascent() - heading.descent()) / 2;
    m_textBaseline = (m_row + text.ascent() - text.descent()) / 2;
    m_textDescent = text.descent();

    for (auto it = layout.sheets.begin(); it != layout.sheets.end(); ++it)
        checkColumns(layout, it.key());
}

void ReportLayout::fail(const QString &why)
{
    if (m_problem.isEmpty())
        m_problem = ReportTemplate::refusal(why);
}

void ReportLayout::checkColumns(const ReportTemplate &layout, const QString &sheetName)
{
    const ReportSheetTemplate &sheet = layout.sheets[sheetName];
    const double perMm = m_dpi / 25.4;
    double total = 0;
    for (const ReportColumn &column : sheet.columns)
        total += column.widthMm;
    if (total * perMm > m_width + 0.5) {
        fail(
            QStringLiteral("donne aux colonnes de la feuille « %1 » %2 mm en tout (« largeur_mm »), la page "
                           "en offre %3 entre les marges gauche et droite. Réduisez les colonnes ou les "
                           "marges gauche et droite (« marges_mm »)%4")
                .arg(sheetName, french(std::ceil(total)), french(std::floor(m_width / perMm)),
                     layout.landscape ? QString() : QStringLiteral(", ou choisissez l'orientation paysage")));
        return;
    }
    const auto &widest = sheetName == QLatin1String("Commande") ? kOrderColumns : kListColumns;
    for (int c = 0; c < kReportColumns; ++c) {
        const ReportColumn &column = sheet.columns[std::size_t(c)];
        // The heading and the widest text, each at 7 points or its own size if smaller.
        const struct
        {
            double width, size;
            QString what;
        } needs[] = {
            {m_headings.width(column.heading), layout.headingFont.pointSize,
             QStringLiteral("son en-tête « %1 »").arg(column.heading)},
            {m_text.width(QString::fromUtf16(widest[std::size_t(c)].text)), layout.textFont.pointSize,
             QString::fromUtf8(widest[std::size_t(c)].what)},
        };
        for (const auto &need : needs) {
            const double size = std::min(kReadableSize, need.size);
            const double needed = need.width * size / need.size + 2 * m_pad;
            if (needed > column.widthMm * perMm) {
                fail(QStringLiteral("donne à la colonne %1 de la feuille « %2 » %3 mm (« largeur_mm ») : il "
                                    "en faut au moins %4 pour %5 en %6 points")
                         .arg(QLatin1Char(kLetters[c]))
                         .arg(sheetName, french(column.widthMm), french(std::ceil(needed / perMm)), need.what,
                              french(size)));
                return;
            }
        }
    }
}

void ReportLayout::drawText(QPainter &painter, const QString &text, double left, double right,
                            double baseline, const Advances &advances, Qt::Alignment align) const
{
    if (text.isEmpty())
        return;
    const double room = right - left;
    const double width = advances.width(text);
    if (width > room) {
        // A rare wide text: smaller, whole.
        QFont smaller = advances.font;
        smaller.setPointSizeF(advances.font.pointSizeF() * room / width * 0.99);
        painter.setFont(smaller);
        painter.drawText(QPointF(left, baseline), text);
        painter.setFont(advances.font);
        return;
    }
    const double at = align == Qt::AlignRight     ? right - width
                      : align == Qt::AlignHCenter ? left + (room - width) / 2
                                                  : left;
    painter.drawText(QPointF(at, baseline), text);
}

void ReportLayout::paint(QPainter &painter, const ReportPage &page) const
{
    const ReportSheetTemplate sheet = m_template.sheets.value(page.sheetName);
    const double perMm = m_dpi / 25.4;
    std::array<double, kReportColumns + 1> x{};
    for (int c = 0; c < kReportColumns; ++c)
        x[std::size_t(c) + 1] = x[std::size_t(c)] + sheet.columns[std::size_t(c)].widthMm * perMm;
    std::array<Qt::Alignment, kReportColumns> align{};
    for (int c = 0; c < kReportColumns; ++c)
        align[std::size_t(c)] = alignment(sheet.columns[std::size_t(c)].align);
    const auto cell = [&](int c) {
        return std::pair{x[std::size_t(c)] + m_pad, x[std::size_t(c) + 1] - m_pad};
    };

    // Rows 1 to 3: the titles run across the page, as long texts do in a sheet.
    painter.setFont(m_titleFont);
    drawText(painter, page.cell(1, 0), 0, m_width, m_titleBaseline, m_title, Qt::AlignLeft);
    painter.setFont(m_textFont);
    double y = m_titleRow;
    for (int row = 2; row < ReportPage::kHeadingRow; ++row, y += m_row)
        drawText(painter, page.cell(row, 0), 0, m_width, y + m_textBaseline, m_text, Qt::AlignLeft);
    y += m_row * 0.3;

    // The grid, once for the page: the headings' row shaded, then the lines.
    const int lastRow = std::min(page.lastRow(), ReportPage::kLastRecordRow);
    const double gridTop = y;
    const double recordsTop = gridTop + m_headingRow;
    const double gridBottom = recordsTop + m_row * (lastRow - ReportPage::kHeadingRow);
    painter.fillRect(QRectF(0, gridTop, x.back(), m_headingRow), QColor(0xe8, 0xe8, 0xe8));
    QVarLengthArray<QLineF, 64> lines;
    lines.append(QLineF(0, gridTop, x.back(), gridTop));
    for (int row = ReportPage::kHeadingRow; row <= lastRow; ++row) {
        const double bottom = recordsTop + m_row * (row - ReportPage::kHeadingRow);
        lines.append(QLineF(0, bottom, x.back(), bottom));
    }
    for (const double edge : x)
        lines.append(QLineF(edge, gridTop, edge, gridBottom));
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), std::max(1.0, 0.2 * perMm)));
    painter.drawLines(lines.constData(), int(lines.size()));
    painter.setPen(Qt::black);

    painter.setFont(m_headingFont);
    for (int c = 0; c < kReportColumns; ++c) {
        const auto [left, right] = cell(c);
        drawText(painter, sheet.columns[std::size_t(c)].heading, left, right, gridTop + m_headingBaseline,
                 m_headings, Qt::AlignHCenter);
    }
    painter.setFont(m_textFont);
    y = recordsTop;
    for (int row = ReportPage::kFirstRecordRow; row <= lastRow; ++row, y += m_row) {
        for (int c = 0; c < kReportColumns; ++c) {
            const auto [left, right] = cell(c);
            drawText(painter, page.cell(row, c), left, right, y + m_textBaseline, m_text,
                     align[std::size_t(c)]);
        }
    }
    if (page.lastRow() >= ReportPage::kTotalRow) {
        // The total, with whatever the template puts beside it.
        painter.setFont(m_headingFont);
        for (int c = 0; c < kReportColumns; ++c) {
            const auto [left, right] = cell(c);
            drawText(painter, page.cell(ReportPage::kTotalRow, c), left, right, y + m_textBaseline,
                     m_headings, align[std::size_t(c)]);
        }
    }
    if (!m_template.footer.isEmpty()) {
        painter.setFont(m_textFont);
        QString footer = m_template.footer;
        footer.replace(QLatin1String("{page}"), QString::number(page.number));
        drawText(painter, footer, 0, m_width, m_height - m_textDescent, m_text, Qt::AlignHCenter);
    }
}

void applyPageLayout(QPagedPaintDevice &device, const ReportTemplate &layout)
{
    const auto &m = layout.marginsMm;
    device.setPageLayout(QPageLayout(QPageSize(pageSizeId(layout.pageSize)),
                                     layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(m[0], m[1], m[2], m[3]), QPageLayout::Millimeter));
}

QString reportLayoutProblem(const ReportTemplate &layout)
{
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter writer(&nowhere);
    applyPageLayout(writer, layout);
    return ReportLayout(layout, writer).problem();
}
