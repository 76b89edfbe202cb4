#include "Widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

PictureButton::PictureButton(const QString &objectName, const QString &caption, Picture picture,
                             QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setText(caption);
    setIcon(pictureIcon(picture));
    setIconSize(QSize(24, 24));
    setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setMinimumHeight(46);
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        animateClick();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void sendTab(QWidget *from)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(from, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(from, &release);
}

QAction *standardMenuAction(const QMenu *menu, QKeySequence::StandardKey key)
{
    const QString shortcut = QLatin1Char('\t') + QKeySequence(key).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (action->text().endsWith(shortcut))
            return action;
    }
    return nullptr;
}
