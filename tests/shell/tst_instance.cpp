#include "core/platform/InstanceLock.h"
#include "core/platform/ProgramDirectory.h"
#include "support/Tests.h"

#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>

// One copy of the program per directory, and where an installed program keeps its files.
class TestInstance : public QObject
{
    Q_OBJECT

private slots:
    void lockStates_data();
    void lockStates();
    void installedProgramKeepsItsFilesForTheUser();
};

void TestInstance::lockStates_data()
{
    QTest::addColumn<QByteArray>("lock"); // what Vellorin.lock holds at start; "live" for a running copy
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QString>("says");
    QTest::addColumn<bool>("cleared"); // the work files of a crashed copy are gone
    QProcess gone;
    gone.start("true");
    gone.waitForFinished();
    const QDateTime since(QDate(2026, 12, 1), QTime(8, 30), Qt::UTC);
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    const QByteArray there = InstanceLock::describe({4242, "cabinet-2", since});
    // clang-format off
    QTest::newRow("none") << QByteArray() << MsgAnswer::No << true << QString() << true;
    QTest::newRow("empty") << QByteArray("") << MsgAnswer::No << true << QString() << true;
    QTest::newRow("garbage") << QByteArray("\x01\xff nonsense") << MsgAnswer::No << true << QString() << true;
    QTest::newRow("a copy of this computer that is gone")
        << InstanceLock::describe({gone.processId(), QString::fromUtf8(here), since}) << MsgAnswer::No << true << QString() << true;
    QTest::newRow("a copy of this computer that runs") << QByteArray("live") << MsgAnswer::No << false << "Vellorin est déjà ouvert sur le dossier" << false;
    QTest::newRow("another computer, not opened") << there << MsgAnswer::No << false << "ordinateur « cabinet-2 » depuis le" << false;
    QTest::newRow("another computer, opened anyway") << there << MsgAnswer::Yes << true << "Ouvrir Vellorin quand même ?" << false;
    QTest::newRow("a pipe in its place") << QByteArray("fifo") << MsgAnswer::No << false << "ce n'est pas un fichier ordinaire" << false;
    // clang-format on
}

void TestInstance::lockStates()
{
    QFETCH(QByteArray, lock);
    QFETCH(MsgAnswer, answer);
    QFETCH(bool, runs);
    QFETCH(QString, says);
    QFETCH(bool, cleared);
    TestSeams seams;
    const QString lockFile = seams.directory.file("Vellorin.lock");
    InstanceLock live(seams.directory.path());
    if (lock == "live")
        QCOMPARE(live.acquire(), InstanceLock::Outcome::Acquired);
    else if (lock == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(lockFile).constData(), 0644), 0);
    else if (!lock.isNull())
        seams.directory.write("Vellorin.lock", lock);
    const QStringList work{"Pharmacie.dat.~a1B2c3", "Pharmacie.new", "Pharmacie.def",
                           "Pharma_Type.dat.QwErTy"};
    const QStringList mine{"Pharmacie.dat.backup", "notes.txt", "Pharmacie.dat.~a1B2c3.txt"};
    for (const QString &name : work + mine)
        seams.directory.write(name, "x");
    seams.messages.queue(answer);

    InstanceLock lockOfThisCopy(seams.directory.path());
    QCOMPARE(claimProgramDirectory(lockOfThisCopy), runs);
    if (says.isEmpty()) {
        QVERIFY(seams.messages.shown().isEmpty());
    } else {
        QCOMPARE(seams.messages.shown().size(), 1);
        QVERIFY2(seams.messages.last().text.contains(says), qPrintable(seams.messages.last().text));
        QVERIFY(seams.messages.last().text.contains(lockFile)); // every lock message names the file
    }
    if (lock == "fifo")
        return;
    InstanceLock::Holder holder;
    QVERIFY(InstanceLock::parse(seams.directory.read("Vellorin.lock"), &holder));
    if (runs)
        QCOMPARE(holder.pid, QCoreApplication::applicationPid());
    for (const QString &name : work)
        QVERIFY2(seams.directory.exists(name) != cleared, qPrintable(name));
    for (const QString &name : mine)
        QVERIFY2(seams.directory.exists(name), qPrintable(name));
}

void TestInstance::installedProgramKeepsItsFilesForTheUser()
{
    QVERIFY(ExecutableDirectory::isSystemInstall("/usr/lib/vellorin"));
    QVERIFY(ExecutableDirectory::isSystemInstall("/opt/vellorin/"));
    QVERIFY(!ExecutableDirectory::isSystemInstall("/root/Vellorin"));
    QVERIFY(!ExecutableDirectory::isSystemInstall("/usrlocal"));

    TestSeams seams;
    const QDir dir(seams.directory.path());
    dir.mkpath("exe");
    for (const char *name : {"Pharma_Forme.dat", "Pharma_Type.dat", "Impression.json"})
        seams.directory.write("exe/" + QLatin1String(name), "starting\r\n");
    dir.mkpath("data");
    seams.directory.write("data/Pharma_Forme.dat", "mine\r\n");
    ExecutableDirectory::seed(dir.filePath("exe"), dir.filePath("data"));
    QCOMPARE(seams.directory.read("data/Pharma_Forme.dat"), QByteArray("mine\r\n")); // kept
    QCOMPARE(seams.directory.read("data/Pharma_Type.dat"), QByteArray("starting\r\n"));
    QCOMPARE(seams.directory.read("data/Impression.json"), QByteArray("starting\r\n"));
}

VELLORIN_TEST(TestInstance)
#include "tst_instance.moc"
