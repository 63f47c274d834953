// TfsXMLItem and TfsXMLDocument for scripts. An element is referred to by
// its own address; an element of a tree belongs to the tree (freeing it
// takes it out of its parent), one made with TfsXMLItem.Create to the
// script until it joins a tree. Every element a script has a reference to
// takes that reference with it when it goes.

#include "platform/automation/value_limits.h"
#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "script/binding/class_variable.h"
#include "script/binding/method_helper.h"
#include "script/library/classes_group.h"
#include "script/library/library_support.h"
#include "script/library/script_streams.h"
#include "script/program/script.h"
#include "script/xml/xml_document.h"

namespace script::library {

namespace {

const Variant kNull = Variant::null();

// A free-standing element (TfsXMLItem.Create), owned by its script.
class XmlItemHolder : public TfsObject {
public:
    void* Instance() noexcept override { return item.get(); }
    std::unique_ptr<TfsXMLItem> item = std::make_unique<TfsXMLItem>();
};

class XmlDocumentObject : public TfsObject {
public:
    TfsXMLDocument document;
};

const TfsClassVariable* gItemClass = nullptr;

TfsXMLItem& item(void* instance)
{
    if (!instance)
        RaiseRuntime("Invalid object reference");
    return *static_cast<TfsXMLItem*>(instance);
}

// The reference of an element; it dies with the element.
Variant refOf(TfsXMLItem* e)
{
    if (!e)
        return Variant(0);
    e->MarkReferenced();
    return MakeObjectRef(e, gItemClass);
}

// An element argument: a reference of the element class, or nil.
TfsXMLItem* itemArg(const Variant& v)
{
    if (v.isEmptyOrNull() || (v.type() == platform::varInteger && v.rawInt32() == 0))
        return nullptr;
    const TfsClassVariable* cls = nullptr;
    void* obj = ResolveObject(v, &cls);
    if (!cls || !gItemClass || !cls->IsA(*gItemClass))
        RaiseRuntime("Invalid class typecast");
    return static_cast<TfsXMLItem*>(obj);
}

// An element about to join a tree: a free-standing one leaves its script's
// keeping (the tree owns it from now on).
TfsXMLItem* adopted(const Variant& v)
{
    TfsXMLItem* e = itemArg(v);
    if (!e)
        RaiseRuntime("Invalid object reference");
    if (std::unique_ptr<TfsObject> holder = ObjectStore::Disown(e))
        static_cast<XmlItemHolder&>(*holder).item.release();
    return e;
}

TfsXMLDocument& document(void* instance)
{
    return Self<XmlDocumentObject>(instance).document;
}

} // namespace

void RegisterXmlClasses(TfsScript& scope)
{
    TfsXMLItem::Gone = [](TfsXMLItem* e) noexcept { ReleaseObject(e); };

    TfsClassVariable* c = scope.AddClass("TfsXMLItem", "TObject", [] { return std::make_unique<XmlItemHolder>(); });
    if (!c)
        return;
    gItemClass = c;
    // An element of a tree is freed out of its tree; a root of a document
    // only with the document.
    c->FreeInstance = [](void* instance) {
        auto* e = static_cast<TfsXMLItem*>(instance);
        if (!e->Parent())
            return false;
        delete e;
        return true;
    };
    c->AddMethod("function Add: TfsXMLItem",
                 [](void* i, TfsClassVariable*, const std::string&, Args&) { return refOf(&item(i).Add()); });
    c->AddMethod("procedure AddItem(Item: TfsXMLItem)", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        TfsXMLItem& self = item(i);
        TfsXMLItem* child = itemArg(a[0]);
        if (!child)
            RaiseRuntime("Invalid object reference");
        // Checked before the element leaves its keeping.
        for (const TfsXMLItem* p = &self; p; p = p->Parent())
            if (p == child)
                RaiseRuntime("An element cannot be added to itself or to one of its descendants");
        self.AddItem(adopted(a[0]));
        return kNull;
    });
    c->AddMethod("procedure InsertItem(Index: Integer; Item: TfsXMLItem)",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     TfsXMLItem& self = item(i);
                     TfsXMLItem* child = itemArg(a[1]);
                     if (!child)
                         RaiseRuntime("Invalid object reference");
                     for (const TfsXMLItem* p = &self; p; p = p->Parent())
                         if (p == child)
                             RaiseRuntime("An element cannot be added to itself or to one of its descendants");
                     int index = a[0].toInt32();
                     if (index < 0 || index > self.Count() - (child->Parent() == &self ? 1 : 0))
                         RaiseRuntime("List index out of bounds (" + std::to_string(index) + ")");
                     self.InsertItem(index, adopted(a[1]));
                     return kNull;
                 });
    c->AddMethod("function Find(const Name: String): Integer",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     return Variant(item(i).Find(a[0].toString()));
                 });
    c->AddMethod("function FindItem(const Name: String): TfsXMLItem",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     return refOf(&item(i).FindItem(a[0].toString()));
                 });
    c->AddMethod("function Prop(const Name: String): String",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     return Variant(item(i).Prop(a[0].toString()));
                 });
    c->AddMethod("function Root: TfsXMLItem",
                 [](void* i, TfsClassVariable*, const std::string&, Args&) { return refOf(&item(i).Root()); });
    c->AddMethod("procedure Clear", [](void* i, TfsClassVariable*, const std::string&, Args&) {
        item(i).Clear();
        return kNull;
    });
    c->AddMethod("procedure Assign(Item: TfsXMLItem)", [](void* i, TfsClassVariable*, const std::string&, Args& a) {
        TfsXMLItem& self = item(i);
        TfsXMLItem* from = itemArg(a[0]);
        if (!from)
            RaiseRuntime("Invalid object reference");
        // Copied first: the source may be a descendant that the copy frees.
        TfsXMLItem copy;
        copy.Assign(*from);
        self.Assign(copy);
        return kNull;
    });
    c->AddProperty("Count", "Integer",
                   [](void* i, TfsClassVariable*, const std::string&) { return Variant(item(i).Count()); });
    c->AddProperty(
        "Name", "String", [](void* i, TfsClassVariable*, const std::string&) { return Variant(item(i).Name()); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { item(i).SetName(v.toString()); });
    c->AddProperty(
        "Text", "String", [](void* i, TfsClassVariable*, const std::string&) { return Variant(item(i).Text()); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { item(i).SetText(v.toString()); });
    c->AddProperty("Parent", "TfsXMLItem",
                   [](void* i, TfsClassVariable*, const std::string&) { return refOf(item(i).Parent()); });
    // Data is the user's: a number kept with the element, never followed.
    c->AddProperty(
        "Data", "Integer",
        [](void* i, TfsClassVariable*, const std::string&) {
            return Variant(static_cast<int>(reinterpret_cast<std::intptr_t>(item(i).Data)));
        },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) {
            item(i).Data = reinterpret_cast<void*>(static_cast<std::intptr_t>(v.toInt32()));
        });
    c->AddDefaultProperty(
        "Items", "Integer", "TfsXMLItem",
        [](void* i, TfsClassVariable*, const std::string&, Args& a) { return refOf(&item(i).Items(a[0].toInt32())); },
        true);

    TfsClassVariable* d =
        scope.AddClass("TfsXMLDocument", "TObject", [] { return std::make_unique<XmlDocumentObject>(); });
    if (!d)
        return;
    d->AddMethod("procedure LoadFromFile(const FileName: String)",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     document(i).LoadFromText(ReadScriptData(a[0]));
                     return kNull;
                 });
    d->AddMethod("procedure SaveToFile(const FileName: String)",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     WriteScriptData(a[0], document(i).SaveToText());
                     return kNull;
                 });
    d->AddMethod("procedure LoadFromStream(Stream: TStream)",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     TfsStream* s = ObjectArg<TfsStream>(a[0]);
                     if (!s)
                         RaiseRuntime("Invalid object reference");
                     document(i).LoadFromText(s->Rest());
                     return kNull;
                 });
    d->AddMethod("procedure SaveToStream(Stream: TStream)",
                 [](void* i, TfsClassVariable*, const std::string&, Args& a) {
                     TfsStream* s = ObjectArg<TfsStream>(a[0]);
                     if (!s)
                         RaiseRuntime("Invalid object reference");
                     s->Write(document(i).SaveToText());
                     return kNull;
                 });
    d->AddProperty("Root", "TfsXMLItem",
                   [](void* i, TfsClassVariable*, const std::string&) { return refOf(&document(i).Root()); });
    d->AddProperty(
        "AutoIndent", "Boolean",
        [](void* i, TfsClassVariable*, const std::string&) { return Variant(document(i).AutoIndent); },
        [](void* i, TfsClassVariable*, const std::string&, const Variant& v) { document(i).AutoIndent = v.toBool(); });
}

void UnregisterXmlClasses() noexcept
{
    TfsXMLItem::Gone = nullptr;
    gItemClass = nullptr;
}

} // namespace script::library
