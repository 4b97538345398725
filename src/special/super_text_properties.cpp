#include "super_text_properties.h"

#include "platform/help_contexts.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "special/super_text.h"
#include "special/super_text_symbol.h"
#include "special/super_text_texture_browser.h"
#include "widgets/color_button.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_help.h"
#include "widgets/spin_button.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
QPushButton* dialogButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QFrame* panel(const QString& name, QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    return f;
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}
} // namespace

QImage TSuperTextProperties::BuiltInTexture()
{
    // Rippled gold: bands bent by a wave, in a palette of 256 warm shades.
    QImage image(120, 84, QImage::Format_Indexed8);
    QVector<QRgb> palette(256);
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        palette[i] = qRgb(int(120 + 135 * t), int(70 + 150 * t), int(10 + 60 * t * t));
    }
    image.setColorTable(palette);
    constexpr double twoPi = 6.283185307179586;
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const double wave = std::sin(twoPi * (2.0 * x / 120.0 + 0.6 * std::sin(twoPi * y / 84.0)));
            const double ripple = 0.25 * std::sin(twoPi * (3.0 * y / 84.0 + x / 120.0));
            line[x] = uchar(std::clamp(int((wave + ripple + 1.25) / 2.5 * 255.0), 0, 255));
        }
    }
    return image;
}

TSuperTextProperties::TSuperTextProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SuperTextProperties"));
    setWindowTitle(QStringLiteral("SuperText Properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    LastUsedImage = TPicture::fromImage(BuiltInTexture());

    CaptionText = new QLineEdit(this);
    CaptionText->setObjectName(QStringLiteral("CaptionText"));
    connect(CaptionText, &QLineEdit::textChanged, this, [this](const QString& text) {
        edit([&](TGSuperText& p) { p.SetCaption(text); });
        m_captionChanged = true;
    });

    // The preview sits at the corner of a white, framed panel.
    auto* previewPanel = new QFrame(this);
    previewPanel->setObjectName(QStringLiteral("PreviewPanel"));
    previewPanel->setFrameShape(QFrame::Box);
    previewPanel->setFixedSize(554, 190);
    QPalette white = previewPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    previewPanel->setPalette(white);
    previewPanel->setAutoFillBackground(true);
    Preview = new TGSuperText(previewPanel);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->move(0, 0);

    auto* outer = new QVBoxLayout(this);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(caption(QStringLiteral("Text"), CaptionText, this));
    textRow->addWidget(CaptionText, 1);
    outer->addLayout(textRow);
    outer->addWidget(previewPanel, 0, Qt::AlignHCenter);
    auto* groups = new QHBoxLayout;
    groups->addWidget(buildSurface());
    groups->addWidget(buildShadow());
    groups->addWidget(buildOutline());
    groups->addWidget(buildFont());
    outer->addLayout(groups);

    const DialogButtons buttons = createDialogButtons(this, true, {QStringLiteral("OKButton"), QStringLiteral("Cancelbutton"), QStringLiteral("Helpbutton")});
    OKButton = buttons.ok;
    Cancelbutton = buttons.cancel;
    Helpbutton = buttons.help;
    outer->addLayout(buttons.row);
    connect(OKButton, &QPushButton::clicked, this, &TSuperTextProperties::OKButtonClick);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &TSuperTextProperties::Timer1Timer);

    attachHelp(this, HelpContexts::SuperTextProperties, Helpbutton);
    CenterForm(this);
}

void TSuperTextProperties::edit(const std::function<void(TGSuperText&)>& change)
{
    if (!m_loading)
        change(*Preview);
}

// --- Groups --------------------------------------------------------------------------------

TColorButton* TSuperTextProperties::colorButton(const QString& text, const QString& name, QWidget* parent,
                                                std::function<void(TGSuperText&, TColor)> apply)
{
    auto* b = new TColorButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &TColorButton::colorChanged, this,
            [this, apply = std::move(apply)](TColor c) { edit([&](TGSuperText& p) { apply(p, c); }); });
    return b;
}

QComboBox* TSuperTextProperties::combo(const QString& name, const QStringList& items, QWidget* parent,
                                       std::function<void(TGSuperText&, int)> apply)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    if (apply)
        connect(c, &QComboBox::currentIndexChanged, this, [this, apply = std::move(apply)](int i) {
            if (i >= 0)
                edit([&](TGSuperText& p) { apply(p, i); });
        });
    return c;
}

