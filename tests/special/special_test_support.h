#pragma once
// Shared by the floating-calendar tests: a shown host panel in a fresh user-data folder
// with the scripted prompter, and pictures of a calendar on a background no drawing
// uses, so every painted pixel can be told from an unpainted one.
#include "objects/base_panel.h"
#include "objects/object_classes.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/screen_ppi.h"
#include "special/flat_calendar.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace ovtest {

inline const QColor kUnpainted(255, 0, 255);

struct HostFixture {
    QTemporaryDir dir;
    ScopedScriptedPrompter prompts;
    std::unique_ptr<TGBasePanel> panel;

    HostFixture()
    {
        setScreenPPIOverride(96);
        setUserDataFolderOverride(dir.path());
        RegisterStandardObjectClasses();
        RegisterObjectClass<TGFlatCalendar>("TGFlatCalendar", TGFlatCalendar::Properties());
        panel = std::make_unique<TGBasePanel>();
        panel->resize(700, 500);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }
    ~HostFixture()
    {
        panel.reset();
        setUserDataFolderOverride(QString());
    }
    // A calendar of March 2025 (the 1st is a Saturday) on the panel, as the stream
    // reader completes one.
    TGFlatCalendar* calendar(const QRect& r)
    {
        auto* c = new TGFlatCalendar(panel.get());
        c->setObjectName(panel->StreamObjectName());
        c->setGeometry(r);
        c->SetMonth(3);
        c->SetYear(2025);
        c->AfterLoad();
        panel->HookObjectEvents(c);
        c->show();
        return c;
    }
};

// The calendar as paintTo draws it, on the unpainted colour.
inline QImage picture(TGFlatCalendar& c)
{
    QImage img(c.width(), c.height(), QImage::Format_RGB32);
    img.fill(kUnpainted);
    QPainter p(&img);
    c.paintTo(p);
    return img;
}

} // namespace ovtest
