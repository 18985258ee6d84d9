// IRecordInfo: what a VARIANT of type VT_RECORD uses to copy and free its record.
#pragma once

#include "oleaut/typeinfo.h"

struct IRecordInfo : IUnknown {
  static constexpr const IID& iid = IID_IRecordInfo;
  virtual HRESULT RecordInit(void* record) = 0;
  virtual HRESULT RecordClear(void* record) = 0;
  virtual HRESULT RecordCopy(void* existing, void* copy) = 0;
  virtual HRESULT GetGuid(GUID* guid) = 0;
  virtual HRESULT GetName(BSTR* name) = 0;
  virtual HRESULT GetSize(ULONG* size) = 0;
  virtual HRESULT GetTypeInfo(ITypeInfo** typeInfo) = 0;
  virtual HRESULT GetField(void* record, LPCOLESTR field, VARIANT* value) = 0;
  virtual HRESULT GetFieldNoCopy(void* record, LPCOLESTR field, VARIANT* value,
                                 void** data) = 0;
  virtual HRESULT PutField(ULONG flags, void* record, LPCOLESTR field, VARIANT* value) = 0;
  virtual HRESULT PutFieldNoCopy(ULONG flags, void* record, LPCOLESTR field,
                                 VARIANT* value) = 0;
  virtual HRESULT GetFieldNames(ULONG* count, BSTR* names) = 0;
  virtual BOOL IsMatchingType(IRecordInfo* other) = 0;
  virtual void* RecordCreate() = 0;
  virtual HRESULT RecordCreateCopy(void* source, void** copy) = 0;
  virtual HRESULT RecordDestroy(void* record) = 0;

 protected:
  ~IRecordInfo() = default;
};

// The record info of a TKIND_RECORD type (whose fields are VAR_PERINSTANCE variables of
// basic types, BSTR, VARIANT or interfaces).
HRESULT GetRecordInfoFromTypeInfo(ITypeInfo* typeInfo, IRecordInfo** recordInfo);
