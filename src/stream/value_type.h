#pragma once
#include <cstdint>

// The one-byte tags of the typed-value encoding. The ordinals are the bytes in files.
enum class TValueType : std::uint8_t {
    vaNull = 0,       // end of list
    vaList = 1,       // list begin
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,   // 10-byte x87 extended float
    vaString = 6,     // 1-byte length, bytes
    vaIdent = 7,      // 1-byte length, bytes
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,    // 4-byte length, bytes
    vaSet = 11,       // identifiers, ended by a zero length byte
    vaLString = 12,   // 4-byte length, bytes
    vaNil = 13,
    vaCollection = 14,
};

constexpr int kValueTypeCount = 15;

inline bool isValidValueType(std::uint8_t tag) { return tag < kValueTypeCount; }
const char* valueTypeName(TValueType t);
