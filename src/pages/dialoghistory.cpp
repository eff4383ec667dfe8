#include "pages/dialoghistory.h"

#include "engine/setupdiff.h"
#include "ui_dialoghistory.h"
#include "widgets/setupdifftable.h"

#include <QHeaderView>

DialogHistory::DialogHistory(const QVector<SetupHistory::Snapshot>& snapshots, const SetupRecord& controller,
                             QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogHistory)
    , list(snapshots)
    , now(controller)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->pushButton_Cancel->setDefault(true);
    ui->label_info->setText(list.isEmpty()
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
    table->setRowCount(list.size());
    for (int i = 0; i < list.size(); ++i) {
        const SetupHistory::Snapshot& s = list[i];
        table->setItem(i, 0, new QTableWidgetItem(s.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        table->setItem(i, 1, new QTableWidgetItem(reasonText(s.reason)));
        const int differing = SetupDiff::rows(now, s.setup).size();
        auto* count = new QTableWidgetItem(QString::number(differing));
        count->setTextAlignment(Qt::AlignCenter);
        table->setItem(i, 2, count);
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

void DialogHistory::select(int row)
{
    ui->tableWidget_snapshots->selectRow(row);
}

void DialogHistory::showSelected()
{
    const QList<QTableWidgetItem*> items = ui->tableWidget_snapshots->selectedItems();
    selected = items.isEmpty() ? -1 : items.first()->row();
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
