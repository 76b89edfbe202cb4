#pragma once

#include <QLineEdit>

// An entry box whose entry mask can be put on and taken off at run time, keeping what
// was typed. With the mask "##/##/####" each "#" takes one digit, the slashes stand
// fixed, and the digit places not typed yet show the prompt character.
class MaskedDateBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskedDateBox(QWidget *parent = nullptr);

    // "##/##/####" style; "" removes the mask, leaving the plain text that was typed
    // ("07/02/2001", or "" when no digit was typed).
    void setMask(const QString &mask);
    bool hasMask() const { return !inputMask().isEmpty(); }

    // The text as the user sees it: with the prompt characters while masked.
    QString maskedText() const { return displayText(); }
};
