#include "gui/shell/Application.h"
#include "gui/valuelists/MyInputBox.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The program's input box, shown for real and answered from the keyboard and the mouse.
class TestMyInputBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answers_data();
    void answers();
    void longPromptPushesTheEntryDown();
    void passwordShowsStars();
    void settingsStayFromOneUseToTheNext();

private:
    // Shows the box with `prompt` and `defaultText`, lets `act` answer it.
    void display(const QString &prompt, const QString &defaultText, std::function<void(MyInputBox *)> act);
};

void TestMyInputBox::initTestCase()
{
    prepareApplication(*qApp);
}

void TestMyInputBox::display(const QString &prompt, const QString &defaultText,
                             std::function<void(MyInputBox *)> act)
{
    MyInputBox &box = MyInputBox::instance();
    box.setPrompt(prompt);
    box.setTitle(QStringLiteral("Nouvelle Présentation"));
    box.setDefault(defaultText);
    box.setPasswordProtect(false);
    bool answered = false;
    whenModalOpens([&](QWidget *window) {
        QCOMPARE(window, &box);
        QTRY_VERIFY(box.txtInput()->hasFocus());
        act(&box);
        answered = true;
    });
    box.Display();
    QVERIFY(answered);
    QVERIFY(box.isHidden());
}

void TestMyInputBox::answers_data()
{
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("finish"); // how the user closes the box
    QTest::addColumn<short>("button");
    QTest::addColumn<QString>("text");
    // The default is selected whole: the first key replaces it.
    QTest::newRow("Enter is OK") << "Gélule"
                                 << "Crème"
                                 << "Enter" << short(1) << "Crème";
    QTest::newRow("OK button") << ""
                               << "Sirop"
                               << "&OK" << short(1) << "Sirop";
    QTest::newRow("default kept") << "Gélule"
                                  << ""
                                  << "Enter" << short(1) << "Gélule";
    // Cancelling leaves the typed text for the callers that read it.
    QTest::newRow("Escape is Annuler") << "Gélule"
                                       << "Patch"
                                       << "Escape" << short(2) << "Patch";
    QTest::newRow("Annuler button") << ""
                                    << "Spray"
                                    << "&Annuler" << short(2) << "Spray";
    // A line copied whole and pasted is one entry, its line end left behind.
    QTest::newRow("a whole line pasted") << ""
                                         << "Paste:Collyre\r\n"
                                         << "Enter" << short(1) << "Collyre";
    QTest::newRow("close box is Annuler") << ""
                                          << "Gel"
                                          << "close" << short(2) << "Gel";
}

void TestMyInputBox::answers()
{
    QFETCH(QString, defaultText);
    QFETCH(QString, typed);
    QFETCH(QString, finish);
    QFETCH(short, button);
    QFETCH(QString, text);
    QString shownDefault;
    QString selected;
    display(QStringLiteral("Veuillez saisir la nouvelle Présentation:"), defaultText, [&](MyInputBox *box) {
        QLineEdit *input = box->txtInput();
        shownDefault = input->text();
        selected = input->selectedText();
        if (typed.startsWith(QLatin1String("Paste:"))) {
            QGuiApplication::clipboard()->setText(typed.mid(6));
            QTest::keySequence(input, QKeySequence::Paste);
        } else {
            typeText(input, typed);
        }
        if (finish == QLatin1String("Enter")) {
            QTest::keyClick(input, Qt::Key_Return);
        } else if (finish == QLatin1String("Escape")) {
            QTest::keyClick(input, Qt::Key_Escape);
        } else if (finish == QLatin1String("close")) {
            box->close();
        } else {
            for (auto *b : box->findChildren<QPushButton *>(QStringLiteral("cmdButton"))) {
                if (b->text() == finish)
                    QTest::mouseClick(b, Qt::LeftButton);
            }
        }
    });
    MyInputBox &box = MyInputBox::instance();
    QCOMPARE(shownDefault, defaultText);
    QCOMPARE(selected, defaultText);
    QCOMPARE(box.ButtonClicked(), button);
    QCOMPARE(box.txtInput()->text(), text);
    QCOMPARE(box.windowTitle(), QStringLiteral("Nouvelle Présentation"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("lblPrompt"))->text(),
             QStringLiteral("Veuillez saisir la nouvelle Présentation:"));
}

void TestMyInputBox::longPromptPushesTheEntryDown()
{
    int shortHeight = 0;
    int shortTop = 0;
    display(QStringLiteral("Syntaxe: [Depart:Longueur]"), QString(), [&](MyInputBox *box) {
        shortHeight = box->height();
        shortTop = box->txtInput()->y();
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
    });
    QCOMPARE(shortHeight, 157); // 2355 twips
    QCOMPARE(shortTop, 100);    // 1500 twips

    const QString longPrompt =
        QStringList(12, QStringLiteral("Une invite bien plus longue que la place prévue.")).join(u' ');
    int longHeight = 0;
    int longTop = 0;
    int labelHeight = 0;
    display(longPrompt, QString(), [&](MyInputBox *box) {
        longHeight = box->height();
        longTop = box->txtInput()->y();
        labelHeight = box->findChild<QLabel *>(QStringLiteral("lblPrompt"))->height();
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
    });
    QVERIFY(labelHeight > 81);
    QCOMPARE(longTop - shortTop, labelHeight - 81);
    QCOMPARE(longHeight - shortHeight, labelHeight - 81);
}

void TestMyInputBox::passwordShowsStars()
{
    MyInputBox &box = MyInputBox::instance();
    box.setPrompt(QStringLiteral("Mot de passe:"));
    box.setDefault(QString());
    box.setPasswordProtect(true);
    QString shown;
    whenModalOpens([&](QWidget *) {
        typeText(box.txtInput(), QStringLiteral("abc"));
        shown = box.txtInput()->displayText();
        QTest::keyClick(box.txtInput(), Qt::Key_Return);
    });
    box.Display();
    QCOMPARE(shown, QStringLiteral("***"));
    QCOMPARE(box.txtInput()->text(), QStringLiteral("abc"));
    box.setPasswordProtect(false);
}

void TestMyInputBox::settingsStayFromOneUseToTheNext()
{
    MyInputBox &box = MyInputBox::instance();
    box.txtInput()->setMaxLength(20);
    display(QStringLiteral("Veuillez saisir la nouvelle Présentation:"), QString(), [&](MyInputBox *b) {
        typeText(b->txtInput(), QStringLiteral("Seringue pré-remplie et aiguille"));
        QTest::keyClick(b->txtInput(), Qt::Key_Escape);
    });
    QCOMPARE(box.txtInput()->text(), QStringLiteral("Seringue pré-remplie"));
    QCOMPARE(box.ButtonClicked(), short(2));
    // The next use leaves the limit where it was and shows the default set for it.
    display(QStringLiteral("Autre"), QStringLiteral("Gel"), [&](MyInputBox *b) {
        QCOMPARE(b->txtInput()->maxLength(), 20);
        QTest::keyClick(b->txtInput(), Qt::Key_Return);
    });
    QCOMPARE(box.txtInput()->text(), QStringLiteral("Gel"));
    QCOMPARE(box.ButtonClicked(), short(1));
}

VELLORIN_TEST(TestMyInputBox)
#include "tst_myinputbox.moc"
