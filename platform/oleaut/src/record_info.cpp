// IRecordInfo over a record type made here: fields of basic types, BSTRs, VARIANTs and
// interfaces at the offsets of their VARDESCs.
#include "oleaut/record_info.h"

#include <cstring>

#include "name_compare.h"
#include "oleaut/ole32.h"
#include "type_model.h"
#include "variant_types.h"

namespace oleaut::detail {

namespace {

class RecordInfoImpl final : public IRecordInfo {
 public:
  explicit RecordInfoImpl(TypeInfoImpl& type) : type_(static_cast<ITypeInfo*>(&type)), info_(type) {}

  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IRecordInfo)) {
      return E_NOINTERFACE;
    }
    *object = static_cast<IRecordInfo*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT RecordInit(void* record) override {
    if (!record) return E_INVALIDARG;
    std::memset(record, 0, info_.instanceSize);
    return S_OK;
  }

  HRESULT RecordClear(void* record) override {
    if (!record) return E_INVALIDARG;
    for (const VarData& field : info_.vars) {
      void* at = Field(record, field);
      switch (field.type.vt) {
        case VT_BSTR: SysFreeString(*static_cast<BSTR*>(at)); break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
          if (IUnknown* object = *static_cast<IUnknown**>(at)) object->Release();
          break;
        case VT_VARIANT: VariantClear(static_cast<VARIANT*>(at)); break;
        default: break;
      }
    }
    return RecordInit(record);
  }

  HRESULT RecordCopy(void* existing, void* copy) override {
    if (!existing || !copy) return E_INVALIDARG;
    RecordClear(copy);
    for (const VarData& field : info_.vars) {
      VARIANT value;
      HRESULT hr = ReadField(existing, field, &value);
      if (SUCCEEDED(hr)) hr = WriteField(copy, field, value);
      VariantClear(&value);
      if (FAILED(hr)) return hr;
    }
    return S_OK;
  }

  HRESULT GetGuid(GUID* guid) override {
    if (!guid) return E_INVALIDARG;
    *guid = info_.guid;
    return S_OK;
  }
  HRESULT GetName(BSTR* name) override {
    if (!name) return E_INVALIDARG;
    *name = AllocBstr(info_.name);
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT GetSize(ULONG* size) override {
    if (!size) return E_INVALIDARG;
    *size = info_.instanceSize;
    return S_OK;
  }
  HRESULT GetTypeInfo(ITypeInfo** typeInfo) override {
    if (!typeInfo) return E_INVALIDARG;
    *typeInfo = ComPtr<ITypeInfo>(type_).Detach();
    return S_OK;
  }

  HRESULT GetField(void* record, LPCOLESTR name, VARIANT* value) override {
    const VarData* field = FindField(name);
    if (!record || !value || !field) return !field ? TYPE_E_ELEMENTNOTFOUND : E_INVALIDARG;
    VARIANT copy;
    HRESULT hr = ReadField(record, *field, &copy);
    if (FAILED(hr)) return hr;
    VariantClear(value);
    *value = copy;
    return S_OK;
  }
  HRESULT GetFieldNoCopy(void*, LPCOLESTR, VARIANT*, void**) override { return E_NOTIMPL; }
  HRESULT PutField(ULONG, void* record, LPCOLESTR name, VARIANT* value) override {
    const VarData* field = FindField(name);
    if (!record || !value || !field) return !field ? TYPE_E_ELEMENTNOTFOUND : E_INVALIDARG;
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = field->type.vt == VT_VARIANT
                     ? VariantCopyInd(&converted, value)
                     : VariantChangeType(&converted, value, 0, field->type.vt);
    if (SUCCEEDED(hr)) hr = WriteField(record, *field, converted);
    VariantClear(&converted);
    return hr;
  }
  HRESULT PutFieldNoCopy(ULONG, void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

  HRESULT GetFieldNames(ULONG* count, BSTR* names) override {
    if (!count) return E_INVALIDARG;
    if (!names) {
      *count = static_cast<ULONG>(info_.vars.size());
      return S_OK;
    }
    ULONG stored = 0;
    for (const VarData& field : info_.vars) {
      if (stored >= *count) break;
      names[stored++] = AllocBstr(field.name);
    }
    *count = stored;
    return S_OK;
  }

  BOOL IsMatchingType(IRecordInfo* other) override {
    if (!other) return FALSE;
    GUID guid;
    BSTR name = nullptr;
    if (FAILED(other->GetGuid(&guid)) || FAILED(other->GetName(&name))) return FALSE;
    const bool same = IsEqualGUID(guid, info_.guid) && NamesEqual(BstrView(name), info_.name);
    SysFreeString(name);
    return same ? TRUE : FALSE;
  }

  void* RecordCreate() override {
    void* record = CoTaskMemAlloc(info_.instanceSize);
    if (record) RecordInit(record);
    return record;
  }

  HRESULT RecordCreateCopy(void* source, void** copy) override {
    if (!source || !copy) return E_INVALIDARG;
    *copy = RecordCreate();
    if (!*copy) return E_OUTOFMEMORY;
    HRESULT hr = RecordCopy(source, *copy);
    if (FAILED(hr)) {
      RecordDestroy(*copy);
      *copy = nullptr;
    }
    return hr;
  }

  HRESULT RecordDestroy(void* record) override {
    if (!record) return S_OK;
    RecordClear(record);
    CoTaskMemFree(record);
    return S_OK;
  }

 private:
  ~RecordInfoImpl() = default;

  static void* Field(void* record, const VarData& field) {
    return static_cast<unsigned char*>(record) + field.offset;
  }

  const VarData* FindField(LPCOLESTR name) const {
    if (!name) return nullptr;
    for (const VarData& field : info_.vars) {
      if (NamesEqual(field.name, name)) return &field;
    }
    return nullptr;
  }

  // A field's value as a new VARIANT (a copy).
  static HRESULT ReadField(void* record, const VarData& field, VARIANT* value) {
    VariantInit(value);
    void* at = Field(record, field);
    if (field.type.vt == VT_VARIANT) return VariantCopy(value, static_cast<VARIANT*>(at));
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | field.type.vt;
    ref.byref = at;
    return VariantCopyInd(value, &ref);
  }

  // Stores a copy of a value of the field's type, releasing the old one.
  static HRESULT WriteField(void* record, const VarData& field, const VARIANT& value) {
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantCopy(&copy, &value);
    if (FAILED(hr)) return hr;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | field.type.vt;
    ref.byref = Field(record, field);
    StoreThroughRef(ref, copy);
    return S_OK;
  }

  std::atomic<ULONG> refs_{1};
  ComPtr<ITypeInfo> type_;
  TypeInfoImpl& info_;
};

}  // namespace

}  // namespace oleaut::detail

HRESULT GetRecordInfoFromTypeInfo(ITypeInfo* typeInfo, IRecordInfo** recordInfo) {
  if (!typeInfo || !recordInfo) return E_INVALIDARG;
  *recordInfo = nullptr;
  oleaut::detail::TypeInfoImpl* type = oleaut::detail::AsTypeInfoImpl(typeInfo);
  if (!type) return E_NOTIMPL;
  if (type->kind != TKIND_RECORD) return E_INVALIDARG;
  *recordInfo = new oleaut::detail::RecordInfoImpl(*type);
  return S_OK;
}
