#include "rich_text_label_editor.h"

#include "platform/help_contexts.h"
#include "platform/shell_helpers.h"
#include "richtext/wp_rich_text.h"
#include "richtext/wp_tool_bar.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_help.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

TRichTextLabelEditor::TRichTextLabelEditor(QWidget* parent) : QDialog(parent)
{
    HourglassOn();
    setObjectName(QStringLiteral("RichTextLabelEditor"));
    setWindowTitle(QStringLiteral("Rich Text Editor"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    WPToolBar1 = new TWPToolBar(this);
    WPToolBar1->setObjectName(QStringLiteral("WPToolBar1"));
    WPToolBar1->addSeparator();
    ZoomInButton = WPToolBar1->addAction(QStringLiteral("Zoom In"), this, &TRichTextLabelEditor::ZoomInClick);
    ZoomInButton->setObjectName(QStringLiteral("ZoomInButton"));
    ZoomOutButton = WPToolBar1->addAction(QStringLiteral("Zoom Out"), this, &TRichTextLabelEditor::ZoomOutClick);
    ZoomOutButton->setObjectName(QStringLiteral("ZoomOutButton"));
    ZoomCaption = new QLabel(this);
    ZoomCaption->setObjectName(QStringLiteral("ZoomCaption"));
    ZoomCaption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ZoomCaption->setMinimumWidth(48);
    ZoomCaption->setAlignment(Qt::AlignCenter);
    WPToolBar1->addWidget(ZoomCaption);

    // The page: a white panel the size of the label, the editor filling it.
    WPPanel = new QWidget;
    WPPanel->setObjectName(QStringLiteral("WPPanel"));
    WPPanel->setAutoFillBackground(true);
    QPalette white = WPPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    WPPanel->setPalette(white);
    WPRichText1 = new TWPRichText(WPPanel);
    WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
    WPRichText1->setFrameShape(QFrame::NoFrame);
    auto* pageLayout = new QVBoxLayout(WPPanel);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(WPRichText1);
    WPPanel->hide();
    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setWidget(WPPanel);
    ScrollBox->setWidgetResizable(false);
    ScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox->setMinimumSize(420, 200);

    // Enter belongs to the text: it presses no button.
    const DialogButtons buttons = createDialogButtons(this, false);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(WPToolBar1);
    outer->addWidget(ScrollBox, 1);
    outer->addLayout(buttons.row);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    WPToolBar1->attach(WPRichText1);
    WPToolBar1->setEnabled(true);
    // Wide enough for the whole formatting bar, zoom buttons included.
    setMinimumWidth(WPToolBar1->sizeHint().width() + outer->contentsMargins().left() * 2);
    attachHelp(this, HelpContexts::RichTextEditor, buttons.help);
    resize(std::max(640, minimumWidth()), 420);
    CenterForm(this);
    QCoreApplication::processEvents();
    HourglassOff();
}

void TRichTextLabelEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TRichTextLabelEditor::FormActivate()
{
    WPPanel->show();
    QCoreApplication::processEvents();
    WPRichText1->setFocus();
    WPRichText1->setCaretPosition(0);
    m_baseSize = WPPanel->size();
    m_baseZoom = std::max(1, WPRichText1->zoom());
    zoomChanged();
}

void TRichTextLabelEditor::ZoomInClick()
{
    if (WPRichText1->zoom() < 100)
        WPRichText1->setZoom(WPRichText1->zoom() + 10);
    zoomChanged();
}

void TRichTextLabelEditor::ZoomOutClick()
{
    if (WPRichText1->zoom() > 50)
        WPRichText1->setZoom(WPRichText1->zoom() - 10);
    zoomChanged();
}

void TRichTextLabelEditor::zoomChanged()
{
    const int zoom = WPRichText1->zoom();
    if (m_baseSize.isValid())
        WPPanel->resize(int(std::lround(double(zoom) * m_baseSize.width() / m_baseZoom)),
                        int(std::lround(double(zoom) * m_baseSize.height() / m_baseZoom)));
    ZoomCaption->setText(QString::number(zoom) + QLatin1Char('%'));
}
