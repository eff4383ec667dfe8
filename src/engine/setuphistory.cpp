#include "engine/setuphistory.h"

#include "engine/tuningfile.h"
#include "protocol/helper.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// A name can be taken by another program between two tries: this many are enough for any
// number of writers at once.
constexpr int kNameTries = 1000;

struct Entry {
    QString name;
    qint64 sequence = -1; // -1: named by its time alone, kept before the sequence numbers
};

// Oldest written first: the unnumbered files (by their UTC time), then by sequence number.
QVector<Entry> entriesOf(const QString& folder)
{
    static const QRegularExpression numbered(QStringLiteral("^(\\d{6,18})-"));
    QVector<Entry> entries;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = numbered.match(name);
        entries.push_back({name, m.hasMatch() ? m.captured(1).toLongLong() : -1});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.sequence < b.sequence; });
    return entries;
}

QString timeText(const QDateTime& utc)
{
    return utc.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss.zzz")) + QStringLiteral("Z");
}

// A serial number as one folder name: what a file system may refuse becomes '_'.
QString serialFolder(const QString& serial)
{
    QString name = serial;
    for (QChar& c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    return name;
}

// The file parsed as a snapshot, or nothing (a corrupt or foreign file).
std::optional<SetupHistory::Snapshot> snapshotAt(const QString& path)
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(TuningFile::kMaxBytes + 1) : QByteArray();
    const TuningFile::Result result = TuningFile::parse(bytes);
    if (bytes.size() > TuningFile::kMaxBytes || !result.ok() || result.version != TuningFile::kVersion
        || result.header.reason.isEmpty()) {
        qDebug().noquote() << "History: skipped" << path
                           << "(" + (result.ok() ? QStringLiteral("not a snapshot") : result.field + result.detail) + ")";
        return std::nullopt;
    }
    return SetupHistory::Snapshot{path, result.header.date, result.header.reason, result.header.board, result.setup};
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

QString SetupHistory::folderOf(const ControllerId& controller) const
{
    const QString model = rootPath + QLatin1Char('/') + folderName(controller.boardWord);
    return controller.hasSerial() ? model + QLatin1Char('/') + serialFolder(controller.serial) : model;
}

QVector<SetupHistory::Snapshot> SetupHistory::snapshots(const ControllerId& controller) const
{
    return read(folderOf(controller), -1);
}

std::optional<SetupHistory::Snapshot> SetupHistory::newest(const ControllerId& controller) const
{
    const QVector<Snapshot> found = read(folderOf(controller), 1);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QVector<SetupHistory::Snapshot> SetupHistory::unknownBoard(const ControllerId& controller) const
{
    if (!controller.hasSerial())
        return {};
    return read(rootPath + QLatin1Char('/') + folderName(controller.boardWord), -1);
}

QVector<SetupHistory::Snapshot> SetupHistory::read(const QString& folder, int most) const
{
    QVector<Entry> entries = entriesOf(folder);
    std::reverse(entries.begin(), entries.end());
    QVector<Snapshot> found;
    for (const Entry& entry : entries) {
        if (most >= 0 && found.size() >= most)
            break;
        if (std::optional<Snapshot> s = snapshotAt(folder + QLatin1Char('/') + entry.name))
            found.push_back(*s);
    }
    return found;
}

QString SetupHistory::write(const ControllerId& controller, const SetupRecord& setup, const QString& reason,
                            const QString& boardText)
{
    const QString folder = folderOf(controller);
    if (!QDir().mkpath(folder)) {
        failed(folder, QStringLiteral("the folder cannot be made"));
        return QString();
    }
    const QDateTime now = clock().toUTC();
    const QByteArray bytes = TuningFile::toJson(setup, {boardText, now, reason});

    // Written whole under a name of this process's own, then given its place by a link that
    // fails where the name is taken: another program's snapshot is never overwritten, and none
    // is ever seen half written.
    const QString staging = folder + QStringLiteral("/.writing-%1-%2.tmp")
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(quintptr(this), 0, 16);
    QFile file(staging);
    QFile::remove(staging);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush()
        || ::fsync(file.handle()) != 0) {
        const QString error = file.errorString();
        file.close();
        QFile::remove(staging);
        failed(folder, error);
        return QString();
    }
    file.close();

    qint64 sequence = 1;
    const QVector<Entry> entries = entriesOf(folder);
    if (!entries.isEmpty())
        sequence = qMax<qint64>(entries.last().sequence + 1, 1);
    QString path;
    for (int tries = 0; tries < kNameTries && path.isEmpty(); ++tries, ++sequence) {
        const QString candidate = folder + QStringLiteral("/%1-%2.json")
                                               .arg(sequence, 6, 10, QLatin1Char('0'))
                                               .arg(timeText(now));
        const QByteArray from = QFile::encodeName(staging);
        const QByteArray to = QFile::encodeName(candidate);
        if (::link(from.constData(), to.constData()) == 0) {
            path = candidate;
        } else if (errno != EEXIST) {
            // A file system without hard links: a rename that refuses a taken name.
            if (QFile::rename(staging, candidate))
                path = candidate;
            else if (!QFile::exists(candidate))
                break;
        }
    }
    QFile::remove(staging);
    if (path.isEmpty()) {
        failed(folder, QStringLiteral("no free name for a snapshot"));
        return QString();
    }
    qDebug().noquote() << "History:" << reason << "snapshot" << path;
    prune(folder, path);
    return QFileInfo::exists(path) ? path : QString();
}

QString SetupHistory::writeIfChanged(const ControllerId& controller, const SetupRecord& setup, const QString& reason,
                                     const QString& boardText, bool* unchanged)
{
    const std::optional<Snapshot> last = newest(controller);
    *unchanged = last && last->setup == setup;
    if (*unchanged)
        return QString();
    return write(controller, setup, reason, boardText);
}

void SetupHistory::failed(const QString& folder, const QString& error)
{
    qDebug().noquote() << "History: no snapshot written to" << folder + ":" << error;
    if (failureSaid)
        return;
    failureSaid = true;
    emit unwritable(folder, error);
}

void SetupHistory::prune(const QString& folder, const QString& keep) const
{
    // Only snapshots count and only snapshots go: a foreign or corrupt file stays untouched.
    // With no more files than the limit there is nothing to count.
    const QVector<Entry> entries = entriesOf(folder);
    if (entries.size() <= kLimit)
        return;
    QStringList written;
    for (const Entry& entry : entries) {
        const QString path = folder + QLatin1Char('/') + entry.name;
        if (snapshotAt(path))
            written << path;
    }
    for (int i = 0, surplus = written.size() - kLimit; i < written.size() && surplus > 0; ++i) {
        if (written[i] == keep)
            continue;
        if (QFile::remove(written[i]))
            --surplus;
        else
            qDebug().noquote() << "History: cannot remove" << written[i];
    }
}
