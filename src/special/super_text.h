#pragma once
#include "imaging/picture.h"
#include "objects/graphic_control.h"
#include "objects/label_layout.h"
#include "objects/object_font.h"
#include "special/super_text_drawing.h"
#include "special/super_text_types.h"

#include <QImage>

// Special-effects text: one line whose letters are filled with the font colour, a
// two-colour gradient or a tiled texture (or left empty), with an optional drop
// shadow, outline, background and frame. Every effect is a fill or stroke of the text's
// glyph outline, so printed and PDF pages keep the letters as vector outlines.
class TGSuperText : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGSuperText(QWidget* parent = nullptr);
    // A new object as the SuperText tool makes it: framed, opaque, on white.
    static TGSuperText* CreateBordered(QWidget* parent = nullptr);

    // --- Properties (setters compare first) ---------------------------------------------
    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int v);
    TShadowOrientation ShadowOrientation() const { return m_shadowOrientation; }
    void SetShadowOrientation(TShadowOrientation v);
    TColor Shadowcolor() const { return m_shadowcolor; }
    void SetShadowcolor(TColor v);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool ControlTransparent() const { return m_controlTransparent; }
    void SetControlTransparent(bool v);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor v);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& v);
    const TObjectFont& Font() const { return m_font; }
    void SetFont(const TObjectFont& f);
    void SetFontColor(TColor c);
    TFillDirection FillDirection() const { return m_fillDirection; }
    void SetFillDirection(TFillDirection v);
    TColor GradientToColor() const { return m_gradientToColor; }
    void SetGradientToColor(TColor v);
    TColor GradientFromColor() const { return m_gradientFromColor; }
    void SetGradientFromColor(TColor v);
    // The texture; only a bitmap is kept (any other picture is taken as its pixels).
    const TPicture& Image() const { return m_image; }
    void SetImage(const TPicture& picture);
    TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(TColor v);
    TPenStyle OutlineStyle() const { return m_outlineStyle; }
    void SetOutlineStyle(TPenStyle v);
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int v);
    TSurfaceType SurfaceType() const { return m_surfaceType; }
    void SetSurfaceType(TSurfaceType v);
    QString LastBitmapFileNameandPath() const { return m_lastBitmapFileNameandPath; }
    void SetLastBitmapFileNameandPath(const QString& v);

    // Copies the look, the text and the size of `source` through the setters.
    void AssignSuperText(const TGSuperText& source);

    // --- Layout and drawing -------------------------------------------------------------
    // Recomputes where the text and shadow go (and the size rules) when marked dirty.
    void CalcMetrics();
    // Resizes the object around its text; true when the final size holds it.
    bool FitToText();
    const supertext::Metrics& CurrentMetrics() const { return m_metrics; }
    QPoint ShadowOffset() const { return m_shadowOffset; }
    // The font drawn with: the point size scaled by the zoom.
    QFont ZoomedFont() const;
    const QImage& GradientBitmap() const { return m_gradientBitmap; }
    void BuildGradient();

    virtual void ChooseFont();
    // The "SuperText Properties" dialog; on Ok the object takes the preview's settings.
    void ShowProperties();

    // --- TGGraphicControl ----------------------------------------------------------------
    QByteArray StreamClassName() const override { return QByteArrayLiteral("TGSuperText"); }
    void WriteProperties(TObjectPropertyWriter& w) const override;
    static TPropertySet<TGSuperText> Properties();
    void AfterLoad() override;
    void BoundsChanged() override;
    void UpdateMenuChecks() override;
    void AssignFont(const QFont& font) override;
    void PrintObject(QPainter& painter, double originX, double originY) override;
    void paintTo(QPainter& painter) override;

private:
    void markDirty() { m_metricsDirty = true; }
    void rebuildGradientIfShown();
    void drawEffects(QPainter& p, const QString& s);
    QBrush faceBrush(const QPainter& p) const;
    QPainterPath textPath(const QString& s, QPoint topLeft, const QFont& font) const;

    int m_shadowDepth = 0;
    TShadowOrientation m_shadowOrientation = TShadowOrientation::sdDownRight;
    TColor m_shadowcolor;
    TBorderStyle m_borderStyle = TBorderStyle::bsNone;
    bool m_controlTransparent = true;
    TColor m_bgColor = clWhite;
    QString m_caption = QStringLiteral("Text");
    TObjectFont m_font;
    TFillDirection m_fillDirection = TFillDirection::gdRight;
    TColor m_gradientToColor;
    TColor m_gradientFromColor = clBlue;
    TPicture m_image;
    TColor m_outlineColor = clBlack;
    TPenStyle m_outlineStyle = TPenStyle::psSolid;
    int m_outlineWidth = 1;
    TSurfaceType m_surfaceType = TSurfaceType::stGradientFill;
    QString m_lastBitmapFileNameandPath;

    QImage m_gradientBitmap;
    QPoint m_shadowOffset;
    supertext::Metrics m_metrics;
    bool m_metricsDirty = true;
    bool m_inMetrics = false;
    bool m_inPaint = false;
    QAction* m_borderItem = nullptr;
    QAction* m_transparentItem = nullptr;
};
