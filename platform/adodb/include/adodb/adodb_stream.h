// "Adodb.Stream" as an automation object, described by the members of ADO's type library
// (the _Stream dispatch interface with ADO's enumerations) and served in-process.
#pragma once

#include "oleaut/guid.h"

namespace adodb {

inline constexpr GUID LIBID_ADODB{
    0x2A75196C, 0xD9EB, 0x4129, {0xB8, 0x03, 0x93, 0x13, 0x27, 0xF7, 0x2D, 0x5C}};
inline constexpr IID IID__Stream{
    0x00000565, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
inline constexpr CLSID CLSID_Stream{
    0x00000566, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

}  // namespace adodb

// Registers the class under its ProgIDs "ADODB.Stream" and "ADODB.Stream.6.0" (matched
// without regard to case) with CoCreateInstance. Safe to call more than once.
void RegisterAdodbStream();
