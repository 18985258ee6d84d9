// Case of ASCII letters, for names, keywords and protocol tokens that compare without it.
// Only A to Z and a to z change, whatever the C library's locale: every other byte or code
// unit (a GBK trail byte, a Latin letter) stays as it is.
#pragma once

#include <cstddef>
#include <string_view>

namespace ascii {

template <typename Char>
constexpr Char Lower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr Char Upper(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

namespace detail {
constexpr char32_t Code(char c) { return static_cast<unsigned char>(c); }
constexpr char32_t Code(char16_t c) { return c; }

template <typename A, typename B>
constexpr bool EqualsIgnoreCase(std::basic_string_view<A> a, std::basic_string_view<B> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Code(Lower(a[i])) != Code(Lower(b[i]))) return false;
  }
  return true;
}
}  // namespace detail

// Equal but for the case of ASCII letters; a UTF-16 text may be compared with a name in ASCII.
constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b) { return detail::EqualsIgnoreCase(a, b); }
constexpr bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return detail::EqualsIgnoreCase(a, b);
}
constexpr bool EqualsIgnoreCase(std::u16string_view a, std::string_view asciiName) {
  return detail::EqualsIgnoreCase(a, asciiName);
}

constexpr bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace ascii
