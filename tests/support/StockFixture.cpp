#include "StockFixture.h"

#include "core/store/StockFile.h"
#include "gui/listwindow/StockTableModel.h"
#include "gui/platform/ReportListView.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWindow>

StockFixture::StockFixture(const QStringList &lines)
{
    seams.directory.write(kStockFileName, fileOf(lines));
    seams.directory.write(QStringLiteral("Pharma_Forme.dat"),
                          cp1252(QStringLiteral("Orale\r\nCutanée\r\nRectale\r\n")));
    seams.directory.write(QStringLiteral("Pharma_Type.dat"),
                          cp1252(QStringLiteral("Comprimé\r\nSachet\r\n")));
    form = std::make_unique<FormPharma>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("the list window did not show");
}

QByteArray StockFixture::stockBytes() const
{
    return seams.directory.read(kStockFileName);
}

void StockFixture::chooseRow(const QString &name)
{
    ReportListView *view = form->ListView1();
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, StockTableModel::Nom);
        if (index.data().toString() == name) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
            return;
        }
    }
    qWarning("no row shows %s", qPrintable(name));
}

void StockFixture::click(const QString &button)
{
    QTest::mouseClick(form->findChild<QToolButton *>(button), Qt::LeftButton);
}

bool StockFixture::runEditor(const QString &button, const std::function<void(FormMedic *)> &act,
                             bool *stayedOpen)
{
    bool opened = false;
    QPointer<QObject> watch = whenModalOpens([&](QWidget *window) {
        auto *editor = qobject_cast<FormMedic *>(window);
        if (!editor)
            return;
        opened = true;
        QTRY_VERIFY(editor->isActiveWindow());
        act(editor);
        const bool open = editor->isVisible();
        if (stayedOpen)
            *stayedOpen = open;
        if (open)
            editor->close();
    });
    click(button);
    // The command may end without an editor (a question answered No): stop watching,
    // or the watch would act on a later test's window.
    delete watch.data();
    return opened;
}

void clickThroughWindow(QWidget *target)
{
    QWidget *window = target->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(window, target->rect().center()));
}
