#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;
class QWidget;

// Tells a scanner's burst of keys from typing, in one window. A scanner in keyboard mode
// types a box's code far faster than anyone types, then Enter: once a burst is faster
// than a person and can still be a box's code, its keys are held back from the window's
// fields, and with its Enter the whole code is handed over instead, the burst's first key
// taken back from where it landed. Keys at a person's pace, however quick, go through as
// they come; keys held back go through, in order, as soon as they turn out to be typing.
class ScanDetector final : public QObject
{
public:
    using Scanned = std::function<void(const QString &code)>;
    ScanDetector(QWidget *window, Scanned scanned);
    ~ScanDetector() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QKeyEvent> event;
    };
    bool keyPress(QWidget *receiver, QKeyEvent *key);
    void hold(QObject *receiver, const QKeyEvent *key);
    // The held keys go on as typed.
    void release();

    QWidget *m_window;
    Scanned m_scanned;
    QString m_burst;
    qint64 m_lastKey = 0;
    std::vector<Held> m_held;
    std::function<void()> m_undoFirst;
    QTimer m_pause;
    bool m_replaying = false;
    bool m_eatEnterRelease = false;
};
