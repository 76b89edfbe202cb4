#pragma once

#include <QDateTime>
#include <QString>

// One copy of the program per program directory: two copies would each rewrite the
// stock from their own list and undo each other's work. The lock is the file
// "Vellorin.lock" in the directory, naming the computer, the process and the time it was
// taken, and locked by the running copy for as long as it runs. A lock that nobody holds
// (a copy that crashed, a file emptied or garbled) is taken over.
class InstanceLock
{
public:
    enum class Outcome
    {
        Acquired,
        HeldHere,      // by a running copy on this computer
        HeldElsewhere, // by a copy on another computer, which may or may not still run
        ReadOnly,      // the directory cannot hold the lock: nothing can be saved there
        CannotWrite    // the lock could not be written (a full disk, an input/output error)
    };

    struct Holder
    {
        qint64 pid = 0;
        QString host;
        QDateTime since;
    };

    explicit InstanceLock(const QString &directory);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    Outcome acquire();
    // The lock of another computer, taken over at the user's word.
    Outcome takeOver();

    QString fileName() const { return m_path; }
    // Who holds the lock, after HeldHere or HeldElsewhere.
    const Holder &holder() const { return m_holder; }
    // Why the lock could not be written, after ReadOnly or CannotWrite (an errno value).
    int failure() const { return m_errno; }

    // The lock file's content for this process.
    static QByteArray describe(const Holder &holder);
    static bool parse(const QByteArray &content, Holder *holder);

private:
    enum class Found
    {
        Nothing,
        Stale,
        HeldHere,
        HeldElsewhere,
        Unusable
    };
    enum class Placement
    {
        IfFree,
        Over
    };
    enum class Installed
    {
        Done,
        Taken,
        Failed
    };
    Installed install(Placement placement);
    Found inspect(int *staleFd);
    Outcome failed() const;

    QString m_path;
    int m_fd = -1;
    Holder m_holder;
    int m_errno = 0;
};
