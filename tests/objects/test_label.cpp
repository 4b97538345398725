#include "object_test_support.h"
#include "objects/label_layout.h"
#include "objects/label_text_dialog.h"
#include "objects/p_label.h"
#include "test_registry.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Q_DECLARE_METATYPE(LabelRect)

namespace {
// The box holding every pixel darker than the threshold (empty when none).
QRect inkBox(const QImage& img, int threshold = 128)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < threshold)
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage drawn(TGGraphicControl& obj, QSize canvas = QSize(400, 300))
{
    QImage img(canvas, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    obj.PaintTo(p, obj.x(), obj.y());
    return img;
}

// Pixels whose colour is mostly `c` (text edges are smoothed into the background).
int countColor(const QImage& img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += qAbs(qRed(p) - qRed(c)) < 60 && qAbs(qGreen(p) - qGreen(c)) < 60 && qAbs(qBlue(p) - qBlue(c)) < 60;
        }
    return n;
}
} // namespace

class TestLabel : public QObject {
    Q_OBJECT
private slots:
    void layoutNumbers_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QPoint>("shadow");
        QTest::addColumn<QPoint>("highlight");
        QTest::addColumn<QSize>("sizeIn");
        QTest::addColumn<QSize>("sizeOut");
        QTest::addColumn<LabelRect>("text");
        QTest::addColumn<QPoint>("textOrigin");
        QTest::addColumn<QPoint>("shadowOrigin");
        QTest::addColumn<QPoint>("highlightOrigin");
        // lineH 16 and textW 40 throughout.
        QTest::newRow("taller than 1.2 L shrinks to trunc(1.2 L)")
            << 0 << 0 << QPoint() << QPoint() << QSize(142, 33) << QSize(142, 19) << LabelRect{0, 0, 142, 16}
            << QPoint(0, 0) << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("lower than L grows to L") << 0 << 0 << QPoint() << QPoint() << QSize(142, 10) << QSize(142, 16)
                                                 << LabelRect{0, 0, 142, 16} << QPoint(0, 0) << QPoint(0, 0)
                                                 << QPoint(0, 0);
        QTest::newRow("shadow 3 down-right, highlight 2 up-left")
            << 0 << 0 << QPoint(3, 3) << QPoint(-2, -2) << QSize(142, 33) << QSize(142, 25) << LabelRect{2, 2, 142, 18}
            << QPoint(2, 2) << QPoint(5, 5) << QPoint(0, 0);
        QTest::newRow("centred") << 0 << int(TAlignment::taCenter) << QPoint() << QPoint() << QSize(142, 16)
                                 << QSize(142, 16) << LabelRect{0, 0, 142, 16} << QPoint(51, 0) << QPoint(51, 0)
                                 << QPoint(51, 0);
        QTest::newRow("right-justified") << 0 << int(TAlignment::taRightJustify) << QPoint() << QPoint()
                                         << QSize(142, 16) << QSize(142, 16) << LabelRect{0, 0, 142, 16}
                                         << QPoint(102, 0) << QPoint(102, 0) << QPoint(102, 0);
        QTest::newRow("90 degrees: 1.2 x text width high, 1.2 x L wide")
            << 90 << 0 << QPoint() << QPoint() << QSize(33, 142) << QSize(19, 48) << LabelRect{0, -1, 16, 47}
            << QPoint(0, 47) << QPoint(0, 47) << QPoint(0, 47);
        QTest::newRow("180 degrees: at most twice the text wide")
            << 180 << 0 << QPoint() << QPoint() << QSize(142, 16) << QSize(80, 16) << LabelRect{-1, 0, 79, 16}
            << QPoint(79, 16) << QPoint(79, 16) << QPoint(79, 16);
        QTest::newRow("270 degrees: shadow turns with the text")
            << 270 << 0 << QPoint(3, 3) << QPoint() << QSize(19, 48) << QSize(19, 48) << LabelRect{0, 0, 16, 48}
            << QPoint(16, 0) << QPoint(13, 3) << QPoint(16, 0);
    }
    void layoutNumbers()
    {
        QFETCH(int, angle);
        QFETCH(int, alignment);
        QFETCH(QPoint, shadow);
        QFETCH(QPoint, highlight);
        QFETCH(QSize, sizeIn);
        QFETCH(QSize, sizeOut);
        QFETCH(LabelRect, text);
        QFETCH(QPoint, textOrigin);
        QFETCH(QPoint, shadowOrigin);
        QFETCH(QPoint, highlightOrigin);
        LabelLayoutInput in;
        in.lineH = 16;
        in.textW = 40;
        in.width = sizeIn.width();
        in.height = sizeIn.height();
        in.angle = angle;
        in.alignment = TAlignment(alignment);
        in.shadow = shadow;
        in.highlight = highlight;
        const LabelLayout l = computeLabelLayout(in);
        QCOMPARE(QSize(l.width, l.height), sizeOut);
        QCOMPARE(l.text, text);
        QCOMPARE(l.textOrigin, textOrigin);
        QCOMPARE(l.shadowOrigin, shadowOrigin);
        QCOMPARE(l.highlightOrigin, highlightOrigin);
    }

    void offsetsFollowDirectionAndDepth()
    {
        QCOMPARE(shadowOffset(TShadowDirection::sdDownLeft, 4), QPoint(-4, 4));
        QCOMPARE(shadowOffset(TShadowDirection::sdNone, 4), QPoint(0, 0));
        QCOMPARE(highlightOffset(THighlightDirection::hdUpRight, 2), QPoint(2, -2));
        QCOMPARE(highlightOffset(THighlightDirection::hdright, 5), QPoint(5, 0));
    }

    void anglesAreQuarterTurnsAndRotationSwapsTheSize()
    {
        ovtest::PanelFixture f;
        TGPLabel label;
        QCOMPARE(label.size(), QSize(142, 33));
        label.SetAlignment(TAlignment::taCenter);
        label.SetAngle(45);
        QCOMPARE(label.Angle(), 0);
        QCOMPARE(label.size(), QSize(142, 33));
        label.SetAngle(90);
        QCOMPARE(label.size(), QSize(33, 142)); // swapped before the size rules apply
        QCOMPARE(label.Alignment(), TAlignment::taLeftJustify);
        label.SetAngle(270);
        QCOMPARE(label.size(), QSize(33, 142));
    }

    void anEmptyCaptionStillMeasuresASpace()
    {
        ovtest::PanelFixture f;
        TGPLabel label;
        label.SetCaption(QString());
        label.resize(3, 20);
        label.CalcLayout();
        QCOMPARE(label.width(), QFontMetrics(label.ZoomedFont()).horizontalAdvance(QLatin1Char(' ')));
        QVERIFY(label.width() > 0);
    }

    void drawnAtSeveralZooms()
    {
        ovtest::PanelFixture f;
        TGPLabel label;
        label.SetCaption(QStringLiteral("HHHH"));
        TObjectFont font = label.Font();
        font.SetSize(20, 96);
        label.SetFont(font);
        label.setGeometry(20, 30, 200, 40);
        label.CalcLayout();
        const QRect at1 = inkBox(drawn(label));
        QVERIFY(!at1.isEmpty());
        QVERIFY(label.geometry().contains(at1)); // a transparent label draws only its text
        QVERIFY(at1.height() >= 17 && at1.height() <= 22); // capitals of a 27-pixel font

        label.ZoomTo(2.0f);
        label.CalcLayout();
        const QRect at2 = inkBox(drawn(label, QSize(800, 600)));
        QVERIFY(label.geometry().contains(at2));
        QVERIFY(qAbs(at2.width() - 2 * at1.width()) <= at1.width() / 5);
        QVERIFY(qAbs(at2.height() - 2 * at1.height()) <= 4);

        label.ZoomTo(0.5f);
        label.CalcLayout();
        const QRect atHalf = inkBox(drawn(label));
        QVERIFY(!atHalf.isEmpty());
        QVERIFY(atHalf.width() < at1.width() * 0.65);
    }

    void shadowHighlightBackgroundAndBorderAreDrawn()
    {
        ovtest::PanelFixture f;
        TGPLabel label;
        label.SetCaption(QStringLiteral("WWW"));
        label.setGeometry(10, 10, 150, 40);
        label.SetDirectionShadow(TShadowDirection::sdDownRight);
        label.SetDepthShadow(3);
        label.SetcolorShadow(0x0000FF); // red
        label.SetDepthHighlight(2);
        label.SetcolorHighlight(0x00FF00); // lime
        QImage img = drawn(label);
        QVERIFY(countColor(img, qRgb(255, 0, 0)) > 10);
        QVERIFY(countColor(img, qRgb(0, 255, 0)) > 10);
        QCOMPARE(QColor(img.pixel(10, 10)), QColor(Qt::white)); // transparent, no border

        label.SetTransparent(false);
        label.SetBackColor(0xFF0000); // blue
        label.SetBorderStyle(TBorderStyle::bsSingle);
        img = drawn(label);
        QCOMPARE(QColor(img.pixel(10, 10)), QColor(Qt::black));
        QCOMPARE(QColor(img.pixel(10 + label.width() - 1, 10 + label.height() - 1)), QColor(Qt::black));
        QCOMPARE(QColor(img.pixel(12 + label.width() - 6, 12)), QColor(Qt::blue));
        QCOMPARE(QColor(img.pixel(10 + label.width(), 12)), QColor(Qt::white)); // nothing outside
    }

    void rotatedTextRunsUpward()
    {
        ovtest::PanelFixture f;
        TGPLabel label;
        label.SetCaption(QStringLiteral("HHHHHHHH"));
        label.setGeometry(50, 20, 142, 33);
        label.SetAngle(90);
        label.CalcLayout();
        const QRect ink = inkBox(drawn(label));
        QVERIFY(!ink.isEmpty());
        QVERIFY(ink.height() > 2 * ink.width());
        QVERIFY(label.geometry().contains(ink));
    }

    void textDialogThroughThePrompter()
    {
        ovtest::PanelFixture f;
        auto* label = new TGPLabel(f.panel.get());
        label->setObjectName(QStringLiteral("Component0"));
        label->setGeometry(10, 10, 50, 15);
        label->AfterLoad();
        label->show();
        QString title, prompt, shown;
        bool okIsDefault = false, focused = false;
        f.prompts->dialogAnswers.push_back([&](QDialog& d) {
            auto& dlg = static_cast<TGetLabelText&>(d);
            title = d.windowTitle();
            prompt = d.findChild<QLabel*>()->text();
            okIsDefault = d.findChild<QPushButton*>(QStringLiteral("OkButton"))->isDefault();
            focused = d.focusWidget() == dlg.LabelText;
            shown = dlg.Text();
            dlg.SetText(QStringLiteral("A much longer caption than before"));
            return int(QDialog::Accepted);
        });
        QByteArray before, after;
        QObject::connect(f.panel.get(), &TGBasePanel::objectRecordChanged,
                         [&](const QString&, const QByteArray& b, const QByteArray& a) { before = b; after = a; });
        int changes = 0;
        f.panel->LabelChangedEvent = [&] { ++changes; };
        label->MenuItem(QStringLiteral("Text"))->trigger();
        QCOMPARE(title, QStringLiteral("Text"));
        QCOMPARE(prompt, QStringLiteral("Enter Text"));
        QVERIFY(okIsDefault && focused);
        QCOMPARE(shown, QStringLiteral("Text")); // preset with the caption
        QCOMPARE(label->Caption(), QStringLiteral("A much longer caption than before"));
        QVERIFY(label->width() > 150); // grown to hold the text
        QVERIFY(changes > 0);
        QVERIFY(!before.isEmpty() && before != after);
        QCOMPARE(after, label->Record());

        // Cancelled, nothing changes.
        label->MenuItem(QStringLiteral("Text"))->trigger();
        QCOMPARE(label->Caption(), QStringLiteral("A much longer caption than before"));
    }

    void contextMenuItemsAndTheirEffects()
    {
        ovtest::PanelFixture f;
        auto* label = new TGPLabel(f.panel.get());
        label->setObjectName(QStringLiteral("Component0"));
        label->AfterLoad();
        QStringList captions;
        for (QAction* a : label->ContextMenu()->actions())
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions, (QStringList{"Bring To Front", "Send To Back", "Cut", "Copy", "Delete", "Clone", "-",
                                        "Locked", "Unselectable", "-", "Center Vertically", "Center Horizontally", "-",
                                        "Font", "3D Effects", "Alignment", "Transparent", "Background Color", "Border",
                                        "-", "Text", "-", "Rotation"}));
        QVERIFY(label->MenuItem(QStringLiteral("3D Effects"))->isEnabled());

        f.prompts->colorAnswers.push_back(QColor(255, 255, 0));
        label->MenuItem(QStringLiteral("Background Color"))->trigger();
        QCOMPARE(label->BackColor(), TColor(0x00FFFF));
        QVERIFY(!label->Transparent());
        QVERIFY(!label->MenuItem(QStringLiteral("Transparent"))->isChecked());

        label->MenuItem(QStringLiteral("Border"))->trigger();
        QCOMPARE(label->BorderStyle(), TBorderStyle::bsSingle);
        label->MenuItem(QStringLiteral("Center"))->trigger();
        QCOMPARE(label->Alignment(), TAlignment::taCenter);
        label->MenuItem(QStringLiteral("180 Degrees"))->trigger();
        QCOMPARE(label->Angle(), 180);
        emit label->ContextMenu()->aboutToShow();
        QVERIFY(label->MenuItem(QStringLiteral("180 Degrees"))->isChecked());
        QVERIFY(label->MenuItem(QStringLiteral("Left"))->isChecked()); // rotation reset it
        QVERIFY(label->MenuItem(QStringLiteral("Border"))->isChecked());

        QFont chosen(QStringLiteral("Liberation Serif"));
        chosen.setPixelSize(30);
        chosen.setItalic(true);
        f.prompts->fontAnswers.push_back(chosen);
        label->MenuItem(QStringLiteral("Font"))->trigger();
        QCOMPARE(label->Font().Name, QStringLiteral("Liberation Serif"));
        QCOMPARE(label->Font().Height, -30);
        QVERIFY(label->Font().Italic);
    }
};
OV_TEST(TestLabel)

#include "test_label.moc"
