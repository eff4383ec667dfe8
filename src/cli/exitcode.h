#pragma once

// The exit codes of orvante-cli, the same for every command; --help and the man page list them.
namespace ExitCode {

enum : int {
    Done = 0,
    Differs = 1,      // differences found: diff, or a read-back that differs after restore
    Usage = 2,        // the command line is wrong
    NoController = 3, // no controller answered, or the link was silent past the time limit
    BadFile = 4,      // an input file was refused before anything was sent
    Refused = 5,      // another board, or the same version, without --force
    UpdateFailed = 6, // verify mismatch: the controller stays in its bootloader
    InUse = 7,        // another ORVANTE program holds the controller
    OutputFailed = 8, // standard output or an output file could not be written
};

} // namespace ExitCode
