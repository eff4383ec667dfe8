#pragma once

#include "protocol/dspara.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The tuning backup: a DS_PARA as readable JSON that a pilot keeps before an experiment or a
// firmware update. Pure functions over bytes, so that every check can be reached without a
// widget or a file.
//
//   { "format": "orvante-tuning", "version": 1, "board": "...", "date": "...",
//     "parameters": { "avxy_max": 250, ..., "reserved": 0, "oneshot125": 0, "escType": 0 } }
namespace TuningFile {

constexpr const char* kFormatName = "orvante-tuning";
constexpr int kVersion = 1;
// Larger files are refused without being read.
constexpr qint64 kMaxBytes = 64 * 1024;

enum class Problem {
    None,
    NotJson,      // syntax error (also an empty or truncated file); detail: parser message
    WrongFormat,  // not an object, or the format name is missing or another one
    WrongVersion, // detail: the version found
    Missing,      // field: the missing field
    NotANumber,   // field: a string, boolean, null, object or array where a number belongs
    NotInteger,   // field: a fraction where the wire field is an integer
    OutOfRange,   // field: outside the range of its spin box (flag bytes: 0 or 1)
};

struct Result {
    Problem problem = Problem::None;
    QString field;  // the first bad field, by its record name
    QString detail;
    FCProtocol::DS_PARA record; // valid when problem is None
    bool ok() const { return problem == Problem::None; }
};

// The range a file value must lie in: the range of the field's spin box.
struct FieldRange {
    double minimum;
    double maximum;
};

// The 32 field names of DS_PARA in wire order.
QStringList fieldNames();
FieldRange rangeOf(const QString& field);

// The file for a record read from the controller.
QByteArray toJson(const FCProtocol::DS_PARA& record, const QString& board, const QDateTime& when);

// Checks the whole file; the first failing check names the problem.
Result parse(const QByteArray& bytes);

// How many of the 32 fields differ between two records (floats compared bit for bit).
int differingValues(const FCProtocol::DS_PARA& a, const FCProtocol::DS_PARA& b);

} // namespace TuningFile
