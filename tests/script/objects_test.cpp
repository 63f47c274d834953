// Objects in designators: host classes with members, a default property
// and an index method, with statements, new and delete, "is", deferred
// designators and late-bound automation objects. Object references travel
// as handles: a number is never taken for an object.

#include "tests/script/run_support.h"

#include "platform/automation/dispatch.h"
#include "script/binding/class_variable.h"
#include "script/binding/object_refs.h"
#include "script/library/standard_library.h"
#include "script/program/entries.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

using platform::Variant;
using namespace script;

namespace {

struct Counter : TfsObject {
    explicit Counter(int* freed) : freed(freed) {}
    ~Counter() override { ++*freed; }
    int value = 0;
    std::map<int, std::string> items;
    int* freed;
};

Counter& counter(void* inst)
{
    auto* c = dynamic_cast<Counter*>(AsScriptObject(inst));
    if (!c)
        throw std::runtime_error("not a counter");
    return *c;
}

// TCounter registered in a scope of the test's own, through the
// registration interface.
class Host {
public:
    Host() : scope(&InstallStandardLibrary())
    {
        // TObject (Create, Free, ClassName) is the standard library's.
        TfsClassVariable* c = scope.AddClass("TCounter", "TObject", [this] { return std::make_unique<Counter>(&freed); });
        counterClass = c;
        c->AddProperty(
            "Value", "Integer",
            [](void* inst, TfsClassVariable*, const std::string&) { return Variant(counter(inst).value); },
            [](void* inst, TfsClassVariable*, const std::string&, const Variant& v) { counter(inst).value = v.toInt32(); });
        c->AddMethod("procedure Add(n: Integer)",
                     [](void* inst, TfsClassVariable*, const std::string& name, std::vector<Variant>& args) {
                         EXPECT_EQ(name, "ADD");
                         counter(inst).value += args.at(0).toInt32();
                         return Variant::null();
                     });
        c->AddDefaultProperty("Items", "Integer", "String",
                              [](void* inst, TfsClassVariable*, const std::string& name, std::vector<Variant>& args) {
                                  Counter& k = counter(inst);
                                  if (name == "ITEMS.SET") {
                                      k.items[args.at(0).toInt32()] = args.at(1).toString();
                                      return Variant::null();
                                  }
                                  return Variant(k.items[args.at(0).toInt32()]);
                              });
    }

    TfsScript scope;
    TfsClassVariable* counterClass = nullptr;
    int freed = 0;
};

// An automation object with a property and a method.
class Automation : public platform::Dispatch {
public:
    platform::DispId idOfName(std::string_view name) const override
    {
        if (name == "Name")
            return 1;
        if (name == "Twice")
            return 2;
        return platform::kDispIdUnknown;
    }
    Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args) override
    {
        if (id == 1 && kind == platform::InvokeKind::PropertyPut) {
            name = args[0].toString();
            return Variant();
        }
        if (id == 1)
            return Variant(name);
        return Variant(args[0].toInt32() * 2);
    }
    std::string name = "a";
};

} // namespace

TEST(Objects, MembersDefaultPropertyAndIndexMethods)
{
    Host host;
    const char* text = R"(
var c: TCounter; v, s, t: Variant; b: Boolean;
begin
  c := TCounter.Create;
  c.Add(5);
  c.Value := c.Value + 10;
  c.Items[3] := 'three';
  c[4] := 'four';
  s := c.Items[3] + c[4];
  with c do begin
    Add(100);
    t := Value;
  end;
  b := c is TObject;
  v := c.Value;
  c.Free;
end.)";
    scripttest::Program p = scripttest::Compile(text, "PascalScript", &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("v"), "115");
    EXPECT_EQ(p.Var("t"), "115");
    EXPECT_EQ(p.Var("s"), "threefour");
    EXPECT_EQ(p.Var("b"), "True");
    EXPECT_EQ(host.freed, 1);
}

