#pragma once

#include "TestSeams.h"
#include "gui/editor/FormMedic.h"
#include "gui/listwindow/FormPharma.h"

#include <QLineEdit>
#include <QToolButton>

#include <functional>
#include <memory>

// The list window on a temporary program directory, as the user finds it, with the
// means to drive the windows it opens.
class StockFixture
{
public:
    explicit StockFixture(const QStringList &lines);

    TestSeams seams;
    std::unique_ptr<FormPharma> form;

    QByteArray stockBytes() const;

    // Clicks the row showing `name` in the table.
    void chooseRow(const QString &name);
    void click(const QString &button);

    // Clicks `button` of the list window and runs `act` in the editor it opens. Returns
    // whether the editor opened; `stayedOpen` tells whether it was still open once `act`
    // was done (it is then closed by its close box).
    bool runEditor(const QString &button, const std::function<void(FormMedic *)> &act,
                   bool *stayedOpen = nullptr);
};

// A click as the user makes it: through the window, so that the focus moves first.
void clickThroughWindow(QWidget *target);

template <typename T = QLineEdit> T *field(QWidget *window, const QString &name)
{
    return window->findChild<T *>(name);
}
