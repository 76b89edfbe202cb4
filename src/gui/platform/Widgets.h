#pragma once

#include "Pictures.h"

#include <QKeySequence>
#include <QString>
#include <QToolButton>

class QAbstractItemView;
class QAction;
class QDialog;
class QKeyEvent;
class QMenu;
class QWidget;

// A command button showing its picture above its caption. It takes the focus by Tab and
// by click like any button; Space, and Enter while it has the focus, press it.
class PictureButton final : public QToolButton
{
    Q_OBJECT

public:
    PictureButton(const QString &objectName, const QString &caption, Picture picture, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

inline PictureButton *makePictureButton(const QString &objectName, const QString &caption, Picture picture,
                                        QWidget *parent)
{
    return new PictureButton(objectName, caption, picture, parent);
}

// Moves the focus to the next control in tab order, as a Tab keystroke sent to `from`
// would (it goes through the same checks as a real Tab).
void sendTab(QWidget *from);

// A window whose only way out is its own buttons: Escape does nothing there (only a cancel
// button would answer it, and the window has none).
void ignoreEscape(QDialog *window);

// One of the program's fixed windows: named, a title bar with its close box only, a size of
// its own, and left by its own buttons (Escape does nothing).
void setUpFixedWindow(QDialog *window, const QString &name);

// A list that shows the focus frame on a row nobody chose (as it does when it first gets
// the focus): the first Up or Down chooses that row instead of stepping past it. Returns
// whether `event` did so.
bool chooseFramedRow(QAbstractItemView *view, const QKeyEvent *event);
// The same for a list that is not one of ours, by an event filter.
void letFirstArrowChooseFramedRow(QAbstractItemView *view);

// The entry of a text box's standard context menu that does `key` (Copy, Paste, SelectAll...),
// found by the shortcut its caption shows, since the entries carry no names.
QAction *standardMenuAction(const QMenu *menu, QKeySequence::StandardKey key);
