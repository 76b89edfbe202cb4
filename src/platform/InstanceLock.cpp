#include "InstanceLock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString &directory)
    : m_path(QDir(directory).filePath(QStringLiteral("Vellorin.lock")))
{
}

InstanceLock::Outcome InstanceLock::acquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a live process keeps the lock; age alone never makes it stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Outcome::Acquired;
    return m_lock->error() == QLockFile::LockFailedError ? Outcome::HeldByAnother : Outcome::CannotLock;
}
