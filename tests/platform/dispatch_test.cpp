#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/automation/guid.h"
#include "platform/automation/handle_table.h"
#include "platform/automation/member_table.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A small automation object: property Value (1), method Twice(x) (2),
// method Swap(byref a, byref b) (3).
class Counter : public Dispatch {
public:
    static inline int alive = 0;
    Counter() { ++alive; }
    ~Counter() override { --alive; }

    DispId idOfName(std::string_view name) const override { return members().find(name); }

    Variant invoke(DispId id, InvokeKind kind, std::span<Variant> args) override
    {
        switch (id) {
        case 1:
            if (kind == InvokeKind::PropertyGet)
                return Variant(value_);
            if (kind == InvokeKind::PropertyPut) {
                if (args.size() != 1)
                    throw DispatchException::fromStatus(status::BadParamCount);
                int v = args[0].toInt32();
                if (v < 0)
                    throw DispatchException(status::fromErrorNumber(1000), 1000, "Counter",
                                            "Value must not be negative", 4711);
                value_ = v;
                return {};
            }
            break;
        case 2:
            if (args.size() != 1)
                throw DispatchException::fromStatus(status::BadParamCount);
            return Variant(args[0].toDouble() * 2);
        case 3:
            args[0].swap(args[1]);
            return {};
        }
        throw DispatchException::fromStatus(status::MemberNotFound);
    }

private:
    static const MemberTable& members()
    {
        static const MemberTable t{{"Value", 1}, {"Twice", 2}, {"Swap", 3}};
        return t;
    }
    int value_ = 0;
};

} // namespace

TEST(Dispatch, InvokeByIdAndByNameIgnoringCase)
{
    Ref<Dispatch> d = makeRef<Counter>();
    d->put(1, Variant(5));
    EXPECT_EQ(d->get(1).toInt32(), 5);
    d->put("vALUE", Variant(7));
    EXPECT_EQ(d->get("value").toInt32(), 7);
    Variant arg(3.5);
    EXPECT_EQ(d->invoke("TWICE", InvokeKind::Method, std::span(&arg, 1)).toDouble(), 7.0);
}

TEST(Dispatch, ByReferenceArgumentsComeBack)
{
    Ref<Dispatch> d = makeRef<Counter>();
    Variant args[2] = {Variant(1), Variant("two")};
    d->invoke("Swap", InvokeKind::Method, args);
    EXPECT_EQ(args[0].toString(), "two");
    EXPECT_EQ(args[1].toInt32(), 1);
}

TEST(Dispatch, ErrorsCarryCodeTextAndHelpContext)
{
    Ref<Dispatch> d = makeRef<Counter>();
    try {
        d->put(1, Variant(-1));
        FAIL() << "no exception";
    } catch (const DispatchException& e) {
        EXPECT_EQ(e.code(), 1000);
        EXPECT_EQ(static_cast<std::uint32_t>(e.scode()), 0x800A03E8u);
        EXPECT_STREQ(e.what(), "Value must not be negative");
        EXPECT_EQ(e.helpContext(), 4711u);
        EXPECT_EQ(e.source(), "Counter");
    }
    EXPECT_EQ(d->get(1).toInt32(), 0); // unchanged
    try {
        d->get("NoSuchMember");
        FAIL() << "no exception";
    } catch (const DispatchException& e) {
        EXPECT_EQ(e.scode(), status::UnknownName);
    }
}

TEST(Dispatch, VariantsHoldObjectsByReference)
{
    ASSERT_EQ(Counter::alive, 0);
    {
        Variant v(makeRef<Counter>());
        EXPECT_EQ(Counter::alive, 1);
        Variant w = v;
        v.clear();
        EXPECT_EQ(Counter::alive, 1);
        EXPECT_TRUE(w.isDispatch());
        EXPECT_THROW(w.toString(), VariantError);
    }
    EXPECT_EQ(Counter::alive, 0);
}

TEST(MemberTable, FindsNamesIgnoringCase)
{
    MemberTable t{{"RemoveSurfaces", 66}, {"AddSurface", 73}};
    t.add("Tilt", 5);
    EXPECT_EQ(t.find("addsurface"), 73);
    EXPECT_EQ(t.find("REMOVESURFACES"), 66);
    EXPECT_EQ(t.find("tilt"), 5);
    EXPECT_EQ(t.find("AddSurfaces"), kDispIdUnknown);
    EXPECT_EQ(t.find(""), kDispIdUnknown);
    EXPECT_EQ(t.nameOf(73), "AddSurface");
    EXPECT_EQ(t.nameOf(1), "");
}

TEST(Guid, ParsesAndFormats)
{
    auto g = Guid::parse("{6b3c5b9e-1a2f-4c7d-9e01-23456789abcd}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->toString(), "{6B3C5B9E-1A2F-4C7D-9E01-23456789ABCD}");
    EXPECT_EQ(Guid::parse("6B3C5B9E-1A2F-4C7D-9E01-23456789ABCD"), g);
    EXPECT_FALSE(Guid::parse("{6B3C5B9E-1A2F-4C7D-9E01-23456789ABCG}"));
    EXPECT_FALSE(Guid::parse("6B3C5B9E1A2F4C7D9E0123456789ABCD"));
}

TEST(ClassRegistry, CreatesByProgIdAndClassId)
{
    auto& reg = ClassRegistry::instance();
    Guid id = *Guid::parse("{11111111-2222-3333-4444-555555555555}");
    reg.registerClass("Test.Counter.1", id, [] { return Ref<Dispatch>(makeRef<Counter>()); });
    Ref<Dispatch> a = reg.create("test.counter.1");
    Ref<Dispatch> b = reg.create(id);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.get(), b.get());
    EXPECT_TRUE(reg.isRegistered("TEST.COUNTER.1"));
    reg.unregisterClass("Test.Counter.1");
    try {
        reg.create("Test.Counter.1");
        FAIL() << "no exception";
    } catch (const DispatchException& e) {
        EXPECT_EQ(e.scode(), status::ClassNotRegistered);
        EXPECT_STREQ(e.what(), "Invalid class string");
    }
    EXPECT_THROW(reg.create(id), DispatchException);
}

TEST(HandleTable, ForgedAndStaleHandlesDoNotResolve)
{
    HandleTable t;
    int a = 1, b = 2;
    static const char kindA = 0, kindB = 0;
    std::int32_t ha = t.add(&a, &kindA);
    std::int32_t hb = t.add(&b, &kindB);
    EXPECT_GT(ha, 0);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(t.add(&a, &kindA), ha); // the same object keeps its handle
    EXPECT_EQ(t.find(ha, &kindA), &a);
    EXPECT_EQ(t.find(ha, &kindB), nullptr); // wrong kind
    EXPECT_EQ(t.find(1, &kindA), nullptr);  // forged
    EXPECT_EQ(t.handleOf(&b), hb);
    EXPECT_TRUE(t.remove(ha));
    EXPECT_EQ(t.find(ha, &kindA), nullptr); // stale
    EXPECT_FALSE(t.remove(ha));
    std::int32_t ha2 = t.add(&a, &kindA);
    EXPECT_NE(ha2, ha); // never reused
}
