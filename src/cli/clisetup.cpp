#include "cli/clisetup.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "engine/setupfile.h"
#include "engine/setuphistory.h"
#include "engine/setupreader.h"
#include "engine/setupstore.h"
#include "protocol/helper.h"
#include "protocol/requests.h"
#include "protocol/task.h"
#include "usb/qtusbhid.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTimer>

namespace {

// A failed reading or STORE is tried again after this pause, until the link's time limit.
constexpr int kRetryMs = 50;

} // namespace

int CliSetup::load(const QString& path, CliOutput& out, TuningFile::Result* result)
{
    *result = SetupFile::load(path);
    if (!result->ok()) {
        out.error(QStringLiteral("%1: %2").arg(path, SetupFile::problemText(*result)));
        return ExitCode::BadFile;
    }
    return ExitCode::Done;
}

int CliSetup::requireFirmware(const FCProtocol::DS_INFO_RD& info, CliOutput& out)
{
    if (info.mode == 0)
        return ExitCode::Done;
    out.error(tr("the controller waits in its bootloader, where its setup cannot be read; flash a firmware first"));
    return ExitCode::NoController;
}

int CliSetup::read(CliSession& session, SetupRecord* setup)
{
    SetupReader reader;
    QObject::connect(&reader, &SetupReader::sendTask, &session, &CliSession::send);
    QObject::connect(&session, &CliSession::taskFinished, &reader, &SetupReader::taskDone);
    QObject::connect(&reader, &SetupReader::finished, &reader, [&](const SetupRecord& read) {
        *setup = read;
        session.finish(ExitCode::Done);
    });
    QObject::connect(&reader, &SetupReader::failed, &reader, [&reader](const QString& why) {
        qDebug() << "setup reading failed:" << why;
        QTimer::singleShot(kRetryMs, &reader, &SetupReader::start);
    });
    reader.start();
    return session.exec();
}

int CliSetup::restore(CliSession& session, CliOutput& out, const ControllerId& controller, const SetupRecord& held,
                      const SetupRecord& wanted, bool thenStore, SetupRestore::Outcome* outcome)
{
    SetupRestore restore;
    restore.setKeep([&](const QString& reason, const SetupRecord& setup) { keep(out, controller, setup, reason); });
    QObject::connect(&restore, &SetupRestore::sendTask, &session, &CliSession::send);
    QObject::connect(&session, &CliSession::taskFinished, &restore, &SetupRestore::taskDone);
    QObject::connect(&restore, &SetupRestore::finished, &restore, [&](const SetupRestore::Outcome& o) {
        *outcome = o;
        session.finish(ExitCode::Done);
    });
    restore.start(held, wanted, thenStore);
    const int code = session.exec();
    if (code != ExitCode::Done)
        return code;
    if (outcome->write.result == SetupWrite::Outcome::Result::Unknown) {
        out.error(tr("the controller stopped answering while its setup was read back; which values it took is unknown"));
        return ExitCode::NoController;
    }
    if (outcome->storeAsked && outcome->write.result == SetupWrite::Outcome::Result::Done && !outcome->stored) {
        out.error(tr("the controller did not confirm the store"));
        return ExitCode::NoController;
    }
    return ExitCode::Done;
}

int CliSetup::store(CliSession& session, CliOutput& out)
{
    SetupStore store;
    QObject::connect(&store, &SetupStore::sendTask, &session, &CliSession::send);
    QObject::connect(&session, &CliSession::taskFinished, &store, &SetupStore::taskDone);
    QObject::connect(&store, &SetupStore::finished, &store, [&session](bool stored) {
        session.finish(stored ? ExitCode::Done : ExitCode::NoController);
    });
    store.start();
    const int code = session.exec();
    if (code == ExitCode::NoController)
        out.error(tr("the controller did not confirm the store"));
    return code;
}

ControllerId CliSetup::controllerOf(CliSession& session, const FCProtocol::DS_INFO_RD& info)
{
    // Between transactions: the transport may be asked.
    return {info.boardWord, session.controller()->transport()->serialNumber()};
}

bool CliSetup::keepsHistory()
{
    return QDir(SetupHistory::defaultRoot()).exists();
}

void CliSetup::keep(CliOutput& out, const ControllerId& controller, const SetupRecord& setup, const QString& reason)
{
    if (!keepsHistory())
        return;
    SetupHistory history(SetupHistory::defaultRoot());
    const QString path =
        history.write(controller, setup, reason, FCProtocol::Helper::boardName(controller.boardWord));
    if (path.isEmpty())
        out.note(tr("The setup could not be kept in the history (%1).").arg(history.folderOf(controller)));
    else
        out.note(tr("The controller's setup is kept in the history: %1").arg(QDir::toNativeSeparators(path)));
}

void CliSetup::print(CliOutput& out, const QVector<SetupDiff::Row>& rows, bool json, const QString& leftTitle,
                     const QString& rightTitle, const QString& leftKey, const QString& rightKey)
{
    if (json) {
        QJsonArray array;
        for (const SetupDiff::Row& row : rows) {
            // The shortest text that gives the same value, as the file writes it.
            array.append(QJsonObject{
                {QStringLiteral("section"), QLatin1String(SetupFields::sectionKey(row.field->section))},
                {QStringLiteral("name"), QLatin1String(row.field->key)},
                {leftKey, SetupDiff::valueText(*row.field, row.controller).toDouble()},
                {rightKey, SetupDiff::valueText(*row.field, row.wanted).toDouble()},
            });
        }
        out.data(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return;
    }
    if (rows.isEmpty())
        return;
    QVector<QStringList> table{{tr("name"), leftTitle, rightTitle}};
    for (const SetupDiff::Row& row : rows)
        table.push_back({QLatin1String(row.field->key), SetupDiff::valueText(*row.field, row.controller),
                         SetupDiff::valueText(*row.field, row.wanted)});
    out.table(table);
}
