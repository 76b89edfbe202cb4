#include "support/TestSeams.h"

#include "listwindow/FormPharma.h"
#include "listwindow/StockTableModel.h"
#include "platform/ReportListView.h"
#include "store/StockFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

// Today is 06/12/2026. Written unsorted, the way additions leave the file.
QString stockLine(const char16_t *nom, const char16_t *forme, const char16_t *type, const char16_t *qte,
                  const char16_t *dat, const char16_t *critique, const char16_t *indispensable)
{
    return compose_enreg(nom, forme, type, qte, dat, critique, indispensable);
}

QByteArray sampleStock()
{
    const QStringList lines = {
        stockLine(u"Zinc", u"Orale", u"Gélule", u"10", u"05/12/2026", u"2", u"0"),        // expired yesterday
        stockLine(u"aspirine", u"Rectale", u"Suppositoire", u"5", u"06/12/2026", u"5", u"1"), // today, at threshold
        stockLine(u"Éther", u"Cutanée", u"Flacon", u"6", u"07/12/2026", u"5", u"0"),      // tomorrow, enough
        stockLine(u"Bétadine", u"Cutanée", u"Flacon", u"1", u"01/01/2028", u"3", u"1"),   // below threshold
        stockLine(u"Doliprane", u"Orale", u"Comprimé", u"", u"", u"", u"0"),              // all blank
        stockLine(u"Morphine", u"Injectable", u"Ampoule", u"4", u"00/05/2020", u"1", u"1"), // not a date
        stockLine(u"Adrénaline", u"Injectable", u"Ampoule", u"2", u"29/02/2100", u"1", u"1"), // not a date
    };
    return cp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

class TestFormPharma : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheCompleteList();
    void controlsCarryTheirCaptions_data();
    void controlsCarryTheirCaptions();
    void filtersAndCheckBox_data();
    void filtersAndCheckBox();
    void sortButtonsKeepTheTableOrdered();
    void rowClickChoosesTheMedicine();
    void rebuildForgetsTheChoice();
    void hiddenIndexColumnHidesAgainOnHeaderClick();
    void emptyOrMissingStock_data();
    void emptyOrMissingStock();
    void unreadableStockIsReported();
    void linesOfAnotherLayoutAreShown();

private:
    FormPharma *open();
    QStringList namesShown() const;
    QStringList indexesShown() const;
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
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(m_form.get());
    return m_form.get();
}

QStringList TestFormPharma::namesShown() const
{
    QStringList names;
    const QAbstractItemModel *model = m_form->ListView1()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, StockTableModel::Nom).data().toString();
    return names;
}

QStringList TestFormPharma::indexesShown() const
{
    QStringList indexes;
    const QAbstractItemModel *model = m_form->ListView1()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        indexes << model->index(row, StockTableModel::Index).data().toString();
    return indexes;
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
    m_seams->directory.write(kStockFileName, sampleStock());
    FormPharma *form = open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Médicaments: Liste Complète / Total: 7"));

    QComboBox *filtre1 = form->filtre1();
    QCOMPARE(filtre1->count(), 4);
    const QStringList filters = {filtre1->itemText(0), filtre1->itemText(1), filtre1->itemText(2),
                                 filtre1->itemText(3)};
    QCOMPARE(filters, (QStringList{"Complète", "Périmés", "Seuil critique", "Périmés et/ou Seuil critique"}));
    QVERIFY(!filtre1->isEditable());
    QVERIFY(!form->Check1()->isChecked());

    QStringList titles;
    const QAbstractItemModel *model = form->ListView1()->model();
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"Médicaments", "Voie d'administration", "Présentation", "Quantité",
                                  "Date limite", "Seuil critique", "Index"}));
    QVERIFY(form->ListView1()->isColumnHidden(StockTableModel::Index));

    // Sorted by the whole line, case and accents aside; cells as stored, blanks removed.
    QCOMPARE(namesShown(), (QStringList{"Adrénaline", "aspirine", "Bétadine", "Doliprane", "Éther",
                                        "Morphine", "Zinc"}));
    QCOMPARE(indexesShown(), (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
    QStringList row1;
    for (int c = 0; c < StockTableModel::Index; ++c)
        row1 << model->index(1, c).data().toString();
    QCOMPARE(row1, (QStringList{"aspirine", "Rectale", "Suppositoire", "5", "06/12/2026", "5"}));
    QVERIFY(!form->List1().hasCurrent());
    QVERIFY(m_seams->messages.shown().isEmpty());
    QVERIFY(form->width() >= 872 && form->height() >= 531);
}

void TestFormPharma::controlsCarryTheirCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Frame1") << "Frame1" << "Médicament";
    QTest::newRow("ajout") << "ajout" << "Ajouter";
    QTest::newRow("Modifier") << "Modifier" << "Modifier";
    QTest::newRow("Supprimer") << "Supprimer" << "Supprimer";
    QTest::newRow("Frame2") << "Frame2" << "Mise à jour";
    QTest::newRow("majqte") << "majqte" << "Quantité";
    QTest::newRow("renouveler") << "renouveler" << "Renouveler";
    QTest::newRow("Frame4") << "Frame4" << "Prévisions";
    QTest::newRow("avance") << "avance" << "Date limite";
    QTest::newRow("commande") << "commande" << "Commande";
    QTest::newRow("Fermer") << "Fermer" << "Fermer";
    QTest::newRow("Frame3") << "Frame3" << "Sélection";
    QTest::newRow("Check1") << "Check1" << "Indispensable";
    QTest::newRow("Impression") << "Impression" << "Impression";
    QTest::newRow("Frame5") << "Frame5" << "Tri par";
    QTest::newRow("Frame6") << "Frame6" << "Aide";
    QTest::newRow("aide") << "aide" << "";
}

