#pragma once

#include "engine/tuningfile.h"

#include <QCoreApplication>
#include <QString>

// A pilot's setup file on the disk, for the window and the command line alike: the one way to
// read and check it, the one wording of what is wrong with it, and the one way to write it
// (beside the target, renamed over it only when whole).
class SetupFile
{
    Q_DECLARE_TR_FUNCTIONS(SetupFile)

public:
    // Reads (at most TuningFile::kMaxBytes, a larger file is refused unread) and checks the
    // whole file, every section.
    static TuningFile::Result load(const QString& path);

    // What is wrong with a file, in the running language, as a clause that follows its name:
    // "no value for "escMin"", "a setup file of version 3; this program reads versions 1 and
    // 2". Empty for a good file.
    static QString problemText(const TuningFile::Result& result);

    // Writes a version-2 file with the sections `setup` has. Empty when it was written, else
    // the reason; the file that was there before is then left as it was.
    static QString save(const QString& path, const SetupRecord& setup, const TuningFile::Header& header);
};
