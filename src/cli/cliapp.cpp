#include "cli/cliapp.h"

#include "cli/clicommand.h"
#include "cli/clioutput.h"
#include "cli/commandbackup.h"
#include "cli/commanddiff.h"
#include "cli/commandflash.h"
#include "cli/commandinfo.h"
#include "cli/commandlist.h"
#include "cli/commandrecord.h"
#include "cli/commandrestore.h"
#include "cli/commandstore.h"
#include "cli/exitcode.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QLocale>
#include <QMap>
#include <QSettings>
#include <QTranslator>

#include <atomic>

namespace {

constexpr int kDefaultTimeoutSeconds = 3;

// The link's diagnostic lines (the transport's and the update's) are for --verbose: from any
// thread, so the switch is atomic.
std::atomic<QtMessageHandler> passOn{nullptr};

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if (QtMessageHandler next = passOn.load())
        next(type, context, message);
}

class QuietDebug
{
public:
    explicit QuietDebug(bool verbose)
        : on(!verbose)
    {
        if (on)
            passOn.store(qInstallMessageHandler(quietHandler));
    }
    ~QuietDebug()
    {
        if (on)
            qInstallMessageHandler(passOn.load());
    }

private:
    bool on;
};

int usage(CliOutput& out, const QString& message)
{
    out.error(message);
    out.note(CliApp::tr("Try '%1 --help'.").arg(QLatin1String(CliOutput::kProgramName)));
    return ExitCode::Usage;
}

} // namespace

std::vector<std::unique_ptr<CliCommand>> CliApp::commands()
{
    std::vector<std::unique_ptr<CliCommand>> list;
    list.push_back(std::make_unique<CommandList>());
    list.push_back(std::make_unique<CommandInfo>());
    list.push_back(std::make_unique<CommandBackup>());
    list.push_back(std::make_unique<CommandRestore>());
    list.push_back(std::make_unique<CommandDiff>());
    list.push_back(std::make_unique<CommandFlash>());
    list.push_back(std::make_unique<CommandRecord>());
    list.push_back(std::make_unique<CommandStore>());
    return list;
}

QString CliApp::exitCodeText()
{
    const QString rows[] = {
        tr("done"),
        tr("differences found (diff, or a read-back that differs after restore)"),
        tr("usage: the command line is wrong"),
        tr("no controller answered, or the link was lost past the time limit (--timeout)"),
        tr("bad file: nothing was sent"),
        tr("refused: another board, or the same version, without --force"),
        tr("update failed: the controller stays in its bootloader; run flash again"),
        tr("the controller is in use by another ORVANTE program"),
        tr("the output could not be written (standard output or a file)"),
    };
    QString text = tr("Exit codes:") + QLatin1Char('\n');
    for (int code = 0; code < int(std::size(rows)); ++code)
        text += QStringLiteral("  %1  %2\n").arg(code).arg(rows[code]);
    return text;
}

bool CliApp::installLanguage(QTranslator* translator)
{
    const QString stored = QSettings().value(QStringLiteral("main/language")).toString();
    const bool chinese = stored == QLatin1String("zh")
        || (stored != QLatin1String("en") && QLocale::system().language() == QLocale::Chinese);
    if (chinese) {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::AnyCountry));
        if (translator->load(QStringLiteral(":/tr/FCApp.qm")))
            QCoreApplication::installTranslator(translator);
    } else {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::AnyCountry));
    }
    return chinese;
}

int CliApp::run(const QStringList& arguments, QIODevice* out, QIODevice* err, bool terminal)
{
    CliOutput output(out, err, terminal);
    const auto list = commands();

    QCommandLineParser parser;
    QString description = tr("Talks to the flight controller from a terminal or a script.") + QStringLiteral("\n\n")
        + tr("Commands:");
    for (const auto& command : list) {
        const QString call = (command->name() + QLatin1Char(' ') + command->synopsis()).trimmed();
        description += QStringLiteral("\n  %1\n      %2").arg(call, command->summary());
    }
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     tr("Seconds without any answer before the link counts as lost (default %1).")
                                         .arg(kDefaultTimeoutSeconds),
                                     tr("seconds"), QString::number(kDefaultTimeoutSeconds));
    const QCommandLineOption verbose(QStringLiteral("verbose"), tr("Write the link's diagnostic lines to standard error."));
    const QCommandLineOption device(QStringLiteral("device"),
                                    tr("The controller's device node (e.g. /dev/hidraw3) when several are plugged in; "
                                       "else the first one found."),
                                    tr("path"));
    parser.addOption(timeout);
    parser.addOption(device);
    parser.addOption(verbose);
    // Each command's options, once, saying which commands take them.
    QMap<QString, QStringList> optionOwners;
    QList<QCommandLineOption> commandOptions;
    for (const auto& command : list) {
        for (const QCommandLineOption& option : command->options()) {
            const QString name = option.names().first();
            if (!optionOwners.contains(name))
                commandOptions.append(option);
            optionOwners[name].append(command->name());
        }
    }
    for (QCommandLineOption option : commandOptions) {
        const QString name = option.names().first();
        option.setDescription(option.description() + QStringLiteral(" (%1)").arg(optionOwners[name].join(QStringLiteral(", "))));
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("command"), tr("What to do: one of the commands above."),
                                 QStringLiteral("command [arguments]"));

    if (!parser.parse(arguments))
        return usage(output, parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program, not the path it was started by.
        QString text = parser.helpText();
        const int colon = text.indexOf(QLatin1String(": "));
        const int end = text.indexOf(QLatin1Char(' '), colon + 2);
        if (colon >= 0 && end > colon && !text.left(colon).contains(QLatin1Char('\n')))
            text.replace(colon + 2, end - colon - 2, QLatin1String(CliOutput::kProgramName));
        output.data(text.toUtf8() + '\n' + exitCodeText().toUtf8());
        return output.finish(ExitCode::Done);
    }
    if (parser.isSet(version)) {
        output.data(QByteArray(CliOutput::kProgramName) + ' ' + ORVANTE_VERSION + '\n');
        return output.finish(ExitCode::Done);
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usage(output, tr("no command given"));
    CliCommand* command = nullptr;
    for (const auto& candidate : list) {
        if (candidate->name() == positional.first())
            command = candidate.get();
    }
    if (!command)
        return usage(output, tr("unknown command '%1'").arg(positional.first()));
    for (const QString& name : parser.optionNames()) {
        const QStringList owners = optionOwners.value(name);
        if (!owners.isEmpty() && !owners.contains(command->name()))
            return usage(output, tr("--%1 is not an option of %2").arg(name, command->name()));
    }
    const QStringList rest = positional.mid(1);
    if (rest.size() < command->minArguments() || rest.size() > command->maxArguments())
        return usage(output, tr("usage: %1 %2").arg(command->name(), command->synopsis()).trimmed());
    bool ok = false;
    const double seconds = parser.value(timeout).toDouble(&ok);
    if (!ok || !(seconds > 0) || seconds > 3600)
        return usage(output, tr("--timeout takes a number of seconds above 0"));

    const QuietDebug quiet(parser.isSet(verbose));
    CliContext context(parser, rest, output, int(seconds * 1000));
    return output.finish(command->run(context));
}
