#include "OneLineGuard.h"

#include "MessageBox.h"
#include "Widgets.h"
#include "core/files/TypedText.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

OneLineGuard::OneLineGuard(QLineEdit *edit)
    : QObject(edit)
    , m_edit(edit)
{
    edit->installEventFilter(this);
}

bool OneLineGuard::fit(QString *text, Way way) const
{
    *text = TypedText::withoutTrailingLineEnd(*text).toString();
    const qsizetype bad = TypedText::firstUnstorable(*text);
    if (bad < 0)
        return true;
    const QString how = way == Way::Pasted    ? QStringLiteral("collé")
                        : way == Way::Dropped ? QStringLiteral("déposé")
                                              : QStringLiteral("saisi");
    Platform::message(
        QStringLiteral("Le texte %1 contient le caractère « %2 », qu'une ligne du fichier ne peut pas "
                       "contenir : chaque médicament et chaque entrée d'une liste tiennent sur une "
                       "seule ligne.\r\n\r\nLe texte n'a pas été %1.")
            .arg(how, TypedText::nameOf(text->at(bad))),
        QStringLiteral("Attention !!!"), MsgIcon::Exclamation);
    return false;
}

void OneLineGuard::paste(QClipboard::Mode mode)
{
    if (m_edit->isReadOnly())
        return;
    QString text = QApplication::clipboard()->text(mode);
    if (fit(&text, Way::Pasted))
        m_edit->insert(text);
}

bool OneLineGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit || m_forwarding)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste(QClipboard::Clipboard);
            return true;
        }
        // A key whose text would be typed but holds a line break (an input method's U+2028)
        // types nothing; Enter, Tab and Backspace go on to their own handling.
        return !key->text().isEmpty() && key->text().at(0).isPrint() &&
               TypedText::firstUnstorable(key->text()) >= 0;
    }
    case QEvent::ContextMenu: {
        QMenu *menu = m_edit->createStandardContextMenu();
        if (QAction *pasteAction = standardMenuAction(menu, QKeySequence::Paste)) {
            pasteAction->disconnect();
            connect(pasteAction, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection where the desktop has one.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
            QApplication::clipboard()->supportsSelection()) {
            paste(QClipboard::Selection);
            return true;
        }
        return false;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData()->hasText())
            return false;
        QString text = drop->mimeData()->text();
        const QString dropped = text;
        if (!fit(&text, Way::Dropped)) {
            drop->ignore();
            return true;
        }
        if (text == dropped)
            return false;
        QMimeData cleaned;
        cleaned.setText(text);
        QDropEvent forwarded(drop->position(), drop->possibleActions(), &cleaned, drop->buttons(),
                             drop->modifiers());
        m_forwarding = true;
        QCoreApplication::sendEvent(m_edit, &forwarded);
        m_forwarding = false;
        drop->setDropAction(forwarded.dropAction());
        drop->setAccepted(forwarded.isAccepted());
        return true;
    }
    case QEvent::InputMethod: {
        auto *input = static_cast<QInputMethodEvent *>(event);
        QString text = input->commitString();
        if (TypedText::firstUnstorable(text) < 0)
            return false;
        if (!fit(&text, Way::Typed))
            return true;
        QInputMethodEvent forwarded(input->preeditString(), input->attributes());
        forwarded.setCommitString(text, input->replacementStart(), input->replacementLength());
        m_forwarding = true;
        QCoreApplication::sendEvent(m_edit, &forwarded);
        m_forwarding = false;
        return true;
    }
    default:
        return false;
    }
}
