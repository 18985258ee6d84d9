#include "stream_object.h"

#include <cstring>
#include <optional>
#include <vector>

#include "oleaut/safearray.h"

namespace adodb::detail {

namespace {

// ADO's own texts for its errors, reported through the caller's EXCEPINFO.
std::u16string_view Description(HRESULT hr) {
  switch (hr) {
    case kInvalidArgument:
      return u"Arguments are of the wrong type, are out of acceptable range, or are in "
             u"conflict with one another.";
    case kIllegalOperation: return u"Operation is not allowed in this context.";
    case kObjectClosed: return u"Operation is not allowed when the object is closed.";
    case kObjectOpen: return u"Operation is not allowed when the object is open.";
    default: return {};
  }
}

// A member's outcome: ADO's errors become exceptions (DISP_E_EXCEPTION with the error as
// the code), anything else goes back as it is.
HRESULT Outcome(oleaut::Invocation& call, HRESULT hr) {
  const std::u16string_view description = Description(hr);
  if (description.empty()) return hr;
  return call.Raise(hr, description, u"ADODB.Stream");
}

// The bytes of a Write buffer: an array of bytes, of any bounds and dimensions.
std::optional<std::vector<BYTE>> BufferBytes(const VARIANT& buffer) {
  VARTYPE elements = VT_EMPTY;
  if (!(buffer.vt & VT_ARRAY) || buffer.parray == nullptr ||
      FAILED(SafeArrayGetVartype(buffer.parray, &elements)) ||
      (elements != VT_UI1 && elements != VT_I1)) {
    return std::nullopt;
  }
  const ULONG count = oleaut::SafeArrayElementCount(buffer.parray);
  std::vector<BYTE> bytes(count);
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(buffer.parray, &data))) return std::nullopt;
  if (count != 0) std::memcpy(bytes.data(), data, count);
  SafeArrayUnaccessData(buffer.parray);
  return bytes;
}

}  // namespace

StreamObject::StreamObject() : DispatchObject(StreamTypeInfo()) {}

HRESULT StreamObject::GetSize(oleaut::Invocation& call) {
  LONG size = 0;
  HRESULT hr = stream_.GetSize(&size);
  if (SUCCEEDED(hr)) oleaut::SetI4(call.Result(), size);
  return Outcome(call, hr);
}

HRESULT StreamObject::GetEOS(oleaut::Invocation& call) {
  bool eos = false;
  HRESULT hr = stream_.GetEOS(&eos);
  if (SUCCEEDED(hr)) oleaut::SetBool(call.Result(), eos);
  return Outcome(call, hr);
}

HRESULT StreamObject::GetPosition(oleaut::Invocation& call) {
  LONG position = 0;
  HRESULT hr = stream_.GetPosition(&position);
  if (SUCCEEDED(hr)) oleaut::SetI4(call.Result(), position);
  return Outcome(call, hr);
}

HRESULT StreamObject::PutPosition(oleaut::Invocation& call) {
  return Outcome(call, stream_.SetPosition(call.GetLong(0)));
}

HRESULT StreamObject::GetType(oleaut::Invocation& call) {
  oleaut::SetI4(call.Result(), stream_.Type());
  return S_OK;
}

HRESULT StreamObject::PutType(oleaut::Invocation& call) {
  return Outcome(call, stream_.SetType(call.GetLong(0)));
}

HRESULT StreamObject::GetLineSeparator(oleaut::Invocation& call) {
  oleaut::SetI4(call.Result(), stream_.LineSeparator());
  return S_OK;
}

HRESULT StreamObject::PutLineSeparator(oleaut::Invocation& call) {
  return Outcome(call, stream_.SetLineSeparator(call.GetLong(0)));
}

HRESULT StreamObject::GetState(oleaut::Invocation& call) {
  oleaut::SetI4(call.Result(), stream_.State());
  return S_OK;
}

HRESULT StreamObject::GetMode(oleaut::Invocation& call) {
  oleaut::SetI4(call.Result(), stream_.Mode());
  return S_OK;
}

HRESULT StreamObject::PutMode(oleaut::Invocation& call) {
  return Outcome(call, stream_.SetMode(call.GetLong(0)));
}

HRESULT StreamObject::GetCharset(oleaut::Invocation& call) {
  return oleaut::SetText(call.Result(), stream_.Charset());
}

HRESULT StreamObject::PutCharset(oleaut::Invocation& call) {
  return Outcome(call, stream_.SetCharset(call.GetText(0)));
}

HRESULT StreamObject::Read(oleaut::Invocation& call) {
  std::optional<std::vector<BYTE>> bytes;
  HRESULT hr = stream_.Read(call.GetLong(0), &bytes);
  if (FAILED(hr)) return Outcome(call, hr);
  if (!bytes) {
    oleaut::SetNull(call.Result());  // nothing left
    return S_OK;
  }
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes->size()));
  if (array == nullptr) return E_OUTOFMEMORY;
  std::memcpy(array->pvData, bytes->data(), bytes->size());
  oleaut::SetArray(call.Result(), VT_UI1, array);
  return S_OK;
}

// Only a stream of its own: no URL or record to open from.
HRESULT StreamObject::Open(oleaut::Invocation& call) {
  const VARIANT& source = call.Arg(0);
  const bool noSource = call.IsMissing(0) || source.vt == VT_EMPTY || source.vt == VT_NULL ||
                        (source.vt == VT_BSTR && SysStringLen(source.bstrVal) == 0);
  if (!noSource) return Outcome(call, kInvalidArgument);
  if (stream_.State() == adStateOpen) return Outcome(call, kObjectOpen);
  if (HRESULT hr = stream_.SetMode(call.GetLong(1)); FAILED(hr)) return Outcome(call, hr);
  return Outcome(call, stream_.Open());
}

HRESULT StreamObject::Close(oleaut::Invocation& call) { return Outcome(call, stream_.Close()); }

HRESULT StreamObject::SkipLine(oleaut::Invocation& call) {
  std::u16string line;
  return Outcome(call, stream_.ReadText(adReadLine, &line));
}

HRESULT StreamObject::Write(oleaut::Invocation& call) {
  const std::optional<std::vector<BYTE>> bytes = BufferBytes(call.Arg(0));
  if (!bytes) {
    // A closed stream says so first, whatever the buffer.
    if (stream_.State() == adStateClosed) return Outcome(call, kObjectClosed);
    return Outcome(call, kInvalidArgument);
  }
  return Outcome(call, stream_.Write(*bytes));
}

HRESULT StreamObject::SetEOS(oleaut::Invocation& call) { return Outcome(call, stream_.SetEOS()); }

HRESULT StreamObject::Flush(oleaut::Invocation& call) { return Outcome(call, stream_.Flush()); }

HRESULT StreamObject::ReadText(oleaut::Invocation& call) {
  std::u16string text;
  HRESULT hr = stream_.ReadText(call.GetLong(0), &text);
  if (FAILED(hr)) return Outcome(call, hr);
  return oleaut::SetText(call.Result(), text);
}

HRESULT StreamObject::WriteText(oleaut::Invocation& call) {
  return Outcome(call, stream_.WriteText(call.GetText(0), call.GetLong(1)));
}

}  // namespace adodb::detail
