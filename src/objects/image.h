#pragma once
#include "imaging/picture.h"
#include "objects/graphic_control.h"
#include "objects/label_layout.h"

// A clip-art picture placed on the page: a bitmap, an icon or a metafile, stretched to
// the object or sized to the picture, optionally framed, and (bitmaps only) mirrored.
class TGImage : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGImage(QWidget* parent = nullptr);

    // --- Properties --------------------------------------------------------------------
    bool AutoSize() const { return m_autoSize; }
    // Also sets Stretch to the opposite and fits the object to the picture at once.
    void SetAutoSize(bool v);
    bool Stretch() const { return m_stretch; }
    // Also sets AutoSize to the opposite (the object keeps its size until it next moves).
    void SetStretch(bool v);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool Reverse() const { return m_reverse; }
    void SetReverse(bool v);
    bool Flip() const { return m_flip; }
    void SetFlip(bool v);
    const TPicture& Picture() const { return m_picture; }
    // Copies the picture, then PictureChanged.
    void SetPicture(const TPicture& picture);

    // Fits an auto-sized object to its picture and repaints.
    void PictureChanged();
    // Flip and Reverse apply to bitmaps only.
    bool CanMirror() const { return m_picture.isBitmap(); }

    // The "Load Image File " browser; on Ok with a readable picture the object takes it
    // and the browser's Stretch and AutoSize choices. Runs right after the image tool
    // created the object.
    void LoadImage();
    void EditAfterCreate() { LoadImage(); }

    // --- TGGraphicControl --------------------------------------------------------------
    QByteArray StreamClassName() const override { return QByteArrayLiteral("TGImage"); }
    void WriteProperties(TObjectPropertyWriter& w) const override;
    static TPropertySet<TGImage> Properties();
    void BoundsChanged() override;
    void UpdateMenuChecks() override;
    void AfterLoad() override;
    void paintTo(QPainter& painter) override;

private:
    void readPictureData(TStreamReader& r);

    bool m_autoSize = false;
    bool m_stretch = true;
    TBorderStyle m_borderStyle = TBorderStyle::bsNone;
    bool m_reverse = false;
    bool m_flip = false;
    TPicture m_picture;
    // The Picture.Data block as read, written back unchanged while the picture is the
    // one it gave: pictures from older files keep their bytes.
    QByteArray m_storedPictureData;
};
