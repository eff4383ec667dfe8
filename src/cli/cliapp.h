#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <memory>
#include <vector>

class CliCommand;
class QIODevice;
class QTranslator;

// orvante-cli: the command line, the commands and the exit codes. main() and the tests call
// run() with the arguments and the two output streams.
class CliApp
{
    Q_DECLARE_TR_FUNCTIONS(CliApp)

public:
    // Parses `arguments` (the program name first), runs the command and returns its exit code
    // (ExitCode). Results and data go to `out`, messages and progress to `err`; `terminal`: err
    // is a terminal, where progress is redrawn in place.
    static int run(const QStringList& arguments, QIODevice* out, QIODevice* err, bool terminal);

    // Every command, in the order --help lists them.
    static std::vector<std::unique_ptr<CliCommand>> commands();

    // The exit-code table, in the running language, as --help ends with it.
    static QString exitCodeText();

    // The window's language: the stored "main/language" ("zh" or "en"), else the system locale.
    // Installs the translation for Chinese and sets the default locale; reads the settings only
    // (the window records the choice at its own start). True for Chinese.
    static bool installLanguage(QTranslator* translator);
};
