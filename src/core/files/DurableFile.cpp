#include "DurableFile.h"

#include "SystemCalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The mode a file created by the program gets, as open() would give it.
mode_t creationMode()
{
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

// Where the bytes really go: a link is followed, so that the link stays and its target
// gets the new content.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// A descriptor that is closed when it goes, its failure ignored: used only where the
// content is already safe or already given up.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            Platform::systemCalls().close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    // Closes it, saying whether the system accepted everything written.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return Platform::systemCalls().close(fd) == 0;
    }

private:
    int m_fd;
};

bool syncDirectory(const QString &directory)
{
    Descriptor dir(
        Platform::systemCalls().open(native(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    return dir.get() >= 0 && Platform::systemCalls().fsync(dir.get()) == 0;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = Platform::systemCalls().write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

void takePermissions(int fd, const struct stat *from)
{
    if (!from) {
        ::fchmod(fd, creationMode());
        return;
    }
    // The owner first: a change of owner may clear the set-id bits that the mode then restores.
    // At least the group, when we belong to it; else the file is its writer's, its mode kept.
    const bool owned = ::fchown(fd, from->st_uid, from->st_gid) == 0 ||
                       ::fchown(fd, static_cast<uid_t>(-1), from->st_gid) == 0;
    Q_UNUSED(owned)
    ::fchmod(fd, from->st_mode & 07777);
}

// A work name beside `target`: its name, ".~" and six random letters or digits.
QString createWorkName(const QString &target)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix(6, QLatin1Char('0'));
    for (QChar &c : suffix)
        c = QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return target + QStringLiteral(".~") + suffix;
}

// A name beside `target` that nothing has yet, opened for writing.
int createWorkFile(const QString &target, QString *work)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *work = createWorkName(target);
        const int fd = Platform::systemCalls().open(native(*work).constData(),
                                                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A file without a name in the folder of `target`: if the write stops half-way, nothing is
// left behind. -1 where the file system cannot make one.
int createUnnamedWorkFile(const QString &target)
{
    if (!QFileInfo::exists(QStringLiteral("/proc/self/fd")))
        return -1; // it could not be given a name once complete
    return Platform::systemCalls().open(native(QFileInfo(target).absolutePath()).constData(),
                                        O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

bool unsupported(int errnum)
{
    return errnum == EINVAL || errnum == ENOSYS || errnum == EOPNOTSUPP || errnum == EPERM;
}

enum class Commit
{
    Done,
    Failed
};

// Puts the complete, synced `work` file in the place of `target`. On failure `target` is
// as it was and `work` is gone.
Commit commit(const QString &work, const QString &target, bool existed, int *errnum)
{
    SystemCalls &sys = Platform::systemCalls();
    const QByteArray from = native(work);
    const QByteArray to = native(target);
    const QString directory = QFileInfo(target).absolutePath();
    const auto fail = [&] {
        *errnum = errno;
        sys.unlink(from.constData());
        return Commit::Failed;
    };

    if (existed) {
        // Exchanged rather than renamed over, so that the former file stays under the work
        // name until the directory is known to be on disk, and can be put back.
        if (sys.rename(from.constData(), to.constData(), RENAME_EXCHANGE) == 0) {
            if (!syncDirectory(directory)) {
                *errnum = errno;
                if (sys.rename(from.constData(), to.constData(), RENAME_EXCHANGE) == 0) {
                    sys.unlink(from.constData());
                    syncDirectory(directory);
                    return Commit::Failed;
                }
                // Nothing can be undone: the new content is what the folder shows.
            }
            sys.unlink(from.constData());
            return Commit::Done;
        }
        if (!unsupported(errno))
            return fail();
        // A file system that cannot exchange two names (a USB stick, a network share):
        // one rename, which either happens whole or not at all.
        if (sys.rename(from.constData(), to.constData(), 0) != 0)
            return fail();
        syncDirectory(directory);
        return Commit::Done;
    }

    if (sys.rename(from.constData(), to.constData(), RENAME_NOREPLACE) != 0) {
        if (!unsupported(errno))
            return fail();
        if (sys.link(from.constData(), to.constData()) != 0)
            return fail();
        sys.unlink(from.constData());
    }
    if (!syncDirectory(directory)) {
        *errnum = errno;
        if (sys.unlink(to.constData()) == 0)
            return Commit::Failed;
    }
    return Commit::Done;
}

} // namespace

namespace DurableFile {

QString cause(int errnum)
{
    switch (errnum) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("plus de place sur le disque");
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé");
    case EROFS:
        return QStringLiteral("le disque est en lecture seule");
    case EIO:
        return QStringLiteral("erreur d'entrée-sortie (le disque ne répond pas correctement)");
    case EEXIST:
        return QStringLiteral("un fichier de ce nom existe déjà");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("le fichier ou son dossier est introuvable");
    case EISDIR:
        return QStringLiteral("c'est un dossier, pas un fichier");
    case kNotRegularFile:
        return QStringLiteral("ce n'est pas un fichier ordinaire");
    case ENAMETOOLONG:
        return QStringLiteral("le nom du fichier est trop long");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("trop de fichiers sont ouverts");
    case ENOMEM:
        return QStringLiteral("la mémoire manque");
    case EFBIG:
        return QStringLiteral("le fichier est trop grand pour ce disque");
    default:
        return QStringLiteral("erreur du système n° %1").arg(errnum);
    }
}

QString shownName(const QString &path, const FileLabel &label)
{
    return label.name.isEmpty() ? QStringLiteral("le fichier ") + fileName(path) : label.name;
}

namespace {

// At the start of a sentence.
QString subject(const QString &path, const FileLabel &label)
{
    QString name = shownName(path, label);
    name[0] = name.at(0).toUpper();
    return name;
}

} // namespace

QString readFailure(const QString &path, const QString &why, const FileLabel &label)
{
    return QStringLiteral("%1 ne peut pas être lu%2 :\r\n%3.")
        .arg(subject(path, label), label.feminine ? QStringLiteral("e") : QString(), why);
}

QString writeFailure(const QString &path, const QString &why, bool existed, const FileLabel &label)
{
    const QString e = label.feminine ? QStringLiteral("e") : QString();
    if (!existed)
        return QStringLiteral("%1 n'a pas pu être créé%2 :\r\n%3.").arg(subject(path, label), e, why);
    return QStringLiteral("%1 n'a pas pu être enregistré%2 :\r\n%3.\r\n\r\n"
                          "Son contenu précédent est conservé.")
        .arg(subject(path, label), e, why);
}

bool openForReading(const QString &path, QFile *file, bool *missing, QString *why)
{
    *missing = false;
    // Without O_NONBLOCK, opening a pipe would wait for a writer that never comes.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT && !QFileInfo(path).isSymLink()) {
            *missing = true;
            return false;
        }
        *why = cause(errno);
        return false;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0) {
        *why = cause(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        *why = cause(S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile);
        return false;
    }
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *why = cause(EIO);
        return false;
    }
    return true;
}

bool read(const QString &path, QByteArray *bytes, bool *missing, QString *why)
{
    bytes->clear();
    QFile file;
    if (!openForReading(path, &file, missing, why))
        return *missing;
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *why = cause(EIO);
        return false;
    }
    return true;
}

bool write(const QString &path, QByteArrayView bytes, const Options &options, QString *error)
{
    const QString target = resolved(path);
    struct stat current = {};
    const bool existed = ::stat(native(target).constData(), &current) == 0;
    const auto failed = [&](const QString &why) {
        *error = writeFailure(path, why, existed, options.label);
        return false;
    };
    if (existed && S_ISDIR(current.st_mode))
        return failed(cause(EISDIR));
    if (existed && !S_ISREG(current.st_mode))
        return failed(cause(kNotRegularFile));
    if (existed && options.existing == Existing::MustNotExist)
        return failed(cause(EEXIST));

    struct stat model = {};
    const struct stat *permissions = existed ? &current : nullptr;
    if (!options.permissionsFrom.isEmpty() &&
        ::stat(native(options.permissionsFrom).constData(), &model) == 0)
        permissions = &model;

    SystemCalls &sys = Platform::systemCalls();
    QString work;
    const int unnamed = options.work == WorkFile::Unnamed ? createUnnamedWorkFile(target) : -1;
    Descriptor fd(unnamed >= 0 ? unnamed : createWorkFile(target, &work));
    if (fd.get() < 0)
        return failed(cause(errno));
    takePermissions(fd.get(), permissions);
    if (!writeAll(fd.get(), bytes) || sys.fsync(fd.get()) != 0) {
        const int errnum = errno;
        if (unnamed < 0) // an unnamed one goes with its descriptor
            sys.unlink(native(work).constData());
        return failed(cause(errnum));
    }
    if (unnamed >= 0) {
        // Complete and on the disk: now it may have a name, for the moment of the swap.
        work = createWorkName(target);
        if (sys.link(QByteArray("/proc/self/fd/" + QByteArray::number(unnamed)).constData(),
                     native(work).constData()) != 0)
            return failed(cause(errno));
    }
    const QByteArray workName = native(work);
    if (!fd.close()) {
        const int errnum = errno;
        sys.unlink(workName.constData());
        return failed(cause(errnum));
    }
    int errnum = 0;
    if (commit(work, target, existed, &errnum) == Commit::Failed)
        return failed(cause(errnum));
    return true;
}

bool writeIntoUserFolder(const QString &path, QByteArrayView bytes, Existing existing, QString *error)
{
    const QFileInfo info(path);
    if (!info.suffix().isEmpty())
        removeWorkFiles(info.absolutePath(), {QStringLiteral("*.") + info.suffix()});
    Options options;
    options.existing = existing;
    options.work = WorkFile::Unnamed;
    return write(path, bytes, options, error);
}

bool replace(const QString &work, const QString &target, QString *error)
{
    struct stat current = {};
    const bool existed = ::stat(native(target).constData(), &current) == 0;
    if (existed) {
        // Owner, group and mode are changed through any descriptor of the file: a read-only
        // one, which writes nothing.
        const int fd = ::open(native(work).constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            takePermissions(fd, &current);
            ::close(fd);
        }
    }
    int errnum = 0;
    if (commit(work, target, existed, &errnum) == Commit::Done)
        return true;
    *error = writeFailure(target, cause(errnum), existed);
    return false;
}

int removeWorkFiles(const QString &directory, const QStringList &targets)
{
    static const QRegularExpression workSuffix(QStringLiteral("\\.~[A-Za-z0-9]{6}$"));
    QStringList filters;
    for (const QString &target : targets)
        filters << target + QStringLiteral(".~??????");
    const QDir dir(directory);
    int removed = 0;
    for (const QString &name : dir.entryList(filters, QDir::Files | QDir::Hidden | QDir::System)) {
        if (workSuffix.match(name).hasMatch() && ::unlink(native(dir.filePath(name)).constData()) == 0)
            ++removed;
    }
    return removed;
}

int removeWorkFiles(const QString &directory, const std::function<bool(const QString &name)> &isWorkFile)
{
    int removed = 0;
    const QDir dir(directory);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (isWorkFile(name) && QFileInfo(dir.filePath(name)).isFile() &&
            ::unlink(native(dir.filePath(name)).constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace DurableFile
