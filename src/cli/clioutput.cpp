#include "cli/clioutput.h"

#include "cli/exitcode.h"

#include <QIODevice>

CliOutput::CliOutput(QIODevice* out, QIODevice* err, bool terminal)
    : out(out)
    , err(err)
    , terminal(terminal)
{
}

bool CliOutput::data(const QByteArray& bytes)
{
    if (!outError.isEmpty())
        return false;
    if (out->write(bytes) != bytes.size()) {
        outError = out->errorString().isEmpty() ? QStringLiteral("write error") : out->errorString();
        return false;
    }
    return true;
}

void CliOutput::result(const QString& line)
{
    data(line.toUtf8() + '\n');
}

int CliOutput::finish(int code)
{
    // Whatever a device still holds goes out now, and counts.
    if (outError.isEmpty() && out->bytesToWrite() > 0 && !out->waitForBytesWritten(-1))
        outError = out->errorString();
    if (outError.isEmpty() || (code != ExitCode::Done && code != ExitCode::Differs))
        return code;
    error(tr("standard output could not be written (%1)").arg(outError));
    return ExitCode::OutputFailed;
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
