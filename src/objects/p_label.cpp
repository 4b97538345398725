#include "p_label.h"

#include "objects/label_text_dialog.h"
#include "platform/prompter.h"

#include <QDialog>

TPropertySet<TGPLabel> TGPLabel::Properties()
{
    TPropertySet<TGPLabel> p;
    p.inherit(TGBaseLabel::Properties());
    return p;
}

void TGPLabel::EditText()
{
    TGetLabelText dialog(Caption(), window());
    if (prompter().execDialog(dialog) != QDialog::Accepted)
        return;
    editProperties([this, &dialog] {
        SetCaption(dialog.Text());
        AutoGrow();
    });
    update();
}

void TGPLabel::ChooseFont()
{
    TGBaseLabel::ChooseFont();
    AutoGrow();
}

void TGPLabel::AfterLoad()
{
    TGBaseLabel::AfterLoad();
    QMenu* menu = ContextMenu();
    menu->addSeparator();
    QAction* text = addMenuItem(menu, QStringLiteral("Text"), [this] { EditText(); });
    text->setData(1000); // the legacy item tag
    menu->addSeparator();
    QMenu* rotation = menu->addMenu(QStringLiteral("Rotation"));
    const std::pair<const char*, int> angles[] = {
        {"No Rotation", 0}, {"90 Degrees", 90}, {"180 Degrees", 180}, {"270 Degrees", 270}};
    for (const auto& [caption, value] : angles) {
        const int a = value;
        addMenuItem(rotation, QString::fromLatin1(caption), [this, a] { editProperties([this, a] { SetAngle(a); }); })
            ->setCheckable(true);
    }
    UpdateMenuChecks();
}
