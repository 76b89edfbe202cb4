#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures of the program's buttons and toolbar, drawn at run time so that the
// program carries no image files.
enum class Picture
{
    Medicine, // a box of medicine with a cross
    Add,
    Edit,
    Delete,
    Quantity,
    Renew,
    Forecast,
    Order,
    Close,
    Print,
    Help,
    SortName,
    SortRoute,
    SortPresentation,
    Settings,
    About,
    Quit,
    Validate,
    Cancel,
};

QPixmap picturePixmap(Picture picture, int size = 32);
QIcon pictureIcon(Picture picture);
