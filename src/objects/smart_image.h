#pragma once
#include "imaging/picture.h"

#include <QWidget>

// A picture control: shows a picture at its own size, centred, stretched, or scaled to
// fit with its proportions kept, optionally with the colour of its top-left pixel left
// out. Its loader reads every picture format the program knows by the file's content.
class TSmartImage : public QWidget {
    Q_OBJECT
public:
    explicit TSmartImage(QWidget* parent = nullptr);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool Center() const { return m_center; }
    void SetCenter(bool v);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool MaintainAspect() const { return m_maintainAspect; }
    void SetMaintainAspect(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    const TPicture& Picture() const { return m_picture; }
    void SetPicture(const TPicture& picture);
    void ClearPicture() { SetPicture(TPicture()); }

    // Reads the file into Picture; throws EPictureError (Picture is then unchanged).
    void LoadFromFile(const QString& fileName);

    // Where the picture is drawn in the control for the current settings.
    QRect PictureRect() const;
    // The control's drawing, also for tests.
    void paintTo(QPainter& painter) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToPicture();

    bool m_autoSize = false;
    bool m_center = false;
    bool m_stretch = false;
    bool m_maintainAspect = true;
    bool m_transparent = false;
    TPicture m_picture;
};
