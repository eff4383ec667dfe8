#include "cli/commandrecord.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "cli/stopsignal.h"
#include "engine/scoperecording.h"
#include "engine/scopereply.h"
#include "protocol/requests.h"
#include "protocol/task.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

QString CommandRecord::summary() const
{
    return tr("record the scope channels as CSV (standard output, or --csv FILE) until Ctrl-C");
}

QList<QCommandLineOption> CommandRecord::options() const
{
    return {QCommandLineOption(QStringLiteral("seconds"), tr("Stop after N seconds."), QStringLiteral("N")),
            QCommandLineOption(QStringLiteral("csv"), tr("Write the CSV to FILE instead of standard output."),
                               QStringLiteral("FILE"))};
}

int CommandRecord::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QCommandLineParser& options = context.options();
    double seconds = 0;
    if (options.isSet(QStringLiteral("seconds"))) {
        bool ok = false;
        seconds = options.value(QStringLiteral("seconds")).toDouble(&ok);
        if (!ok || !(seconds > 0)) {
            out.error(tr("--seconds takes a number of seconds above 0"));
            return ExitCode::Usage;
        }
    }
    QFile file;
    QIODevice* csv = out.dataDevice();
    if (options.isSet(QStringLiteral("csv"))) {
        file.setFileName(options.value(QStringLiteral("csv")));
        // Unbuffered: every line is in the file as soon as it is sampled.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            out.error(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
            return ExitCode::BadFile;
        }
        csv = &file;
    }

    CliSession& session = context.session();
    FCProtocol::DS_INFO_RD info;
    int code = session.findController(&info);
    if (code != ExitCode::Done)
        return code;

    // One sample is kept at a time: a recording may run for hours.
    ScopeRecording recording;
    bool namesNeeded = true;
    int samples = 0;
    QElapsedTimer sinceFirst;
    bool written = true;
    auto write = [&](const QByteArray& bytes) {
        if (written && csv->write(bytes) != bytes.size()) {
            written = false;
            out.error(tr("cannot write the CSV: %1").arg(csv->errorString()));
            session.finish(ExitCode::BadFile);
        }
    };

    QObject::connect(&session, &CliSession::taskFinished, &session, [&](FCProtocol::Task* task) {
        if (task->status != FCProtocol::Task::Success || !written)
            return;
        const QByteArray payload = task->rxData.mid(task->headLength);
        if (task->type == FCProtocol::SCOPE_NAME_RD && namesNeeded) {
            namesNeeded = false;
            recording.start(ScopeReply::decodeNames(payload));
            write(recording.csvHeader());
        } else if (task->type == FCProtocol::SCOPE_DATA_RD && !namesNeeded) {
            QVector<float> values;
            if (!ScopeReply::decodeSamples(payload, recording.channelCount(), &values))
                return;
            if (samples == 0)
                sinceFirst.start();
            recording.clear();
            recording.append(samples == 0 ? 0.0 : sinceFirst.nsecsElapsed() / 1e9, values);
            ++samples;
            write(recording.csvLine(0));
        }
    });

    StopSignal stop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    QObject::connect(&tick, &QTimer::timeout, &session, [&] {
        if (stop.requested() || (seconds > 0 && samples > 0 && sinceFirst.nsecsElapsed() >= qint64(seconds * 1e9))) {
            session.finish(ExitCode::Done);
            return;
        }
        session.send(namesNeeded ? FCProtocol::Request::scopeNamesRead() : FCProtocol::Request::scopeDataRead());
    });
    tick.start();
    code = session.exec();
    tick.stop();
    if (file.isOpen())
        file.close();
    if (code == ExitCode::Done || code == ExitCode::NoController || code == ExitCode::InUse)
        out.note(tr("%1 samples of %2 channels recorded.").arg(samples).arg(recording.channelCount()));
    return code;
}
