// The clip-art image: its record, drawing, sizing, menu and loading from disk.
#include "imaging/picture_loader.h"
#include "object_test_support.h"
#include "objects/image.h"
#include "objects/image_browser.h"
#include "objects/object_filer.h"
#include "objects/smart_image.h"
#include "picture_samples.h"
#include "test_registry.h"
#include "test_support.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPdfWriter>
#include <QSignalSpy>

using ovtest::Bytes;

namespace {

TGImage* newImage(ovtest::PanelFixture& f, const QRect& r)
{
    auto* image = new TGImage(f.panel.get());
    image->setObjectName(f.panel->StreamObjectName());
    image->setGeometry(r);
    image->AfterLoad();
    f.panel->HookObjectEvents(image);
    image->show();
    return image;
}

QByteArray listOf(const QList<QByteArray>& records)
{
    return QByteArray(1, '\x01') + records.join() + QByteArray(1, '\0');
}

// The list read onto the panel and written again.
QByteArray readBack(TGBasePanel& panel, const QByteArray& list, TObjectReadResult* result = nullptr)
{
    TStreamReader r(list);
    r.readListBegin();
    const TObjectReadResult read = TGLabelObjectFiler::ReadRecords(r, &panel);
    if (result)
        *result = read;
    QByteArray out;
    TStreamWriter w(&out);
    TGLabelObjectFiler::WriteList(w, read.objects);
    return out;
}

QImage drawn(TGGraphicControl& obj)
{
    QImage img(obj.size(), QImage::Format_RGB32);
    img.fill(Qt::gray);
    QPainter p(&img);
    obj.paintTo(p);
    return img;
}

bool near(QRgb a, QRgb b) { return qAbs(qRed(a) - qRed(b)) < 40 && qAbs(qGreen(a) - qGreen(b)) < 40 && qAbs(qBlue(a) - qBlue(b)) < 40; }

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Answers the next "Load Image File " browser: goes to `folder`, clicks `file`, sets
// the two boxes and presses Ok.
void answerBrowser(ovtest::PanelFixture& f, const QString& folder, const QString& file, bool stretch, bool autoSize,
                   int result = QDialog::Accepted)
{
    f.prompts->dialogAnswers.push_back([=](QDialog& d) {
        auto* browser = qobject_cast<TGImageBrowser*>(&d);
        if (!browser)
            qFatal("not the image browser");
        browser->SetFolder(folder);
        if (!browser->SelectFile(file))
            qFatal("file not listed");
        if (browser->StretchCheck->isChecked() != stretch)
            browser->StretchCheck->click();
        if (browser->AutoSizeCheck->isChecked() != autoSize)
            browser->AutoSizeCheck->click();
        return result;
    });
}

} // namespace

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void recordsAreExactForEachKindOfPicture()
    {
        ovtest::PanelFixture f;
        TGImage* image = newImage(f, QRect(10, 20, 105, 105));
        // A new image: no picture, Stretch on (the default, not written).
        Bytes plain;
        plain.record("TGImage", "Component0").geometry(10, 20, 105, 105).prop("BorderStyle").ident("bsNone")
            .prop("Reverse").boolean(false).prop("Flip").boolean(false).end().end();
        QCOMPARE(image->Record(), plain.b);

        // A bitmap: its complete BMP after the class name and a count.
        const QByteArray bmp = ovtest::encoded(ovtest::quadrants(6, 4), "BMP");
        QVERIFY(bmp.startsWith("BM"));
        image->SetPicture(LoadPictureFromData(bmp));
        image->SetBorderStyle(TBorderStyle::bsSingle);
        image->SetStretch(false);
        image->SetReverse(true);
        Bytes bitmap;
        bitmap.record("TGImage", "Component0").geometry(10, 20, 105, 105).prop("AutoSize").boolean(true)
            .prop("BorderStyle").ident("bsSingle")
            .prop("Picture.Data").binary(ovtest::shortString("TBitmap") + ovtest::le32(bmp.size()) + bmp)
            .prop("Stretch").boolean(false).prop("Reverse").boolean(true).prop("Flip").boolean(false).end().end();
        QCOMPARE(image->Record(), bitmap.b);

        // An icon: the .ico file right after the class name.
        const QByteArray ico = ovtest::encoded(ovtest::quadrants(16, 16), "ICO");
        image->SetPicture(LoadPictureFromData(ico));
        QCOMPARE(image->Picture().kind(), TPicture::Kind::Icon);
        QVERIFY(image->Record().contains(ovtest::shortString("TIcon") + ico));

        // An enhanced metafile: a count that counts itself, then the metafile's bits.
        const QByteArray emf = ovtest::vectorEmf();
        image->SetPicture(LoadPictureFromData(emf));
        QVERIFY(image->Picture().isMetafile());
        QVERIFY(image->Record().contains(ovtest::shortString("TMetafile") + ovtest::le32(emf.size() + 4) + emf));

        // Each comes back from its record to the same bytes.
        for (const QByteArray& pic : {bmp, ico, emf}) {
            image->SetPicture(LoadPictureFromData(pic));
            const QByteArray record = image->Record();
            TObjectReadResult read;
            QCOMPARE(readBack(*f.panel, listOf({record}), &read), listOf({QByteArray(record).replace("Component0", "Component1")}));
            QVERIFY(read.error.isEmpty());
            delete read.objects.first();
        }
    }

    void picturesFromOlderFilesKeepTheirBytes()
    {
        ovtest::PanelFixture f;
        // A bitmap block with a byte after the bitmap, as no writer of ours makes it: the
        // picture reads, and the block goes back as it came.
        const QByteArray bmp = ovtest::encoded(ovtest::quadrants(4, 4), "BMP");
        const QByteArray block = ovtest::shortString("TBitmap") + ovtest::le32(bmp.size()) + bmp + QByteArray(1, '\x7f');
        Bytes rec;
        rec.record("TGImage", "Component0").geometry(1, 2, 40, 40).prop("BorderStyle").ident("bsNone")
            .prop("Picture.Data").binary(block).prop("Reverse").boolean(false).prop("Flip").boolean(true).end().end();
        TObjectReadResult read;
        QCOMPARE(readBack(*f.panel, listOf({rec.b}), &read), listOf({rec.b}));
        auto* image = qobject_cast<TGImage*>(read.objects.first());
        QVERIFY(image && image->Picture().isBitmap());
        QVERIFY(image->Flip());

        // An empty bitmap (a count of 0) shows the framed box and is kept as well.
        Bytes empty;
        empty.record("TGImage", "Component0").geometry(1, 2, 40, 40).prop("BorderStyle").ident("bsNone")
            .prop("Picture.Data").binary(ovtest::shortString("TBitmap") + ovtest::le32(0))
            .prop("Reverse").boolean(false).prop("Flip").boolean(false).end().end();
        delete image;
        QCOMPARE(readBack(*f.panel, listOf({empty.b}), &read), listOf({empty.b}));
        QVERIFY(qobject_cast<TGImage*>(read.objects.first())->Picture().isEmpty());
        delete read.objects.first();

        // A damaged picture stops the list there, with the loader's reason.
        Bytes damaged;
        damaged.record("TGImage", "Component0").geometry(1, 2, 40, 40)
            .prop("Picture.Data").binary(ovtest::shortString("TBitmap") + ovtest::le32(500) + "BMxx").end().end();
        readBack(*f.panel, listOf({damaged.b}), &read);
        QVERIFY(read.objects.isEmpty());
        QVERIFY(!read.error.isEmpty());
    }

    void autoSizeFollowsThePictureAtTheZoom()
    {
        ovtest::PanelFixture f;
        TGImage* image = newImage(f, QRect(10, 10, 100, 100));
        image->SetPicture(TPicture::fromImage(ovtest::quadrants(41, 31)));
        QCOMPARE(image->size(), QSize(100, 100)); // stretched: the object keeps its size
        image->SetZoomFactor(0.5f);
        image->SetAutoSize(true);
        QVERIFY(!image->Stretch());
        QCOMPARE(image->size(), QSize(20, 16)); // 20.5 and 15.5, halves to even
        image->ZoomTo(1.0f);
        QCOMPARE(image->size(), QSize(41, 31));
        image->ZoomTo(2.0f);
        QCOMPARE(image->size(), QSize(82, 62));

        // Stretch and AutoSize are always opposites; turning Stretch off does not resize
        // until the object next changes its bounds.
        image->SetStretch(true);
        QVERIFY(!image->AutoSize());
        image->resize(50, 50);
        image->SetStretch(false);
        QVERIFY(image->AutoSize());
        QCOMPARE(image->size(), QSize(50, 50));
        image->move(12, 12);
        QCOMPARE(image->size(), QSize(82, 62));

        // A metafile by its physical size.
        image->ZoomTo(1.0f);
        image->SetPicture(LoadPictureFromData(ovtest::vectorEmf(QSize(40, 30))));
        QCOMPARE(image->size(), QSize(40, 30));
    }

    void flipAndReverseMirrorBitmapsOnly()
    {
        ovtest::PanelFixture f;
        TGImage* image = newImage(f, QRect(0, 0, 100, 80));
        image->SetPicture(TPicture::fromImage(ovtest::quadrants(10, 8)));
        auto corners = [&] {
            const QImage img = drawn(*image);
            return QList<QRgb>{img.pixel(20, 20), img.pixel(80, 20), img.pixel(20, 60), img.pixel(80, 60)};
        };
        const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255), yellow = qRgb(255, 255, 0);
        QCOMPARE(corners(), (QList<QRgb>{red, green, blue, yellow}));
        image->SetFlip(true);
        QCOMPARE(corners(), (QList<QRgb>{blue, yellow, red, green}));
        image->SetReverse(true);
        QCOMPARE(corners(), (QList<QRgb>{yellow, blue, green, red}));
        image->SetFlip(false);
        QCOMPARE(corners(), (QList<QRgb>{green, red, yellow, blue}));
        image->UpdateMenuChecks();
        QVERIFY(image->MenuItem(QStringLiteral("Flip"))->isEnabled());

        // A metafile is never mirrored, and its menu says so.
        image->SetPicture(LoadPictureFromData(ovtest::vectorEmf(QSize(40, 30))));
        image->resize(100, 80);
        image->UpdateMenuChecks();
        QVERIFY(!image->MenuItem(QStringLiteral("Flip"))->isEnabled());
        QVERIFY(!image->MenuItem(QStringLiteral("Reverse"))->isEnabled());
        const QImage img = drawn(*image);
        QVERIFY(near(img.pixel(20, 40), qRgb(200, 0, 0)));
        QVERIFY(near(img.pixel(80, 40), qRgb(0, 0, 200)));
    }

    void emptyImageIsAFramedWhiteBoxAndBorderIsAFrame()
    {
        ovtest::PanelFixture f;
        TGImage* image = newImage(f, QRect(0, 0, 40, 30));
        QImage img = drawn(*image);
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(39, 29), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(20, 15), qRgb(255, 255, 255));
        image->SetPicture(TPicture::fromImage(ovtest::quadrants(4, 4)));
        QCOMPARE(drawn(*image).pixel(0, 0), qRgb(255, 0, 0));
        image->SetBorderStyle(TBorderStyle::bsSingle);
        img = drawn(*image);
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(39, 15), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(1, 1), qRgb(255, 0, 0));
    }

    void menuTogglesReportTheirRecords()
    {
        ovtest::PanelFixture f;
        TGImage* image = newImage(f, QRect(0, 0, 60, 60));
        image->SetPicture(TPicture::fromImage(ovtest::quadrants(30, 20)));
        QSignalSpy records(f.panel.get(), &TGBasePanel::objectRecordChanged);
        const QStringList captions{"Border", "Flip", "Reverse", "Stretch to Fit", "AutoSize"};
        for (const QString& caption : captions)
            image->MenuItem(caption)->trigger();
        QCOMPARE(records.size(), captions.size());
        for (const QList<QVariant>& r : records) {
            QCOMPARE(r[0].toString(), QStringLiteral("Component0"));
            QVERIFY(r[1].toByteArray() != r[2].toByteArray());
        }
        QCOMPARE(image->BorderStyle(), TBorderStyle::bsSingle);
        QVERIFY(image->Flip() && image->Reverse());
        // "Stretch to Fit" turned AutoSize on; "AutoSize" turned it off again.
        QVERIFY(!image->AutoSize() && image->Stretch());
        image->MenuItem(QStringLiteral("AutoSize"))->trigger();
        QCOMPARE(image->size(), QSize(30, 20));
        image->UpdateMenuChecks();
        QVERIFY(image->MenuItem(QStringLiteral("AutoSize"))->isChecked());
        QVERIFY(!image->MenuItem(QStringLiteral("Stretch to Fit"))->isChecked());
    }

    void loadImageFromDiskTakesThePictureAndTheChoices()
    {
        ovtest::PanelFixture f;
        const QString folder = f.dir.filePath(QStringLiteral("pics"));
        QDir().mkpath(folder);
        writeFile(folder + QStringLiteral("/tile.BMP"), ovtest::encoded(ovtest::quadrants(24, 12), "BMP"));
        // Named as a bitmap but a PNG inside: read by its content.
        writeFile(folder + QStringLiteral("/photo.bmp"), ovtest::encoded(ovtest::quadrants(8, 8), "PNG"));
        writeFile(folder + QStringLiteral("/icon.ico"), ovtest::encoded(ovtest::quadrants(16, 16), "ICO"));
        writeFile(folder + QStringLiteral("/broken.gif"), QByteArray("GIF89a but nothing more"));
        writeFile(folder + QStringLiteral("/notes.txt"), QByteArray("not a picture"));

        TGImage* image = newImage(f, QRect(5, 5, 100, 100));
        QSignalSpy records(f.panel.get(), &TGBasePanel::objectRecordChanged);
        answerBrowser(f, folder, QStringLiteral("tile.BMP"), false, true);
        image->MenuItem(QStringLiteral("Load Image From Disk"))->trigger();
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("Load Image File ")});
        QVERIFY(image->Picture().isBitmap());
        QVERIFY(image->AutoSize() && !image->Stretch());
        QCOMPARE(image->size(), QSize(24, 12));
        QCOMPARE(records.size(), 1);

        answerBrowser(f, folder, QStringLiteral("photo.bmp"), true, false);
        image->LoadImage();
        QCOMPARE(image->Picture().image().size(), QSize(8, 8));
        QVERIFY(image->Stretch() && !image->AutoSize());

        // An icon becomes a bitmap, so it can be mirrored.
        answerBrowser(f, folder, QStringLiteral("icon.ico"), true, false);
        image->LoadImage();
        QVERIFY(image->Picture().isBitmap());
        QCOMPARE(image->Picture().image().size(), QSize(16, 16));
        image->UpdateMenuChecks();
        QVERIFY(image->MenuItem(QStringLiteral("Flip"))->isEnabled());

        // A file that cannot be read says so, and the picture the object had stays.
        const QByteArray before = image->Record();
        f.prompts->clear();
        answerBrowser(f, folder, QStringLiteral("broken.gif"), true, false);
        image->LoadImage();
        QCOMPARE(f.prompts->texts(QStringLiteral("error")),
                 (QStringList{QStringLiteral("Error loading file!"), QStringLiteral("Error loading file!")}));
        QCOMPARE(image->Record(), before);

        // Cancel changes nothing.
        answerBrowser(f, folder, QStringLiteral("tile.BMP"), false, true, QDialog::Rejected);
        image->LoadImage();
        QCOMPARE(image->Record(), before);
    }

    void browserListsPicturesAndKeepsItsBoxesOpposite()
    {
        ovtest::PanelFixture f;
        setProgramFolderOverride(f.dir.path());
        const QString clipArt = f.dir.filePath(QStringLiteral("ClipArt"));
        QDir().mkpath(clipArt + QStringLiteral("/Seasons"));
        writeFile(clipArt + QStringLiteral("/b.PNG"), ovtest::encoded(ovtest::quadrants(300, 200), "PNG"));
        writeFile(clipArt + QStringLiteral("/a.svg"), QByteArray("<svg/>"));
        writeFile(clipArt + QStringLiteral("/c.emf"), ovtest::vectorEmf());
        writeFile(clipArt + QStringLiteral("/readme.txt"), QByteArray("x"));
        {
            TGImageBrowser browser(true, false);
            QCOMPARE(browser.windowTitle(), QStringLiteral("Load Image File "));
            QCOMPARE(QDir(browser.Folder()), QDir(clipArt));
            QStringList files;
            for (int i = 0; i < browser.FileList->count(); ++i)
                files << browser.FileList->item(i)->text();
            QCOMPARE(files, (QStringList{"a.svg", "b.PNG", "c.emf"}));
            QCOMPARE(browser.DirectoryList->item(1)->text(), QStringLiteral("Seasons"));
            for (const char* ext : {"*.BMP", "*.DIB", "*.JPG", "*.JIF", "*.PCX", "*.RLE", "*.TGA", "*.WMF", "*.ICO",
                                    "*.PNG", "*.GIF", "*.EMF", "*.SVG"})
                QVERIFY2(TGImageBrowser::FileMask().contains(QLatin1String(ext)), ext);

            QVERIFY(browser.StretchCheck->isChecked() && !browser.AutoSizeCheck->isChecked());
            QVERIFY(browser.SelectFile(QStringLiteral("b.PNG")));
            QVERIFY(browser.Preview->Stretch());
            browser.AutoSizeCheck->click();
            QVERIFY(!browser.StretchCheck->isChecked());
            QCOMPARE(browser.Preview->size(), QSize(300, 200));
            browser.StretchCheck->click();
            QVERIFY(!browser.AutoSizeCheck->isChecked());
            // Unchecking leaves the other box as it is.
            browser.StretchCheck->click();
            QVERIFY(!browser.StretchCheck->isChecked() && !browser.AutoSizeCheck->isChecked());

            browser.show();
            QVERIFY(QTest::qWaitForWindowExposed(&browser));
            browser.StretchCheck->click();
            browser.grab().save(QDir::tempPath() + QStringLiteral("/orvanta-image-browser.png"));
            // Double-clicking a folder opens it; ".." goes back up. The file of the folder
            // left is no longer chosen.
            emit browser.DirectoryList->itemActivated(browser.DirectoryList->item(1));
            QCOMPARE(QDir(browser.Folder()), QDir(clipArt + QStringLiteral("/Seasons")));
            QVERIFY(browser.FileName().isEmpty());
            QVERIFY(browser.PreviewPicture().isEmpty());
            emit browser.DirectoryList->itemActivated(browser.DirectoryList->item(0));
            QCOMPARE(QDir(browser.Folder()), QDir(clipArt));
        }
        setProgramFolderOverride(QString());
    }

    void metafilePrintsAsVectorsAndBitmapsAsImages()
    {
        ovtest::PanelFixture f;
        TGImage* image = newImage(f, QRect(50, 50, 300, 200));
        auto pdfOf = [&] {
            QByteArray pdf;
            QBuffer buffer(&pdf);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(600);
            QPainter p(&writer);
            image->PrintObject(p, 0.5, 0.5);
            p.end();
            return pdf;
        };
        image->SetPicture(LoadPictureFromData(ovtest::vectorEmf(QSize(400, 300))));
        const QByteArray vectors = pdfOf();
        QVERIFY(!vectors.contains("/Subtype /Image"));
        QVERIFY(vectors.size() < 20000);
        image->SetPicture(TPicture::fromImage(ovtest::quadrants(400, 300)));
        QVERIFY(pdfOf().contains("/Subtype /Image"));
    }

    void smartImagePlacesThePictureByItsSettings()
    {
        TSmartImage smart;
        smart.resize(100, 100);
        smart.SetPicture(TPicture::fromImage(ovtest::quadrants(40, 20)));
        QCOMPARE(smart.PictureRect(), QRect(0, 0, 40, 20));
        smart.SetCenter(true);
        QCOMPARE(smart.PictureRect(), QRect(30, 40, 40, 20));
        smart.SetStretch(true); // proportions kept by default
        QCOMPARE(smart.PictureRect(), QRect(0, 25, 100, 50));
        smart.SetMaintainAspect(false);
        QCOMPARE(smart.PictureRect(), QRect(0, 0, 100, 100));
        smart.SetAutoSize(true);
        QCOMPARE(smart.size(), QSize(40, 20));

        // Transparent leaves out the colour of the top-left pixel (red here).
        smart.SetTransparent(true);
        QImage img(smart.size(), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        smart.paintTo(p);
        p.end();
        QCOMPARE(img.pixel(5, 5), qRgb(255, 255, 255));
        QCOMPARE(img.pixel(35, 5), qRgb(0, 255, 0));
    }
};
OV_TEST(TestImage)
#include "test_image.moc"
