#include "TableExport.h"

#include "core/files/DurableFile.h"
#include "core/platform/Today.h"
#include "gui/platform/FileDialogs.h"
#include "gui/platform/MessageBox.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QContextMenuEvent>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>

#include <xlsxwriter.h>

namespace {

QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(';') || field.contains('"') || field.contains('\r') || field.contains('\n'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
}

// The list's name in a file name: all of it, but what a folder cannot hold.
QString fileNamePart(const QString &name)
{
    QString part = name;
    for (QChar &c : part) {
        if (c == u'/' || c == u'\\')
            c = u'-'; // "Périmés et/ou Seuil critique"
        else if (!c.isPrint())
            c = u' ';
    }
    part = part.simplified();
    return part.isEmpty() ? QStringLiteral("Liste") : part;
}

// A sheet's name: at most 31 characters, none of those a workbook refuses.
QByteArray sheetName(const QString &name)
{
    QString sheet = name;
    for (const QChar bad : {u'[', u']', u':', u'*', u'?', u'/', u'\\'})
        sheet.replace(bad, QLatin1Char(' '));
    sheet = sheet.simplified().left(31);
    return (sheet.isEmpty() ? QStringLiteral("Liste") : sheet).toUtf8();
}

} // namespace

ShownTable shownTable(const QTableView &view, const QString &name)
{
    ShownTable table;
    table.name = name;
    const QAbstractItemModel *model = view.model();
    const QHeaderView *header = view.horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (view.isColumnHidden(column))
            continue;
        columns << column;
        table.titles << model->headerData(column, Qt::Horizontal).toString();
        table.kinds << ColumnKind(model->headerData(column, Qt::Horizontal, kColumnKindRole).toInt());
    }
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (const int column : columns)
            cells << model->index(row, column).data().toString();
        table.rows << cells;
    }
    return table;
}

QByteArray csvBytes(const ShownTable &table)
{
    QByteArray bytes("\xEF\xBB\xBF");
    const auto line = [&bytes](const QStringList &cells) {
        for (qsizetype c = 0; c < cells.size(); ++c) {
            if (c > 0)
                bytes += ';';
            bytes += csvField(cells.at(c));
        }
        bytes += "\r\n";
    };
    line(table.titles);
    for (const QStringList &row : table.rows)
        line(row);
    return bytes;
}

