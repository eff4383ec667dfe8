#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// record [--seconds N] [--csv FILE]: the controller's scope channels sampled on the scope's own
// 50 ms tick (the names first, then one sample of every channel per tick, timed from the first
// sample), written as the scope window's CSV export, line by line. Ctrl-C ends it with every
// line complete.
class CommandRecord : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandRecord)

public:
    static constexpr int kTickMs = 50;
    // The bounds of --seconds: one tick, and a week.
    static constexpr double kMinSeconds = 0.05;
    static constexpr double kMaxSeconds = 7 * 24 * 3600;

    QString name() const override { return QStringLiteral("record"); }
    QString synopsis() const override { return QStringLiteral("[--seconds N] [--csv FILE]"); }
    QString summary() const override;
    QList<QCommandLineOption> options() const override;
    int run(CliContext& context) override;
};
