#include "cli/cliapp.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The window's identity: the same settings, so the same language.
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setOrganizationDomain(QStringLiteral(ORVANTE_ORGANISATION_DOMAIN));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    QTranslator translator;
    CliApp::installLanguage(&translator);

    // Unbuffered: a recording piped on is complete up to its last line whenever it stops.
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return CliApp::run(QCoreApplication::arguments(), &out, &err, isatty(STDERR_FILENO) == 1);
}
