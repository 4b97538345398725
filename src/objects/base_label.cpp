#include "base_label.h"

#include "objects/base_panel.h"
#include "objects/color_identifiers.h"
#include "objects/font_3d_effects.h"
#include "objects/object_properties.h"
#include "platform/prompter.h"

#include <QDialog>
#include <QFontMetrics>
#include <QPainter>

namespace {
const std::initializer_list<const char*> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};
const std::initializer_list<const char*> kHighlightDirections{"hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp"};
const std::initializer_list<const char*> kShadowDirections{"sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"};
const std::initializer_list<const char*> kBorderStyles{"bsNone", "bsSingle"};

template <class E>
QByteArray identOf(std::initializer_list<const char*> names, E v)
{
    return QByteArray(names.begin()[int(v)]);
}

// Offsets far beyond the dialog's 0 to 10 only come from damaged files.
int readDepth(TStreamReader& r)
{
    const qint32 v = r.readInteger();
    if (v < -1000 || v > 1000)
        r.fail(streamtext::invalidValue());
    return v;
}
} // namespace

TGBaseLabel::TGBaseLabel(QWidget* parent)
    : TGGraphicControl(parent), m_colorHighlight(clAqua), m_colorShadow(clGray)
{
    m_font = TObjectFont::withSize(QStringLiteral("Arial"), 10, clBlack, ppi());
    resize(142, 33);
}

// --- Properties ----------------------------------------------------------------------------

void TGBaseLabel::SetAlignment(TAlignment v)
{
    if (v == m_alignment)
        return;
    m_alignment = v;
    markDirty();
    update();
    NotifyChanged();
}

void TGBaseLabel::SetDepthHighlight(int v)
{
    if (v == m_depthHighlight)
        return;
    m_depthHighlight = v;
    m_highlightOffset = highlightOffset(m_directionHighlight, m_depthHighlight);
    markDirty();
    update();
}

void TGBaseLabel::SetDepthShadow(int v)
{
    if (v == m_depthShadow)
        return;
    m_depthShadow = v;
    m_shadowOffset = shadowOffset(m_directionShadow, m_depthShadow);
    markDirty();
    update();
}

void TGBaseLabel::SetDirectionHighlight(THighlightDirection v)
{
    if (v == m_directionHighlight)
        return;
    m_directionHighlight = v;
    m_highlightOffset = highlightOffset(m_directionHighlight, m_depthHighlight);
    markDirty();
    update();
}

void TGBaseLabel::SetDirectionShadow(TShadowDirection v)
{
    if (v == m_directionShadow)
        return;
    m_directionShadow = v;
    m_shadowOffset = shadowOffset(m_directionShadow, m_depthShadow);
    markDirty();
    update();
}

void TGBaseLabel::SetcolorHighlight(TColor v)
{
    if (v == m_colorHighlight)
        return;
    m_colorHighlight = v;
    update();
}

void TGBaseLabel::SetcolorShadow(TColor v)
{
    if (v == m_colorShadow)
        return;
    m_colorShadow = v;
    update();
}

void TGBaseLabel::SetAngle(int a)
{
    if ((a != 0 && a != 90 && a != 180 && a != 270) || a == m_angle)
        return;
    m_angle = a;
    markDirty();
    if (a != 0)
        m_alignment = TAlignment::taLeftJustify;
    const bool upright = a == 0 || a == 180;
    if (!Reading && ((upright && width() < height()) || (!upright && height() < width())))
        resize(height(), width());
    update();
}

void TGBaseLabel::SetCaption(const QString& v)
{
    if (v == m_caption)
        return;
    m_caption = v;
    markDirty();
    update();
    NotifyChanged();
}

void TGBaseLabel::SetFont(const TObjectFont& f)
{
    if (f == m_font)
        return;
    m_font = f;
    markDirty();
    update();
    NotifyChanged();
}

void TGBaseLabel::SetTransparent(bool v)
{
    if (v == m_transparent)
        return;
    m_transparent = v;
    NotifyChanged();
    update();
}

void TGBaseLabel::SetBackColor(TColor v)
{
    if (v == m_backColor)
        return;
    m_backColor = v;
    NotifyChanged();
    update();
}

void TGBaseLabel::SetBorderStyle(TBorderStyle v)
{
    if (v == m_borderStyle)
        return;
    m_borderStyle = v;
    update();
    NotifyChanged();
}

// --- Stream --------------------------------------------------------------------------------

