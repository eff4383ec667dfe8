#pragma once

#include "engine/setupdiff.h"
#include "engine/setuprecord.h"
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
    // reason written (the first bad field, as the window names it).
    static int load(const QString& path, CliOutput& out, TuningFile::Result* result);

    // The controller's setup can be read only from its flight firmware: Done, or NoController
    // with the reason written when it waits in its bootloader.
    static int requireFirmware(const FCProtocol::DS_INFO_RD& info, CliOutput& out);

    // Reads the controller's whole setup (parameters, radio, airframe) through the session. A
    // reading that fails (a lost reply) is started again until the link's time limit.
    static int read(CliSession& session, SetupRecord* setup);

    // Sends the writes that bring `wanted` onto a controller that holds `controller`, and waits
    // until each has finished (its status aside: the read-back decides).
    static int write(CliSession& session, const SetupRecord& controller, const SetupRecord& wanted);

    // STORE, sent again after a lost reply (storing twice keeps the same values), until the
    // controller answers: Done, or the link's code.
    static int store(CliSession& session);

    // This computer keeps a history of setups: the window has made its folder.
    static bool keepsHistory();
    // Keeps `setup` in the history under `reason`, when this computer keeps one; says so on
    // standard error.
    static void keep(CliOutput& out, qint32 boardWord, const SetupRecord& setup, const QString& reason);

    // The differing rows on standard output: a table with the two column titles, or JSON
    // (an array of objects with "section", "name" and the two values under `leftKey` and
    // `rightKey`).
    static void print(CliOutput& out, const QVector<SetupDiff::Row>& rows, bool json, const QString& leftTitle,
                      const QString& rightTitle, const QString& leftKey, const QString& rightKey);
};
