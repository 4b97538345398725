#pragma once
#include <QByteArray>
#include <QPoint>
#include <initializer_list>

// SuperText's enumerations, with the ordinals and identifiers its records store.
enum class TSurfaceType { stNormal, stBrushTransparent, stBrushImage, stGradientFill };
enum class TFillDirection { gdUp, gdDown, gdLeft, gdRight };
enum class TShadowOrientation { sdNone, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

namespace supertext {

inline const std::initializer_list<const char*> kSurfaceTypeNames{"stNormal", "stBrushTransparent", "stBrushImage",
                                                                  "stGradientFill"};
inline const std::initializer_list<const char*> kFillDirectionNames{"gdUp", "gdDown", "gdLeft", "gdRight"};
inline const std::initializer_list<const char*> kShadowOrientationNames{"sdNone",     "sdRight",    "sdLeft",
                                                                        "sdDownRight", "sdDownLeft", "sdDown"};
inline const std::initializer_list<const char*> kPenStyleNames{"psSolid",      "psDash",  "psDot",        "psDashDot",
                                                               "psDashDotDot", "psClear", "psInsideFrame"};

template <class E>
QByteArray identOf(std::initializer_list<const char*> names, E v)
{
    return QByteArray(names.begin()[int(v)]);
}

// The shadow's displacement at zoom 1 for a depth.
QPoint shadowOffset(TShadowOrientation orientation, int depth);

} // namespace supertext
