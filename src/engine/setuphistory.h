#pragma once

#include "engine/controllerid.h"
#include "engine/setuprecord.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

// The automatic history of the setups ORVANTE has seen: version-2 tuning files with a reason,
// one folder per controller: <root>/<model>/<serial>/, or <root>/<model>/ for a controller that
// reports no serial number (and for the snapshots kept before controllers were told apart).
//
// Each file is created exclusively, named by a sequence number and its UTC time
// ("000042-2026-12-09T10-11-12.345Z.json"): two programs writing at once keep both, and the
// order in which snapshots were written never depends on the clock. At most kLimit snapshots
// per controller; the oldest written go first, never the one just written. A file that does not
// parse as a snapshot is skipped with a log line, neither counted nor deleted. A folder that
// cannot be written is said once per run (unwritable) and changes nothing else.
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
        QDateTime time; // UTC, as the writing computer's clock said
        QString reason;
        QString board;
        SetupRecord setup;
    };

    explicit SetupHistory(const QString& root, QObject* parent = nullptr);

    // The platform's application data folder (QStandardPaths::AppDataLocation) + "/history".
    static QString defaultRoot();
    // A model's folder name: the model name of the board table, untranslated ("Trelvo"), or
    // "board-40" (the id in hex) for a board without a name. The firmware version is left out,
    // so an update keeps the history, and it is plain ASCII in any language.
    static QString folderName(qint32 boardWord);

    QString root() const { return rootPath; }
    // The controller's own folder.
    QString folderOf(const ControllerId& controller) const;
    // The clock that dates new snapshots (UTC); the system's by default.
    void setClock(std::function<QDateTime()> now) { clock = std::move(now); }

    // The controller's snapshots, the last written first.
    QVector<Snapshot> snapshots(const ControllerId& controller) const;
    std::optional<Snapshot> newest(const ControllerId& controller) const;
    // For a controller with a serial number: the snapshots of its model kept without knowing
    // which board they came from (before controllers were told apart, or of a board that reports
    // no serial number), the last written first. Empty for a controller without one: those are
    // its own.
    QVector<Snapshot> unknownBoard(const ControllerId& controller) const;

    // Writes a snapshot, then removes the oldest beyond kLimit. Returns its path, only when the
    // file exists as it returns; empty when it could not be written.
    QString write(const ControllerId& controller, const SetupRecord& setup, const QString& reason,
                  const QString& boardText);
    // The same, unless `setup` equals the newest snapshot of the controller: then nothing is
    // written and `*unchanged` is set.
    QString writeIfChanged(const ControllerId& controller, const SetupRecord& setup, const QString& reason,
                           const QString& boardText, bool* unchanged);

signals:
    // The first failed write of the run: the folder and the system's reason.
    void unwritable(const QString& folder, const QString& error);

private:
    // The folder's snapshots, the last written first, at most `most` (-1: all).
    QVector<Snapshot> read(const QString& folder, int most) const;
    void failed(const QString& folder, const QString& error);
    void prune(const QString& folder, const QString& keep) const;

    QString rootPath;
    std::function<QDateTime()> clock;
    bool failureSaid = false;
};
