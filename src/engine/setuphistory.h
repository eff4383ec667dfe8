#pragma once

#include "engine/setuprecord.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

// The automatic history of the setups ORVANTE has seen: version-2 tuning files with a reason,
// one folder per board under the root, each file named by its UTC time. At most kLimit files
// per board; the oldest go first. A file that does not parse is skipped with a log line; a
// folder that cannot be written is said once per run (unwritable) and changes nothing else.
class SetupHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int kLimit = 200;

    // Why a snapshot was taken (the file's "reason").
    static constexpr const char* kConnected = "connected";
    static constexpr const char* kBeforeStore = "before-store";
    static constexpr const char* kBeforeDefaults = "before-defaults";
    static constexpr const char* kBeforeLoad = "before-load";
    static constexpr const char* kBeforeUpdate = "before-update";

    struct Snapshot {
        QString path;
        QDateTime time; // UTC
        QString reason;
        QString board;
        SetupRecord setup;
    };

    explicit SetupHistory(const QString& root, QObject* parent = nullptr);

    // The platform's application data folder (QStandardPaths::AppDataLocation) + "/history".
    static QString defaultRoot();
    // A board's folder: the model name of the board table, untranslated ("Trelvo"), or
    // "board-40" (the id in hex) for a board without a name. The firmware version is left out,
    // so an update keeps the history, and it is plain ASCII in any language.
    static QString folderName(qint32 boardWord);

    QString root() const { return rootPath; }
    QString folderOf(qint32 boardWord) const;
    // The clock that names new snapshots (UTC); the system's by default.
    void setClock(std::function<QDateTime()> now) { clock = std::move(now); }

    // Newest first.
    QVector<Snapshot> snapshots(qint32 boardWord) const;
    std::optional<Snapshot> newest(qint32 boardWord) const;

    // Writes a snapshot (through QSaveFile) and removes the oldest beyond kLimit. Returns its
    // path; empty when it could not be written.
    QString write(qint32 boardWord, const SetupRecord& setup, const QString& reason,
                  const QString& boardText);
    // The same, unless `setup` equals the newest snapshot of the board: then nothing is
    // written and `*unchanged` is set.
    QString writeIfChanged(qint32 boardWord, const SetupRecord& setup, const QString& reason,
                           const QString& boardText, bool* unchanged);

signals:
    // The first failed write of the run: the folder and the system's reason.
    void unwritable(const QString& folder, const QString& error);

private:
    // Newest first, at most `most` of them (-1: all).
    QVector<Snapshot> read(qint32 boardWord, int most) const;
    void failed(const QString& folder, const QString& error);
    void prune(const QString& folder) const;

    QString rootPath;
    std::function<QDateTime()> clock;
    bool failureSaid = false;
};
