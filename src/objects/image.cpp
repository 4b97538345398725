#include "image.h"

#include "imaging/picture_error.h"
#include "objects/base_panel.h"
#include "objects/image_browser.h"
#include "objects/object_properties.h"
#include "platform/numeric.h"
#include "platform/prompter.h"

#include <QDialog>
#include <QPainter>

namespace {
const std::initializer_list<const char*> kBorderStyles{"bsNone", "bsSingle"};

// The whole Picture.Data block: the class name and the graphic's data. More than a
// picture could sensibly hold is damage (a 16-bit coordinate system bounds the rest).
constexpr qsizetype kMaxPictureData = qsizetype(256) * 1024 * 1024;
} // namespace

TGImage::TGImage(QWidget* parent) : TGGraphicControl(parent) { resize(105, 105); }

// --- Properties ------------------------------------------------------------------------

void TGImage::SetAutoSize(bool v)
{
    m_autoSize = v;
    m_stretch = !v;
    PictureChanged();
    NotifyChanged();
}

void TGImage::SetStretch(bool v)
{
    m_stretch = v;
    m_autoSize = !v;
    update();
}

void TGImage::SetBorderStyle(TBorderStyle v)
{
    if (v == m_borderStyle)
        return;
    m_borderStyle = v;
    update();
    NotifyChanged();
}

void TGImage::SetReverse(bool v)
{
    if (v == m_reverse)
        return;
    m_reverse = v;
    update();
    NotifyChanged();
}

void TGImage::SetFlip(bool v)
{
    if (v == m_flip)
        return;
    m_flip = v;
    update();
    NotifyChanged();
}

void TGImage::SetPicture(const TPicture& picture)
{
    m_picture = picture;
    m_storedPictureData.clear();
    PictureChanged();
}

void TGImage::PictureChanged()
{
    BoundsChanged();
    // A bitmap exactly as large as the object covers it; anything else may leave gaps.
    setAttribute(Qt::WA_OpaquePaintEvent, m_picture.isBitmap() && m_picture.image().size() == size());
    update();
}

// --- Stream ----------------------------------------------------------------------------

void TGImage::WriteProperties(TObjectPropertyWriter& w) const
{
    TGGraphicControl::WriteProperties(w);
    if (m_autoSize)
        w.boolean("AutoSize", true);
    w.ident("BorderStyle", QByteArray(kBorderStyles.begin()[int(m_borderStyle)]));
    if (!m_storedPictureData.isEmpty())
        w.binary("Picture.Data", m_storedPictureData);
    else if (!m_picture.isEmpty())
        w.binary("Picture.Data", m_picture.pictureData());
    if (!m_stretch)
        w.boolean("Stretch", false);
    w.boolean("Reverse", m_reverse);
    w.boolean("Flip", m_flip);
}

void TGImage::readPictureData(TStreamReader& r)
{
    const QByteArray data = r.readBinary();
    if (data.size() > kMaxPictureData)
        r.fail(streamtext::invalidValue());
    try {
        SetPicture(TPicture::fromPictureData(data));
    } catch (const EPictureError& e) {
        r.fail(e.reason());
    }
    // Kept even when it holds no graphic (an empty bitmap), so it is written back too.
    m_storedPictureData = data;
}

TPropertySet<TGImage> TGImage::Properties()
{
    using I = TGImage;
    TPropertySet<I> p;
    p.inherit(CommonProperties());
    p.add("AutoSize", [](I& o, TStreamReader& r) { o.SetAutoSize(r.readBoolean()); });
    p.add("BorderStyle", [](I& o, TStreamReader& r) {
        o.SetBorderStyle(TBorderStyle(readEnumIdent(r, kBorderStyles)));
    });
    p.add("Picture.Data", [](I& o, TStreamReader& r) { o.readPictureData(r); });
    p.add("Stretch", [](I& o, TStreamReader& r) { o.SetStretch(r.readBoolean()); });
    p.add("Reverse", [](I& o, TStreamReader& r) { o.SetReverse(r.readBoolean()); });
    p.add("Flip", [](I& o, TStreamReader& r) { o.SetFlip(r.readBoolean()); });
    return p;
}