QSpinBox* TSuperTextProperties::spinner(const QString& name, QWidget* parent,
                                        std::function<void(TGSuperText&, int)> apply)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(0, 10);
    connect(s, &QSpinBox::valueChanged, this,
            [this, apply = std::move(apply)](int v) { edit([&](TGSuperText& p) { apply(p, v); }); });
    return s;
}

QWidget* TSuperTextProperties::buildSurface()
{
    auto* box = new QGroupBox(QStringLiteral("Surface"), this);
    auto* column = new QVBoxLayout(box);
    SurfaceTypeCombo = combo(QStringLiteral("SurfaceTypeCombo"),
                             {QStringLiteral("Normal"), QStringLiteral("Transparent"), QStringLiteral("Texture"),
                              QStringLiteral("Gradient Fill")},
                             box, {});
    connect(SurfaceTypeCombo, &QComboBox::currentIndexChanged, this, &TSuperTextProperties::SurfaceTypeComboChange);
    column->addWidget(caption(QStringLiteral("Surface Type"), SurfaceTypeCombo, box));
    column->addWidget(SurfaceTypeCombo);

    // Three panels in one place; the surface type shows at most one.
    FillPanel = panel(QStringLiteral("FillPanel"), box);
    auto* fill = new QGridLayout(FillPanel);
    fill->setContentsMargins(0, 0, 0, 0);
    FillDirectionCombo = combo(QStringLiteral("FillDirectionCombo"),
                               {QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("Left"),
                                QStringLiteral("Right")},
                               FillPanel, [](TGSuperText& p, int i) { p.SetFillDirection(TFillDirection(i)); });
    GradientFromcolorButton = colorButton({}, QStringLiteral("GradientFromcolorButton"), FillPanel,
                                          [](TGSuperText& p, TColor c) { p.SetGradientFromColor(c); });
    GradientToColorButton = colorButton({}, QStringLiteral("GradientToColorButton"), FillPanel,
                                        [](TGSuperText& p, TColor c) { p.SetGradientToColor(c); });
    fill->addWidget(caption(QStringLiteral("Fill Direction"), FillDirectionCombo, FillPanel), 0, 0, 1, 2);
    fill->addWidget(FillDirectionCombo, 1, 0, 1, 2);
    fill->addWidget(caption(QStringLiteral("From Color"), GradientFromcolorButton, FillPanel), 2, 0);
    fill->addWidget(caption(QStringLiteral("To Color"), GradientToColorButton, FillPanel), 2, 1);
    fill->addWidget(GradientFromcolorButton, 3, 0);
    fill->addWidget(GradientToColorButton, 3, 1);

    ImagePanel = panel(QStringLiteral("ImagePanel"), box);
    auto* image = new QVBoxLayout(ImagePanel);
    image->setContentsMargins(0, 0, 0, 0);
    LoadImageButton = dialogButton(QStringLiteral("Load Texture"), QStringLiteral("LoadImageButton"), ImagePanel);
    connect(LoadImageButton, &QPushButton::clicked, this, &TSuperTextProperties::LoadImageButtonClick);
    image->addWidget(LoadImageButton);
    image->addStretch(1);

    FontcolorPanel = panel(QStringLiteral("FontcolorPanel"), box);
    auto* fontColor = new QVBoxLayout(FontcolorPanel);
    fontColor->setContentsMargins(0, 0, 0, 0);
    FontColorButton = colorButton({}, QStringLiteral("FontColorButton"), FontcolorPanel,
                                  [](TGSuperText& p, TColor c) { p.SetFontColor(c); });
    fontColor->addWidget(caption(QStringLiteral("Font Color"), FontColorButton, FontcolorPanel));
    fontColor->addWidget(FontColorButton);
    fontColor->addStretch(1);

    for (QFrame* f : {FillPanel, ImagePanel, FontcolorPanel})
        column->addWidget(f);
    column->addStretch(1);
    return box;
}

// A group of a colour button, a list and a 0 to 10 spinner, each under its caption.
QWidget* TSuperTextProperties::effectGroup(const QString& title, QWidget* button, const QString& listCaption,
                                           QComboBox* list, const QString& spinnerCaption, QSpinBox* spin)
{
    auto* box = new QGroupBox(title, this);
    auto* column = new QVBoxLayout(box);
    column->addWidget(button);
    column->addWidget(caption(listCaption, list, box));
    column->addWidget(list);
    column->addWidget(caption(spinnerCaption, spin, box));
    column->addWidget(spin);
    column->addStretch(1);
    return box;
}

