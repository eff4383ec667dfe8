#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// diff FILE [FILE2] [--json]: the values of a setup file that differ from the controller's, or
// the values two files set differently (then no controller is needed). Exit code 1 when any
// value differs.
class CommandDiff : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandDiff)

public:
    QString name() const override { return QStringLiteral("diff"); }
    QString synopsis() const override { return QStringLiteral("FILE [FILE2] [--json]"); }
    QString summary() const override;
    QList<QCommandLineOption> options() const override;
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 2; }
    int run(CliContext& context) override;
};
