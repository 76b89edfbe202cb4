#include "core/store/StockFile.h"
#include "gui/listwindow/FormPharma.h"
#include "gui/listwindow/StockTableModel.h"
#include "gui/platform/ReportListView.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

// Today is 06/12/2026. Written unsorted, the way additions leave the file.
// clang-format off
const QByteArray kStock = fileOf({
    compose_enreg(u"Zinc", u"Orale", u"Gélule", u"10", u"05/12/2026", u"2", u"0"),                // expired yesterday
    compose_enreg(u"aspirine", u"Rectale", u"Suppositoire", u"5", u"06/12/2026", u"5", u"1"),     // today, at threshold
    compose_enreg(u"Éther", u"Cutanée", u"Flacon", u"6", u"07/12/2026", u"5", u"0"),              // tomorrow, enough
    compose_enreg(u"Bétadine", u"Cutanée", u"Flacon", u"1", u"01/01/2028", u"3", u"1"),           // below threshold
    compose_enreg(u"Doliprane", u"Orale", u"Comprimé", u"", u"", u"", u"0"),                      // all blank
    compose_enreg(u"Morphine", u"Injectable", u"Ampoule", u"4", u"00/05/2020", u"1", u"1"),       // not a date
    compose_enreg(u"Adrénaline", u"Injectable", u"Ampoule", u"2", u"29/02/2100", u"1", u"1"),     // not a date
});

// The names shown and their positions in the whole sorted stock.
const struct { const char *name; int filter; bool indispensable; QString caption; QStringList names, indexes; } kFilters[] = {
    {"Périmés", 1, false, "Médicaments: Liste Périmés / Total: 2", {"aspirine", "Zinc"}, {"1", "6"}},
    {"Périmés et/ou Seuil critique", 3, false, "Médicaments: Liste Périmés et/ou Seuil critique / Total: 4",
     {"aspirine", "Bétadine", "Doliprane", "Zinc"}, {"1", "2", "3", "6"}},
    // The box's click sets the caption without the count.
    {"Complète, indispensables", 0, true, "Médicaments 'indispensables': Liste Complète",
     {"Adrénaline", "aspirine", "Bétadine", "Morphine"}, {"0", "1", "2", "5"}},
    {"Seuil critique, indispensables", 2, true, "Médicaments 'indispensables': Liste Seuil critique", {"aspirine", "Bétadine"}, {"1", "2"}},
};

// "missing", "folder", or the file's content.
const struct { const char *name; QByteArray bytes; QStringList names; QString message; } kFiles[] = {
    {"empty", "", {}, ""},
    {"missing", "missing", {}, ""},
    {"a folder", "folder", {}, "Le fichier Pharmacie.dat ne peut pas être lu :\r\nc'est un dossier, pas un fichier."},
    // An older, shorter layout, a 45-character name, an empty line: shown as they cut.
    {"another layout", "Vieux format 12 01/01/2000\r\n" + cp1252(QString(45, u'N') + QString(66, u' ')) + "\r\n\r\n",
     {"", QString(40, u'N'), "Vieux format 12 01/01/2000"}, ""},
};
// clang-format on

} // namespace

class TestFormPharma : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheCompleteList();
    void filtersAndCheckBox_data() { addRows(kFilters); }
    void filtersAndCheckBox();
    void sortButtonsKeepTheTableOrdered();
    void rowChoiceLastsUntilTheNextRebuild();
    void hiddenIndexColumnHidesAgainOnHeaderClick();
    void unusualStockFiles_data() { addRows(kFiles); }
    void unusualStockFiles();

private:
    FormPharma *open();
    QStringList shown(int column) const;
    void pickFilter(int index);

    std::unique_ptr<TestSeams> m_seams;
    std::unique_ptr<FormPharma> m_form;
};

void TestFormPharma::init()
{
    m_seams = std::make_unique<TestSeams>();
}

void TestFormPharma::cleanup()
{
    m_form.reset();
    m_seams.reset();
}

FormPharma *TestFormPharma::open()
{
    m_form = std::make_unique<FormPharma>();
    m_form->show();
    if (!QTest::qWaitForWindowExposed(m_form.get()))
        QTest::qFail("the list window did not show", __FILE__, __LINE__);
    return m_form.get();
}

