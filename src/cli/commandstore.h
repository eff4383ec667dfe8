#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// store: the controller keeps its working settings over a power cycle (STORE), as the window's
// Save button does; ends when the controller has answered.
class CommandStore : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandStore)

public:
    QString name() const override { return QStringLiteral("store"); }
    QString synopsis() const override { return QString(); }
    QString summary() const override;
    int run(CliContext& context) override;
};
