#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

class QKeyEvent;

// Collects typed keys into a text buffer and forgets the buffer after a pause.
class KeyGrabber : public QObject
{
    Q_OBJECT

public:
    explicit KeyGrabber(QObject* parent = nullptr);

    QString buffer();

public slots:
    void keyPressEvent(QKeyEvent* e);
    void loop();

private:
    enum State { Idle = 0, Collecting = 1 };

    QString keyBuffer;
    QTimer timer;
    QMutex lock;
    int idleTimeout = 3000;
    int previousState = Idle;
    int state = Idle;
    int elapsed = 0;
    bool newKey = false;
};
