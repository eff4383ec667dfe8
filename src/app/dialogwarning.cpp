#include "app/dialogwarning.h"

#include "ui_dialogwarning.h"

#include <QPushButton>

DialogWarning::DialogWarning(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogWarning)
{
    ui->setupUi(this);
    // Frameless and transparent: only the background image is visible.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    // Cancel is the default so that Enter alone never confirms a question.
    ui->pushButton_OK->setAutoDefault(false);
    ui->pushButton_OK->setDefault(false);
    ui->pushButton_Cancel->setDefault(true);

    connect(ui->pushButton_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->pushButton_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

DialogWarning::~DialogWarning()
{
    delete ui;
}

void DialogWarning::setText(const QString& text)
{
    ui->label_info->setText(text);
}
