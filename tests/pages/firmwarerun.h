#pragma once

#include "pages/pagefcfirmware.h"
#include "protocol/frameids.h"
#include "protocol/task.h"

#include <QApplication>
#include <QDataStream>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include <memory>
#include <vector>

// A .bin file: big-endian header, then the image.
inline QByteArray binFile(quint32 version, quint16 check, const QByteArray& image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint32(0x1234ABCD) << version << check << qint32(image.size());
    return bytes + image;
}

// `blocks` blocks of bytes that differ from block to block.
inline QByteArray imageOf(int blocks, int seed = 1)
{
    QByteArray image(blocks * 2048, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 31 + seed * 17 + i / 2048) & 0xFF);
    return image;
}

// Writes the file and stores its path as the firmware page's last file.
inline bool storeBinFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    QSettings().setValue(QStringLiteral("firmware/path"), path);
    return true;
}

// Answers the modal dialogs that come up, one after the other, with the answers given
// (true OK, false Cancel), and keeps the text each one showed.
class DialogScript
{
public:
    explicit DialogScript(QList<bool> answers)
        : pending(std::move(answers))
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || pending.isEmpty())
                return;
            auto* label = dialog->findChild<QLabel*>(QStringLiteral("label_info"));
            texts << (label ? label->text() : QString());
            pending.takeFirst() ? dialog->accept() : dialog->reject();
        });
        timer.start();
    }

    QStringList texts;

private:
    QList<bool> pending;
    QTimer timer;
};

// The firmware page on its own, ticked by hand; every task it emits is kept so that a test
// can answer it, late or twice, as the controller and the link would.
class FirmwareRun
{
public:
    PageFCFirmware page;
    QSignalSpy added{&page, &PageFC::AddTask};
    QSignalSpy boot{&page, &PageFCFirmware::boot_state_changed};
    std::vector<std::unique_ptr<FCProtocol::Task>> all;

    FirmwareRun()
    {
        page.tickTimer()->stop();
        page.show();
    }

    // One tick of the page's own timer; the tasks it emitted.
    QList<FCProtocol::Task*> tick()
    {
        page.timeout();
        QList<FCProtocol::Task*> fresh;
        for (const QList<QVariant>& args : added) {
            all.emplace_back(args.at(0).value<FCProtocol::Task*>());
            fresh << all.back().get();
        }
        added.clear();
        return fresh;
    }

    // The reply the controller sends: echoed frame id, payload, padding to 64 bytes.
    void answer(FCProtocol::Task* task, const QByteArray& payload, int status = 0)
    {
        task->rxData = task->txData.left(2) + payload;
        task->rxData.append(QByteArray(64 - task->rxData.size(), '\0'));
        task->status = status;
        page.TaskDone(task);
    }

    static QByteArray byte(quint8 value) { return QByteArray(1, char(value)); }
    static QByteArray words(qint32 a, qint32 b, qint32 c, qint32 d)
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << a << b << c << d;
        return bytes;
    }

    // Ticks until the page emits a task of `type`; null after `limit` ticks.
    FCProtocol::Task* tickFor(int type, int limit = 3)
    {
        for (int i = 0; i < limit; ++i) {
            for (FCProtocol::Task* t : tick()) {
                if (t->type == type)
                    return t;
            }
        }
        return nullptr;
    }

    // The controller answers the version read with `word` as its identity.
    bool connectTo(qint32 word)
    {
        FCProtocol::Task* read = tickFor(FCProtocol::FW_INFO_RD);
        if (!read)
            return false;
        answer(read, words(0, 256 * 1024, word, 0));
        return page.update()->linkOk();
    }

    // Presses Update and answers the dialogs; true when the procedure started.
    bool pressUpdate(QList<bool> answers, QStringList* texts = nullptr)
    {
        DialogScript script(std::move(answers));
        const int before = boot.count();
        page.findChild<QPushButton*>(QStringLiteral("pushButton_update"))->click();
        if (texts)
            *texts = script.texts;
        return boot.count() == before + 1 && boot.last().at(0).toBool();
    }

    // Offsets of every BLOCK_PROG the page emitted, in order.
    QList<qint32> blockOffsets() const
    {
        QList<qint32> offsets;
        for (const auto& t : all) {
            if (t->type != FCProtocol::BLOCK_PROG)
                continue;
            QDataStream in(t->txData.mid(2, 4));
            in.setByteOrder(QDataStream::LittleEndian);
            qint32 offset = 0;
            in >> offset;
            offsets << offset;
        }
        return offsets;
    }

    QString text(const char* name) const
    {
        return page.findChild<QLabel*>(QLatin1String(name))->text();
    }
};
