#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// restore FILE [--dry-run] [--store]: the values of a setup file that differ from the
// controller's, written (only the sections that differ) and read back. --store then keeps them
// over a power cycle; --dry-run only prints.
class CommandRestore : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandRestore)

public:
    QString name() const override { return QStringLiteral("restore"); }
    QString synopsis() const override { return QStringLiteral("FILE [--dry-run] [--store]"); }
    QString summary() const override;
    QList<QCommandLineOption> options() const override;
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(CliContext& context) override;
};
