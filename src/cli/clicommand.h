#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class CliOutput;
class CliSession;
class QCommandLineParser;

// What a command is given: its arguments, the options on the command line, where to write, and
// the link to the controller, opened only when the command asks for it.
class CliContext
{
public:
    CliContext(const QCommandLineParser& parser, const QStringList& arguments, CliOutput& output, int timeoutMs);
    ~CliContext();
    Q_DISABLE_COPY(CliContext)

    const QCommandLineParser& options() const { return parser; }
    const QStringList& arguments() const { return args; }
    CliOutput& output() { return out; }
    // The link's time limit (--timeout), in milliseconds.
    int timeout() const { return timeoutMs; }
    // The session with the controller, made on the first call.
    CliSession& session();

private:
    const QCommandLineParser& parser;
    QStringList args;
    CliOutput& out;
    int timeoutMs;
    std::unique_ptr<CliSession> link;
};

// One command of orvante-cli: its word, how it is called, its options and what it does. The
// program knows its commands from one list (CliApp::commands).
class CliCommand
{
public:
    virtual ~CliCommand() = default;

    // The command word; command words and option names stay English in every language.
    virtual QString name() const = 0;
    // What follows the word in the usage line, e.g. "FILE [--force]".
    virtual QString synopsis() const = 0;
    // One line for --help, in the running language.
    virtual QString summary() const = 0;
    // The options only this command takes.
    virtual QList<QCommandLineOption> options() const { return {}; }
    virtual int minArguments() const { return 0; }
    virtual int maxArguments() const { return 0; }

    // Runs the command; returns its exit code (ExitCode).
    virtual int run(CliContext& context) = 0;
};
