#pragma once
// Shared by the SuperText tests: a shown host panel with the scripted prompter, pictures
// of an object on a colour no drawing uses, and points well inside glyph outlines.
#include "objects/base_panel.h"
#include "objects/object_classes.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/screen_ppi.h"
#include "special/super_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

namespace ovtest {

inline const QColor kBackdrop(255, 0, 255);

struct SuperTextHost {
    QTemporaryDir dir;
    ScopedScriptedPrompter prompts;
    std::unique_ptr<TGBasePanel> panel;

    SuperTextHost()
    {
        setScreenPPIOverride(96);
        setUserDataFolderOverride(dir.path());
        RegisterStandardObjectClasses();
        RegisterObjectClass<TGSuperText>("TGSuperText", TGSuperText::Properties());
        panel = std::make_unique<TGBasePanel>();
        panel->resize(800, 500);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }
    ~SuperTextHost()
    {
        panel.reset();
        setUserDataFolderOverride(QString());
    }
    // An object on the panel, completed as the stream reader completes one.
    TGSuperText* superText(const QRect& r)
    {
        auto* t = new TGSuperText(panel.get());
        t->setObjectName(panel->StreamObjectName());
        t->setGeometry(r);
        t->AfterLoad();
        panel->HookObjectEvents(t);
        t->show();
        return t;
    }
};

// The object as paintTo draws it, on the backdrop colour.
inline QImage picture(TGSuperText& t)
{
    QImage img(t.width(), t.height(), QImage::Format_RGB32);
    img.fill(kBackdrop);
    QPainter p(&img);
    t.paintTo(p);
    return img;
}

// The outline of the caption where the object draws its face (offset: the shadow's).
inline QPainterPath glyphs(TGSuperText& t, QPoint offset = {})
{
    t.CalcMetrics();
    const QFont font = t.ZoomedFont();
    QPainterPath path;
    const QPoint origin = t.CurrentMetrics().textOrigin + offset;
    path.addText(QPointF(origin.x(), origin.y() + QFontMetrics(font).ascent()), font, t.Caption());
    return path;
}

// A pixel whose whole 5 x 5 neighbourhood lies inside `inside` and outside `outside`.
inline std::optional<QPoint> interiorPoint(const QPainterPath& inside, const QPainterPath& outside = {})
{
    const QRect box = inside.boundingRect().toAlignedRect();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            bool ok = true;
            for (int dy = -2; dy <= 2 && ok; ++dy)
                for (int dx = -2; dx <= 2 && ok; ++dx) {
                    const QPointF c(x + dx + 0.5, y + dy + 0.5);
                    ok = inside.contains(c) && !outside.contains(c);
                }
            if (ok)
                return QPoint(x, y);
        }
    return std::nullopt;
}

} // namespace ovtest
