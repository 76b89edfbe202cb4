#include "gui/platform/MessageBox.h"
#include "gui/shell/Application.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(MsgButtons)

// The platform's boxes, shown for real: French buttons, the answer the user gave.
class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answers_data();
    void answers();
};

void TestMessageBox::initTestCase()
{
    prepareApplication(*qApp);
}

void TestMessageBox::answers_data()
{
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<QString>("press"); // a button's text, or "Escape"
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<MsgAnswer>("answer");
    const QStringList yesNo = {"&Oui", "&Non"};
    QTest::newRow("Oui") << MsgButtons::YesNo << "&Oui" << yesNo << MsgAnswer::Yes;
    QTest::newRow("Non") << MsgButtons::YesNo << "&Non" << yesNo << MsgAnswer::No;
    QTest::newRow("Escape on a question") << MsgButtons::YesNo << "Escape" << yesNo << MsgAnswer::No;
    QTest::newRow("OK") << MsgButtons::Ok << "OK" << QStringList{"OK"} << MsgAnswer::Ok;
    QTest::newRow("Escape on a message") << MsgButtons::Ok << "Escape" << QStringList{"OK"} << MsgAnswer::Ok;
}

void TestMessageBox::answers()
{
    QFETCH(MsgButtons, buttons);
    QFETCH(QString, press);
    QFETCH(QStringList, captions);
    QFETCH(MsgAnswer, answer);

    QStringList seenCaptions;
    QString seenText;
    QString seenTitle;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenTitle = box->windowTitle();
        seenText = box->text();
        for (QAbstractButton *b : box->buttons())
            seenCaptions << b->text();
        if (press == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == press) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        }
        box->done(-1); // no such button: the comparison below says so
    });
    QtMessageBoxes boxes;
    const MsgAnswer got = boxes.ask({QStringLiteral("Première ligne\r\nseconde\n\rtroisième"),
                                     QStringLiteral("Suppression"), MsgIcon::Question, buttons});
    QCOMPARE(got, answer);
    seenCaptions.sort();
    captions.sort();
    QCOMPARE(seenCaptions, captions);
    QCOMPARE(seenTitle, QStringLiteral("Suppression"));
    QCOMPARE(seenText, QStringLiteral("Première ligne\nseconde\ntroisième"));
}

VELLORIN_TEST(TestMessageBox)
#include "tst_messagebox.moc"
