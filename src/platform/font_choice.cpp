#include "font_choice.h"

#include "prompter.h"

#include <QFontInfo>

QString DrawnFontFamily(const QString& family)
{
    if (family.isEmpty())
        return family;
    const QString drawn = QFontInfo(QFont(family)).family();
    return drawn.isEmpty() ? family : drawn;
}

std::optional<QFont> ChooseStoredFont(const QFont& stored, const QString& title, QColor* color)
{
    std::optional<QFont> chosen = prompter().chooseFont(stored, title, color);
    if (!chosen)
        return std::nullopt;
    const QString stays = stored.family();
    const QString picked = chosen->family();
    if (!stays.isEmpty()
        && (picked.compare(stays, Qt::CaseInsensitive) == 0 || picked == DrawnFontFamily(stays)))
        chosen->setFamily(stays);
    return chosen;
}
