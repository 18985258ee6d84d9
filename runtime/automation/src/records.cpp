#include "records.h"

#include <cstring>

#include "codepage/codepage.h"
#include "runtime/frame.h"

namespace runtime::automation {
namespace {

void* PointerOf(const CommandArg& arg, TypeWord type) {
  if (BaseType(arg.type) != type) return nullptr;
  void* data = ArgPointer(arg);
  if (IsHeldElsewhere(arg.type)) return data ? *static_cast<void**>(data) : nullptr;
  return data;
}

}  // namespace

ComObjectRecord* ComObjectOf(const CommandArg& arg) {
  return static_cast<ComObjectRecord*>(PointerOf(arg, types::ComObject));
}

VARIANT* VariantOf(const CommandArg& arg) { return static_cast<VARIANT*>(PointerOf(arg, types::Variant)); }

void ClearRecord(ComObjectRecord& record) {
  if (record.object) {
    if (record.recordData) {
      static_cast<IRecordInfo*>(record.object)->RecordDestroy(record.recordData);
    }
    record.object->Release();
  } else if (record.recordData) {
    FreeBlock(record.recordData);
  }
  record.object = nullptr;
  record.recordData = nullptr;
}

void StoreObject(ComObjectRecord& record, IUnknown* object) {
  if (object) object->AddRef();  // before the clear: the object may be the one held now
  ClearRecord(record);
  record.object = object;
}

BSTR TextToBstr(const char* text) {
  std::u16string wide = codepage::GbkToUtf16(text ? text : "");
  return oleaut::AllocBstr(wide);
}

Text BstrToText(BSTR text) {
  std::string gbk = codepage::Utf16ToGbk(oleaut::BstrView(text));
  return NewText(gbk.data(), gbk.size());
}

}  // namespace runtime::automation

namespace runtime {

void* NewComObjectRecord() {
  void* record = AllocBlock(ComObjectRecordSize);
  std::memset(record, 0, ComObjectRecordSize);
  return record;
}

void* NewVariantBlock() {
  void* block = AllocBlock(VariantBlockSize);
  std::memset(block, 0, VariantBlockSize);
  return block;
}

void FreeComObjectRecord(void* record) {
  if (!record) return;
  automation::ClearRecord(*static_cast<automation::ComObjectRecord*>(record));
  FreeBlock(record);
}

void FreeVariantBlock(void* block) {
  if (!block) return;
  VariantClear(static_cast<VARIANT*>(block));
  FreeBlock(block);
}

}  // namespace runtime
