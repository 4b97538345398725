#pragma once
#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class TGSuperText;

// "Load Texture Image": a folder browser whose picture files fill a sample SuperText
// the moment one is clicked. Ok hands the sample's texture to the caller.
class TSuperTextBrushImageBrowser : public QDialog {
    Q_OBJECT
public:
    // Opens on `texturePath` when it names an existing file, else on the first folder
    // of "bmbrush", "Textures" and the program folder that exists.
    explicit TSuperTextBrushImageBrowser(const QString& texturePath, QWidget* parent = nullptr);

    QComboBox* DriveList = nullptr;
    QListWidget* DirectoryList = nullptr;
    QListWidget* FileList = nullptr;
    QLabel* FolderLabel = nullptr;
    TGSuperText* SuperTextExample = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The file-name patterns the file list shows.
    static QStringList FileMask();

    QString Folder() const { return m_folder; }
    void OpenFolder(const QString& folder);
    // Selects a file of the open folder and loads it into the sample, as a click does.
    void SelectFile(const QString& fileName);
    // Whether a texture has been loaded from a file, and that file's full name.
    bool HasChosenTexture() const { return !m_chosen.isEmpty(); }
    QString ChosenFileName() const { return m_chosen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fileClicked();
    void loadTexture(const QString& path);

    QString m_folder;
    QString m_chosen;
};
