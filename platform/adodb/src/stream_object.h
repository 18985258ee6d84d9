// The automation face of a Stream: one handler per member of _Stream.
#pragma once

#include "adodb/stream.h"
#include "oleaut/std_dispatch.h"

namespace adodb::detail {

class StreamObject final : public oleaut::DispatchObject {
 public:
  StreamObject();

  HRESULT GetSize(oleaut::Invocation& call);
  HRESULT GetEOS(oleaut::Invocation& call);
  HRESULT GetPosition(oleaut::Invocation& call);
  HRESULT PutPosition(oleaut::Invocation& call);
  HRESULT GetType(oleaut::Invocation& call);
  HRESULT PutType(oleaut::Invocation& call);
  HRESULT GetLineSeparator(oleaut::Invocation& call);
  HRESULT PutLineSeparator(oleaut::Invocation& call);
  HRESULT GetState(oleaut::Invocation& call);
  HRESULT GetMode(oleaut::Invocation& call);
  HRESULT PutMode(oleaut::Invocation& call);
  HRESULT GetCharset(oleaut::Invocation& call);
  HRESULT PutCharset(oleaut::Invocation& call);
  HRESULT Read(oleaut::Invocation& call);
  HRESULT Open(oleaut::Invocation& call);
  HRESULT Close(oleaut::Invocation& call);
  HRESULT SkipLine(oleaut::Invocation& call);
  HRESULT Write(oleaut::Invocation& call);
  HRESULT SetEOS(oleaut::Invocation& call);
  HRESULT Flush(oleaut::Invocation& call);
  HRESULT ReadText(oleaut::Invocation& call);
  HRESULT WriteText(oleaut::Invocation& call);

 private:
  ~StreamObject() override = default;
  Stream stream_;
};

// The _Stream interface of the library built once for the process.
ITypeInfo* StreamTypeInfo();

}  // namespace adodb::detail
