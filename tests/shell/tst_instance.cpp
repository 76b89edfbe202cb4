#include "support/TestSeams.h"

#include "platform/InstanceLock.h"
#include "platform/ProgramDirectory.h"
#include "shell/Application.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QTest>

#include <unistd.h>

// One copy of the program per directory, and where an installed program keeps its files.
class TestInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondCopyStops();
    void crashedCopyDoesNotLeaveTheLockStuck();
    void readOnlyDirectoryIsSaid();
    void installedProgramKeepsItsFilesForTheUser();
};

void TestInstance::secondCopyStops()
{
    TestSeams seams;
    InstanceLock first(seams.directory.path());
    QVERIFY(claimProgramDirectory(first));
    QVERIFY(seams.messages.shown().isEmpty());

    InstanceLock second(seams.directory.path());
    QVERIFY(!claimProgramDirectory(second));
    QCOMPARE(seams.messages.shown().size(), 1);
    const MessageRequest &m = seams.messages.last();
    QCOMPARE(m.title, QStringLiteral("Attention !!!"));
    QVERIFY2(m.text.startsWith(QStringLiteral("Vellorin est déjà ouvert sur le dossier\r\n") + seams.directory.path()),
             qPrintable(m.text));
}

void TestInstance::crashedCopyDoesNotLeaveTheLockStuck()
{
    TestSeams seams;
    // A lock left by a process that is gone.
    QProcess gone;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("0.05")});
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    // The lock file as a copy of the program leaves it, but naming that process.
    QByteArray content;
    {
        QLockFile live(seams.directory.file(QStringLiteral("Vellorin.lock")));
        QVERIFY(live.tryLock(0));
        content = seams.directory.read(QStringLiteral("Vellorin.lock"));
    }
    content.replace(0, content.indexOf('\n'), QByteArray::number(pid));
    seams.directory.write(QStringLiteral("Vellorin.lock"), content);
    InstanceLock lock(seams.directory.path());
    QCOMPARE(lock.acquire(), InstanceLock::Outcome::Acquired);
}

void TestInstance::readOnlyDirectoryIsSaid()
{
    if (::geteuid() != 0)
        QSKIP("mounting a read-only directory needs root");
    TestSeams seams;
    const QString dir = seams.directory.file(QStringLiteral("ro"));
    QVERIFY(QDir().mkpath(dir));
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                     QStringLiteral("ro,size=64k"), QStringLiteral("tmpfs"), dir}) != 0)
        QSKIP("this machine does not let tests mount a file system");
    InstanceLock lock(dir);
    const bool keepsRunning = claimProgramDirectory(lock);
    QProcess::execute(QStringLiteral("umount"), {dir});
    QVERIFY(keepsRunning);
    QCOMPARE(seams.messages.shown().size(), 1);
    QVERIFY(seams.messages.last().text.contains(QStringLiteral("est en lecture seule")));
}

void TestInstance::installedProgramKeepsItsFilesForTheUser()
{
    QVERIFY(ExecutableDirectory::isSystemInstall(QStringLiteral("/usr/lib/vellorin")));
    QVERIFY(ExecutableDirectory::isSystemInstall(QStringLiteral("/opt/vellorin/")));
    QVERIFY(!ExecutableDirectory::isSystemInstall(QStringLiteral("/root/Vellorin")));
    QVERIFY(!ExecutableDirectory::isSystemInstall(QStringLiteral("/usrlocal")));

    TestSeams seams;
    const QDir dir(seams.directory.path());
    dir.mkpath(QStringLiteral("exe"));
    for (const char *name : {"Pharma_Forme.dat", "Pharma_Type.dat", "Impression.json"})
        seams.directory.write(QStringLiteral("exe/") + QLatin1String(name), "starting\r\n");
    dir.mkpath(QStringLiteral("data"));
    seams.directory.write(QStringLiteral("data/Pharma_Forme.dat"), "mine\r\n");
    ExecutableDirectory::seed(dir.filePath(QStringLiteral("exe")), dir.filePath(QStringLiteral("data")));
    QCOMPARE(seams.directory.read(QStringLiteral("data/Pharma_Forme.dat")), QByteArray("mine\r\n")); // kept
    QCOMPARE(seams.directory.read(QStringLiteral("data/Pharma_Type.dat")), QByteArray("starting\r\n"));
    QCOMPARE(seams.directory.read(QStringLiteral("data/Impression.json")), QByteArray("starting\r\n"));
}

QTEST_MAIN(TestInstance)
#include "tst_instance.moc"
