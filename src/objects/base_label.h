#pragma once
#include "objects/graphic_control.h"
#include "objects/label_layout.h"
#include "objects/object_font.h"

// A one-line text object: a caption in a font, turned by a quarter turn if wanted, with
// an offset shadow copy and an offset highlight copy of the text, an optional opaque
// background and an optional thin border. The layout is computed once per change.
class TGBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGBaseLabel(QWidget* parent = nullptr);

    // --- Properties (setters compare first) ---------------------------------------------
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    int DepthHighlight() const { return m_depthHighlight; }
    void SetDepthHighlight(int v);
    int DepthShadow() const { return m_depthShadow; }
    void SetDepthShadow(int v);
    THighlightDirection DirectionHighlight() const { return m_directionHighlight; }
    void SetDirectionHighlight(THighlightDirection v);
    TShadowDirection DirectionShadow() const { return m_directionShadow; }
    void SetDirectionShadow(TShadowDirection v);
    TColor colorHighlight() const { return m_colorHighlight; }
    void SetcolorHighlight(TColor v);
    TColor colorShadow() const { return m_colorShadow; }
    void SetcolorShadow(TColor v);
    int Angle() const { return m_angle; }
    void SetAngle(int a); // only 0, 90, 180 and 270
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& v);
    const TObjectFont& Font() const { return m_font; }
    void SetFont(const TObjectFont& f);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor v);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);

    // --- Layout and drawing --------------------------------------------------------------
    // The layout for the current state; applies the size rules to the label.
    const LabelLayout& CalcLayout();
    void DrawLabel(QPainter& painter);
    // Grows the label (never shrinks it) to hold its caption; only at 0°.
    void AutoGrow();
    // The font measured and drawn with: the point size scaled by the zoom.
    QFont ZoomedFont() const;

    virtual void ChooseFont();

    // --- TGGraphicControl ----------------------------------------------------------------
    void WriteProperties(TObjectPropertyWriter& w) const override;
    static TPropertySet<TGBaseLabel> Properties();
    void BoundsChanged() override;
    void UpdateMenuChecks() override;
    void AssignFont(const QFont& font) override;
    void AfterLoad() override;
    void paintTo(QPainter& painter) override;

protected:
    void markDirty() { m_layoutDirty = true; }

private:
    void drawCopy(QPainter& p, const QFont& font, QPoint origin, const LabelRect& clip, TColor color) const;

    TAlignment m_alignment = TAlignment::taLeftJustify;
    int m_depthHighlight = 0;
    int m_depthShadow = 0;
    THighlightDirection m_directionHighlight = THighlightDirection::hdUpLeft;
    TShadowDirection m_directionShadow = TShadowDirection::sdDownRight;
    TColor m_colorHighlight;
    TColor m_colorShadow;
    int m_angle = 0;
    QString m_caption = QStringLiteral("Text");
    TObjectFont m_font;
    bool m_transparent = true;
    TColor m_backColor = clWhite;
    TBorderStyle m_borderStyle = TBorderStyle::bsNone;

    QPoint m_shadowOffset, m_highlightOffset;
    bool m_layoutDirty = true;
    LabelLayout m_layout;
};
