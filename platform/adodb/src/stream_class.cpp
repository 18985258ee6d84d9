// The type library of "Adodb.Stream" and the class's registration.
#include "adodb/adodb_stream.h"
#include "oleaut/class_registry.h"
#include "oleaut/typeinfo_builder.h"
#include "stream_object.h"

namespace adodb::detail {

namespace {

using oleaut::OwnedVariant;
using oleaut::TypeSpec;

oleaut::ComPtr<ITypeLib> BuildLibrary() {
  oleaut::TypeLibBuilder lib(u"ADODB", LIBID_ADODB, 6, 1);
  lib.Enum(u"StreamTypeEnum").Value(u"adTypeBinary", adTypeBinary).Value(u"adTypeText", adTypeText);
  lib.Enum(u"LineSeparatorEnum").Value(u"adLF", adLF).Value(u"adCR", adCR).Value(u"adCRLF", adCRLF);
  lib.Enum(u"ObjectStateEnum")
      .Value(u"adStateClosed", adStateClosed)
      .Value(u"adStateOpen", adStateOpen);
  lib.Enum(u"StreamReadEnum").Value(u"adReadAll", adReadAll).Value(u"adReadLine", adReadLine);
  lib.Enum(u"StreamWriteEnum")
      .Value(u"adWriteChar", adWriteChar)
      .Value(u"adWriteLine", adWriteLine);
  lib.Enum(u"StreamOpenOptionsEnum")
      .Value(u"adOpenStreamUnspecified", adOpenStreamUnspecified)
      .Value(u"adOpenStreamAsync", adOpenStreamAsync)
      .Value(u"adOpenStreamFromRecord", adOpenStreamFromRecord);
  lib.Enum(u"ConnectModeEnum")
      .Value(u"adModeUnknown", adModeUnknown)
      .Value(u"adModeRead", adModeRead)
      .Value(u"adModeWrite", adModeWrite)
      .Value(u"adModeReadWrite", adModeReadWrite)
      .Value(u"adModeShareDenyRead", adModeShareDenyRead)
      .Value(u"adModeShareDenyWrite", adModeShareDenyWrite)
      .Value(u"adModeShareExclusive", adModeShareExclusive)
      .Value(u"adModeShareDenyNone", adModeShareDenyNone)
      .Value(u"adModeRecursive", adModeRecursive);

  auto& stream = lib.DispInterface(u"_Stream", IID__Stream).Dual();
  stream.Get(u"Size", VT_I4).Calls(&StreamObject::GetSize);
  stream.Get(u"EOS", VT_BOOL).Calls(&StreamObject::GetEOS);
  stream.Get(u"Position", VT_I4).Calls(&StreamObject::GetPosition);
  stream.Put(u"Position", VT_I4).Calls(&StreamObject::PutPosition);
  stream.Get(u"Type", TypeSpec::Named(u"StreamTypeEnum")).Calls(&StreamObject::GetType);
  stream.Put(u"Type", TypeSpec::Named(u"StreamTypeEnum")).Calls(&StreamObject::PutType);
  stream.Get(u"LineSeparator", TypeSpec::Named(u"LineSeparatorEnum"))
      .Calls(&StreamObject::GetLineSeparator);
  stream.Put(u"LineSeparator", TypeSpec::Named(u"LineSeparatorEnum"))
      .Calls(&StreamObject::PutLineSeparator);
  stream.Get(u"State", TypeSpec::Named(u"ObjectStateEnum")).Calls(&StreamObject::GetState);
  stream.Get(u"Mode", TypeSpec::Named(u"ConnectModeEnum")).Calls(&StreamObject::GetMode);
  stream.Put(u"Mode", TypeSpec::Named(u"ConnectModeEnum")).Calls(&StreamObject::PutMode);
  stream.Get(u"Charset", VT_BSTR).Calls(&StreamObject::GetCharset);
  stream.Put(u"Charset", VT_BSTR).Calls(&StreamObject::PutCharset);
  stream.Method(u"Read")
      .Default(u"NumBytes", VT_I4, OwnedVariant::I4(adReadAll))
      .Returns(VT_VARIANT)
      .Calls(&StreamObject::Read);
  stream.Method(u"Open")
      .Optional(u"Source", VT_VARIANT)
      .Default(u"Mode", TypeSpec::Named(u"ConnectModeEnum"), OwnedVariant::I4(adModeUnknown))
      .Default(u"Options", TypeSpec::Named(u"StreamOpenOptionsEnum"),
               OwnedVariant::I4(adOpenStreamUnspecified))
      .Default(u"UserName", VT_BSTR, OwnedVariant::Text(u""))
      .Default(u"Password", VT_BSTR, OwnedVariant::Text(u""))
      .Calls(&StreamObject::Open);
  stream.Method(u"Close").Calls(&StreamObject::Close);
  stream.Method(u"SkipLine").Calls(&StreamObject::SkipLine);
  stream.Method(u"Write").Param(u"Buffer", VT_VARIANT).Calls(&StreamObject::Write);
  stream.Method(u"SetEOS").Calls(&StreamObject::SetEOS);
  stream.Method(u"Flush").Calls(&StreamObject::Flush);
  stream.Method(u"ReadText")
      .Default(u"NumChars", VT_I4, OwnedVariant::I4(adReadAll))
      .Returns(VT_BSTR)
      .Calls(&StreamObject::ReadText);
  stream.Method(u"WriteText")
      .Param(u"Data", VT_BSTR)
      .Default(u"Options", TypeSpec::Named(u"StreamWriteEnum"), OwnedVariant::I4(adWriteChar))
      .Calls(&StreamObject::WriteText);
  lib.CoClass(u"Stream", CLSID_Stream).Implements(u"_Stream");
  return lib.Build();
}

}  // namespace

ITypeInfo* StreamTypeInfo() {
  // Kept for the life of the process, like a registered type library.
  static ITypeLib* const library = BuildLibrary().Detach();
  static ITypeInfo* const info = oleaut::FindTypeInfo(library, u"_Stream").Detach();
  return info;
}

}  // namespace adodb::detail

void RegisterAdodbStream() {
  oleaut::ComClass cls;
  cls.clsid = adodb::CLSID_Stream;
  cls.progIds = {u"ADODB.Stream", u"ADODB.Stream.6.0"};
  cls.factory = []() -> IUnknown* {
    return static_cast<IDispatch*>(new adodb::detail::StreamObject());
  };
  cls.contexts = CLSCTX_INPROC_SERVER;
  oleaut::RegisterComClass(std::move(cls));
}
