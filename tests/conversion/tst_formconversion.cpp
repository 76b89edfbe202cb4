#include "core/store/StockFile.h"
#include "gui/conversion/FormConversion.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QByteArray kOld = "ABCDEFGH\r\nIJ\r\n";
const QString kSav = QStringLiteral("Pharmacie06122026.sav");

} // namespace

class TestFormConversion : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAndKeys();
    void workedExample();
    void olderLayoutToTheCurrentOne();
    void cancelDuringTheFieldMap_data();
    void cancelDuringTheFieldMap();
    void refusals_data();
    void refusals();
    void missingStockIsRefused();
    void secondConversionTheSameDay();

private:
    // Types the two counts and the answers, then presses "Convertir".
    void convert(const QString &nbold, const QString &nbnew, const QStringList &answers);
    QStringList files() const;

    std::unique_ptr<TestSeams> m_seams;
    std::unique_ptr<ScriptedInputBox> m_box;
    std::unique_ptr<FormConversion> m_form;
};

void TestFormConversion::init()
{
    m_seams = std::make_unique<TestSeams>();
    m_box = std::make_unique<ScriptedInputBox>();
    m_seams->directory.write(kStockFileName, kOld);
    m_form = std::make_unique<FormConversion>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestFormConversion::cleanup()
{
    m_form.reset();
    m_box.reset();
    m_seams.reset();
}

void TestFormConversion::convert(const QString &nbold, const QString &nbnew, const QStringList &answers)
{
    for (const QString &a : answers) {
        if (a.startsWith(QLatin1String("CANCEL:")))
            m_box->queue(a.mid(7), true);
        else
            m_box->queue(a);
    }
    auto *old = m_form->findChild<QLineEdit *>(QStringLiteral("nbold"));
    auto *neu = m_form->findChild<QLineEdit *>(QStringLiteral("nbnew"));
    old->selectAll();
    QTest::keyClicks(old, nbold);
    neu->selectAll();
    QTest::keyClicks(neu, nbnew);
    QTest::mouseClick(m_form->findChild<QToolButton *>(QStringLiteral("valider")), Qt::LeftButton);
}

QStringList TestFormConversion::files() const
{
    return QDir(m_seams->directory.path())
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

void TestFormConversion::windowAndKeys()
{
    QCOMPARE(m_form->findChild<QLabel *>(QStringLiteral("infos"))->text(),
             QStringLiteral("Chemin de la base de données actuelle: \n") + m_seams->directory.path());

    auto *old = m_form->findChild<QLineEdit *>(QStringLiteral("nbold"));
    QTRY_VERIFY(old->hasFocus());
    QTest::keyClicks(old, "1a2-.");
    QCOMPARE(old->text(), QStringLiteral("12"));
    QTest::keyClick(old, Qt::Key_Backspace);
    QCOMPARE(old->text(), QStringLiteral("1"));
    QTest::keyClick(old, Qt::Key_Return);
    auto *neu = m_form->findChild<QLineEdit *>(QStringLiteral("nbnew"));
    QTRY_VERIFY(neu->hasFocus());
    QTest::keyClick(neu, Qt::Key_Return);
    QTRY_VERIFY(m_form->findChild<QToolButton *>(QStringLiteral("valider"))->hasFocus());
    QVERIFY(m_box->asked.isEmpty()); // Enter moved on; it pressed nothing
    // Entering a box selects its text.
    old->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(old->selectedText(), QStringLiteral("1"));
}

void TestFormConversion::workedExample()
{
    convert(QStringLiteral("2"), QStringLiteral("3"), {"1:3", "4:5", "5", "5", "4", "X"});
    QCOMPARE(m_seams->directory.read(kStockFileName), QByteArray("ABC  DEFGHX   \r\nIJ        X   \r\n"));
    QCOMPARE(m_seams->directory.read(kSav), kOld);
    QCOMPARE(files(), (QStringList{kStockFileName, kSav}));
    const QList<std::pair<QString, QString>> expected = {
        {"Syntaxe: [Depart:Longueur]", "Champ N°1"},
        {"Syntaxe: [Depart:Longueur]", "Champ N°2"},
        {"Syntaxe: [Longueur]", "Nouveau Champ N°1"},
        {"Syntaxe: [Longueur]", "Nouveau Champ N°2"},
        {"Longueur: [Longueur]", "Ajout d'un champ vide - N°3"},
        {"Valeur par défaut: [Valeur]", "Ajout d'un champ vide - N°1"},
    };
    QCOMPARE(m_box->asked.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(m_box->asked.at(i).prompt, expected.at(i).first);
        QCOMPARE(m_box->asked.at(i).title, expected.at(i).second);
        QCOMPARE(m_box->asked.at(i).defaultText, QString());
    }
    QCOMPARE(m_seams->messages.shown().size(), 1);
    QCOMPARE(m_seams->messages.last().text, QStringLiteral("Conversion réalisée avec succès !"));
    QCOMPARE(boxOf(m_seams->messages.last()), QStringLiteral("Information | information | OK"));
    QVERIFY(m_form->isVisible()); // the window stays open
}

void TestFormConversion::olderLayoutToTheCurrentOne()
{
    // An older layout: name 30, route 20, presentation 20, quantity 3, date 10, threshold
    // 3; the current one widens the name and the date and adds the flag, "0" for all.
    const QString old = QStringLiteral("Paracétamol") + QString(19, u' ') + QStringLiteral("Orale") +
                        QString(15, u' ') + QStringLiteral("Comprimé") + QString(12, u' ') +
                        QStringLiteral("12 07/02/20015  ");
    m_seams->directory.write(kStockFileName, cp1252(old + QStringLiteral("\r\n")));
    convert(QStringLiteral("6"), QStringLiteral("7"),
            {"1:30", "31:20", "51:20", "71:3", "74:10", "84:3", "40", "20", "20", "3", "15", "3", "10", "0"});
    QCOMPARE(m_seams->messages.last().text, QStringLiteral("Conversion réalisée avec succès !"));
    QString error;
    const QStringList lines = lit_pharmacie(&error);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first(),
             compose_enreg(u"Paracétamol", u"Orale", u"Comprimé", u"12", u"07/02/2001", u"5", u"0"));
}

void TestFormConversion::cancelDuringTheFieldMap_data()
{
    QTest::addColumn<int>("question"); // which of the four questions of the field map
    QTest::addColumn<MsgAnswer>("confirm");
    for (int q = 0; q < 4; ++q) {
        QTest::addRow("question %d, Yes", q + 1) << q << MsgAnswer::Yes;
        QTest::addRow("question %d, No", q + 1) << q << MsgAnswer::No;
    }
}

void TestFormConversion::cancelDuringTheFieldMap()
{
    QFETCH(int, question);
    QFETCH(MsgAnswer, confirm);
    QStringList answers = {"1:3", "4:5", "5", "5"};
    // "&Annuler" leaves the typed text in the box: No goes on with it.
    answers[question] = QStringLiteral("CANCEL:") + answers[question];
    m_seams->messages.queue(confirm);
    convert(QStringLiteral("2"), QStringLiteral("2"), answers);

    const MessageRequest &asked = m_seams->messages.shown().first();
    QCOMPARE(asked.text, QStringLiteral("La conversion dans sa totalité va être annulée ! Confirmer ?"));
    QCOMPARE(boxOf(asked), QStringLiteral("Attention !!! | exclamation | Oui/Non"));
    if (confirm == MsgAnswer::Yes) {
        QCOMPARE(m_box->asked.size(), question + 1); // nothing more is asked
        QCOMPARE(m_seams->messages.shown().size(), 1);
        QCOMPARE(m_seams->directory.read(kStockFileName), kOld);
        QCOMPARE(files(), QStringList{kStockFileName});
    } else {
        QCOMPARE(m_box->asked.size(), 4);
        QCOMPARE(m_seams->messages.last().text, QStringLiteral("Conversion réalisée avec succès !"));
        QCOMPARE(m_seams->directory.read(kStockFileName), QByteArray("ABC  DEFGH\r\nIJ        \r\n"));
    }
}

void TestFormConversion::refusals_data()
{
    QTest::addColumn<QString>("nbold");
    QTest::addColumn<QString>("nbnew");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("says"); // the start of the message
    QTest::addColumn<int>("asked");    // questions asked before the refusal
    QTest::newRow("no old count") << ""
                                  << "3" << QStringList{} << "Ancienne Base de données : le nombre de champs"
                                  << 0;
    QTest::newRow("zero old fields") << "0"
                                     << "3" << QStringList{}
                                     << "Ancienne Base de données : le nombre de champs" << 0;
    QTest::newRow("huge old count") << "40000"
                                    << "3" << QStringList{}
                                    << "Ancienne Base de données : le nombre de champs" << 0;
    QTest::newRow("huge new count") << "2"
                                    << "99999" << QStringList{}
                                    << "Nouvelle Base de données : le nombre de champs" << 0;
    QTest::newRow("answer without colon") << "2"
                                          << "2" << QStringList{"1-3"} << "La conversion est annulée !" << 1;
    QTest::newRow("empty answer") << "2"
                                  << "2" << QStringList{""} << "La conversion est annulée !" << 1;
    QTest::newRow("start below 1") << "2"
                                   << "2" << QStringList{"1:3", "0:5"} << "Champ N°2 : le départ (0)" << 2;
    QTest::newRow("negative length") << "2"
                                     << "2" << QStringList{"1:-3"} << "Champ N°1 : la longueur (-3)" << 1;
    QTest::newRow("beyond 16 bits") << "2"
                                    << "2" << QStringList{"1:3", "4:40000"}
                                    << "Champ N°2 : « 4:40000 » dépasse" << 2;
    QTest::newRow("negative width") << "2"
                                    << "2" << QStringList{"1:3", "4:5", "5", "-1"}
                                    << "Nouveau Champ N°2 : la longueur (-1)" << 4;
    QTest::newRow("width beyond 16 bits") << "2"
                                          << "2" << QStringList{"1:3", "4:5", "1e6", "5"}
                                          << "Nouveau Champ N°1 : la longueur 1000000 dépasse" << 3;
    QTest::newRow("text longer than its new width")
        << "2"
        << "2" << QStringList{"1:3", "4:5", "5", "3"}
        << "Champ N°2 : le texte « DEFGH » de l'enregistrement 1" << 4;
    QTest::newRow("negative added length") << "2"
                                           << "3" << QStringList{"1:3", "4:5", "5", "5", "-4"}
                                           << "Ajout d'un champ vide - N°3 : la longueur -4" << 5;
    QTest::newRow("default longer than its field")
        << "2"
        << "3" << QStringList{"1:3", "4:5", "5", "5", "2", "XYZ"}
        << "Ajout d'un champ vide - N°3 : la valeur par défaut « XYZ »" << 6;
    QTest::newRow("default holding a tabulation")
        << "2"
        << "3" << QStringList{"1:3", "4:5", "5", "5", "3", "A\tB"}
        << "Ajout d'un champ vide - N°3 : la valeur par défaut « A·B » contient le caractère « tabulation »"
        << 6;
}

void TestFormConversion::refusals()
{
    QFETCH(QString, nbold);
    QFETCH(QString, nbnew);
    QFETCH(QStringList, answers);
    QFETCH(QString, says);
    QFETCH(int, asked);
    // A copy kept from an earlier day stays as it is.
    m_seams->directory.write(QStringLiteral("Pharmacie05122026.sav"), "earlier\r\n");
    convert(nbold, nbnew, answers);
    QCOMPARE(m_box->asked.size(), asked);
    QCOMPARE(m_seams->messages.shown().size(), 1);
    const MessageRequest &m = m_seams->messages.last();
    QCOMPARE(boxOf(m), QStringLiteral("Erreur | exclamation | OK"));
    QVERIFY2(m.text.startsWith(says), qPrintable(m.text));
    QCOMPARE(m_seams->directory.read(kStockFileName), kOld);
    QCOMPARE(m_seams->directory.read(QStringLiteral("Pharmacie05122026.sav")), QByteArray("earlier\r\n"));
    QVERIFY(!m_seams->directory.exists(QStringLiteral("Pharmacie.new")));
    QVERIFY(!m_seams->directory.exists(QStringLiteral("Pharmacie.def")));
    if (asked <= 4) // refused before any file was written
        QCOMPARE(files(), (QStringList{kStockFileName, QStringLiteral("Pharmacie05122026.sav")}));
}

void TestFormConversion::missingStockIsRefused()
{
    QFile::remove(m_seams->directory.file(kStockFileName));
    convert(QStringLiteral("2"), QStringLiteral("3"), {"1:3", "4:5", "5", "5", "4", "X"});
    QCOMPARE(m_seams->messages.shown().size(), 1);
    QVERIFY2(m_seams->messages.last().text.contains(QStringLiteral("Pharmacie.dat est introuvable")),
             qPrintable(m_seams->messages.last().text));
    QVERIFY(files().isEmpty());
}

void TestFormConversion::secondConversionTheSameDay()
{
    convert(QStringLiteral("2"), QStringLiteral("2"), {"1:3", "4:5", "5", "5"});
    const QByteArray once = m_seams->directory.read(kStockFileName);
    m_seams->messages.clear();
    convert(QStringLiteral("1"), QStringLiteral("1"), {"1:10", "12"});
    QCOMPARE(m_seams->messages.last().text, QStringLiteral("Conversion réalisée avec succès !"));
    QCOMPARE(m_seams->directory.read(kSav), kOld); // the first copy kept
    QCOMPARE(m_seams->directory.read(QStringLiteral("Pharmacie06122026_2.sav")), once);
    QCOMPARE(m_seams->directory.read(kStockFileName), QByteArray("ABC  DEFGH  \r\nIJ          \r\n"));
}

VELLORIN_TEST(TestFormConversion)
#include "tst_formconversion.moc"
