#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// list [--json]: every controller plugged in, one line each: its device node, its USB serial
// number, the board and the mode where it answers, and the ORVANTE program that holds it, if
// one does (that controller is not asked). Exit 0 with a list, 3 with none.
class CommandList : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandList)

public:
    QString name() const override { return QStringLiteral("list"); }
    QString synopsis() const override { return QStringLiteral("[--json]"); }
    QString summary() const override;
    QList<QCommandLineOption> options() const override;
    int run(CliContext& context) override;
};
