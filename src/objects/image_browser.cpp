#include "image_browser.h"

#include "imaging/picture_error.h"
#include "imaging/picture_format.h"
#include "imaging/picture_loader.h"
#include "objects/smart_image.h"
#include "platform/help_contexts.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace {
// Where the next browser opens: where the last one was left.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

// The file read by its content; an icon is drawn onto a white bitmap of its size, so
// that it can be flipped and reversed like any bitmap.
TPicture LoadPictureForPreview(const QString& path)
{
    const TPicture picture = LoadPictureFromFile(path);
    if (picture.kind() == TPicture::Kind::Icon)
        return TPicture::fromImage(picture.toImage({}, Qt::white).convertToFormat(QImage::Format_RGB32));
    return picture;
}

QString clipArtFolder() { return ProgramFolder() + QStringLiteral("ClipArt"); }

} // namespace

QStringList TGImageBrowser::FileMask()
{
    QStringList mask;
    for (const QString& ext : PictureFileExtensions())
        mask << QStringLiteral("*.") + ext;
    return mask;
}

TGImageBrowser::TGImageBrowser(bool stretch, bool autoSize, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GImageBrowser"));
    setWindowTitle(QStringLiteral("Load Image File "));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    unsetCursor();

    PlacesList = new QComboBox(this);
    PlacesList->setObjectName(QStringLiteral("PlacesList"));
    FolderPath = new QLineEdit(this);
    FolderPath->setObjectName(QStringLiteral("FolderPath"));
    DirectoryList = new QListWidget(this);
    DirectoryList->setObjectName(QStringLiteral("DirectoryList"));
    FileList = new QListWidget(this);
    FileList->setObjectName(QStringLiteral("FileList"));
    auto* maskLabel = new QLabel(FileMask().join(QLatin1Char(';')), this);
    maskLabel->setObjectName(QStringLiteral("FileMaskLabel"));
    maskLabel->setWordWrap(true);

    auto* lists = new QVBoxLayout;
    lists->addWidget(new QLabel(QStringLiteral("Look in:"), this));
    lists->addWidget(PlacesList);
    lists->addWidget(FolderPath);
    auto* both = new QHBoxLayout;
    auto* dirs = new QVBoxLayout;
    dirs->addWidget(new QLabel(QStringLiteral("Folders:"), this));
    dirs->addWidget(DirectoryList);
    auto* files = new QVBoxLayout;
    files->addWidget(new QLabel(QStringLiteral("Files:"), this));
    files->addWidget(FileList);
    both->addLayout(dirs);
    both->addLayout(files);
    lists->addLayout(both, 1);
    lists->addWidget(maskLabel);

    Preview = new TSmartImage;
    Preview->setObjectName(QStringLiteral("Preview"));
    // The preview shows the picture as the object will: stretched, proportions not kept.
    Preview->SetMaintainAspect(false);
    PreviewBox = new QScrollArea(this);
    PreviewBox->setObjectName(QStringLiteral("PreviewBox"));
    PreviewBox->setWidget(Preview);
    PreviewBox->setMinimumSize(260, 260);
    PreviewBox->setBackgroundRole(QPalette::Base);
    PreviewNote = new QLabel(this);
    PreviewNote->setObjectName(QStringLiteral("PreviewNote"));
    PreviewNote->setWordWrap(true);

    auto* options = new QGroupBox(QStringLiteral(" Options "), this);
    options->setObjectName(QStringLiteral("Options"));
    StretchCheck = new QCheckBox(QStringLiteral("Stretch"), options);
    StretchCheck->setObjectName(QStringLiteral("StretchCheck"));
    StretchCheck->setToolTip(QStringLiteral("Stretch image to max display size"));
    AutoSizeCheck = new QCheckBox(QStringLiteral("AutoSize"), options);
    AutoSizeCheck->setObjectName(QStringLiteral("AutoSizeCheck"));
    AutoSizeCheck->setToolTip(QStringLiteral("AutoSize TImage"));
    auto* optionsLayout = new QHBoxLayout(options);
    optionsLayout->addWidget(StretchCheck);
    optionsLayout->addWidget(AutoSizeCheck);

    auto* right = new QVBoxLayout;
    right->addWidget(PreviewBox, 1);
    right->addWidget(PreviewNote);
    right->addWidget(options);

    auto* top = new QHBoxLayout;
    top->addLayout(lists, 1);
    top->addLayout(right, 1);

    const DialogButtons buttons = createDialogButtons(this);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(buttons.row);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    connect(StretchCheck, &QCheckBox::clicked, this, &TGImageBrowser::StretchCheckClick);
    connect(AutoSizeCheck, &QCheckBox::clicked, this, &TGImageBrowser::AutoSizeCheckClick);
    connect(PlacesList, &QComboBox::activated, this, [this](int i) { SetFolder(PlacesList->itemData(i).toString()); });
    connect(FolderPath, &QLineEdit::returnPressed, this, [this] { SetFolder(FolderPath->text()); });
    connect(DirectoryList, &QListWidget::itemActivated, this, &TGImageBrowser::directoryActivated);
    connect(FileList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            loadPreview(QDir(m_folder).filePath(item->text()));
    });
    connect(FileList, &QListWidget::itemActivated, this, [this] {
        if (!m_fileName.isEmpty())
            accept();
    });

    StretchCheck->setChecked(stretch);
    AutoSizeCheck->setChecked(autoSize);
    Preview->SetStretch(stretch);
    Preview->SetAutoSize(autoSize);
    fitPreview();
    fillPlaces();
    const QString start = lastFolder().isEmpty() || !QFileInfo(lastFolder()).isDir() ? clipArtFolder() : lastFolder();
    SetFolder(start);
    attachHelp(this, HelpContexts::LoadImageFile, buttons.help);
    FileList->setFocus();
    resize(720, 460);
    CenterForm(this);
}

