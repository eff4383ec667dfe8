#include "cli/cliapp.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

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

    // On the descriptors, unbuffered: a recording piped on flows line by line and is complete
    // up to its last line whenever it stops (a FILE* would keep it in stdio's buffer).
    QFile out;
    QFile err;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return CliApp::run(QCoreApplication::arguments(), &out, &err, isatty(STDERR_FILENO) == 1);
}
