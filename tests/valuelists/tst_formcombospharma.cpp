#include "gui/shell/Application.h"
#include "gui/valuelists/FormCombosPharma.h"
#include "gui/valuelists/MyInputBox.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QString kForme = QStringLiteral("Pharma_Forme.dat");
const QString kType = QStringLiteral("Pharma_Type.dat");

// What the input box showed, and how the user answered it.
struct BoxSeen
{
    QString prompt;
    QString title;
    QString shownText;
    bool shown = false;
};

} // namespace

class TestFormCombosPharma : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void edits_data();
    void edits();
    void emptyEntryIsRefused_data();
    void emptyEntryIsRefused();
    void commandsNeedASelection_data();
    void commandsNeedASelection();
    void deleteAsks_data();
    void deleteAsks();
    void longEntryStaysWhole();

private:
    FormCombosPharma *open(const QString &mode);
    QStringList entries() const;
    // Clicks `button` and answers the input box by typing `typed` then `finish`.
    BoxSeen clickAndAnswer(const QString &button, const QString &typed,
                           const QString &finish = QStringLiteral("Enter"));
    void select(const QString &entry);

    std::unique_ptr<TestSeams> m_seams;
    std::unique_ptr<FormCombosPharma> m_form;
};

void TestFormCombosPharma::initTestCase()
{
    prepareApplication(*qApp);
}

void TestFormCombosPharma::init()
{
    m_seams = std::make_unique<TestSeams>();
}

void TestFormCombosPharma::cleanup()
{
    m_form.reset();
    m_seams.reset();
}

FormCombosPharma *TestFormCombosPharma::open(const QString &mode)
{
    m_form = std::make_unique<FormCombosPharma>();
    m_form->setMode(mode == QLatin1String("Forme") ? ValueList::Routes : ValueList::Presentations);
    m_form->show();
    // A window that never shows fails the test that opened it.
    QTest::qVerify(QTest::qWaitForWindowExposed(m_form.get()), "qWaitForWindowExposed(m_form.get())", "",
                   __FILE__, __LINE__);
    return m_form.get();
}

QStringList TestFormCombosPharma::entries() const
{
    QStringList list;
    for (int row = 0; row < m_form->List1()->count(); ++row)
        list << m_form->List1()->item(row)->text();
    return list;
}

BoxSeen TestFormCombosPharma::clickAndAnswer(const QString &button, const QString &typed,
                                             const QString &finish)
{
    BoxSeen seen;
    whenModalOpens([&](QWidget *window) {
        auto *box = qobject_cast<MyInputBox *>(window);
        QVERIFY(box);
        QTRY_VERIFY(box->txtInput()->hasFocus());
        seen.shown = true;
        seen.prompt = box->findChild<QLabel *>(QStringLiteral("lblPrompt"))->text();
        seen.title = box->windowTitle();
        seen.shownText = box->txtInput()->text();
        if (typed == QLatin1String("\b"))
            QTest::keyClick(box->txtInput(), Qt::Key_Backspace);
        else
            typeText(box->txtInput(), typed);
        if (finish == QLatin1String("Enter"))
            QTest::keyClick(box->txtInput(), Qt::Key_Return);
        else if (finish == QLatin1String("Escape"))
            QTest::keyClick(box->txtInput(), Qt::Key_Escape);
        else
            for (auto *b : box->findChildren<QPushButton *>(QStringLiteral("cmdButton")))
                if (b->text() == finish)
                    QTest::mouseClick(b, Qt::LeftButton);
    });
    QTest::mouseClick(m_form->findChild<QToolButton *>(button), Qt::LeftButton);
    return seen;
}

void TestFormCombosPharma::select(const QString &entry)
{
    QListWidget *list = m_form->List1();
    const auto found = list->findItems(entry, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    QVERIFY(found.first()->isSelected());
}

void TestFormCombosPharma::edits_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("finish");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("shown");
    const QByteArray file = "Sirop\r\nGel\r\n";
    // An addition writes one line at the end; the rest of the file keeps its order.
    QTest::newRow("add, trimmed") << file << "Nouveau"
                                  << "  Crème  "
                                  << "Enter" << cp1252("Sirop\r\nGel\r\nCrème\r\n")
                                  << QStringList{"Crème", "Gel", "Sirop"};
    QTest::newRow("add blanks alone: an empty line")
        << file << "Nouveau"
        << "   "
        << "Enter" << QByteArray("Sirop\r\nGel\r\n\r\n") << QStringList{"", "Gel", "Sirop"};
    QTest::newRow("add a duplicate in another case")
        << file << "Nouveau"
        << "sirop"
        << "&OK" << QByteArray("Sirop\r\nGel\r\nsirop\r\n") << QStringList{"Gel", "Sirop", "sirop"};
    QTest::newRow("add, cut at 20 characters")
        << file << "Nouveau"
        << "Seringue pré-remplie stérile"
        << "Enter" << cp1252("Sirop\r\nGel\r\nSeringue pré-remplie\r\n")
        << QStringList{"Gel", "Seringue pré-remplie", "Sirop"};
    QTest::newRow("add to a missing file") << QByteArray() << "Nouveau"
                                           << "Gélule"
                                           << "Enter" << cp1252("Gélule\r\n") << QStringList{"Gélule"};
    QTest::newRow("add after a last line without its end")
        << QByteArray("Sirop") << "Nouveau"
        << "Gel"
        << "Enter" << QByteArray("Sirop\r\nGel\r\n") << QStringList{"Gel", "Sirop"};
    // A change rewrites the file whole, in the order the list shows.
    QTest::newRow("change") << QByteArray("Spray\r\nSirop\r\nGel\r\n") << "Modifier"
                            << " Patch "
                            << "Enter" << QByteArray("Gel\r\nPatch\r\nSpray\r\n")
                            << QStringList{"Gel", "Patch", "Spray"};
    QTest::newRow("add, Escape") << file << "Nouveau"
                                 << "Patch"
                                 << "Escape" << file << QStringList{"Gel", "Sirop"};
    QTest::newRow("change, Annuler") << file << "Modifier"
                                     << "Patch"
                                     << "&Annuler" << file << QStringList{"Gel", "Sirop"};
}

