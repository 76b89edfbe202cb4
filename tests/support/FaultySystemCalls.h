#pragma once

#include "core/files/SystemCalls.h"

#include <QList>
#include <QStringList>

// The program's file writes, made for real and counted, until the chosen one: that one
// fails with the chosen error, or the program dies there: from that call on nothing
// reaches the disk any more, as if the process had been killed, and what was written but
// never flushed by an fsync is lost, as at a power cut. A write chosen to fail
// writes half its bytes first, as a disk that fills up does, and the write after it
// fails; an fsync or a close chosen so loses the second half of the file.
class FaultySystemCalls final : public SystemCalls
{
public:
    FaultySystemCalls() { Platform::setSystemCalls(this); }
    ~FaultySystemCalls() override;
    FaultySystemCalls(const FaultySystemCalls &) = delete;
    FaultySystemCalls &operator=(const FaultySystemCalls &) = delete;

    // The n-th call from now (1 = the next).
    void failAt(int n, int errnum) { m_at = m_calls + n, m_errnum = errnum; }
    // The n-th call of that name from now ("write", 2: the second write).
    void failAt(const char *call, int n, int errnum) { m_call = call, m_callsLeft = n, m_errnum = errnum; }
    void killAt(int n) { failAt(n, 0); }
    int calls() const { return m_calls; }
    // The calls made so far, by name: "open", "write", "fsync"...
    const QStringList &trace() const { return m_trace; }

    int open(const char *path, int flags, mode_t mode) override;
    ssize_t write(int fd, const void *data, size_t size) override;
    int fsync(int fd) override;
    int close(int fd) override;
    int link(const char *from, const char *to) override;
    int rename(const char *from, const char *to, unsigned flags) override;
    int unlink(const char *path) override;

private:
    // Whether the call goes through; errno is set when it does not.
    bool passes(const char *call);
    bool chosen() const { return m_calls == m_at; }
    void loseHalf(int fd) const;
    void loseUnsynced();

    int m_calls = 0;
    int m_at = 0;
    const char *m_call = nullptr;
    int m_callsLeft = 0;
    int m_errnum = 0;
    bool m_dead = false;
    bool m_failNextWrite = false;
    QList<int> m_open;
    QList<int> m_dirty;    // open, written since their last fsync
    QList<int> m_unsynced; // copies of descriptors closed without an fsync
    QStringList m_trace;
};
