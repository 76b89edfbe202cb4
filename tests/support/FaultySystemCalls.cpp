#include "FaultySystemCalls.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

FaultySystemCalls::FaultySystemCalls()
{
    Platform::setSystemCalls(this);
}

FaultySystemCalls::~FaultySystemCalls()
{
    Platform::setSystemCalls(nullptr);
    for (int fd : m_open)
        ::close(fd);
}

void FaultySystemCalls::failAt(int n, int errnum)
{
    m_at = m_calls + n;
    m_errnum = errnum;
    m_kill = false;
}

void FaultySystemCalls::killAt(int n)
{
    m_at = m_calls + n;
    m_kill = true;
}

FaultySystemCalls::Step FaultySystemCalls::next(const char *call, bool isWrite)
{
    if (m_dead) {
        errno = EIO;
        return Step::Fail;
    }
    m_trace.append(QLatin1String(call));
    if (++m_calls != m_at) {
        if (isWrite && m_failNextWrite) {
            m_failNextWrite = false;
            errno = m_errnum;
            return Step::Fail;
        }
        return Step::Real;
    }
    if (m_kill) {
        m_dead = true;
        errno = EIO;
        return Step::Fail;
    }
    errno = m_errnum;
    if (isWrite) {
        m_failNextWrite = true;
        return Step::ShortWrite;
    }
    return Step::Fail;
}

int FaultySystemCalls::open(const char *path, int flags, mode_t mode)
{
    if (next("open") == Step::Fail)
        return -1;
    const int fd = SystemCalls::open(path, flags, mode);
    if (fd >= 0)
        m_open.append(fd);
    return fd;
}

ssize_t FaultySystemCalls::write(int fd, const void *data, size_t size)
{
    switch (next("write", true)) {
    case Step::Fail:
        return -1;
    case Step::ShortWrite:
        if (size > 1)
            return SystemCalls::write(fd, data, size / 2);
        m_failNextWrite = false;
        return -1;
    case Step::Real:
        break;
    }
    return SystemCalls::write(fd, data, size);
}

int FaultySystemCalls::fsync(int fd)
{
    if (next("fsync") == Step::Real)
        return SystemCalls::fsync(fd);
    if (m_dead)
        return -1;
    // What did not reach the disk is lost: a program that went on regardless would
    // publish a cut file.
    struct stat st
    {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        (void)::ftruncate(fd, st.st_size / 2);
    return -1;
}

int FaultySystemCalls::close(int fd)
{
    // A failing close still closes, as on Linux.
    const Step step = next("close");
    if (m_dead)
        return -1; // closed when the process ends
    m_open.removeOne(fd);
    const int result = SystemCalls::close(fd);
    return step == Step::Fail ? -1 : result;
}

int FaultySystemCalls::link(const char *from, const char *to)
{
    return next("link") == Step::Fail ? -1 : SystemCalls::link(from, to);
}

int FaultySystemCalls::rename(const char *from, const char *to, unsigned flags)
{
    return next(flags ? "renameat2" : "rename") == Step::Fail ? -1 : SystemCalls::rename(from, to, flags);
}

int FaultySystemCalls::unlink(const char *path)
{
    return next("unlink") == Step::Fail ? -1 : SystemCalls::unlink(path);
}
