#include "cli/clioutput.h"

#include "cli/exitcode.h"

#include <QIODevice>

CliOutput::CliOutput(QIODevice* out, QIODevice* err, bool terminal)
    : out(out)
    , err(err)
    , terminal(terminal)
{
}

namespace {

// Columns a text takes on a terminal: Chinese characters take two.
int displayWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text)
        width += (c.unicode() >= 0x1100 && (c.unicode() <= 0x115F || (c.unicode() >= 0x2E80 && c.unicode() <= 0xA4CF)
                                            || (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
                                            || (c.unicode() >= 0xF900 && c.unicode() <= 0xFAFF)
                                            || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFF60)))
            ? 2
            : 1;
    return width;
}

} // namespace

void CliOutput::table(const QVector<QStringList>& rows)
{
    QVector<int> widths;
    for (const QStringList& row : rows) {
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths.push_back(0);
            widths[c] = qMax(widths[c], displayWidth(row[c]));
        }
    }
    for (const QStringList& row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += QString(widths[c] - displayWidth(row[c]) + 2, QLatin1Char(' '));
        }
        result(line.trimmed());
    }
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
