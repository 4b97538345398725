#include "wp_rich_text.h"

#include "platform/screen_ppi.h"
#include "platform/win_color.h"
#include "rtf_picture.h"
#include "rtf_reader.h"
#include "rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cmath>

namespace {

const char* const kRtfMimeTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

QString familyOf(const QTextCharFormat& f)
{
    const QStringList list = f.fontFamilies().toStringList();
    if (!list.isEmpty())
        return list.first();
    return f.property(QTextFormat::FontFamily).toString();
}

} // namespace

TWPRichText::TWPRichText(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setViewportMargins(0, 0, 0, 0);
    // The font of text that names none, as RTF readers assume (\deff, 12 pt).
    setFont(QFont(QStringLiteral("Arial"), 12));
    document()->setUndoRedoEnabled(true);
    prepareDocument();
    setBackgroundColor(Qt::white);
    connect(document(), &QTextDocument::contentsChange, this, &TWPRichText::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TWPRichText::dropPictureFormatFromTyping);
    applyLayout();
}

const std::array<QColor, 16>& TWPRichText::colorTable()
{
    static const std::array<QColor, 16> table = [] {
        std::array<QColor, 16> t;
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = BasicColors()[i].color;
        return t;
    }();
    return table;
}

int TWPRichText::colorIndexOf(const QColor& c)
{
    if (!c.isValid())
        return 0;
    const auto& t = colorTable();
    for (int i = 15; i >= 0; --i)
        if (t[size_t(i)].rgb() == c.rgb())
            return i;
    return 0;
}

void TWPRichText::prepareDocument()
{
    QTextDocument* doc = document();
    doc->setDocumentMargin(0);
    doc->setUseDesignMetrics(true);
    InstallPictureHandler(doc);
}

void TWPRichText::applyLayout()
{
    // Zoom is a resolution: the layout device has the screen's PPI times the zoom, so
    // point sizes and picture sizes grow with it while the page keeps its twips.
    const qreal dpi = ScreenPPI() * m_zoom / 100.0;
    if (m_layoutDevice.isNull())
        m_layoutDevice = QImage(1, 1, QImage::Format_RGB32);
    const int dpm = int(std::lround(dpi / 0.0254));
    m_layoutDevice.setDotsPerMeterX(dpm);
    m_layoutDevice.setDotsPerMeterY(dpm);
    document()->documentLayout()->setPaintDevice(&m_layoutDevice);
    const int width = std::max(1, int(std::lround(m_pageWidthTwips / 1440.0 * dpi)));
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(width);
    document()->setTextWidth(width);
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
}

void TWPRichText::loadFromStorage(const TWPRtfStorage& storage) { setRtf(storage.rtf()); }

void TWPRichText::storeToStorage(TWPRtfStorage& storage) const { storage.setRtf(rtf()); }

void TWPRichText::setRtf(const QByteArray& bytes)
{
    m_loading = true;
    ReadRtf(bytes, document());
    prepareDocument();
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    setTextCursor(c);
    // Empty text starts plain: the typing format of the text shown before must not
    // carry over into it.
    if (bytes.isEmpty())
        setCurrentCharFormat(QTextCharFormat());
    applyLayout();
    m_loading = false;
}

QByteArray TWPRichText::rtf() const { return WriteRtf(*document()); }

void TWPRichText::clearText() { setRtf(QByteArray()); }

void TWPRichText::setPageSizeTwips(int widthTwips, int heightTwips)
{
    widthTwips = std::clamp(widthTwips, 1, 1440 * 100);
    heightTwips = std::clamp(heightTwips, 1, 1440 * 100);
    if (widthTwips == m_pageWidthTwips && heightTwips == m_pageHeightTwips)
        return;
    m_pageWidthTwips = widthTwips;
    m_pageHeightTwips = heightTwips;
    applyLayout();
}

void TWPRichText::setZoom(int percent)
{
    percent = std::clamp(percent, 1, 1000);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    applyLayout();
}

