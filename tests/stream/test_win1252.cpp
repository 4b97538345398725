#include "stream/win1252.h"
#include "test_registry.h"

#include <QTest>

class TestWin1252 : public QObject {
    Q_OBJECT
private slots:
    void plainStringsAreSingleBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("January") << QByteArray("January");
        QTest::newRow("latin1") << QStringLiteral("Mär\u00e9") << QByteArray("M\xe4r\xe9");
        QTest::newRow("euro and quotes") << QStringLiteral("\u20ac \u201cq\u201d \u2026")
                                         << QByteArray("\x80 \x93q\x94 \x85");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void plainStringsAreSingleBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toFileString(text), bytes);
        QCOMPARE(fromFileString(bytes), text);
    }

    void everyByteDecodesAndEncodesBack()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = fromWin1252(all);
        QCOMPARE(text.size(), 256);
        QVERIFY(isWin1252Encodable(text));
        QCOMPARE(toWin1252(text), all);
    }

    void otherScriptsUseUtf8WithMark_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("greek") << QStringLiteral("\u0399\u03b1\u03bd\u03bf\u03c5\u03ac\u03c1\u03b9\u03bf\u03c2");
        QTest::newRow("cjk") << QStringLiteral("\u4e00\u6708");
        QTest::newRow("emoji") << QStringLiteral("Party \U0001F389");
        QTest::newRow("mixed") << QStringLiteral("caf\u00e9 \u0416");
        QTest::newRow("starts with mark") << QStringLiteral("\ufeffx");
        // Windows-1252 text whose bytes would look like the mark.
        QTest::newRow("looks like mark") << QStringLiteral("\u00ef\u00bb\u00bfabc");
    }
    void otherScriptsUseUtf8WithMark()
    {
        QFETCH(QString, text);
        const QByteArray bytes = toFileString(text);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(fromFileString(bytes), text);
    }

    void invalidUtf8AfterMarkFallsBack()
    {
        const QByteArray bytes("\xEF\xBB\xBF\xFF\xFE");
        QCOMPARE(fromFileString(bytes), fromWin1252(bytes));
    }
};
OV_TEST(TestWin1252)
#include "test_win1252.moc"
