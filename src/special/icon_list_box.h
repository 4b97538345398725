#pragma once
// The icons of one file as a grid of cells, columns flowing left to right, from which
// icons are dragged into day cells.
#include "imaging/icon_library.h"

#include <QImage>
#include <QListWidget>
#include <functional>
#include <optional>
#include <vector>

class QDrag;
class QMimeData;

class TIconListBox : public QListWidget {
    Q_OBJECT
public:
    // The size every icon is shown and dropped at: the system's large icon.
    static constexpr int SystemIconWidth = 32;
    static constexpr int SystemIconHeight = 32;
    // What a dragged icon carries: its picture as a PNG file (transparency kept).
    static inline const QString IconMimeType = QStringLiteral("application/x-orvanta-icon");

    explicit TIconListBox(QWidget* parent = nullptr);

    QString Version() const { return QStringLiteral("TIconListBox v1.10"); }

    const QString& FileName() const { return m_fileName; }
    // A name other than the current one (exact comparison) is loaded, then FileChange
    // is raised; the same name again does nothing.
    void SetFileName(const QString& fileName);

    bool AutoDisable() const { return m_autoDisable; }
    void SetAutoDisable(bool value);
    bool EnableCaching() const { return m_enableCaching; }
    // Switching caching off loads the file again, extracting every icon at once.
    void SetEnableCaching(bool value);

    // Icons in the file; -1 while no existing file is loaded.
    int NumberOfIcons() const { return m_numberOfIcons; }
    // Why an existing file gave no icons (damaged, not a file with icons), fit for the
    // user; empty otherwise.
    const QString& LoadError() const { return m_loadError; }

    int XIcons() const { return m_xIcons; }
    void SetXIcons(int value); // values below 1 are ignored
    int YIcons() const { return m_yIcons; }
    void SetYIcons(int value);

    int ItemHeight() const { return SystemIconHeight + 6; }
    int ColumnWidth() const { return SystemIconWidth + 6; }
    // The width of one column as laid out now (the control's width shared by XIcons).
    int ShownColumnWidth() const;

    // The icon of item `index`, extracted on first use when caching is on; a null image
    // for an index out of range or an icon that cannot be shown.
    QImage GetIcon(int index);
    // How many icons have been extracted since the file was loaded.
    int ExtractedCount() const { return m_extractedCount; }

    // The drag data of icon `index` (null when it has no picture); the caller owns it.
    QMimeData* IconDragData(int index);

    // Runs a drag that has begun: the window system's drag loop unless another one is
    // set (tests deliver the drag's events themselves where there is no window system).
    // An empty one restores the default; returns the previous one.
    using DragLoop = std::function<Qt::DropAction(QDrag&)>;
    static DragLoop SetDragLoop(DragLoop loop);

signals:
    void FileChange();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadFile();
    void UpdateEnabled();
    void SizeControl();
    void UpdateColumns();
    QImage ExtractIcon(int index) const;

    QString m_fileName;
    bool m_autoDisable = true;
    bool m_enableCaching = true;
    int m_numberOfIcons = -1;
    int m_xIcons = 0;
    int m_yIcons = 0;
    int m_extractedCount = 0;
    QString m_loadError;
    std::optional<IconLibrary> m_library;
    std::vector<std::optional<QImage>> m_icons; // one per item; empty until extracted
};