void TWPRichText::setBackgroundColor(const QColor& c)
{
    m_background = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

QTextCharFormat TWPRichText::formatFromAttr(const TWPCharAttr& a)
{
    QTextCharFormat f;
    if (!a.fontName.isEmpty())
        f.setFontFamilies(QStringList{a.fontName});
    if (a.size > 0)
        f.setFontPointSize(std::min(a.size, 1638));
    f.setFontWeight(a.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(a.italic);
    f.setFontUnderline(a.underline);
    f.setFontStrikeOut(a.strikeout);
    if (a.customColor.isValid())
        f.setForeground(a.customColor);
    else if (a.colorIndex > 0 && a.colorIndex < 16)
        f.setForeground(colorTable()[size_t(a.colorIndex)]);
    else
        f.setForeground(colorTable()[0]);
    return f;
}

TWPCharAttr TWPRichText::attrFromFormat(const QTextCharFormat& f)
{
    TWPCharAttr a;
    a.fontName = familyOf(f);
    a.size = f.hasProperty(QTextFormat::FontPointSize) ? int(std::lround(f.fontPointSize())) : 0;
    a.bold = f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold;
    a.italic = f.fontItalic();
    a.underline = f.fontUnderline();
    a.strikeout = f.fontStrikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush) {
        const QColor c = f.foreground().color();
        a.colorIndex = colorIndexOf(c);
        if (colorTable()[size_t(a.colorIndex)].rgb() != c.rgb())
            a.customColor = c;
    }
    return a;
}

TWPCharAttr TWPRichText::currentAttr() const { return attrFromFormat(currentCharFormat()); }

void TWPRichText::setCurrentAttr(const TWPCharAttr& attr)
{
    QTextCharFormat f = formatFromAttr(attr);
    if (attr.size <= 0) {
        // No size of its own: keep what the caret had.
        const QTextCharFormat cur = currentCharFormat();
        if (cur.hasProperty(QTextFormat::FontPointSize))
            f.setFontPointSize(cur.fontPointSize());
    }
    setCurrentCharFormat(f);
}

int TWPRichText::characterCount() const { return document()->characterCount(); }

TWPCharAttr TWPRichText::attrAt(int pos) const
{
    const QTextDocument* doc = document();
    if (pos < 0 || pos >= doc->characterCount() - 1)
        return {}; // before the text or the final paragraph end: nothing formatted
    const QTextBlock block = doc->findBlock(pos);
    if (!block.isValid())
        return {};
    if (pos == block.position() + block.length() - 1)
        return attrFromFormat(block.charFormat()); // a paragraph end
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (pos >= frag.position() && pos < frag.position() + frag.length()) {
            if (TWPRtfPicture::isPictureFormat(frag.charFormat()))
                return {};
            return attrFromFormat(frag.charFormat());
        }
    }
    return {};
}

void TWPRichText::setCaretPosition(int pos)
{
    QTextCursor c(document());
    c.setPosition(std::clamp(pos, 0, document()->characterCount() - 1));
    setTextCursor(c);
}

int TWPRichText::caretPosition() const { return textCursor().position(); }

