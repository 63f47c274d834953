#include "script/library/classes_group.h"

#include "platform/text/line_split.h"
#include "script/binding/class_variable.h"
#include "script/binding/method_helper.h"
#include "script/library/component.h"
#include "script/library/library_support.h"
#include "script/library/object_list.h"
#include "script/library/script_streams.h"
#include "script/library/string_list.h"
#include "script/program/script.h"

namespace script {

using platform::Variant;
using library::Args;
using library::ObjectArg;
using library::Self;

namespace {

template <class T>
TfsInstanceFactory make()
{
    return [] { return std::make_unique<T>(); };
}

const Variant kNull = Variant::null();

// ---- TObject, TPersistent ----------------------------------------------------

void registerObject(TfsScript& scope)
{
    TfsClassVariable* c = scope.AddClass("TObject", "", make<TfsObject>());
    if (!c)
        return;
    c->AddConstructor("constructor Create", [](void* inst, TfsClassVariable*, const std::string&, Args&) {
        return inst ? MakeObjectRef(inst, ClassOfObject(inst)) : Variant::null();
    });
    c->AddMethod("procedure Free", [](void* inst, TfsClassVariable*, const std::string&, Args&) {
        if (!inst)
            return kNull; // nil.Free does nothing
        if (IsHostObject(inst))
            RaiseRuntime("Cannot free a host object");
        if (TfsObject* owner = ObjectStore::Owner(inst)) {
            owner->BeforeFree();
            ObjectStore::Free(inst);
            return kNull;
        }
        for (const TfsClassVariable* k = ClassOfObject(inst); k; k = k->Ancestor())
            if (k->FreeInstance) {
                if (!k->FreeInstance(inst))
                    break;
                return kNull;
            }
        RaiseRuntime("Cannot free an object that the host owns");
    });
    c->AddMethod("function ClassName: String", [](void* inst, TfsClassVariable* cls, const std::string&, Args&) {
        const TfsClassVariable* k = inst ? ClassOfObject(inst) : nullptr;
        return Variant((k ? k : cls)->Name);
    });

}

void registerPersistent(TfsScript& scope)
{
    TfsClassVariable* p = scope.AddClass("TPersistent", "TObject", make<TfsObject>());
    if (!p)
        return;
    p->AddMethod("procedure Assign(Source: TPersistent)",
                 [](void* inst, TfsClassVariable* cls, const std::string&, Args& a) {
                     auto* to = dynamic_cast<TfsStringList*>(AsScriptObject(inst));
                     auto* from = dynamic_cast<TfsStringList*>(AsScriptObject(
                         a[0].isEmptyOrNull() || (a[0].type() == platform::varInteger && a[0].rawInt32() == 0)
                             ? nullptr
                             : ResolveObject(a[0])));
                     if (to && from) {
                         to->Assign(*from);
                         return kNull;
                     }
                     const TfsClassVariable* dst = inst ? ClassOfObject(inst) : cls;
                     const TfsClassVariable* src = from ? ClassOfObject(from) : nullptr;
                     std::string srcName = src ? src->Name : a[0].isObject() ? "TObject" : "nil";
                     RaiseRuntime("Cannot assign a " + srcName + " to a " + (dst ? dst->Name : cls->Name));
                 });
}

// ---- TList -------------------------------------------------------------------

void registerList(TfsScript& scope)
{
    TfsClassVariable* c = scope.AddClass("TList", "TObject", make<TfsObjectList>());
    if (!c)
        return;
    auto self = [](void* inst) -> TfsObjectList& { return Self<TfsObjectList>(inst); };
    c->AddMethod("function Add(Item: Pointer): Integer",
                 [self](void* i, TfsClassVariable*, const std::string&, Args& a) { return Variant(self(i).Add(a[0])); });
    c->AddMethod("procedure Clear", [self](void* i, TfsClassVariable*, const std::string&, Args&) {
        self(i).Clear();
        return kNull;
    });
    c->AddMethod("procedure Delete(Index: Integer)", [self](void* i, TfsClassVariable*, const std::string&, Args& a) {
        self(i).Delete(a[0].toInt32());
        return kNull;
    });
    c->AddMethod("function IndexOf(Item: Pointer): Integer",
                 [self](void* i, TfsClassVariable*, const std::string&, Args& a) { return Variant(self(i).IndexOf(a[0])); });
    c->AddMethod("procedure Insert(Index: Integer; Item: Pointer)",
                 [self](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     self(i).Insert(a[0].toInt32(), a[1]);
                     return kNull;
                 });
    c->AddMethod("function Remove(Item: Pointer): Integer",
                 [self](void* i, TfsClassVariable*, const std::string&, Args& a) { return Variant(self(i).Remove(a[0])); });
    c->AddProperty("Count", "Integer",
                   [self](void* i, TfsClassVariable*, const std::string&) { return Variant(self(i).Count()); });
    c->AddDefaultProperty("Items", "Integer", "Pointer",
                          [self](void* i, TfsClassVariable*, const std::string& name, Args& a) {
                              if (name == "ITEMS.SET") {
                                  self(i).Put(a[0].toInt32(), a[1]);
                                  return kNull;
                              }
                              return self(i).Get(a[0].toInt32());
                          });
}

// ---- TStrings, TStringList ---------------------------------------------------

TfsStringList& strings(void* inst)
{
    return Self<TfsStringList>(inst);
}

TfsStream& streamArg(const Variant& v)
{
    TfsStream* s = ObjectArg<TfsStream>(v);
    if (!s)
        RaiseRuntime("Invalid object reference");
    return *s;
}

void registerStrings(TfsScript& scope)
{
    TfsClassVariable* c = scope.AddClass("TStrings", "TPersistent", make<TfsStringList>());
    if (!c)
        return;
    using CB = TfsMethodCallback;
    auto method = [c](const char* decl, CB cb) { c->AddMethod(decl, std::move(cb)); };
    method("function Add(const S: string): Integer", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        return Variant(strings(i).Add(a[0].toString()));
    });
    method("function AddObject(const S: string; AObject: TObject): Integer",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               return Variant(strings(i).Add(a[0].toString(), a[1]));
           });
    method("procedure Clear", [](void* i, TfsClassVariable*, const std::string&, Args&) {
        strings(i).Clear();
        return kNull;
    });
    method("procedure Delete(Index: Integer)", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        strings(i).Delete(a[0].toInt32());
        return kNull;
    });
    method("function IndexOf(const S: string): Integer", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        return Variant(strings(i).IndexOf(a[0].toString()));
    });
    method("function IndexOfName(const Name: string): Integer",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               return Variant(strings(i).IndexOfName(a[0].toString()));
           });
    method("function IndexOfObject(AObject: TObject): Integer",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               return Variant(strings(i).IndexOfObject(a[0]));
           });
    method("procedure Insert(Index: Integer; const S: string)",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               strings(i).Insert(a[0].toInt32(), a[1].toString());
               return kNull;
           });
    method("procedure InsertObject(Index: Integer; const S: string; AObject: TObject)",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               strings(i).Insert(a[0].toInt32(), a[1].toString(), a[2]);
               return kNull;
           });
    method("procedure LoadFromFile(const FileName: string)",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               TfsStringList& list = strings(i);
               list.SetText(library::ReadScriptData(a[0], list.FileFolder));
               return kNull;
           });
    method("procedure LoadFromStream(Stream: TStream)", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        strings(i).SetText(streamArg(a[0]).Rest());
        return kNull;
    });
    method("procedure SaveToFile(const FileName: string)",
           [](void* i, TfsClassVariable*, const std::string&, Args& a) {
               TfsStringList& list = strings(i);
               library::WriteScriptData(a[0], list.Text(), list.FileFolder);
               return kNull;
           });
    method("procedure SaveToStream(Stream: TStream)", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        streamArg(a[0]).Write(strings(i).Text());
        return kNull;
    });
    c->AddProperty(
        "CommaText", "String",
        [](void* i, TfsClassVariable*, const std::string&) { return Variant(strings(i).CommaText()); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { strings(i).SetCommaText(v.toString()); });
    c->AddProperty("Count", "Integer",
                   [](void* i, TfsClassVariable*, const std::string&) { return Variant(strings(i).Count()); });
    c->AddProperty(
        "Text", "String", [](void* i, TfsClassVariable*, const std::string&) { return Variant(strings(i).Text()); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { strings(i).SetText(v.toString()); });
    c->AddIndexProperty(
        "Names", "Integer", "String",
        [](void* i, TfsClassVariable*, const std::string&, Args& a) { return Variant(strings(i).Name(a[0].toInt32())); },
        true);
    c->AddIndexProperty("Objects", "Integer", "TObject",
                        [](void* i, TfsClassVariable*, const std::string& name, Args& a) {
                            if (name == "OBJECTS.SET") {
                                strings(i).PutObject(a[0].toInt32(), a[1]);
                                return kNull;
                            }
                            return strings(i).GetObject(a[0].toInt32());
                        });
    c->AddIndexProperty("Values", "String", "String", [](void* i, TfsClassVariable*, const std::string& name, Args& a) {
        if (name == "VALUES.SET") {
            strings(i).SetValue(a[0].toString(), a[1].toString());
            return kNull;
        }
        return Variant(strings(i).Value(a[0].toString()));
    });
    c->AddDefaultProperty("Strings", "Integer", "String",
                          [](void* i, TfsClassVariable*, const std::string& name, Args& a) {
                              if (name == "STRINGS.SET") {
                                  strings(i).Put(a[0].toInt32(), a[1].toString());
                                  return kNull;
                              }
                              return Variant(strings(i).Get(a[0].toInt32()));
                          });

    TfsClassVariable* l = scope.AddClass("TStringList", "TStrings", make<TfsStringList>());
    if (!l)
        return;
    l->AddMethod("function Find(s: String; var Index: Integer): Boolean",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     int index = 0;
                     bool found = strings(i).Find(a[0].toString(), index);
                     a[1] = Variant(index);
                     return Variant(found);
                 });
    l->AddMethod("procedure Sort", [](void* i, TfsClassVariable*, const std::string&, Args&) {
        strings(i).Sort();
        return kNull;
    });
    l->AddProperty(
        "Duplicates", "TDuplicates",
        [](void* i, TfsClassVariable*, const std::string&) {
            return Variant(static_cast<int>(strings(i).GetDuplicates()));
        },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) {
            int d = v.toInt32();
            if (d < 0 || d > 2)
                RaiseRuntime("Invalid TDuplicates value: " + std::to_string(d));
            strings(i).SetDuplicates(static_cast<TfsStringList::Duplicates>(d));
        });
    l->AddProperty(
        "Sorted", "Boolean", [](void* i, TfsClassVariable*, const std::string&) { return Variant(strings(i).Sorted()); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { strings(i).SetSorted(v.toBool()); });
}

