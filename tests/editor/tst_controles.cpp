#include "gui/editor/Controles.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QTest>

// The date check: what it accepts, and the message it gives for what it refuses.
class TestControles : public QObject
{
    Q_OBJECT

private slots:
    void verifDate_data();
    void verifDate();
};

void TestControles::verifDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted without a word
    const QString format =
        QStringLiteral("Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\nExemple: ");
    const QString f2001 = format + QStringLiteral("07/02/2001");
    const QString f2002 = format + QStringLiteral("07/02/2002");
    const QString f2003 = format + QStringLiteral("07/02/2003");
    QTest::newRow("good date") << "07/02/2001"
                               << "";
    QTest::newRow("nothing typed") << "__/__/____" << f2001;
    QTest::newRow("half typed") << "07/02/20__"
                                << "Date invalide\r\nLa date est incomplète !";
    QTest::newRow("one digit missing") << "07/_2/2001"
                                       << "Date invalide\r\nLa date est incomplète !";
    QTest::newRow("empty") << ""
                           << "Date invalide\r\nAucune date saisie !";
    QTest::newRow("dashes") << "07-02-2001" << f2001;
    QTest::newRow("too short for its slashes") << "07/02" << f2001;
    QTest::newRow("31 April") << "31/04/2001" << f2002;
    QTest::newRow("30 April") << "30/04/2001"
                              << "";
    QTest::newRow("29 February of a leap year") << "29/02/2004"
                                                << "";
    QTest::newRow("29 February of another year") << "29/02/2001" << f2002;
    // Every year divisible by 4 is taken as a leap year, and only the upper bound of the
    // day is tested: these pass, and the stock treats them as no calendar date.
    QTest::newRow("29 February 1900") << "29/02/1900"
                                      << "";
    QTest::newRow("29 February 2100") << "29/02/2100"
                                      << "";
    QTest::newRow("day 00") << "00/05/2020"
                            << "";
    QTest::newRow("month 13") << "07/13/2001" << f2002;
    QTest::newRow("month 00") << "07/00/2001" << f2002;
    QTest::newRow("32 January") << "32/01/2001" << f2002;
    QTest::newRow("year 1799") << "07/02/1799" << f2003;
    QTest::newRow("year 1800") << "01/01/1800"
                               << "";
    // The year is tested before the day.
    QTest::newRow("31 April 1799") << "31/04/1799" << f2003;
}

void TestControles::verifDate()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestSeams seams;
    const Check result = verif_date(text);
    if (message.isEmpty()) {
        QVERIFY(result == Check::Passed);
        QVERIFY(seams.messages.shown().isEmpty());
        return;
    }
    QVERIFY(result == Check::Refused);
    QCOMPARE(seams.messages.shown().size(), 1);
    const MessageRequest &shown = seams.messages.last();
    QCOMPARE(shown.text, message);
    QCOMPARE(boxOf(shown), QStringLiteral("Erreur | information | OK"));
}

VELLORIN_TEST(TestControles)
#include "tst_controles.moc"
