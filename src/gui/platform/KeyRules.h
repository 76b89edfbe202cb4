#pragma once

class QComboBox;
class QKeyEvent;

// What a key does to a control, as the key rules of the windows judge it.
namespace KeyRules {

// Types a character (Enter and Backspace aside): what a field's character rule judges.
bool typesCharacter(const QKeyEvent *event);
// Enter or the keypad's Enter.
bool isEnter(const QKeyEvent *event);
// Changes a text without typing a character into it (Backspace, Delete, paste, undo...).
bool isEditingKey(const QKeyEvent *event);
// Shift, Ctrl, Alt, AltGr or Meta alone: no key of its own, only a change to the next one.
bool isModifierKey(const QKeyEvent *event);
// Moves a closed combo box to another entry of its list (arrows, Page Up/Down). Home and End
// move the caret of an editable one, and change nothing.
bool stepsThroughList(const QKeyEvent *event);

// Every key typed into a list box of choices is discarded, and so is text from an input
// method or a dead key: its entry is chosen from the list, by the pointer or the arrows.
void discardTypedText(QComboBox *combo);

} // namespace KeyRules
