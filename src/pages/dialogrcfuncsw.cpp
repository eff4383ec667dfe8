#include "pages/dialogrcfuncsw.h"

#include "widgets/fittext.h"
#include "protocol/helper.h"
#include "ui_dialogrcfuncsw.h"

#include <QButtonGroup>

DialogRCFuncSw::DialogRCFuncSw(int position, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogRCFuncSw)
    , group(new QButtonGroup(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    // Each switch position has its own background, pointing at that position.
    switch (position) {
    case 0: setStyleSheet(QStringLiteral("background-image: url(:/GUI/page3-rcfunc-dialog-1.png)")); break;
    case 1: setStyleSheet(QStringLiteral("background-image: url(:/GUI/page3-rcfunc-dialog-2.png)")); break;
    case 2: setStyleSheet(QStringLiteral("background-image: url(:/GUI/page3-rcfunc-dialog-3.png)")); break;
    default: break;
    }

    QPushButton* const buttons[] = {ui->pushButton_1, ui->pushButton_2, ui->pushButton_3,
                                    ui->pushButton_4, ui->pushButton_5, ui->pushButton_6};
    for (int id = 0; id < 6; ++id) {
        group->addButton(buttons[id], id);
        FitText::setCondensed(buttons[id], FCProtocol::Helper::flyModeName(id));
        buttons[id]->setToolTip(FCProtocol::Helper::flyModeTip(id));
    }

    // accept() first: the choice is stored before exec() returns all the same, since the
    // dialog's event loop ends only after this click has been handled.
    connect(group, &QButtonGroup::idClicked, this, &QDialog::accept);
    connect(group, &QButtonGroup::idClicked, this, &DialogRCFuncSw::buttonClicked);
}

DialogRCFuncSw::~DialogRCFuncSw()
{
    delete ui;
}

QButtonGroup* DialogRCFuncSw::buttonGroup() const
{
    return group;
}

int DialogRCFuncSw::chosenOption() const
{
    return chosen;
}

void DialogRCFuncSw::buttonClicked(int i)
{
    chosen = i;
}
