#include "super_text.h"

#include "imaging/picture_error.h"
#include "objects/color_identifiers.h"
#include "objects/object_properties.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "special/super_text_properties.h"

#include <QDialog>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

using namespace supertext;

namespace {
const std::initializer_list<const char*> kBorderStyles{"bsNone", "bsSingle"};
const QByteArray kBitmapClass("\x07TBitmap", 8);

// Values far beyond the dialog's 0 to 10 only come from damaged files.
int readSmall(TStreamReader& r)
{
    const qint32 v = r.readInteger();
    if (v < -1000 || v > 1000)
        r.fail(streamtext::invalidValue());
    return v;
}

Qt::PenStyle qtPenStyle(TPenStyle s)
{
    switch (s) {
    case TPenStyle::psDash: return Qt::DashLine;
    case TPenStyle::psDot: return Qt::DotLine;
    case TPenStyle::psDashDot: return Qt::DashDotLine;
    case TPenStyle::psDashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::psClear: return Qt::NoPen;
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame: break;
    }
    return Qt::SolidLine;
}

// PDF, printers and recorded pictures keep shapes; only there the gradient is drawn as
// a true gradient instead of the screen's 256 bands.
bool isVectorDevice(const QPainter& p)
{
    const QPaintEngine* e = p.paintEngine();
    return e && e->type() != QPaintEngine::Raster && e->type() != QPaintEngine::OpenGL2;
}
} // namespace

TGSuperText::TGSuperText(QWidget* parent)
    : TGGraphicControl(parent), m_shadowcolor(clGray), m_gradientToColor(0x00FFFF)
{
    m_font = TObjectFont::withSize(QStringLiteral("Arial"), 48, clBlack, ppi());
    m_font.Bold = true;
    resize(142, 33);
    BuildGradient();
}

TGSuperText* TGSuperText::CreateBordered(QWidget* parent)
{
    auto* t = new TGSuperText(parent);
    t->SetBorderStyle(TBorderStyle::bsSingle);
    t->SetControlTransparent(false);
    t->SetBGColor(clWhite);
    return t;
}

// --- Properties ----------------------------------------------------------------------------

void TGSuperText::SetShadowDepth(int v)
{
    if (v == m_shadowDepth)
        return;
    m_shadowDepth = v;
    m_shadowOffset = shadowOffset(m_shadowOrientation, m_shadowDepth);
    markDirty();
    update();
}

void TGSuperText::SetShadowOrientation(TShadowOrientation v)
{
    if (v == m_shadowOrientation)
        return;
    m_shadowOrientation = v;
    m_shadowOffset = shadowOffset(m_shadowOrientation, m_shadowDepth);
    markDirty();
    update();
}

void TGSuperText::SetShadowcolor(TColor v)
{
    if (v == m_shadowcolor)
        return;
    m_shadowcolor = v;
    update();
}

void TGSuperText::SetBorderStyle(TBorderStyle v)
{
    if (v == m_borderStyle)
        return;
    m_borderStyle = v;
    update();
    NotifyChanged();
}

void TGSuperText::SetControlTransparent(bool v)
{
    if (v == m_controlTransparent)
        return;
    m_controlTransparent = v;
    update();
}

void TGSuperText::SetBGColor(TColor v)
{
    if (v == m_bgColor)
        return;
    m_bgColor = v;
    update();
    NotifyChanged();
}

void TGSuperText::SetCaption(const QString& v)
{
    if (v == m_caption)
        return;
    m_caption = v;
    markDirty();
    update();
    NotifyChanged();
}

void TGSuperText::SetFont(const TObjectFont& f)
{
    if (f == m_font)
        return;
    m_font = f;
    markDirty();
    update();
    NotifyChanged();
}

void TGSuperText::SetFontColor(TColor c)
{
    TObjectFont f = m_font;
    f.Color = c;
    SetFont(f);
}

void TGSuperText::SetFillDirection(TFillDirection v)
{
    if (v == m_fillDirection)
        return;
    m_fillDirection = v;
    rebuildGradientIfShown();
    update();
}

void TGSuperText::SetGradientToColor(TColor v)
{
    if (v == m_gradientToColor)
        return;
    m_gradientToColor = v;
    rebuildGradientIfShown();
    update();
}

