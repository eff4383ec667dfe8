#include "pages/pagefcpara.h"

#include "pages/setupactions.h"
#include "protocol/helper.h"
#include "protocol/requests.h"
#include "ui_pagefcpara.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDebug>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalMapper>

PageFCPara::PageFCPara(QWidget* parent, Build when)
    : PageFC(parent)
    , ui(new Ui::PageFCPara)
    , tabGroup(new QButtonGroup(this))
    , gainGroup(new QButtonGroup(this))
    , linkGroup(new QButtonGroup(this))
    , escGroup(new QButtonGroup(this))
    , spinBoxMapper(new QSignalMapper(this))
    , actions(new SetupActions(this))
{
    setObjectName(QStringLiteral("pageFCPara"));
    setFixedSize(780, 310);
    connect(actions, &SetupActions::sendTask, this, &PageFC::AddTask);
    buildIf(when);
}

void PageFCPara::build()
{
    ui->setupUi(this);
    setFixedSize(780, 310);

    tabGroup->addButton(ui->radioButton_page_esc, 0);
    tabGroup->addButton(ui->radioButton_page_para, 1);
    tabGroup->addButton(ui->radioButton_page_gain, 2);
    gainGroup->addButton(ui->radioButton_gain_simple, 0);
    gainGroup->addButton(ui->radioButton_gain_expert, 1);
    linkGroup->setExclusive(false);
    linkGroup->addButton(ui->checkBox_linkXY_1, 0);
    linkGroup->addButton(ui->checkBox_linkXY_2, 1);
    linkGroup->addButton(ui->checkBox_linkXY_3, 2);
    linkGroup->addButton(ui->checkBox_linkXY_4, 3);
    escGroup->addButton(ui->radioButton_esc_2D, 0);
    escGroup->addButton(ui->radioButton_esc_3D, 1);

    // idClicked is buttonClicked(int) under its current name: only a user's click emits it,
    // never a setChecked() from a reply.
    connect(tabGroup, &QButtonGroup::idClicked, ui->stackedWidget, &QStackedWidget::setCurrentIndex);
    connect(gainGroup, &QButtonGroup::idClicked, this, &PageFCPara::paraTypeChanged);
    connect(linkGroup, &QButtonGroup::idClicked, this, &PageFCPara::linkXYChanged);
    connect(escGroup, &QButtonGroup::idClicked, this, &PageFCPara::escTypeChanged);
    connect(ui->checkBox_oneshot125, &QCheckBox::stateChanged, this, &PageFCPara::oneshot125Changed);

    for (QDoubleSpinBox* box : ui->frame_background->findChildren<QDoubleSpinBox*>()) {
        connect(box, &QDoubleSpinBox::editingFinished, spinBoxMapper,
                QOverload<>::of(&QSignalMapper::map));
        // As a QObject: the QWidget overload would report it through mappedWidget instead.
        spinBoxMapper->setMapping(box, static_cast<QObject*>(box));
    }
    // mappedObject is mapped(QObject*) under its current name.
    connect(spinBoxMapper, &QSignalMapper::mappedObject, this, &PageFCPara::spinBoxesEditingFinished);

    connect(ui->pushButton_paraSave, &QPushButton::clicked, actions, &SetupActions::saveClicked);
    connect(ui->pushButton_paraLoad, &QPushButton::clicked, actions, &SetupActions::loadClicked);
    connect(ui->pushButton_paraHistory, &QPushButton::clicked, actions, &SetupActions::openHistory);

    ui->stackedWidget->setCurrentIndex(0);
    ui->radioButton_page_esc->setChecked(true);
    ui->radioButton_gain_simple->setChecked(true);
    ui->radioButton_esc_2D->setChecked(true);
    if (deviceRead)
        refresh(true);
}

PageFCPara::~PageFCPara()
{
    // QWidget's destructor hides the page, and a spin box losing focus then finishes its
    // editing: that must not reach this page's slot once the page is half destroyed.
    spinBoxMapper->disconnect(this);
    delete ui;
}

void PageFCPara::paraTypeChanged(int id)
{
    edit.paraType = qint8(id);
    sendEdit();
}

void PageFCPara::linkXYChanged(int id)
{
    QAbstractButton* box = linkGroup->button(id);
    edit.linkXY = box && box->isChecked() ? 1 : 0;
    sendEdit();
}

void PageFCPara::escTypeChanged(int id)
{
    edit.escType = qint8(id);
    sendEdit();
}

void PageFCPara::oneshot125Changed()
{
    edit.oneshot125 = ui->checkBox_oneshot125->isChecked() ? 1 : 0;
    sendEdit();
}

