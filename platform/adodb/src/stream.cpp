#include "adodb/stream.h"

#include <algorithm>
#include <limits>
#include <new>

#include "charsets.h"
#include "win/errors.h"

namespace adodb {

namespace {

using detail::Charset;

constexpr std::size_t kMaxSize = static_cast<std::size_t>(std::numeric_limits<LONG>::max());

Charset CharsetOf(const std::u16string& name) {
  return detail::FindCharset(name).value_or(Charset::Utf16);  // the name was checked when set
}

std::u16string_view SeparatorText(LONG separator) {
  switch (separator) {
    case adLF: return u"\n";
    case adCR: return u"\r";
    default: return u"\r\n";
  }
}

std::span<const BYTE> AsBytes(std::string_view text) {
  return {reinterpret_cast<const BYTE*>(text.data()), text.size()};
}

}  // namespace

Stream::Stream() = default;

HRESULT Stream::RequireOpen() const { return open_ ? S_OK : kObjectClosed; }

HRESULT Stream::Open() {
  if (open_) return kObjectOpen;
  open_ = true;
  bytes_.clear();
  position_ = 0;
  return S_OK;
}

HRESULT Stream::Close() {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  open_ = false;
  bytes_.clear();
  bytes_.shrink_to_fit();
  position_ = 0;
  return S_OK;
}

HRESULT Stream::SetType(LONG type) {
  if (type != adTypeBinary && type != adTypeText) return kInvalidArgument;
  if (open_ && position_ != 0) return kIllegalOperation;
  type_ = type;
  return S_OK;
}

HRESULT Stream::SetCharset(std::u16string_view name) {
  if (open_ && position_ != 0) return kIllegalOperation;
  if (!detail::FindCharset(name)) return kInvalidArgument;
  charset_ = std::u16string(name);
  return S_OK;
}

HRESULT Stream::SetLineSeparator(LONG separator) {
  if (separator != adCRLF && separator != adLF && separator != adCR) return kInvalidArgument;
  lineSeparator_ = separator;
  return S_OK;
}

HRESULT Stream::SetMode(LONG mode) {
  if (open_) return kObjectOpen;
  mode_ = mode;
  return S_OK;
}

HRESULT Stream::GetPosition(LONG* position) const {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  *position = static_cast<LONG>(position_);
  return S_OK;
}

HRESULT Stream::SetPosition(LONG position) {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  if (position < 0) return kInvalidArgument;
  const auto target = static_cast<std::size_t>(position);
  if (target > bytes_.size()) {
    try {
      bytes_.resize(target, 0);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }
  position_ = target;
  return S_OK;
}

HRESULT Stream::GetSize(LONG* size) const {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  *size = static_cast<LONG>(bytes_.size());
  return S_OK;
}

HRESULT Stream::GetEOS(bool* eos) const {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  *eos = position_ >= bytes_.size();
  return S_OK;
}

HRESULT Stream::SetEOS() {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  bytes_.resize(position_);
  return S_OK;
}

HRESULT Stream::Flush() { return RequireOpen(); }

// Overwrites from the position on, growing the stream as needed, and moves past.
HRESULT Stream::WriteAt(std::span<const BYTE> bytes) {
  if (bytes.size() > kMaxSize - position_) return E_OUTOFMEMORY;
  const std::size_t end = position_ + bytes.size();
  try {
    if (end > bytes_.size()) bytes_.resize(end);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ = end;
  return S_OK;
}

HRESULT Stream::Write(std::span<const BYTE> bytes) {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  if (type_ == adTypeText) {
    if (!bytes_.empty()) return kIllegalOperation;
    type_ = adTypeBinary;
  }
  return WriteAt(bytes);
}

HRESULT Stream::Read(LONG count, std::optional<std::vector<BYTE>>* bytes) {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  if (type_ != adTypeBinary) return kIllegalOperation;
  if (count < adReadAll) return kInvalidArgument;
  const std::size_t available = bytes_.size() - std::min(position_, bytes_.size());
  const std::size_t taken =
      count == adReadAll ? available : std::min(available, static_cast<std::size_t>(count));
  bytes->reset();
  if (taken == 0) return S_OK;
  const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
  bytes->emplace(begin, begin + static_cast<std::ptrdiff_t>(taken));
  position_ += taken;
  return S_OK;
}

HRESULT Stream::ReadText(LONG count, std::u16string* text) {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  if (type_ != adTypeText) return kIllegalOperation;
  if (count < adReadLine) return kInvalidArgument;
  const detail::Charset charset = CharsetOf(charset_);
  text->clear();

  std::span<const BYTE> rest(bytes_);
  rest = rest.subspan(std::min(position_, rest.size()));
  if (position_ == 0) {
    const std::span<const BYTE> mark = AsBytes(detail::ByteOrderMark(charset));
    if (!mark.empty() && rest.size() >= mark.size() &&
        std::equal(mark.begin(), mark.end(), rest.begin())) {
      rest = rest.subspan(mark.size());
      position_ = mark.size();
    }
  }
  if (count == adReadAll) {
    *text = detail::Decode(charset, rest);
    position_ = bytes_.size();
    return S_OK;
  }

  // Character by character: up to `count` units, or up to the end of the line.
  const std::u16string_view separator = SeparatorText(lineSeparator_);
  std::size_t consumed = 0;
  while (consumed < rest.size()) {
    const std::size_t length = detail::CharacterLength(charset, rest.subspan(consumed));
    const std::u16string character = detail::Decode(charset, rest.subspan(consumed, length));
    if (count >= 0 && text->size() + character.size() > static_cast<std::size_t>(count)) {
      // A character never splits; one that does not fit waits for the next read.
      if (!text->empty() || count == 0) break;
    }
    *text += character;
    consumed += length;
    if (count == adReadLine && text->size() >= separator.size() &&
        std::u16string_view(*text).substr(text->size() - separator.size()) == separator) {
      text->resize(text->size() - separator.size());
      break;
    }
    if (count >= 0 && text->size() >= static_cast<std::size_t>(count)) break;
  }
  position_ += consumed;
  return S_OK;
}

HRESULT Stream::WriteText(std::u16string_view text, LONG options) {
  if (HRESULT hr = RequireOpen(); FAILED(hr)) return hr;
  if (type_ != adTypeText) return kIllegalOperation;
  if (options != adWriteChar && options != adWriteLine) return kInvalidArgument;
  const detail::Charset charset = CharsetOf(charset_);
  std::string bytes;
  try {
    if (position_ == 0) bytes = detail::ByteOrderMark(charset);
    bytes += detail::Encode(charset, text);
    if (options == adWriteLine) bytes += detail::Encode(charset, SeparatorText(lineSeparator_));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return WriteAt(AsBytes(bytes));
}

}  // namespace adodb
