#include "special/icon_list_box.h"
#include "icon_test_support.h"
#include "test_registry.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using namespace specialtest;

class TestIconListBox : public QObject {
    Q_OBJECT
private slots:
    void loadsIconsOnDemandAndOnce()
    {
        ProgramFolderWithIcons folder;
        const QString file = folder.path(QStringLiteral("misc1.icl"));
        TIconListBox list;
        QCOMPARE(list.Version(), QStringLiteral("TIconListBox v1.10"));
        QCOMPARE(list.NumberOfIcons(), -1);
        QVERIFY(!list.isEnabled()); // no file yet
        QSignalSpy changed(&list, &TIconListBox::FileChange);
        list.SetFileName(file);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(list.NumberOfIcons(), IconLibrary::fromFile(file).count());
        QVERIFY(list.NumberOfIcons() >= 40);
        QCOMPARE(list.count(), list.NumberOfIcons());
        QCOMPARE(list.item(7)->text(), QStringLiteral("7"));
        QCOMPARE(list.currentRow(), 0);
        QVERIFY(list.isEnabled());
        QCOMPARE(list.ExtractedCount(), 0); // nothing drawn yet

        const QImage first = list.GetIcon(5);
        QCOMPARE(first.size(), QSize(32, 32));
        QCOMPARE(list.GetIcon(5).cacheKey(), first.cacheKey()); // the same icon, extracted once
        QCOMPARE(list.ExtractedCount(), 1);

        // Drawing extracts what shows, not the whole library.
        list.resize(list.ColumnWidth() * 4 + 2, list.ItemHeight() * 2 + 40);
        list.grab();
        QVERIFY(list.ExtractedCount() > 1);
        QVERIFY(list.ExtractedCount() < list.NumberOfIcons());

        // The same name again does nothing; another case is another name.
        list.SetFileName(file);
        QCOMPARE(changed.count(), 1);
        QVERIFY(list.ExtractedCount() > 1);
        list.SetFileName(folder.path(QStringLiteral("MISC1.icl")));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(list.NumberOfIcons(), -1);

        // Without caching every icon is extracted on loading.
        list.SetFileName(file);
        list.SetEnableCaching(false);
        QCOMPARE(list.ExtractedCount(), list.NumberOfIcons());
    }

    void missingEmptyAndDamagedFiles()
    {
        QTemporaryDir dir;
        TIconListBox list;
        list.SetFileName(dir.filePath(QStringLiteral("nowhere.icl")));
        QCOMPARE(list.NumberOfIcons(), -1);
        QVERIFY(!list.isEnabled());
        QVERIFY(list.LoadError().isEmpty());
        list.SetAutoDisable(false);
        QVERIFY(list.isEnabled());
        list.SetAutoDisable(true);

        // A library without icons is no error: an empty, enabled list.
        const QString empty = dir.filePath(QStringLiteral("empty.icl"));
        QVERIFY(writeFile(empty, icontest::neLibrary({})));
        list.SetFileName(empty);
        QCOMPARE(list.NumberOfIcons(), 0);
        QVERIFY(list.isEnabled());
        QVERIFY(list.LoadError().isEmpty());

        // A damaged one gives no icons at all, and says why.
        const QString damaged = dir.filePath(QStringLiteral("damaged.icl"));
        QVERIFY(writeFile(damaged, readFile(ovtest::sourceDir() + QStringLiteral("/assets/misc1.icl")).left(3000)));
        list.SetFileName(damaged);
        QCOMPARE(list.NumberOfIcons(), 0);
        QCOMPARE(list.count(), 0);
        QVERIFY(list.isEnabled());
        QVERIFY2(list.LoadError().contains(QStringLiteral("damaged")), qPrintable(list.LoadError()));
        QVERIFY(list.GetIcon(0).isNull());
        QVERIFY(list.IconDragData(0) == nullptr);

        const QString text = dir.filePath(QStringLiteral("notes.icl"));
        QVERIFY(writeFile(text, "these are not icons\n"));
        list.SetFileName(text);
        QCOMPARE(list.NumberOfIcons(), 0);
        QVERIFY(!list.LoadError().isEmpty());
    }

