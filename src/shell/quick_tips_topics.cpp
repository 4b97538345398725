// The main window's quick tips: the stored form read by TAssistantTip::SetTopics
// (number of topics less one, the titles, then the answers).
#include "shell/assistant_tip.h"

QStringList MainWindowQuickTips()
{
    return {
        QStringLiteral("11"),
        QStringLiteral("How do I create a new calendar?"),
        QStringLiteral("How to I change the look (layout) of an existing calendar ?"),
        QStringLiteral("How do I type entries into the calendar?"),
        QStringLiteral("How do I change the text attributes for the date cell text (i.e. font, color, etc)?"),
        QStringLiteral("Can I put graphics into the calendar date cells along with text?"),
        QStringLiteral("How do I use the icons in the floating Icons window?"),
        QStringLiteral("How do I add freeform graphic items to the calendar?"),
        QStringLiteral("How do I change a freeform drawing object's properties?"),
        QStringLiteral("How do I change the font for a freeform drawing object?"),
        QStringLiteral("How do I change the color of a freeform drawing object?"),
        QStringLiteral("How do I move a freeform drawing object?          "),
        QStringLiteral("How do I resize a freeform drawing object?          "),

        QStringLiteral("Choose New from the File menu. The Calendar Properties dialog opens with a preview of "
                       "the new calendar: choose the layout, paper and orientation on the Layout page, the month "
                       "and year on the Date page, and fonts, colors, lines, language, margins and a border on "
                       "the other pages. Press Ok and the calendar appears in the main window, ready for your "
                       "entries. Save it with Save As on the File menu."),
        QStringLiteral("Choose Properties from the File menu, or press the Properties button on the tool bar. "
                       "The Calendar Properties dialog shows your calendar in its preview: change the layout, "
                       "fonts, colors, lines, margins or border, watch the preview, and press Ok to apply the "
                       "changes. Changing to a layout of another kind (a month calendar to a 12 month overview, "
                       "for example) erases the text in the date cells; you are warned first."),
        QStringLiteral("Click a date cell with the Selection tool and type: an editor opens right over the "
                       "cell. Tab moves to the next day, Shift+Tab to the previous one. Only layouts with date "
                       "cells take text: the month calendars (with or without mini calendars), the one and two "
                       "week planners and the day planners. The 6 to 60 month overviews show mini calendars "
                       "only and have no cells to type into."),
        QStringLiteral("While you type in a date cell the formatting bar above the tool bar is active: select "
                       "text and choose a font, size or color, or press bold, italic, underline or an alignment "
                       "button. Ctrl+A selects all the text of the cell, so that you can change it at once. The "
                       "font that empty cells start with is set with Default Editor Font on the File menu."),
        QStringLiteral("Yes. Press Show Icon Tool on the tool bar, choose an icon library from the File menu of "
                       "the Icons window, and drag an icon from the window onto a date cell. The icon goes into "
                       "the cell's text where the cursor is, like a letter: you can type before and after it "
                       "and remove it with Backspace."),
        QStringLiteral("The Icons window floats above the calendar and shows one icon library at a time: choose "
                       "Activities, Events, Holidays, Miscellaneous #1 or #2, a bonus set or any other icon file "
                       "from its File menu. Drag an icon with the left mouse button and drop it on a date cell. "
                       "Icons can be dropped into date cells only, not elsewhere on the page."),
        QStringLiteral("The tool bar has six drawing tools: Selection, Label, Clip Art, Rich Text, SuperText and "
                       "Floating Calendar. Press one of the five object tools, then drag a rectangle on the "
                       "calendar page with the left mouse button: the object is made in that rectangle (a single "
                       "click makes a small one). Labels, clip art, rich text and SuperText then open their "
                       "dialog for the text or the picture. Afterwards the Selection tool is active again."),
        QStringLiteral("Click the object with the right mouse button. Its menu holds everything you can change: "
                       "bring it to the front or send it to the back, cut, copy, delete or clone it, lock it, "
                       "center it, and the items of its kind, such as Text, Font, Border, Transparent, "
                       "Background Color or Properties."),
        QStringLiteral("Right-click the object and choose Font from its menu; pick the font, style, size and "
                       "color and press OK. To give several objects the same font, select them all (hold Shift "
                       "while you click them), right-click an empty part of the page and choose Font."),
        QStringLiteral("Right-click the object. Background Color sets the color behind the object's text and "
                       "turns Transparent off; Transparent lets the calendar show through. The color of the "
                       "text itself is chosen with the Font item. SuperText and floating calendars have more "
                       "colors in their Properties dialog, labels shadow and highlight colors under 3D Effects."),
        QStringLiteral("With the Selection tool, point at the object, hold the left mouse button down and drag "
                       "it to its new place. A selected object shows eight small handles: four at its corners "
                       "and four in the middle of its sides. The arrow keys move a selected object one pixel at "
                       "a time. A locked object stays where it is."),
        QStringLiteral("Click the object to select it, point at one of its eight handles, hold the left mouse "
                       "button down and drag the handle: a corner handle changes the width and the height, a "
                       "handle in the middle of a side only one of them. Shift with an arrow key makes a single "
                       "selected object one pixel larger or smaller."),
    };
}
