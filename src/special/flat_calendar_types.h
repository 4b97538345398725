#pragma once
#include <QByteArray>
#include <initializer_list>

// The choices of a floating calendar. Files store them by name, so the order of each
// list is the order of the names below.
enum class TFlatCalBorderStyle { fcbNone, fcbAll, fcbTop, fcbBottom, fcbTopBottom };
enum class TFlatCalHeadersStyle { fdsFirstChar, fdsThreeChars, fdsWhole };
enum class TFlatCalLanguage { fclEnglish, fclGerman, fclFrench, fclItalian, fclSpanish };
enum class TFlatShadowPosition { fcpLowerRight, fcpLowerLeft, fcpUpperRight, fcpUpperLeft };

namespace flatcal {
inline const std::initializer_list<const char*> kBorderStyleNames{"fcbNone", "fcbAll", "fcbTop", "fcbBottom",
                                                                  "fcbTopBottom"};
inline const std::initializer_list<const char*> kHeadersStyleNames{"fdsFirstChar", "fdsThreeChars", "fdsWhole"};
inline const std::initializer_list<const char*> kLanguageNames{"fclEnglish", "fclGerman", "fclFrench", "fclItalian",
                                                               "fclSpanish"};
inline const std::initializer_list<const char*> kShadowPositionNames{"fcpLowerRight", "fcpLowerLeft",
                                                                     "fcpUpperRight", "fcpUpperLeft"};

// The identifier of an enumeration value.
template <class E>
QByteArray identOf(std::initializer_list<const char*> names, E v)
{
    return QByteArray(names.begin()[int(v)]);
}
} // namespace flatcal
