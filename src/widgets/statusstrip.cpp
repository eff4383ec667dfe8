#include "widgets/statusstrip.h"

#include <QCheckBox>
#include <QLabel>

namespace {

const QString kGreen = QStringLiteral("QLabel { color: rgb(0, 150, 0); }");
const QString kRed = QStringLiteral("QLabel { color: rgb(150, 0, 0); }");
const QString kGrey = QStringLiteral("QLabel { color: rgb(80, 80, 80); }");

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
    usbLamp->setCheckState(Qt::Checked);
    usbText->setText(text);
    usbText->setStyleSheet(kGreen);
}

void StatusStrip::showDisconnected(const QString& text)
{
    usbLamp->setCheckState(Qt::Unchecked);
    usbText->setText(text);
    usbText->setStyleSheet(kGrey);
    testLamp->setCheckState(Qt::Unchecked);
    testText->setText(QString());
}

void StatusStrip::showSelfTest(const QString& text, bool good)
{
    testText->setText(text);
    testText->setStyleSheet(good ? kGreen : kRed);
    testLamp->setCheckState(good ? Qt::Checked : Qt::PartiallyChecked);
}

void StatusStrip::setHint(const QString& text)
{
    usbLamp->setToolTip(text);
    usbText->setToolTip(text);
}
