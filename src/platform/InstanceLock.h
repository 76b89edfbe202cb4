#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One copy of the program per program directory: two copies would each rewrite the
// stock from their own list and undo each other's work. The lock is a file in the
// directory naming the running process; one left by a copy that crashed is taken over.
class InstanceLock
{
public:
    enum class Outcome { Acquired, HeldByAnother, CannotLock };

    explicit InstanceLock(const QString &directory);
    Outcome acquire();
    QString path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
