#include "gui/shell/Application.h"
#include "gui/valuelists/MyInputBox.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The default is selected whole: the first key replaces it. Cancelling leaves the typed
// text for the callers that read it.
// clang-format off
const struct { const char *name; QString defaultText; QStringList keys; QString finish; short button; QString text; } kAnswers[] = {
    {"Enter is OK", "Gélule", {"Crème", "Enter"}, "", 1, "Crème"},
    {"OK button", "", {"Sirop"}, "&OK", 1, "Sirop"},
    {"default kept", "Gélule", {"Enter"}, "", 1, "Gélule"},
    {"Escape is Annuler", "Gélule", {"Patch", "Escape"}, "", 2, "Patch"},
    {"Annuler button", "", {"Spray"}, "&Annuler", 2, "Spray"},
    {"close box is Annuler", "", {"Gel"}, "close", 2, "Gel"},
    // A line copied whole and pasted is one entry, its line end left behind.
    {"a whole line pasted", "", {"Paste:Collyre\r\n", "Enter"}, "", 1, "Collyre"},
};
// clang-format on

// Shows the box with `prompt` and `defaultText`, lets `act` answer it.
void display(const QString &prompt, const QString &defaultText, const std::function<void(MyInputBox *)> &act)
{
    MyInputBox &box = MyInputBox::instance();
    box.setPrompt(prompt);
    box.setDefault(defaultText);
    bool answered = false;
    whenModalOpens([&](QWidget *window) {
        QCOMPARE(window, &box);
        QTRY_VERIFY(box.txtInput()->hasFocus());
        QCOMPARE(box.txtInput()->selectedText(), defaultText);
        act(&box);
        answered = true;
    });
    box.Display();
    QVERIFY(answered);
    QVERIFY(box.isHidden());
}

} // namespace

// The program's input box, shown for real and answered from the keyboard and the mouse.
class TestMyInputBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(*qApp); }
    void answers_data() { addRows(kAnswers); }
    void answers();
    void longPromptPushesTheEntryDown();
    void limitStaysFromOneUseToTheNext();
};

void TestMyInputBox::answers()
{
    const auto &c = rowOf(kAnswers);
    display(QStringLiteral("Veuillez saisir la nouvelle Présentation:"), c.defaultText, [&](MyInputBox *box) {
        press(box->txtInput(), c.keys);
        if (c.finish == QLatin1String("close"))
            box->close();
        for (auto *b : box->findChildren<QPushButton *>(QStringLiteral("cmdButton")))
            if (b->text() == c.finish)
                QTest::mouseClick(b, Qt::LeftButton);
    });
    QCOMPARE(MyInputBox::instance().ButtonClicked(), c.button);
    QCOMPARE(MyInputBox::instance().txtInput()->text(), c.text);
}

void TestMyInputBox::longPromptPushesTheEntryDown()
{
    const QString prompt =
        QStringList(12, QStringLiteral("Une invite bien plus longue que la place prévue.")).join(u' ');
    display(prompt, QString(), [](MyInputBox *box) {
        const QLabel *label = box->findChild<QLabel *>(QStringLiteral("lblPrompt"));
        QVERIFY(label->geometry().bottom() < box->txtInput()->y());
        QVERIFY(box->txtInput()->geometry().bottom() < box->height());
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
    });
}

// The limit a caller sets stays for the next use, which shows the default set for it.
void TestMyInputBox::limitStaysFromOneUseToTheNext()
{
    MyInputBox::instance().txtInput()->setMaxLength(20);
    display(QStringLiteral("Présentation:"), QString(), [](MyInputBox *box) {
        typeText(box->txtInput(), QStringLiteral("Seringue pré-remplie et aiguille"));
        QTest::keyClick(box->txtInput(), Qt::Key_Escape);
    });
    QCOMPARE(MyInputBox::instance().txtInput()->text(), QStringLiteral("Seringue pré-remplie"));
    display(QStringLiteral("Autre"), QStringLiteral("Gel"), [](MyInputBox *box) {
        QCOMPARE(box->txtInput()->maxLength(), 20);
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
    });
    QCOMPARE(MyInputBox::instance().txtInput()->text(), QStringLiteral("Gel"));
}

VELLORIN_TEST(TestMyInputBox)
#include "tst_myinputbox.moc"
