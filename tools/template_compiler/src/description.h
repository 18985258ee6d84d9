// The readable description of a program's windows, and its translation to and from the
// window-template data block.
//
//   # comment
//   procedures OnResolveClicked OnAddressBoxLeftDown   the program's procedure table, in order
//   window 0x52010001 MainWindow                        a window (the name is for the reader)
//     header 0x00B9B430 0x19010004                      the template's two header words
//     texts "" ""                                       its two texts
//     unit 0x06010000 window ""                         a unit: id, type, name; the window's own first
//       position 50 50 380 348                          left top width height
//       flags 0 1 0                                     the three flag words (bit 0 visible, bit 1 disabled)
//       parent 0x16010001 / children ids... / tag "t" / second "t" / pointer [bytes]
//       on 0 OnMainWindowCreated                        event number, then a procedure, a byte offset or none
//       caption "Panlift"                               the type's own properties by name
//       data empty | data raw [bytes]                   the UnitTypeData given whole instead
//
// Values: integers (decimal, 0x hex, negative), true / false, default (the system colour),
// "texts" (UTF-8, turned into GBK), [hex bytes], and fonts as: "face" size weight [italic]
// [underline] [strikeout].
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "runtime/windows/template_format.h"

namespace template_compiler {

// "file:line: what".
struct CompileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The byte distance between two procedures of the program's table.
std::int32_t ProcedureSize();

runtime::TemplateBlock ParseDescription(std::string_view text, std::string_view fileName);

// A description that ParseDescription turns back into the same block. Handlers are
// written as byte offsets (the block does not know the procedures' names).
std::string DescribeBlock(const runtime::TemplateBlock& block);

}  // namespace template_compiler
