// The COM library calls of ole32.dll: per-thread initialisation, object creation from a
// class id or ProgID, class-id strings, and putting objects into their running state.
#pragma once

#include "oleaut/locale.h"
#include "oleaut/unknwn.h"

// Each thread counts its initialisations: the first gives S_OK, each further one S_FALSE,
// and every successful call is balanced by one CoUninitialize. CoCreateInstance on a thread
// that is not initialised fails with CO_E_NOTINITIALIZED.
inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
HRESULT CoInitialize(void* reserved);  // apartment-threaded; reserved must be null
HRESULT CoInitializeEx(void* reserved, DWORD coinit);  // RPC_E_CHANGED_MODE on a model change
void CoUninitialize();
HRESULT OleInitialize(void* reserved);  // CoInitialize, counted separately as well
void OleUninitialize();

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_INPROC_SERVER16 = 0x8;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD CLSCTX_SERVER =
    CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// A new object of a registered class (oleaut/class_registry.h). REGDB_E_CLASSNOTREG for an
// unknown class or one that serves none of the contexts; E_INVALIDARG for a context
// combination the class refuses; CLASS_E_NOAGGREGATION with an outer object.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid,
                         void** object);
// ProgIDs compare without regard to case; CO_E_CLASSSTRING for an unknown one.
HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID clsid);
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in either case; CO_E_CLASSSTRING otherwise. A null
// or empty string gives CLSID_NULL.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
// Writes "{...}" in upper case; the characters written with the NUL, or 0 when `size` is
// under 39.
INT StringFromGUID2(REFGUID guid, LPOLESTR buffer, INT size);
// Runs an object that offers IRunnableObject; any other object counts as running (S_OK).
HRESULT OleRun(IUnknown* object);

void* CoTaskMemAlloc(SIZE_T bytes);
void CoTaskMemFree(void* block);

// Adds these functions to the built-in module "ole32.dll" (kernel/modules.h), each with
// its argument byte count as on 32-bit Windows. Safe to call more than once.
void RegisterOle32Module();
