#pragma once

#include <QByteArray>
#include <QString>

// One program at a time on a controller: an exclusive flock on a file named after the
// controller, in the user's runtime folder. Taken right after the open and released at the
// close; the kernel drops it with the process, so a program that crashed never leaves the
// controller claimed. Never waits: a held lock is an answer, not a queue.
class DeviceLock
{
public:
    enum class Result {
        Taken,       // this object holds the lock now
        Held,        // another open file holds it: another program (or transport) has the controller
        Unavailable, // the lock file cannot be made; the caller goes on without a lock
    };

    DeviceLock() = default;
    ~DeviceLock();
    Q_DISABLE_COPY(DeviceLock)

    // The lock file of a controller: its ids and, where known, its device path (the hidraw node),
    // under $XDG_RUNTIME_DIR, else the temporary folder.
    static QString fileFor(unsigned short vendorId, unsigned short productId, const QByteArray& path);

    // Takes the lock on `file` without waiting and writes this process id into it. On Held,
    // holder() tells the process id the holder wrote (0 if it could not be read).
    Result take(const QString& file);
    void release();

    bool isTaken() const { return fd >= 0; }
    qint64 holder() const { return holderPid; }

private:
    int fd = -1;
    qint64 holderPid = 0;
};
