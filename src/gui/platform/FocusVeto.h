#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Keeps the focus in a control until its content is accepted. Every way the user has of
// leaving it within its window is stopped before the focus moves: Tab and Shift+Tab, a
// mouse press or a wheel turn on another control, a keyboard shortcut. `mayLeave` is asked
// each time; when it says no (having told the user why), the move does not happen. Any
// other move within the window (one the program makes, a way not foreseen) is asked about
// once it happened, and undone when refused.
class FocusVeto final : public QObject
{
public:
    FocusVeto(QWidget *guarded, std::function<bool()> mayLeave);
    ~FocusVeto() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool guardedHasFocus() const;
    bool wouldTakeFocus(QWidget *target, Qt::FocusPolicy how) const;
    void focusMoved(QWidget *from, QWidget *to);

    QPointer<QWidget> m_guarded;
    std::function<bool()> m_mayLeave;
    bool m_asking = false;
};