QWidget* TSuperTextProperties::buildShadow()
{
    ShadowColorButton = colorButton(QStringLiteral("Shadow Color"), QStringLiteral("ShadowColorButton"), this,
                                    [](TGSuperText& p, TColor c) { p.SetShadowcolor(c); });
    ShadowOrientationCombo = combo(QStringLiteral("ShadowOrientationCombo"),
                                   {QStringLiteral("None"), QStringLiteral("Right"), QStringLiteral("Left"),
                                    QStringLiteral("Down and Right"), QStringLiteral("Down and Left"),
                                    QStringLiteral("Down")},
                                   this,
                                   [](TGSuperText& p, int i) { p.SetShadowOrientation(TShadowOrientation(i)); });
    ShadowDepthSpinner = spinner(QStringLiteral("ShadowDepthSpinner"), this,
                                 [](TGSuperText& p, int d) { p.SetShadowDepth(d); });
    return effectGroup(QStringLiteral("Shadow"), ShadowColorButton, QStringLiteral("Shadow Orientation"),
                       ShadowOrientationCombo, QStringLiteral("Shadow Depth"), ShadowDepthSpinner);
}

QWidget* TSuperTextProperties::buildOutline()
{
    OutlineColorButton = colorButton(QStringLiteral("Outline Color"), QStringLiteral("OutlineColorButton"), this,
                                     [](TGSuperText& p, TColor c) { p.SetOutlineColor(c); });
    OutlineStyleCombo = combo(QStringLiteral("OutlineStyleCombo"),
                              {QStringLiteral("Solid Line"), QStringLiteral("Dash Line"), QStringLiteral("Dotted Line"),
                               QStringLiteral("DashDot Line"), QStringLiteral("DashDotDot Line"),
                               QStringLiteral("Clear")},
                              this, [](TGSuperText& p, int i) { p.SetOutlineStyle(TPenStyle(i)); });
    OutLineWidthSpinner = spinner(QStringLiteral("OutLineWidthSpinner"), this,
                                  [](TGSuperText& p, int w) { p.SetOutlineWidth(w); });
    return effectGroup(QStringLiteral("Outline"), OutlineColorButton, QStringLiteral("OutLine Style"),
                       OutlineStyleCombo, QStringLiteral("Outline Width"), OutLineWidthSpinner);
}

QWidget* TSuperTextProperties::buildFont()
{
    auto* box = new QGroupBox(QStringLiteral("Font"), this);
    auto* column = new QVBoxLayout(box);
    auto* fontRow = new QHBoxLayout;
    Fontbutton = dialogButton(QStringLiteral("Select Font"), QStringLiteral("Fontbutton"), box);
    connect(Fontbutton, &QPushButton::clicked, this, &TSuperTextProperties::FontbuttonClick);
    RapidChangeFontSize = new TSpinButton(box);
    RapidChangeFontSize->setObjectName(QStringLiteral("RapidChangeFontSize"));
    RapidChangeFontSize->setUpHint(QStringLiteral("Larger"));
    RapidChangeFontSize->setDownHint(QStringLiteral("Smaller"));
    connect(RapidChangeFontSize, &TSpinButton::upClick, this, &TSuperTextProperties::RapidChangeFontSizeUpClick);
    connect(RapidChangeFontSize, &TSpinButton::downClick, this, &TSuperTextProperties::RapidChangeFontSizeDownClick);
    fontRow->addWidget(Fontbutton, 1);
    fontRow->addWidget(RapidChangeFontSize);
    SelectSymbolbutton = dialogButton(QStringLiteral("Select Symbol"), QStringLiteral("SelectSymbolbutton"), box);
    connect(SelectSymbolbutton, &QPushButton::clicked, this, &TSuperTextProperties::SelectSymbolbuttonClick);
    column->addLayout(fontRow);
    column->addWidget(SelectSymbolbutton);
    column->addStretch(1);
    return box;
}

// --- Activation ----------------------------------------------------------------------------

void TSuperTextProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TSuperTextProperties::FormActivate()
{
    m_loading = true;
    const TGSuperText& p = *Preview;
    SurfaceTypeCombo->setCurrentIndex(int(p.SurfaceType()));
    FillDirectionCombo->setCurrentIndex(int(p.FillDirection()));
    GradientFromcolorButton->setColor(p.GradientFromColor());
    GradientToColorButton->setColor(p.GradientToColor());
    FontColorButton->setColor(p.Font().Color);
    OutlineColorButton->setColor(p.OutlineColor());
    OutlineStyleCombo->setCurrentIndex(std::min(int(p.OutlineStyle()), int(TPenStyle::psClear)));
    OutLineWidthSpinner->setValue(p.OutlineWidth());
    ShadowColorButton->setColor(p.Shadowcolor());
    ShadowOrientationCombo->setCurrentIndex(int(p.ShadowOrientation()));
    ShadowDepthSpinner->setValue(p.ShadowDepth());
    showPanels();
    if (p.Image().width() > 0)
        LastUsedImage = p.Image();
    CaptionText->setText(p.Caption());
    followPreviewFont();
    m_captionChanged = false;
    m_loading = false;
    Timer1->start();
}

void TSuperTextProperties::showPanels()
{
    const auto type = TSurfaceType(SurfaceTypeCombo->currentIndex());
    FillPanel->setVisible(type == TSurfaceType::stGradientFill);
    ImagePanel->setVisible(type == TSurfaceType::stBrushImage);
    FontcolorPanel->setVisible(type == TSurfaceType::stNormal);
}

void TSuperTextProperties::followPreviewFont()
{
    // Symbol characters show as symbols while typing.
    QFont f = CaptionText->font();
    f.setFamily(Preview->Font().Name);
    CaptionText->setFont(f);
}

// --- Changes -------------------------------------------------------------------------------

void TSuperTextProperties::Timer1Timer()
{
    Timer1->stop();
    if (m_captionChanged) {
        Preview->FitToText();
        ++PreviewRefits;
        m_captionChanged = false;
    }
    Timer1->start();
}

void TSuperTextProperties::SurfaceTypeComboChange(int index)
{
    if (index < 0 || m_loading)
        return;
    const auto type = TSurfaceType(index);
    Preview->SetSurfaceType(type);
    if (type == TSurfaceType::stBrushImage)
        Preview->SetImage(LastUsedImage);
    Preview->update();
    Preview->FitToText();
    showPanels();
}

void TSuperTextProperties::LoadImageButtonClick()
{
    const QString folder = QDir::currentPath();
    {
        TSuperTextBrushImageBrowser browser(TexturePath, this);
        browser.SuperTextExample->AssignSuperText(*Preview);
        if (prompter().execDialog(browser) == QDialog::Accepted && browser.HasChosenTexture()) {
            Preview->SetImage(browser.SuperTextExample->Image());
            LastUsedImage = Preview->Image();
            TexturePath = browser.ChosenFileName();
        }
    }
    QDir::setCurrent(folder);
    Preview->FitToText();
    Preview->update();
}

void TSuperTextProperties::SelectSymbolbuttonClick()
{
    TSuperTextGetSymbol selector(this);
    if (selector.Prepare() && prompter().execDialog(selector) == QDialog::Accepted) {
        CaptionText->setText(selector.SymbolText());
        TObjectFont f = Preview->Font();
        f.Name = selector.SymbolFontName();
        Preview->SetFont(f);
        Preview->FitToText();
        Preview->update();
        followPreviewFont();
    }
}

void TSuperTextProperties::FontbuttonClick()
{
    if (const auto chosen = ChooseObjectFont(Preview->Font(), TGGraphicControl::ppi(), QStringLiteral("Font"))) {
        Preview->SetFont(*chosen);
        Preview->FitToText();
        followPreviewFont();
    }
}

void TSuperTextProperties::changeFontSize(int step)
{
    TObjectFont f = Preview->Font();
    f.SetSize(f.Size(TGGraphicControl::ppi()) + step, TGGraphicControl::ppi());
    Preview->SetFont(f);
    Preview->FitToText();
}

void TSuperTextProperties::RapidChangeFontSizeUpClick()
{
    if (Preview->Font().Size(TGGraphicControl::ppi()) < 150)
        changeFontSize(5);
}

void TSuperTextProperties::RapidChangeFontSizeDownClick()
{
    if (Preview->Font().Size(TGGraphicControl::ppi()) > 10)
        changeFontSize(-5);
}

void TSuperTextProperties::OKButtonClick()
{
    if (CaptionText->text().isEmpty()) {
        prompter().information(QStringLiteral("Please enter some text"), QStringLiteral("Information"));
        CaptionText->setFocus();
        return;
    }
    accept();
}
