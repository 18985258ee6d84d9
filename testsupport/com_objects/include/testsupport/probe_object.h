// A test automation object with the kinds of members the automation commands must serve:
// by-reference outputs (texts, numbers, objects, variants, arrays; in-out and out-only),
// optional parameters, a variable argument list, an enumeration-typed property, parameters
// and variables of the library's own types (interface, alias, enumeration, record), a
// retval parameter, a variable, and a member that raises an exception.
#pragma once

#include <string>

#include "oleaut/std_dispatch.h"

namespace probe {

inline constexpr CLSID kProbeClass{0x5A11F7E1, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};
inline constexpr CLSID kLocalProbeClass{0x5A11F7E1, 0x0002, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x02}};

class Probe : public oleaut::DispatchObject {
 public:
  static inline int live = 0;
  static inline int invocations = 0;
  static inline int liveAtLastCreation = 0;

  Probe();
  ~Probe() override;

  static ITypeInfo* Type();
  // Registers "Panlift.Probe" and "Panlift.LocalProbe" (which refuses remote servers).
  static void Register();

  LONG counter = 0;
  LONG mode = 1;
  VARTYPE lastLevelType = VT_EMPTY;
  std::u16string lastDescription;

  HRESULT Echo(oleaut::Invocation& call);
  HRESULT Swap(oleaut::Invocation& call);
  HRESULT Describe(oleaut::Invocation& call);
  HRESULT Sum(oleaut::Invocation& call);
  HRESULT GetMode(oleaut::Invocation& call);
  HRESULT PutMode(oleaut::Invocation& call);
  HRESULT PutLevel(oleaut::Invocation& call);
  HRESULT Identify(oleaut::Invocation& call);
  HRESULT GetCounter(oleaut::Invocation& call);
  HRESULT PutCounter(oleaut::Invocation& call);
  HRESULT Fail(oleaut::Invocation& call);
  HRESULT Word(oleaut::Invocation& call);
  HRESULT Bytes(oleaut::Invocation& call);
  HRESULT Nothing(oleaut::Invocation& call);
  HRESULT Adopt(oleaut::Invocation& call);
  HRESULT Spawn(oleaut::Invocation& call);
  HRESULT Fill(oleaut::Invocation& call);
  HRESULT Produce(oleaut::Invocation& call);
  HRESULT Grow(oleaut::Invocation& call);
  HRESULT Names(oleaut::Invocation& call);
  HRESULT Halve(oleaut::Invocation& call);
  HRESULT Widen(oleaut::Invocation& call);
  HRESULT NextMode(oleaut::Invocation& call);
  HRESULT Measure(oleaut::Invocation& call);
  HRESULT Norm(oleaut::Invocation& call);
  HRESULT Accept(oleaut::Invocation& call);
};

// The record type of the probe's library: {LONG x; LONG y;}.
struct Point {
  LONG x;
  LONG y;
};
IRecordInfo* PointInfo();  // borrowed

}  // namespace probe