void TWPRichText::selectCharacter(int pos)
{
    const int last = document()->characterCount() - 1;
    pos = std::clamp(pos, 0, last);
    QTextCursor c(document());
    c.setPosition(pos);
    c.setPosition(std::min(pos + 1, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

TWPCharAttr TWPRichText::selectionAttr() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return currentAttr();
    return attrAt(c.selectionStart());
}

void TWPRichText::addParagraph(const QString& text, const TWPCharAttr& attr)
{
    const QTextCharFormat f = formatFromAttr(attr);
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    const bool onlyEmpty = document()->blockCount() == 1 && document()->firstBlock().length() <= 1;
    if (onlyEmpty)
        c.setBlockCharFormat(f);
    else
        c.insertBlock(c.blockFormat(), f);
    QString clean = text;
    clean.replace(QLatin1Char('\n'), QChar::LineSeparator);
    clean.remove(QLatin1Char('\r'));
    c.insertText(clean, f);
    c.endEditBlock();
}

bool TWPRichText::insertBitmap(const QImage& image)
{
    if (image.isNull())
        return false;
    const TWPRtfPicture pic = TWPRtfPicture::fromImage(image, ScreenPPI());
    if (!pic.isValid())
        return false;
    const QTextCharFormat typing = currentCharFormat();
    QTextCursor c = textCursor();
    c.insertImage(pic.toFormat());
    setTextCursor(c);
    setCurrentCharFormat(typing);
    return true;
}

bool TWPRichText::isEmptyText() const
{
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        for (QChar ch : b.text())
            if (!(ch.isSpace() || ch == QChar::LineSeparator || ch.unicode() < 0x20))
                return false;
    }
    return true;
}

void TWPRichText::paintTo(QPainter& painter, const QRect& rect) const
{
    RenderRtfToRectTwips(painter, rect, TWPRtfStorage(rtf()), m_zoom, m_pageWidthTwips, m_mode, m_background);
}

void TWPRichText::onContentsChange(int, int removed, int added)
{
    if (m_loading || (removed == 0 && added == 0))
        return;
    emit changed();
}

void TWPRichText::dropPictureFormatFromTyping()
{
    // Text typed next to a picture must not take on the picture's object format.
    const QTextCharFormat cur = currentCharFormat();
    if (!cur.isImageFormat())
        return;
    QTextCharFormat clean;
    const QMap<int, QVariant> props = cur.properties();
    for (auto it = props.begin(); it != props.end(); ++it)
        if (it.key() >= 0x800 && it.key() < 0x3000 && it.key() != QTextFormat::ObjectType)
            clean.setProperty(it.key(), it.value()); // character properties only
    clean.clearProperty(QTextFormat::ObjectType);
    clean.clearProperty(QTextFormat::ObjectIndex);
    setCurrentCharFormat(clean);
}

void TWPRichText::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::SelectAll) || e->text() == QString(QChar(1))) {
        selectAll();
        e->accept();
        return;
    }
    // Ctrl+B, Ctrl+I, Ctrl+U switch a style of the selection, or of what is typed next.
    QTextCharFormat style;
    const QTextCharFormat now = currentCharFormat();
    if (e->matches(QKeySequence::Bold))
        style.setFontWeight(now.fontWeight() >= QFont::DemiBold ? QFont::Normal : QFont::Bold);
    else if (e->matches(QKeySequence::Italic))
        style.setFontItalic(!now.fontItalic());
    else if (e->matches(QKeySequence::Underline))
        style.setFontUnderline(!now.fontUnderline());
    if (!style.properties().isEmpty()) {
        mergeCurrentCharFormat(style);
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void TWPRichText::focusInEvent(QFocusEvent* e)
{
    QTextEdit::focusInEvent(e);
    emit entered();
}

QMimeData* TWPRichText::createMimeDataFromSelection() const
{
    // A plain QMimeData: the editor's own lazily filled one lists only its formats.
    auto* data = new QMimeData;
    const QTextDocumentFragment frag(textCursor());
    data->setText(frag.toPlainText());
    data->setHtml(frag.toHtml());
    QTextDocument tmp;
    tmp.setDefaultFont(document()->defaultFont());
    QTextCursor(&tmp).insertFragment(frag);
    const QByteArray bytes = WriteRtf(tmp);
    for (const char* type : kRtfMimeTypes)
        data->setData(QLatin1String(type), bytes);
    return data;
}

bool TWPRichText::canInsertFromMimeData(const QMimeData* source) const
{
    for (const char* type : kRtfMimeTypes)
        if (source->hasFormat(QLatin1String(type)))
            return true;
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void TWPRichText::insertFromMimeData(const QMimeData* source)
{
    for (const char* type : kRtfMimeTypes) {
        if (source->hasFormat(QLatin1String(type))) {
            QTextDocument tmp;
            ReadRtf(source->data(QLatin1String(type)), &tmp);
            textCursor().insertFragment(QTextDocumentFragment(&tmp));
            ensureCursorVisible();
            return;
        }
    }
    if (source->hasImage()) {
        insertBitmap(qvariant_cast<QImage>(source->imageData()));
        return;
    }
    if (source->hasText()) {
        textCursor().insertText(source->text());
        return;
    }
    QTextEdit::insertFromMimeData(source);
}
