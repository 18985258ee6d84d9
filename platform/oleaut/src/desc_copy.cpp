// Copies of descriptions for callers of GetFuncDesc, GetVarDesc, GetTypeAttr and Bind.
// Each copy is one block whose first member is the Windows structure; the rest holds the
// storage its pointers point into, freed with it.
#include <deque>
#include <memory>
#include <vector>

#include "type_model.h"
#include "variant_types.h"

namespace oleaut::detail {

namespace {

struct DescStorage {
  std::deque<TYPEDESC> types;
  std::vector<std::unique_ptr<unsigned char[]>> arrays;
  std::vector<ELEMDESC> params;
  std::deque<PARAMDESCEX> defaults;
  std::deque<VARIANT> values;

  ~DescStorage() {
    for (PARAMDESCEX& d : defaults) VariantClear(&d.varDefaultValue);
    for (VARIANT& v : values) VariantClear(&v);
  }
};

void FillTypeDesc(const DeclType& type, TYPEDESC* out, DescStorage& storage) {
  out->vt = type.vt;
  out->lptdesc = nullptr;
  if ((type.vt == VT_PTR || type.vt == VT_SAFEARRAY) && type.inner) {
    TYPEDESC& inner = storage.types.emplace_back();
    FillTypeDesc(*type.inner, &inner, storage);
    out->lptdesc = &inner;
  } else if (type.vt == VT_CARRAY && type.inner) {
    const std::size_t dims = type.bounds.empty() ? 1 : type.bounds.size();
    const std::size_t bytes = sizeof(ARRAYDESC) + (dims - 1) * sizeof(SAFEARRAYBOUND);
    auto& block = storage.arrays.emplace_back(new unsigned char[bytes]());
    auto* array = reinterpret_cast<ARRAYDESC*>(block.get());
    FillTypeDesc(*type.inner, &array->tdescElem, storage);
    array->cDims = static_cast<USHORT>(type.bounds.size());
    SAFEARRAYBOUND* bounds = array->rgbounds;
    for (std::size_t i = 0; i < type.bounds.size(); ++i) bounds[i] = type.bounds[i];
    out->lpadesc = array;
  } else if (type.vt == VT_USERDEFINED) {
    out->hreftype = type.href;
  }
}

void FillParam(const ParamData& param, ELEMDESC* out, DescStorage& storage) {
  FillTypeDesc(param.type, &out->tdesc, storage);
  out->paramdesc.wParamFlags = param.flags;
  out->paramdesc.pparamdescex = nullptr;
  if (param.flags & PARAMFLAG_FHASDEFAULT) {
    PARAMDESCEX& ex = storage.defaults.emplace_back();
    ex.cBytes = sizeof(PARAMDESCEX);
    VariantInit(&ex.varDefaultValue);
    VariantCopy(&ex.varDefaultValue, param.defaultValue.get());
    out->paramdesc.pparamdescex = &ex;
  }
}

template <class Desc>
struct Block {
  Desc desc;
  DescStorage* storage;
};

template <class Desc>
Desc* NewBlock(DescStorage** storage) {
  auto* block = new Block<Desc>{};
  block->storage = new DescStorage;
  *storage = block->storage;
  return &block->desc;
}

template <class Desc>
void DeleteBlock(Desc* desc) {
  if (!desc) return;
  auto* block = reinterpret_cast<Block<Desc>*>(desc);
  delete block->storage;
  delete block;
}

}  // namespace

FUNCDESC* CopyFuncDesc(const FuncData& func) {
  DescStorage* storage;
  FUNCDESC* desc = NewBlock<FUNCDESC>(&storage);
  desc->memid = func.id;
  desc->funckind = FUNC_DISPATCH;
  desc->invkind = func.kind;
  desc->callconv = CC_STDCALL;
  desc->cParams = static_cast<SHORT>(func.params.size());
  desc->cParamsOpt = func.optionalCount;
  desc->wFuncFlags = func.flags;
  storage->params.resize(func.params.size());
  for (std::size_t i = 0; i < func.params.size(); ++i) {
    FillParam(func.params[i], &storage->params[i], *storage);
  }
  desc->lprgelemdescParam = storage->params.empty() ? nullptr : storage->params.data();
  FillTypeDesc(func.result, &desc->elemdescFunc.tdesc, *storage);
  return desc;
}

void FreeFuncDesc(FUNCDESC* desc) { DeleteBlock(desc); }

VARDESC* CopyVarDesc(const VarData& var) {
  DescStorage* storage;
  VARDESC* desc = NewBlock<VARDESC>(&storage);
  desc->memid = var.id;
  desc->varkind = var.kind;
  desc->wVarFlags = var.flags;
  FillTypeDesc(var.type, &desc->elemdescVar.tdesc, *storage);
  if (var.kind == VAR_CONST) {
    VARIANT& value = storage->values.emplace_back();
    VariantInit(&value);
    VariantCopy(&value, var.value.get());
    desc->lpvarValue = &value;
  } else {
    desc->oInst = var.offset;
  }
  return desc;
}

void FreeVarDesc(VARDESC* desc) { DeleteBlock(desc); }

TYPEATTR* CopyTypeAttr(const TypeInfoImpl& type) {
  DescStorage* storage;
  TYPEATTR* attr = NewBlock<TYPEATTR>(&storage);
  const TypeLibImpl& lib = type.lib();
  attr->guid = type.guid;
  attr->lcid = lib.lcid;
  attr->memidConstructor = MEMBERID_NIL;
  attr->memidDestructor = MEMBERID_NIL;
  attr->cbSizeInstance = type.instanceSize;
  attr->typekind = type.kind;
  attr->cFuncs = static_cast<WORD>(type.funcs.size());
  attr->cVars = static_cast<WORD>(type.vars.size());
  attr->cImplTypes = static_cast<WORD>(type.impls.size());
  attr->cbSizeVft = type.kind == TKIND_DISPATCH ? 7 * sizeof(void*) : 0;
  attr->cbAlignment = type.alignment;
  attr->wTypeFlags = type.typeFlags;
  attr->wMajorVerNum = lib.major;
  attr->wMinorVerNum = lib.minor;
  if (type.kind == TKIND_ALIAS) {
    FillTypeDesc(type.aliased, &attr->tdescAlias, *storage);
  } else {
    attr->tdescAlias.vt = VT_EMPTY;
  }
  return attr;
}

void FreeTypeAttr(TYPEATTR* attr) { DeleteBlock(attr); }

namespace {

// Aliases may chain; a chain this deep is a loop.
constexpr int kMaxResolveDepth = 16;

VARTYPE ResolveAt(const TYPEDESC& type, ITypeInfo* scope, int depth) {
  if (depth > kMaxResolveDepth) return VT_UNKNOWN;
  switch (type.vt) {
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    case VT_PTR:
      return type.lptdesc ? ResolveAt(*type.lptdesc, scope, depth + 1) : VARTYPE{VT_UNKNOWN};
    case VT_SAFEARRAY:
      if (!type.lptdesc) return VT_ARRAY | VT_VARIANT;
      return VT_ARRAY | (ResolveAt(*type.lptdesc, scope, depth + 1) & VT_TYPEMASK);
    case VT_CARRAY:
      if (!type.lpadesc) return VT_ARRAY | VT_VARIANT;
      return VT_ARRAY | (ResolveAt(type.lpadesc->tdescElem, scope, depth + 1) & VT_TYPEMASK);
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> target;
      TYPEATTR* attr = nullptr;
      if (!scope || FAILED(scope->GetRefTypeInfo(type.hreftype, target.Put())) || !target ||
          FAILED(target->GetTypeAttr(&attr)) || !attr) {
        return VT_UNKNOWN;
      }
      VARTYPE result = VT_UNKNOWN;
      switch (attr->typekind) {
        case TKIND_ENUM: result = VT_I4; break;
        case TKIND_DISPATCH: case TKIND_COCLASS: result = VT_DISPATCH; break;
        case TKIND_INTERFACE:
          result = (attr->wTypeFlags & TYPEFLAG_FDUAL) ? VT_DISPATCH : VT_UNKNOWN;
          break;
        case TKIND_RECORD: result = VT_RECORD; break;
        case TKIND_ALIAS: result = ResolveAt(attr->tdescAlias, target.Get(), depth + 1); break;
        default: break;
      }
      target->ReleaseTypeAttr(attr);
      return result;
    }
    default:
      return type.vt;
  }
}

}  // namespace

VARTYPE ResolveTypeDesc(const TYPEDESC& type, ITypeInfo* typeInfo) {
  return ResolveAt(type, typeInfo, 0);
}

// Walks the declared type itself (no TYPEDESC copy): the dispatcher asks this for every
// argument of every call.
VARTYPE ResolveVarType(const DeclType& type, ITypeInfo* typeInfo) {
  switch (type.vt) {
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    case VT_PTR:
      return type.inner ? ResolveVarType(*type.inner, typeInfo) : VARTYPE{VT_UNKNOWN};
    case VT_SAFEARRAY:
    case VT_CARRAY:
      if (!type.inner) return VT_ARRAY | VT_VARIANT;
      return VT_ARRAY | (ResolveVarType(*type.inner, typeInfo) & VT_TYPEMASK);
    case VT_USERDEFINED: {
      TYPEDESC desc{};
      desc.vt = VT_USERDEFINED;
      desc.hreftype = type.href;
      return ResolveTypeDesc(desc, typeInfo);
    }
    default:
      return type.vt;
  }
}

}  // namespace oleaut::detail
