#include "gui/platform/MessageBox.h"
#include "gui/shell/Application.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

// clang-format off
const struct { const char *name; MsgButtons buttons; QString press; QStringList captions; MsgAnswer answer; } kAnswers[] = {
    {"Oui", MsgButtons::YesNo, "&Oui", {"&Non", "&Oui"}, MsgAnswer::Yes},
    {"Non", MsgButtons::YesNo, "&Non", {"&Non", "&Oui"}, MsgAnswer::No},
    {"Escape on a question", MsgButtons::YesNo, "Escape", {"&Non", "&Oui"}, MsgAnswer::No},
    {"Escape on a message", MsgButtons::Ok, "Escape", {"OK"}, MsgAnswer::Ok},
};
// clang-format on

} // namespace

// The platform's boxes, shown for real: French buttons, the answer the user gave.
class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(*qApp); }
    void answers_data() { addRows(kAnswers); }
    void answers();
};

void TestMessageBox::answers()
{
    const auto &c = rowOf(kAnswers);
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen << box->windowTitle() << box->text();
        QStringList captions;
        for (QAbstractButton *b : box->buttons()) {
            captions << b->text();
            if (b->text() == c.press)
                QTest::mouseClick(b, Qt::LeftButton);
        }
        captions.sort();
        seen << captions;
        if (c.press == QLatin1String("Escape"))
            QTest::keyClick(box, Qt::Key_Escape);
    });
    QtMessageBoxes boxes;
    const MsgAnswer got = boxes.ask({QStringLiteral("Première ligne\r\nseconde\n\rtroisième"),
                                     QStringLiteral("Suppression"), MsgIcon::Question, c.buttons});
    QCOMPARE(got, c.answer);
    QCOMPARE(seen, QStringList({"Suppression", "Première ligne\nseconde\ntroisième"}) + c.captions);
}

VELLORIN_TEST(TestMessageBox)
#include "tst_messagebox.moc"