void TGBaseLabel::WriteProperties(TObjectPropertyWriter& w) const
{
    TGGraphicControl::WriteProperties(w);
    if (m_alignment != TAlignment::taLeftJustify)
        w.ident("Alignment", identOf(kAlignments, m_alignment));
    w.integerUnless("DepthHighlight", m_depthHighlight, 0);
    w.integerUnless("DepthShadow", m_depthShadow, 0);
    if (m_directionHighlight != THighlightDirection::hdUpLeft)
        w.ident("DirectionHighlight", identOf(kHighlightDirections, m_directionHighlight));
    if (m_directionShadow != TShadowDirection::sdDownRight)
        w.ident("DirectionShadow", identOf(kShadowDirections, m_directionShadow));
    w.colorUnless("colorHighlight", m_colorHighlight, clAqua);
    w.colorUnless("colorShadow", m_colorShadow, clGray);
    w.integerUnless("Angle", m_angle, 0);
    // An emptied caption is written too: left out, it would read back as "Text".
    w.string("Caption", m_caption);
    w.font("Font", m_font);
    w.boolean("Transparent", m_transparent);
    w.color("BackColor", m_backColor);
    w.ident("BorderStyle", identOf(kBorderStyles, m_borderStyle));
}

TPropertySet<TGBaseLabel> TGBaseLabel::Properties()
{
    using L = TGBaseLabel;
    TPropertySet<L> p;
    p.inherit(CommonProperties());
    p.add("Alignment", [](L& o, TStreamReader& r) { o.SetAlignment(TAlignment(readEnumIdent(r, kAlignments))); });
    p.add("DepthHighlight", [](L& o, TStreamReader& r) { o.SetDepthHighlight(readDepth(r)); });
    p.add("DepthShadow", [](L& o, TStreamReader& r) { o.SetDepthShadow(readDepth(r)); });
    p.add("DirectionHighlight", [](L& o, TStreamReader& r) {
        o.SetDirectionHighlight(THighlightDirection(readEnumIdent(r, kHighlightDirections)));
    });
    p.add("DirectionShadow", [](L& o, TStreamReader& r) {
        o.SetDirectionShadow(TShadowDirection(readEnumIdent(r, kShadowDirections)));
    });
    p.add("colorHighlight", [](L& o, TStreamReader& r) { o.SetcolorHighlight(readColor(r)); });
    p.add("colorShadow", [](L& o, TStreamReader& r) { o.SetcolorShadow(readColor(r)); });
    p.add("Angle", [](L& o, TStreamReader& r) { o.SetAngle(r.readInteger()); });
    p.add("Caption", [](L& o, TStreamReader& r) { o.SetCaption(r.readString()); });
    p.addNested<TObjectFont>("Font", [](L& o) -> TObjectFont& { return o.m_font; }, fontProperties());
    p.add("Transparent", [](L& o, TStreamReader& r) { o.SetTransparent(r.readBoolean()); });
    p.add("BackColor", [](L& o, TStreamReader& r) { o.SetBackColor(readColor(r)); });
    p.add("BorderStyle", [](L& o, TStreamReader& r) { o.SetBorderStyle(TBorderStyle(readEnumIdent(r, kBorderStyles))); });
    return p;
}

// --- Layout and drawing ----------------------------------------------------------------------

QFont TGBaseLabel::ZoomedFont() const { return m_font.toQFont(Zoom(), ppi()); }

const LabelLayout& TGBaseLabel::CalcLayout()
{
    if (!m_layoutDirty)
        return m_layout;
    const QFont font = ZoomedFont();
    const QFontMetrics fm(font);
    // Windows' text height already holds the internal leading, which the legacy line
    // height adds a second time, with the external leading.
    const int internalLeading = std::max(0, fm.height() - font.pixelSize());
    LabelLayoutInput in;
    in.lineH = fm.height() + internalLeading + std::max(0, fm.leading());
    in.textW = fm.horizontalAdvance(m_caption + QLatin1Char(' '));
    in.width = width();
    in.height = height();
    in.angle = m_angle;
    in.alignment = m_alignment;
    in.shadow = m_shadowOffset;
    in.highlight = m_highlightOffset;
    m_layout = computeLabelLayout(in);
    if (m_layout.width != width() || m_layout.height != height())
        resize(m_layout.width, m_layout.height);
    m_layoutDirty = false;
    return m_layout;
}

void TGBaseLabel::drawCopy(QPainter& p, const QFont& font, QPoint origin, const LabelRect& clip, TColor color) const
{
    p.save();
    p.setClipRect(clip.toQRect(), Qt::IntersectClip);
    p.translate(origin);
    // Escapement turns the text counter-clockwise about its top-left corner.
    p.rotate(-m_angle);
    p.setPen(toQColor(color));
    p.setFont(font);
    p.drawText(0, QFontMetrics(font).ascent(), m_caption);
    p.restore();
}