void TestFormPharma::controlsCarryTheirCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FormPharma *form = open();
    QWidget *control = form->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->isVisible());
    if (auto *frame = qobject_cast<QGroupBox *>(control))
        QCOMPARE(frame->title(), caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), caption);
    else
        QFAIL("not a frame or a button");

    if (name == QLatin1String("Frame5")) {
        QStringList tri;
        for (auto *button : control->findChildren<QToolButton *>(QStringLiteral("tri")))
            tri << button->text();
        QCOMPARE(tri, (QStringList{"Médicament", "Voie d'admin.", "Présentation"}));
    }
}

void TestFormPharma::filtersAndCheckBox_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("indispensable");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("indexes");
    // Expired = on or before today; a blank or impossible date never is. At or below the
    // threshold = insufficient; a blank field counts 0.
    QTest::newRow("Périmés") << 1 << false << "Médicaments: Liste Périmés / Total: 2"
                             << QStringList{"aspirine", "Zinc"} << QStringList{"1", "6"};
    QTest::newRow("Seuil critique") << 2 << false << "Médicaments: Liste Seuil critique / Total: 3"
                                    << QStringList{"aspirine", "Bétadine", "Doliprane"}
                                    << QStringList{"1", "2", "3"};
    QTest::newRow("Périmés et/ou Seuil critique")
        << 3 << false << "Médicaments: Liste Périmés et/ou Seuil critique / Total: 4"
        << QStringList{"aspirine", "Bétadine", "Doliprane", "Zinc"} << QStringList{"1", "2", "3", "6"};
    // The box's click sets the caption without the count.
    QTest::newRow("Complète, indispensables") << 0 << true << "Médicaments 'indispensables': Liste Complète"
                                              << QStringList{"Adrénaline", "aspirine", "Bétadine", "Morphine"}
                                              << QStringList{"0", "1", "2", "5"};
    QTest::newRow("Périmés, indispensables") << 1 << true << "Médicaments 'indispensables': Liste Périmés"
                                             << QStringList{"aspirine"} << QStringList{"1"};
    QTest::newRow("Seuil critique, indispensables")
        << 2 << true << "Médicaments 'indispensables': Liste Seuil critique"
        << QStringList{"aspirine", "Bétadine"} << QStringList{"1", "2"};
}

void TestFormPharma::filtersAndCheckBox()
{
    QFETCH(int, filter);
    QFETCH(bool, indispensable);
    QFETCH(QString, caption);
    QFETCH(QStringList, names);
    QFETCH(QStringList, indexes);
    m_seams->directory.write(kStockFileName, sampleStock());
    FormPharma *form = open();
    pickFilter(filter);
    if (indispensable)
        QTest::mouseClick(form->Check1(), Qt::LeftButton);
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(namesShown(), names);
    QCOMPARE(indexesShown(), indexes);

    if (indispensable) {
        // A later pick with the box checked counts again.
        pickFilter(filter == 0 ? 1 : 0);
        QVERIFY(form->windowTitle().startsWith(QStringLiteral("Médicaments 'indispensables': Liste ")));
        QVERIFY(form->windowTitle().contains(QStringLiteral(" / Total: ")));
        // Unchecking goes back to every medicine, still without a count.
        QTest::mouseClick(form->Check1(), Qt::LeftButton);
        QVERIFY(form->windowTitle().startsWith(QStringLiteral("Médicaments: Liste ")));
        QVERIFY(!form->windowTitle().contains(QStringLiteral("Total")));
    }
    // Reading the file never writes it.
    QCOMPARE(m_seams->directory.read(kStockFileName), sampleStock());
}

void TestFormPharma::sortButtonsKeepTheTableOrdered()
{
    m_seams->directory.write(kStockFileName, sampleStock());
    FormPharma *form = open();
    const auto tri = form->findChildren<QToolButton *>(QStringLiteral("tri"));
    QCOMPARE(tri.size(), 3);

    QTest::mouseClick(tri[1], Qt::LeftButton);
    QCOMPARE(namesShown(), (QStringList{"Bétadine", "Éther", "Adrénaline", "Morphine", "Doliprane", "Zinc",
                                        "aspirine"}));
    // The index still names the line in the sorted stock, not the row.
    QCOMPARE(indexesShown(), (QStringList{"2", "4", "0", "5", "3", "6", "1"}));

    // A new filter keeps the order.
    pickFilter(3);
    QCOMPARE(namesShown(), (QStringList{"Bétadine", "Doliprane", "Zinc", "aspirine"}));

    QTest::mouseClick(tri[2], Qt::LeftButton);
    QCOMPARE(namesShown(), (QStringList{"Doliprane", "Bétadine", "Zinc", "aspirine"}));

    QTest::mouseClick(tri[0], Qt::LeftButton);
    QCOMPARE(namesShown(), (QStringList{"aspirine", "Bétadine", "Doliprane", "Zinc"}));
}

