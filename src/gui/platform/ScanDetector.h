#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;
class QWidget;

// Tells a scanner's burst of keys from typing, for every window of the program. A scanner
// in keyboard mode types a box's code far faster than anyone types, then Enter. The pace
// is read from the time each key carries (when it was pressed), not from when the program
// gets to it, so that a busy moment never turns a scan into typing.
//
// In a window that takes scans (the medicine editor, the list), a key that can begin a
// box's code is held back until the next key says whether a burst follows, for at most
// kHoldMs; the burst's keys are held as they come, and with its Enter the whole code is
// handed to the window instead. Keys that turn out to be typing go through, in order, as
// they were typed. In any other window (a message box, a question, a dialog) every
// character key is held so: a burst there is a scan, which no one meant as an answer,
// and it is set aside whole, its Enter included, leaving the box as it was.
class ScanDetector final : public QObject
{
public:
    using Scanned = std::function<void(const QString &code)>;
    // Watches every key of `parent`, the application.
    explicit ScanDetector(QObject *parent);

    // Scans made while `window` has the keyboard are handed to `scanned`.
    static void acceptScans(QWidget *window, const Scanned &scanned);

    // The longest a key that may begin a burst waits before it goes through.
    static constexpr int kHoldMs = 40;

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
    // The burst is over without an Enter: typing, whose keys go on as typed, or a scan
    // into a window that takes none, whose keys are dropped.
    void endBurst();
    void pauseElapsed();

    QString m_burst;
    bool m_burstTakesScans = false;
    std::vector<Held> m_held;
    quint64 m_lastKey = 0;
    bool m_anyKey = false;
    QTimer m_pause;
    QElapsedTimer m_pauseStarted;
    bool m_replaying = false;
    bool m_eatEnterRelease = false;
};
