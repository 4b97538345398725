#include "stream/stream_reader.h"
#include "stream/stream_writer.h"
#include "test_registry.h"

#include <QBuffer>
#include <QTemporaryFile>
#include <QTest>
#include <cstring>
#include <functional>

namespace {

QByteArray written(const std::function<void(TStreamWriter&)>& f)
{
    QByteArray out;
    TStreamWriter w(&out);
    f(w);
    return out;
}

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

// A pipe-like device: no size, no seeking, data handed out in small pieces.
class SequentialDevice : public QIODevice {
public:
    explicit SequentialDevice(QByteArray data) : m_data(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* dst, qint64 max) override
    {
        const qint64 n = std::min<qint64>({max, 7, m_data.size() - m_pos});
        std::memcpy(dst, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

// Accepts a few bytes, then fails, as a full disk does.
class FullDevice : public QIODevice {
public:
    FullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 n) override
    {
        if (m_room <= 0)
            return -1;
        const qint64 k = std::min(n, m_room);
        m_room -= k;
        return k;
    }

private:
    qint64 m_room = 10;
};

} // namespace

class TestStreamValues : public QObject {
    Q_OBJECT
private slots:
    void smallestIntegerTag_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("0") << qint64(0) << bytes({2, 0});
        QTest::newRow("127") << qint64(127) << bytes({2, 0x7f});
        QTest::newRow("-128") << qint64(-128) << bytes({2, 0x80});
        QTest::newRow("128") << qint64(128) << bytes({3, 0x80, 0});
        QTest::newRow("200 (font size)") << qint64(200) << bytes({3, 0xc8, 0});
        QTest::newRow("-129") << qint64(-129) << bytes({3, 0x7f, 0xff});
        QTest::newRow("32767") << qint64(32767) << bytes({3, 0xff, 0x7f});
        QTest::newRow("-32768") << qint64(-32768) << bytes({3, 0x00, 0x80});
        QTest::newRow("32768") << qint64(32768) << bytes({4, 0, 0x80, 0, 0});
        QTest::newRow("white") << qint64(16777215) << bytes({4, 0xff, 0xff, 0xff, 0});
        QTest::newRow("system colour") << qint64(qint32(0x80000008u)) << bytes({4, 8, 0, 0, 0x80});
        QTest::newRow("int min") << qint64(INT32_MIN) << bytes({4, 0, 0, 0, 0x80});
    }
    void smallestIntegerTag()
    {
        QFETCH(qint64, value);
        QFETCH(QByteArray, encoded);
        QCOMPARE(written([&](TStreamWriter& w) { w.writeInteger(value); }), encoded);
        TStreamReader r(encoded);
        QCOMPARE(qint64(r.readInteger()), value);
        QVERIFY(r.atEnd());
    }

    void integerOutOfRangeIsNotWritten()
    {
        QByteArray out;
        TStreamWriter w(&out);
        QVERIFY_THROWS_EXCEPTION(EStreamError, w.writeInteger(qint64(1) << 32));
    }

    void stringTags()
    {
        QCOMPARE(written([](TStreamWriter& w) { w.writeString(QStringLiteral("Jan")); }), bytes({6, 3, 'J', 'a', 'n'}));
        const QString s255(255, QLatin1Char('x'));
        const QByteArray enc255 = written([&](TStreamWriter& w) { w.writeString(s255); });
        QCOMPARE(enc255.size(), 2 + 255);
        QCOMPARE(enc255[0], char(6));
        const QString s300(300, QLatin1Char('y'));
        const QByteArray enc300 = written([&](TStreamWriter& w) { w.writeString(s300); });
        QCOMPARE(enc300.left(5), bytes({12, 0x2c, 0x01, 0, 0}));
        QCOMPARE(enc300.size(), 5 + 300);
        TStreamReader r(enc255 + enc300);
        QCOMPARE(r.readString(), s255);
        QCOMPARE(r.readString(), s300);
    }

