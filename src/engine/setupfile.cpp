#include "engine/setupfile.h"

#include "engine/outputfile.h"

#include <QFile>
#include <QFileInfo>

TuningFile::Result SetupFile::load(const QString& path)
{
    TuningFile::Result result;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        result.problem = TuningFile::Problem::Unreadable;
        result.detail = QFileInfo(path).isDir() ? QString() : file.errorString();
        return result;
    }
    // Read no further than the limit, however large the file is or grows meanwhile.
    const QByteArray bytes = file.read(TuningFile::kMaxBytes + 1);
    if (bytes.size() > TuningFile::kMaxBytes) {
        result.problem = TuningFile::Problem::TooLarge;
        return result;
    }
    return TuningFile::parse(bytes);
}

QString SetupFile::problemText(const TuningFile::Result& result)
{
    using Problem = TuningFile::Problem;
    switch (result.problem) {
    case Problem::None: break;
    case Problem::Unreadable: return tr("cannot be read");
    case Problem::TooLarge: return tr("larger than 64 KiB, not a setup file");
    case Problem::NotJson: return tr("not a setup file: %1").arg(result.detail);
    case Problem::WrongFormat: return tr("not a setup file: \"format\" is missing or names another format");
    case Problem::WrongVersion:
        return tr("a setup file of version %1; this program reads versions 1 and 2").arg(result.detail);
    case Problem::Missing: return tr("no value for \"%1\"").arg(result.field);
    case Problem::NotASection: return tr("\"%1\" is not a group of values").arg(result.field);
    case Problem::NotANumber: return tr("the value of \"%1\" is not a number").arg(result.field);
    case Problem::NotInteger: return tr("the value of \"%1\" must be a whole number").arg(result.field);
    case Problem::OutOfRange: {
        const TuningFile::FieldRange range = TuningFile::rangeOf(result.field);
        return tr("the value of \"%1\" is outside %2 to %3").arg(result.field).arg(range.minimum).arg(range.maximum);
    }
    }
    return QString();
}

QString SetupFile::save(const QString& path, const SetupRecord& setup, const TuningFile::Header& header)
{
    return OutputFile::save(path, TuningFile::toJson(setup, header));
}
