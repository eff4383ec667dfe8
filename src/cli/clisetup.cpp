#include "cli/clisetup.h"

#include "cli/clioutput.h"
#include "cli/clisession.h"
#include "cli/exitcode.h"
#include "engine/setuphistory.h"
#include "engine/setupreader.h"
#include "protocol/helper.h"
#include "protocol/requests.h"
#include "protocol/task.h"

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

// Columns a text takes on a terminal: Chinese characters take two.
int displayWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text)
        width += (c.unicode() >= 0x1100 && (c.unicode() <= 0x115F || (c.unicode() >= 0x2E80 && c.unicode() <= 0xA4CF)
                                            || (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
                                            || (c.unicode() >= 0xF900 && c.unicode() <= 0xFAFF)
                                            || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFF60)))
            ? 2
            : 1;
    return width;
}

QString padded(const QString& text, int width)
{
    return text + QString(qMax(0, width - displayWidth(text)), QLatin1Char(' '));
}

QString problemText(const TuningFile::Result& result)
{
    switch (result.problem) {
    case TuningFile::Problem::None: break;
    case TuningFile::Problem::NotJson: return CliSetup::tr("not a setup file: %1").arg(result.detail);
    case TuningFile::Problem::WrongFormat:
        return CliSetup::tr("not a setup file: \"format\" is missing or names another format");
    case TuningFile::Problem::WrongVersion:
        return CliSetup::tr("a setup file of version %1; this program reads versions 1 and 2").arg(result.detail);
    case TuningFile::Problem::Missing: return CliSetup::tr("no value for \"%1\"").arg(result.field);
    case TuningFile::Problem::NotASection: return CliSetup::tr("\"%1\" is not a group of values").arg(result.field);
    case TuningFile::Problem::NotANumber: return CliSetup::tr("the value of \"%1\" is not a number").arg(result.field);
    case TuningFile::Problem::NotInteger:
        return CliSetup::tr("the value of \"%1\" must be a whole number").arg(result.field);
    case TuningFile::Problem::OutOfRange: {
        const TuningFile::FieldRange range = TuningFile::rangeOf(result.field);
        return CliSetup::tr("the value of \"%1\" is outside %2 to %3").arg(result.field).arg(range.minimum).arg(range.maximum);
    }
    }
    return QString();
}

} // namespace

int CliSetup::load(const QString& path, CliOutput& out, TuningFile::Result* result)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        out.error(tr("%1: cannot be read").arg(path));
        return ExitCode::BadFile;
    }
    const QByteArray bytes = file.read(TuningFile::kMaxBytes + 1);
    if (bytes.size() > TuningFile::kMaxBytes) {
        out.error(tr("%1: larger than 64 KiB, not a setup file").arg(path));
        return ExitCode::BadFile;
    }
    *result = TuningFile::parse(bytes);
    if (!result->ok()) {
        out.error(QStringLiteral("%1: %2").arg(path, problemText(*result)));
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

int CliSetup::write(CliSession& session, const SetupRecord& controller, const SetupRecord& wanted)
{
    const QList<FCProtocol::Task*> tasks = SetupDiff::writes(controller, wanted);
    if (tasks.isEmpty())
        return ExitCode::Done;
    QObject guard;
    auto pending = std::make_shared<QSet<const QObject*>>();
    auto settle = [&session, pending](const QObject* task) {
        if (pending->remove(task) && pending->isEmpty())
            session.finish(ExitCode::Done);
    };
    for (FCProtocol::Task* task : tasks) {
        pending->insert(task);
        // A write the queue drops never finishes: it counts as done, the read-back tells.
        QObject::connect(task, &QObject::destroyed, &guard, settle);
    }
    QObject::connect(&session, &CliSession::taskFinished, &guard, settle);
    for (FCProtocol::Task* task : tasks)
        session.send(task);
    return session.exec();
}

int CliSetup::store(CliSession& session)
{
    QObject guard;
    QObject::connect(&session, &CliSession::taskFinished, &guard, [&session, &guard](FCProtocol::Task* task) {
        if (task->type != FCProtocol::STORE)
            return;
        if (task->status == FCProtocol::Task::Success)
            session.finish(ExitCode::Done);
        else
            QTimer::singleShot(kRetryMs, &guard, [&session] { session.send(FCProtocol::Request::store()); });
    });
    session.send(FCProtocol::Request::store());
    return session.exec();
}

bool CliSetup::keepsHistory()
{
    return QDir(SetupHistory::defaultRoot()).exists();
}

void CliSetup::keep(CliOutput& out, qint32 boardWord, const SetupRecord& setup, const QString& reason)
{
    if (!keepsHistory())
        return;
    SetupHistory history(SetupHistory::defaultRoot());
    const QString path = history.write(boardWord, setup, reason, FCProtocol::Helper::boardName(boardWord));
    if (path.isEmpty())
        out.note(tr("The setup could not be kept in the history (%1).").arg(history.folderOf(boardWord)));
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
        out.dataDevice()->write(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return;
    }
    if (rows.isEmpty())
        return;
    QStringList names{tr("name")};
    QStringList left{leftTitle};
    QStringList right{rightTitle};
    for (const SetupDiff::Row& row : rows) {
        names << QLatin1String(row.field->key);
        left << SetupDiff::valueText(*row.field, row.controller);
        right << SetupDiff::valueText(*row.field, row.wanted);
    }
    auto widest = [](const QStringList& column) {
        int width = 0;
        for (const QString& text : column)
            width = qMax(width, displayWidth(text));
        return width;
    };
    const int nameWidth = widest(names);
    const int leftWidth = widest(left);
    for (int i = 0; i < names.size(); ++i)
        out.result((padded(names[i], nameWidth) + QStringLiteral("  ") + padded(left[i], leftWidth)
                    + QStringLiteral("  ") + right[i])
                       .trimmed());
}
