#include "special/icon_list_box.h"

#include "imaging/icon_error.h"
#include "platform/shell_helpers.h"

#include <QBuffer>
#include <QDrag>
#include <QFileInfo>
#include <QLayout>
#include <QMimeData>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

TIconListBox::DragLoop& dragLoop()
{
    static TIconListBox::DragLoop loop;
    return loop;
}

// Each cell: the list's colour (the selection colour for the selected item) with the
// icon at its natural size in the middle.
class IconCellDelegate : public QStyledItemDelegate {
public:
    explicit IconCellDelegate(TIconListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        try {
            const QRect r = option.rect;
            const bool selected = option.state & QStyle::State_Selected;
            painter->fillRect(r, m_list->palette().color(selected ? QPalette::Highlight : QPalette::Base));
            const QImage icon = m_list->GetIcon(index.row());
            if (icon.isNull())
                return;
            const int x = r.left() + (r.width() - icon.width()) / 2;
            const int y = r.top() + (r.height() - icon.height()) / 2;
            painter->drawImage(x, y, icon);
        } catch (const std::exception&) {
            // A cell that cannot be drawn stays as it is; the list goes on.
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(m_list->ShownColumnWidth(), m_list->ItemHeight());
    }

private:
    TIconListBox* m_list;
};

} // namespace

TIconListBox::TIconListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new IconCellDelegate(this));
    // A flat single-line border: the sizes below count one pixel on each side.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // A multi-column list: items run down a column, then on to the next one, and the
    // list scrolls sideways.
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    // Dragging an icon out of the list must not scroll the list.
    setAutoScroll(false);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(ItemHeight());
    setFont(f);
    m_numberOfIcons = -1;
    m_yIcons = 1;
    SetXIcons(4);
    UpdateEnabled();
}

void TIconListBox::SetFileName(const QString& fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    LoadFile();
    emit FileChange();
}

void TIconListBox::SetAutoDisable(bool value)
{
    m_autoDisable = value;
    UpdateEnabled();
}

void TIconListBox::SetEnableCaching(bool value)
{
    m_enableCaching = value;
    if (!value)
        LoadFile();
}

void TIconListBox::SetXIcons(int value)
{
    if (value < 1 || value == m_xIcons)
        return;
    m_xIcons = value;
    SizeControl();
}

void TIconListBox::SetYIcons(int value)
{
    if (value < 1 || value == m_yIcons)
        return;
    m_yIcons = value;
    SizeControl();
}

int TIconListBox::ShownColumnWidth() const
{
    // The area inside the border (there is never a vertical scroll bar) shared out.
    return std::max(1, contentsRect().width() / std::max(1, m_xIcons));
}

void TIconListBox::UpdateEnabled()
{
    setEnabled(!m_autoDisable || QFileInfo(m_fileName).isFile());
}

void TIconListBox::LoadFile()
{
    clear();
    m_icons.clear();
    m_library.reset();
    m_loadError.clear();
    m_extractedCount = 0;
    m_numberOfIcons = -1;
    UpdateEnabled();
    if (!QFileInfo(m_fileName).isFile())
        return;
    if (!m_enableCaching)
        HourglassOn();
    int n = 0;
    try {
        m_library = IconLibrary::fromFile(m_fileName);
        n = m_library->count();
    } catch (const EIconError& e) {
        // What the file's reader could not make sense of gives no icons at all.
        m_library.reset();
        m_loadError = e.reason();
    }
    m_numberOfIcons = n;
    m_icons.resize(size_t(n));
    for (int i = 0; i < n; ++i)
        addItem(QString::asprintf("%d", i));
    if (!m_enableCaching)
        for (int i = 0; i < n; ++i)
            GetIcon(i);
    if (n > 0)
        setCurrentRow(0);
    if (!m_enableCaching)
        HourglassOff();
}

QImage TIconListBox::ExtractIcon(int index) const
{
    if (!m_library)
        return QImage();
    try {
        // As the system hands out a large icon: the nearest picture, brought to the
        // system size when the file has none of it.
        const QSize size(SystemIconWidth, SystemIconHeight);
        QImage icon = m_library->image(index, size);
        if (!icon.isNull() && icon.size() != size)
            icon = icon.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return icon;
    } catch (const EIconError&) {
        return QImage();
    }
}

QImage TIconListBox::GetIcon(int index)
{
    if (index < 0 || size_t(index) >= m_icons.size())
        return QImage();
    std::optional<QImage>& slot = m_icons[size_t(index)];
    if (!slot) {
        // An icon that cannot be shown is tried once, not at every paint.
        slot = ExtractIcon(index);
        ++m_extractedCount;
    }
    return *slot;
}

QMimeData* TIconListBox::IconDragData(int index)
{
    const QImage icon = GetIcon(index);
    if (icon.isNull())
        return nullptr;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!icon.save(&buffer, "PNG"))
        return nullptr;
    auto* data = new QMimeData;
    data->setData(IconMimeType, png);
    return data;
}

void TIconListBox::startDrag(Qt::DropActions)
{
    const int index = currentRow();
    QMimeData* data = IconDragData(index);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QImage icon = GetIcon(index);
    drag->setPixmap(QPixmap::fromImage(icon));
    drag->setHotSpot(QPoint(icon.width() / 2, icon.height() / 2));
    if (dragLoop()) {
        dragLoop()(*drag);
        drag->deleteLater();
    } else
        drag->exec(Qt::CopyAction, Qt::CopyAction);
}

TIconListBox::DragLoop TIconListBox::SetDragLoop(DragLoop loop)
{
    DragLoop previous = std::move(dragLoop());
    dragLoop() = std::move(loop);
    return previous;
}

void TIconListBox::SizeControl()
{
    // A control placed by a layout keeps the size the layout gives it; only the column
    // count matters then.
    QWidget* parent = parentWidget();
    const bool laidOut = parent && parent->layout() && parent->layout()->indexOf(this) >= 0;
    if (!laidOut) {
        const int cw = ColumnWidth();
        const int ih = ItemHeight();
        const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const int h = width() < cw * m_xIcons + 2 ? ih * m_yIcons + scrollBar + 1 : ih * m_yIcons + 3;
        resize(cw * m_xIcons + 2, h);
    }
    UpdateColumns();
}

void TIconListBox::UpdateColumns()
{
    // Every cell takes its size from the column width: lay the items out again.
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TIconListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    UpdateColumns();
}
