#pragma once

#include <sys/types.h>

// The calls through which every file of the program is written. They sit behind one
// object so that a test can make any of them fail as a full or broken disk would, or stop
// the program dead at any of them, and then look at what is left on the disk.
class SystemCalls
{
public:
    virtual ~SystemCalls() = default;

    virtual int open(const char *path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void *data, size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int link(const char *from, const char *to);
    // renameat2(): flags 0, RENAME_NOREPLACE or RENAME_EXCHANGE.
    virtual int rename(const char *from, const char *to, unsigned flags);
    virtual int unlink(const char *path);
};

namespace Platform {

SystemCalls &systemCalls();
// Null puts the real calls back.
void setSystemCalls(SystemCalls *calls);

} // namespace Platform
