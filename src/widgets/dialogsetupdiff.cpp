#include "widgets/dialogsetupdiff.h"

#include "ui_dialogsetupdiff.h"

DialogSetupDiff::DialogSetupDiff(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogSetupDiff)
{
    ui->setupUi(this);
    // Frameless and transparent: only the background image is visible.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->pushButton_Cancel->setDefault(true);
    connect(ui->pushButton_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->pushButton_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

DialogSetupDiff::~DialogSetupDiff()
{
    delete ui;
}

void DialogSetupDiff::setText(const QString& text)
{
    ui->label_info->setText(text);
}

void DialogSetupDiff::setRows(const QVector<SetupDiff::Row>& rows, const QString& otherTitle)
{
    ui->tableWidget_diff->setRows(rows, otherTitle);
}

bool DialogSetupDiff::ask(const QString& text, const QVector<SetupDiff::Row>& rows, const QString& otherTitle)
{
    DialogSetupDiff dialog;
    dialog.setText(text);
    dialog.setRows(rows, otherTitle);
    return dialog.exec() == QDialog::Accepted;
}
