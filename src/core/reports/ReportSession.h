#pragma once

#include "ReportOutput.h"
#include "ReportTemplate.h"

#include <optional>

class ReportOutput;

// One report being filled: the template open, one sheet selected, its cells written by
// A1-style address, previewed or printed page by page, then finished. The template on
// disk is only read.
class ReportSession
{
public:
    explicit ReportSession(ReportOutput &output);
    ReportSession(const ReportSession &) = delete;
    ReportSession &operator=(const ReportSession &) = delete;
    ~ReportSession();

    // Reads the template from the program's directory; false and a message when it is
    // missing or broken.
    bool openTemplate(QString *error);
    // The template another session opened, for the same report made again.
    void useTemplate(const ReportTemplate &layout) { m_template = layout; }
    const std::optional<ReportTemplate> &layout() const { return m_template; }
    void selectSheet(const QString &name);
    // A1, A2, A3, A5..F49, F50: the empty text clears the cell.
    void write(QStringView address, const QString &text);
    void write(int row, int column, const QString &text);
    void setPrintArea(const QString &area);
    // The report's name (its PDF's, its preview's) when its title in A1 does not tell it
    // apart from another report; otherwise the title is the name.
    void setReportName(const QString &name);
    void setPageCount(int count) { m_page.pageCount = count; }
    void setReplay(ReportReplay replay) { m_replay = std::move(replay); }
    void preview();
    void print();
    void output(ReportMode mode);
    void finish();

private:
    // The output learns of the report at its first page.
    bool nextPage();

    ReportOutput &m_output;
    std::optional<ReportTemplate> m_template;
    ReportPage m_page;
    bool m_begun = false;
    bool m_named = false;
    ReportReplay m_replay;
};
