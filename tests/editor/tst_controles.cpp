#include "gui/editor/Controles.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QTest>

namespace {

const QString kFormat =
    QStringLiteral("Date invalide\r\nLa date doit avoir le format JJ/MM/AAAA\r\nExemple: 07/02/200");
const QString kHalf = QStringLiteral("Date invalide\r\nLa date est incomplète !");

// The message for each refused text (the format's example ends with a digit of its own);
// empty: accepted without a word. Every year divisible by 4 is taken as a leap year, and
// only the upper bound of the day is tested: the stock treats those as no calendar date.
// clang-format off
const Case<QString, QString> kDates[] = {
    {"good date", "07/02/2001", ""},           {"nothing typed", "__/__/____", kFormat + "1"},
    {"half typed", "07/02/20__", kHalf},       {"one digit missing", "07/_2/2001", kHalf},
    {"empty", "", "Date invalide\r\nAucune date saisie !"},
    {"dashes", "07-02-2001", kFormat + "1"},   {"too short for its slashes", "07/02", kFormat + "1"},
    {"31 April", "31/04/2001", kFormat + "2"}, {"30 April", "30/04/2001", ""},
    {"29/02/2004", "29/02/2004", ""},          {"29/02/2001", "29/02/2001", kFormat + "2"},
    {"29/02/2100", "29/02/2100", ""},          {"day 00", "00/05/2020", ""},
    {"month 13", "07/13/2001", kFormat + "2"}, {"32 January", "32/01/2001", kFormat + "2"},
    {"year 1799", "07/02/1799", kFormat + "3"}, {"year 1800", "01/01/1800", ""},
    // The year is tested before the day.
    {"31 April 1799", "31/04/1799", kFormat + "3"},
};
// clang-format on

} // namespace

// The date check: what it accepts, and the message it gives for what it refuses.
class TestControles : public QObject
{
    Q_OBJECT

private slots:
    void verifDate_data() { addRows(kDates); }
    void verifDate();
};

void TestControles::verifDate()
{
    const auto &c = rowOf(kDates);
    TestSeams seams;
    QCOMPARE(verif_date(c.in) == Check::Passed, c.out.isEmpty());
    QCOMPARE(seams.messages.shown().size(), c.out.isEmpty() ? 0 : 1);
    if (!c.out.isEmpty()) {
        QCOMPARE(seams.messages.last().text, c.out);
        QCOMPARE(boxOf(seams.messages.last()), QStringLiteral("Erreur | information | OK"));
    }
}

VELLORIN_TEST(TestControles)
#include "tst_controles.moc"
