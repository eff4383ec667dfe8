#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// info [--json]: the controller's board and version, whether it runs its flight firmware or its
// bootloader, and its self-test code with the text the status strip shows.
class CommandInfo : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandInfo)

public:
    QString name() const override { return QStringLiteral("info"); }
    QString synopsis() const override { return QStringLiteral("[--json]"); }
    QString summary() const override;
    QList<QCommandLineOption> options() const override;
    int run(CliContext& context) override;
};