// ---- streams -----------------------------------------------------------------

TfsStream& stream(void* inst)
{
    return Self<TfsStream>(inst);
}

void registerStreams(TfsScript& scope)
{
    TfsClassVariable* c = scope.AddClass("TStream", "TObject", make<TfsMemoryStream>());
    if (!c)
        return;
    c->AddMethod("function Read(var Buffer: string; Count: Longint): Longint",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     std::string bytes = stream(i).Read(library::Int64Arg(a[1]));
                     int n = static_cast<int>(bytes.size());
                     a[0] = Variant(bytes);
                     return Variant(n);
                 });
    c->AddMethod("function Write(const Buffer: string; Count: Longint): Longint",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     std::string bytes = a[0].toString();
                     std::int64_t count = library::Int64Arg(a[1]);
                     std::size_t n = count <= 0 ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(
                                                             static_cast<std::uint64_t>(count), bytes.size()));
                     return Variant(static_cast<int>(stream(i).Write(std::string_view(bytes).substr(0, n))));
                 });
    c->AddMethod("function Seek(Offset: Longint; Origin: Word): Longint",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     return Variant(static_cast<int>(stream(i).Seek(library::Int64Arg(a[0]), a[1].toInt32())));
                 });
    c->AddMethod("function CopyFrom(Source: TStream; Count: Longint): Longint",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     TfsStream& to = stream(i);
                     TfsStream& from = streamArg(a[0]);
                     return Variant(static_cast<int>(to.CopyFrom(from, library::Int64Arg(a[1]))));
                 });
    c->AddProperty(
        "Position", "Longint",
        [](void* i, TfsClassVariable*, const std::string&) { return Variant(static_cast<int>(stream(i).Position())); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) {
            stream(i).SetPosition(library::Int64Arg(v));
        });
    c->AddProperty(
        "Size", "Longint",
        [](void* i, TfsClassVariable*, const std::string&) { return Variant(static_cast<int>(stream(i).Size())); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { stream(i).SetSize(library::Int64Arg(v)); });

    if (TfsClassVariable* f = scope.AddClass("TFileStream", "TStream", make<TfsFileStream>()))
        f->AddConstructor("constructor Create(Filename: String; Mode: Word)",
                      [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                          Self<TfsFileStream>(i).Open(a[0].toString(), a[1].toInt32());
                          return MakeObjectRef(i, ClassOfObject(i));
                      });

    TfsClassVariable* m = scope.AddClass("TMemoryStream", "TStream", make<TfsMemoryStream>());
    if (!m)
        return;
    auto memory = [](void* i) -> TfsMemoryStream& { return Self<TfsMemoryStream>(i); };
    m->AddMethod("procedure Clear", [memory](void* i, TfsClassVariable*, const std::string&, Args&) {
        memory(i).Clear();
        return kNull;
    });
    m->AddMethod("procedure LoadFromStream(Stream: TStream)",
                 [memory](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     TfsStream& from = streamArg(a[0]);
                     from.SetPosition(0);
                     memory(i).ReplaceBytes(from.Rest());
                     return kNull;
                 });
    m->AddMethod("procedure LoadFromFile(const FileName: string)",
                 [memory](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     memory(i).ReplaceBytes(library::ReadScriptData(a[0]));
                     return kNull;
                 });
    m->AddMethod("procedure SaveToStream(Stream: TStream)",
                 [memory](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     streamArg(a[0]).Write(memory(i).Bytes());
                     return kNull;
                 });
    m->AddMethod("procedure SaveToFile(const FileName: string)",
                 [memory](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     library::WriteScriptData(a[0], memory(i).Bytes());
                     return kNull;
                 });
}

