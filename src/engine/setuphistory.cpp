#include "engine/setuphistory.h"

#include "engine/tuningfile.h"
#include "protocol/helper.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kPattern = QStringLiteral("*.json");

// Sortable by name, and nothing a file system refuses.
QString fileNameOf(const QDateTime& utc)
{
    return utc.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss.zzz")) + QStringLiteral("Z");
}

QStringList snapshotFiles(const QString& folder)
{
    return QDir(folder).entryList({kPattern}, QDir::Files, QDir::Name);
}

} // namespace

SetupHistory::SetupHistory(const QString& root, QObject* parent)
    : QObject(parent)
    , rootPath(root)
    , clock([] { return QDateTime::currentDateTimeUtc(); })
{
}

QString SetupHistory::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/history");
}

QString SetupHistory::folderName(qint32 boardWord)
{
    const QString model = FCProtocol::Helper::modelName(boardWord);
    if (!model.isEmpty())
        return model;
    return QStringLiteral("board-%1").arg(FCProtocol::Helper::boardId(boardWord), 2, 16, QLatin1Char('0'));
}

QString SetupHistory::folderOf(qint32 boardWord) const
{
    return rootPath + QLatin1Char('/') + folderName(boardWord);
}

QVector<SetupHistory::Snapshot> SetupHistory::snapshots(qint32 boardWord) const
{
    return read(boardWord, -1);
}

std::optional<SetupHistory::Snapshot> SetupHistory::newest(qint32 boardWord) const
{
    const QVector<Snapshot> found = read(boardWord, 1);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QVector<SetupHistory::Snapshot> SetupHistory::read(qint32 boardWord, int most) const
{
    const QString folder = folderOf(boardWord);
    QStringList names = snapshotFiles(folder);
    std::reverse(names.begin(), names.end());
    QVector<Snapshot> found;
    for (const QString& name : names) {
        if (most >= 0 && found.size() >= most)
            break;
        const QString path = folder + QLatin1Char('/') + name;
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(TuningFile::kMaxBytes + 1) : QByteArray();
        const TuningFile::Result result = TuningFile::parse(bytes);
        if (bytes.size() > TuningFile::kMaxBytes || !result.ok()) {
            qDebug().noquote() << "History: skipped" << path << "(" + (result.field.isEmpty() ? result.detail : result.field) + ")";
            continue;
        }
        found.push_back({path, result.header.date, result.header.reason, result.header.board, result.setup});
    }
    return found;
}

QString SetupHistory::write(qint32 boardWord, const SetupRecord& setup, const QString& reason,
                            const QString& boardText)
{
    const QString folder = folderOf(boardWord);
    if (!QDir().mkpath(folder)) {
        failed(folder, QStringLiteral("the folder cannot be made"));
        return QString();
    }
    QDateTime now = clock().toUTC();
    // Two snapshots in one millisecond (a store right after connecting) keep both, in order.
    const auto pathAt = [&folder](const QDateTime& t) {
        return folder + QLatin1Char('/') + fileNameOf(t) + QStringLiteral(".json");
    };
    while (QFile::exists(pathAt(now)))
        now = now.addMSecs(1);
    const QString path = pathAt(now);

    QSaveFile file(path);
    const QByteArray bytes = TuningFile::toJson(setup, {boardText, now, reason});
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        failed(folder, file.errorString());
        return QString();
    }
    qDebug().noquote() << "History:" << reason << "snapshot" << path;
    prune(folder);
    return path;
}

QString SetupHistory::writeIfChanged(qint32 boardWord, const SetupRecord& setup, const QString& reason,
                                     const QString& boardText, bool* unchanged)
{
    const std::optional<Snapshot> last = newest(boardWord);
    *unchanged = last && last->setup == setup;
    if (*unchanged)
        return QString();
    return write(boardWord, setup, reason, boardText);
}

void SetupHistory::failed(const QString& folder, const QString& error)
{
    qDebug().noquote() << "History: no snapshot written to" << folder + ":" << error;
    if (failureSaid)
        return;
    failureSaid = true;
    emit unwritable(folder, error);
}

void SetupHistory::prune(const QString& folder) const
{
    const QStringList names = snapshotFiles(folder);
    for (int i = 0; i < names.size() - kLimit; ++i) {
        if (!QFile::remove(folder + QLatin1Char('/') + names[i]))
            qDebug().noquote() << "History: cannot remove" << names[i];
    }
}
