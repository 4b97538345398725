#pragma once
#include "imaging/picture.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QScrollArea;
class TSmartImage;

// "Load Image File ": a folder and its picture files, a live preview of the file
// clicked, and the "Stretch" and "AutoSize" choices the image object takes on Ok. Every
// file is read by its content; a file that cannot be read leaves the preview empty.
class TGImageBrowser : public QDialog {
    Q_OBJECT
public:
    TGImageBrowser(bool stretch, bool autoSize, QWidget* parent = nullptr);

    // The folder shown; starts where the last browser was left, at first "ClipArt" in
    // the program folder.
    void SetFolder(const QString& folder);
    QString Folder() const { return m_folder; }
    // Selects a file of the folder shown by its name (no folder) and previews it.
    bool SelectFile(const QString& name);
    // The file selected (full path), empty when none.
    QString FileName() const { return m_fileName; }
    // The picture of the file selected; empty when none was or it could not be read.
    // Icons come as bitmaps, so they can be flipped and reversed.
    const TPicture& PreviewPicture() const;
    bool StretchChecked() const;
    bool AutoSizeChecked() const;

    // The file mask: every extension the picture loader reads, upper-case ("*.BMP").
    static QStringList FileMask();

    QComboBox* PlacesList = nullptr;
    QLineEdit* FolderPath = nullptr;
    QListWidget* DirectoryList = nullptr;
    QListWidget* FileList = nullptr;
    QScrollArea* PreviewBox = nullptr;
    TSmartImage* Preview = nullptr;
    QLabel* PreviewNote = nullptr;
    QCheckBox* StretchCheck = nullptr;
    QCheckBox* AutoSizeCheck = nullptr;

private:
    void fillPlaces();
    void fillLists();
    void loadPreview(const QString& path);
    void StretchCheckClick();
    void AutoSizeCheckClick();
    void fitPreview();
    void directoryActivated(QListWidgetItem* item);

    QString m_folder;
    QString m_fileName;
};
