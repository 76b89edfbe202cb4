#include "WindowLayout.h"

#include "core/platform/LayoutSettings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QWidget>

namespace {

// A place is on a screen when enough of its title bar is there to take it with the pointer.
bool reachable(const QRect &frame)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), 30));
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen *screen) {
        const QRect seen = titleBar.intersected(screen->availableGeometry());
        return seen.width() >= std::min(100, frame.width()) && seen.height() >= 20;
    });
}

class PlacementKeeper final : public QObject
{
public:
    explicit PlacementKeeper(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_restored) {
            m_restored = true;
            restore();
        } else if (event->type() == QEvent::Hide) {
            keep();
        }
        return false;
    }

private:
    bool resizable() const { return m_window->minimumSize() != m_window->maximumSize(); }

    void restore()
    {
        const std::optional<LayoutSettings::Placement> kept =
            LayoutSettings::placement(m_window->objectName());
        if (!kept)
            return;
        QSize size = m_window->size();
        if (resizable()) {
            size =
                kept->frame.size().expandedTo(m_window->minimumSizeHint()).boundedTo(m_window->maximumSize());
            if (const QScreen *screen = m_window->screen())
                size = size.boundedTo(screen->availableGeometry().size());
            m_window->resize(size);
        }
        if (reachable(QRect(kept->frame.topLeft(), size)))
            m_window->move(kept->frame.topLeft());
        if (kept->maximized && resizable())
            m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
    }

    void keep()
    {
        const bool maximized = m_window->isMaximized();
        const QRect normal = maximized ? m_window->normalGeometry() : m_window->geometry();
        LayoutSettings::setPlacement(
            m_window->objectName(),
            {QRect(maximized ? normal.topLeft() : m_window->pos(), normal.size()), maximized});
        // Where a window stands is no data of the user's: a file that cannot be written
        // leaves the next run at the design's places, without a word.
        QString ignored;
        LayoutSettings::save(&ignored);
    }

    QWidget *m_window;
    bool m_restored = false;
};

class ColumnWidthKeeper final : public QObject
{
public:
    ColumnWidthKeeper(QTableView *view, const QList<int> &designWidths)
        : QObject(view)
        , m_view(view)
        , m_design(designWidths)
    {
        setObjectName(QStringLiteral("columnWidthKeeper"));
        connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int) {
            if (!m_applying && !m_view->isColumnHidden(column))
                keep();
        });
    }

    void apply()
    {
        const QList<int> kept = LayoutSettings::columnWidths(m_view->objectName());
        m_applying = true;
        for (int column = 0; column < m_design.size(); ++column)
            m_view->setColumnWidth(column,
                                   kept.size() == m_design.size() ? kept.at(column) : m_design.at(column));
        m_applying = false;
    }

private:
    void keep()
    {
        QList<int> widths;
        for (int column = 0; column < m_design.size(); ++column)
            widths << (m_view->isColumnHidden(column) ? m_design.at(column) : m_view->columnWidth(column));
        LayoutSettings::setColumnWidths(m_view->objectName(), widths);
    }

    QTableView *m_view;
    QList<int> m_design;
    bool m_applying = false;
};

} // namespace

void keepPlacement(QWidget *window)
{
    new PlacementKeeper(window);
}

void keepColumnWidths(QTableView *view, const QList<int> &designWidths)
{
    (new ColumnWidthKeeper(view, designWidths))->apply();
}

void applyColumnWidths(QTableView *view)
{
    if (auto *keeper = view->findChild<ColumnWidthKeeper *>(QStringLiteral("columnWidthKeeper"),
                                                            Qt::FindDirectChildrenOnly))
        keeper->apply();
}
