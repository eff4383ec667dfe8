#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

// Where a command writes: results and data on standard output, messages and progress on standard
// error, UTF-8. On a terminal the progress line is redrawn in place; elsewhere progress comes as
// plain lines a log can keep. Every write to standard output is checked: the first that fails
// (a full disk, a closed pipe) is remembered, so the run cannot end as a success.
class CliOutput
{
    Q_DECLARE_TR_FUNCTIONS(CliOutput)

public:
    CliOutput(QIODevice* out, QIODevice* err, bool terminal);

    static constexpr const char* kProgramName = "orvante-cli";

    bool isTerminal() const { return terminal; }

    // Data on standard output, as it stands; false once any write there has failed.
    bool data(const QByteArray& bytes);
    // A result line on standard output.
    void result(const QString& line);
    // Rows of cells on standard output, the columns lined up for a terminal (a Chinese
    // character takes two columns).
    void table(const QVector<QStringList>& rows);
    // The reason standard output could not be written; empty while every write went through.
    QString outputError() const { return outError; }
    // The exit code a run ends with: `code`, unless standard output could not be written (said on
    // standard error) while the command would have ended as done or with differences found.
    int finish(int code);
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
    QString outError;
};
