#include "ReportFrame.h"

#include "ReportSession.h"

namespace {

constexpr int kFirstRow = ReportPage::kFirstRecordRow;
constexpr int kLastRow = ReportPage::kLastRecordRow;
const QString kFullPage = QStringLiteral("$A$1:$F$%1").arg(ReportPage::kLastFullPageRow);
const QString kLastPage = QStringLiteral("$A$1:$F$%1").arg(ReportPage::kTotalRow);

} // namespace

ReportFrame::ReportFrame(ReportSession &session, ReportMode mode)
    : m_session(session)
    , m_mode(mode)
{}

void ReportFrame::writeRow(int row, int number, const Cells &cells)
{
    m_session.write(row, 0, QString::number(number));
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (cells[c])
            m_session.write(row, int(c) + 1, *cells[c]);
    }
}

void ReportFrame::beforeLine()
{
    if (m_nextRow <= kLastRow)
        return;
    m_session.setPrintArea(kFullPage);
    m_session.output(m_mode);
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        for (int column = 0; column < kReportColumns; ++column)
            m_session.write(row, column, QString());
    }
    // The last record row was left out of the page just printed: it opens the next one.
    writeRow(kFirstRow, m_count, m_last);
    m_nextRow = kFirstRow + 1;
}

void ReportFrame::add(const Cells &cells)
{
    ++m_count;
    writeRow(m_nextRow, m_count, cells);
    m_last = cells;
    ++m_nextRow;
}

void ReportFrame::finish()
{
    m_session.write(ReportPage::kTotalRow, kReportColumns - 1, QString::number(m_count));
    m_session.setPrintArea(kLastPage);
    m_session.output(m_mode);
}
