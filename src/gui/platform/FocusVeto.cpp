#include "FocusVeto.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

FocusVeto::FocusVeto(QWidget *guarded, std::function<bool()> mayLeave)
    : QObject(guarded)
    , m_guarded(guarded)
    , m_mayLeave(std::move(mayLeave))
{
    // At the application's level: a click gives the focus to its target before the
    // target's own filters see it.
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FocusVeto::focusMoved);
}

FocusVeto::~FocusVeto()
{
    qApp->removeEventFilter(this);
}

bool FocusVeto::guardedHasFocus() const
{
    return m_guarded && QApplication::focusWidget() == m_guarded;
}

// Whether a press (ClickFocus) or a wheel turn (WheelFocus) on `target` moves the focus
// there, or to one of its ancestors.
bool FocusVeto::wouldTakeFocus(QWidget *target, Qt::FocusPolicy how) const
{
    for (QWidget *w = target; w; w = w->parentWidget()) {
        if (w == m_guarded)
            return false;
        if (w->isWindow())
            return false;
        if (w->isEnabled() && (w->focusPolicy() & how) == how)
            return true;
    }
    return false;
}

void FocusVeto::focusMoved(QWidget *from, QWidget *to)
{
    if (m_asking || !m_guarded || from != m_guarded || !to || to->window() != m_guarded->window())
        return;
    m_asking = true;
    const bool mayLeave = m_mayLeave();
    m_asking = false;
    if (!mayLeave && m_guarded)
        m_guarded->setFocus(Qt::OtherFocusReason);
}

bool FocusVeto::eventFilter(QObject *watched, QEvent *event)
{
    if (m_asking || !guardedHasFocus())
        return false;
    QWidget *window = m_guarded->window();

    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Leaving by the keyboard, towards any next control.
        if (watched != m_guarded || (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        QWidget *target = nullptr;
        if (watched == window->windowHandle())
            target = window->childAt(mouse->position().toPoint());
        else if (auto *w = qobject_cast<QWidget *>(watched); w && w->window() == window)
            target = w;
        if (!target || !wouldTakeFocus(target, Qt::ClickFocus))
            return false;
        break;
    }
    case QEvent::Wheel: {
        auto *target = qobject_cast<QWidget *>(watched);
        if (!target || target->window() != window || !wouldTakeFocus(target, Qt::WheelFocus))
            return false;
        break;
    }
    case QEvent::Shortcut:
        if (auto *w = qobject_cast<QWidget *>(watched); !w || w == m_guarded || w->window() != window)
            return false;
        break;
    default:
        return false;
    }

    m_asking = true;
    const bool mayLeave = m_mayLeave();
    m_asking = false;
    return !mayLeave;
}