// --- Drawing ---------------------------------------------------------------------------

void TGImage::paintTo(QPainter& p)
{
    const QRect whole(0, 0, width(), height());
    p.save();
    p.setClipRect(whole, Qt::IntersectClip);
    // On screen the picture lies on the object's own white bitmap; on paper a metafile
    // plays straight onto the page.
    if (!(printingNow() && m_picture.isMetafile()))
        p.fillRect(whole, Qt::white);
    if (m_picture.isEmpty()) {
        // The framed white box of an image without a picture.
        drawSingleBorder(p);
    } else if (m_picture.isBitmap() && (m_flip || m_reverse)) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, printingNow());
        p.drawImage(whole, m_picture.image().mirrored(m_reverse, m_flip));
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform, printingNow());
        m_picture.draw(p, whole);
    }
    if (m_borderStyle == TBorderStyle::bsSingle) {
        drawSingleBorder(p);
    }
    p.restore();
}

// --- TGGraphicControl ------------------------------------------------------------------

void TGImage::BoundsChanged()
{
    TGGraphicControl::BoundsChanged();
    // While a record is read its stored size stands: it was fitted when it was written.
    if (Reading || !m_autoSize)
        return;
    const QSize natural = m_picture.size(ppi());
    if (natural.width() <= 0 || natural.height() <= 0)
        return;
    const double zoom = double(Zoom());
    const QSize fitted(std::clamp(roundHalfEven(natural.width() * zoom), 1, 32767),
                       std::clamp(roundHalfEven(natural.height() * zoom), 1, 32767));
    if (fitted != size())
        resize(fitted);
}

void TGImage::UpdateMenuChecks()
{
    auto check = [this](const char* caption, bool on) {
        if (QAction* a = MenuItem(QString::fromLatin1(caption)))
            a->setChecked(on);
    };
    check("Border", m_borderStyle == TBorderStyle::bsSingle);
    check("Stretch to Fit", m_stretch);
    check("AutoSize", m_autoSize);
    check("Flip", m_flip);
    check("Reverse", m_reverse);
    for (const char* caption : {"Flip", "Reverse"})
        if (QAction* a = MenuItem(QString::fromLatin1(caption)))
            a->setEnabled(CanMirror());
}

void TGImage::AfterLoad()
{
    TGGraphicControl::AfterLoad();
    QMenu* menu = ContextMenu();
    auto toggle = [this, menu](const char* caption, std::function<void()> change) {
        QAction* a = addMenuItem(menu, QString::fromLatin1(caption), [this, change = std::move(change)] {
            editProperties(change);
            update();
            UpdateMenuChecks();
        });
        a->setCheckable(true);
    };
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Load Image From Disk"), [this] { LoadImage(); });
    menu->addSeparator();
    toggle("Border", [this] {
        SetBorderStyle(m_borderStyle == TBorderStyle::bsSingle ? TBorderStyle::bsNone : TBorderStyle::bsSingle);
    });
    toggle("Stretch to Fit", [this] { SetStretch(!m_stretch); });
    toggle("AutoSize", [this] { SetAutoSize(!m_autoSize); });
    toggle("Flip", [this] { SetFlip(!m_flip); });
    toggle("Reverse", [this] { SetReverse(!m_reverse); });
    UpdateMenuChecks();
}

void TGImage::LoadImage()
{
    TGImageBrowser browser(m_stretch, m_autoSize, window());
    if (prompter().execDialog(browser) != QDialog::Accepted || browser.FileName().isEmpty())
        return;
    const TPicture chosen = browser.PreviewPicture();
    if (chosen.isEmpty()) {
        // Nothing could be read: the picture the object had stays.
        prompter().error(QStringLiteral("Error loading file!"), QStringLiteral("Error"));
        return;
    }
    editProperties([this, &browser, &chosen] {
        m_picture = chosen;
        m_storedPictureData.clear();
        SetStretch(browser.StretchChecked());
        SetAutoSize(browser.AutoSizeChecked());
        PictureChanged();
    });
    NotifyChanged();
    UpdateMenuChecks();
}
