#pragma once

#include "engine/setuphistory.h"
#include "engine/setupreader.h"
#include "engine/setuprestore.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

class PageFCPara;
class SetupKeeper;

namespace FCProtocol {
class Task;
}

// The parameter page's Save to file, Load from file and History buttons: asks for the file,
// shows the values that differ and the outcome of the write. The work is the engine's: the
// setup file (SetupFile), the reading (SetupReader), the restore with its verified write
// (SetupRestore) and the snapshots (SetupKeeper); this only asks and shows.
class SetupActions : public QObject
{
    Q_OBJECT

public:
    explicit SetupActions(PageFCPara* page);

    // The automatic history; without it no snapshot is kept and no history is shown.
    void setSetupKeeper(SetupKeeper* setupKeeper) { keeper = setupKeeper; }
    const SetupWrite* verifiedWrite() const { return restore.verifiedWrite(); }

    // The buttons: each asks for a file first.
    void saveClicked();
    void loadClicked();

    // Reads the controller's whole setup now, waiting for it; false when it could not be read.
    bool readSetup(SetupRecord* setup);
    // Reads the whole setup and writes it to `path`; the pilot sees a message on failure.
    // True when the file was written whole.
    bool save(const QString& path);
    // Checks `path` whole; a good file is compared with the controller's setup, the values that
    // differ are shown and, on OK, written and read back. The pilot sees the values that did not
    // take. True when something was sent.
    bool load(const QString& path);
    // The connected controller's history; true when a snapshot was sent.
    bool openHistory();

    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);

private:
    // Keeps the controller's setup in the history (when just read), writes `wanted` and waits
    // for the outcome, which the pilot sees when a value did not take.
    void bringBack(const SetupRecord& controller, bool controllerRead, const SetupRecord& wanted);
    void showOutcome(const SetupWrite::Outcome& outcome);
    // The folder the file dialogs open in, and where the last file was.
    static QString startFolder();
    static void rememberFolder(const QString& path);

    PageFCPara* page;
    SetupReader reader;
    SetupRestore restore;
    SetupKeeper* keeper = nullptr;
};
