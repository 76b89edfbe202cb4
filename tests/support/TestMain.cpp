#include "TestMain.h"

#include "gui/shell/Application.h"

#include <QApplication>

void prepareTestApplication(QApplication &app)
{
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    prepareApplication(app);
}
