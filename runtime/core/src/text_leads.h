// The language's text commands take every byte from 0x80 as a lead byte, 0x80 and 0xFF
// included (the code page itself lets those two stand alone): its texts only promise that a
// double-byte character is never split. A lead byte with no trail ends their walk.
#pragma once

#include "codepage/gbk_walk.h"

namespace runtime::core {

inline constexpr codepage::GbkLeads kTextLeads = codepage::GbkLeads::HighBit;

}  // namespace runtime::core
