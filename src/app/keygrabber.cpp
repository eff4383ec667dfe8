#include "app/keygrabber.h"

#include <QDebug>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMutexLocker>

namespace {
constexpr int kTickMs = 10;
}

KeyGrabber::KeyGrabber(QObject* parent)
    : QObject(parent)
{
    connect(&timer, &QTimer::timeout, this, &KeyGrabber::loop);
    timer.start(kTickMs);
}

QString KeyGrabber::buffer()
{
    QMutexLocker locker(&lock);
    return keyBuffer;
}

void KeyGrabber::keyPressEvent(QKeyEvent* e)
{
    if (previousState == Idle)
        state = Collecting;

    const QString key = QKeySequence(e->key()).toString(QKeySequence::PortableText);
    QString all;
    {
        QMutexLocker locker(&lock);
        keyBuffer.append(key);
        all = keyBuffer;
    }
    newKey = true;
    qDebug() << key << all;
}

void KeyGrabber::loop()
{
    if (previousState == Collecting) {
        elapsed += kTickMs;
        if (newKey) {
            newKey = false;
            elapsed = 0;
        }
        if (elapsed >= idleTimeout) {
            state = Idle;
            QMutexLocker locker(&lock);
            if (!keyBuffer.isEmpty())
                keyBuffer.clear();
        }
    }
    if (previousState != state)
        elapsed = 0;
    previousState = state;
}