void TestFormPharma::rowClickChoosesTheMedicine()
{
    m_seams->directory.write(kStockFileName, sampleStock());
    FormPharma *form = open();
    pickFilter(2); // aspirine 1, Bétadine 2, Doliprane 3
    QTableView *view = form->ListView1();
    QVERIFY(!form->List1().hasCurrent());

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(2, 0)).center());
    QCOMPARE(form->List1().currentPosition(), 3);
    QCOMPARE(decompose_enreg(form->List1().currentLine()).nom, QStringLiteral("Doliprane"));

    // Moving with the keyboard chooses as well.
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(form->List1().currentPosition(), 2);
}

void TestFormPharma::rebuildForgetsTheChoice()
{
    m_seams->directory.write(kStockFileName, sampleStock());
    FormPharma *form = open();
    QTableView *view = form->ListView1();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(4, 0)).center());
    QCOMPARE(form->List1().currentPosition(), 4);

    // Another program added a line meanwhile: the window shows it when it becomes active.
    m_seams->directory.write(kStockFileName,
                             sampleStock() + cp1252(stockLine(u"Amoxicilline", u"Orale", u"Gélule", u"3",
                                                              u"01/01/2027", u"1", u"0") +
                                                    QStringLiteral("\r\n")));
    const QString caption = form->windowTitle();
    form->Form_Activate();
    QVERIFY(!form->List1().hasCurrent());
    QCOMPARE(namesShown().first(), QStringLiteral("Adrénaline"));
    QCOMPARE(namesShown().at(1), QStringLiteral("Amoxicilline"));
    QCOMPARE(form->windowTitle(), caption); // an activation leaves the count as it was
}

void TestFormPharma::hiddenIndexColumnHidesAgainOnHeaderClick()
{
    m_seams->directory.write(kStockFileName, sampleStock());
    FormPharma *form = open();
    QTableView *view = form->ListView1();
    QHeaderView *header = view->horizontalHeader();
    view->setColumnHidden(StockTableModel::Index, false);
    header->resizeSection(StockTableModel::Index, 60);
    view->scrollTo(view->model()->index(0, StockTableModel::Index));

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(StockTableModel::Index) + 30, header->height() / 2));
    QVERIFY(view->isColumnHidden(StockTableModel::Index));

    // Other headers do not sort the table.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(StockTableModel::Qte) + 10, header->height() / 2));
    QCOMPARE(namesShown().first(), QStringLiteral("Adrénaline"));
}

void TestFormPharma::emptyOrMissingStock_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("empty file") << true;
    QTest::newRow("missing file") << false;
}

void TestFormPharma::emptyOrMissingStock()
{
    QFETCH(bool, exists);
    if (exists)
        m_seams->directory.write(kStockFileName, QByteArray());
    FormPharma *form = open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Médicaments: Liste Complète / Total: 0"));
    QCOMPARE(form->ListView1()->model()->rowCount(), 0);
    QCOMPARE(form->ListView1()->model()->columnCount(), 7);
    pickFilter(1);
    QCOMPARE(form->windowTitle(), QStringLiteral("Médicaments: Liste Périmés / Total: 0"));
    QVERIFY(m_seams->messages.shown().isEmpty());
    QCOMPARE(m_seams->directory.exists(kStockFileName), exists); // reading creates nothing
}

void TestFormPharma::unreadableStockIsReported()
{
    QVERIFY(QDir(m_seams->directory.path()).mkdir(kStockFileName));
    FormPharma *form = open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Médicaments: Liste Complète / Total: 0"));
    QCOMPARE(m_seams->messages.shown().size(), 1);
    const MessageRequest &message = m_seams->messages.last();
    QCOMPARE(boxOf(message), QStringLiteral("Erreur | exclamation | OK"));
    QCOMPARE(message.text, QStringLiteral("Le fichier Pharmacie.dat ne peut pas être lu :\r\n"
                                          "c'est un dossier, pas un fichier."));
}

void TestFormPharma::linesOfAnotherLayoutAreShown()
{
    // An older, shorter layout and a 45-character name: shown as they cut, no crash.
    const QByteArray bytes = "Vieux format 12 01/01/2000\r\n" +
                             cp1252(QString(45, u'N') + QString(66, u' ')) + "\r\n" + "\r\n";
    m_seams->directory.write(kStockFileName, bytes);
    FormPharma *form = open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Médicaments: Liste Complète / Total: 3"));
    QCOMPARE(namesShown(), (QStringList{"", QString(40, u'N'), "Vieux format 12 01/01/2000"}));
    pickFilter(3);
    QCOMPARE(m_seams->directory.read(kStockFileName), bytes);
}

QTEST_MAIN(TestFormPharma)
#include "tst_formpharma.moc"