    void iconsAreSystemSizedAndDraggedWithTheirTransparency()
    {
        ProgramFolderWithIcons folder;
        TIconListBox list;
        list.SetFileName(folder.path(QStringLiteral("handmade.icl")));
        QCOMPARE(list.NumberOfIcons(), 3);
        const QImage half = list.GetIcon(0);
        QCOMPARE(half.size(), QSize(32, 32));
        QCOMPARE(qAlpha(half.pixel(3, 3)), 0);
        QCOMPARE(half.pixel(20, 3), qRgba(255, 0, 0, 255));
        // A library with only a small picture is shown at the system size.
        QCOMPARE(list.GetIcon(1).size(), QSize(32, 32));
        QVERIFY(list.GetIcon(3).isNull());
        QVERIFY(list.GetIcon(-1).isNull());

        std::unique_ptr<QMimeData> data(list.IconDragData(0));
        QVERIFY(data);
        QVERIFY(data->hasFormat(TIconListBox::IconMimeType));
        QImage carried;
        QVERIFY(carried.loadFromData(data->data(TIconListBox::IconMimeType), "PNG"));
        QCOMPARE(carried.convertToFormat(QImage::Format_ARGB32), half.convertToFormat(QImage::Format_ARGB32));
        QVERIFY(list.IconDragData(3) == nullptr);
    }

    void cellsShowTheIconCentredOnTheListColour()
    {
        ProgramFolderWithIcons folder;
        TIconListBox list;
        QPalette pal = list.palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Highlight, QColor(0, 0, 128));
        list.setPalette(pal);
        list.SetXIcons(3);
        list.SetFileName(folder.path(QStringLiteral("handmade.icl")));
        list.setCurrentRow(2); // the blue one is selected
        const QImage shot = list.grab().toImage();

        // Item 0 (not selected): the list's white where the icon is transparent, the
        // icon's red where it is not, the icon centred in its cell.
        const QRect cell0 = list.visualItemRect(list.item(0)).translated(list.viewport()->pos());
        QCOMPARE(cell0.size(), QSize(list.ColumnWidth(), list.ItemHeight()));
        const QPoint origin(cell0.left() + (cell0.width() - 32) / 2, cell0.top() + (cell0.height() - 32) / 2);
        QCOMPARE(shot.pixel(origin + QPoint(4, 4)), qRgb(255, 255, 255));
        QCOMPARE(shot.pixel(origin + QPoint(20, 4)), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(origin + QPoint(31, 31)), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(origin + QPoint(32, 31)), qRgb(255, 255, 255));
        // The selected item sits on the selection colour.
        const QRect cell2 = list.visualItemRect(list.item(2)).translated(list.viewport()->pos());
        QCOMPARE(shot.pixel(cell2.topLeft() + QPoint(1, 1)), qRgb(0, 0, 128));
        QCOMPARE(shot.pixel(cell2.center()), qRgb(0, 0, 255));
        // Items run down a column first: one row here, so item 1 is in the next column.
        QCOMPARE(list.visualItemRect(list.item(1)).left(), list.visualItemRect(list.item(0)).right() + 1);
    }

    void columnsAndRowsSizeTheControl()
    {
        QWidget host; // placed by hand, as on a form without alignment
        TIconListBox list(&host); // four columns, one row
        const int cw = list.ColumnWidth(), ih = list.ItemHeight();
        QCOMPARE(cw, 38);
        QCOMPARE(ih, 38);
        QCOMPARE(list.width(), cw * 4 + 2);
        const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
        // It was narrower than four columns before: room for a scroll bar.
        QCOMPARE(list.height(), ih + scrollBar + 1);
        list.SetXIcons(0);
        list.SetXIcons(-1);
        QCOMPARE(list.XIcons(), 4);
        list.SetYIcons(0);
        QCOMPARE(list.YIcons(), 1);
        // Wide enough already for two columns: no room for a scroll bar.
        list.SetXIcons(2);
        QCOMPARE(list.size(), QSize(cw * 2 + 2, ih + 3));
        list.SetYIcons(3);
        QCOMPARE(list.size(), QSize(cw * 2 + 2, ih * 3 + 3));
        QCOMPARE(list.ShownColumnWidth(), cw);
    }
};
OV_TEST(TestIconListBox)

#include "test_icon_list_box.moc"
