#include "richtext/rtf_picture.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_storage.h"
#include "richtext/rtf_writer.h"
#include "rtf_samples.h"
#include "rtf_test_util.h"
#include "test_registry.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>

class TestRtfSamples : public QObject {
    Q_OBJECT
private slots:
    void readsForeignRtf_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("WordPad") << rtfsamples::wordPad()
                                 << QString::fromUtf8("L|{f=Calibri,s=11,b,c=#ff0000}Meeting{f=Calibri,s=11}¶\n"
                                                      "L|{f=Calibri,s=11,i}Bring €5 {f=Symbol,s=11,i}≥{f=Calibri,s=11,i} 10{f=Calibri,s=11}¶\n"
                                                      "C|{pict:5:265x265:150x150:bf454e5e}{f=Calibri,s=11}¶");
        QTest::newRow("Word") << rtfsamples::word()
                              << QString::fromUtf8("L|{s=11,b,c=#0000ff}Team {s=11,i}lunch{s=11,i}¶\n"
                                                   "L|{f=Symbol,s=11}•\t{s=11}Item {f=Calibri CE,s=11}š{f=Calibri Cyr,s=11}Да{f=Calibri Cyr,s=11}¶\n"
                                                   "C|{u,c=#0000ff}link{}¶");
        QTest::newRow("LibreOffice") << rtfsamples::libreOffice()
                                     << QString::fromUtf8("C|{f=Arial,s=10,b,c=#ff0000}Birthday{f=Arial,s=10} – Anna А{f=Liberation Serif,s=12}¶\n"
                                                          "L|{f=Liberation Serif,s=12,i,x}Done{f=Symbol,s=12}α{f=Liberation Serif,s=12}¶");
        QTest::newRow("pasted from Word") << rtfsamples::pastedFromWord()
                                          << QString::fromUtf8("L|{f=Calibri,s=10,b,c=#c00000}Dentist 3pm{f=Calibri,s=10}– bring card{f=Calibri,s=10}¶");
    }
    void readsForeignRtf()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        QCOMPARE(rtftest::describeRtf(rtf), expected);
        // What we write from it reads back the same and is stable.
        const QByteArray ours = rtftest::normalise(rtf);
        QCOMPARE(rtftest::describeRtf(ours), expected);
        QCOMPARE(rtftest::normalise(ours), ours);
        QVERIFY(!TWPRtfStorage(rtf).isEmpty());
    }

    void defaultFontFromDeff()
    {
        QTextDocument d;
        ReadRtf(rtfsamples::libreOffice(), &d);
        QCOMPARE(d.defaultFont().family(), QStringLiteral("Liberation Sans"));
    }

    // Every prefix of every sample reads without crashing, and what it yields is the
    // start of the full text (the last character may differ: a cut control word).
    void truncationAtEveryByte()
    {
        for (const auto& s : rtfsamples::all()) {
            QTextDocument full;
            ReadRtf(s.rtf, &full);
            const QString fullText = full.toPlainText();
            for (int n = 0; n < s.rtf.size(); ++n) {
                const QByteArray cut = s.rtf.left(n);
                QTextDocument d;
                ReadRtf(cut, &d);
                QString text = d.toPlainText();
                if (!cut.startsWith("{\\rtf"))
                    continue; // too short to be RTF: read as plain text
                text.chop(1);
                if (!fullText.startsWith(text))
                    QFAIL(qPrintable(QStringLiteral("%1 cut at %2: \"%3\"").arg(QLatin1String(s.name)).arg(n).arg(text)));
                TWPRtfStorage(cut).isEmpty();
                WriteRtf(d);
            }
        }
    }

    // Random damage (flipped, inserted and removed bytes) never crashes or hangs.
    void randomDamage()
    {
        QRandomGenerator rng(20240601);
        const auto samples = rtfsamples::all();
        const char specials[] = "{}\\'*0123456789abu- ;\r\n";
        for (int round = 0; round < 400; ++round) {
            QByteArray b = samples[round % samples.size()].rtf;
            const int edits = 1 + rng.bounded(20);
            for (int e = 0; e < edits && !b.isEmpty(); ++e) {
                const int pos = rng.bounded(b.size());
                switch (rng.bounded(3)) {
                case 0: b[pos] = specials[rng.bounded(int(sizeof specials) - 1)]; break;
                case 1: b.insert(pos, char(rng.bounded(256))); break;
                default: b.remove(pos, 1 + rng.bounded(8)); break;
                }
            }
            QTextDocument d;
            ReadRtf(b, &d);
            const QByteArray w = WriteRtf(d);
            QCOMPARE(rtftest::normalise(w), w);
        }
    }
};
OV_TEST(TestRtfSamples)
#include "test_rtf_samples.moc"
