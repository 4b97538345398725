#include "font_name_box.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QSignalBlocker>

TFontNameBox::TFontNameBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Wide enough for common names without measuring every family first.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(16);
    connect(this, &QComboBox::textActivated, this, &TFontNameBox::familyChosen);
    setFamily(QFontInfo(font()).family()); // until an editor tells its own
}

void TFontNameBox::setFamily(const QString& family)
{
    const QSignalBlocker block(this);
    const int i = m_listed ? findText(family, Qt::MatchFixedString) : -1;
    if (i >= 0)
        setCurrentIndex(i);
    setEditText(family);
}

void TFontNameBox::showPopup()
{
    listFamilies();
    QComboBox::showPopup();
}

void TFontNameBox::focusInEvent(QFocusEvent* event)
{
    listFamilies(); // typing completes against the list
    QComboBox::focusInEvent(event);
}

void TFontNameBox::listFamilies()
{
    if (m_listed)
        return;
    m_listed = true;
    const QString shown = currentText();
    const QSignalBlocker block(this);
    QStringList families;
    for (const QString& f : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(f))
            families << f;
    clear();
    addItems(families);
    setFamily(shown);
}
