#include "pages/dialoghistory.h"

#include "engine/setupdiff.h"
#include "ui_dialoghistory.h"
#include "widgets/setupdifftable.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>

DialogHistory::DialogHistory(const QVector<SetupHistory::Snapshot>& own,
                             const QVector<SetupHistory::Snapshot>& unknownBoard, const SetupRecord& controller,
                             QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogHistory)
    , now(controller)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->pushButton_Cancel->setDefault(true);
    ui->label_info->setText(own.isEmpty() && unknownBoard.isEmpty()
                                ? tr("No snapshot of this controller's setup has been taken yet.")
                                : tr("Snapshots of this controller's setup, newest first. Select one to see "
                                     "what restoring it would change."));

    QTableWidget* table = ui->tableWidget_snapshots;
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels({tr("Time"), tr("Reason"), tr("Differences")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    SetupDiffTable::applySkin(table);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    for (const SetupHistory::Snapshot& s : own)
        addRow(s);
    if (!unknownBoard.isEmpty()) {
        // Kept before controllers of one model were told apart: maybe of this board, maybe not.
        const int heading = table->rowCount();
        table->insertRow(heading);
        auto* item = new QTableWidgetItem(tr("Board unknown"));
        item->setToolTip(tr("Kept before controllers of one model were told apart: maybe of this board, maybe of "
                            "another."));
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(QColor(132, 138, 145));
        QFont italic = item->font();
        italic.setItalic(true);
        item->setFont(italic);
        table->setItem(heading, 0, item);
        table->setSpan(heading, 0, 1, 3);
        for (const SetupHistory::Snapshot& s : unknownBoard)
            addRow(s);
    }
    ui->tableWidget_diff->setRows({}, tr("Snapshot"));
    ui->pushButton_restore->setEnabled(false);

    connect(table, &QTableWidget::itemSelectionChanged, this, &DialogHistory::showSelected);
    connect(ui->pushButton_restore, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->pushButton_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (!list.isEmpty())
        select(0);
}

DialogHistory::~DialogHistory()
{
    delete ui;
}

void DialogHistory::addRow(const SetupHistory::Snapshot& s)
{
    QTableWidget* table = ui->tableWidget_snapshots;
    const int row = table->rowCount();
    table->insertRow(row);
    list.push_back(s);
    rowOf.push_back(row);
    table->setItem(row, 0, new QTableWidgetItem(s.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    table->setItem(row, 1, new QTableWidgetItem(reasonText(s.reason)));
    auto* count = new QTableWidgetItem(QString::number(SetupDiff::rows(now, s.setup).size()));
    count->setTextAlignment(Qt::AlignCenter);
    table->setItem(row, 2, count);
}

const SetupHistory::Snapshot* DialogHistory::chosen() const
{
    return selected < 0 ? nullptr : &list[selected];
}

void DialogHistory::select(int index)
{
    if (index >= 0 && index < rowOf.size())
        ui->tableWidget_snapshots->selectRow(rowOf[index]);
}

void DialogHistory::showSelected()
{
    const QList<QTableWidgetItem*> items = ui->tableWidget_snapshots->selectedItems();
    selected = items.isEmpty() ? -1 : int(rowOf.indexOf(items.first()->row()));
    const QVector<SetupDiff::Row> rows =
        selected < 0 ? QVector<SetupDiff::Row>() : SetupDiff::rows(now, list[selected].setup);
    ui->tableWidget_diff->setRows(rows, tr("Snapshot"));
    // Nothing to restore when the controller holds the snapshot already.
    ui->pushButton_restore->setEnabled(!rows.isEmpty());
}

QString DialogHistory::reasonText(const QString& reason)
{
    if (reason == QLatin1String(SetupHistory::kConnected))
        return tr("Connected");
    if (reason == QLatin1String(SetupHistory::kBeforeStore))
        return tr("Before Save");
    if (reason == QLatin1String(SetupHistory::kBeforeDefaults))
        return tr("Before Default");
    if (reason == QLatin1String(SetupHistory::kBeforeLoad))
        return tr("Before loading a file");
    if (reason == QLatin1String(SetupHistory::kBeforeUpdate))
        return tr("Before a firmware update");
    return reason;
}
