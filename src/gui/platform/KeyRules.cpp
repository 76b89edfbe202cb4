#include "KeyRules.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>

namespace KeyRules {

bool typesCharacter(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    return text.at(0).isPrint();
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool isEditingKey(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    for (QKeySequence::StandardKey k :
         {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::DeleteCompleteLine}) {
        if (event->matches(k))
            return true;
    }
    return false;
}

bool isModifierKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return true;
    default:
        return false;
    }
}

bool stepsThroughList(const QKeyEvent *event)
{
    if (event->modifiers() & Qt::AltModifier) // Alt+Down and Alt+Up open and close the list
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

namespace {

class TypedTextFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::InputMethod)
            return true;
        return event->type() == QEvent::KeyPress && typesCharacter(static_cast<QKeyEvent *>(event));
    }
};

} // namespace

void discardTypedText(QComboBox *combo)
{
    combo->installEventFilter(new TypedTextFilter(combo));
}

} // namespace KeyRules