void TGSuperText::SetGradientFromColor(TColor v)
{
    if (v == m_gradientFromColor)
        return;
    m_gradientFromColor = v;
    NotifyChanged();
    rebuildGradientIfShown();
    update();
}

void TGSuperText::SetImage(const TPicture& picture)
{
    if (picture.isEmpty() || picture.width() < 1 || picture.height() < 1)
        m_image = TPicture();
    else if (picture.isBitmap())
        m_image = picture;
    else
        m_image = TPicture::fromImage(picture.toImage({}, Qt::white));
    update();
}

void TGSuperText::SetOutlineColor(TColor v)
{
    if (v == m_outlineColor)
        return;
    m_outlineColor = v;
    update();
}

void TGSuperText::SetOutlineStyle(TPenStyle v)
{
    if (v == m_outlineStyle)
        return;
    m_outlineStyle = v;
    update();
}

void TGSuperText::SetOutlineWidth(int v)
{
    if (v == m_outlineWidth)
        return;
    m_outlineWidth = v;
    update();
}

void TGSuperText::SetSurfaceType(TSurfaceType v)
{
    if (v == m_surfaceType)
        return;
    m_surfaceType = v;
    update();
    // A texture lives only as long as the letters show it.
    if (v != TSurfaceType::stBrushImage)
        m_image = TPicture();
    if (v == TSurfaceType::stGradientFill)
        BuildGradient();
    // Letters without fill and without outline would leave nothing to see.
    if (v == TSurfaceType::stBrushTransparent && m_outlineStyle == TPenStyle::psClear)
        SetOutlineStyle(TPenStyle::psSolid);
}

void TGSuperText::SetLastBitmapFileNameandPath(const QString& v) { m_lastBitmapFileNameandPath = v; }

void TGSuperText::AssignSuperText(const TGSuperText& s)
{
    SetCaption(s.m_caption);
    SetFont(s.m_font);
    SetControlTransparent(s.m_controlTransparent);
    SetBGColor(s.m_bgColor);
    SetBorderStyle(s.m_borderStyle);
    SetCaption(s.m_caption);
    SetGradientFromColor(s.m_gradientFromColor);
    SetFillDirection(s.m_fillDirection);
    SetGradientToColor(s.m_gradientToColor);
    SetImage(s.m_image);
    SetOutlineColor(s.m_outlineColor);
    SetOutlineStyle(s.m_outlineStyle);
    SetOutlineWidth(s.m_outlineWidth);
    SetShadowcolor(s.m_shadowcolor);
    SetShadowDepth(s.m_shadowDepth);
    SetShadowOrientation(s.m_shadowOrientation);
    SetSurfaceType(s.m_surfaceType);
    resize(s.width(), s.height());
}

// --- Stream --------------------------------------------------------------------------------

void TGSuperText::WriteProperties(TObjectPropertyWriter& w) const
{
    TGGraphicControl::WriteProperties(w);
    w.integerUnless("ShadowDepth", m_shadowDepth, 0);
    if (m_shadowOrientation != TShadowOrientation::sdDownRight)
        w.ident("ShadowOrientation", identOf(kShadowOrientationNames, m_shadowOrientation));
    w.colorUnless("Shadowcolor", m_shadowcolor, clGray);
    w.ident("BorderStyle", identOf(kBorderStyles, m_borderStyle));
    w.boolean("ControlTransparent", m_controlTransparent);
    w.color("BGColor", m_bgColor);
    // An emptied caption is written too: left out, it would read back as "Text".
    w.string("Caption", m_caption);
    w.font("Font", m_font);
    w.ident("FillDirection", identOf(kFillDirectionNames, m_fillDirection));
    w.color("GradientToColor", m_gradientToColor);
    w.color("GradientFromColor", m_gradientFromColor);
    if (!m_image.isEmpty()) // the bitmap block without its class name
        w.binary("Image.Data", m_image.pictureData().mid(kBitmapClass.size()));
    w.color("OutlineColor", m_outlineColor);
    w.ident("OutlineStyle", identOf(kPenStyleNames, m_outlineStyle));
    w.integer("OutlineWidth", m_outlineWidth);
    w.ident("SurfaceType", identOf(kSurfaceTypeNames, m_surfaceType));
    w.stringUnlessEmpty("LastBitmapFileNameandPath", m_lastBitmapFileNameandPath);
}

