#pragma once

#include <QCoreApplication>
#include <QString>

class QBitmap;
class QCheckBox;
class QLabel;
class QPushButton;
class QSize;

// The main window's status strip: the connection lamp and text, the self-test lamp and text,
// and the Save button's mark. Lamps are tri-state check boxes: unchecked grey, checked green,
// partially checked red. Each lamp says its state in words too, as its accessible name and
// tool tip.
class StatusStrip
{
    Q_DECLARE_TR_FUNCTIONS(StatusStrip)

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
    // as its tool tip; an empty tip takes the mark away and gives the button its own tip back.
    void showNotStored(const QString& tip);

    // The window's shape: a rectangle of `size` with corners of `radius` pixels.
    static QBitmap roundedMask(const QSize& size, int radius);

private:
    // The lamps' names and tips from the texts beside them and the hint.
    void describeLamps();

    QCheckBox* usbLamp;
    QLabel* usbText;
    QCheckBox* testLamp;
    QLabel* testText;
    QPushButton* save;
    QString saveTip;
    QString hint;
};