TEST(Objects, CompileErrorsOfMembers)
{
    Host host;
    auto err = [&](const char* text) { return scripttest::Compile(text, "PascalScript", &host.scope).error; };
    EXPECT_EQ(err("var c: TCounter; begin c.Nothing; end."), "1:33: Undeclared identifier: 'Nothing'");
    EXPECT_EQ(err("var c: TObject; begin c[1] := 2; end."), "1:25: Class TObject does not have a default property");
    EXPECT_EQ(err("var c: TCounter; begin c.Items := 2; end."), "1:31: Not enough actual parameters");
    EXPECT_EQ(err("var c: TCounter; begin c.Items.Add := 2; end."), "1:35: Index required");
    EXPECT_EQ(err("var c: TCounter; i: Integer; begin i := c; end."), "1:41: Incompatible types: 'Integer', 'Class TCounter'");
    EXPECT_EQ(err("var c: TNothing; begin end."), "1:16: Unknown type: 'TNothing'");
    EXPECT_EQ(err("var c: TObject; d: TCounter; begin d := c; c := d; end."), "1:41: Incompatible types: 'Class TCounter', 'Class TObject'");
}

TEST(Objects, NumbersAreNeverObjects)
{
    Host host;
    scripttest::Program p =
        scripttest::Compile("var v: Variant; begin v := 65536; TCounter(v).Add(1); end.", "PascalScript", &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "Invalid object reference");
    p = scripttest::Compile("var c: TCounter; begin c := 65537; c.Add(1); end.", "PascalScript", &host.scope);
    ASSERT_FALSE(p.compiled); // an Integer is no TCounter
    p = scripttest::Compile("var v: Variant; c: TCounter; b: Boolean; begin v := 70000; c := v; b := c is TCounter; end.",
                            "PascalScript", &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "Invalid object reference");
}

TEST(Objects, DeferredDesignatorsAreBuiltWhenFirstRun)
{
    Host host;
    // v holds Null when the program is built: v.Add is resolved when it
    // first runs, and a member that does not exist is reported then.
    scripttest::Program p = scripttest::Compile(
        "var v, r: Variant; begin v := TCounter.Create; v.Add(7); r := v.Value; v.Free; end.", "PascalScript",
        &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("r"), "7");
    p = scripttest::Compile("var v: Variant; i: Integer; begin v := TCounter.Create; i := 1; try v.Missing; finally v.Free; end; end.",
                            "PascalScript", &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "Undeclared identifier: 'Missing'");
    EXPECT_EQ(p.Var("i"), "1");
    p = scripttest::Compile("var v: Variant; begin v := 5; v.Add(1); end.", "PascalScript", &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "Invalid object reference");
}

TEST(Objects, NewAndDeleteInOtherLanguages)
{
    Host host;
    scripttest::Program p = scripttest::Compile("var o = new TCounter; o.Add(2); var r = o.Value; delete o;", "JScript",
                                                &host.scope);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("r"), "2");
    EXPECT_EQ(host.freed, 1);
    EXPECT_EQ(scripttest::Compile("int i; { delete i; }", "C++Script", &host.scope).error, "1:17: Class type required");
}

TEST(Objects, LateBoundAutomation)
{
    scripttest::Program p = scripttest::Compile(
        "var s, t: String; n: Integer; begin s := Obj.Name; Obj.Name := 'b'; t := Obj.Name; n := Obj.Twice(21); end.");
    ASSERT_FALSE(p.compiled); // Obj is not known yet
    TfsScript host(&InstallStandardLibrary());
    platform::Ref<Automation> obj(new Automation);
    host.SetVariable("Obj", Variant(obj.get()));
    p = scripttest::Compile(
        "var s, t: String; n: Integer; begin s := Obj.Name; Obj.Name := 'b'; t := Obj.Name; n := Obj.Twice(21); end.",
        "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("s"), "a");
    EXPECT_EQ(p.Var("t"), "b");
    EXPECT_EQ(p.Var("n"), "42");
    p = scripttest::Compile("begin Obj.Nothing; end.", "PascalScript", &host);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "OLE error 80020006: Nothing");
}
