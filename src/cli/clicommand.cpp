#include "cli/clicommand.h"

#include "cli/clisession.h"
#include "usb/qtusbhid.h"

#include <QCommandLineParser>
#include <QFile>

CliContext::CliContext(const QCommandLineParser& parser, const QStringList& arguments, CliOutput& output,
                       int timeoutMs)
    : parser(parser)
    , args(arguments)
    , out(output)
    , timeoutMs(timeoutMs)
{
}

CliContext::~CliContext() = default;

CliSession& CliContext::session()
{
    if (!link) {
        link = std::make_unique<CliSession>(timeoutMs, &out);
        if (parser.isSet(QStringLiteral("device")))
            link->controller()->transport()->setDevicePath(QFile::encodeName(parser.value(QStringLiteral("device"))));
    }
    return *link;
}
