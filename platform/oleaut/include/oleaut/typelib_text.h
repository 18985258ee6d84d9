// Panlift's type-library file format: UTF-8 text, one declaration a line.
//
//   # a comment (also after a declaration)
//   typelib <name> <libid> <major>.<minor> [lcid <hex>]       first line
//   enum <name> [<guid>]
//     const <name> <integer>
//   alias <name> <type>
//   record <name> [<guid>]
//     field <name> <type>
//   dispinterface <name> <iid> [hidden] [dual]
//     method|get|put|putref <id> <name> [returns <type>] [vararg] [hidden]
//       param <name> <type> [in] [out] [opt] [retval] [default <basic type> <literal>]
//     var <id> <name> <type> [readonly]
//   coclass <name> <clsid>
//     implements <dispinterface name> [default] [source]
//   doc "<text>"        documentation of the type or member declared last
//
// Names are single words. <id> is a decimal member id. A type is a basic type name (i1 i2
// i4 i8 ui1 ui2 ui4 ui8 int uint r4 r8 cy date bstr dispatch error bool variant unknown void
// hresult), ptr(<type>), safearray(<type>), carray(<type>,<count>,<lower bound>...) or the
// name of a type of the library, without spaces. A default value is a basic type and a
// literal: "i4 -1", "bstr \"x\"", "bool true", "r8 1.5", "date 365.25" (a day number),
// "empty" and "null" without one; strings take \" \\ \n \r \t escapes. Parameters with a
// default are optional. A "vararg" method's last parameter is safearray(variant).
#pragma once

#include <string>
#include <string_view>

#include "oleaut/typeinfo.h"

namespace oleaut {

// Reads a library from its text; on failure `error` (when given) says which line is wrong.
HRESULT ParseTypeLibText(std::string_view text, ITypeLib** lib, std::string* error = nullptr);
// Writes any type library (made here or read from a file) in that format. E_NOTIMPL when
// it refers to a type of another library, which the format cannot name.
HRESULT WriteTypeLibText(ITypeLib* lib, std::string* text);

}  // namespace oleaut
