#include "ReportSession.h"

#include "core/platform/ProgramDirectory.h"

int ReportPage::lastRow() const
{
    return printArea.endsWith(QStringLiteral("$%1").arg(kLastFullPageRow)) ? kLastFullPageRow : kTotalRow;
}

ReportSession::ReportSession(ReportOutput &output)
    : m_output(output)
{}

ReportSession::~ReportSession()
{
    finish();
}

bool ReportSession::openTemplate(QString *error)
{
    m_template = ReportTemplate::load(Platform::programFile(kTemplateFileName), error);
    return m_template.has_value();
}

void ReportSession::selectSheet(const QString &name)
{
    m_page.sheetName = name;
    for (auto &row : m_page.cells)
        row.fill(QString());
    if (!m_template)
        return;
    const auto sheet = m_template->sheets.constFind(name);
    if (sheet == m_template->sheets.cend())
        return;
    for (auto it = sheet->fixedCells.begin(); it != sheet->fixedCells.end(); ++it)
        write(it.key(), it.value());
}

void ReportSession::write(QStringView address, const QString &text)
{
    if (address.size() < 2)
        return;
    const int column = address[0].toUpper().unicode() - 'A';
    bool ok = false;
    const int row = address.mid(1).toInt(&ok);
    if (ok)
        write(row, column, text);
}

void ReportSession::write(int row, int column, const QString &text)
{
    if (row < 1 || row > ReportPage::kRows || column < 0 || column >= kReportColumns)
        return;
    m_page.cells[std::size_t(row - 1)][std::size_t(column)] = text;
    if (row == 1 && column == 0 && !m_named)
        m_page.report = text;
}

void ReportSession::setReportName(const QString &name)
{
    m_page.report = name;
    m_named = true;
}

void ReportSession::setPrintArea(const QString &area)
{
    m_page.printArea = area;
}

bool ReportSession::nextPage()
{
    if (!m_template)
        return false;
    if (!m_begun) {
        m_output.begin(m_page.report, *m_template, m_replay);
        m_begun = true;
    }
    ++m_page.number;
    return true;
}

void ReportSession::preview()
{
    if (nextPage())
        m_output.preview(m_page);
}

void ReportSession::print()
{
    if (nextPage())
        m_output.print(m_page);
}

void ReportSession::output(ReportMode mode)
{
    if (mode == ReportMode::Preview)
        preview();
    else
        print();
}

void ReportSession::finish()
{
    if (m_begun)
        m_output.finish();
    m_begun = false;
}
