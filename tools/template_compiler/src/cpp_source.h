// The block as a C++ source file: a byte array and its size, under a qualified name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace template_compiler {

// symbol is "name" or "space::name" (check it with IsQualifiedName); the size is defined
// as the name + "Size" beside the array.
std::string CppSource(const std::vector<std::uint8_t>& block, std::string_view symbol, std::string_view source);
bool IsQualifiedName(std::string_view symbol);

}  // namespace template_compiler
