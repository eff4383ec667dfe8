#pragma once

#include <QByteArray>
#include <QString>

// One program at a time on a controller: an exclusive flock on a file named after the
// controller, in the user's runtime folder (ControllerClaim decides which files and for how
// long). The kernel drops it with the process, so a program that crashed never leaves the
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

    // The lock file of a controller, under $XDG_RUNTIME_DIR, else the temporary folder: named
    // after its ids and its USB serial number, which follow the board wherever it is plugged
    // in, or after its device path (the hidraw node) when it reports no serial number, or
    // after the ids alone when neither is known. Characters other than letters, digits and
    // "-._~" are percent-encoded, so two names never share a file.
    static QString fileFor(unsigned short vendorId, unsigned short productId, const QString& serial,
                           const QByteArray& path);
    // The model's update guard: held by a program while it updates a controller of these ids.
    static QString updateGuardFor(unsigned short vendorId, unsigned short productId);

    // Whether another open file holds the lock on `file` now, without keeping it: Held (and
    // the holder's process id in *holder, 0 if unknown), Taken (free), or Unavailable. Probes
    // share: two programs probing at once never see each other as holders.
    static Result probe(const QString& file, qint64* holder);

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
