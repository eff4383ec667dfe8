// The warning box shared by the main window and the pages: its form, Enter and Escape, its two
// buttons, and long texts, which must fit above the buttons in both languages.
#include "modalscript.h"

#include "app/appstartup.h"
#include "widgets/dialogwarning.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QtTest>

class TestDialogWarning : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void warningForm();
    void warningKeys_data();
    void warningKeys();
    void warningButtons_data();
    void warningButtons();
    void warningLongTextWraps();
    void textFits_data();
    void textFits();
};

void TestDialogWarning::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    QSettings settings;
    settings.setValue(QStringLiteral("font/arial_family"), QStringLiteral("DejaVu Sans"));
    settings.setValue(QStringLiteral("font/you_family"), QStringLiteral("Noto Sans CJK SC"));
}

void TestDialogWarning::warningForm()
{
    DialogWarning dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogWarning"));
    QCOMPARE(int(dialog.windowFlags()), 0x803);
    QVERIFY(dialog.testAttribute(Qt::WA_TranslucentBackground));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("pushButton_OK"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("pushButton_Cancel"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("label_info"));
    auto* frame = dialog.findChild<QFrame*>(QStringLiteral("frame_main"));
    QVERIFY(ok && cancel && label && frame);
    QCOMPARE(ok->geometry(), QRect(360, 120, 60, 25));
    QCOMPARE(cancel->geometry(), QRect(430, 120, 60, 25));
    QCOMPARE(label->geometry(), QRect(93, 15, 405, 120));
    QCOMPARE(frame->minimumSize(), QSize(500, 150));
    QCOMPARE(frame->maximumSize(), QSize(500, 150));
    QVERIFY(cancel->isDefault());
    QVERIFY(!ok->isDefault());
    QVERIFY(ok->text().isEmpty() && cancel->text().isEmpty());
    QCOMPARE(label->text(), QStringLiteral("OK"));
    QVERIFY(label->wordWrap());
    QCOMPARE(label->textInteractionFlags(),
             Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    // The buttons lie above the label, which overlaps them.
    const QObjectList order = frame->children();
    QVERIFY(order.indexOf(label) < order.indexOf(ok));
    QVERIFY(order.indexOf(label) < order.indexOf(cancel));

    dialog.setText(QStringLiteral("Store now?"));
    QCOMPARE(label->text(), QStringLiteral("Store now?"));
}

void TestDialogWarning::warningKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    // Enter alone must never confirm a question.
    QTest::newRow("Return activates Cancel") << int(Qt::Key_Return) << 0;
    QTest::newRow("Enter activates Cancel") << int(Qt::Key_Enter) << 0;
    QTest::newRow("Escape rejects") << int(Qt::Key_Escape) << 0;
    QTest::newRow("Space presses Cancel, which has the focus") << int(Qt::Key_Space) << 0;
}

void TestDialogWarning::warningKeys()
{
    QFETCH(int, key);
    QFETCH(int, result);
    DialogWarning dialog;
    dialog.setText(QStringLiteral("Restore defaults?"));
    // A key that closes nothing leaves the box open: closed with 42 instead.
    ModalScript press;
    press.on<DialogWarning>([key](DialogWarning* shown) {
        QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown, Qt::Key(key));
        if (shown->isVisible())
            shown->done(42);
    });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(dialog.result(), result);
}

void TestDialogWarning::warningButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("OK accepts") << QStringLiteral("pushButton_OK") << 1;
    QTest::newRow("Cancel rejects") << QStringLiteral("pushButton_Cancel") << 0;
}

void TestDialogWarning::warningButtons()
{
    QFETCH(QString, button);
    QFETCH(int, result);
    DialogWarning dialog;
    auto* target = dialog.findChild<QPushButton*>(button);
    QVERIFY(target);
    QTimer::singleShot(0, target, [target] { QTest::mouseClick(target, Qt::LeftButton); });
    QTimer::singleShot(2000, &dialog, [&dialog] { dialog.done(42); });
    QCOMPARE(dialog.exec(), result);
}

