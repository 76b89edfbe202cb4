#include "core/store/StockFile.h"
#include "gui/forecast/FormAvance.h"
#include "gui/platform/ReportListView.h"
#include "support/StockFixture.h"
#include "support/TestMain.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

namespace {

QString medicine(const QString &name, const QString &dat)
{
    return compose_enreg(name, u"Orale", u"Comprimé", u"1", dat, u"1", u"0");
}

// Today is 06/12/2026. In file order, unsorted on purpose.
const QStringList kStock = {
    medicine(QStringLiteral("Zinc"), QStringLiteral("05/01/2027")),      // in 30 days
    medicine(QStringLiteral("Aspirine"), QStringLiteral("06/01/2027")),  // in 31 days
    medicine(QStringLiteral("Morphine"), QStringLiteral("09/06/2027")),  // in 185 days
    medicine(QStringLiteral("Bétadine"), QStringLiteral("10/06/2027")),  // in 186 days
    medicine(QStringLiteral("Doliprane"), QStringLiteral("06/12/2026")), // today
    medicine(QStringLiteral("Éther"), QStringLiteral("01/01/2001")),     // long ago
    medicine(QStringLiteral("Vitamine"), QString()),                     // no date
    medicine(QStringLiteral("Codéine"), QStringLiteral("29/02/2100")),   // not a calendar date
};

QStringList rows(FormAvance *form)
{
    QStringList list;
    const QAbstractItemModel *model = form->ListView1()->model();
    for (int r = 0; r < model->rowCount(); ++r)
        list << model->index(r, 0).data().toString() + QStringLiteral(" | ") +
                    model->index(r, 1).data().toString();
    return list;
}

} // namespace

class TestFormAvance : public QObject
{
    Q_OBJECT

private slots:
    void horizons();
    void printsTheChosenHorizon_data();
    void printsTheChosenHorizon();
    void emptyStockShowsTheHeaders();
};

void TestFormAvance::horizons()
{
    StockFixture fx(kStock);
    QStringList seen;
    bool done = false;
    whenModalOpens([&](QWidget *window) {
        auto *form = qobject_cast<FormAvance *>(window);
        QVERIFY(form);
        QAbstractItemModelTester tester(form->ListView1()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QComboBox *filtre = form->filtre();
        QCOMPARE(filtre->currentText(), QString());
        QCOMPARE(filtre->count(), 4);
        QCOMPARE(form->ListView1()->model()->columnCount(), 0); // no headers before a choice

        // Typing changes nothing; the list is the only way.
        filtre->setFocus();
        QTest::keyClicks(filtre, "xyz");
        QCOMPARE(filtre->currentText(), QString());
        QTest::keyClick(filtre, Qt::Key_Down); // "1 mois"
        QCOMPARE(filtre->currentText(), QStringLiteral("1 mois"));
        seen << rows(form);
        QCOMPARE(form->ListView1()->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Date limite"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(filtre, Qt::Key_Down); // "6 mois": replaces the rows
        seen << QStringLiteral("--") << rows(form);
        QTest::mouseClick(form->findChild<QToolButton *>(QStringLiteral("fermer")), Qt::LeftButton);
        done = true;
    });
    fx.click(QStringLiteral("avance"));
    QVERIFY(done);
    QCOMPARE(seen, (QStringList{"Zinc | 05/01/2027", "Doliprane | 06/12/2026 Déjà périmé.",
                                "Éther | 01/01/2001 Déjà périmé.", "--", "Zinc | 05/01/2027",
                                "Aspirine | 06/01/2027", "Morphine | 09/06/2027",
                                "Doliprane | 06/12/2026 Déjà périmé.", "Éther | 01/01/2001 Déjà périmé."}));
    QCOMPARE(fx.stockBytes(), StockFixture::bytesOf(kStock));
}

void TestFormAvance::printsTheChosenHorizon_data()
{
    QTest::addColumn<int>("downs"); // 0: no horizon picked
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<QString>("title");
    QTest::newRow("3 mois, preview") << 3 << MsgAnswer::Yes << "Médicaments périmés dans: 3 mois";
    QTest::newRow("no horizon, print") << 0 << MsgAnswer::No << "Médicaments périmés dans: ";
}

void TestFormAvance::printsTheChosenHorizon()
{
    QFETCH(int, downs);
    QFETCH(MsgAnswer, answer);
    QFETCH(QString, title);
    StockFixture fx(kStock);
    fx.seams.installTemplate();
    fx.seams.messages.queue(answer);
    whenModalOpens([&](QWidget *window) {
        auto *form = qobject_cast<FormAvance *>(window);
        form->filtre()->setFocus();
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(form->filtre(), Qt::Key_Down);
        QTest::mouseClick(form->findChild<QToolButton *>(QStringLiteral("Impression")), Qt::LeftButton);
        form->close();
    });
    fx.click(QStringLiteral("avance"));
    QCOMPARE(fx.seams.messages.shown().first().text, QStringLiteral("Aperçu avant impression ?"));
    QCOMPARE(fx.seams.reports.pages.size(), 1);
    QCOMPARE(fx.seams.reports.pages.first().preview, answer == MsgAnswer::Yes);
    QCOMPARE(fx.seams.reports.pages.first().page.cell(1, 0), title);
}

void TestFormAvance::emptyStockShowsTheHeaders()
{
    StockFixture fx({});
    int columns = -1;
    int rowCount = -1;
    whenModalOpens([&](QWidget *window) {
        auto *form = qobject_cast<FormAvance *>(window);
        form->filtre()->setFocus();
        QTest::keyClick(form->filtre(), Qt::Key_Down);
        columns = form->ListView1()->model()->columnCount();
        rowCount = form->ListView1()->model()->rowCount();
        form->close();
    });
    fx.click(QStringLiteral("avance"));
    QCOMPARE(columns, 2);
    QCOMPARE(rowCount, 0);
}

VELLORIN_TEST(TestFormAvance)
#include "tst_formavance.moc"
