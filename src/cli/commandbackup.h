#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// backup FILE: reads the controller's parameters, radio and airframe and writes them as a
// version-2 setup file, the file the window's "Save to file" writes; "-" writes it to standard
// output.
class CommandBackup : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandBackup)

public:
    QString name() const override { return QStringLiteral("backup"); }
    QString synopsis() const override { return QStringLiteral("FILE"); }
    QString summary() const override;
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(CliContext& context) override;
};
