#include "wp_tool_bar.h"

#include "platform/win_color.h"
#include "font_name_box.h"
#include "wp_rich_text.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QIcon letterIcon(const QString& text, bool bold, bool italic, bool underline)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(14);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, text);
    return QIcon(pm);
}

QIcon alignIcon(Qt::Alignment al)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    const int widths[] = {14, 10, 14, 8};
    for (int i = 0; i < 4; ++i) {
        const int w = widths[i];
        const int x = al == Qt::AlignLeft ? 1 : al == Qt::AlignRight ? 15 - w : (16 - w) / 2;
        p.drawLine(x, 3 + i * 3, x + w - 1, 3 + i * 3);
    }
    return QIcon(pm);
}

} // namespace

TWPToolBar::TWPToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("WPToolBar"));
    setWindowTitle(tr("Format"));

    m_fontName = new TFontNameBox(this);
    m_fontName->setObjectName(QStringLiteral("FontName"));
    m_fontName->setToolTip(tr("Font"));
    addWidget(m_fontName);

    m_fontSize = new QComboBox(this);
    m_fontSize->setObjectName(QStringLiteral("FontSize"));
    m_fontSize->setToolTip(tr("Font size"));
    m_fontSize->setEditable(true);
    for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_fontSize->addItem(QString::number(s));
    addWidget(m_fontSize);

    m_fontColor = new QComboBox(this);
    m_fontColor->setObjectName(QStringLiteral("FontColor"));
    m_fontColor->setToolTip(tr("Font colour"));
    for (const TBasicColor& c : BasicColors())
        m_fontColor->addItem(ColorSwatch(c.color), tr(c.name));
    addWidget(m_fontColor);

    addSeparator();
    m_bold = makeAction(QStringLiteral("Bold"), QStringLiteral("B"), tr("Bold"), true);
    m_bold->setIcon(letterIcon(QStringLiteral("B"), true, false, false));
    m_italic = makeAction(QStringLiteral("Italic"), QStringLiteral("I"), tr("Italic"), true);
    m_italic->setIcon(letterIcon(QStringLiteral("I"), false, true, false));
    m_underline = makeAction(QStringLiteral("Underline"), QStringLiteral("U"), tr("Underline"), true);
    m_underline->setIcon(letterIcon(QStringLiteral("U"), false, false, true));

    addSeparator();
    m_alignGroup = new QActionGroup(this);
    m_left = makeAction(QStringLiteral("AlignLeft"), tr("Left"), tr("Align left"), true);
    m_left->setIcon(alignIcon(Qt::AlignLeft));
    m_center = makeAction(QStringLiteral("AlignCenter"), tr("Center"), tr("Center"), true);
    m_center->setIcon(alignIcon(Qt::AlignHCenter));
    m_right = makeAction(QStringLiteral("AlignRight"), tr("Right"), tr("Align right"), true);
    m_right->setIcon(alignIcon(Qt::AlignRight));
    for (QAction* a : {m_left, m_center, m_right})
        m_alignGroup->addAction(a);
    m_left->setChecked(true);

    addSeparator();
    m_copy = makeAction(QStringLiteral("Copy"), tr("Copy"), tr("Copy"), false);
    m_copy->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    m_cut = makeAction(QStringLiteral("Cut"), tr("Cut"), tr("Cut"), false);
    m_cut->setIcon(QIcon::fromTheme(QStringLiteral("edit-cut")));
    m_paste = makeAction(QStringLiteral("Paste"), tr("Paste"), tr("Paste"), false);
    m_paste->setIcon(QIcon::fromTheme(QStringLiteral("edit-paste")));
    m_selectAll = makeAction(QStringLiteral("SelectAll"), tr("Select All"), tr("Select all"), false);
    m_selectAll->setIcon(QIcon::fromTheme(QStringLiteral("edit-select-all")));

    connect(m_fontName, &TFontNameBox::familyChosen, this, [this] { applyFontName(); });
    connect(m_fontSize, &QComboBox::textActivated, this, [this] { applyFontSize(); });
    connect(m_fontSize->lineEdit(), &QLineEdit::editingFinished, this, [this] { applyFontSize(); });
    connect(m_fontColor, &QComboBox::activated, this, [this](int i) { applyColor(i); });
    for (QAction* a : {m_bold, m_italic, m_underline})
        connect(a, &QAction::triggered, this, [this, a] { applyStyle(a); });
    for (QAction* a : {m_left, m_center, m_right})
        connect(a, &QAction::triggered, this, [this, a] { applyAlignment(a); });
    connect(m_copy, &QAction::triggered, this, [this] { if (m_editor) m_editor->copy(); });
    connect(m_cut, &QAction::triggered, this, [this] { if (m_editor) m_editor->cut(); });
    connect(m_paste, &QAction::triggered, this, [this] { if (m_editor) m_editor->paste(); });
    connect(m_selectAll, &QAction::triggered, this, [this] { if (m_editor) m_editor->selectAll(); });

    setEnabled(false);
}

