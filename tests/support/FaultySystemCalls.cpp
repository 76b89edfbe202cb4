#include "FaultySystemCalls.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

FaultySystemCalls::~FaultySystemCalls()
{
    Platform::setSystemCalls(nullptr);
    for (int fd : m_open + m_unsynced) // left open by a death: closed as the process's end would
        ::close(fd);
}

void FaultySystemCalls::loseUnsynced()
{
    for (int fd : m_dirty + m_unsynced)
        (void)::ftruncate(fd, 0);
}

bool FaultySystemCalls::passes(const char *call)
{
    if (!m_dead) {
        m_trace.append(QLatin1String(call));
        if (m_call && qstrcmp(m_call, call) == 0 && --m_callsLeft == 0)
            m_at = m_calls + 1;
        m_dead = ++m_calls == m_at && m_errnum == 0;
        if (m_dead)
            loseUnsynced();
    }
    errno = m_dead ? EIO : m_errnum;
    return !m_dead && !chosen();
}

int FaultySystemCalls::open(const char *path, int flags, mode_t mode)
{
    if (!passes("open"))
        return -1;
    const int fd = SystemCalls::open(path, flags, mode);
    if (fd >= 0)
        m_open.append(fd);
    return fd;
}

ssize_t FaultySystemCalls::write(int fd, const void *data, size_t size)
{
    if (passes("write") && !m_failNextWrite) {
        if (!m_dirty.contains(fd))
            m_dirty.append(fd);
        return SystemCalls::write(fd, data, size);
    }
    const bool shortWrite = !m_dead && chosen() && size > 1;
    m_failNextWrite = shortWrite;
    if (!m_dead)
        errno = m_errnum;
    return shortWrite ? SystemCalls::write(fd, data, size / 2) : -1;
}

// What did not reach the disk is lost when an fsync or a close fails (a network share
// reports its write errors at the close): a program that went on regardless would
// publish a cut file.
void FaultySystemCalls::loseHalf(int fd) const
{
    const int errnum = errno;
    struct stat st = {};
    if (!m_dead && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        (void)::ftruncate(fd, st.st_size / 2);
    errno = errnum;
}

int FaultySystemCalls::fsync(int fd)
{
    if (passes("fsync")) {
        m_dirty.removeOne(fd);
        return SystemCalls::fsync(fd);
    }
    loseHalf(fd);
    return -1;
}

int FaultySystemCalls::close(int fd)
{
    const bool passed = passes("close");
    if (m_dead)
        return -1;
    if (!passed)
        loseHalf(fd);
    // A failing close still closes, as on Linux.
    m_open.removeOne(fd);
    if (m_dirty.removeOne(fd))
        m_unsynced.append(::dup(fd));
    const int result = SystemCalls::close(fd);
    return passed ? result : -1;
}

int FaultySystemCalls::link(const char *from, const char *to)
{
    return passes("link") ? SystemCalls::link(from, to) : -1;
}

int FaultySystemCalls::rename(const char *from, const char *to, unsigned flags)
{
    return passes(flags ? "renameat2" : "rename") ? SystemCalls::rename(from, to, flags) : -1;
}

int FaultySystemCalls::unlink(const char *path)
{
    return passes("unlink") ? SystemCalls::unlink(path) : -1;
}
