#include "MaskedDateBox.h"

MaskedDateBox::MaskedDateBox(QWidget *parent)
    : QLineEdit(parent)
{}

void MaskedDateBox::setMask(const QString &mask)
{
    // Qt's own masks erase the text when changed: keep it across the change.
    if (mask.isEmpty()) {
        const QString shown = displayText();
        const bool untouched =
            !shown.isEmpty() && shown.count(QLatin1Char('_')) + shown.count(QLatin1Char('/')) == shown.size();
        const QString plain = untouched ? QString() : text();
        setInputMask(QString());
        setText(plain);
        return;
    }
    const QString kept = text();
    QString qtMask = mask;
    qtMask.replace(QLatin1Char('#'), QLatin1Char('9')); // a digit in each place
    setInputMask(qtMask + QStringLiteral(";_"));
    setText(kept);
}
