#include "shell/page_history.h"

#include "calendar/calendar_panel.h"

#include <QUndoCommand>

namespace {

constexpr int kObjectStepId = 1;

// One step: the page before and after. The redo that pushing runs is skipped, the page
// already being in the "after" state.
class PageStateCommand : public QUndoCommand {
public:
    PageStateCommand(PageHistory& history, PageState before, PageState after, const QString& name, int generation)
        : m_history(history), m_before(std::move(before)), m_after(std::move(after)), m_generation(generation)
    {
        setText(name);
    }
    void undo() override { m_history.restore(m_before); }
    void redo() override
    {
        if (m_pushed)
            m_history.restore(m_after);
        m_pushed = true;
    }
    // Object steps merge while they come from the same input; -1 never merges.
    int id() const override { return m_generation >= 0 ? kObjectStepId : -1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* o = static_cast<const PageStateCommand*>(other);
        if (o->m_generation != m_generation || !o->m_before.samePage(m_after))
            return false;
        m_after = o->m_after;
        setObsolete(m_before.samePage(m_after));
        return true;
    }
    const PageState& before() const { return m_before; }
    const PageState& after() const { return m_after; }

private:
    PageHistory& m_history;
    PageState m_before;
    PageState m_after;
    int m_generation;
    bool m_pushed = false;
};

QString boundsName(const QList<QRect>& before, const QList<QRect>& after)
{
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i].size() != after[i].size())
            return QStringLiteral("Resize");
    return QStringLiteral("Move");
}

// Derived names in the order they win when one input did several things.
int rank(const QString& name)
{
    static const QStringList order{QStringLiteral("Create"), QStringLiteral("Delete"), QStringLiteral("Properties"),
                                   QStringLiteral("Resize"), QStringLiteral("Move"), QStringLiteral("Order")};
    const qsizetype i = order.indexOf(name);
    return i < 0 ? int(order.size()) : int(i);
}

} // namespace

PageHistory::PageHistory(TCalendarPanel32& page, QObject* parent) : QObject(parent), m_page(page)
{
    m_stack.setUndoLimit(kUndoLimit);
    m_current = CapturePageState(m_page);
    connect(&page, &TGBasePanel::objectsCreated, this, [this] { objectChange(QStringLiteral("Create")); });
    connect(&page, &TGBasePanel::objectAboutToBeDeleted, this, [this] { objectChange(QStringLiteral("Delete")); });
    connect(&page, &TGBasePanel::objectRecordChanged, this, [this] { objectChange(QStringLiteral("Properties")); });
    connect(&page, &TGBasePanel::objectOrderChanged, this, [this] { objectChange(QStringLiteral("Order")); });
    connect(&page, &TGBasePanel::objectBoundsChanged, this,
            [this](const QStringList&, const QList<QRect>& before, const QList<QRect>& after) {
                objectChange(boundsName(before, after));
            });
    connect(&page, &TGBasePanel::objectsChanged, this, [this] { objectChange(QString()); });
    // Zooming rescales every object; it is no change of the page, only of the scale the
    // next step's "before" must be taken at.
    connect(&page, &TGBasePanel::zoomChanged, this, [this] {
        if (!m_restoring)
            rebase();
    });
}

PageHistory::~PageHistory() = default;

void PageHistory::beginStep(const QString& name)
{
    if (m_depth++ > 0)
        return;
    commitPending();
    seal();
    m_stepName = name;
    m_before = CapturePageState(m_page, &m_current);
}

void PageHistory::endStep()
{
    if (--m_depth > 0)
        return;
    // Object changes inside the step belong to it.
    m_pending = false;
    m_pendingName.clear();
    PageState after = CapturePageState(m_page, &m_before);
    if (!after.samePage(m_before))
        push(std::move(m_before), after, m_stepName, -1);
    m_current = std::move(after);
    m_before = PageState();
    seal();
}

void PageHistory::objectChange(const QString& derivedName)
{
    if (m_restoring || m_depth > 0)
        return;
    if (!derivedName.isEmpty() && (m_pendingName.isEmpty() || rank(derivedName) < rank(m_pendingName)))
        m_pendingName = derivedName;
    m_pending = true;
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scheduled = false;
            commitPending();
        },
        Qt::QueuedConnection);
}

void PageHistory::commitPending()
{
    // Inside a step the step takes the change; while zooming, the zoom's end does.
    if (!m_pending || m_depth > 0 || m_restoring || m_page.Loading || m_page.Zooming())
        return;
    m_pending = false;
    QString name = !m_hint.isEmpty() ? m_hint : m_pendingName;
    if (name.isEmpty())
        name = QStringLiteral("Change");
    m_pendingName.clear();
    PageState after = CapturePageState(m_page, &m_current);
    if (after.samePage(m_current))
        return;
    push(m_current, after, name, m_generation);
    m_current = std::move(after);
}

void PageHistory::push(PageState before, PageState after, const QString& name, int generation)
{
    m_stack.push(new PageStateCommand(*this, std::move(before), std::move(after), name, generation));
}

void PageHistory::seal()
{
    commitPending();
    ++m_generation;
    m_hint.clear();
}

void PageHistory::setNameHint(const QString& name)
{
    QString clean = name;
    clean.remove(QLatin1Char('&'));
    if (clean.endsWith(QStringLiteral("...")))
        clean.chop(3);
    m_hint = clean.trimmed();
}

void PageHistory::undo()
{
    seal();
    m_stack.undo();
    seal();
}

void PageHistory::redo()
{
    seal();
    m_stack.redo();
    seal();
}

void PageHistory::clear(bool saved)
{
    m_pending = false;
    m_pendingName.clear();
    m_stack.clear();
    if (!saved)
        m_stack.resetClean();
    m_current = CapturePageState(m_page);
    ++m_generation;
}

void PageHistory::markSaved()
{
    // A change still waiting is in the file: it is recorded before the saved mark.
    commitPending();
    m_stack.setClean();
    rebase();
}

void PageHistory::rebase()
{
    commitPending();
    m_current = CapturePageState(m_page, &m_current);
}

void PageHistory::restore(const PageState& state)
{
    m_restoring = true;
    const bool loading = m_page.Loading;
    // Quiet: putting objects back is no change the page reports.
    m_page.Loading = true;
    RestorePageState(m_page, state);
    m_page.Loading = loading;
    m_page.update();
    m_current = CapturePageState(m_page, &state);
    m_pending = false;
    m_restoring = false;
}

qsizetype PageHistory::bytesHeld() const
{
    QHash<const char*, qsizetype> seen;
    m_current.collectBlocks(seen);
    for (int i = 0; i < m_stack.count(); ++i) {
        const auto* c = static_cast<const PageStateCommand*>(m_stack.command(i));
        c->before().collectBlocks(seen);
        c->after().collectBlocks(seen);
    }
    qsizetype total = 0;
    for (qsizetype n : seen)
        total += n;
    return total;
}