    // 100 Greek letters are 200 UTF-8 bytes plus the mark: still a short string; 130 are not.
    void utf8FallbackCountsBytes()
    {
        const QString shortGreek(100, QChar(0x03b1));
        const QByteArray a = written([&](TStreamWriter& w) { w.writeString(shortGreek); });
        QCOMPARE(a[0], char(6));
        QCOMPARE(quint8(a[1]), quint8(203));
        const QString longGreek(130, QChar(0x03b1));
        const QByteArray b = written([&](TStreamWriter& w) { w.writeString(longGreek); });
        QCOMPARE(b[0], char(12));
        TStreamReader r(a + b);
        QCOMPARE(r.readString(), shortGreek);
        QCOMPARE(r.readString(), longGreek);
    }

    void booleansIdentsSetsBinary()
    {
        const QByteArray enc = written([](TStreamWriter& w) {
            w.writeBoolean(true);
            w.writeBoolean(false);
            w.writeIdent("bsSingle");
            w.writeSet({"fsBold", "fsItalic"});
            w.writeSet({});
            w.writeBinary(QByteArray("\0\1\2", 3));
            w.writeNil();
            w.writeFloat(1.5);
        });
        QCOMPARE(enc, bytes({9, 8, 7, 8, 'b', 's', 'S', 'i', 'n', 'g', 'l', 'e', 11, 6, 'f', 's', 'B', 'o', 'l', 'd', 8,
                             'f', 's', 'I', 't', 'a', 'l', 'i', 'c', 0, 11, 0, 10, 3, 0, 0, 0, 0, 1, 2, 13, 5, 0, 0, 0,
                             0, 0, 0, 0, 0xc0, 0xff, 0x3f}));
        TStreamReader r(enc);
        QCOMPARE(r.readBoolean(), true);
        QCOMPARE(r.readBoolean(), false);
        QCOMPARE(r.readIdent(), QByteArray("bsSingle"));
        QCOMPARE(r.readSet(), (QList<QByteArray>{"fsBold", "fsItalic"}));
        QVERIFY(r.readSet().isEmpty());
        QCOMPARE(r.readBinary(), QByteArray("\0\1\2", 3));
        QCOMPARE(r.nextValue(), TValueType::vaNil);
        r.skipValue();
        QCOMPARE(r.readFloat(), 1.5);
        QVERIFY(r.atEnd());
    }

    // A Boolean is true exactly for the true tag; any other tag reads false.
    void booleanOnlyTrueTag()
    {
        TStreamReader r(bytes({13, 2}));
        QCOMPARE(r.readBoolean(), false);
        QCOMPARE(r.readBoolean(), false);
    }

    void readerAcceptsAnyIntegerAndStringTag()
    {
        TStreamReader r(bytes({4, 5, 0, 0, 0, 3, 0xfb, 0xff, 12, 2, 0, 0, 0, 'h', 'i', 2, 7}));
        QCOMPARE(r.readInteger(), 5);
        QCOMPARE(r.readInteger(), -5);
        QCOMPARE(r.readString(), QStringLiteral("hi"));
        QCOMPARE(r.readFloat(), 7.0);
    }

