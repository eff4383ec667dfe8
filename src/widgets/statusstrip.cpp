#include "widgets/statusstrip.h"

#include <QCheckBox>
#include <QLabel>

namespace {

const QString kGreen = QStringLiteral("QLabel { color: rgb(0, 150, 0); }");
const QString kRed = QStringLiteral("QLabel { color: rgb(150, 0, 0); }");
const QString kGrey = QStringLiteral("QLabel { color: rgb(80, 80, 80); }");

// Telemetry comes twice a second with the same news nearly every time: a lamp, a text or a
// colour is touched only when it changes, since a new style sheet polishes the label again
// and repaints it even when equal to the old one.
void setLamp(QCheckBox* lamp, Qt::CheckState state)
{
    if (lamp->checkState() != state)
        lamp->setCheckState(state);
}

void setColour(QLabel* label, const QString& sheet)
{
    if (label->styleSheet() != sheet)
        label->setStyleSheet(sheet);
}

} // namespace

StatusStrip::StatusStrip(QCheckBox* usbLamp, QLabel* usbText, QCheckBox* testLamp, QLabel* testText)
    : usbLamp(usbLamp)
    , usbText(usbText)
    , testLamp(testLamp)
    , testText(testText)
{
}

void StatusStrip::showConnected(const QString& text)
{
    setLamp(usbLamp, Qt::Checked);
    usbText->setText(text);
    setColour(usbText, kGreen);
}

void StatusStrip::showDisconnected(const QString& text)
{
    setLamp(usbLamp, Qt::Unchecked);
    usbText->setText(text);
    setColour(usbText, kGrey);
    setLamp(testLamp, Qt::Unchecked);
    testText->setText(QString());
}

void StatusStrip::showSelfTest(const QString& text, bool good)
{
    testText->setText(text);
    setColour(testText, good ? kGreen : kRed);
    setLamp(testLamp, good ? Qt::Checked : Qt::PartiallyChecked);
}

void StatusStrip::setHint(const QString& text)
{
    usbLamp->setToolTip(text);
    usbText->setToolTip(text);
}
