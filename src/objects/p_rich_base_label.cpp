#include "p_rich_base_label.h"

#include "objects/color_identifiers.h"
#include "objects/object_properties.h"
#include "objects/rich_text_label_editor.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "richtext/wp_rich_text.h"

#include <QDialog>
#include <QPainter>

namespace {
const std::initializer_list<const char*> kBorderStyles{"bsNone", "bsSingle"};
const QByteArray kRtfTrailer(4, '\0');

// Beyond what any label's text could hold: damage.
constexpr qsizetype kMaxRtfData = qsizetype(64) * 1024 * 1024;
} // namespace

TGPRichBaseLabel::TGPRichBaseLabel(QWidget* parent) : TGGraphicControl(parent) { resize(190, 33); }

// --- Properties ------------------------------------------------------------------------

void TGPRichBaseLabel::SetRTFText(const TWPRtfStorage& text)
{
    if (text == m_rtf)
        return;
    m_rtf = text;
    m_storedRtfData.clear();
    update();
    NotifyChanged();
}

void TGPRichBaseLabel::SetBorderStyle(TBorderStyle v)
{
    if (v == m_borderStyle)
        return;
    m_borderStyle = v;
    update();
    NotifyChanged();
}

void TGPRichBaseLabel::SetTransparent(bool v)
{
    if (v == m_transparent)
        return;
    m_transparent = v;
    update();
}

void TGPRichBaseLabel::SetBGColor(TColor v)
{
    if (v == m_bgColor)
        return;
    m_bgColor = v;
    update();
    NotifyChanged();
}

// --- Stream ----------------------------------------------------------------------------

void TGPRichBaseLabel::WriteProperties(TObjectPropertyWriter& w) const
{
    TGGraphicControl::WriteProperties(w);
    if (!m_storedRtfData.isEmpty())
        w.binary("RTFText.Data", m_storedRtfData);
    else if (!m_rtf.rtf().isEmpty())
        w.binary("RTFText.Data", m_rtf.rtf() + kRtfTrailer);
    w.ident("BorderStyle", QByteArray(kBorderStyles.begin()[int(m_borderStyle)]));
    w.boolean("Transparent", m_transparent);
    w.color("BGColor", m_bgColor);
}

void TGPRichBaseLabel::readRtfData(TStreamReader& r)
{
    const QByteArray data = r.readBinary();
    if (data.size() > kMaxRtfData)
        r.fail(streamtext::invalidValue());
    QByteArray rtf = data;
    // The trailing 32-bit zero carries no text.
    while (rtf.endsWith('\0'))
        rtf.chop(1);
    SetRTFText(TWPRtfStorage(rtf));
    m_storedRtfData = data;
}

TPropertySet<TGPRichBaseLabel> TGPRichBaseLabel::Properties()
{
    using L = TGPRichBaseLabel;
    TPropertySet<L> p;
    p.inherit(CommonProperties());
    p.add("RTFText.Data", [](L& o, TStreamReader& r) { o.readRtfData(r); });
    p.add("BorderStyle", [](L& o, TStreamReader& r) {
        o.SetBorderStyle(TBorderStyle(readEnumIdent(r, kBorderStyles)));
    });
    p.add("Transparent", [](L& o, TStreamReader& r) { o.SetTransparent(r.readBoolean()); });
    p.add("BGColor", [](L& o, TStreamReader& r) { o.SetBGColor(readColor(r)); });
    return p;
}

// --- Drawing ---------------------------------------------------------------------------

TWPRichText* TGPRichBaseLabel::FindMasterEditor(const QWidget* from)
{
    if (!from)
        return nullptr;
    const QWidget* form = from->window();
    for (TWPRichText* editor : form->findChildren<TWPRichText*>())
        if (editor->objectName().toUpper() == QLatin1String("MASTERWPRICHTEXT"))
            return editor;
    return nullptr;
}

QSize TGPRichBaseLabel::PageTwips() const
{
    const double zoom = double(Zoom());
    return QSize(truncToInt(width() / zoom / ppi() * 1440.0), truncToInt(height() / zoom / ppi() * 1440.0));
}

