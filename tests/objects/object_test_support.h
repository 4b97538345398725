#pragma once
// Shared by the object tests: stream bytes built by hand (independently of our writer),
// a plain test object class, and a shown host panel with a clock the test drives.
#include "objects/base_panel.h"
#include "objects/graphic_control.h"
#include "objects/handle.h"
#include "objects/object_classes.h"
#include "objects/object_properties.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/screen_ppi.h"

#include <QApplication>
#include <QByteArray>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace ovtest {

// Typed-value bytes, written out literally.
struct Bytes {
    QByteArray b;
    Bytes& raw(const QByteArray& s) { b += s; return *this; }
    Bytes& byte(int v) { b += char(v); return *this; }
    Bytes& str(const QByteArray& s) { byte(int(s.size())); b += s; return *this; } // untagged
    Bytes& prop(const QByteArray& name) { return str(name); }
    Bytes& int8(int v) { return byte(2).byte(v & 0xFF); }
    Bytes& int16(int v) { return byte(3).byte(v & 0xFF).byte((v >> 8) & 0xFF); }
    Bytes& int32(qint64 v)
    {
        byte(4);
        for (int i = 0; i < 4; ++i)
            byte(int((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& string(const QByteArray& s) { byte(6); return str(s); }
    Bytes& ident(const QByteArray& s) { byte(7); return str(s); }
    Bytes& boolean(bool v) { return byte(v ? 9 : 8); }
    Bytes& set(const QList<QByteArray>& members)
    {
        byte(11);
        for (const QByteArray& m : members)
            str(m);
        return byte(0);
    }
    Bytes& binary(const QByteArray& data)
    {
        byte(10);
        for (int i = 0; i < 4; ++i)
            byte(int((quint32(data.size()) >> (8 * i)) & 0xFF));
        b += data;
        return *this;
    }
    Bytes& end() { return byte(0); }
    Bytes& record(const QByteArray& cls, const QByteArray& name) { raw("TPF0"); str(cls); return str(name); }
    Bytes& geometry(int l, int t, int w, int h, bool locked = false, bool unselectable = false)
    {
        prop("Left").int16or8(l).prop("Top").int16or8(t).prop("Width").int16or8(w).prop("Height").int16or8(h);
        return prop("Locked").boolean(locked).prop("Unselectable").boolean(unselectable);
    }
    Bytes& int16or8(int v) { return (v >= -128 && v <= 127) ? int8(v) : int16(v); }
};

// A plain object: a grey box, so geometry tests are not bent by a label's size rules.
class TestBox : public TGGraphicControl {
    Q_OBJECT
public:
    using TGGraphicControl::TGGraphicControl;
    QByteArray StreamClassName() const override { return QByteArrayLiteral("TTestBox"); }
    void paintTo(QPainter& p) override { p.fillRect(rect(), QColor(200, 200, 200)); }
    static void registerClass()
    {
        RegisterObjectClass<TestBox>("TTestBox", TPropertySet<TestBox>().inherit(CommonProperties()));
    }
};

// A shown panel in a fresh user-data folder, with the scripted prompter and a clock.
struct PanelFixture {
    QTemporaryDir dir;
    ScopedScriptedPrompter prompts;
    std::unique_ptr<TGBasePanel> panel;
    qint64 tick = 5000;

    PanelFixture()
    {
        setScreenPPIOverride(96);
        setUserDataFolderOverride(dir.path());
        RegisterStandardObjectClasses();
        TestBox::registerClass();
        panel = std::make_unique<TGBasePanel>();
        panel->Clock = [this] { return tick; };
        panel->resize(600, 400);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }
    ~PanelFixture()
    {
        panel.reset();
        setUserDataFolderOverride(QString());
    }
    TestBox* box(const QRect& r, bool hooked = true)
    {
        auto* b = new TestBox(panel.get());
        b->setObjectName(panel->StreamObjectName());
        b->setGeometry(r);
        b->AfterLoad();
        if (hooked)
            panel->HookObjectEvents(b);
        b->show();
        return b;
    }
    TGHandle& handle() { return *panel->Handle(); }
    // The widget a press at a panel point reaches (objects, the handle or the panel).
    QWidget* at(QPoint p)
    {
        QWidget* w = panel->childAt(p);
        return w ? w : panel.get();
    }
};

// A mouse gesture on the panel: press where `from` lies; moves and the release go to the
// same widget, as the implicit grab does.
struct Gesture {
    PanelFixture& f;
    QWidget* target = nullptr;
    Qt::KeyboardModifiers mods;
    Gesture(PanelFixture& fx, QPoint from, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {})
        : f(fx), mods(m)
    {
        target = f.at(from);
        QTest::mousePress(target, b, m, target->mapFrom(f.panel.get(), from));
    }
    void move(QPoint to) { QTest::mouseMove(target, target->mapFrom(f.panel.get(), to)); }
    void release(QPoint to, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(target, b, mods, target->mapFrom(f.panel.get(), to));
    }
};

inline void hover(PanelFixture& f, QPoint p)
{
    QWidget* w = f.at(p);
    QTest::mouseMove(w, w->mapFrom(f.panel.get(), p));
}

} // namespace ovtest