void TestFormCombosPharma::edits()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, finish);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, shown);
    if (!before.isEmpty())
        m_seams->directory.write(kType, before);
    open(QStringLiteral("Type"));
    const bool change = button == QLatin1String("Modifier");
    if (change)
        select(QStringLiteral("Sirop"));
    const BoxSeen seen = clickAndAnswer(button, typed, finish);
    QVERIFY(seen.shown);
    QCOMPARE(seen.prompt, change ? QStringLiteral("Veuillez modifier la Présentation:")
                                 : QStringLiteral("Veuillez saisir la nouvelle Présentation:"));
    QCOMPARE(seen.title,
             change ? QStringLiteral("Modifier une Présentation") : QStringLiteral("Nouvelle Présentation"));
    QCOMPARE(seen.shownText, change ? QStringLiteral("Sirop") : QString());
    QCOMPARE(m_seams->directory.read(kType), after);
    QCOMPARE(entries(), shown); // read again from the file, sorted, nothing selected
    QVERIFY(m_form->List1()->selectedItems().isEmpty());
    QVERIFY(m_seams->messages.shown().isEmpty());
}

void TestFormCombosPharma::emptyEntryIsRefused_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("add") << "Nouveau";
    QTest::newRow("change, default erased") << "Modifier";
}

void TestFormCombosPharma::emptyEntryIsRefused()
{
    QFETCH(QString, button);
    m_seams->directory.write(kForme, "Orale\r\n");
    open(QStringLiteral("Forme"));
    select(QStringLiteral("Orale"));
    QVERIFY(clickAndAnswer(button, QStringLiteral("\b")).shown); // Backspace erases the selected default
    QCOMPARE(m_seams->messages.shown().size(), 1);
    const MessageRequest &message = m_seams->messages.last();
    QCOMPARE(message.text, QStringLiteral("Vous n'avez saisi aucune Voie d'administration !"));
    QCOMPARE(boxOf(message), QStringLiteral("Attention !!! | exclamation | OK"));
    QCOMPARE(m_seams->directory.read(kForme), QByteArray("Orale\r\n"));
}

void TestFormCombosPharma::commandsNeedASelection_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("change a route") << "Forme"
                                    << "Modifier"
                                    << "Aucune Voie d'administration sélectionnée !";
    QTest::newRow("delete a presentation") << "Type"
                                           << "Supprimer"
                                           << "Aucune Présentation sélectionnée !";
}

void TestFormCombosPharma::commandsNeedASelection()
{
    QFETCH(QString, mode);
    QFETCH(QString, button);
    QFETCH(QString, text);
    m_seams->directory.write(kForme, "Orale\r\n");
    m_seams->directory.write(kType, "Gel\r\n");
    open(mode);
    QTest::mouseClick(m_form->findChild<QToolButton *>(button), Qt::LeftButton);
    QCOMPARE(m_seams->messages.shown().size(), 1);
    QCOMPARE(m_seams->messages.last().text, text);
    QCOMPARE(boxOf(m_seams->messages.last()), QStringLiteral("Erreur | exclamation | OK"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestFormCombosPharma::deleteAsks_data()
{
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<QByteArray>("after");
    const QByteArray before = "Spray\r\nGel\r\nSirop\r\n";
    QTest::newRow("No") << MsgAnswer::No << before;
    QTest::newRow("Yes") << MsgAnswer::Yes << QByteArray("Gel\r\nSpray\r\n");
}

void TestFormCombosPharma::deleteAsks()
{
    QFETCH(MsgAnswer, answer);
    QFETCH(QByteArray, after);
    m_seams->directory.write(kType, "Spray\r\nGel\r\nSirop\r\n");
    open(QStringLiteral("Type"));
    select(QStringLiteral("Sirop"));
    m_seams->messages.queue(answer);
    QTest::mouseClick(m_form->findChild<QToolButton *>(QStringLiteral("Supprimer")), Qt::LeftButton);
    const MessageRequest &question = m_seams->messages.last();
    QCOMPARE(question.text, QStringLiteral("Sirop\r\n\r\nConfirmer la suppression ?"));
    QCOMPARE(boxOf(question), QStringLiteral("Présentation | question | Oui/Non"));
    QCOMPARE(m_seams->directory.read(kType), after);
    QCOMPARE(entries().contains(QStringLiteral("Sirop")), answer == MsgAnswer::No);
}

// A line of any length, from a file edited by hand, shows cut but stays whole in the file.
void TestFormCombosPharma::longEntryStaysWhole()
{
    const QByteArray longLine(300, 'a');
    m_seams->directory.write(kType, "Sirop\r\n" + longLine + "\r\n");
    open(QStringLiteral("Type"));
    QCOMPARE(entries().first(), QString(64, QLatin1Char('a')) + QChar(0x2026));
    select(QStringLiteral("Sirop"));
    m_seams->messages.queue(MsgAnswer::Yes);
    QTest::mouseClick(m_form->findChild<QToolButton *>(QStringLiteral("Supprimer")), Qt::LeftButton);
    QCOMPARE(m_seams->directory.read(kType), longLine + "\r\n");
}

VELLORIN_TEST(TestFormCombosPharma)
#include "tst_formcombospharma.moc"
