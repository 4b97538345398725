#include "value_type.h"

const char* valueTypeName(TValueType t)
{
    static const char* names[kValueTypeCount] = {"vaNull",  "vaList",   "vaInt8",   "vaInt16",  "vaInt32",
                                                  "vaExtended", "vaString", "vaIdent", "vaFalse", "vaTrue",
                                                  "vaBinary", "vaSet",    "vaLString", "vaNil",  "vaCollection"};
    const auto i = std::uint8_t(t);
    return i < kValueTypeCount ? names[i] : "invalid";
}
