#include "ScanDetector.h"

#include "KeyRules.h"
#include "ReportListView.h"
#include "core/platform/KeyClock.h"
#include "core/scan/BoxCode.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// A scanner types a key every few milliseconds; no one types 16 keys in a row this fast.
constexpr qint64 kScannerGapMs = 30;
// AI 01 and its 14 digits: the shortest start of a code.
constexpr qsizetype kShortestCode = 16;

// The character a key adds to a code: what it types, the group separator included, which
// some scanners send as Ctrl+].
QChar codeCharacter(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_BracketRight && key->modifiers().testFlag(Qt::ControlModifier))
        return kGroupSeparator;
    const QString text = key->text();
    if (text.size() != 1 || (!text.at(0).isPrint() && text.at(0) != kGroupSeparator))
        return {};
    return text.at(0);
}

// How to take back what one typed key did to a field or a list.
std::function<void()> undoFor(QWidget *widget)
{
    auto *combo = qobject_cast<QComboBox *>(widget);
    if (QPointer<QLineEdit> edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(widget)) {
        const QString text = edit->text();
        const int cursor = edit->cursorPosition();
        const int start = edit->selectionStart();
        const int length = int(edit->selectedText().size());
        return [=] {
            if (!edit)
                return;
            edit->setText(text);
            if (length > 0)
                edit->setSelection(start, length);
            else
                edit->setCursorPosition(cursor);
        };
    }
    if (QPointer<QAbstractItemView> view = qobject_cast<QAbstractItemView *>(widget)) {
        const QPersistentModelIndex current = view->currentIndex();
        return [=] {
            if (!view || view->currentIndex() == current)
                return;
            view->setCurrentIndex(current);
            if (auto *list = qobject_cast<ReportListView *>(view.data()); list && current.isValid())
                emit list->rowChosen(current.row());
        };
    }
    return {};
}

} // namespace

ScanDetector::ScanDetector(QWidget *window, Scanned scanned)
    : QObject(window)
    , m_window(window)
    , m_scanned(std::move(scanned))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(int(kScannerGapMs) * 2);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        release();
        m_burst.clear();
    });
    qApp->installEventFilter(this);
}

ScanDetector::~ScanDetector()
{
    qApp->removeEventFilter(this);
}

bool ScanDetector::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (m_replaying ||
        (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::InputMethod))
        return false;
    // Keys reach the focus widget first; what it passes on to its parents was decided.
    QWidget *first = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
    if (watched != first || first->window() != m_window)
        return false;
    switch (type) {
    case QEvent::KeyPress:
        return keyPress(first, static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_eatEnterRelease && KeyRules::isEnter(key)) {
            m_eatEnterRelease = false;
            return true;
        }
        if (m_held.empty())
            return false;
        hold(watched, key);
        return true;
    }
    default: // an input method or a dead key: typing
        release();
        m_burst.clear();
        return false;
    }
}

bool ScanDetector::keyPress(QWidget *receiver, QKeyEvent *key)
{
    // The release of the Enter that ended a scan comes next, or not at all.
    m_eatEnterRelease = false;
    // Shift (digits on a French keyboard) and Ctrl (the separator) come with a scan's keys.
    if (KeyRules::isModifierKey(key)) {
        if (m_held.empty())
            return false;
        hold(receiver, key);
        return true;
    }
    const qint64 now = Platform::keyTime();
    const bool fast = now - m_lastKey <= kScannerGapMs;
    m_lastKey = now;
    if (KeyRules::isEnter(key) && fast && !m_held.empty() && m_burst.size() >= kShortestCode &&
        mayStartBoxCode(m_burst)) {
        // A scan: none of its keys stays where it went.
        m_pause.stop();
        m_held.clear();
        if (m_undoFirst)
            m_undoFirst();
        m_undoFirst = {};
        m_eatEnterRelease = true;
        const QString code = std::exchange(m_burst, QString());
        m_scanned(code);
        return true;
    }
    const QChar c = codeCharacter(key);
    if (!c.isNull() && fast && !m_burst.isEmpty() && mayStartBoxCode(m_burst + c)) {
        m_burst += c;
        hold(receiver, key);
        m_pause.start();
        return true;
    }
    release();
    m_burst.clear();
    if (!c.isNull() && mayStartBoxCode(QString(c))) {
        // Perhaps the first key of a scan: it goes through, and can be taken back.
        m_burst = c;
        m_undoFirst = undoFor(receiver);
    }
    return false;
}

void ScanDetector::hold(QObject *receiver, const QKeyEvent *key)
{
    m_held.push_back({receiver, std::unique_ptr<QKeyEvent>(key->clone())});
}

void ScanDetector::release()
{
    m_pause.stop();
    std::vector<Held> held = std::exchange(m_held, {});
    m_replaying = true;
    for (Held &h : held) {
        if (h.receiver)
            QCoreApplication::sendEvent(h.receiver, h.event.get());
    }
    m_replaying = false;
}
