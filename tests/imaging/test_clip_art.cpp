// The clip art shipped in the program folder: enough pictures, every kind of file, each
// read by the loader and drawn, the vector ones as metafiles.
#include "imaging/picture_loader.h"
#include "test_registry.h"
#include "test_support.h"

#include <QDir>
#include <QPainter>
#include <QSet>
#include <QTest>

class TestClipArt : public QObject {
    Q_OBJECT
private slots:
    void everyPictureLoadsAndDraws()
    {
        const QDir dir(ovtest::sourceDir() + QStringLiteral("/assets/ClipArt"));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(files.size() >= 40, qPrintable(QString::number(files.size())));
        QSet<QString> kinds;
        for (const QString& name : files) {
            const QString ext = QFileInfo(name).suffix().toUpper();
            kinds.insert(ext);
            QVERIFY2(PictureFileExtensions().contains(ext), qPrintable(name));
            const TPicture p = LoadPictureFromFile(dir.filePath(name));
            QCOMPARE(p.isMetafile(), ext == u"WMF" || ext == u"EMF" || ext == u"SVG");
            // Big enough to stand on a calendar page without enlarging.
            QVERIFY2(p.width() >= 200 && p.height() >= 150, qPrintable(name));
            QImage img(60, 60, QImage::Format_ARGB32);
            img.fill(Qt::white);
            {
                QPainter painter(&img);
                p.draw(painter, QRectF(0, 0, 60, 60));
            }
            int inked = 0;
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 60; ++x)
                    if (img.pixel(x, y) != qRgb(255, 255, 255))
                        ++inked;
            QVERIFY2(inked > 400, qPrintable(name));
            // Each can be stored with an object.
            QVERIFY2(!p.pictureData().isEmpty(), qPrintable(name));
        }
        for (const char* kind : {"WMF", "EMF", "SVG", "BMP", "PNG", "JPG", "GIF"})
            QVERIFY2(kinds.contains(QString::fromLatin1(kind)), kind);
    }
};

OV_TEST(TestClipArt)
#include "test_clip_art.moc"
