#pragma once

#include <QString>

class QCheckBox;
class QLabel;

// The main window's status strip: the connection lamp and text, and the self-test lamp and
// text. Lamps are tri-state check boxes: unchecked grey, checked green, partially checked red.
class StatusStrip
{
public:
    StatusStrip(QCheckBox* usbLamp, QLabel* usbText, QCheckBox* testLamp, QLabel* testText);

    // A supported controller answers: green lamp and text.
    void showConnected(const QString& text);
    // The telemetry read failed: grey lamp and text, the self-test part emptied.
    void showDisconnected(const QString& text);
    // The controller's self-test: green and checked when good, red and partly checked when not.
    void showSelfTest(const QString& text, bool good);
    // A one-line hint on the connection lamp and text (their tool tip); empty removes it.
    void setHint(const QString& text);

private:
    QCheckBox* usbLamp;
    QLabel* usbText;
    QCheckBox* testLamp;
    QLabel* testText;
};
