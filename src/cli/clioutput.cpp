#include "cli/clioutput.h"

#include <QIODevice>

CliOutput::CliOutput(QIODevice* out, QIODevice* err, bool terminal)
    : out(out)
    , err(err)
    , terminal(terminal)
{
}

void CliOutput::result(const QString& line)
{
    out->write(line.toUtf8() + '\n');
}

void CliOutput::toErr(const QByteArray& bytes)
{
    endProgress();
    err->write(bytes);
}

void CliOutput::note(const QString& line)
{
    toErr(line.toUtf8() + '\n');
}

void CliOutput::error(const QString& line)
{
    toErr(QByteArray(kProgramName) + ": " + line.toUtf8() + '\n');
}

void CliOutput::progress(const QString& line)
{
    if (!terminal) {
        err->write(line.toUtf8() + '\n');
        return;
    }
    // Back to the line's start, the new text, then erase what a longer line before left.
    err->write('\r' + line.toUtf8() + "\x1b[K");
    progressOpen = true;
}

void CliOutput::endProgress()
{
    if (!progressOpen)
        return;
    err->write("\n");
    progressOpen = false;
}
