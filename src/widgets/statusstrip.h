#pragma once

#include <QString>

class QBitmap;
class QCheckBox;
class QLabel;
class QPushButton;
class QSize;

// The main window's status strip: the connection lamp and text, the self-test lamp and text,
// and the Save button's mark. Lamps are tri-state check boxes: unchecked grey, checked green,
// partially checked red.
class StatusStrip
{
public:
    StatusStrip(QCheckBox* usbLamp, QLabel* usbText, QCheckBox* testLamp, QLabel* testText, QPushButton* save);

    // A supported controller answers: green lamp and text.
    void showConnected(const QString& text);
    // The telemetry read failed: grey lamp and text, the self-test part emptied.
    void showDisconnected(const QString& text);
    // The controller's self-test: green and checked when good, red and partly checked when not.
    void showSelfTest(const QString& text, bool good);
    // A one-line hint on the connection lamp and text (their tool tip); empty removes it.
    void setHint(const QString& text);
    // The controller holds changes it has not stored: the Save button's fourth image and `tip`
    // as its tool tip; an empty tip takes the mark away.
    void showNotStored(const QString& tip);

    // The window's shape: a rectangle of `size` with corners of `radius` pixels.
    static QBitmap roundedMask(const QSize& size, int radius);

private:
    QCheckBox* usbLamp;
    QLabel* usbText;
    QCheckBox* testLamp;
    QLabel* testText;
    QPushButton* save;
};