void TGPRichBaseLabel::DrawRich(QPainter& p)
{
    if (!m_master)
        return;
    const QRect whole(0, 0, width(), height());
    const QColor background = m_transparent ? QColor(Qt::transparent) : toQColor(m_bgColor);
    p.save();
    p.setClipRect(whole, Qt::IntersectClip);
    // Loaded, laid out and drawn in one go: every label shares the one master editor.
    m_master->setBackgroundColor(background);
    m_master->setRtf(m_rtf.rtf());
    m_master->setZoom(truncToInt(double(Zoom()) * 100.0));
    const QSize page = PageTwips();
    m_master->setPageSizeTwips(page.width(), page.height());
    m_master->setDisplayMode(printingNow() ? TWPDisplayMode::Print : TWPDisplayMode::Screen);
    m_master->paintTo(p, whole);
    m_master->setDisplayMode(TWPDisplayMode::Screen);
    if (m_borderStyle == TBorderStyle::bsSingle) {
        drawSingleBorder(p);
    }
    p.restore();
}

void TGPRichBaseLabel::paintTo(QPainter& p) { DrawRich(p); }

// --- Menu and editor -------------------------------------------------------------------

void TGPRichBaseLabel::UpdateMenuChecks()
{
    if (QAction* a = MenuItem(QStringLiteral("Transparent")))
        a->setChecked(m_transparent);
    if (QAction* a = MenuItem(QStringLiteral("Border")))
        a->setChecked(m_borderStyle == TBorderStyle::bsSingle);
}

void TGPRichBaseLabel::AfterLoad()
{
    TGGraphicControl::AfterLoad();
    m_master = FindMasterEditor(this);
    if (!m_master)
        throw ENoMasterWPRich();
    QMenu* menu = ContextMenu();
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Transparent"), [this] {
        editProperties([this] { SetTransparent(!m_transparent); });
        UpdateMenuChecks();
    })->setCheckable(true);
    addMenuItem(menu, QStringLiteral("Background Color"), [this] {
        const auto c = prompter().chooseColor(toQColor(m_bgColor), QStringLiteral("Background Color"));
        if (!c)
            return;
        editProperties([this, &c] {
            SetBGColor(fromQColor(*c));
            SetTransparent(false);
        });
        UpdateMenuChecks();
    });
    addMenuItem(menu, QStringLiteral("Border"), [this] {
        editProperties([this] {
            SetBorderStyle(m_borderStyle == TBorderStyle::bsSingle ? TBorderStyle::bsNone : TBorderStyle::bsSingle);
        });
        UpdateMenuChecks();
    })->setCheckable(true);
    addMenuItem(menu, QStringLiteral("Edit"), [this] { EditRichText(); });
    UpdateMenuChecks();
    EditAction = [this] { EditRichText(); };
}

void TGPRichBaseLabel::EditRichText()
{
    HourglassOn();
    TRichTextLabelEditor dialog(window());
    TWPRichText* editor = dialog.WPRichText1;
    editor->setRtf(m_rtf.rtf());
    const double zoom = double(Zoom());
    // The label's unzoomed size in pixels, and its page in twips, so that the text wraps
    // exactly as on the page.
    const int w = roundHalfEven(width() / zoom);
    const int h = roundHalfEven(height() / zoom);
    if (!m_transparent) {
        QPalette pal = dialog.WPPanel->palette();
        pal.setColor(QPalette::Window, toQColor(m_bgColor));
        dialog.WPPanel->setPalette(pal);
        editor->setBackgroundColor(toQColor(m_bgColor));
    }
    dialog.WPPanel->resize(width() + 1, height() + 1);
    editor->setPageSizeTwips(truncToInt(double(w) / ppi() * 1440.0), truncToInt(double(h) / ppi() * 1440.0));
    editor->setZoom(roundHalfEven(zoom * 100.0));
    HourglassOff();
    if (prompter().execDialog(dialog) == QDialog::Accepted) {
        // Text the user emptied is stored as no text at all.
        TWPRtfStorage edited(editor->rtf());
        if (edited.isEmpty())
            edited.clear();
        editProperties([this, &edited] { SetRTFText(edited); });
        update();
        NotifyChanged();
    }
}
