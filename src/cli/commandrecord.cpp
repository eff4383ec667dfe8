#include "cli/commandrecord.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "cli/stopsignal.h"
#include "engine/outputfile.h"
#include "engine/scoperecording.h"
#include "engine/scopereply.h"
#include "protocol/requests.h"
#include "protocol/task.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>

#include <cmath>
#include <memory>

QString CommandRecord::summary() const
{
    return tr("record the scope channels as CSV (standard output, or --csv FILE) until Ctrl-C");
}

QList<QCommandLineOption> CommandRecord::options() const
{
    return {QCommandLineOption(QStringLiteral("seconds"), tr("Stop after N seconds (0.05 to 604800, a week)."),
                               QStringLiteral("N")),
            QCommandLineOption(QStringLiteral("csv"), tr("Write the CSV to FILE instead of standard output."),
                               QStringLiteral("FILE"))};
}

int CommandRecord::run(CliContext& context)
{
    CliOutput& out = context.output();
    const QCommandLineParser& options = context.options();
    // A whole number of nanoseconds, far from overflowing: at most a week.
    qint64 limitNs = 0;
    if (options.isSet(QStringLiteral("seconds"))) {
        bool ok = false;
        const double seconds = options.value(QStringLiteral("seconds")).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < kMinSeconds || seconds > kMaxSeconds) {
            out.error(tr("--seconds takes a number of seconds from 0.05 to 604800 (a week)"));
            return ExitCode::Usage;
        }
        limitNs = qint64(std::llround(seconds * 1e9));
    }

    CliSession& session = context.session();
    FCProtocol::DS_INFO_RD info;
    int code = session.findController(&info);
    if (code != ExitCode::Done)
        return code;

    // Opened only now that the controller is ours, beside the file it replaces at the end: a
    // run that fails before its first sample leaves that file as it was.
    std::unique_ptr<OutputFile> file;
    const QString csvPath = options.value(QStringLiteral("csv"));
    if (options.isSet(QStringLiteral("csv"))) {
        file = std::make_unique<OutputFile>(csvPath);
        if (!file->open()) {
            out.error(tr("%1: cannot be written (%2)").arg(csvPath, file->errorString()));
            return ExitCode::OutputFailed;
        }
    }

    // One sample is kept at a time: a recording may run for hours.
    ScopeRecording recording;
    bool namesNeeded = true;
    int samples = 0;
    QElapsedTimer sinceFirst;
    bool written = true;
    auto write = [&](const QByteArray& bytes) {
        if (written && !(file ? file->write(bytes) : out.data(bytes))) {
            written = false;
            session.finish(ExitCode::OutputFailed);
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
        if (stop.requested() || (limitNs > 0 && samples > 0 && sinceFirst.nsecsElapsed() >= limitNs)) {
            session.finish(ExitCode::Done);
            return;
        }
        session.send(namesNeeded ? FCProtocol::Request::scopeNamesRead() : FCProtocol::Request::scopeDataRead());
    });
    tick.start();
    code = session.exec();
    tick.stop();

    if (!written) {
        out.error(file ? tr("%1: cannot be written (%2)").arg(csvPath, file->errorString())
                       : tr("cannot write the CSV: %1").arg(out.outputError()));
        return ExitCode::OutputFailed;
    }
    // What was recorded is kept, also when the link was lost after the first sample.
    if (file && (code == ExitCode::Done || samples > 0) && !file->commit()) {
        out.error(tr("%1: cannot be written (%2)").arg(csvPath, file->errorString()));
        return ExitCode::OutputFailed;
    }
    if (code == ExitCode::Done || code == ExitCode::NoController || code == ExitCode::InUse)
        out.note(tr("%1 samples of %2 channels recorded.").arg(samples).arg(recording.channelCount()));
    return code;
}
