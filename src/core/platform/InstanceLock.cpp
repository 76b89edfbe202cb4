#include "InstanceLock.h"

#include "core/files/DurableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kFirstLine = QByteArrayLiteral("Vellorin");

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Whether another open file holds a lock on `fd`'s file; nothing when the file system
// cannot tell.
std::optional<bool> lockedElsewhere(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return false;
    if (errno == EWOULDBLOCK)
        return true;
    return std::nullopt;
}

bool processRuns(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

InstanceLock::InstanceLock(const QString &directory)
    : m_path(QDir(directory).filePath(QStringLiteral("Vellorin.lock")))
{}

InstanceLock::~InstanceLock()
{
    if (m_fd < 0)
        return;
    // Removed only while it is still ours: a copy on another computer may have taken it over.
    struct stat mine = {};
    struct stat there = {};
    if (::fstat(m_fd, &mine) == 0 && ::stat(native(m_path).constData(), &there) == 0 &&
        mine.st_ino == there.st_ino && mine.st_dev == there.st_dev)
        ::unlink(native(m_path).constData());
    ::close(m_fd);
}

QByteArray InstanceLock::describe(const Holder &holder)
{
    return kFirstLine + '\n' + QByteArray::number(holder.pid) + '\n' + holder.host.toUtf8() + '\n' +
           holder.since.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
}

bool InstanceLock::parse(const QByteArray &content, Holder *holder)
{
    const QList<QByteArray> lines = content.split('\n');
    if (lines.size() < 4 || lines.at(0) != kFirstLine)
        return false;
    bool number = false;
    holder->pid = lines.at(1).toLongLong(&number);
    holder->host = QString::fromUtf8(lines.at(2));
    holder->since = QDateTime::fromString(QString::fromLatin1(lines.at(3)), Qt::ISODate);
    return number && holder->pid > 0 && !holder->host.isEmpty() && holder->since.isValid();
}

InstanceLock::Outcome InstanceLock::acquire()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        switch (install(Placement::IfFree)) {
        case Installed::Done:
            return Outcome::Acquired;
        case Installed::Failed:
            return failed();
        case Installed::Taken:
            break;
        }
        int staleFd = -1;
        switch (inspect(&staleFd)) {
        case Found::Nothing:
            continue; // gone meanwhile: try again
        case Found::HeldHere:
            return Outcome::HeldHere;
        case Found::HeldElsewhere:
            return Outcome::HeldElsewhere;
        case Found::Unusable:
            return Outcome::CannotWrite;
        case Found::Stale:
            break;
        }
        // Kept locked while it is replaced, so that a copy starting at the same moment
        // finds it held rather than stale too.
        const Installed replaced = install(Placement::Over);
        ::close(staleFd);
        return replaced == Installed::Done ? Outcome::Acquired : failed();
    }
    m_errno = EEXIST;
    return Outcome::CannotWrite;
}

InstanceLock::Outcome InstanceLock::takeOver()
{
    return install(Placement::Over) == Installed::Done ? Outcome::Acquired : failed();
}

InstanceLock::Outcome InstanceLock::failed() const
{
    const bool readOnly = m_errno == EROFS || m_errno == EACCES || m_errno == EPERM;
    return readOnly ? Outcome::ReadOnly : Outcome::CannotWrite;
}

InstanceLock::Found InstanceLock::inspect(int *staleFd)
{
    const int fd = ::open(native(m_path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_errno = errno;
        return errno == ENOENT ? Found::Nothing : Found::Unusable;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_errno = S_ISDIR(st.st_mode) ? EISDIR : DurableFile::kNotRegularFile;
        ::close(fd);
        return Found::Unusable;
    }
    QByteArray content(qMin<qint64>(st.st_size, 4096), '\0');
    const ssize_t got = ::pread(fd, content.data(), static_cast<size_t>(content.size()), 0);
    content.truncate(got > 0 ? got : 0);
    const bool known = parse(content, &m_holder);
    const bool here = !known || m_holder.host == QSysInfo::machineHostName();
    const std::optional<bool> held = lockedElsewhere(fd);
    // Where locks cannot be seen (some network file systems), a process of this computer
    // that still runs under that number is taken as the holder.
    const bool live = held.value_or(known && here && processRuns(m_holder.pid));
    if (live || !here) {
        ::close(fd);
        if (!known) {
            m_holder = {};
            m_holder.host = QSysInfo::machineHostName();
        }
        // Nobody on this computer holds it: one that names another computer may be held there.
        return here ? Found::HeldHere : Found::HeldElsewhere;
    }
    *staleFd = fd;
    return Found::Stale;
}

// Writes the lock under a work name and locks it, then puts it in place: by link() when
// the place must be free, by rename() over a lock that is taken over.
InstanceLock::Installed InstanceLock::install(Placement placement)
{
    const Holder me{QCoreApplication::applicationPid(), QSysInfo::machineHostName(),
                    QDateTime::currentDateTimeUtc()};
    const QByteArray content = describe(me);
    const QByteArray work =
        native(m_path + QStringLiteral(".~%1").arg(QRandomGenerator::global()->bounded(1000000), 6, 10,
                                                   QLatin1Char('0')));
    const QByteArray target = native(m_path);
    const int fd = ::open(work.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_errno = errno;
        return Installed::Failed;
    }
    const auto give = [&](Installed result, int errnum) {
        m_errno = errnum;
        ::close(fd);
        ::unlink(work.constData());
        return result;
    };
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    const ssize_t written = ::write(fd, content.constData(), static_cast<size_t>(content.size()));
    if (written != content.size())
        return give(Installed::Failed, written < 0 ? errno : ENOSPC);
    if (::fsync(fd) != 0)
        return give(Installed::Failed, errno);
    if (placement == Placement::Over) {
        if (::rename(work.constData(), target.constData()) != 0)
            return give(Installed::Failed, errno);
    } else if (::link(work.constData(), target.constData()) == 0) {
        ::unlink(work.constData());
    } else if (errno == EEXIST) {
        return give(Installed::Taken, EEXIST);
    } else if (errno == EPERM || errno == ENOSYS || errno == EOPNOTSUPP) {
        // A file system without links (a USB stick): a rename that refuses to replace.
        if (::renameat2(AT_FDCWD, work.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) {
            if (errno == EEXIST || ::access(target.constData(), F_OK) == 0)
                return give(Installed::Taken, EEXIST);
            if (::rename(work.constData(), target.constData()) != 0)
                return give(Installed::Failed, errno);
        }
    } else {
        return give(Installed::Failed, errno);
    }
    m_fd = fd;
    m_errno = 0;
    m_holder = me;
    return Installed::Done;
}