QByteArray xlsxBytes(const ShownTable &table, QString *error)
{
    // The library writes to a file: one of its own, read back whole.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("export.xlsx")));
    lxw_workbook *workbook = workbook_new(path.constData());
    if (!workbook) {
        *error = QStringLiteral("le classeur n'a pas pu être préparé");
        return {};
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, sheetName(table.name).constData());
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *date = workbook_add_format(workbook);
    format_set_num_format(date, "dd/mm/yyyy");

    const auto columns = lxw_col_t(table.titles.size());
    for (lxw_col_t c = 0; c < columns; ++c) {
        worksheet_write_string(sheet, 0, c, table.titles.at(c).toUtf8().constData(), bold);
        qsizetype width = table.titles.at(c).size();
        for (const QStringList &row : table.rows)
            width = std::max(width, row.at(c).size());
        worksheet_set_column(sheet, c, c, double(std::min<qsizetype>(width, 60)) + 2, nullptr);
    }
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const auto row = lxw_row_t(r + 1);
        for (lxw_col_t c = 0; c < columns; ++c) {
            const QString text = table.rows.at(r).at(c).trimmed();
            if (text.isEmpty())
                continue;
            bool number = false;
            const double value = text.toDouble(&number);
            const QDate day = QDate::fromString(text.left(10), QStringLiteral("dd/MM/yyyy"));
            switch (table.kinds.at(c)) {
            case ColumnKind::Number:
                if (number)
                    worksheet_write_number(sheet, row, c, value, nullptr);
                else
                    worksheet_write_string(sheet, row, c, text.toUtf8().constData(), nullptr);
                break;
            case ColumnKind::Date:
                if (day.isValid() && day.year() >= 1900) {
                    lxw_datetime when = {day.year(), day.month(), day.day(), 0, 0, 0};
                    worksheet_write_datetime(sheet, row, c, &when, date);
                }
                break;
            case ColumnKind::Text:
                worksheet_write_string(sheet, row, c, text.toUtf8().constData(), nullptr);
                break;
            }
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_autofilter(sheet, 0, 0, lxw_row_t(table.rows.size()),
                         lxw_col_t(std::max<lxw_col_t>(columns, 1) - 1));
    if (const lxw_error failed = workbook_close(workbook); failed != LXW_NO_ERROR) {
        *error = QString::fromUtf8(lxw_strerror(failed));
        return {};
    }
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    return file.readAll();
}

namespace {

// The list written where the user chose, as a workbook or as CSV.
void exportShownList(QTableView *view, const QString &name)
{
    const ShownTable table = shownTable(*view, name);
    const QString xlsx = QStringLiteral("Classeur Excel (*.xlsx)");
    const QString csv = QStringLiteral("Texte CSV, séparé par des points-virgules (*.csv)");
    QString filter = xlsx;
    const QString suggested = inDocuments(
        QStringLiteral("%1 %2.xlsx").arg(fileNamePart(table.name), Platform::today().toString(Qt::ISODate)));
    QString path = askSaveFileName(view->window(), QStringLiteral("Exporter la liste affichée"), suggested,
                                   {xlsx, csv}, &filter);
    if (path.isEmpty())
        return;
    const bool asCsv = filter == csv || path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) &&
        !path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += asCsv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    QString error;
    const QByteArray bytes = asCsv ? csvBytes(table) : xlsxBytes(table, &error);
    if (!error.isEmpty()) {
        Platform::showError(QStringLiteral("La liste n'a pas pu être exportée : %1.").arg(error));
        return;
    }
    // Written whole or not at all, as every file of the program, and nothing left behind in
    // the user's folder.
    if (!DurableFile::writeIntoUserFolder(path, bytes, DurableFile::Existing::Replace, &error))
        Platform::showError(error);
}

// The table's context menu: asked for by a right click, the menu key or Shift+F10 (the way
// keyboard and screen reader users open one), it opens at the pointer or at the current row.
class ExportMenu final : public QObject
{
public:
    ExportMenu(QTableView *view, std::function<QString()> name, QList<QAction *> entries)
        : QObject(view)
        , m_view(view)
        , m_name(std::move(name))
        , m_entries(std::move(entries))
    {
        m_export = new QAction(QStringLiteral("Exporter la liste affichée..."), view);
        m_export->setObjectName(QStringLiteral("exportList"));
        connect(m_export, &QAction::triggered, this, [this] { exportShownList(m_view, m_name()); });
        view->setContextMenuPolicy(Qt::DefaultContextMenu);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ContextMenu) {
            const auto *request = static_cast<QContextMenuEvent *>(event);
            if (request->reason() == QContextMenuEvent::Keyboard)
                showAtCurrentRow();
            else
                show(request->globalPos(), false);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
                showAtCurrentRow();
                return true;
            }
        }
        return false;
    }

private:
    void showAtCurrentRow()
    {
        QRect row = m_view->visualRect(m_view->currentIndex());
        if (!row.isValid() || !m_view->viewport()->rect().intersects(row))
            row = QRect(QPoint(), QSize(1, 1));
        show(m_view->viewport()->mapToGlobal(row.center()), true);
    }

    void show(const QPoint &at, bool fromKeyboard)
    {
        QMenu menu(m_view);
        menu.setObjectName(QStringLiteral("exportMenu"));
        menu.setTitle(QStringLiteral("Liste affichée"));
        menu.setAccessibleName(menu.title());
        menu.addAction(m_export);
        menu.addActions(m_entries);
        // From the keyboard, the entry is ready to be chosen, and told to a screen reader.
        if (fromKeyboard)
            menu.setActiveAction(m_export);
        menu.exec(at);
    }

    QTableView *m_view;
    std::function<QString()> m_name;
    QList<QAction *> m_entries;
    QAction *m_export = nullptr;
};

} // namespace

void addExportMenu(QTableView *view, const std::function<QString()> &name, const QList<QAction *> &entries)
{
    new ExportMenu(view, name, entries);
}
