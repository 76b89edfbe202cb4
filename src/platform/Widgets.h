#pragma once

#include "Pictures.h"

#include <QString>

class QToolButton;
class QWidget;

// Window and control sizes are given in twips, 1440 to the inch; the screen has 96
// pixels to the inch, so a pixel is 15 twips.
constexpr int twips(int value)
{
    return (value + 7) / 15;
}

// A command button showing its picture above its caption. It takes the focus by Tab and
// by click like any button, and Space presses it.
QToolButton *makePictureButton(const QString &objectName, const QString &caption, Picture picture,
                               QWidget *parent);
