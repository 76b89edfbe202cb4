#include "core/store/StockFile.h"
#include "gui/platform/ReportPrinter.h"
#include "gui/reports/Impression.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

// The real page renderer: a report printed with no printer installed goes to a PDF file
// in the program's directory, whose pages and text are read back with poppler.
class TestReportPrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void printWithoutPrinterWritesAPdf();
    void previewWaitsForEachPage();
};

void TestReportPrinter::initTestCase()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler-utils is not installed");
}

void TestReportPrinter::printWithoutPrinterWritesAPdf()
{
    TestSeams seams;
    Platform::setReportOutput(nullptr); // the real output, this time
    seams.installTemplate();
    QStringList lines;
    for (int n = 1; n <= 90; ++n)
        lines << compose_enreg(QStringLiteral("Ibuprofène fiche %1").arg(n), u"Orale", u"Comprimé", u"12",
                               u"05/03/2027", u"5", u"1");
    seams.directory.write(kStockFileName,
                          cp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));

    const QString expected = QDir(seams.directory.path())
                                 .filePath(QStringLiteral("Liste complète des médicaments 2026-12-06.pdf"));
    imprime_complete(ReportMode::Print);

    QCOMPARE(seams.messages.shown().size(), 1);
    const MessageRequest &told = seams.messages.last();
    QCOMPARE(told.title, QStringLiteral("Information"));
    QVERIFY2(told.text.contains(QDir::toNativeSeparators(expected)), qPrintable(told.text));
    QVERIFY(QFile::exists(expected));

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {expected});
    QVERIFY(info.waitForFinished());
    const QString pdfInfo = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(pdfInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))), qPrintable(pdfInfo));

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), expected, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *piece :
         {"Liste complète des médicaments", "à la date du: 06/12/2026", "Voie d'administration",
          "Ibuprofène fiche 1 ", "Ibuprofène fiche 90", "Total :", "90", "Page 3"})
        QVERIFY2(content.contains(QString::fromUtf8(piece)), piece);

    // A second print the same day does not overwrite the first file.
    seams.messages.clear();
    imprime_complete(ReportMode::Print);
    QVERIFY(seams.messages.last().text.contains(QStringLiteral("2026-12-06 (2).pdf")));
}

void TestReportPrinter::previewWaitsForEachPage()
{
    TestSeams seams;
    Platform::setReportOutput(nullptr);
    seams.installTemplate();
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << compose_enreg(QStringLiteral("Aspirine %1").arg(n), u"Orale", u"Comprimé", u"1", u"", u"5",
                               u"1");
    seams.directory.write(kStockFileName,
                          cp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));

    // Each page in its own modal preview, the next one only once the first is closed.
    QStringList titles;
    std::function<void(QWidget *)> close = [&](QWidget *window) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(window);
        QVERIFY(preview);
        QVERIFY(preview->findChild<QAction *>(QStringLiteral("savePdf")));
        QVERIFY(!QGuiApplication::overrideCursor()); // the normal pointer while the user looks
        titles << preview->windowTitle();
        if (titles.size() < 2)
            whenModalOpens(close);
        preview->reject();
    };
    whenModalOpens(close);
    imprime_complete(ReportMode::Preview);
    QCOMPARE(titles, (QStringList{"Aperçu avant impression - Liste complète des médicaments - page 1",
                                  "Aperçu avant impression - Liste complète des médicaments - page 2"}));
    QVERIFY(seams.messages.shown().isEmpty());
    QVERIFY(QDir(seams.directory.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
}

VELLORIN_TEST(TestReportPrinter)
#include "tst_reportprinter.moc"
