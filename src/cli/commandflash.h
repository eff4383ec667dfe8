#pragma once

#include "cli/clicommand.h"

#include <QCoreApplication>

// flash FILE [--force]: the firmware file's check, then the same update through the bootloader
// as the firmware page runs, with the page's rules: another board's firmware, or the firmware
// that already runs, is written only with --force.
class CommandFlash : public CliCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommandFlash)

public:
    QString name() const override { return QStringLiteral("flash"); }
    QString synopsis() const override { return QStringLiteral("FILE [--force]"); }
    QString summary() const override;
    QList<QCommandLineOption> options() const override;
    int minArguments() const override { return 1; }
    int maxArguments() const override { return 1; }
    int run(CliContext& context) override;

    // Why the firmware file check refused a file (a FirmwareImage::Result other than Ok).
    static QString refusal(int result);
};
