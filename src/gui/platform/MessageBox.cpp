#include "MessageBox.h"

#include "core/platform/Seam.h"

#include <QApplication>
#include <QMessageBox>

namespace {

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
    QMessageBox box(toQt(request.icon), request.title, forDisplay(request.text),
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (yesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int answer = box.exec();
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
