#pragma once

#include "engine/controllerid.h"
#include "engine/setupdiff.h"
#include "engine/setuprecord.h"
#include "engine/setuprestore.h"
#include "engine/tuningfile.h"
#include "protocol/dsinforrd.h"

#include <QCoreApplication>
#include <QString>

class CliOutput;
class CliSession;

// What backup, restore, diff and flash share about a pilot's setup: the setup file, the
// controller's reading, the history, the rows that differ and the store.
class CliSetup
{
    Q_DECLARE_TR_FUNCTIONS(CliSetup)

public:
    // Reads and checks a setup file: ExitCode::Done with `*result`, else BadFile with the
    // reason written (the first bad field, in the window's words).
    static int load(const QString& path, CliOutput& out, TuningFile::Result* result);

    // The controller's setup can be read only from its flight firmware: Done, or NoController
    // with the reason written when it waits in its bootloader.
    static int requireFirmware(const FCProtocol::DS_INFO_RD& info, CliOutput& out);

    // Reads the controller's whole setup (parameters, radio, airframe) through the session. A
    // reading that fails (a lost reply) is started again until the link's time limit.
    static int read(CliSession& session, SetupRecord* setup);

    // Brings `wanted` onto a controller that holds `controller`, proves it and, with
    // `thenStore`, stores it (SetupRestore), keeping the snapshots on the way: Done with
    // `*outcome`; NoController when it could not be read back or the store was not confirmed;
    // or the link's code.
    static int restore(CliSession& session, CliOutput& out, const ControllerId& controller,
                       const SetupRecord& held, const SetupRecord& wanted, bool thenStore,
                       SetupRestore::Outcome* outcome);

    // STORE until the controller confirms it (SetupStore): Done, NoController, or the link's code.
    static int store(CliSession& session, CliOutput& out);

    // The controller the session talks to: the board word of `info` and the USB serial number.
    static ControllerId controllerOf(CliSession& session, const FCProtocol::DS_INFO_RD& info);
    // This computer keeps a history of setups: the window has made its folder.
    static bool keepsHistory();
    // Keeps `setup` in the controller's history under `reason`, when this computer keeps one;
    // says so on standard error.
    static void keep(CliOutput& out, const ControllerId& controller, const SetupRecord& setup, const QString& reason);

    // The differing rows on standard output: a table with the two column titles, or JSON
    // (an array of objects with "section", "name" and the two values under `leftKey` and
    // `rightKey`).
    static void print(CliOutput& out, const QVector<SetupDiff::Row>& rows, bool json, const QString& leftTitle,
                      const QString& rightTitle, const QString& leftKey, const QString& rightKey);
};
