// The host binding: what a host registers (types, constants, variables,
// objects, enumerations, routines, classes with constructors, methods,
// properties, indexed and default properties, events), the declaration
// texts, the callback contracts, owner stamps, late binding and the event
// adapters.

#include "tests/script/run_support.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/dispatch_exception.h"
#include "script/binding/class_variable.h"
#include "script/binding/declaration.h"
#include "script/binding/event_helper.h"
#include "script/binding/host_ui.h"
#include "script/binding/method_helper.h"
#include "script/binding/object_refs.h"
#include "script/binding/registration_owner.h"
#include "script/library/standard_library.h"
#include "script/library/string_list.h"
#include "script/script_error.h"

#include <gtest/gtest.h>

using platform::Variant;
using namespace script;

namespace {

TfsScript& global()
{
    return InstallStandardLibrary();
}

struct Recorded {
    std::string name;
    std::vector<Variant> args;
    bool hadInstance = false;
};

// A host's own widget-like class with a click event and a key event.
struct Button : TfsObject {
    TfsNotifyEvent* onClick = nullptr;
    TfsKeyPressEvent* onKeyPress = nullptr;
    TfsCanResizeEvent* onCanResize = nullptr;
    int clicks = 0;
};

Button& button(void* inst)
{
    return *dynamic_cast<Button*>(AsScriptObject(inst));
}

// Collects what the host's UI was asked.
class RecordingUi : public TfsHostUi {
public:
    RecordingUi() { SetHostUi(this); }
    ~RecordingUi() override { SetHostUi(nullptr); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool InputQuery(const std::string&, const std::string&, std::string& value) override
    {
        if (answer.empty())
            return false;
        value = answer;
        return true;
    }
    int MessageDlg(const std::string& text, int, int buttons) override
    {
        messages.push_back(text);
        lastButtons = buttons;
        return mrYes;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> messages, errors;
    std::string answer;
    int lastButtons = 0;
};

} // namespace

TEST(Declarations, TheReaderOfDeclarationTexts)
{
    TfsDeclaration d = ParseDeclaration("function Copy(s: String; from, count: Integer): String", global());
    EXPECT_TRUE(d.isFunction);
    EXPECT_EQ(d.name, "Copy");
    EXPECT_EQ(d.resultType, "String");
    ASSERT_EQ(d.params.size(), 3u);
    EXPECT_EQ(d.params[1].name, "from");
    EXPECT_EQ(d.params[2].typeName, "Integer");

    d = ParseDeclaration("procedure Inc(var i: Integer; incr: Integer = 1)", global());
    EXPECT_FALSE(d.isFunction);
    EXPECT_TRUE(d.params[0].byRef);
    EXPECT_FALSE(d.params[1].byRef);
    EXPECT_TRUE(d.params[1].hasDefault);
    EXPECT_EQ(d.params[1].defaultValue.toString(), "1");

    // Only the last name of a group has the default; a constant's name
    // gives its value, an unknown name Null; "const" is ignored.
    d = ParseDeclaration("procedure P(const a, b: Boolean = True; c: String = 'x'; e: Variant = Nothing)", global());
    EXPECT_FALSE(d.params[0].hasDefault);
    EXPECT_TRUE(d.params[1].hasDefault);
    EXPECT_EQ(d.params[1].defaultValue.toString(), "True");
    EXPECT_EQ(d.params[2].defaultValue.toString(), "x");
    EXPECT_TRUE(d.params[3].defaultValue.isNull());

    // A procedure with a result after its colon is still a procedure; a
    // trailing ";" does not hide a function's result.
    d = ParseDeclaration("procedure Delete(var s: String; from, count: Integer): String", global());
    EXPECT_FALSE(d.isFunction);
    d = ParseDeclaration("function Now: TDateTime;", global());
    EXPECT_EQ(d.resultType, "TDateTime");
    d = ParseDeclaration("constructor Create(AOwner: TComponent)", global());
    EXPECT_EQ(d.kind, "constructor");

    EXPECT_THROW(ParseDeclaration("function F(a Integer): Integer", global()), ScriptError);
    EXPECT_THROW(ParseDeclaration("", global()), ScriptError);

    // Names that are no types are classes of that name.
    std::string typeName;
    EXPECT_EQ(ResolveTypeName("oleVariant", global(), typeName), fvtClass);
    EXPECT_EQ(typeName, "oleVariant");
    EXPECT_EQ(ResolveTypeName("extended", global(), typeName), fvtFloat);
    EXPECT_EQ(ResolveTypeName("TDuplicates", global(), typeName), fvtEnum);
    EXPECT_EQ(typeName, "TDuplicates");
}

TEST(Registration, EntriesOfEveryKind)
{
    TfsScript host(&global());
    EXPECT_NE(host.AddConst("Answer", "Integer", Variant(42)), nullptr);
    EXPECT_EQ(host.AddConst("Answer", "Integer", Variant(1)), nullptr); // the name exists
    host.AddVariable("Title", "String", Variant(7)); // a String variable keeps text
    host.AddType("TMyNumber", fvtFloat);
    host.AddEnum("TColour", "Red, Green , Blue");
    host.AddEnumSet("TStyle", "Bold, Italic, Underline");
    scripttest::Program p = scripttest::Compile(
        "var x: TMyNumber; c: TColour; s: Variant; t: String; b: Integer;"
        "begin x := Answer / 4; c := Blue; s := [Bold, Underline]; t := Title + '!'; b := Italic; end.",
        "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("x"), "10.5");
    EXPECT_EQ(p.Var("c"), "2");
    EXPECT_EQ(p.Var("t"), "7!");
    EXPECT_EQ(p.Var("b"), "2");
    // Constants cannot be assigned; an enumeration type takes its own
    // members and Integers.
    EXPECT_EQ(scripttest::Compile("begin Answer := 1; end.", "PascalScript", &host).error,
              "1:7: Left side cannot be assigned to");
    EXPECT_EQ(scripttest::Compile("var c: TColour; begin c := 'x'; end.", "PascalScript", &host).error,
              "1:28: Incompatible types: 'TColour', 'String'");
}

TEST(Registration, RoutinesAndTheirCallbacks)
{
    TfsScript host(&global());
    std::vector<Recorded> calls;
    auto record = [&](void* inst, TfsClassVariable*, const std::string& name, std::vector<Variant>& args) {
        calls.push_back({name, args, inst != nullptr});
        return Variant(static_cast<int>(args.size()));
    };
    host.AddMethod("function Probe(a: Integer; var b: String; c: Integer = 9): Integer", record, "ctTest");
    host.AddMethod("procedure Swap(var a, b: Variant)",
                   [](void*, TfsClassVariable*, const std::string&, std::vector<Variant>& args) {
                       std::swap(args[0], args[1]);
                       return Variant::null();
                   });
    host.AddMethod("procedure Nothing", nullptr);
    scripttest::Program p = scripttest::Compile(
        "var r, n: Integer; s: String; x, y: Variant; arr: array[0..1] of Variant;"
        "begin s := 'in'; r := Probe(1, s); x := 1; y := 'two'; Swap(x, y); arr[0] := 5; arr[1] := 6;"
        "Swap(arr[0], arr[1]); Nothing; n := arr[0]; end.",
        "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    ASSERT_EQ(calls.size(), 1u);
    // The upper-case name; the arguments in declaration order with the
    // default filled in; no instance for a global routine.
    EXPECT_EQ(calls[0].name, "PROBE");
    ASSERT_EQ(calls[0].args.size(), 3u);
    EXPECT_EQ(calls[0].args[1].toString(), "in");
    EXPECT_EQ(calls[0].args[2].toString(), "9");
    EXPECT_FALSE(calls[0].hadInstance);
    EXPECT_EQ(p.Var("r"), "3");
    EXPECT_EQ(p.Var("x"), "two");
    EXPECT_EQ(p.Var("y"), "1");
    EXPECT_EQ(p.Var("n"), "6");
    // The builder checks what the declaration says.
    EXPECT_EQ(scripttest::Compile("begin Probe; end.", "PascalScript", &host).error, "1:12: Not enough actual parameters");
    EXPECT_EQ(scripttest::Compile("begin Probe(1, 'x', 2, 3); end.", "PascalScript", &host).error,
              "1:12: Too many actual parameters");
    EXPECT_EQ(scripttest::Compile("begin Probe('a', 'x'); end.", "PascalScript", &host).error,
              "1:13: Incompatible types: 'Integer', 'String'");
}

TEST(Registration, ClassesWithMembers)
{
    TfsScript host(&global());
    TfsClassVariable* c = host.AddClass("TButton", "TObject", [] { return std::make_unique<Button>(); });
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(host.AddClass("TButton", "TObject"), nullptr);
    c->AddMethod("procedure Click", [](void* inst, TfsClassVariable*, const std::string&, std::vector<Variant>&) {
        Button& b = button(inst);
        ++b.clicks;
        if (b.onClick)
            b.onClick->DoEvent(MakeObjectRef(&b, ClassOfObject(&b)));
        return Variant::null();
    });
    c->AddProperty("Clicks", "Integer",
                   [](void* inst, TfsClassVariable*, const std::string&) { return Variant(button(inst).clicks); });
    std::map<std::string, std::string> cells;
    c->AddIndexProperty("Cell", "Integer, String", "String",
                        [&](void*, TfsClassVariable*, const std::string& name, std::vector<Variant>& args) {
                            std::string key = args[0].toString() + "/" + args[1].toString();
                            if (name == "CELL.SET") {
                                EXPECT_EQ(args.size(), 3u); // the value comes last
                                cells[key] = args[2].toString();
                                return Variant::null();
                            }
                            EXPECT_EQ(name, "CELL.GET");
                            return Variant(cells[key]);
                        });
    c->AddIndexProperty(
        "Fixed", "Integer", "Integer",
        [](void*, TfsClassVariable*, const std::string&, std::vector<Variant>& args) { return args[0]; }, true);
    scripttest::Program p = scripttest::Compile(
        "var b: TButton; s, n: Variant; k: String;"
        "begin b := TButton.Create; b.Click; b.Click; n := b.Clicks; b.Cell[2, 'x'] := 'hello'; s := b.Cell[2, 'x'];"
        "k := b.ClassName; b.Free; end.",
        "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "2");
    EXPECT_EQ(p.Var("s"), "hello");
    EXPECT_EQ(p.Var("k"), "TButton");
    EXPECT_EQ(cells["2/x"], "hello");
    // A read-only property and a read-only indexed property.
    EXPECT_EQ(scripttest::Compile("var b: TButton; begin b.Clicks := 1; end.", "PascalScript", &host).error,
              "1:23: Left side cannot be assigned to");
    EXPECT_EQ(scripttest::Compile("var b: TButton; begin b.Fixed[1] := 1; end.", "PascalScript", &host).error,
              "1:23: Left side cannot be assigned to");
    // A class as a type cast: a reference of another class is refused
    // before it reaches this class's callbacks.
    p = scripttest::Compile("var l: TStringList; begin l := TStringList.Create; TButton(l).Click; end.", "PascalScript",
                            &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "Invalid class typecast");
}

TEST(Registration, ObjectsOfTheHost)
{
    TfsScript host(&global());
    TfsStringList list;
    list.Add("one");
    host.AddObject("Output", &list, "TStringList");
    scripttest::Program p =
        scripttest::Compile("var n: Integer; begin Output.Add('two'); n := Output.Count; end.", "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "2");
    EXPECT_EQ(list.Get(1), "two");
    // The host's object cannot be freed by a script.
    p = scripttest::Compile("begin Output.Free; end.", "PascalScript", &host);
    ASSERT_TRUE(p.compiled);
    EXPECT_EQ(p.Run(), "Cannot free an object that the host owns");
    EXPECT_EQ(list.Count(), 2);
    ReleaseObject(&list);
}

namespace {

class Party : public TfsRegistrationOwner {
public:
    explicit Party(TfsScript& scope) : TfsRegistrationOwner(scope)
    {
        Stamp stamp(*this);
        scope.AddConst("PartyConst", "Integer", Variant(1));
        scope.AddMethod("function PartyF: Integer",
                        [](void*, TfsClassVariable*, const std::string&, std::vector<Variant>&) { return Variant(2); });
        scope.AddClass("TParty", "TObject");
        scope.AddEnum("TPartyKind", "pkA, pkB");
    }
};

} // namespace

TEST(Registration, OwnerStampsTakeTheirEntriesAway)
{
    TfsScript host(&global());
    host.AddConst("Mine", "Integer", Variant(5));
    {
        Party party(host);
        EXPECT_NE(host.Find("PartyConst"), nullptr);
        EXPECT_NE(host.Find("PartyF"), nullptr);
        EXPECT_NE(host.FindClass("TParty"), nullptr);
        EXPECT_NE(host.Find("pkB"), nullptr);
        EXPECT_EQ(host.Find("PartyConst")->AddedBy, &party);
        EXPECT_EQ(host.AddedBy, nullptr); // the stamp is gone with the registration
    }
    EXPECT_EQ(host.Find("PartyConst"), nullptr);
    EXPECT_EQ(host.Find("PartyF"), nullptr);
    EXPECT_EQ(host.FindClass("TParty"), nullptr);
    EXPECT_EQ(host.Find("pkA"), nullptr);
    EXPECT_EQ(host.Find("TPartyKind"), nullptr);
    EXPECT_NE(host.Find("Mine"), nullptr);
}

TEST(Events, AdaptersCallScriptRoutines)
{
    RecordingUi ui;
    TfsScript host(&global());
    TfsClassVariable* c = host.AddClass("TButton", "TObject", [] { return std::make_unique<Button>(); });
    c->AddMethod("procedure Click", [](void* inst, TfsClassVariable*, const std::string&, std::vector<Variant>&) {
        Button& b = button(inst);
        if (b.onClick)
            b.onClick->DoEvent(MakeObjectRef(&b, ClassOfObject(&b)));
        return Variant::null();
    });
    c->AddMethod("function Press(Key: String): String",
                 [](void* inst, TfsClassVariable*, const std::string&, std::vector<Variant>& a) {
                     Button& b = button(inst);
                     std::string k = a[0].toString();
                     char ch = k.empty() ? '\0' : k[0];
                     if (b.onKeyPress)
                         b.onKeyPress->DoEvent(Variant(0), ch);
                     return Variant(ch ? std::string(1, ch) : std::string("#0"));
                 });
    c->AddMethod("function Resize(W: Integer): Integer",
                 [](void* inst, TfsClassVariable*, const std::string&, std::vector<Variant>& a) {
                     Button& b = button(inst);
                     int w = a[0].toInt32(), h = 10;
                     bool ok = true;
                     if (b.onCanResize)
                         b.onCanResize->DoEvent(Variant(0), w, h, ok);
                     return Variant(ok ? w + h : -1);
                 });
    c->AddEvent<TfsNotifyEvent>("OnClick", [](void* inst, TfsCustomEvent* adapter) {
        button(inst).onClick = static_cast<TfsNotifyEvent*>(adapter);
    });
    c->AddEvent<TfsKeyPressEvent>("OnKeyPress", [](void* inst, TfsCustomEvent* adapter) {
        button(inst).onKeyPress = static_cast<TfsKeyPressEvent*>(adapter);
    });
    c->AddEvent<TfsCanResizeEvent>("OnCanResize", [](void* inst, TfsCustomEvent* adapter) {
        button(inst).onCanResize = static_cast<TfsCanResizeEvent*>(adapter);
    });
    const char* text = R"(
var b: TButton; count: Integer; who: Variant; k1, k2: String; r: Integer;
procedure Clicked(Sender: TObject);
begin count := count + 1; who := Sender; b.Click; end;
procedure Upper(Sender: TObject; var Key: String);
begin if Key = 'a' then Key := 'A' else Key := ''; end;
procedure Fewer(Sender: TObject; var NewWidth: Integer);
begin NewWidth := NewWidth * 2; end;
procedure Bad(Sender: TObject);
begin count := 100 div (count - count); end;
begin
  b := TButton.Create;
  b.OnClick := 'Clicked';
  b.Click;
  b.OnClick := @Clicked;
  b.Click;
  b.OnKeyPress := 'Upper';
  k1 := b.Press('a');
  k2 := b.Press('q');
  b.OnCanResize := 'Fewer';
  r := b.Resize(7);
  b.OnClick := nil;
  b.Click;
  b.OnClick := 'Bad';
  b.Click;
end.)";
    scripttest::Program p = scripttest::Compile(text, "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    // The handler runs once per click: a click from inside it is ignored.
    EXPECT_EQ(p.Var("count"), "2");
    EXPECT_FALSE(p.script->GetVariable("who").isEmptyOrNull());
    // Key written back; '' gives #0.
    EXPECT_EQ(p.Var("k1"), "A");
    EXPECT_EQ(p.Var("k2"), "#0");
    // Fewer parameters than the event has: only those are given and read
    // back (14 + 10).
    EXPECT_EQ(p.Var("r"), "24");
    // An error in a handler goes to the host's display, not through it.
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Division by zero");
    EXPECT_GT(TfsEventList::Global().Count(), 0u);

    // A name that is no routine.
    p = scripttest::Compile("var b: TButton; x: Integer; begin b := TButton.Create; b.OnClick := 'x'; end.",
                            "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "Event handler must be a procedure");
}

TEST(Events, AdaptersOfAClearedScriptAreFreed)
{
    TfsScript host(&global());
    TfsClassVariable* c = host.AddClass("TButton", "TObject");
    Button held;
    c->AddEvent<TfsNotifyEvent>("OnClick", [](void* inst, TfsCustomEvent* adapter) {
        button(inst).onClick = static_cast<TfsNotifyEvent*>(adapter);
    });
    host.AddObject("Held", &held, "TButton");
    std::size_t before = TfsEventList::Global().Count();
    {
        scripttest::Program p = scripttest::Compile(
            "var n: Integer; procedure H(Sender: TObject); begin n := n + 1; end; begin Held.OnClick := 'H'; end.",
            "PascalScript", &host);
        ASSERT_TRUE(p.compiled) << p.error;
        EXPECT_EQ(p.Run(), "");
        ASSERT_NE(held.onClick, nullptr);
        held.onClick->DoEvent(Variant(0));
        EXPECT_EQ(p.Var("n"), "1");
        EXPECT_EQ(TfsEventList::Global().Count(), before + 1);
        p.script->Clear();
        // The object no longer calls the routine that went.
        EXPECT_EQ(held.onClick, nullptr);
        EXPECT_EQ(TfsEventList::Global().Count(), before);
    }
    ReleaseObject(&held);
}

namespace {

// An automation object: one property and a method that fails with a text
// of its own.
class Gadget : public platform::Dispatch {
public:
    platform::DispId idOfName(std::string_view name) const override
    {
        if (name == "Size")
            return 1;
        if (name == "Fail")
            return 2;
        return platform::kDispIdUnknown;
    }
    Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args) override
    {
        if (id == 2)
            throw platform::DispatchException(platform::status::fromErrorNumber(1000), 1000, "Gadget",
                                              "The gadget is broken");
        if (kind == platform::InvokeKind::PropertyPut)
            size = args[0].toInt32();
        return Variant(size);
    }
    int size = 1;
};

} // namespace

TEST(LateBinding, AutomationObjectsByName)
{
    platform::ClassRegistry::instance().registerClass(
        "Test.Gadget.1", platform::Guid{0x7E57'0001u, 0, 0, {}}, [] { return platform::Ref<platform::Dispatch>(new Gadget); });
    scripttest::Program p = scripttest::Compile(
        "var g: Variant; n: Integer; begin g := CreateOleObject('Test.Gadget.1'); g.Size := 5; n := g.Size * 2; end.");
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "10");
    // An unknown programmatic identifier, an unknown member, the object's
    // own error text.
    EXPECT_EQ(scripttest::RunFor("var g: Variant; begin g := CreateOleObject('No.Such.Thing'); end.", "g"),
              "RUNTIME ERROR: OLE error 800401F3: No.Such.Thing");
    EXPECT_EQ(scripttest::RunFor("var g: Variant; begin g := CreateOleObject('Test.Gadget.1'); g.Colour := 1; end.", "g"),
              "RUNTIME ERROR: OLE error 80020006: Colour");
    EXPECT_EQ(scripttest::RunFor("var g: Variant; begin g := CreateOleObject('Test.Gadget.1'); g.Fail; end.", "g"),
              "RUNTIME ERROR: The gadget is broken");
    // More than 64 arguments never reach the object.
    std::string many = "1";
    for (int i = 0; i < 64; ++i)
        many += ",1";
    EXPECT_EQ(scripttest::RunFor("var g: Variant; begin g := CreateOleObject('Test.Gadget.1'); g.Size(" + many + "); end.",
                                 "g"),
              "RUNTIME ERROR: Too many actual parameters");
    platform::ClassRegistry::instance().unregisterClass("Test.Gadget.1");
}