void TGBaseLabel::DrawLabel(QPainter& p)
{
    const LabelLayout& l = CalcLayout();
    if (!m_transparent)
        p.fillRect(QRect(0, 0, width(), height()), toQColor(m_backColor));
    const QFont font = ZoomedFont();
    if (m_depthShadow > 0 && m_directionShadow != TShadowDirection::sdNone)
        drawCopy(p, font, l.shadowOrigin, l.shadow, m_colorShadow);
    if (m_depthHighlight > 0 && m_directionHighlight != THighlightDirection::hdNone)
        drawCopy(p, font, l.highlightOrigin, l.highlight, m_colorHighlight);
    drawCopy(p, font, l.textOrigin, l.text, m_font.Color);
    if (m_borderStyle == TBorderStyle::bsSingle) {
        p.save();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
        p.restore();
    }
}

void TGBaseLabel::AutoGrow()
{
    if (m_angle != 0)
        return;
    const LabelLayout& l = CalcLayout();
    const QFontMetrics fm(ZoomedFont());
    const int needW = std::max({l.text.Left, l.shadow.Left, l.highlight.Left})
        + fm.horizontalAdvance(m_caption + QStringLiteral("     "));
    const int needH = std::max({l.text.Top, l.shadow.Top, l.highlight.Top}) + fm.height();
    resize(std::max(width(), needW), std::max(height(), needH));
    markDirty();
    update();
}

void TGBaseLabel::paintTo(QPainter& p)
{
    // No check of PaintSuspended here: the screen's paint event makes it, while printing
    // and export draw through this with painting suspended.
    if (width() < 5 || height() < 5)
        markDirty();
    DrawLabel(p);
}

// --- TGGraphicControl ------------------------------------------------------------------------

void TGBaseLabel::BoundsChanged()
{
    TGGraphicControl::BoundsChanged();
    markDirty();
    if (width() <= 0 || height() <= 0)
        resize(std::max(1, width()), std::max(1, height()));
}

void TGBaseLabel::AssignFont(const QFont& f)
{
    TObjectFont font = m_font;
    font.assign(f, ppi());
    SetFont(font);
}

void TGBaseLabel::ChooseFont()
{
    if (const auto chosen = ChooseObjectFont(m_font, ppi(), QStringLiteral("Font")))
        SetFont(*chosen);
}

void TGBaseLabel::UpdateMenuChecks()
{
    auto check = [this](const char* caption, bool on) {
        if (QAction* a = MenuItem(QString::fromLatin1(caption)))
            a->setChecked(on);
    };
    check("Border", m_borderStyle == TBorderStyle::bsSingle);
    check("Transparent", m_transparent);
    check("Left", m_alignment == TAlignment::taLeftJustify);
    check("Center", m_alignment == TAlignment::taCenter);
    check("Right", m_alignment == TAlignment::taRightJustify);
    check("No Rotation", m_angle == 0);
    check("90 Degrees", m_angle == 90);
    check("180 Degrees", m_angle == 180);
    check("270 Degrees", m_angle == 270);
}

void TGBaseLabel::AfterLoad()
{
    TGGraphicControl::AfterLoad();
    QMenu* menu = ContextMenu();
    auto checkable = [](QAction* a) {
        a->setCheckable(true);
        return a;
    };
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Font"), [this] { editProperties([this] { ChooseFont(); }); });
    addMenuItem(menu, QStringLiteral("3D Effects"), [this] {
        TGFont3DEffects dialog(*this, window());
        if (prompter().execDialog(dialog) != QDialog::Accepted)
            return;
        editProperties([&dialog] { dialog.CopyBack(); });
        NotifyChanged();
    });
    QMenu* align = menu->addMenu(QStringLiteral("Alignment"));
    const std::pair<const char*, TAlignment> alignments[] = {
        {"Left", TAlignment::taLeftJustify}, {"Center", TAlignment::taCenter}, {"Right", TAlignment::taRightJustify}};
    for (const auto& [caption, value] : alignments) {
        const TAlignment v = value;
        checkable(addMenuItem(align, QString::fromLatin1(caption), [this, v] {
            editProperties([this, v] { SetAlignment(v); });
            NotifyChanged();
        }));
    }
    checkable(addMenuItem(menu, QStringLiteral("Transparent"),
                          [this] { editProperties([this] { SetTransparent(!m_transparent); }); }));
    addMenuItem(menu, QStringLiteral("Background Color"), [this] {
        const auto c = prompter().chooseColor(toQColor(m_backColor), QStringLiteral("Background Color"));
        if (!c)
            return;
        editProperties([this, &c] {
            SetBackColor(fromQColor(*c));
            SetTransparent(false);
        });
        UpdateMenuChecks();
        update();
    });
    checkable(addMenuItem(menu, QStringLiteral("Border"), [this] {
        editProperties([this] {
            SetBorderStyle(m_borderStyle == TBorderStyle::bsSingle ? TBorderStyle::bsNone : TBorderStyle::bsSingle);
        });
    }));
    UpdateMenuChecks();
}
