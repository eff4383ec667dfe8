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
    timer.setInterval(kTickMs);
    connect(&timer, &QTimer::timeout, this, &KeyGrabber::loop);
    // An idle grabber's tick changes nothing: the timer runs from the first key until the
    // grabber is idle again, so a program without keys is not woken 100 times a second.
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
    if (!timer.isActive())
        timer.start();
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
    if (state == Idle && previousState == Idle && !newKey)
        timer.stop();
}
