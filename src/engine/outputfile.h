#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file written beside its target and renamed over it only once it is whole and on the disk:
// a run that fails, however it ends, leaves the file that was there before as it was. The
// temporary file has a name (".<name>-XXXXXX.part" in the target's folder), so a program killed
// in the middle of a long recording leaves what it had written there. Every failure is kept as
// a value, with the system's reason for the message.
class OutputFile
{
public:
    explicit OutputFile(const QString& path);
    // Without a successful commit() the temporary file goes and the target stays as it was.
    ~OutputFile();
    Q_DISABLE_COPY(OutputFile)

    QString path() const { return target; }
    QString temporaryPath() const { return file.fileName(); }

    // Makes the temporary file beside the target; false when it cannot (see errorString()).
    bool open();
    // Appends, unbuffered: every call is on its way to the disk when it returns. False once
    // any write has failed (a full disk), and every call after it too.
    bool write(const QByteArray& bytes);
    // Flushes to the disk and renames over the target; false with the reason when any part of
    // the file, or the rename, failed.
    bool commit();
    QString errorString() const { return error; }

    // The whole file at once. Empty when it was written, else the reason.
    static QString save(const QString& path, const QByteArray& bytes);

private:
    void fail(const QString& why);

    QString target;
    QFile file;
    QString error;
    bool failed = false;
    bool committed = false;
};
