#include "Widgets.h"

#include "KeyRules.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
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
    if (KeyRules::isEnter(event) && event->modifiers() == Qt::NoModifier) {
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

namespace {

class EscapeFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
    }
};

class FramedRowFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress &&
               chooseFramedRow(static_cast<QAbstractItemView *>(watched), static_cast<QKeyEvent *>(event));
    }
};

} // namespace

void ignoreEscape(QDialog *window)
{
    window->installEventFilter(new EscapeFilter(window));
}

void setUpFixedWindow(QDialog *window, const QString &name)
{
    ignoreEscape(window);
    window->setObjectName(name);
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

bool chooseFramedRow(QAbstractItemView *view, const QKeyEvent *event)
{
    const QModelIndex framed = view->currentIndex();
    if ((event->key() != Qt::Key_Down && event->key() != Qt::Key_Up) ||
        event->modifiers() != Qt::NoModifier || !framed.isValid() ||
        view->selectionModel()->isSelected(framed))
        return false;
    view->selectionModel()->select(framed, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void letFirstArrowChooseFramedRow(QAbstractItemView *view)
{
    view->installEventFilter(new FramedRowFilter(view));
}
