#pragma once
#include "objects/graphic_control.h"
#include "objects/label_layout.h"
#include "platform/win_color.h"
#include "richtext/rtf_storage.h"
#include "richtext/wp_rich_text.h"

#include <QPointer>
#include <stdexcept>


// Raised when a rich-text label finds no master editor to draw through.
class ENoMasterWPRich : public std::runtime_error {
public:
    ENoMasterWPRich() : std::runtime_error("No master rich text object found") {}
    static QString Message() { return QStringLiteral("No master rich text object found"); }
};

// A box of formatted text (paragraphs, fonts, sizes, colours, alignments) kept as RTF.
// It draws through the one hidden master editor of its window, laid out on a page of
// the label's unzoomed size, so the text wraps as in its editor at every zoom.
class TGPRichBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGPRichBaseLabel(QWidget* parent = nullptr);

    // --- Properties --------------------------------------------------------------------
    const TWPRtfStorage& RTFText() const { return m_rtf; }
    void SetRTFText(const TWPRtfStorage& text);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor v);

    // The hidden editor named "MASTERWPRICHTEXT" (in any case) in the window holding
    // `from`, or nullptr.
    static TWPRichText* FindMasterEditor(const QWidget* from);
    TWPRichText* MasterEditor() const { return m_master; }

    // The page the text is laid out on, in twips: the label's unzoomed size.
    QSize PageTwips() const;
    // Draws the background, the text through the master editor and the border.
    void DrawRich(QPainter& painter);
    // The "Rich Text Editor" on a copy of the text; Ok takes the edited text.
    void EditRichText();
    void EditAfterCreate() { EditRichText(); }

    // --- TGGraphicControl --------------------------------------------------------------
    QByteArray StreamClassName() const override { return QByteArrayLiteral("TGPRichBaseLabel"); }
    void WriteProperties(TObjectPropertyWriter& w) const override;
    static TPropertySet<TGPRichBaseLabel> Properties();
    void UpdateMenuChecks() override;
    // Also finds the master editor: throws ENoMasterWPRich when there is none.
    void AfterLoad() override;
    void paintTo(QPainter& painter) override;

private:
    void readRtfData(TStreamReader& r);

    TWPRtfStorage m_rtf;
    // The RTFText.Data block as read, written back unchanged while the text is the one
    // it gave.
    QByteArray m_storedRtfData;
    TBorderStyle m_borderStyle = TBorderStyle::bsSingle;
    bool m_transparent = true;
    TColor m_bgColor = clWhite;
    QPointer<TWPRichText> m_master;
};
