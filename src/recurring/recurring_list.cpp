#include "recurring_list.h"

#include "platform/shell_helpers.h"
#include "recurring_formula.h"

#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

QListWidgetItem* makeRecurringItem(const QString& entry)
{
    auto* item = new QListWidgetItem(RecurringEntryText(entry));
    item->setData(kRecurringEntryRole, entry);
    return item;
}

QString recurringEntryOf(const QListWidgetItem* item)
{
    return item ? item->data(kRecurringEntryRole).toString() : QString();
}

QStringList recurringEntriesOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(recurringEntryOf(list->item(i)));
    return out;
}

QStringList selectedRecurringEntries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            out.append(recurringEntryOf(list->item(i)));
    }
    return out;
}

bool recurringEntryLess(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

int insertRecurringSorted(QListWidget* list, const QString& entry)
{
    int row = list->count();
    while (row > 0 && recurringEntryLess(entry, recurringEntryOf(list->item(row - 1))))
        --row;
    list->insertItem(row, makeRecurringItem(entry));
    return row;
}

namespace {

QPixmap checkMark(const QColor& color)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(3, 8);
    path.lineTo(6.5, 11.5);
    path.lineTo(13, 4);
    p.drawPath(path);
    return pm;
}

} // namespace

QPixmap CheckBmp()
{
    static const QPixmap pm = checkMark(Qt::black);
    return pm;
}

QPixmap RevCheckBmp()
{
    static const QPixmap pm = checkMark(Qt::white);
    return pm;
}

void TRecurringCheckDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const bool focused = option.state & QStyle::State_HasFocus;
    const bool selected = option.state & QStyle::State_Selected;
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, focused ? QColor(Qt::black) : option.palette.color(QPalette::Base));
    const QPixmap check = focused ? RevCheckBmp() : CheckBmp();
    if (selected)
        painter->drawPixmap(r.topLeft(), check);
    // Text keeps its place whether or not the mark is shown.
    const int textLeft = r.left() + check.width() + 5;
    painter->setPen(focused ? QColor(Qt::white) : QColor(Qt::black));
    painter->setFont(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->drawText(QRect(textLeft, r.top(), r.right() - textLeft + 1, r.height()),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

QSize TRecurringCheckDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    return {16 + 5 + option.fontMetrics.horizontalAdvance(text), kRecurringRowHeight};
}

void TRecurringRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      RecurringEntryText(index.data(kRecurringEntryRole).toString()));
    painter->restore();
}

QSize TRecurringRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = RecurringEntryText(index.data(kRecurringEntryRole).toString());
    return {option.fontMetrics.horizontalAdvance(text), kRecurringRowHeight};
}

void setUpRecurringList(QListWidget* list, QStyledItemDelegate* delegate, QAbstractItemView::SelectionMode mode)
{
    delegate->setParent(list);
    list->setItemDelegate(delegate);
    list->setSelectionMode(mode);
    list->setUniformItemSizes(true);
    list->setSortingEnabled(false); // sorted lists insert at their place themselves
}

void fitListDialog(QDialog* dialog, QListWidget* list)
{
    EnsureCaptionFits(dialog);
    const int rows = list->sizeHintForColumn(0);
    const int scrollBar = list->verticalScrollBar()->sizeHint().width();
    const int needed = rows + 2 * list->frameWidth() + scrollBar + 4;
    int width = std::max(dialog->width(), dialog->minimumWidth());
    if (list->width() < needed)
        width += needed - list->width();
    if (const QScreen* screen = dialog->screen())
        width = std::min(width, screen->availableGeometry().width());
    if (width != dialog->width())
        dialog->resize(width, dialog->height());
}
