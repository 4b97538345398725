#include "shell/page_state.h"

#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"
#include "objects/graphic_control.h"
#include "objects/handle.h"
#include "objects/object_filer.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

namespace {

// The settings as a calendar file writes them (the user title comes after the cells there).
QByteArray settingsBlockOf(const TCalendarSettings& s)
{
    QByteArray out;
    TStreamWriter w(&out);
    WritePageSettings(w, s);
    w.writeString(s.UserTitle);
    return out;
}

// `fresh` itself, or the equal block `old` already holds.
QByteArray shared(const QByteArray& fresh, const QByteArray* old)
{
    return old && *old == fresh ? *old : fresh;
}

// Objects read back from their records, named as they were, at the state's zoom and
// then at the page's.
void recreateObjects(TCalendarPanel32& page, const PageState& state, const QList<int>& missing)
{
    if (missing.isEmpty())
        return;
    QByteArray list;
    {
        TStreamWriter w(&list);
        w.writeListBegin();
    }
    for (int i : missing)
        list.append(state.objects[i].record);
    {
        QByteArray end;
        TStreamWriter w(&end);
        w.writeListEnd();
        list.append(end);
    }
    TStreamReader r(list);
    r.readListBegin();
    const TObjectReadResult read = TGLabelObjectFiler::ReadRecords(r, &page);
    for (qsizetype k = 0; k < read.objects.size() && k < missing.size(); ++k) {
        TGGraphicControl* o = read.objects[k];
        o->setObjectName(state.objects[missing[k]].name);
        page.HookObjectEvents(o);
        o->SetZoomFactor(state.zoom);
        o->ZoomTo(page.Zoom());
    }
}

void restoreObjects(TCalendarPanel32& page, const PageState& state)
{
    page.Handle()->ClearSelection();
    const bool sameZoom = state.zoom == page.Zoom();
    QList<int> missing;
    QList<TGGraphicControl*> live = page.Objects();
    for (TGGraphicControl* o : live) {
        const auto it = std::find_if(state.objects.begin(), state.objects.end(),
                                     [o](const PageState::Object& s) { return s.name == o->objectName(); });
        if (sameZoom && it != state.objects.end() && it->record == o->Record())
            continue;
        // Detached at once so it no longer counts; freed once control is back in the loop.
        o->hide();
        o->setParent(nullptr);
        o->deleteLater();
    }
    for (int i = 0; i < state.objects.size(); ++i)
        if (!page.FindObject(state.objects[i].name))
            missing << i;
    recreateObjects(page, state, missing);
    // Child order is z-order: raising each in turn from the back rebuilds it.
    for (const PageState::Object& s : state.objects)
        if (TGGraphicControl* o = page.FindObject(s.name))
            o->raise();
    page.Handle()->raise();
    page.UpdateOverlay();
    page.RefitHandle();
}

} // namespace

bool PageState::samePage(const PageState& other) const
{
    return settingsBlock == other.settingsBlock && cells == other.cells && objects == other.objects;
}

void PageState::collectBlocks(QHash<const char*, qsizetype>& seen) const
{
    auto add = [&seen](const QByteArray& b) {
        if (!b.isEmpty())
            seen.insert(b.constData(), b.size());
    };
    add(settingsBlock);
    for (const QByteArray& c : cells)
        add(c);
    for (const Object& o : objects)
        add(o.record);
}

PageState CapturePageState(const TCalendarPanel32& page, const PageState* share)
{
    PageState s;
    s.settings = page.settings();
    s.settingsBlock = shared(settingsBlockOf(s.settings), share ? &share->settingsBlock : nullptr);
    for (int i = 0; i < TCalendarPage::kCellCount; ++i)
        s.cells[size_t(i)] = shared(page.CellRtf(i + 1), share ? &share->cells[size_t(i)] : nullptr);
    s.zoom = page.Zoom();
    const QList<TGGraphicControl*> objects = page.Objects();
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const QString name = objects[i]->objectName();
        const QByteArray* old = nullptr;
        if (share) {
            // Usually at the same place in the list; searched when the order changed.
            if (i < share->objects.size() && share->objects[i].name == name)
                old = &share->objects[i].record;
            else
                for (const PageState::Object& o : share->objects)
                    if (o.name == name)
                        old = &o.record;
        }
        s.objects.append({name, shared(objects[i]->Record(), old)});
    }
    return s;
}

void RestorePageState(TCalendarPanel32& page, const PageState& state)
{
    if (settingsBlockOf(page.settings()) != state.settingsBlock)
        page.RestoreSettings(state.settings);
    for (int i = 0; i < TCalendarPage::kCellCount; ++i)
        if (page.CellRtf(i + 1) != state.cells[size_t(i)])
            page.SetCellRtf(i + 1, state.cells[size_t(i)]);
    restoreObjects(page, state);
}
