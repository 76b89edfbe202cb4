#pragma once

#include "ReportOutput.h"

#include <QString>

#include <array>
#include <optional>

class ReportSession;

// The frame every report shares: numbered rows from sheet row 5 to 49, pages of 44 rows
// printed with the area "$A$1:$F$48" and the 45th row carried to the top of the next
// page, the count in F50 of the last page, printed with "$A$1:$F$50".
//
// The caller walks its lines (or rows) in order and calls `beforeLine` before each one,
// qualifying or not: a page ends as soon as row 49 is filled and another line follows.
class ReportFrame
{
public:
    // Columns B to F of one row; a column left empty (nullopt) is never written.
    using Cells = std::array<std::optional<QString>, 5>;

    ReportFrame(ReportSession &session, ReportMode mode);

    void beforeLine();
    void add(const Cells &cells);
    // The last page: the count in F50, printed or previewed.
    void finish();

    int count() const { return m_count; }

private:
    void writeRow(int row, int number, const Cells &cells);

    ReportSession &m_session;
    ReportMode m_mode;
    int m_nextRow = ReportPage::kFirstRecordRow;
    int m_count = 0;
    Cells m_last;
};