QStringList TestFormPharma::shown(int column) const
{
    QStringList texts;
    const QAbstractItemModel *model = m_form->ListView1()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

// As the user does from the keyboard: the first filter, then down the list.
void TestFormPharma::pickFilter(int index)
{
    QComboBox *filtre1 = m_form->filtre1();
    filtre1->setFocus();
    QTest::keyClick(filtre1, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(filtre1, Qt::Key_Down);
    QCOMPARE(filtre1->currentIndex(), index);
}

void TestFormPharma::opensOnTheCompleteList()
{
    m_seams->directory.write(kStockFileName, kStock);
    FormPharma *form = open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Médicaments: Liste Complète / Total: 7"));
    QAbstractItemModel *model = form->ListView1()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(form->ListView1()->isColumnHidden(StockTableModel::Index));

    // Sorted by the whole line, case and accents aside; cells as stored, blanks removed.
    QCOMPARE(shown(StockTableModel::Nom),
             (QStringList{"Adrénaline", "aspirine", "Bétadine", "Doliprane", "Éther", "Morphine", "Zinc"}));
    QCOMPARE(shown(StockTableModel::Index), (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
    QStringList row1;
    for (int c = 0; c < StockTableModel::Index; ++c)
        row1 << model->index(1, c).data().toString();
    QCOMPARE(row1, (QStringList{"aspirine", "Rectale", "Suppositoire", "5", "06/12/2026", "5"}));
    QVERIFY(!form->List1().hasCurrent());
    QVERIFY(m_seams->messages.shown().isEmpty());
}

void TestFormPharma::filtersAndCheckBox()
{
    const auto &[name, filter, indispensable, caption, names, indexes] = rowOf(kFilters);
    m_seams->directory.write(kStockFileName, kStock);
    FormPharma *form = open();
    pickFilter(filter);
    if (indispensable)
        QTest::mouseClick(form->Check1(), Qt::LeftButton);
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(shown(StockTableModel::Nom), names);
    QCOMPARE(shown(StockTableModel::Index), indexes); // positions in the whole sorted stock
    if (indispensable) {
        // A later pick with the box checked counts again.
        pickFilter(filter == 0 ? 1 : 0);
        QVERIFY(form->windowTitle().startsWith(QStringLiteral("Médicaments 'indispensables': Liste ")));
        QVERIFY(form->windowTitle().contains(QStringLiteral(" / Total: ")));
    }
    QCOMPARE(m_seams->directory.read(kStockFileName), kStock); // reading never writes
}

void TestFormPharma::sortButtonsKeepTheTableOrdered()
{
    m_seams->directory.write(kStockFileName, kStock);
    FormPharma *form = open();
    const auto tri = form->findChildren<QToolButton *>(QStringLiteral("tri"));
    QTest::mouseClick(tri[1], Qt::LeftButton);
    QCOMPARE(shown(StockTableModel::Nom),
             (QStringList{"Bétadine", "Éther", "Adrénaline", "Morphine", "Doliprane", "Zinc", "aspirine"}));
    // The index still names the line in the sorted stock, not the row.
    QCOMPARE(shown(StockTableModel::Index), (QStringList{"2", "4", "0", "5", "3", "6", "1"}));
    pickFilter(3); // a new filter keeps the order
    QCOMPARE(shown(StockTableModel::Nom), (QStringList{"Bétadine", "Doliprane", "Zinc", "aspirine"}));
    QTest::mouseClick(tri[2], Qt::LeftButton);
    QCOMPARE(shown(StockTableModel::Nom), (QStringList{"Doliprane", "Bétadine", "Zinc", "aspirine"}));
    QTest::mouseClick(tri[0], Qt::LeftButton);
    QCOMPARE(shown(StockTableModel::Nom), (QStringList{"aspirine", "Bétadine", "Doliprane", "Zinc"}));
}

void TestFormPharma::rowChoiceLastsUntilTheNextRebuild()
{
    m_seams->directory.write(kStockFileName, kStock);
    FormPharma *form = open();
    pickFilter(2); // aspirine 1, Bétadine 2, Doliprane 3
    ReportListView *view = form->ListView1();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(2, 0)).center());
    QCOMPARE(form->List1().currentPosition(), 3);
    QTest::keyClick(view, Qt::Key_Up); // moving with the keyboard chooses as well
    QCOMPARE(form->List1().currentPosition(), 2);

    const QString caption = form->windowTitle();
    form->Form_Activate();
    QVERIFY(!form->List1().hasCurrent());
    QCOMPARE(form->windowTitle(), caption); // an activation leaves the count as it was
}

void TestFormPharma::hiddenIndexColumnHidesAgainOnHeaderClick()
{
    m_seams->directory.write(kStockFileName, kStock);
    FormPharma *form = open();
    ReportListView *view = form->ListView1();
    QHeaderView *header = view->horizontalHeader();
    view->setColumnHidden(StockTableModel::Index, false);
    header->resizeSection(StockTableModel::Index, 60);
    view->scrollTo(view->model()->index(0, StockTableModel::Index));
    const auto clickHeader = [header](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    };
    clickHeader(StockTableModel::Index);
    QVERIFY(view->isColumnHidden(StockTableModel::Index));
    clickHeader(StockTableModel::Qte); // other headers do not sort the table
    QCOMPARE(shown(StockTableModel::Nom).first(), QStringLiteral("Adrénaline"));
}

void TestFormPharma::unusualStockFiles()
{
    const auto &[name, bytes, names, message] = rowOf(kFiles);
    if (bytes == "folder")
        QVERIFY(QDir(m_seams->directory.path()).mkdir(kStockFileName));
    else if (bytes != "missing")
        m_seams->directory.write(kStockFileName, bytes);
    FormPharma *form = open();
    QCOMPARE(form->windowTitle(),
             QStringLiteral("Médicaments: Liste Complète / Total: %1").arg(names.size()));
    QCOMPARE(form->ListView1()->model()->columnCount(), 7);
    QCOMPARE(shown(StockTableModel::Nom), names);
    pickFilter(3);
    QCOMPARE(m_seams->messages.shown().isEmpty(), message.isEmpty()); // told at every reading
    if (!message.isEmpty())
        QCOMPARE(m_seams->messages.last().text, message);
    if (bytes == "missing")
        QVERIFY(!m_seams->directory.exists(kStockFileName)); // reading creates nothing
    else if (bytes != "folder")
        QCOMPARE(m_seams->directory.read(kStockFileName), bytes);
}

VELLORIN_TEST(TestFormPharma)
#include "tst_formpharma.moc"
