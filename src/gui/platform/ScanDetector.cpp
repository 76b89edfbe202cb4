#include "ScanDetector.h"

#include "KeyRules.h"
#include "core/platform/KeyClock.h"
#include "core/scan/BoxCode.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace {

// A scanner types a key every few milliseconds; no one types 16 keys in a row this fast.
constexpr quint64 kScannerGapMs = 30;
// A timer that fires this late was held up with the program: keys pressed meanwhile may
// still be on their way.
constexpr qint64 kLateMs = 20;
// AI 01 and its 14 digits: the shortest start of a code.
constexpr qsizetype kShortestCode = 16;
// Where no scan is expected, a few keys at a scanner's pace are already more than a person
// types.
constexpr qsizetype kShortestBurst = 4;

QHash<const QWidget *, ScanDetector::Scanned> &scanWindows()
{
    static QHash<const QWidget *, ScanDetector::Scanned> windows;
    return windows;
}

// The character a key adds to a code: what it types, the group separator included, which
// some scanners send as Ctrl+].
QChar codeCharacter(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_BracketRight && key->modifiers().testFlag(Qt::ControlModifier))
        return kGroupSeparator;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {}; // a shortcut
    const QString text = key->text();
    if (text.size() != 1 || (!text.at(0).isPrint() && text.at(0) != kGroupSeparator))
        return {};
    return text.at(0);
}

// When the key was pressed: the window system's time, or, for a key that carries none
// (made by the program itself), when it arrives.
quint64 pressedAt(const QKeyEvent *key)
{
    return key->timestamp() != 0 ? key->timestamp() : quint64(Platform::keyTime());
}

// The widget a key goes to first, as the windows hand keys out; its parents may get it
// after, and must not count it twice.
QWidget *keyReceiver()
{
    if (QWidget *grabber = QWidget::keyboardGrabber())
        return grabber;
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
}

} // namespace

ScanDetector::ScanDetector(QObject *parent)
    : QObject(parent)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(kHoldMs);
    connect(&m_pause, &QTimer::timeout, this, [this] { pauseElapsed(); });
    parent->installEventFilter(this);
}

void ScanDetector::acceptScans(QWidget *window, const Scanned &scanned)
{
    scanWindows().insert(window, scanned);
    QObject::connect(window, &QObject::destroyed, [window] { scanWindows().remove(window); });
}

bool ScanDetector::eventFilter(QObject *watched, QEvent *event)
{
    if (m_replaying)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        break;
    case QEvent::InputMethod: // a dead key or an input method: typing
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        // What was typed before lands before what the pointer does.
        endBurst();
        return false;
    case QEvent::Close:
        // ... or before its window closes.
        if (std::any_of(m_held.begin(), m_held.end(), [watched](const Held &h) {
                auto *widget = qobject_cast<QWidget *>(h.receiver.data());
                return widget && widget->window() == watched;
            }))
            endBurst();
        return false;
    default:
        return false;
    }
    QWidget *receiver = keyReceiver();
    if (watched != receiver)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::KeyPress)
        return keyPress(receiver, key);
    if (m_eatEnterRelease && KeyRules::isEnter(key)) {
        m_eatEnterRelease = false;
        return true;
    }
    if (m_held.empty())
        return false;
    hold(watched, key);
    return true;
}

bool ScanDetector::keyPress(QWidget *receiver, QKeyEvent *key)
{
    // The release of the Enter that ended a scan comes next, or not at all.
    m_eatEnterRelease = false;
    // Shift (every digit on a French keyboard) and Ctrl (the separator) come with a scan's
    // keys, a little before them.
    if (KeyRules::isModifierKey(key)) {
        if (m_held.empty())
            return false;
        hold(receiver, key);
        return true;
    }
    // A key held down repeats at a scanner's pace, but no scanner holds a key.
    if (key->isAutoRepeat()) {
        endBurst();
        return false;
    }
    const quint64 now = pressedAt(key);
    const bool fast = m_anyKey && now >= m_lastKey && now - m_lastKey <= kScannerGapMs;
    m_lastKey = now;
    m_anyKey = true;
    const auto scanned = scanWindows().constFind(receiver->window());
    const bool takesScans = scanned != scanWindows().constEnd();

    if (KeyRules::isEnter(key)) {
        const bool scan = fast && !m_held.empty() &&
                          (m_burstTakesScans ? m_burst.size() >= kShortestCode && mayStartBoxCode(m_burst)
                                             : m_burst.size() >= kShortestBurst);
        if (!scan) {
            endBurst();
            return false;
        }
        // None of a scan's keys stays where it went.
        m_pause.stop();
        m_held.clear();
        m_eatEnterRelease = true;
        const QString code = std::exchange(m_burst, QString());
        if (m_burstTakesScans && takesScans) {
            // A copy: the window may open another that takes scans, and the table may grow.
            const Scanned handOver = *scanned;
            handOver(code);
        }
        return true;
    }

    const QChar c = codeCharacter(key);
    if (!c.isNull() && fast && !m_burst.isEmpty() && takesScans == m_burstTakesScans &&
        (!takesScans || mayStartBoxCode(m_burst + c))) {
        m_burst += c;
        hold(receiver, key);
        m_pause.start();
        m_pauseStarted.start();
        return true;
    }
    endBurst();
    if (c.isNull() || (takesScans && !mayStartBoxCode(QString(c))))
        return false;
    // Perhaps the first key of a burst: it waits for the next one.
    m_burst = c;
    m_burstTakesScans = takesScans;
    hold(receiver, key);
    m_pause.start();
    m_pauseStarted.start();
    return true;
}

void ScanDetector::hold(QObject *receiver, const QKeyEvent *key)
{
    m_held.push_back({receiver, std::unique_ptr<QKeyEvent>(key->clone())});
}

void ScanDetector::pauseElapsed()
{
    // Fired late, the program was busy: the burst's next keys may be waiting to be handled.
    // Their own times will tell; give them the time to come.
    if (m_pauseStarted.elapsed() > kHoldMs + kLateMs) {
        m_pause.start();
        m_pauseStarted.start();
        return;
    }
    endBurst();
}

void ScanDetector::endBurst()
{
    m_pause.stop();
    const bool setAside = !m_burstTakesScans && m_burst.size() >= kShortestBurst;
    m_burst.clear();
    std::vector<Held> held = std::exchange(m_held, {});
    if (setAside)
        return;
    m_replaying = true;
    for (Held &h : held) {
        if (h.receiver)
            QCoreApplication::sendEvent(h.receiver, h.event.get());
    }
    m_replaying = false;
}
