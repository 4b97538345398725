#include "platform/prompter.h"
#include "test_registry.h"
#include "widgets/color_button.h"
#include "widgets/color_combo.h"
#include "widgets/color_palette.h"
#include "widgets/spin_button.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void colorButtonSetColorIsSilent()
    {
        TColorButton b;
        QSignalSpy spy(&b, &TColorButton::colorChanged);
        b.setColor(clRed);
        QCOMPARE(b.color(), clRed);
        QCOMPARE(spy.count(), 0);
    }

    void colorButtonSwatchReportsColor()
    {
        TColorButton b;
        b.show();
        QSignalSpy spy(&b, &TColorButton::colorChanged);
        QTest::mouseClick(&b, Qt::LeftButton);
        TColorPalette* pal = b.palettePopup();
        QVERIFY(pal->isVisible());
        // Swatch 9 is red (0x0000FF in Windows byte order).
        pal->swatch(9)->click();
        QVERIFY(!pal->isVisible());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<TColor>(), TColor(0x0000FF));
        QCOMPARE(b.color(), TColor(0x0000FF));
        QVERIFY(pal->swatch(100) == nullptr);
    }

    void colorButtonOtherGoesThroughPrompter()
    {
        ScopedScriptedPrompter sp;
        sp->colorAnswers = {QColor(1, 2, 3), std::nullopt};
        TColorButton b;
        b.setColor(clWhite);
        b.setDialogTitle(QStringLiteral("Background"));
        QSignalSpy spy(&b, &TColorButton::colorChanged);
        b.palettePopup()->otherButton()->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(b.color(), TColor(0x030201));
        // A cancelled dialog keeps the colour and reports nothing.
        b.palettePopup()->otherButton()->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(b.color(), TColor(0x030201));
        QCOMPARE(sp->texts(QStringLiteral("color")), QStringList({"Background", "Background"}));
    }

    void paletteMarksCurrentColorOnly()
    {
        TColorPalette pal;
        pal.setCurrentColor(clWhite);
        QCOMPARE(pal.currentColor(), clWhite);
        const QImage white = pal.swatch(15)->icon().pixmap(20, 20).toImage();
        const QImage black = pal.swatch(0)->icon().pixmap(20, 20).toImage();
        // The current swatch carries a dark frame inside its edge; the others do not.
        QCOMPARE(QColor(white.pixel(1, 1)), QColor(0, 0, 0));
        QCOMPARE(QColor(black.pixel(10, 10)), QColor(0, 0, 0));
        QCOMPARE(QColor(white.pixel(10, 10)), QColor(255, 255, 255));
    }

    void colorComboNamedAndCustom()
    {
        ScopedScriptedPrompter sp;
        sp->colorAnswers = {QColor(10, 20, 30), std::nullopt};
        TColorCombo combo;
        QSignalSpy spy(&combo, &TColorCombo::colorChanged);
        combo.setColor(clBlue);
        QCOMPARE(combo.currentText(), QStringLiteral("Blue"));
        QCOMPARE(spy.count(), 0);

        const int yellow = combo.findText(QStringLiteral("Yellow"));
        emit combo.activated(yellow);
        QCOMPARE(combo.color(), TColor(0x00FFFF));
        QCOMPARE(spy.count(), 1);

        const int custom = combo.findText(QStringLiteral("Custom..."));
        emit combo.activated(custom);
        QCOMPARE(combo.color(), TColor(0x1E140A));
        QCOMPARE(combo.currentText(), QStringLiteral("#0A141E"));
        QCOMPARE(spy.count(), 2);

        // Cancelled: the list shows the previous colour again.
        emit combo.activated(custom);
        QCOMPARE(combo.color(), TColor(0x1E140A));
        QCOMPARE(combo.currentText(), QStringLiteral("#0A141E"));
        QCOMPARE(spy.count(), 2);

        // Setting the same custom colour again does not add a second entry.
        const int n = combo.count();
        combo.setColor(0x1E140A);
        QCOMPARE(combo.count(), n);
    }

    void spinButtonSteps()
    {
        TSpinButton spin;
        QSignalSpy up(&spin, &TSpinButton::upClick);
        QSignalSpy down(&spin, &TSpinButton::downClick);
        spin.upButton()->click();
        spin.downButton()->click();
        spin.downButton()->click();
        QCOMPARE(up.count(), 1);
        QCOMPARE(down.count(), 2);
        QTest::keyClick(&spin, Qt::Key_Plus);
        QTest::keyClick(&spin, Qt::Key_Up);
        QTest::keyClick(&spin, Qt::Key_Minus);
        QCOMPARE(up.count(), 3);
        QCOMPARE(down.count(), 3);
        QTest::keyClick(&spin, Qt::Key_A);
        QCOMPARE(up.count() + down.count(), 6);
    }

    void horizontalSpinPutsDownFirst()
    {
        TSpinButton spin(nullptr, Qt::Horizontal);
        spin.show();
        QVERIFY(spin.downButton()->x() < spin.upButton()->x());
        QCOMPARE(spin.upButton()->arrowType(), Qt::RightArrow);
    }
};
OV_TEST(TestWidgets)
#include "test_widgets.moc"
