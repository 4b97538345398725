#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "test_registry.h"

#include <QTest>
#include <QTextDocument>

// Inputs the fuzzer found where our own output was not read back to the same bytes.
class TestRtfFixedPoint : public QObject {
    Q_OBJECT
private slots:
    void writtenRtfIsAFixedPoint_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("font name with control characters and a trailing blank")
            << QByteArray::fromBase64("e1xydGYxXGFuc2lrXGZvbnR0Ymx7XGYwIEFyYmx7dGYwIEFyaWFsO319XGYwZjBzXGYwc1wyIEhlbyAEAAB9");
        QTest::newRow("font name of control characters only")
            << QByteArray::fromBase64("e1xydGYxXGFuc157XGZvbnR0Ymx7XGZmAAgAAAAAO319Y29sb1xmMFxvbGRcXDBccGw7fQ==");
        QTest::newRow("font name of quotes")
            << QByteArray::fromBase64("e1xydGYxMVxhbnNpe1xmb250dGJse1xmIiIiIiIiIiIiIiIiIiIiIiIiOyIiIiIiMyAncmlhdGJuc250dAAAAAAAAAAAcmlhdGJsAAAAMAA=");
        QTest::newRow("font name in single quotes")
            << QByteArray::fromBase64("e1xydGZc////DmZvXGY0fEFybnRuc2lcZm9udHRibHsnJycnJ2Y0XHtccnRmAAAAACcnJydcZjA=");
        QTest::newRow("font name with blanks around it")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0   Times New Roman  ;}}\\f0 text\\par}");
    }
    void writtenRtfIsAFixedPoint()
    {
        QFETCH(QByteArray, rtf);
        QTextDocument first;
        ReadRtf(rtf, &first);
        const QByteArray written = WriteRtf(first);
        QTextDocument second;
        ReadRtf(written, &second);
        QCOMPARE(WriteRtf(second), written);
    }
};
OV_TEST(TestRtfFixedPoint)

#include "test_rtf_fixed_point.moc"
