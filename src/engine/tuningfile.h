#pragma once

#include "engine/setuprecord.h"
#include "protocol/dspara.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The tuning backup: a pilot's setup as readable JSON, kept before an experiment or a firmware
// update and written by the automatic history. Pure functions over bytes, so that every check
// can be reached without a widget or a file.
//
//   { "format": "orvante-tuning", "version": 2, "board": "...", "date": "...",
//     "reason": "before-store",                       (snapshots of the history only)
//     "parameters": { "avxy_max": 250, ..., "reserved": 0, "oneshot125": 0, "escType": 0 },
//     "radio": { "reverse0": 0, ..., "positionMode1": 2, ..., "modeButton": 0 },   (optional)
//     "airframe": { "airframe": 0, "mounting": 0 } }                              (optional)
//
// Version 1 files carry the parameters alone and load as they always did.
namespace TuningFile {

constexpr const char* kFormatName = "orvante-tuning";
constexpr int kVersion = 2;
constexpr int kFirstVersion = 1;
// Larger files are refused without being read.
constexpr qint64 kMaxBytes = 64 * 1024;

enum class Problem {
    None,
    Unreadable,   // the file cannot be opened or read; detail: the system's reason
    TooLarge,     // over kMaxBytes, refused unread
    NotJson,      // syntax error (also an empty or truncated file); detail: parser message
    WrongFormat,  // not an object, or the format name is missing or another one
    WrongVersion, // detail: the version found
    Missing,      // field: the missing field (or the section "parameters")
    NotASection,  // field: a section ("parameters", "radio", "airframe") that is not an object
    NotANumber,   // field: a string, boolean, null, object or array where a number belongs
    NotInteger,   // field: a fraction where the wire field is an integer
    OutOfRange,   // field: outside the range of its spin box (flag bytes: 0 or 1)
};

// What a file says besides the setup.
struct Header {
    QString board;
    QDateTime date;
    QString reason; // why the history took it; empty for a file the pilot saved
};

struct Result {
    Problem problem = Problem::None;
    QString field;  // the first bad field, by its record name
    QString detail;
    int version = 0;
    Header header;
    SetupRecord setup;          // valid when problem is None; always has parameters
    FCProtocol::DS_PARA record; // the parameters, valid when problem is None
    bool ok() const { return problem == Problem::None; }
};

// The range a file value must lie in: the range of the field's spin box.
struct FieldRange {
    double minimum;
    double maximum;
};

// The names of every field of every section, in file order.
QStringList fieldNames();
FieldRange rangeOf(const QString& field);

// A version-2 file with the sections the record has (the parameters at least).
QByteArray toJson(const SetupRecord& setup, const Header& header);
// A version-1 file: the parameters alone, as older programs write and read them.
QByteArray toJson(const FCProtocol::DS_PARA& record, const QString& board, const QDateTime& when);

// Checks the whole file, every section; the first failing check names the problem.
Result parse(const QByteArray& bytes);

// How many of the 32 parameter fields differ between two records (floats compared bit for bit).
int differingValues(const FCProtocol::DS_PARA& a, const FCProtocol::DS_PARA& b);

} // namespace TuningFile
