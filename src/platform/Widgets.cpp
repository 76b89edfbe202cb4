#include "Widgets.h"

#include <QToolButton>

QToolButton *makePictureButton(const QString &objectName, const QString &caption, Picture picture,
                               QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setIcon(pictureIcon(picture));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    button->setMinimumHeight(46);
    return button;
}