    void wrongTagsFail_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("what"); // 0 integer, 1 string, 2 list begin, 3 list end, 4 binary
        QTest::newRow("string as integer") << bytes({6, 0}) << 0;
        QTest::newRow("integer as string") << bytes({2, 0}) << 1;
        QTest::newRow("unknown tag") << bytes({15}) << 0;
        QTest::newRow("tag 255") << bytes({255}) << 1;
        QTest::newRow("no list begin") << bytes({0}) << 2;
        QTest::newRow("no list end") << bytes({1}) << 3;
        QTest::newRow("string as binary") << bytes({6, 0}) << 4;
        QTest::newRow("empty") << QByteArray() << 0;
    }
    void wrongTagsFail()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, what);
        TStreamReader r(data);
        try {
            switch (what) {
            case 0: r.readInteger(); break;
            case 1: r.readString(); break;
            case 2: r.readListBegin(); break;
            case 3: r.readListEnd(); break;
            case 4: r.readBinary(); break;
            }
            QFAIL("no error");
        } catch (const EStreamError& e) {
            QVERIFY(!e.reason().isEmpty());
        }
    }

    // Claimed lengths beyond the data fail before anything is allocated.
    void lengthsAreChecked_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("long string 2 GB") << bytes({12, 0xff, 0xff, 0xff, 0x7f, 'a'});
        QTest::newRow("negative long string") << bytes({12, 0xff, 0xff, 0xff, 0xff});
        QTest::newRow("binary 1 GB") << bytes({10, 0, 0, 0, 0x40, 1, 2, 3});
        QTest::newRow("short string beyond end") << bytes({6, 10, 'a', 'b'});
        QTest::newRow("ident beyond end") << bytes({7, 200});
        QTest::newRow("set not ended") << bytes({11, 3, 'a', 'b', 'c'});
        QTest::newRow("truncated extended") << bytes({5, 0, 0, 0});
        QTest::newRow("truncated int32") << bytes({4, 1, 2});
        QTest::newRow("list not ended") << bytes({1, 2, 0, 2, 1});
        QTest::newRow("collection not ended") << bytes({14, 1, 1, 'x', 2, 0, 0});
    }
    void lengthsAreChecked()
    {
        QFETCH(QByteArray, data);
        TStreamReader r(data);
        QVERIFY_THROWS_EXCEPTION(EStreamError, r.skipValue());
        TStreamReader r2(data);
        QVERIFY_THROWS_EXCEPTION(EStreamError, r2.readValue());
    }

    void deepNestingIsRefused()
    {
        const QByteArray deep = QByteArray(100000, char(1)) + QByteArray(100000, char(0));
        TStreamReader r(deep);
        QVERIFY_THROWS_EXCEPTION(EStreamError, r.skipValue());
        TStreamReader r2(deep);
        QVERIFY_THROWS_EXCEPTION(EStreamError, r2.readValue());
        // Within the limit it reads.
        const QByteArray ok = QByteArray(10, char(1)) + QByteArray(10, char(0));
        TStreamReader r3(ok);
        r3.skipValue();
        QVERIFY(r3.atEnd());
    }

    void tooManyValuesIsRefused()
    {
        QByteArray many(1, char(1));

        many += QByteArray(int(TStreamReader::kMaxValues) + 10, char(13)); // nils
        many += char(0);
        TStreamReader r(many);
        QVERIFY_THROWS_EXCEPTION(EStreamError, r.readValue());
        TStreamReader r2(many);
        r2.skipValue(); // skipping builds nothing and is fine
        QVERIFY(r2.atEnd());
    }

    void genericValuesRoundTrip()
    {
        const QByteArray enc = written([](TStreamWriter& w) {
            w.writeListBegin();
            w.writeInteger(-70000);
            w.writeString(QStringLiteral("\u0416"));
            w.writeString(QString(400, QLatin1Char('z')));
            w.writeFloat(-0.1);
            w.writeIdent("clRed");
            w.writeSet({"fsUnderline"});
            w.writeBinary(QByteArray(70000, 'b'));
            w.writeBoolean(true);
            w.writeNil();
            w.writeValueType(TValueType::vaCollection);
            w.writeInteger(3);
            w.writeListBegin();
            w.writePropertyName("Width");
            w.writeInteger(20);
            w.writeListEnd();
            w.writeListBegin();
            w.writeListEnd();
            w.writeListEnd();
            w.writeListEnd();
        });
        TStreamReader r(enc);
        const TStreamValue v = r.readValue();
        QVERIFY(r.atEnd());
        QCOMPARE(v.type, TValueType::vaList);
        QCOMPARE(int(v.list.size()), 10);
        QCOMPARE(v.list[0].integer, qint64(-70000));
        QCOMPARE(v.list[1].text(), QStringLiteral("\u0416"));
        QCOMPARE(v.list[3].real, -0.1);
        QCOMPARE(int(v.list[9].items.size()), 2);
        QCOMPARE(v.list[9].items[0].index, std::optional<qint32>(3));
        QCOMPARE(v.list[9].items[0].properties[0].name, QByteArray("Width"));
        QVERIFY(!v.list[9].items[1].index);
        const QByteArray again = written([&](TStreamWriter& w) { w.writeValue(v); });
        QCOMPARE(again, enc);
    }

    // Extended floats that are not doubles are copied bit for bit.
    void genericExtendedKeepsBits()
    {
        const QByteArray enc = bytes({5, 1, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x3f});
        TStreamReader r(enc);
        const TStreamValue v = r.readValue();
        QCOMPARE(v.real, 1.0);
        QCOMPARE(written([&](TStreamWriter& w) { w.writeValue(v); }), enc);
    }

    void readsFromDevices()
    {
        QByteArray big;
        {
            TStreamWriter w(&big);
            w.writeBinary(QByteArray(300000, 'q'));
            w.writeInteger(42);
            w.writeString(QStringLiteral("end"));
        }
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("xx"); // the reader starts at the device position
        file.write(big);
        file.seek(2);
        TStreamReader r(file);
        QCOMPARE(r.remaining(), qint64(big.size()));
        QCOMPARE(r.readBinary().size(), 300000);
        QCOMPARE(r.readInteger(), 42);
        QCOMPARE(r.nextValue(), TValueType::vaString);
        QCOMPARE(r.readString(), QStringLiteral("end"));
        QVERIFY(r.atEnd());
        QVERIFY_THROWS_EXCEPTION(EStreamError, r.readByte());

        // Skipping large runs on a device.
        file.seek(2);
        TStreamReader r2(file);
        r2.skipValue();
        QCOMPARE(r2.readInteger(), 42);
    }

    void readsSequentialDevices()
    {
        QByteArray enc;
        {
            TStreamWriter w(&enc);
            w.writeString(QString(1000, QLatin1Char('s')));
            w.writeInteger(-3);
        }
        SequentialDevice dev(enc);
        TStreamReader r(dev);
        QCOMPARE(r.remaining(), qint64(enc.size()));
        QCOMPARE(r.readString().size(), 1000);
        QCOMPARE(r.readInteger(), -3);
        QVERIFY(r.atEnd());
    }

    void writeFailureThrows()
    {
        FullDevice dev;
        TStreamWriter w(dev);
        w.writeInteger(1);
        QVERIFY_THROWS_EXCEPTION(EStreamError, w.writeString(QString(50, QLatin1Char('x'))));
    }

    void truncationNeverReadsPast()
    {
        QByteArray enc;
        {
            TStreamWriter w(&enc);
            w.writeListBegin();
            w.writeString(QString(300, QLatin1Char('a')));
            w.writeBinary(QByteArray(40, 'b'));
            w.writeSet({"x", "yy"});
            w.writeFloat(2.5);
            w.writeListEnd();
        }
        for (int n = 0; n < enc.size(); ++n) {
            TStreamReader r(enc.left(n));
            QVERIFY_THROWS_EXCEPTION(EStreamError, r.readValue());
            QVERIFY(r.position() <= n);
        }
    }

    void writerReportsDeviceFailure()
    {
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        QVERIFY_THROWS_EXCEPTION(EStreamError, TStreamWriter{readOnly});
        QByteArray out;
        TStreamWriter w(&out);
        QVERIFY_THROWS_EXCEPTION(EStreamError, w.writeStr(QByteArray(256, 'n')));
    }
};
OV_TEST(TestStreamValues)
#include "test_stream_values.moc"