TPropertySet<TGSuperText> TGSuperText::Properties()
{
    using S = TGSuperText;
    TPropertySet<S> p;
    p.inherit(CommonProperties());
    p.add("ShadowDepth", [](S& o, TStreamReader& r) { o.SetShadowDepth(readSmall(r)); });
    p.add("ShadowOrientation", [](S& o, TStreamReader& r) {
        o.SetShadowOrientation(TShadowOrientation(readEnumIdent(r, kShadowOrientationNames)));
    });
    p.add("Shadowcolor", [](S& o, TStreamReader& r) { o.SetShadowcolor(readColor(r)); });
    p.add("BorderStyle", [](S& o, TStreamReader& r) { o.SetBorderStyle(TBorderStyle(readEnumIdent(r, kBorderStyles))); });
    p.add("ControlTransparent", [](S& o, TStreamReader& r) { o.SetControlTransparent(r.readBoolean()); });
    p.add("BGColor", [](S& o, TStreamReader& r) { o.SetBGColor(readColor(r)); });
    p.add("Caption", [](S& o, TStreamReader& r) { o.SetCaption(r.readString()); });
    p.addNested<TObjectFont>("Font", [](S& o) -> TObjectFont& { return o.m_font; }, fontProperties());
    p.add("FillDirection", [](S& o, TStreamReader& r) {
        o.SetFillDirection(TFillDirection(readEnumIdent(r, kFillDirectionNames)));
    });
    p.add("GradientToColor", [](S& o, TStreamReader& r) { o.SetGradientToColor(readColor(r)); });
    p.add("GradientFromColor", [](S& o, TStreamReader& r) { o.SetGradientFromColor(readColor(r)); });
    p.add("Image.Data", [](S& o, TStreamReader& r) {
        const QByteArray data = r.readBinary();
        try {
            o.SetImage(TPicture::fromPictureData(kBitmapClass + data));
        } catch (const EPictureError& e) {
            r.fail(e.reason());
        }
    });
    p.add("OutlineColor", [](S& o, TStreamReader& r) { o.SetOutlineColor(readColor(r)); });
    p.add("OutlineStyle", [](S& o, TStreamReader& r) { o.SetOutlineStyle(TPenStyle(readEnumIdent(r, kPenStyleNames))); });
    p.add("OutlineWidth", [](S& o, TStreamReader& r) { o.SetOutlineWidth(readSmall(r)); });
    p.add("SurfaceType", [](S& o, TStreamReader& r) {
        // Assigned directly: the records store the texture before the surface type, and
        // reading must not drop it.
        o.m_surfaceType = TSurfaceType(readEnumIdent(r, kSurfaceTypeNames));
        o.rebuildGradientIfShown();
    });
    p.add("LastBitmapFileNameandPath",
          [](S& o, TStreamReader& r) { o.SetLastBitmapFileNameandPath(r.readString()); });
    return p;
}

// --- Layout --------------------------------------------------------------------------------

QFont TGSuperText::ZoomedFont() const { return m_font.toQFont(Zoom(), ppi()); }

void TGSuperText::CalcMetrics()
{
    if (!m_metricsDirty || m_inMetrics)
        return;
    const float zoom = Zoom();
    MetricsInput in;
    in.dx = zoom != 1.0f ? truncToInt(m_shadowOffset.x() * double(zoom)) : m_shadowOffset.x();
    in.dy = zoom != 1.0f ? truncToInt(m_shadowOffset.y() * double(zoom)) : m_shadowOffset.y();
    m_inMetrics = true;
    const QFontMetrics fm(ZoomedFont());
    // The line's height, also for an empty caption: the object never shrinks to nothing.
    in.h = fm.height();
    in.w = fm.horizontalAdvance(m_caption + QLatin1Char(' '));
    in.width = width();
    in.height = height();
    in.transparent = m_controlTransparent;
    in.bordered = m_borderStyle == TBorderStyle::bsSingle;
    m_metrics = computeMetrics(in);
    if (m_metrics.width != width() || m_metrics.height != height())
        resize(m_metrics.width, m_metrics.height);
    m_metricsDirty = false;
    m_inMetrics = false;
}

