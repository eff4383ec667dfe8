#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QIODevice;

// Where a command writes: results and data on standard output, messages and progress on standard
// error, UTF-8. On a terminal the progress line is redrawn in place; elsewhere progress comes as
// plain lines a log can keep.
class CliOutput
{
public:
    CliOutput(QIODevice* out, QIODevice* err, bool terminal);

    static constexpr const char* kProgramName = "orvante-cli";

    QIODevice* dataDevice() const { return out; }
    bool isTerminal() const { return terminal; }

    // A result line on standard output.
    void result(const QString& line);
    // A line on standard error; error() starts it with the program's name.
    void note(const QString& line);
    void error(const QString& line);
    // The progress line: redrawn in place on a terminal (until endProgress), one line each
    // call elsewhere.
    void progress(const QString& line);
    void endProgress();

private:
    void toErr(const QByteArray& bytes);

    QIODevice* out;
    QIODevice* err;
    bool terminal;
    bool progressOpen = false;
};
