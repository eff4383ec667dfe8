#include "engine/outputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// A name nobody else is taking, whatever else writes into the folder.
constexpr int kNameTries = 100;

} // namespace

OutputFile::OutputFile(const QString& path)
    : target(path)
{
}

OutputFile::~OutputFile()
{
    if (file.isOpen())
        file.close();
    if (!committed && !file.fileName().isEmpty())
        QFile::remove(file.fileName());
}

void OutputFile::fail(const QString& why)
{
    if (!failed)
        error = why;
    failed = true;
}

bool OutputFile::open()
{
    const QFileInfo info(target);
    if (info.isDir()) {
        fail(QStringLiteral("is a folder"));
        return false;
    }
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        fail(QStringLiteral("no such folder"));
        return false;
    }
    for (int tries = 0; tries < kNameTries; ++tries) {
        const QString name = QStringLiteral(".%1-%2.part")
                                 .arg(info.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        file.setFileName(QDir(folder).filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (!file.exists())
            break;
    }
    fail(file.errorString());
    file.setFileName(QString());
    return false;
}

bool OutputFile::write(const QByteArray& bytes)
{
    if (failed)
        return false;
    if (!file.isOpen()) {
        fail(QStringLiteral("not open"));
        return false;
    }
    if (file.write(bytes) != bytes.size())
        fail(file.errorString());
    return !failed;
}

bool OutputFile::commit()
{
    if (failed || !file.isOpen()) {
        fail(QStringLiteral("not open"));
        return false;
    }
    // On the disk before it takes the target's name: a power cut never leaves a named but
    // empty file where the old one was.
    if (!file.flush() || ::fsync(file.handle()) != 0) {
        fail(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        fail(file.errorString());
        return false;
    }
    const QByteArray from = QFile::encodeName(file.fileName());
    const QByteArray to = QFile::encodeName(target);
    if (std::rename(from.constData(), to.constData()) != 0) {
        fail(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    committed = true;
    return true;
}

QString OutputFile::save(const QString& path, const QByteArray& bytes)
{
    OutputFile out(path);
    if (out.open() && out.write(bytes) && out.commit())
        return QString();
    return out.errorString();
}