// --- Folders and files -----------------------------------------------------------------

void TGImageBrowser::fillPlaces()
{
    // The drives of old become the places a Linux desktop keeps pictures in.
    auto add = [this](const QString& caption, const QString& path) {
        if (!path.isEmpty() && QFileInfo(path).isDir() && PlacesList->findData(QDir(path).absolutePath()) < 0)
            PlacesList->addItem(caption, QDir(path).absolutePath());
    };
    add(QStringLiteral("Clip Art"), clipArtFolder());
    add(QStringLiteral("Home"), QDir::homePath());
    add(QStringLiteral("Pictures"), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    add(QStringLiteral("Documents"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    add(QStringLiteral("Computer"), QDir::rootPath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady()
            && (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/mnt/"))
                || root.startsWith(QLatin1String("/run/media/"))))
            add(volume.displayName(), root);
    }
}

void TGImageBrowser::SetFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        FolderPath->setText(m_folder);
        return;
    }
    m_folder = QDir(info.absoluteFilePath()).absolutePath();
    // A file of the folder left behind is no longer the choice.
    m_fileName.clear();
    Preview->ClearPicture();
    PreviewNote->clear();
    fitPreview();
    lastFolder() = m_folder;
    FolderPath->setText(QDir::toNativeSeparators(m_folder));
    const int place = PlacesList->findData(m_folder);
    if (place >= 0)
        PlacesList->setCurrentIndex(place);
    fillLists();
}

void TGImageBrowser::fillLists()
{
    const QDir dir(m_folder);
    DirectoryList->clear();
    if (!dir.isRoot())
        DirectoryList->addItem(QStringLiteral(".."));
    DirectoryList->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    FileList->blockSignals(true);
    FileList->clear();
    // The mask matches extensions in any case ("*.BMP" finds "x.bmp").
    FileList->addItems(dir.entryList(FileMask(), QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase));
    FileList->setCurrentRow(-1);
    FileList->blockSignals(false);
}

void TGImageBrowser::directoryActivated(QListWidgetItem* item)
{
    if (item)
        SetFolder(QDir(m_folder).filePath(item->text()));
}

bool TGImageBrowser::SelectFile(const QString& name)
{
    const QList<QListWidgetItem*> found = FileList->findItems(name, Qt::MatchFixedString);
    if (found.isEmpty())
        return false;
    FileList->setCurrentItem(found.first());
    return true;
}

// --- Preview ---------------------------------------------------------------------------

void TGImageBrowser::loadPreview(const QString& path)
{
    m_fileName = path;
    PreviewNote->clear();
    try {
        TPicture picture = LoadPictureForPreview(path);
        Preview->SetPicture(picture);
    } catch (const EPictureError& e) {
        Preview->ClearPicture();
        PreviewNote->setText(e.reason());
        QCoreApplication::processEvents();
        prompter().error(QStringLiteral("Error loading file!"), QStringLiteral("Error"));
    }
    fitPreview();
    QCoreApplication::processEvents();
}

const TPicture& TGImageBrowser::PreviewPicture() const { return Preview->Picture(); }

bool TGImageBrowser::StretchChecked() const { return StretchCheck->isChecked(); }

bool TGImageBrowser::AutoSizeChecked() const { return AutoSizeCheck->isChecked(); }

void TGImageBrowser::StretchCheckClick()
{
    Preview->SetStretch(StretchCheck->isChecked());
    if (StretchCheck->isChecked()) {
        AutoSizeCheck->setChecked(false);
        Preview->SetAutoSize(false);
    }
    fitPreview();
}

void TGImageBrowser::AutoSizeCheckClick()
{
    Preview->SetAutoSize(AutoSizeCheck->isChecked());
    if (AutoSizeCheck->isChecked()) {
        StretchCheck->setChecked(false);
        Preview->SetStretch(false);
    }
    fitPreview();
}

void TGImageBrowser::fitPreview()
{
    // The preview fills the box unless it takes the picture's own size.
    const bool fill = !AutoSizeCheck->isChecked() || Preview->Picture().isEmpty();
    PreviewBox->setWidgetResizable(fill);
    if (!fill)
        Preview->resize(Preview->Picture().size(Preview->logicalDpiX()).expandedTo(QSize(1, 1)));
}