void PageFCPara::spinBoxesEditingFinished(QObject* box)
{
    // Truncation toward zero, as the controller's integers expect.
    const auto int16Of = [](const QDoubleSpinBox* b) { return qint16(int(b->value())); };
    edit.avxy_max = int16Of(ui->doubleSpinBox_avxy_max);
    edit.axy_max = int16Of(ui->doubleSpinBox_axy_max);
    edit.avz_max = int16Of(ui->doubleSpinBox_avz_max);
    edit.escMin = int16Of(ui->doubleSpinBox_escMin);
    edit.escDeadMin = int16Of(ui->doubleSpinBox_escDeadMin);
    edit.escDeadMax = int16Of(ui->doubleSpinBox_escDeadMax);
    edit.escMax = int16Of(ui->doubleSpinBox_escMax);
    edit.simple_avx = int16Of(ui->doubleSpinBox_simple_avx);
    edit.simple_avy = int16Of(ui->doubleSpinBox_simple_avy);
    edit.simple_ax = int16Of(ui->doubleSpinBox_simple_ax);
    edit.simple_ay = int16Of(ui->doubleSpinBox_simple_ay);
    edit.simple_avz = int16Of(ui->doubleSpinBox_simple_avz);
    edit.expert_avx_p = float(ui->doubleSpinBox_expert_avx_p->value());
    edit.expert_avx_i = float(ui->doubleSpinBox_expert_avx_i->value());
    edit.expert_avx_d = float(ui->doubleSpinBox_expert_avx_d->value());
    edit.expert_avy_p = float(ui->doubleSpinBox_expert_avy_p->value());
    edit.expert_avy_i = float(ui->doubleSpinBox_expert_avy_i->value());
    edit.expert_avy_d = float(ui->doubleSpinBox_expert_avy_d->value());
    edit.expert_ax_p = float(ui->doubleSpinBox_expert_ax_p->value());
    edit.expert_ax_i = float(ui->doubleSpinBox_expert_ax_i->value());
    edit.expert_ax_d = float(ui->doubleSpinBox_expert_ax_d->value());
    edit.expert_ay_p = float(ui->doubleSpinBox_expert_ay_p->value());
    edit.expert_ay_i = float(ui->doubleSpinBox_expert_ay_i->value());
    edit.expert_ay_d = float(ui->doubleSpinBox_expert_ay_d->value());
    edit.expert_avz_p = float(ui->doubleSpinBox_expert_avz_p->value());
    edit.expert_avz_i = float(ui->doubleSpinBox_expert_avz_i->value());
    edit.expert_avz_d = float(ui->doubleSpinBox_expert_avz_d->value());

    // The switches are the controller's, as last read, whatever the buttons show meanwhile.
    edit.paraType = device.paraType;
    edit.linkXY = device.linkXY;
    edit.reserved = device.reserved;
    edit.oneshot125 = device.oneshot125;
    edit.escType = device.escType;

    // editingFinished also comes with every loss of focus (a dialog opening, another window):
    // a record equal to the controller's is no edit and is not written.
    if (edit == device)
        return;
    sendEdit();
    qDebug().noquote() << (box ? box->objectName() : QString()) + QStringLiteral("  spinBoxesEditingFinished!");
}

void PageFCPara::sendEdit()
{
    // Before the first record arrives the boxes hold construction defaults and the switches
    // and reserved byte are unknown: writing them would overwrite the controller's tuning.
    if (!deviceRead) {
        qDebug() << "No parameters read yet: nothing written";
        return;
    }
    emit AddTask(FCProtocol::Request::paraWrite(edit));
}

void PageFCPara::TaskDone(FCProtocol::Task* task)
{
    // The file and history readings and writes see their failures too.
    actions->taskDone(task);
    if (task->status != FCProtocol::Task::Success)
        return;
    task->rxStream.device()->seek(task->headLength);
    if (task->type != FCProtocol::PARA_RD && task->type != FCProtocol::PARA_WR)
        return;

    // A reply too short for the whole record is no record: keep what the page has.
    if (!FCProtocol::DS_PARA::decode(task->rxData.mid(task->headLength), &device))
        return;
    deviceRead = true;
    edit = device;

    // Each box and button repaints itself when what it shows changes; a form built later
    // shows the record then.
    if (isBuilt())
        refresh(task->type == FCProtocol::PARA_WR);
}

void PageFCPara::setBox(QDoubleSpinBox* box, double value, bool forced)
{
    // A spin box repaints on every setValue(), equal or not, and the same record comes 20
    // times a second: a box already showing the value is left alone. The common case, the
    // value this page last wrote into the box and the box still holding it, costs no text.
    Written& last = written[box];
    if (!forced && last.value == value && box->value() == last.shown)
        return;
    // A poll must not take the number from under the pilot's fingers; a write reply may. A box
    // that merely has focus follows the controller: left stale, its old number would be written
    // back when the focus leaves it (after a restore, a load or the defaults).
    const auto* typing = box->findChild<QLineEdit*>();
    if (!forced && box->hasFocus() && typing && typing->isModified())
        return;
    // The box keeps a value rounded to its decimals and bounded to its range.
    const double shown = qBound(box->minimum(), QString::number(value, 'f', box->decimals()).toDouble(),
                                box->maximum());
    if (box->value() != shown || box->cleanText() != box->textFromValue(shown))
        box->setValue(value);
    last = {value, box->value()};
}

