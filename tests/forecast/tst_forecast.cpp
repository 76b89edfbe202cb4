#include "gui/forecast/ExpiryForecastWindow.h"
#include "support/Tests.h"

namespace {

// Today is 06/12/2026. In file order, unsorted on purpose.
const QStringList kStock = {
    medicine("Zinc", "05/01/2027"),      // in 30 days
    medicine("Aspirine", "06/01/2027"),  // in 31 days
    medicine("Doliprane", "06/12/2026"), // today
    medicine("Éther", "01/01/2001"),     // long ago
    medicine("Vitamine", ""),            // no date
};

QStringList rows(ExpiryForecastWindow *form)
{
    QStringList list;
    const QAbstractItemModel *model = form->table()->model();
    for (int r = 0; r < model->rowCount(); ++r)
        list << model->index(r, 0).data().toString() + " | " + model->index(r, 1).data().toString();
    return list;
}

} // namespace

class TestForecast : public QObject
{
    Q_OBJECT

private slots:
    void horizons();
};

void TestForecast::horizons()
{
    StockFixture fx(kStock);
    fx.seams.installTemplate();
    fx.seams.messages.queue(MsgAnswer::Yes);
    QStringList seen;
    whenModalOpens([&](QWidget *window) {
        auto *form = qobject_cast<ExpiryForecastWindow *>(window);
        form->horizonBox()->setFocus();
        QAbstractItemModelTester tester(form->table()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(form->table()->model()->columnCount(), 0); // no headers before a choice
        press(form->horizonBox(), {"6", "IME:1"});          // typing picks no horizon
        QCOMPARE(form->horizonBox()->currentText(), "");
        QTest::keyClick(form->horizonBox(), Qt::Key_Down); // "1 mois"
        seen << rows(form) << "--";
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(form->horizonBox(), Qt::Key_Down); // "6 mois": replaces the rows
        seen << rows(form);
        QTest::mouseClick(form->findChild<QToolButton *>("print"), Qt::LeftButton);
        form->close();
    });
    fx.click("forecast");
    QCOMPARE(seen, (QStringList{"Zinc | 05/01/2027", "Doliprane | 06/12/2026 Déjà périmé.",
                                "Éther | 01/01/2001 Déjà périmé.", "--", "Zinc | 05/01/2027",
                                "Aspirine | 06/01/2027", "Doliprane | 06/12/2026 Déjà périmé.",
                                "Éther | 01/01/2001 Déjà périmé."}));
    QCOMPARE(fx.stockBytes(), fileOf(kStock));
    // The report prints the horizon chosen.
    QCOMPARE(fx.seams.reports.pages.size(), 1);
    QCOMPARE(fx.seams.reports.pages.first().page.cell(1, 0), "Médicaments périmés dans: 6 mois");
}

VELLORIN_TEST(TestForecast)
#include "tst_forecast.moc"
