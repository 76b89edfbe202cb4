#pragma once

#include <QClipboard>
#include <QObject>

class QLineEdit;

// Keeps a text box to one line of characters a file line may hold, whatever brings text
// in: a paste (keys, context menu, middle button), a drop, an input method. Copying a whole
// line brings its line end along: that end is dropped silently. Any other line break or
// control character refuses the whole text, and the user is told which character it was.
// Install it before the window's own filter, which then sees every event first.
class OneLineGuard final : public QObject
{
public:
    explicit OneLineGuard(QLineEdit *edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Way
    {
        Pasted,
        Dropped,
        Typed
    };
    // The text made fit for one line, or nothing when it cannot be (the user is told).
    bool fit(QString *text, Way way) const;
    void paste(QClipboard::Mode mode);

    QLineEdit *m_edit;
    bool m_forwarding = false;
};

inline void keepOnOneLine(QLineEdit *edit)
{
    new OneLineGuard(edit);
}
