// The scope's reply decoding: the channel names of SCOPE_NAME_RD and the samples of
// SCOPE_DATA_RD, whatever the bytes, never reading outside them.
#include "engine/scopereply.h"
#include "finishedtask.h"

#include <QtTest>

class TestScopeReply : public QObject
{
    Q_OBJECT

private slots:
    void decodeNames_data();
    void decodeNames();
    void decodeSamples_data();
    void decodeSamples();
};

void TestScopeReply::decodeNames_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QStringList>("names");
    QStringList forty;
    QByteArray fortyBytes;
    for (int i = 0; i < 40; ++i) {
        forty << QStringLiteral("ch%1").arg(i);
        fortyBytes += "ch" + QByteArray::number(i) + '\0';
    }
    QTest::newRow("two names then empty") << QByteArray("roll\0pitch\0\0zzz\0", 17) << QStringList{"roll", "pitch"};
    QTest::newRow("names after the first empty") << QByteArray("a\0\0b\0c\0", 8) << QStringList{"a"};
    QTest::newRow("unterminated last name") << QByteArray("a\0bcd", 5) << QStringList{"a", "bcd"};
    QTest::newRow("one unterminated byte") << QByteArray("x") << QStringList{"x"};
    QTest::newRow("40 names") << fortyBytes << QStringList(forty.mid(0, 32));
    QTest::newRow("non-ASCII") << QByteArray("\xC3\xA9t\xFF\x01\0", 6)
                               << QStringList{QString::fromLatin1("\xC3\xA9t\xFF\x01")};
    QTest::newRow("empty payload") << QByteArray() << QStringList();
    QTest::newRow("padding only") << QByteArray(62, '\0') << QStringList();
}

void TestScopeReply::decodeNames()
{
    QFETCH(QByteArray, payload);
    QFETCH(QStringList, names);
    // A copy of exactly the payload's size: a read past it would show under a sanitizer.
    const QByteArray exact(payload.constData(), payload.size());
    QCOMPARE(ScopeReply::decodeNames(exact), names);
}

void TestScopeReply::decodeSamples_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("decoded");
    QTest::addColumn<QVector<float>>("samples");
    const QByteArray two = littleEndian(2.0f, -1.5f);
    QTest::newRow("two channels") << two << 2 << true << QVector<float>{2.0f, -1.5f};
    QTest::newRow("padding beyond the channels") << two + QByteArray(54, '\0') << 2 << true << QVector<float>{2.0f, -1.5f};
    QTest::newRow("one channel short") << two.left(7) << 2 << false << QVector<float>();
    QTest::newRow("1-byte reply") << QByteArray(1, '\x40') << 1 << false << QVector<float>();
    QTest::newRow("no channels") << two << 0 << true << QVector<float>();
}

void TestScopeReply::decodeSamples()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, channels);
    QFETCH(bool, decoded);
    QFETCH(QVector<float>, samples);
    const QByteArray exact(payload.constData(), payload.size());
    QVector<float> out;
    QCOMPARE(ScopeReply::decodeSamples(exact, channels, &out), decoded);
    QCOMPARE(out, samples);
}

QTEST_GUILESS_MAIN(TestScopeReply)
#include "tst_scopereply.moc"
