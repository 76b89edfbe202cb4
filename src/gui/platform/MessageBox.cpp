#include "MessageBox.h"

#include "core/platform/Seam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

#include <memory>

namespace {

// A question is answered by one of its buttons: Escape and the close box do nothing, as
// there is no Cancel to give.
class QuestionBox final : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_Escape)
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

MessageBoxes &boxes()
{
    return Seam<MessageBoxes, QtMessageBoxes>::get();
}

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

// The texts break lines with CR LF (and the deletion question with LF CR); a label
// wants a single line feed.
QString forDisplay(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

MsgAnswer QtMessageBoxes::ask(const MessageRequest &request)
{
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    const bool yesNo = request.buttons == MsgButtons::YesNo;
    std::unique_ptr<QMessageBox> box;
    if (yesNo)
        box = std::make_unique<QuestionBox>(toQt(request.icon), request.title, forDisplay(request.text),
                                            QMessageBox::Yes | QMessageBox::No, parent);
    else
        box = std::make_unique<QMessageBox>(toQt(request.icon), request.title, forDisplay(request.text),
                                            QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    if (yesNo)
        box->setDefaultButton(QMessageBox::Yes);
    const int answer = box->exec();
    // The keyboard goes back to the window the box was shown over, as the desktop may not
    // give it back by itself.
    if (parent && parent->isVisible())
        parent->activateWindow();
    if (!yesNo)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

namespace Platform {

MsgAnswer message(const QString &text, const QString &title, MsgIcon icon, MsgButtons buttons)
{
    return boxes().ask({text, title, icon, buttons});
}

void showError(const QString &text)
{
    message(text, QStringLiteral("Erreur"), MsgIcon::Exclamation);
}

void setMessageBoxes(MessageBoxes *b)
{
    Seam<MessageBoxes, QtMessageBoxes>::set(b);
}

} // namespace Platform
