#pragma once
#include "platform/win_color.h"

#include <QByteArray>
#include <optional>

// Colour properties of objects are stored as identifiers when they equal a named colour
// ("clRed", "clBtnFace", "clNone"), otherwise as integers.
QByteArray colorIdentifier(TColor c); // empty when the colour has no name
std::optional<TColor> colorFromIdentifier(const QByteArray& ident); // case-insensitive

constexpr TColor clNone = 536870911;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clGray = 0x808080;
