#include "pages/dialogrcfunclinear.h"

#include "ui_dialogrcfunclinear.h"

#include <QButtonGroup>

DialogRCFuncLinear::DialogRCFuncLinear(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogRCFuncLinear)
    , group(new QButtonGroup(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QStringLiteral("background-image: url(:/GUI/page3-rcfunc-dialog-2.png)"));

    group->addButton(ui->pushButton_1, 0);
    group->addButton(ui->pushButton_2, 1);

    connect(group, &QButtonGroup::idClicked, this, &QDialog::accept);
    connect(group, &QButtonGroup::idClicked, this, &DialogRCFuncLinear::buttonClicked);
}

DialogRCFuncLinear::~DialogRCFuncLinear()
{
    delete ui;
}

QButtonGroup* DialogRCFuncLinear::buttonGroup() const
{
    return group;
}

int DialogRCFuncLinear::chosenOption() const
{
    return chosen;
}

void DialogRCFuncLinear::buttonClicked(int i)
{
    chosen = i;
}
