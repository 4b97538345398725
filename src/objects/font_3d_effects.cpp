#include "font_3d_effects.h"

#include "objects/p_label.h"
#include "platform/help_contexts.h"
#include "platform/shell_helpers.h"
#include "widgets/color_combo.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_help.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QStringList depths()
{
    QStringList d;
    for (int i = 0; i <= 10; ++i)
        d << QString::number(i);
    return d;
}
} // namespace

TGFont3DEffects::TGFont3DEffects(TGBaseLabel& label, QWidget* parent) : QDialog(parent), m_label(label)
{
    setObjectName(QStringLiteral("Font3DEffects"));
    setWindowTitle(QStringLiteral("Text 3D Effects"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    m_samplePanel = new QFrame(this);
    m_samplePanel->setObjectName(QStringLiteral("SamplePanel"));
    m_samplePanel->setFrameShape(QFrame::Box);
    m_samplePanel->setFixedSize(300, 110);
    QPalette white = m_samplePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_samplePanel->setPalette(white);
    m_samplePanel->setAutoFillBackground(true);
    Sample = new TGPLabel(m_samplePanel);
    Sample->setObjectName(QStringLiteral("Sample"));
    Sample->SetCaption(QStringLiteral("Text"));

    ShadowDirection = combo(QStringLiteral("ShadowDirection"),
                            {QStringLiteral("None"), QStringLiteral("Right"), QStringLiteral("Left"),
                             QStringLiteral("Lower Right"), QStringLiteral("Lower Left"), QStringLiteral("Down")});
    ShadowDepth = combo(QStringLiteral("ShadowDepth"), depths());
    ShadowColorCombo = colorCombo(QStringLiteral("ShadowColorCombo"));
    ShadowColorCombo->setMaxVisibleItems(18);
    HighlightDirection = combo(QStringLiteral("HighlightDirection"),
                               {QStringLiteral("None"), QStringLiteral("Right"), QStringLiteral("Left"),
                                QStringLiteral("Upper Right"), QStringLiteral("Upper Left"), QStringLiteral("Up")});
    HighLightDepth = combo(QStringLiteral("HighLightDepth"), depths());
    HighLightColorCombo = colorCombo(QStringLiteral("HighLightColorCombo"));
    FontColorCombo = colorCombo(QStringLiteral("FontColorCombo"));

    connect(ShadowDirection, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_loading && i >= 0)
            Sample->SetDirectionShadow(TShadowDirection(i));
    });
    connect(ShadowDepth, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_loading && i >= 0)
            Sample->SetDepthShadow(i);
    });
    connect(ShadowColorCombo, &TColorCombo::colorChanged, this, [this](TColor c) {
        if (!m_loading)
            Sample->SetcolorShadow(c);
    });
    connect(HighlightDirection, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_loading && i >= 0)
            Sample->SetDirectionHighlight(THighlightDirection(i));
    });
    connect(HighLightDepth, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_loading && i >= 0)
            Sample->SetDepthHighlight(i);
    });
    connect(HighLightColorCombo, &TColorCombo::colorChanged, this, [this](TColor c) {
        if (!m_loading)
            Sample->SetcolorHighlight(c);
    });
    connect(FontColorCombo, &TColorCombo::colorChanged, this, [this](TColor c) {
        if (m_loading)
            return;
        TObjectFont f = Sample->Font();
        f.Color = c;
        Sample->SetFont(f);
    });

    auto* grid = new QGridLayout;
    const std::pair<const char*, QWidget*> rows[] = {
        {"Shadow Direction", ShadowDirection},   {"Shadow Depth", ShadowDepth},
        {"Shadow Color", ShadowColorCombo},       {"Highlight Direction", HighlightDirection},
        {"Highlight Depth", HighLightDepth},      {"Highlight Color", HighLightColorCombo},
        {"Font Color", FontColorCombo}};
    int row = 0;
    for (const auto& [text, control] : rows) {
        auto* caption = new QLabel(QString::fromLatin1(text), this);
        caption->setBuddy(control);
        grid->addWidget(caption, row, 0);
        grid->addWidget(control, row++, 1);
    }

    const DialogButtons buttons = createDialogButtons(this, true, {QStringLiteral("OKButton"), QStringLiteral("CancelButton"), QStringLiteral("HelpButton")});

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_samplePanel, 0, Qt::AlignTop);
    top->addLayout(grid);
    outer->addLayout(top);
    outer->addLayout(buttons.row);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    attachHelp(this, HelpContexts::Text3DEffects, buttons.help);
    load();
    CenterForm(this);
}

QComboBox* TGFont3DEffects::combo(const QString& name, const QStringList& items)
{
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->addItems(items);
    return c;
}

TColorCombo* TGFont3DEffects::colorCombo(const QString& name)
{
    auto* c = new TColorCombo(this);
    c->setObjectName(name);
    return c;
}

void TGFont3DEffects::load()
{
    m_loading = true;
    Sample->SetFont(m_label.Font());
    Sample->SetDepthHighlight(m_label.DepthHighlight());
    Sample->SetDepthShadow(m_label.DepthShadow());
    Sample->SetDirectionHighlight(m_label.DirectionHighlight());
    Sample->SetDirectionShadow(m_label.DirectionShadow());
    Sample->SetcolorHighlight(m_label.colorHighlight());
    Sample->SetcolorShadow(m_label.colorShadow());
    Sample->setGeometry(m_samplePanel->contentsRect());
    ShadowDirection->setCurrentIndex(int(m_label.DirectionShadow()));
    // Depths beyond the list's 0 to 10 (from files) show none selected and stay.
    ShadowDepth->setCurrentIndex(m_label.DepthShadow() >= 0 && m_label.DepthShadow() <= 10 ? m_label.DepthShadow() : -1);
    ShadowColorCombo->setColor(m_label.colorShadow());
    HighlightDirection->setCurrentIndex(int(m_label.DirectionHighlight()));
    HighLightDepth->setCurrentIndex(
        m_label.DepthHighlight() >= 0 && m_label.DepthHighlight() <= 10 ? m_label.DepthHighlight() : -1);
    HighLightColorCombo->setColor(m_label.colorHighlight());
    FontColorCombo->setColor(m_label.Font().Color);
    m_loading = false;
}

void TGFont3DEffects::CopyBack()
{
    m_label.SetFont(Sample->Font());
    m_label.SetDepthHighlight(Sample->DepthHighlight());
    m_label.SetDepthShadow(Sample->DepthShadow());
    m_label.SetDirectionHighlight(Sample->DirectionHighlight());
    m_label.SetDirectionShadow(Sample->DirectionShadow());
    m_label.SetcolorHighlight(Sample->colorHighlight());
    m_label.SetcolorShadow(Sample->colorShadow());
}
