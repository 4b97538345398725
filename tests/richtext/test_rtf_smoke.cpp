#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "test_registry.h"

#include <QTest>
#include <QTextDocument>

class TestRtfSmoke : public QObject {
    Q_OBJECT
private slots:
    void roundTrip()
    {
        QTextDocument d;
        QVERIFY(ReadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\qc{\\f0\\fs20\\b\\cf1 Hello \\'e9}\\par}", &d));
        const QByteArray a = WriteRtf(d);
        qDebug().noquote() << a;
        QTextDocument d2;
        QVERIFY(ReadRtf(a, &d2));
        QCOMPARE(WriteRtf(d2), a);
    }
};
OV_TEST(TestRtfSmoke)
#include "test_rtf_smoke.moc"