bool TGSuperText::FitToText()
{
    const QFontMetrics fm(m_font.toQFont(1.0f, ppi()));
    const int a = fm.horizontalAdvance(m_caption);
    const int b = fm.height();
    markDirty();
    CalcMetrics();
    const int c = m_metrics.textLeft();
    const int d = std::max(m_metrics.textRect.Top, m_metrics.shadowRect.Top);
    int w = c + truncToInt(1.2 * a);
    int h = truncToInt(1.2 * (b + d));
    if (h < b)
        h = truncToInt(1.5 * b);
    if (w < a)
        w = truncToInt(1.5 * a);
    resize(std::max(1, w), std::max(1, h));
    markDirty();
    update();
    return height() >= b && width() >= a;
}

void TGSuperText::BuildGradient()
{
    m_gradientBitmap = buildGradient(size(), m_fillDirection, m_gradientFromColor, m_gradientToColor);
    update();
}

void TGSuperText::rebuildGradientIfShown()
{
    if (m_surfaceType == TSurfaceType::stGradientFill)
        BuildGradient();
}

// --- Drawing -------------------------------------------------------------------------------

QPainterPath TGSuperText::textPath(const QString& s, QPoint topLeft, const QFont& font) const
{
    QPainterPath path;
    path.addText(QPointF(topLeft.x(), topLeft.y() + QFontMetrics(font).ascent()), font, s);
    return path;
}

QBrush TGSuperText::faceBrush(const QPainter& p) const
{
    switch (m_surfaceType) {
    case TSurfaceType::stNormal: return QBrush(toQColor(m_font.Color));
    case TSurfaceType::stBrushImage: {
        const QImage& tile = m_image.image();
        if (m_image.isEmpty() || tile.width() < 1 || tile.height() < 1)
            return Qt::NoBrush;
        QBrush brush(tile);
        const float zoom = Zoom();
        if (zoom != 1.0f) {
            // Tiles of the zoomed size, truncated, starting at the object's corner.
            const int tw = std::max(1, truncToInt(tile.width() * double(zoom)));
            const int th = std::max(1, truncToInt(tile.height() * double(zoom)));
            brush.setTransform(QTransform::fromScale(double(tw) / tile.width(), double(th) / tile.height()));
        }
        return brush;
    }
    case TSurfaceType::stGradientFill:
        if (isVectorDevice(p))
            return QBrush(vectorGradient(size(), m_fillDirection, m_gradientFromColor, m_gradientToColor));
        return QBrush(m_gradientBitmap);
    case TSurfaceType::stBrushTransparent: break;
    }
    return Qt::NoBrush;
}

void TGSuperText::drawEffects(QPainter& p, const QString& s)
{
    const QFont font = ZoomedFont();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Shadow and face are fills through the glyph outline; the face covers the shadow.
    if (m_shadowDepth >= 1 && m_shadowOrientation != TShadowOrientation::sdNone)
        p.fillPath(textPath(s, m_metrics.shadowOrigin, font), toQColor(m_shadowcolor));
    const QPainterPath face = textPath(s, m_metrics.textOrigin, font);
    if (m_surfaceType != TSurfaceType::stBrushTransparent) {
        const QBrush brush = faceBrush(p);
        if (brush.style() != Qt::NoBrush)
            p.fillPath(face, brush);
    }
    if (m_outlineStyle != TPenStyle::psClear && m_outlineWidth >= 1) {
        QPen pen(toQColor(m_outlineColor), m_outlineWidth, qtPenStyle(m_outlineStyle));
        pen.setJoinStyle(Qt::MiterJoin);
        p.strokePath(face, pen);
    }
}

void TGSuperText::paintTo(QPainter& p)
{
    if (m_inPaint)
        return;
    m_inPaint = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{m_inPaint};
    if (width() < 5 || height() < 5)
        markDirty();
    CalcMetrics();
    // The texture may be resized without a resize event (hidden objects get theirs later).
    if (m_surfaceType == TSurfaceType::stGradientFill && m_gradientBitmap.size() != size())
        m_gradientBitmap = buildGradient(size(), m_fillDirection, m_gradientFromColor, m_gradientToColor);

    p.save();
    // The bitmap export and the printer draw into larger surfaces: keep to the object.
    p.setClipRect(QRect(0, 0, width(), height()), Qt::IntersectClip);
    const bool bordered = m_borderStyle == TBorderStyle::bsSingle;
    if (!m_controlTransparent)
        p.fillRect(QRect(0, 0, width(), height()), toQColor(m_bgColor));
    const QPen frame(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    if (bordered) {
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
    }

    QString s = m_caption;
    const QFontMetrics fm(ZoomedFont());
    const int room = width() - m_metrics.textLeft();
    while (!s.isEmpty() && fm.horizontalAdvance(s) > room)
        s.chop(1);
    if (s.isEmpty()) {
        // A box with both diagonals keeps an object without visible text findable.
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, height() - 1);
        p.drawLine(0, 0, width(), height());
        p.drawLine(width(), 0, 0, height());
    } else {
        drawEffects(p, s);
    }
    p.restore();
}

