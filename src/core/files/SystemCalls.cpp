#include "SystemCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int SystemCalls::open(const char *path, int flags, mode_t mode)
{
    int fd = -1;
    do
        fd = ::open(path, flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t SystemCalls::write(int fd, const void *data, size_t size)
{
    return ::write(fd, data, size);
}

int SystemCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int SystemCalls::close(int fd)
{
    return ::close(fd);
}

int SystemCalls::link(const char *from, const char *to)
{
    // A link in /proc/self/fd is followed, so that a file still without a name gets one.
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW);
}

int SystemCalls::rename(const char *from, const char *to, unsigned flags)
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, flags);
}

int SystemCalls::unlink(const char *path)
{
    return ::unlink(path);
}

namespace Platform {

namespace {

SystemCalls *g_calls = nullptr;

} // namespace

SystemCalls &systemCalls()
{
    static SystemCalls real;
    return g_calls ? *g_calls : real;
}

void setSystemCalls(SystemCalls *calls)
{
    g_calls = calls;
}

} // namespace Platform
