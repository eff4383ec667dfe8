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

void describe(QWidget* lamp, const QString& name, const QString& tip)
{
    if (lamp->accessibleName() != name)
        lamp->setAccessibleName(name);
    if (lamp->toolTip() != tip)
        lamp->setToolTip(tip);
}

} // namespace

StatusStrip::StatusStrip(QCheckBox* usbLamp, QLabel* usbText, QCheckBox* testLamp, QLabel* testText,
                         QPushButton* save)
    : usbLamp(usbLamp)
    , usbText(usbText)
    , testLamp(testLamp)
    , testText(testText)
    , save(save)
    , saveTip(save->toolTip())
{
    describeLamps();
}

void StatusStrip::describeLamps()
{
    const QString connection = tr("Connection: %1").arg(usbText->text());
    describe(usbLamp, connection, hint.isEmpty() ? connection : connection + QLatin1Char('\n') + hint);
    // The self-test text is empty while no controller answers, and "ERR" before the first read.
    const QString test = testLamp->checkState() == Qt::Unchecked ? tr("Self-test: no result")
                                                                 : tr("Self-test: %1").arg(testText->text());
    describe(testLamp, test, test);
}

void StatusStrip::showNotStored(const QString& tip)
{
    // The button's own sheet wins over the window's: the fourth image while marked.
    save->setStyleSheet(tip.isEmpty()
                            ? QString()
                            : QStringLiteral("QPushButton#pushButton_storge { background-image: url(:/GUI/save4.png); }\n"
                                             "QPushButton#pushButton_storge:hover { background-image: url(:/GUI/save2.png); }\n"
                                             "QPushButton#pushButton_storge:pressed { background-image: url(:/GUI/save3.png); }\n"
                                             "QPushButton#pushButton_storge:disabled { background-image: url(:/GUI/save5.png); }"));
    save->setToolTip(tip.isEmpty() ? saveTip : tip);
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
    describeLamps();
}

void StatusStrip::showDisconnected(const QString& text)
{
    setLamp(usbLamp, Qt::Unchecked);
    usbText->setText(text);
    setColour(usbText, kGrey);
    setLamp(testLamp, Qt::Unchecked);
    testText->setText(QString());
    describeLamps();
}

void StatusStrip::showSelfTest(const QString& text, bool good)
{
    testText->setText(text);
    setColour(testText, good ? kGreen : kRed);
    setLamp(testLamp, good ? Qt::Checked : Qt::PartiallyChecked);
    describeLamps();
}

void StatusStrip::setHint(const QString& text)
{
    hint = text;
    usbText->setToolTip(text);
    describeLamps();
}
