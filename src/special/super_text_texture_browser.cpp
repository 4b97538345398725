#include "super_text_texture_browser.h"

#include "imaging/picture_error.h"
#include "imaging/picture_loader.h"
#include "platform/help_contexts.h"
#include "platform/path_ignoring_case.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "special/super_text.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_help.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
// An icon is shown at its own size on white.
QImage iconOnWhite(const TPicture& icon)
{
    const QImage& face = icon.image();
    QImage out(face.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, face);
    return out;
}
} // namespace

QStringList TSuperTextBrushImageBrowser::FileMask()
{
    return {QStringLiteral("*.BMP"), QStringLiteral("*.DIB"), QStringLiteral("*.JPG"), QStringLiteral("*.JIF"),
            QStringLiteral("*.PCX"), QStringLiteral("*.RLE"), QStringLiteral("*.TGA"), QStringLiteral("*.ICO")};
}

TSuperTextBrushImageBrowser::TSuperTextBrushImageBrowser(const QString& texturePath, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SuperTextBrushImageBrowser"));
    setWindowTitle(QStringLiteral("Load Texture Image"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    DriveList = new QComboBox(this);
    DriveList->setObjectName(QStringLiteral("DriveList"));
    for (const QFileInfo& drive : QDir::drives())
        DriveList->addItem(drive.absoluteFilePath());
    FolderLabel = new QLabel(this);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    DirectoryList = new QListWidget(this);
    DirectoryList->setObjectName(QStringLiteral("DirectoryList"));
    FileList = new QListWidget(this);
    FileList->setObjectName(QStringLiteral("FileList"));
    FileList->setMinimumWidth(190);
    DirectoryList->setMinimumWidth(190);

    // The sample sits on white, in a box that scrolls when it is larger.
    auto* sampleBack = new QWidget;
    sampleBack->setObjectName(QStringLiteral("SampleBack"));
    QPalette white = sampleBack->palette();
    white.setColor(QPalette::Window, Qt::white);
    sampleBack->setPalette(white);
    sampleBack->setAutoFillBackground(true);
    SuperTextExample = new TGSuperText(sampleBack);
    SuperTextExample->setObjectName(QStringLiteral("SuperTextExample"));
    auto* exampleBox = new QScrollArea(this);
    exampleBox->setObjectName(QStringLiteral("ExampleBox"));
    exampleBox->setWidget(sampleBack);
    exampleBox->setMinimumSize(440, 180);
    exampleBox->viewport()->setPalette(white);
    exampleBox->viewport()->setAutoFillBackground(true);
    // The box's content follows the sample's size.
    SuperTextExample->installEventFilter(this);

    const DialogButtons buttons = createDialogButtons(this, true, {QStringLiteral("OKButton"), QStringLiteral("CancelButton"), QStringLiteral("HelpButton")});
    OKButton = buttons.ok;
    CancelButton = buttons.cancel;

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Drive"), this), 0, 0);
    grid->addWidget(DriveList, 1, 0);
    grid->addWidget(FolderLabel, 2, 0);
    grid->addWidget(DirectoryList, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Files"), this), 0, 1);
    grid->addWidget(FileList, 1, 1, 3, 1);
    grid->addWidget(exampleBox, 0, 2, 4, 1);
    grid->setColumnStretch(2, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid, 1);
    outer->addLayout(buttons.row);

    connect(DriveList, &QComboBox::activated, this, [this](int i) { OpenFolder(DriveList->itemText(i)); });
    connect(DirectoryList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        OpenFolder(QDir(m_folder).absoluteFilePath(item->text()));
    });
    connect(FileList, &QListWidget::itemClicked, this, &TSuperTextBrushImageBrowser::fileClicked);
    connect(FileList, &QListWidget::currentRowChanged, this, &TSuperTextBrushImageBrowser::fileClicked);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    attachHelp(this, HelpContexts::LoadTextureImage, buttons.help);

    const QFileInfo texture(texturePath);
    if (!texturePath.isEmpty() && texture.isFile()) {
        // Shown selected; the sample keeps the caller's texture until a file is clicked.
        OpenFolder(texture.absolutePath());
        FileList->blockSignals(true);
        SelectFile(texture.fileName());
        FileList->blockSignals(false);
    } else {
        QString start = ProgramFolder();
        for (const char* name : {"bmbrush", "Textures"}) {
            const QString folder = ProgramFile(QString::fromLatin1(name));
            if (QFileInfo(folder).isDir()) {
                start = folder;
                break;
            }
        }
        OpenFolder(start);
    }
    CenterForm(this);
}

bool TSuperTextBrushImageBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SuperTextExample && event->type() == QEvent::Resize)
        SuperTextExample->parentWidget()->resize(SuperTextExample->size());
    return QDialog::eventFilter(watched, event);
}

void TSuperTextBrushImageBrowser::OpenFolder(const QString& folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return;
    m_folder = dir.absolutePath();
    QDir::setCurrent(m_folder);
    FolderLabel->setText(QDir::toNativeSeparators(m_folder));
    DirectoryList->clear();
    if (!dir.isRoot())
        DirectoryList->addItem(QStringLiteral(".."));
    DirectoryList->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    FileList->blockSignals(true);
    FileList->clear();
    // The mask matches without regard to case, as on the file systems it came from.
    dir.setNameFilters(FileMask());
    FileList->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    FileList->blockSignals(false);
}

void TSuperTextBrushImageBrowser::SelectFile(const QString& fileName)
{
    const QList<QListWidgetItem*> found = FileList->findItems(fileName, Qt::MatchFixedString);
    if (found.isEmpty())
        return;
    FileList->setCurrentItem(found.first());
}

void TSuperTextBrushImageBrowser::fileClicked()
{
    const QListWidgetItem* item = FileList->currentItem();
    if (!item)
        return;
    loadTexture(QDir(m_folder).absoluteFilePath(item->text()));
    SuperTextExample->update();
    FileList->setFocus();
}

void TSuperTextBrushImageBrowser::loadTexture(const QString& path)
{
    if (path == m_chosen)
        return;
    const QString ext = QFileInfo(path).suffix().toUpper();
    try {
        const TPicture picture = LoadPictureFromFile(path);
        if (ext == QLatin1String("ICO") && picture.kind() == TPicture::Kind::Icon)
            SuperTextExample->SetImage(TPicture::fromImage(iconOnWhite(picture)));
        else if (picture.isBitmap())
            SuperTextExample->SetImage(picture);
        else
            SuperTextExample->SetImage(TPicture::fromImage(picture.toImage({}, Qt::white)));
        m_chosen = path;
    } catch (const EPictureError&) {
        // The texture shown before stays, and so does the file it came from.
        prompter().error(QStringLiteral("Error loading file!"), QStringLiteral("Error"));
    }
}
