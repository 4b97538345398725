#pragma once
#include <QDialog>
#include <QListWidget>
#include <QPixmap>
#include <QStyledItemDelegate>

// The list boxes of the recurring-date dialogs keep the raw entry line of each row in
// this role; rows show RecurringEntryText of it.
inline constexpr int kRecurringEntryRole = Qt::UserRole + 1;

QListWidgetItem* makeRecurringItem(const QString& entry);
QString recurringEntryOf(const QListWidgetItem* item);
QStringList recurringEntriesOf(const QListWidget* list);
// Rows in list order whose item is selected.
QStringList selectedRecurringEntries(const QListWidget* list);

// Order of the sorted lists: whole line, without regard to case; equal lines keep the
// order in which they came.
bool recurringEntryLess(const QString& a, const QString& b);
// Inserts at the sorted place (after equal entries); returns the row.
int insertRecurringSorted(QListWidget* list, const QString& entry);

inline constexpr int kRecurringRowHeight = 16;

// The 16 x 16 check marks of the picker rows: black on transparent, and the inverted
// variant (white) for the focused row.
QPixmap CheckBmp();
QPixmap RevCheckBmp();

// Picker rows: focused row white on black, the others black on the window colour;
// selected rows carry the check mark, the item's text follows 5 pixels after it.
class TRecurringCheckDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Editor rows: the row is cleared and the text written at its left and top.
class TRecurringRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Widens a list dialog, up to the screen's width, so that its caption and the widest
// row of its list show whole. Called when the dialog is shown, after its rows came.
void fitListDialog(QDialog* dialog, QListWidget* list);

// A list box with 16-pixel rows drawn by one of the delegates above.
void setUpRecurringList(QListWidget* list, QStyledItemDelegate* delegate, QAbstractItemView::SelectionMode mode);