void TestDialogWarning::warningLongTextWraps()
{
    DialogWarning dialog;
    const QString text = QStringLiteral(
        "During the motor test,please remove all propellers in case of unexpected danger! "
        "Please make sure the order and rotation of motors are the same as the picture shown "
        "in the software.");
    dialog.setText(text);
    dialog.show();
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("label_info"));
    QCOMPARE(label->width(), 405);
    // The text fits the label's width by wrapping onto several lines.
    const int oneLine = label->fontMetrics().height();
    QVERIFY(label->heightForWidth(405) >= 2 * oneLine);
    QVERIFY(label->fontMetrics().horizontalAdvance(text) > 405);
}

void TestDialogWarning::textFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("text");
    const QList<QStringList> texts{
        {"PageFCRc", "rc_cali_start",
         "Operating instruction： turn all channel sticks,make sure all of them move from the "
         "minimum position to the maximum position,and then click \"Complete\" after "
         "completed. operate now?"},
        {"PageFCRc", "rc_cali_finish",
         "Please middle the THROTTLE and click \"OK\" bellow to complete the calibration."},
        {"PageFCStatus", "motor_test",
         "During the motor test,please remove all propellers in case of unexpected danger! "
         "Please make sure the order and rotation of motors are the same as the picture shown "
         "in the software."},
        {"FCApp", "restore",
         "This operation will restore all settings to default value, are you sure?"},
    };
    for (const QString& language : {QStringLiteral("en"), QStringLiteral("zh")}) {
        for (const QStringList& t : texts) {
            QTest::addRow("%s %s", qPrintable(t[1]), qPrintable(language))
                << language << t[0] << t[2];
        }
    }
}

// What the pilot reads in the question box: every line above the buttons and clear of the
// right edge, as large as it fits; short texts keep the full size.
void TestDialogWarning::textFits()
{
    QFETCH(QString, language);
    QFETCH(QString, context);
    QFETCH(QString, text);
    QSettings().setValue(QStringLiteral("main/language"), language);
    AppStartup startup(*qApp);
    QCOMPARE(startup.chinese(), language == QStringLiteral("zh"));
    const QString shown = QCoreApplication::translate(context.toLatin1(), text.toUtf8());
    QVERIFY(language == "en" ? shown == text : shown != text);

    DialogWarning warning;
    warning.setText(shown);
    warning.show();
    QVERIFY(QTest::qWaitForWindowExposed(&warning));

    auto* label = warning.findChild<QLabel*>(QStringLiteral("label_info"));
    auto* ok = warning.findChild<QWidget*>(QStringLiteral("pushButton_OK"));
    QCOMPARE(label->text(), shown);
    QVERIFY(warning.textPoints() >= DialogWarning::kMinTextPoints);
    const QRect area = label->contentsRect();
    const QRect drawn = label->fontMetrics().boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, shown);
    const QRect onDialog = drawn.translated(label->mapTo(&warning, QPoint()));
    const int okTop = ok->mapTo(&warning, QPoint()).y();
    QVERIFY2(onDialog.bottom() < okTop,
             qPrintable(QStringLiteral("text ends at %1").arg(onDialog.bottom())));
    QVERIFY2(area.contains(drawn), qPrintable(QStringLiteral("%1 %2 %3 %4").arg(drawn.x()).arg(drawn.y()).arg(drawn.width()).arg(drawn.height())));
    QVERIFY(onDialog.right() <= warning.width() - DialogWarning::kSideMargin);
    // As large as it fits (which of the texts need a smaller size depends on the font
    // engine's metrics): one point more would reach the buttons' gap or the edges.
    if (warning.textPoints() < DialogWarning::kTextPoints) {
        QFont larger = label->font();
        larger.setPointSize(warning.textPoints() + 1);
        const QRect need = QFontMetrics(larger).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, shown);
        const int centre = label->mapTo(&warning, area.center()).y();
        QVERIFY2(need.height() > 2 * (okTop - DialogWarning::kButtonGap - centre) || need.width() > area.width(),
                 qPrintable(QStringLiteral("%1 pt would fit").arg(warning.textPoints() + 1)));
    }
}

QTEST_MAIN(TestDialogWarning)
#include "tst_dialogwarning.moc"