void TGSuperText::PrintObject(QPainter& painter, double originX, double originY)
{
    markDirty();
    TGGraphicControl::PrintObject(painter, originX, originY);
}

// --- TGGraphicControl ----------------------------------------------------------------------

void TGSuperText::BoundsChanged()
{
    TGGraphicControl::BoundsChanged();
    markDirty();
    if (width() <= 0 || height() <= 0)
        resize(std::max(1, width()), std::max(1, height()));
    rebuildGradientIfShown();
}

void TGSuperText::AssignFont(const QFont& f)
{
    TObjectFont font = m_font;
    font.assign(f, ppi());
    SetFont(font);
    markDirty();
}

void TGSuperText::ChooseFont()
{
    if (const auto chosen = ChooseObjectFont(m_font, ppi(), QStringLiteral("Font")))
        SetFont(*chosen);
    markDirty();
}

void TGSuperText::UpdateMenuChecks()
{
    if (m_borderItem)
        m_borderItem->setChecked(m_borderStyle == TBorderStyle::bsSingle);
    if (m_transparentItem)
        m_transparentItem->setChecked(m_controlTransparent);
}

void TGSuperText::AfterLoad()
{
    TGGraphicControl::AfterLoad();
    QMenu* menu = ContextMenu();
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Font"), [this] { editProperties([this] { ChooseFont(); }); });
    m_transparentItem = addMenuItem(menu, QStringLiteral("Transparent"), [this] {
        editProperties([this] { SetControlTransparent(!m_controlTransparent); });
        NotifyChanged();
        UpdateMenuChecks();
    });
    m_transparentItem->setCheckable(true);
    addMenuItem(menu, QStringLiteral("Background Color"), [this] {
        const auto c = prompter().chooseColor(toQColor(m_bgColor), QStringLiteral("Background Color"));
        if (!c)
            return;
        editProperties([this, &c] {
            SetBGColor(fromQColor(*c));
            SetControlTransparent(false);
        });
        UpdateMenuChecks();
        update();
    });
    m_borderItem = addMenuItem(menu, QStringLiteral("Border"), [this] {
        editProperties([this] {
            SetBorderStyle(m_borderStyle == TBorderStyle::bsSingle ? TBorderStyle::bsNone : TBorderStyle::bsSingle);
        });
        UpdateMenuChecks();
    });
    m_borderItem->setCheckable(true);
    addMenuItem(menu, QStringLiteral("Properties"), [this] { ShowProperties(); });
    UpdateMenuChecks();
    rebuildGradientIfShown();
}

void TGSuperText::ShowProperties()
{
    TSuperTextProperties dialog(window());
    TGSuperText& preview = *dialog.Preview;
    preview.AssignSuperText(*this);
    dialog.TexturePath = m_lastBitmapFileNameandPath;
    if (prompter().execDialog(dialog) != QDialog::Accepted)
        return;
    editProperties([this, &preview, &dialog] {
        SetGradientFromColor(preview.GradientFromColor());
        SetFillDirection(preview.FillDirection());
        SetGradientToColor(preview.GradientToColor());
        SetImage(preview.Image());
        SetOutlineColor(preview.OutlineColor());
        SetOutlineStyle(preview.OutlineStyle());
        SetOutlineWidth(preview.OutlineWidth());
        SetShadowcolor(preview.Shadowcolor());
        SetShadowDepth(preview.ShadowDepth());
        SetShadowOrientation(preview.ShadowOrientation());
        SetSurfaceType(preview.SurfaceType());
        SetLastBitmapFileNameandPath(dialog.TexturePath);
        SetFontColor(preview.Font().Color);
        SetFont(preview.Font());
        markDirty();
        SetCaption(preview.Caption());
        rebuildGradientIfShown();
        CalcMetrics();
    });
    update();
    NotifyChanged();
}
