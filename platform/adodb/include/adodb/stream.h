// The stream behind "Adodb.Stream": bytes in memory, read and written as binary data or
// as text in a character set, with ADO's rules for when what is allowed.
//
// Texts are UTF-16. Character sets (names without regard to case): "unicode" and "utf-16"
// (little-endian, byte-order mark FF FE), "utf-8" (mark EF BB BF), "GBK", "gb2312" and
// "cp936" (code page 936), "us-ascii". WriteText at position 0 writes the set's mark first;
// ReadText at position 0 skips it. Bytes that are invalid in the set read as U+FFFD from
// UTF-8 and UTF-16, as "?" from code page 936 and US-ASCII.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "win/errors.h"

namespace adodb {

// ADO's enumerations, with the names of its type library.
enum StreamTypeEnum : LONG { adTypeBinary = 1, adTypeText = 2 };
enum StreamReadEnum : LONG { adReadAll = -1, adReadLine = -2 };
enum StreamWriteEnum : LONG { adWriteChar = 0, adWriteLine = 1 };
enum LineSeparatorEnum : LONG { adCRLF = -1, adLF = 10, adCR = 13 };
enum ObjectStateEnum : LONG { adStateClosed = 0, adStateOpen = 1 };
enum ConnectModeEnum : LONG {
  adModeUnknown = 0,
  adModeRead = 1,
  adModeWrite = 2,
  adModeReadWrite = 3,
  adModeShareDenyRead = 4,
  adModeShareDenyWrite = 8,
  adModeShareExclusive = 0xC,
  adModeShareDenyNone = 0x10,
  adModeRecursive = 0x400000,
};
enum StreamOpenOptionsEnum : LONG {
  adOpenStreamUnspecified = -1,
  adOpenStreamAsync = 1,
  adOpenStreamFromRecord = 4,
};
enum ErrorValueEnum : LONG {
  adErrInvalidArgument = 3001,
  adErrIllegalOperation = 3219,
  adErrObjectClosed = 3704,
  adErrObjectOpen = 3705,
};

// ADO's errors reach callers as HRESULTs of the control facility: 0x800A0000 | number.
constexpr HRESULT AdoError(ErrorValueEnum number) {
  return static_cast<HRESULT>(0x800A0000u | static_cast<DWORD>(number));
}
inline constexpr HRESULT kInvalidArgument = AdoError(adErrInvalidArgument);
inline constexpr HRESULT kIllegalOperation = AdoError(adErrIllegalOperation);
inline constexpr HRESULT kObjectClosed = AdoError(adErrObjectClosed);
inline constexpr HRESULT kObjectOpen = AdoError(adErrObjectOpen);

class Stream {
 public:
  Stream();

  LONG State() const { return open_ ? adStateOpen : adStateClosed; }
  // Opens an empty stream; kObjectOpen when it is open already.
  HRESULT Open();
  // Closes and drops the content; kObjectClosed when it is not open.
  HRESULT Close();

  // Settable while closed, or while open at position 0; a closed stream keeps it.
  LONG Type() const { return type_; }
  HRESULT SetType(LONG type);
  const std::u16string& Charset() const { return charset_; }
  HRESULT SetCharset(std::u16string_view name);
  LONG LineSeparator() const { return lineSeparator_; }
  HRESULT SetLineSeparator(LONG separator);
  LONG Mode() const { return mode_; }
  HRESULT SetMode(LONG mode);  // only while closed

  // Open streams only.
  HRESULT GetPosition(LONG* position) const;
  // Past the end, the stream grows by zero bytes to reach it.
  HRESULT SetPosition(LONG position);
  HRESULT GetSize(LONG* size) const;
  HRESULT GetEOS(bool* eos) const;
  HRESULT SetEOS();  // cuts the stream off at the position
  HRESULT Flush();

  // Binary streams. Writing into an empty text stream makes it binary.
  HRESULT Write(std::span<const BYTE> bytes);
  // count: adReadAll or a number of bytes. Nothing left to read: *bytes is empty (nullopt).
  HRESULT Read(LONG count, std::optional<std::vector<BYTE>>* bytes);

  // Text streams. count: adReadAll, adReadLine or a number of characters (UTF-16 units).
  HRESULT ReadText(LONG count, std::u16string* text);
  HRESULT WriteText(std::u16string_view text, LONG options);

  // The content as it is, for tests and for diagnostics.
  const std::vector<BYTE>& Bytes() const { return bytes_; }

 private:
  HRESULT WriteAt(std::span<const BYTE> bytes);
  HRESULT RequireOpen() const;

  bool open_ = false;
  LONG type_ = adTypeText;
  std::u16string charset_ = u"Unicode";
  LONG lineSeparator_ = adCRLF;
  LONG mode_ = adModeUnknown;
  std::vector<BYTE> bytes_;
  std::size_t position_ = 0;
};

}  // namespace adodb
