#include "core/store/StockFile.h"
#include "gui/reports/Impression.h"
#include "support/TestMain.h"
#include "support/TestSeams.h"

#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <unistd.h>

// Printing for real: a private CUPS server with a queue that turns each job into a PDF.
// Every page of a report is one job to the default printer.
class TestRealPrinter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachPageIsOneJob();

private:
    QString m_out;
    bool m_started = false;
};

void TestRealPrinter::initTestCase()
{
    if (::geteuid() != 0 || !QFile::exists(QStringLiteral("/usr/sbin/cupsd")) ||
        !QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
        QSKIP("needs root and the packages cups and printer-driver-cups-pdf");
    QProcess start;
    start.start(QStringLiteral(VELLORIN_TOOLS_DIR "/start-test-printer.sh"));
    QVERIFY(start.waitForFinished(30000));
    QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());
    m_started = true;
    // The script prints the environment that leads to its server, before any printer
    // is looked up in this process.
    const QString exports = QString::fromUtf8(start.readAllStandardOutput());
    for (const QString &line : exports.split(u'\n')) {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^export (\\w+)=(.*)$")).match(line);
        if (m.hasMatch())
            qputenv(m.captured(1).toLatin1().constData(), m.captured(2).toUtf8());
    }
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    m_out = qEnvironmentVariable("TEST_PRINTER_OUT");
    QVERIFY(!m_out.isEmpty());
    for (const QFileInfo &old : QDir(m_out).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        QFile::remove(old.filePath());
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QStringLiteral("PDF"));
}

void TestRealPrinter::cleanupTestCase()
{
    if (m_started)
        QProcess::execute(QStringLiteral(VELLORIN_TOOLS_DIR "/stop-test-printer.sh"), {});
}

void TestRealPrinter::eachPageIsOneJob()
{
    TestSeams seams;
    Platform::setReportOutput(nullptr); // the real output
    seams.installTemplate();
    QStringList lines;
    for (int n = 1; n <= 46; ++n)
        lines << compose_enreg(QStringLiteral("Paracétamol %1").arg(n), u"Orale", u"Comprimé", u"3",
                               u"01/01/2020", u"5", u"0");
    seams.directory.write(kStockFileName,
                          cp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));

    imprime_perimes(ReportMode::Print);
    QVERIFY(seams.messages.shown().isEmpty()); // printed: nothing to tell

    // Qt reports success even when CUPS refuses a job: believe only complete files.
    QDir out(m_out);
    QStringList jobs;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobs = out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed)).size() ==
            2,
        20000);
    QStringList texts;
    for (const QString &job : jobs) {
        const QString path = out.filePath(job);
        const auto complete = [&path] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) && file.readAll().trimmed().endsWith("%%EOF");
        };
        QTRY_VERIFY_WITH_TIMEOUT(complete(), 10000);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        texts << QString::fromUtf8(text.readAllStandardOutput());
    }
    std::sort(texts.begin(), texts.end(), [](const QString &a, const QString &b) {
        return a.contains(QStringLiteral("Total")) < b.contains(QStringLiteral("Total"));
    });
    QVERIFY(texts.at(0).contains(QStringLiteral("Liste des médicaments périmés")));
    QVERIFY(texts.at(0).contains(QStringLiteral("Paracétamol 44")));
    QVERIFY(!texts.at(0).contains(QStringLiteral("Paracétamol 45")));
    QVERIFY(texts.at(1).contains(QStringLiteral("Paracétamol 45")));
    QVERIFY(texts.at(1).contains(QStringLiteral("Paracétamol 46")));
    QVERIFY(texts.at(1).contains(QRegularExpression(QStringLiteral("Total :\\s+46"))));
}

VELLORIN_TEST(TestRealPrinter)
#include "tst_realprinter.moc"
