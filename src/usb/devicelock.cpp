#include "usb/devicelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString runtimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

qint64 readPid(int fd)
{
    char text[32] = {};
    const ssize_t n = pread(fd, text, sizeof text - 1, 0);
    if (n <= 0)
        return 0;
    bool ok = false;
    const qint64 pid = QByteArray(text, int(n)).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

} // namespace

DeviceLock::~DeviceLock()
{
    release();
}

QString DeviceLock::fileFor(unsigned short vendorId, unsigned short productId, const QString& serial,
                           const QByteArray& path)
{
    QString name = QStringLiteral("orvante-%1-%2")
                       .arg(vendorId, 4, 16, QLatin1Char('0'))
                       .arg(productId, 4, 16, QLatin1Char('0'));
    // "sn-" and "at-" keep a serial number from ever naming the same file as a path.
    if (!serial.isEmpty())
        name += QStringLiteral("-sn-") + QString::fromLatin1(QUrl::toPercentEncoding(serial));
    else if (!path.isEmpty())
        name += QStringLiteral("-at-") + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLocal8Bit(path)));
    return runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

QString DeviceLock::updateGuardFor(unsigned short vendorId, unsigned short productId)
{
    return runtimeFolder()
        + QStringLiteral("/orvante-%1-%2.update.lock")
              .arg(vendorId, 4, 16, QLatin1Char('0'))
              .arg(productId, 4, 16, QLatin1Char('0'));
}

DeviceLock::Result DeviceLock::probe(const QString& file, qint64* holder)
{
    *holder = 0;
    const QByteArray name = QFile::encodeName(file);
    const int handle = ::open(name.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (handle < 0)
        return Result::Unavailable;
    int rc;
    do {
        rc = ::flock(handle, LOCK_SH | LOCK_NB);
    } while (rc < 0 && errno == EINTR);
    const bool held = rc < 0 && errno == EWOULDBLOCK;
    if (held)
        *holder = readPid(handle);
    ::close(handle); // drops the shared lock, if it was granted
    if (held)
        return Result::Held;
    return rc < 0 ? Result::Unavailable : Result::Taken;
}

DeviceLock::Result DeviceLock::take(const QString& file)
{
    release();
    holderPid = 0;
    const QByteArray name = QFile::encodeName(file);
    // Never through a link someone planted in a shared temporary folder. Another user's file
    // there can still be locked read-only; only the pid is not written then.
    int handle = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    const bool writable = handle >= 0;
    if (!writable)
        handle = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (handle < 0)
        return Result::Unavailable;

    int rc;
    do {
        rc = ::flock(handle, LOCK_EX | LOCK_NB);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        const bool held = errno == EWOULDBLOCK;
        if (held)
            holderPid = readPid(handle);
        ::close(handle);
        return held ? Result::Held : Result::Unavailable;
    }
    fd = handle;
    if (writable && ::ftruncate(fd, 0) == 0) {
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        // Unwritten, the lock holds all the same; only the other program cannot name us.
        const ssize_t written = ::pwrite(fd, pid.constData(), size_t(pid.size()), 0);
        Q_UNUSED(written)
    }
    return Result::Taken;
}

void DeviceLock::release()
{
    if (fd < 0)
        return;
    // The file stays: removed, a program that opened it just before could lock the unlinked
    // file while a third one makes and locks a new one under the same name.
    ::flock(fd, LOCK_UN);
    ::close(fd);
    fd = -1;
}