// ---- TComponent --------------------------------------------------------------

void registerComponent(TfsScript& scope)
{
    TfsClassVariable* c = scope.AddClass("TComponent", "TPersistent", make<TfsComponent>());
    if (!c)
        return;
    auto self = [](void* i) -> TfsComponent& { return Self<TfsComponent>(i); };
    c->AddConstructor("constructor Create(AOwner: TComponent)",
                      [self](void* i, TfsClassVariable*, const std::string&, Args& a) {
                          self(i).SetOwner(ObjectArg<TfsComponent>(a[0]));
                          return MakeObjectRef(i, ClassOfObject(i));
                      });
    c->AddProperty("Owner", "TComponent", [self](void* i, TfsClassVariable*, const std::string&) {
        TfsComponent* o = self(i).Owner();
        return o ? MakeObjectRef(o, ClassOfObject(o)) : Variant(0);
    });
    c->AddProperty(
        "Name", "String", [self](void* i, TfsClassVariable*, const std::string&) { return Variant(self(i).Name); },
        [self](void* i, TfsClassVariable*, const std::string&, const Variant& v) { self(i).Name = v.toString(); });
    c->AddProperty(
        "Tag", "Integer", [self](void* i, TfsClassVariable*, const std::string&) { return Variant(self(i).Tag); },
        [self](void* i, TfsClassVariable*, const std::string&, const Variant& v) { self(i).Tag = v.toInt32(); });
}

} // namespace

TfsClassesGroup::TfsClassesGroup(TfsScript& scope) : TfsRegistrationOwner(scope)
{
    Stamp stamp(*this);
    struct Constant {
        const char* name;
        int value;
    };
    static const Constant kConstants[] = {
        {"fmCreate", 65535},        {"fmOpenRead", 0},        {"fmOpenWrite", 1},      {"fmOpenReadWrite", 2},
        {"fmShareExclusive", 16},   {"fmShareDenyWrite", 32}, {"fmShareDenyNone", 64}, {"soFromBeginning", 0},
        {"soFromCurrent", 1},       {"soFromEnd", 2},
    };
    for (const Constant& k : kConstants)
        scope.AddConst(k.name, "Integer", Variant(k.value));
    scope.AddEnum("TDuplicates", "dupIgnore, dupAccept, dupError");
    registerObject(scope);
    registerPersistent(scope);
    registerList(scope);
    registerStrings(scope);
    registerStreams(scope);
    registerComponent(scope);
    library::RegisterXmlClasses(scope);
}

TfsClassesGroup::~TfsClassesGroup()
{
    library::UnregisterXmlClasses();
}

} // namespace script
