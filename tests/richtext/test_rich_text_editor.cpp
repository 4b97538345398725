#include "platform/screen_ppi.h"
#include "richtext/rtf_picture.h"
#include "richtext/font_name_box.h"
#include "richtext/rtf_reader.h"
#include "richtext/wp_rich_text.h"
#include "richtext/wp_tool_bar.h"
#include "rtf_test_util.h"
#include "test_registry.h"
#include "test_support.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Opens the clipboard hooks for the tests.
class ProbeEditor : public TWPRichText {
public:
    using TWPRichText::createMimeDataFromSelection;
    using TWPRichText::insertFromMimeData;
};

TWPCharAttr attr(const QString& font, int size, bool b, bool i, bool u, bool s, int color)
{
    TWPCharAttr a;
    a.fontName = font;
    a.size = size;
    a.bold = b;
    a.italic = i;
    a.underline = u;
    a.strikeout = s;
    a.colorIndex = color;
    return a;
}

// The search the cell editing does for the attributes to continue a cell's text with.
TWPCharAttr lastFormattedAttr(TWPRichText& e)
{
    int pos = e.characterCount() - 1;
    e.selectCharacter(pos);
    TWPCharAttr a = e.attrAt(pos);
    while (a.size == 0 && pos >= 0)
        a = e.attrAt(--pos);
    return a;
}

} // namespace

