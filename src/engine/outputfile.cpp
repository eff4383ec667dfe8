#include "engine/outputfile.h"

#include <QFileInfo>

OutputFile::OutputFile(const QString& path)
    : target(path)
    , file(path)
{
}

bool OutputFile::open()
{
    if (QFileInfo(target).isDir()) {
        error = QStringLiteral("is a folder");
        failed = true;
        return false;
    }
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        failed = true;
        return false;
    }
    return true;
}

bool OutputFile::write(const QByteArray& bytes)
{
    if (failed)
        return false;
    if (file.write(bytes) != bytes.size()) {
        error = file.errorString();
        failed = true;
        // The temporary file is of no use any more; the target stays as it was.
        file.cancelWriting();
    }
    return !failed;
}

bool OutputFile::commit()
{
    if (failed)
        return false;
    if (!file.commit()) {
        error = file.errorString();
        failed = true;
        return false;
    }
    return true;
}

QString OutputFile::save(const QString& path, const QByteArray& bytes)
{
    OutputFile out(path);
    if (out.open() && out.write(bytes) && out.commit())
        return QString();
    return out.errorString().isEmpty() ? QStringLiteral("unknown error") : out.errorString();
}