void PageFCPara::refresh(bool forced)
{
    const auto u16 = [](qint16 v) { return double(quint16(v)); };
    setBox(ui->doubleSpinBox_avxy_max, u16(device.avxy_max), forced);
    setBox(ui->doubleSpinBox_axy_max, u16(device.axy_max), forced);
    setBox(ui->doubleSpinBox_avz_max, u16(device.avz_max), forced);
    setBox(ui->doubleSpinBox_escMin, u16(device.escMin), forced);
    setBox(ui->doubleSpinBox_escDeadMin, u16(device.escDeadMin), forced);
    setBox(ui->doubleSpinBox_escDeadMax, u16(device.escDeadMax), forced);
    setBox(ui->doubleSpinBox_escMax, u16(device.escMax), forced);
    setBox(ui->doubleSpinBox_simple_avx, u16(device.simple_avx), forced);
    setBox(ui->doubleSpinBox_simple_avy, u16(device.simple_avy), forced);
    setBox(ui->doubleSpinBox_simple_ax, u16(device.simple_ax), forced);
    setBox(ui->doubleSpinBox_simple_ay, u16(device.simple_ay), forced);
    setBox(ui->doubleSpinBox_simple_avz, u16(device.simple_avz), forced);
    setBox(ui->doubleSpinBox_expert_avx_p, device.expert_avx_p, forced);
    setBox(ui->doubleSpinBox_expert_avx_i, device.expert_avx_i, forced);
    setBox(ui->doubleSpinBox_expert_avx_d, device.expert_avx_d, forced);
    setBox(ui->doubleSpinBox_expert_avy_p, device.expert_avy_p, forced);
    setBox(ui->doubleSpinBox_expert_avy_i, device.expert_avy_i, forced);
    setBox(ui->doubleSpinBox_expert_avy_d, device.expert_avy_d, forced);
    setBox(ui->doubleSpinBox_expert_ax_p, device.expert_ax_p, forced);
    setBox(ui->doubleSpinBox_expert_ax_i, device.expert_ax_i, forced);
    setBox(ui->doubleSpinBox_expert_ax_d, device.expert_ax_d, forced);
    setBox(ui->doubleSpinBox_expert_ay_p, device.expert_ay_p, forced);
    setBox(ui->doubleSpinBox_expert_ay_i, device.expert_ay_i, forced);
    setBox(ui->doubleSpinBox_expert_ay_d, device.expert_ay_d, forced);
    setBox(ui->doubleSpinBox_expert_avz_p, device.expert_avz_p, forced);
    setBox(ui->doubleSpinBox_expert_avz_i, device.expert_avz_i, forced);
    setBox(ui->doubleSpinBox_expert_avz_d, device.expert_avz_d, forced);

    // Values without a button (other than 0 and 1) leave the group as it is.
    if (QAbstractButton* button = gainGroup->button(device.paraType))
        button->setChecked(true);

    const bool linked = device.linkXY != 0;
    for (QAbstractButton* box : linkGroup->buttons())
        box->setChecked(linked);

    if (quint8(device.paraType) != appliedGainMode) {
        const bool expert = device.paraType != 0;
        ui->frame_spinBox_simple_gain->setEnabled(!expert);
        ui->frame_spinBox_expert_gain->setEnabled(expert);
    }

    // Through stateChanged a change here writes the record just read (edit == device).
    ui->checkBox_oneshot125->setChecked(device.oneshot125 != 0);

    if (QAbstractButton* button = escGroup->button(device.escType))
        button->setChecked(true);

    // In 2D the dead band means nothing: the boxes show it greyed on their light fields.
    const bool threeD = device.escType != 0;
    for (QDoubleSpinBox* box : {ui->doubleSpinBox_escDeadMin, ui->doubleSpinBox_escDeadMax})
        box->setEnabled(threeD);

    appliedGainMode = quint8(device.paraType);
}

void PageFCPara::mainLoop()
{
    if (isVisible())
        emit AddTask(FCProtocol::Request::paraRead());
}

void PageFCPara::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    // Only the board text of a saved tuning file uses it.
    telemetry = info;
    telemetryRead = true;
}

QString PageFCPara::boardText() const
{
    return telemetryRead ? FCProtocol::Helper::boardName(telemetry.boardWord) : QString();
}

void PageFCPara::setSetupKeeper(SetupKeeper* setupKeeper)
{
    actions->setSetupKeeper(setupKeeper);
}

const SetupWrite* PageFCPara::verifiedWrite() const
{
    return actions->verifiedWrite();
}

bool PageFCPara::saveTuningFile(const QString& path)
{
    return actions->save(path);
}

bool PageFCPara::loadTuningFile(const QString& path)
{
    return actions->load(path);
}

bool PageFCPara::openHistory()
{
    return actions->openHistory();
}
