#include "widgets/statusstrip.h"

#include <QBitmap>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

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

StatusStrip::StatusStrip(QCheckBox* usbLamp, QLabel* usbText, QCheckBox* testLamp, QLabel* testText,
                         QPushButton* save)
    : usbLamp(usbLamp)
    , usbText(usbText)
    , testLamp(testLamp)
    , testText(testText)
    , save(save)
{
}

void StatusStrip::showNotStored(const QString& tip)
{
    // The button's own sheet wins over the window's: the fourth image while marked.
    save->setStyleSheet(tip.isEmpty()
                            ? QString()
                            : QStringLiteral("QPushButton#pushButton_storge { background-image: url(:/GUI/save4.png); }\n"
                                             "QPushButton#pushButton_storge:hover { background-image: url(:/GUI/save2.png); }\n"
                                             "QPushButton#pushButton_storge:pressed { background-image: url(:/GUI/save3.png); }"));
    save->setToolTip(tip);
}

QBitmap StatusStrip::roundedMask(const QSize& size, int radius)
{
    QBitmap mask(size);
    mask.clear();
    QPainter painter(&mask);
    painter.setPen(Qt::color1);
    painter.setBrush(Qt::color1);
    painter.drawRoundedRect(QRect(QPoint(0, 0), size), radius, radius, Qt::AbsoluteSize);
    return mask;
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