class TestRichTextEditor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setScreenPPIOverride(96); }
    void cleanupTestCase() { setScreenPPIOverride(0); }

    void colourTable()
    {
        const auto& t = TWPRichText::colorTable();
        QCOMPARE(t[0], QColor(Qt::black));
        QCOMPARE(t[9], QColor(Qt::red));
        QCOMPARE(t[12], QColor(Qt::blue));
        QCOMPARE(t[15], QColor(Qt::white));
        QCOMPARE(TWPRichText::colorIndexOf(QColor(255, 0, 0)), 9);
        QCOMPARE(TWPRichText::colorIndexOf(QColor(128, 128, 128)), 7);
        QCOMPARE(TWPRichText::colorIndexOf(QColor(1, 2, 3)), 0);
        QCOMPARE(TWPRichText::colorIndexOf(QColor()), 0);
    }

    void loadAndStore()
    {
        TWPRichText e;
        const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs24\\b\\cf1 Hi\\par}";
        e.loadFromStorage(TWPRtfStorage(rtf));
        QCOMPARE(e.toPlainText(), QStringLiteral("Hi"));
        TWPRtfStorage out;
        e.storeToStorage(out);
        QCOMPARE(out.rtf(), rtftest::normalise(rtf));
        // Store and reload change nothing.
        e.setRtf(out.rtf());
        QCOMPARE(e.rtf(), out.rtf());
    }

    void changeSignalOnlyFromEdits()
    {
        TWPRichText e;
        e.show();
        QSignalSpy spy(&e, &TWPRichText::changed);
        e.setRtf("{\\rtf1 loaded\\par}");
        e.loadFromStorage(TWPRtfStorage(QByteArray("{\\rtf1 again\\par}")));
        e.clearText();
        e.setZoom(60);
        e.setPageSizeTwips(2000, 1000);
        e.setCurrentAttr(attr(QStringLiteral("Arial"), 12, true, false, false, false, 9));
        QCOMPARE(spy.count(), 0);
        e.setFocus();
        QTest::keyClicks(&e, QStringLiteral("ab"));
        QVERIFY(spy.count() >= 2);
        QCOMPARE(e.toPlainText(), QStringLiteral("ab"));
        const int before = spy.count();
        e.selectAll();
        e.setFontItalic(true); // a formatting edit is a change too
        QVERIFY(spy.count() > before);
    }

    void typingAttributes()
    {
        TWPRichText e;
        e.show();
        const TWPCharAttr a = attr(QStringLiteral("Times New Roman"), 14, true, true, true, true, 9);
        e.setCurrentAttr(a);
        QCOMPARE(e.currentAttr(), a);
        e.setFocus();
        QTest::keyClicks(&e, QStringLiteral("xy"));
        QCOMPARE(e.attrAt(0), a);
        QCOMPARE(e.attrAt(1), a);
        const QByteArray rtf = e.rtf();
        QVERIFY(rtf.contains("{\\f1\\fs28\\b\\i\\ul\\strike\\cf1 xy}"));
        QVERIFY(rtf.contains("\\red255\\green0\\blue0;"));
        // Writing other attributes changes what is typed next.
        const TWPCharAttr b = attr(QStringLiteral("Arial"), 8, false, false, false, false, 12);
        e.setCurrentAttr(b);
        QTest::keyClicks(&e, QStringLiteral("z"));
        QCOMPARE(e.attrAt(2), b);
        QCOMPARE(e.attrAt(1), a);
    }

    void customColourKept()
    {
        TWPRichText e;
        e.setRtf("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\fs20\\cf1 c\\par}");
        const TWPCharAttr a = e.attrAt(0);
        QCOMPARE(a.colorIndex, 0);
        QCOMPARE(a.customColor, QColor(1, 2, 3));
        e.setCaretPosition(1);
        e.setCurrentAttr(a);
        QCOMPARE(e.currentAttr().customColor, QColor(1, 2, 3));
    }

    void unformattedReadsAsSizeZero()
    {
        TWPRichText e;
        e.setRtf("{\\rtf1 abc\\par}");
        QCOMPARE(e.characterCount(), 4);
        QCOMPARE(e.attrAt(1).size, 0);
        QCOMPARE(e.attrAt(3).size, 0); // the final paragraph end
        QCOMPARE(e.attrAt(-1).size, 0);
        QCOMPARE(e.attrAt(99).size, 0);
        e.setRtf("{\\rtf1 a{\\fs30 b}\\par}");
        QCOMPARE(e.attrAt(0).size, 0);
        QCOMPARE(e.attrAt(1).size, 15);
    }

    void caretAndOneCharacterSelection()
    {
        TWPRichText e;
        e.setRtf("{\\rtf1 ab{\\b c}\\par de\\par}");
        e.setCaretPosition(2);
        QCOMPARE(e.caretPosition(), 2);
        QVERIFY(!e.textCursor().hasSelection());
        e.selectCharacter(2);
        QCOMPARE(e.textCursor().selectedText(), QStringLiteral("c"));
        QVERIFY(e.selectionAttr().bold);
        e.selectCharacter(0);
        QVERIFY(!e.selectionAttr().bold);
        e.setCaretPosition(1000);
        QCOMPARE(e.caretPosition(), e.characterCount() - 1);
    }

    // The last formatted character's attributes carry to a new line.
    void addParagraphContinuesLastFormatting()
    {
        TWPRichText e;
        e.setRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}plain {\\f0\\fs20\\b\\cf1 red}\\par}");
        const TWPCharAttr found = lastFormattedAttr(e);
        QCOMPARE(found, attr(QStringLiteral("Arial"), 10, true, false, false, false, 9));
        e.addParagraph(QStringLiteral("New line"), found);
        QCOMPARE(e.document()->blockCount(), 2);
        QCOMPARE(e.toPlainText(), QStringLiteral("plain red\nNew line"));
        const int start = e.document()->lastBlock().position();
        for (int i = 0; i < 8; ++i)
            QCOMPARE(e.attrAt(start + i), found);
        // A second call adds a second line, in order.
        e.addParagraph(QStringLiteral("Third"), found);
        QCOMPARE(e.toPlainText(), QStringLiteral("plain red\nNew line\nThird"));
        // And it survives store and reload.
        TWPRichText back;
        back.setRtf(e.rtf());
        QCOMPARE(rtftest::describe(*back.document()), rtftest::describe(*e.document()));
    }

    void addParagraphFillsTheOnlyEmptyParagraph()
    {
        TWPRichText e;
        const TWPCharAttr a = attr(QStringLiteral("Arial"), 10, false, false, false, false, 0);
        e.addParagraph(QStringLiteral("first"), a);
        QCOMPARE(e.document()->blockCount(), 1);
        QCOMPARE(e.toPlainText(), QStringLiteral("first"));
        QCOMPARE(e.attrAt(0), a);
    }

    void insertBitmapAtCaret()
    {
        TWPRichText e;
        e.show();
        e.setRtf("{\\rtf1 ab\\par}");
        const QImage icon = rtftest::sampleImage(16, 16);
        e.setCaretPosition(1);
        QSignalSpy spy(&e, &TWPRichText::changed);
        QVERIFY(e.insertBitmap(icon));
        QVERIFY(spy.count() > 0);
        QCOMPARE(e.toPlainText(), QStringLiteral("a") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("b"));
        QVERIFY(!e.insertBitmap(QImage()));
        const QByteArray rtf = e.rtf();
        QVERIFY(rtf.contains("{\\pict\\pngblip\\picw16\\pich16\\picwgoal240\\pichgoal240"));
        // The stored picture holds the same pixels.
        QTextDocument d;
        ReadRtf(rtf, &d);
        QTextCharFormat f;
        for (auto it = d.begin().begin(); !it.atEnd(); ++it)
            if (TWPRtfPicture::isPictureFormat(it.fragment().charFormat()))
                f = it.fragment().charFormat();
        QCOMPARE(TWPRtfPicture::fromFormat(f).decode().convertToFormat(QImage::Format_RGB32), icon);
        // Text typed after it is plain text, and Backspace removes it like a character.
        e.setFocus();
        QTest::keyClicks(&e, QStringLiteral("z"));
        QCOMPARE(e.toPlainText(), QStringLiteral("a") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("zb"));
        QVERIFY(!e.textCursor().charFormat().isImageFormat());
        QTest::keyClick(&e, Qt::Key_Backspace);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.toPlainText(), QStringLiteral("ab"));
    }

    void emptiness_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("empty");
        QTest::newRow("nothing") << QByteArray() << true;
        QTest::newRow("blank paragraphs") << QByteArray("{\\rtf1 \\par \\tab\\par}") << true;
        QTest::newRow("text") << QByteArray("{\\rtf1 x\\par}") << false;
        QTest::newRow("picture") << QByteArray("{\\rtf1{\\pict\\emfblip 0100}\\par}") << false;
    }
    void emptiness()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, empty);
        TWPRichText e;
        e.setRtf(rtf);
        QCOMPARE(e.isEmptyText(), empty);
        QCOMPARE(TWPRtfStorage(e.rtf()).isEmpty(), empty);
    }

    void selectAllAndCtrlA()
    {
        TWPRichText e;
        e.show();
        e.setRtf("{\\rtf1 one\\par two\\par}");
        e.setFocus();
        QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(e.textCursor().selectedText(), QStringLiteral("one") + QChar(QChar::ParagraphSeparator) + QStringLiteral("two"));
        QCOMPARE(e.toPlainText(), QStringLiteral("one\ntwo"));
    }

    void zoomScalesTheLayout()
    {
        TWPRichText e;
        e.setPageSizeTwips(2880, 1440); // 2 × 1 inch
        e.setRtf("{\\rtf1\\fs24 some words to wrap over a few lines of the page\\par}");
        QCOMPARE(e.document()->textWidth(), 192.0);
        const qreal h100 = e.document()->size().height();
        const int lines100 = e.document()->firstBlock().layout()->lineCount();
        e.setZoom(200);
        QCOMPARE(e.zoom(), 200);
        QCOMPARE(e.document()->textWidth(), 384.0);
        QVERIFY(qAbs(e.document()->size().height() / h100 - 2.0) < 0.2);
        QCOMPARE(e.document()->firstBlock().layout()->lineCount(), lines100);
        e.setZoom(60);
        QCOMPARE(e.document()->firstBlock().layout()->lineCount(), lines100);
    }

    void paintsIntoAnyPainter()
    {
        TWPRichText e;
        e.setPageSizeTwips(2880, 1440);
        e.setRtf("{\\rtf1\\fs24 painted\\par}");
        e.setBackgroundColor(QColor(255, 255, 200));
        QImage img(200, 100, QImage::Format_RGB32);
        img.fill(Qt::black);
        {
            QPainter p(&img);
            e.paintTo(p, QRect(0, 0, 192, 96));
        }
        QCOMPARE(img.pixel(190, 90) & 0xFFFFFF, qRgb(255, 255, 200) & 0xFFFFFF);
        QVERIFY(ovtest::darkPixelsInRect(img, QRect(0, 0, 192, 30)) > 20);
    }

    void copyAndPasteKeepFormatting()
    {
        ProbeEditor a;
        a.setRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}x{\\b\\cf1 bold}y\\par}");
        QTextCursor c(a.document());
        c.setPosition(1);
        c.setPosition(5, QTextCursor::KeepAnchor);
        a.setTextCursor(c);
        std::unique_ptr<QMimeData> mime(a.createMimeDataFromSelection());
        QVERIFY(mime->hasFormat(QStringLiteral("text/rtf")));
        ProbeEditor b;
        b.insertFromMimeData(mime.get());
        QCOMPARE(b.toPlainText(), QStringLiteral("bold"));
        QVERIFY(b.attrAt(0).bold);
        QCOMPARE(b.attrAt(0).colorIndex, 9);
        // Pasting a bitmap embeds it.
        QMimeData image;
        image.setImageData(rtftest::sampleImage(3, 3));
        b.insertFromMimeData(&image);
        QVERIFY(b.toPlainText().contains(QChar(QChar::ObjectReplacementCharacter)));
    }

    void toolBar()
    {
        TWPRichText e;
        e.show();
        TWPToolBar bar;
        QVERIFY(!bar.isEnabled());
        bar.attach(&e);
        bar.setEnabled(true);
        QCOMPARE(bar.editor(), &e);
        e.setRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 hello world\\par}");
        // Bold on a selection.
        e.selectCharacter(0);
        bar.boldAction()->trigger();
        QVERIFY(e.attrAt(0).bold);
        QVERIFY(!e.attrAt(1).bold);
        // Size and colour lists.
        e.selectAll();
        bar.fontSizeBox()->setEditText(QStringLiteral("14"));
        emit bar.fontSizeBox()->textActivated(QStringLiteral("14"));
        QCOMPARE(e.attrAt(3).size, 14);
        bar.fontColorBox()->setCurrentIndex(12);
        emit bar.fontColorBox()->activated(12);
        QCOMPARE(e.attrAt(3).colorIndex, 12);
        // The font list is made only when the user first opens it.
        QVERIFY(!bar.fontNameBox()->listed());
        bar.fontNameBox()->setEditText(QStringLiteral("Liberation Serif"));
        emit bar.fontNameBox()->textActivated(QStringLiteral("Liberation Serif"));
        QCOMPARE(e.attrAt(3).fontName, QStringLiteral("Liberation Serif"));
        bar.fontNameBox()->showPopup();
        QVERIFY(bar.fontNameBox()->listed());
        QCOMPARE(bar.fontNameBox()->currentText(), QStringLiteral("Liberation Serif")); // listing keeps what it shows
        const int mono = bar.fontNameBox()->findText(QStringLiteral("Liberation Mono"));
        QVERIFY(mono >= 0);
        bar.fontNameBox()->hidePopup();
        bar.fontNameBox()->setCurrentIndex(mono);
        emit bar.fontNameBox()->textActivated(QStringLiteral("Liberation Mono"));
        QCOMPARE(e.attrAt(3).fontName, QStringLiteral("Liberation Mono"));
        // Alignment.
        bar.alignCenterAction()->trigger();
        QVERIFY(e.alignment() & Qt::AlignHCenter);
        bar.alignRightAction()->trigger();
        QVERIFY(e.alignment() & Qt::AlignRight);
        // The bar follows the caret.
        e.setCaretPosition(1);
        QVERIFY(bar.boldAction()->isChecked());
        e.setCaretPosition(5);
        QVERIFY(!bar.boldAction()->isChecked());
        QCOMPARE(bar.fontSizeBox()->currentText(), QStringLiteral("14"));
        QCOMPARE(bar.fontColorBox()->currentIndex(), 12);
        // Select all, copy, cut and paste act on the editor.
        bar.selectAllAction()->trigger();
        QCOMPARE(e.textCursor().selectedText(), QStringLiteral("hello world"));
        bar.cutAction()->trigger();
        QVERIFY(e.toPlainText().isEmpty());
        bar.pasteAction()->trigger();
        QCOMPARE(e.toPlainText(), QStringLiteral("hello world"));
        QVERIFY(e.attrAt(0).bold);
        bar.detach();
        QCOMPARE(bar.editor(), nullptr);
        bar.boldAction()->trigger(); // harmless without an editor
    }
};
OV_TEST(TestRichTextEditor)
#include "test_rich_text_editor.moc"
