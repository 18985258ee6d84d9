// Code page 936 <-> UTF-16 over iconv. iconv stops at the first spot it cannot convert; the
// loop converts the good run, settles that one spot as Windows would, and goes on.
#include <cerrno>
#include <cstring>

#include "checked_conversions.h"
#include "codepage/codepage.h"
#include "codepage/gbk_walk.h"
#include "gbk_extras.h"
#include "iconv_converters.h"

namespace codepage {
namespace {

// How one spot that iconv left is settled: the units it gives and the input it takes.
template <typename Out>
struct Spot {
  Out units[2];
  std::size_t count;     // units given
  std::size_t consumed;  // input units taken
  bool valid;
};

// Runs iconv over `input` into `output`, handing each spot it stops at to `settle`. Without
// a converter every spot is settled by `settle`, so ASCII and the extras still come through.
// `perInput` is the most output units one input unit can give (GBK: one UTF-16 unit per
// byte, two bytes per UTF-16 unit), so that iconv normally runs once.
template <typename In, typename Out, typename Settle>
bool ConvertWithFixups(iconv_t converter, std::basic_string_view<In> input, std::basic_string<Out>& output,
                       std::size_t perInput, Settle settle) {
  output.resize(input.size() * perInput + 2);
  char* in = reinterpret_cast<char*>(const_cast<In*>(input.data()));
  std::size_t inLeft = input.size() * sizeof(In);
  std::size_t used = 0;  // bytes of output written
  bool clean = true;
  auto room = [&] { return output.size() * sizeof(Out) - used; };
  while (inLeft > 0) {
    if (converter != kNoConverter) {
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
      char* out = reinterpret_cast<char*>(output.data()) + used;
      std::size_t outLeft = room();
      std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
      int error = errno;
      used = static_cast<std::size_t>(out - reinterpret_cast<char*>(output.data()));
      if (result != static_cast<std::size_t>(-1)) break;
      if (error == E2BIG) {
        output.resize(output.size() * 2);
        continue;
      }
    }
    Spot<Out> spot = settle(reinterpret_cast<const In*>(in), inLeft / sizeof(In));
    if (room() < sizeof spot.units) output.resize(output.size() * 2 + 2);
    std::memcpy(reinterpret_cast<char*>(output.data()) + used, spot.units, spot.count * sizeof(Out));
    used += spot.count * sizeof(Out);
    in += spot.consumed * sizeof(In);
    inLeft -= spot.consumed * sizeof(In);
    clean = clean && spot.valid;
  }
  output.resize(used / sizeof(Out));
  return clean;
}

// A pair without a character is "?", and so is a lead byte alone.
Spot<char16_t> SettleGbk(const char* input, std::size_t left) {
  auto b = static_cast<unsigned char>(input[0]);
  if (b < 0x80) return {{b}, 1, 1, true};
  if (b == 0x80) return {{u'\u20AC'}, 1, 1, true};
  if (b == kSingleFF) return {{kSingleFFCharacter}, 1, 1, true};
  if (GbkCharWidth({input, left}, 0, GbkLeads::CodePage) == 0) return {{u'?'}, 1, 1, false};
  if (auto c = UserDefinedToUnicode(b, static_cast<unsigned char>(input[1]))) return {{*c}, 1, 2, true};
  return {{u'?'}, 1, 2, false};
}

// Each UTF-16 unit without a GBK form becomes the default character, so a character beyond
// the BMP (a surrogate pair) becomes two of them.
Spot<char> SettleUtf16(const char16_t* input, std::string_view defaultChar) {
  char16_t c = input[0];
  if (c < 0x80) return {{static_cast<char>(c)}, 1, 1, true};
  if (c == u'\u20AC') return {{static_cast<char>(0x80)}, 1, 1, true};
  if (c == kSingleFFCharacter) return {{static_cast<char>(kSingleFF)}, 1, 1, true};
  if (auto code = UnicodeToUserDefined(c)) {
    return {{static_cast<char>(*code >> 8), static_cast<char>(*code & 0xFF)}, 2, 1, true};
  }
  Spot<char> fallback{{defaultChar[0], defaultChar.size() > 1 ? defaultChar[1] : '\0'}, defaultChar.size(), 1, false};
  return fallback;
}

}  // namespace

bool DecodeGbk(std::string_view gbk, std::u16string& out) {
  return ConvertWithFixups(GbkToUtf16Converter(), gbk, out, 1, SettleGbk);
}

bool EncodeGbk(std::u16string_view text, std::string_view defaultChar, std::string& out) {
  if (defaultChar.empty() || defaultChar.size() > 2) defaultChar = "?";
  return ConvertWithFixups(Utf16ToGbkConverter(), text, out, 2,
                           [defaultChar](const char16_t* input, std::size_t) { return SettleUtf16(input, defaultChar); });
}

std::u16string GbkToUtf16(std::string_view gbk) {
  std::u16string out;
  DecodeGbk(gbk, out);
  return out;
}

std::string Utf16ToGbk(std::u16string_view text) {
  std::string out;
  EncodeGbk(text, "?", out);
  return out;
}

std::string GbkToUtf8(std::string_view gbk) { return Utf16ToUtf8(GbkToUtf16(gbk)); }

std::string Utf8ToGbk(std::string_view utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

}  // namespace codepage
