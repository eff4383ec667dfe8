#include "pages/setupactions.h"

#include "engine/setupfile.h"
#include "engine/setupkeeper.h"
#include "pages/dialoghistory.h"
#include "pages/pagefcpara.h"
#include "protocol/helper.h"
#include "protocol/task.h"
#include "widgets/dialogsetupdiff.h"
#include "widgets/dialogwarning.h"
#include "widgets/setupdifftable.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kFolderKey = QStringLiteral("tuning/folder");
// The values that did not take, listed by name in the message; the rest are counted.
constexpr int kListedRows = 3;

// The parameter page shows these, so they are translated in its context.
QString pageText(const char* source)
{
    return QCoreApplication::translate("PageFCPara", source);
}

} // namespace

SetupActions::SetupActions(PageFCPara* page)
    : QObject(page)
    , page(page)
{
    connect(&reader, &SetupReader::sendTask, this, &SetupActions::sendTask);
    connect(&restore, &SetupRestore::sendTask, this, &SetupActions::sendTask);
}

void SetupActions::taskDone(FCProtocol::Task* task)
{
    // The readings see their failures too.
    reader.taskDone(task);
    restore.taskDone(task);
}

QString SetupActions::startFolder()
{
    const QString last = QSettings().value(kFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    // Documents, where a desktop has that folder; else the home folder, never the working one.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void SetupActions::rememberFolder(const QString& path)
{
    QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

void SetupActions::saveClicked()
{
    if (!page->hasDeviceRecord()) {
        DialogWarning::tell(pageText("No parameters have been read from the controller yet; there is nothing to save."));
        return;
    }
    // The board and the day: a pilot with several craft finds the right file again.
    const QString board = page->boardText().isEmpty() ? QStringLiteral("tuning") : page->boardText();
    const QString suggested = QDir(startFolder()).filePath(
        QStringLiteral("%1-%2.json").arg(board, QDate::currentDate().toString(Qt::ISODate)));
    QString path = QFileDialog::getSaveFileName(page, pageText("Save to file"), suggested, pageText("Tuning (*.json)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    rememberFolder(path);
    save(path);
}

void SetupActions::loadClicked()
{
    const QString path = QFileDialog::getOpenFileName(page, pageText("Load from file"), startFolder(), pageText("Tuning (*.json)"));
    if (path.isEmpty())
        return;
    rememberFolder(path);
    load(path);
}

bool SetupActions::readSetup(SetupRecord* setup)
{
    bool read = false;
    QString why;
    QObject guard;
    PageFC::waitFor([&](std::function<void()> done) {
        connect(&reader, &SetupReader::finished, &guard, [&read, setup, done](const SetupRecord& r) {
            *setup = r;
            read = true;
            done();
        });
        connect(&reader, &SetupReader::failed, &guard, [&why, done](const QString& w) {
            why = w;
            done();
        });
        reader.start();
    });
    if (!read)
        qDebug().noquote() << "The setup could not be read:" << why;
    return read;
}

bool SetupActions::save(const QString& path)
{
    if (!page->hasDeviceRecord()) {
        DialogWarning::tell(pageText("No parameters have been read from the controller yet; there is nothing to save."));
        return false;
    }
    SetupRecord setup;
    if (!readSetup(&setup)) {
        DialogWarning::tell(pageText("The controller did not answer while its setup was read. Nothing was saved."));
        return false;
    }
    const QString error =
        SetupFile::save(path, setup, {page->boardText(), QDateTime::currentDateTimeUtc(), QString()});
    if (!error.isEmpty()) {
        DialogWarning::tell(pageText("The tuning could not be saved to %1: %2").arg(QFileInfo(path).fileName(), error));
        return false;
    }
    return true;
}

bool SetupActions::load(const QString& path)
{
    if (!page->hasDeviceRecord()) {
        DialogWarning::tell(pageText("No parameters have been read from the controller yet; connect it and open this page first."));
        return false;
    }
    // The name alone: a long folder path would not fit the message box.
    const QString shown = QFileInfo(path).fileName();
    const TuningFile::Result file = SetupFile::load(path);
    if (!file.ok()) {
        DialogWarning::tell(pageText("%1 cannot be loaded: %2. Nothing was sent.").arg(shown, SetupFile::problemText(file)));
        return false;
    }

    SetupRecord controller;
    const bool read = readSetup(&controller);
    if (!read) {
        // Without a reading the radio's own bits are unknown: such a file cannot be written.
        if (file.setup.radio || file.setup.airframe) {
            DialogWarning::tell(pageText("The controller did not answer while its setup was read, so the file cannot "
                                   "be compared with it. Nothing was sent."));
            return false;
        }
        controller.parameters = page->deviceRecord();
    }
    const QVector<SetupDiff::Row> rows = SetupDiff::rows(controller, file.setup);
    if (rows.isEmpty()) {
        DialogWarning::tell(pageText("%1 holds the controller's values already. Nothing needs to be sent.").arg(shown));
        return false;
    }
    if (!DialogSetupDiff::ask(pageText("Load this tuning? These values in %1 differ from the controller's. They are "
                                 "not stored in the controller until you press Save.")
                                  .arg(shown),
                              rows, pageText("File")))
        return false;
    bringBack(controller, read, file.setup);
    return true;
}

bool SetupActions::openHistory()
{
    if (!keeper || !keeper->hasBoard()) {
        DialogWarning::tell(pageText("The history belongs to a connected controller, and none has answered yet."));
        return false;
    }
    SetupRecord controller;
    if (!readSetup(&controller)) {
        DialogWarning::tell(pageText("The controller did not answer while its setup was read, so the history cannot "
                               "be compared with it."));
        return false;
    }
    const SetupHistory* history = keeper->history();
    DialogHistory dialog(history->snapshots(keeper->controller()), history->unknownBoard(keeper->controller()),
                         controller);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen())
        return false;
    bringBack(controller, true, dialog.chosen()->setup);
    return true;
}

void SetupActions::bringBack(const SetupRecord& controller, bool controllerRead, const SetupRecord& wanted)
{
    if (keeper && !controllerRead)
        qDebug() << "History: no before-load snapshot, the setup could not be read";
    SetupKeeper* kept = controllerRead ? keeper : nullptr;
    restore.setKeep([kept](const QString& reason, const SetupRecord& setup) {
        if (kept)
            kept->keep(reason, setup);
    });
    SetupWrite::Outcome outcome;
    QObject guard;
    PageFC::waitFor([&](std::function<void()> done) {
        connect(&restore, &SetupRestore::finished, &guard, [&outcome, done](const SetupRestore::Outcome& o) {
            outcome = o.write;
            done();
        });
        restore.start(controller, wanted, false);
    });
    showOutcome(outcome);
}

void SetupActions::showOutcome(const SetupWrite::Outcome& outcome)
{
    switch (outcome.result) {
    case SetupWrite::Outcome::Result::Done:
        return;
    case SetupWrite::Outcome::Result::Unknown:
        DialogWarning::tell(pageText("The controller stopped answering while the values were written, so which of them "
                               "it took is unknown. Check the page before you press Save."));
        return;
    case SetupWrite::Outcome::Result::NotTaken:
        break;
    }
    QStringList lines;
    for (int i = 0; i < outcome.kept.size() && i < kListedRows; ++i) {
        const SetupDiff::Row& row = outcome.kept[i];
        lines << pageText("%1: the controller kept %2")
                     .arg(SetupDiffTable::fieldName(*row.field), SetupDiffTable::valueText(*row.field, row.controller));
    }
    if (outcome.kept.size() > kListedRows)
        lines << pageText("and %1 more").arg(outcome.kept.size() - kListedRows);
    DialogWarning::tell(pageText("These values did not take:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
}