QAction* TWPToolBar::makeAction(const QString& name, const QString& text, const QString& tip, bool checkable)
{
    QAction* a = addAction(text);
    a->setObjectName(name);
    a->setToolTip(tip);
    a->setCheckable(checkable);
    return a;
}

void TWPToolBar::attach(TWPRichText* editor)
{
    if (editor == m_editor)
        return;
    for (const auto& c : m_links)
        disconnect(c);
    m_links.clear();
    m_editor = editor;
    if (editor) {
        m_links << connect(editor, &QTextEdit::currentCharFormatChanged, this, [this] { updateFromEditor(); });
        m_links << connect(editor, &QTextEdit::cursorPositionChanged, this, [this] { updateFromEditor(); });
        m_links << connect(editor, &QObject::destroyed, this, [this] { m_links.clear(); });
        updateFromEditor();
    }
}

void TWPToolBar::updateFromEditor()
{
    if (!m_editor)
        return;
    m_updating = true;
    const TWPCharAttr a = m_editor->currentAttr();
    const QString family = a.fontName.isEmpty() ? m_editor->document()->defaultFont().family() : a.fontName;
    m_fontName->setFamily(family);
    {
        const QSignalBlocker block(m_fontSize);
        const int size = a.size > 0 ? a.size : int(m_editor->document()->defaultFont().pointSize());
        m_fontSize->setEditText(QString::number(size));
    }
    {
        const QSignalBlocker block(m_fontColor);
        m_fontColor->setCurrentIndex(a.colorIndex);
    }
    m_bold->setChecked(a.bold);
    m_italic->setChecked(a.italic);
    m_underline->setChecked(a.underline);
    const Qt::Alignment al = m_editor->alignment();
    if (al & Qt::AlignHCenter)
        m_center->setChecked(true);
    else if (al & Qt::AlignRight)
        m_right->setChecked(true);
    else
        m_left->setChecked(true);
    m_updating = false;
}

void TWPToolBar::applyFontName()
{
    if (m_updating || !m_editor)
        return;
    QTextCharFormat f;
    const QString family = m_fontName->family();
    if (family.isEmpty())
        return;
    f.setFontFamilies(QStringList{family});
    m_editor->mergeCurrentCharFormat(f);
    m_editor->setFocus();
}

void TWPToolBar::applyFontSize()
{
    if (m_updating || !m_editor)
        return;
    bool ok = false;
    const int size = m_fontSize->currentText().trimmed().toInt(&ok);
    if (!ok || size < 1 || size > 1638)
        return; // not a size: the list keeps showing what was typed until corrected
    QTextCharFormat f;
    f.setFontPointSize(size);
    m_editor->mergeCurrentCharFormat(f);
}

void TWPToolBar::applyColor(int index)
{
    if (m_updating || !m_editor || index < 0 || index >= 16)
        return;
    QTextCharFormat f;
    f.setForeground(TWPRichText::colorTable()[size_t(index)]);
    m_editor->mergeCurrentCharFormat(f);
    m_editor->setFocus();
}

void TWPToolBar::applyStyle(QAction* which)
{
    if (m_updating || !m_editor)
        return;
    QTextCharFormat f; // only the style that was clicked, so mixed selections keep the rest
    if (which == m_bold)
        f.setFontWeight(m_bold->isChecked() ? QFont::Bold : QFont::Normal);
    else if (which == m_italic)
        f.setFontItalic(m_italic->isChecked());
    else
        f.setFontUnderline(m_underline->isChecked());
    m_editor->mergeCurrentCharFormat(f);
}

void TWPToolBar::applyAlignment(QAction* which)
{
    if (m_updating || !m_editor)
        return;
    m_editor->setAlignment(which == m_center ? Qt::AlignHCenter : which == m_right ? Qt::AlignRight : Qt::AlignLeft);
}
