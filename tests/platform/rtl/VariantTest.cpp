#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"

using namespace rtl;

namespace {

Variant Cur(long double v) { return Variant::FromCurrency(v); }
Variant Date(int y, int m, int d) { return Variant::FromDate(EncodeDate(y, m, d)); }
Variant Ansi(const char* s) { return Variant::AnsiString(s); }
Variant Ole(const char* s) { return Variant::OleStr(s); }

std::string Show(const Variant& v)
{
    if (v.IsArray()) return VarTypeAsText(v.VarType());
    return VarTypeAsText(v.VarType()) + "(" + (v.IsNull() ? "Null" : v.AsString()) + ")";
}

using BinOp = std::function<Variant(const Variant&, const Variant&)>;

struct OpCase {
    const char* name;
    Variant a;
    BinOp op;
    Variant b;
    Variant expected;  // type and value must match
};

const BinOp Add = [](const Variant& a, const Variant& b) { return a + b; };
const BinOp Sub = [](const Variant& a, const Variant& b) { return a - b; };
const BinOp Mul = [](const Variant& a, const Variant& b) { return a * b; };
const BinOp Div = [](const Variant& a, const Variant& b) { return a / b; };
const BinOp IDiv = VarIntDiv;
const BinOp Mod = VarMod;
const BinOp And = VarAnd;
const BinOp Or = VarOr;
const BinOp Xor = VarXor;
const BinOp Shl = VarShl;
const BinOp Shr = VarShr;

} // namespace

TEST(Variant, OperatorByKindTable)
{
    const std::vector<OpCase> cases = {
        {"int+int", 2, Add, 3, 5},
        {"int+double", 2, Add, 0.5, 2.5},
        {"int overflow widens", INT32_MAX, Add, 1, Variant(2147483648LL)},
        {"int64 stays int64", Variant(5LL), Add, 1, Variant(6LL)},
        {"byte+byte", uint8_t{200}, Add, uint8_t{100}, 300},
        {"single+int", 1.5f, Add, 1, 2.5f},
        {"ustring concat", "ab", Add, "cd", "abcd"},
        {"ansi concat keeps kind", Ansi("ab"), Add, Ansi("cd"), Ansi("abcd")},
        {"ole+ansi is ole", Ole("ab"), Add, Ansi("cd"), Ole("abcd")},
        {"ansi+ustring is ustring", Ansi("ab"), Add, "cd", "abcd"},
        {"numeric text + int", "2", Add, 3, 5.0},
        {"int + numeric text", 3, Add, "2.5", 5.5},
        {"text * int", "2.5", Mul, 2, 5.0},
        {"True counts -1", true, Add, 1, 0},
        {"Null + int", Variant::Null(), Add, 1, Variant::Null()},
        {"text + Null", "a", Add, Variant::Null(), Variant::Null()},
        {"Empty + int", Variant(), Add, 1, 1},
        {"Empty + text", Variant(), Add, "a", "a"},
        {"date + days", Date(2024, 2, 28), Add, 2, Date(2024, 3, 1)},
        {"date - days", Date(2024, 3, 1), Sub, 1, Date(2024, 2, 29)},
        {"date - date", Date(2024, 3, 1), Sub, Date(2024, 2, 1), 29.0},
        {"currency + int", Cur(1.25), Add, 1, Cur(2.25)},
        {"currency * currency", Cur(1.5), Mul, Cur(2.5), Cur(3.75)},
        {"int / int is float", 7, Div, 2, 3.5},
        {"Null / int", Variant::Null(), Div, 2, Variant::Null()},
        {"div truncates", -7, IDiv, 2, -3},
        {"mod keeps dividend sign", -7, Mod, 2, -1},
        {"div of floats rounds first", 7.5, IDiv, 2, 4},
        {"mod Null", 7, Mod, Variant::Null(), Variant::Null()},
        {"bool and", true, And, false, false},
        {"bool or", false, Or, true, true},
        {"bool xor", true, Xor, true, false},
        {"int and", 6, And, 3, 2},
        {"int or", 6, Or, 3, 7},
        {"int xor", 6, Xor, 3, 5},
        {"Null and False", Variant::Null(), And, false, false},
        {"Null and True", Variant::Null(), And, true, Variant::Null()},
        {"Null or True", Variant::Null(), Or, true, true},
        {"Null or False", Variant::Null(), Or, false, Variant::Null()},
        {"Null xor True", true, Xor, Variant::Null(), Variant::Null()},
        {"text and bool", "True", And, true, true},
        {"shl", 1, Shl, 4, 16},
        {"shr is logical on 32 bits", -1, Shr, 28, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Variant r = c.op(c.a, c.b);
        EXPECT_TRUE(SameValue(r, c.expected)) << Show(r) << " expected " << Show(c.expected);
    }
}

TEST(Variant, UnaryOperators)
{
    EXPECT_TRUE(SameValue(VarNot(true), Variant(false)));
    EXPECT_TRUE(SameValue(VarNot(0), Variant(-1)));
    EXPECT_TRUE(SameValue(VarNot(Variant::Null()), Variant::Null()));
    EXPECT_TRUE(SameValue(VarNot("False"), Variant(true)));
    EXPECT_TRUE(SameValue(-Variant(2.5), Variant(-2.5)));
    EXPECT_TRUE(SameValue(-Variant(INT32_MIN), Variant(2147483648LL)));
    EXPECT_TRUE(SameValue(-Variant::Null(), Variant::Null()));
    EXPECT_TRUE(SameValue(-Variant("3"), Variant(-3.0)));
}

TEST(Variant, ComparisonTable)
{
    using R = TVariantRelationship;
    struct Case {
        const char* name;
        Variant a, b;
        R expected;
    };
    const std::vector<Case> cases = {
        {"Null = Null", Variant::Null(), Variant::Null(), R::vrEqual},
        {"Null vs 0", Variant::Null(), 0, R::vrNotEqual},
        {"Null vs Empty", Variant::Null(), Variant(), R::vrNotEqual},
        {"text vs number", "5", 5, R::vrEqual},
        {"text vs text", "abc", "abd", R::vrLessThan},
        {"text case counts", "a", "B", R::vrGreaterThan},
        {"ansi vs ustring", Ansi("x"), "x", R::vrEqual},
        {"True is -1", true, -1, R::vrEqual},
        {"True below False", true, false, R::vrLessThan},
        {"text vs Boolean", "True", true, R::vrEqual},
        {"int vs double", 1, 1.0, R::vrEqual},
        {"int64 precision", Variant(9007199254740993LL), Variant(9007199254740992LL), R::vrGreaterThan},
        {"Empty vs 0", Variant(), 0, R::vrEqual},
        {"Empty vs empty text", Variant(), "", R::vrEqual},
        {"dates", Date(2024, 1, 1), Date(2023, 12, 31), R::vrGreaterThan},
        {"currency vs double", Cur(1.5), 1.5, R::vrEqual},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VarCompareValue(c.a, c.b), c.expected);
    }
    // Null is neither less nor greater, only unequal.
    EXPECT_FALSE(Variant::Null() < 1);
    EXPECT_FALSE(Variant::Null() > 1);
    EXPECT_TRUE(Variant::Null() != 1);
    EXPECT_TRUE(Variant::Null() == Variant::Null());
}

TEST(Variant, OperatorErrors)
{
    try {
        (void)(Variant("abc") + 1);
        ADD_FAILURE();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (UnicodeString) into type (Double)");
    }
    EXPECT_THROW(VarIntDiv(1, 0), EDivByZero);
    EXPECT_THROW(VarMod(1, 0), EDivByZero);
    EXPECT_THROW((void)(Variant(1) / Variant(0)), EZeroDivide);
    EXPECT_THROW((void)(VarArrayOf({1}) + 1), EVariantInvalidOpError);
    EXPECT_THROW((void)(Variant("1,5") * 1), EVariantTypeCastError);  // "," is no decimal point
}

TEST(Variant, ConversionsRoundHalvesToEven)
{
    struct Case {
        Variant v;
        int32_t expected;
    };
    const std::vector<Case> toInt = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {"2.5", 2}, {"3.5", 4},
        {"$1F", 31}, {" 42", 42}, {true, -1}, {false, 0}, {Cur(2.5), 2}, {Cur(3.5), 4},
        {Variant::FromDate(1.5), 2}, {Variant(), 0}, {uint8_t{255}, 255},
    };
    for (const auto& c : toInt) {
        SCOPED_TRACE(Show(c.v));
        EXPECT_EQ(c.v.AsInteger(), c.expected);
    }
    EXPECT_THROW(Variant(2147483648.0).AsInteger(), EVariantOverflowError);
    EXPECT_EQ(Variant(2147483648.0).AsInt64(), 2147483648LL);
    try {
        Variant::Null().AsInteger();
        ADD_FAILURE();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (Null) into type (Integer)");
    }
}

TEST(Variant, ConversionsToBooleanFloatTextAndDate)
{
    EXPECT_TRUE(Variant("True").AsBoolean());
    EXPECT_FALSE(Variant("false").AsBoolean());
    EXPECT_FALSE(Variant("0").AsBoolean());
    EXPECT_TRUE(Variant("-1").AsBoolean());
    EXPECT_TRUE(Variant(2).AsBoolean());
    EXPECT_FALSE(Variant().AsBoolean());
    EXPECT_THROW(Variant("yes").AsBoolean(), EVariantTypeCastError);

    EXPECT_DOUBLE_EQ(Variant("1.5").AsDouble(), 1.5);
    EXPECT_DOUBLE_EQ(Variant("-2e3").AsDouble(), -2000);
    EXPECT_DOUBLE_EQ(Variant(true).AsDouble(), -1);

    struct TextCase {
        Variant v;
        const char* expected;
    };
    const std::vector<TextCase> texts = {
        {true, "True"}, {false, "False"}, {1.5, "1.5"}, {Variant(0.1) + Variant(0.2), "0.3"},
        {Variant(12345678901LL), "12345678901"}, {Cur(1.5), "1.5"}, {-7, "-7"},
        {Date(2024, 3, 5), "2024-03-05"}, {Variant::FromDate(EncodeDate(2024, 3, 5) + 0.5), "2024-03-05 12:00:00"},
        {Variant(), ""}, {1e20, "1E20"},
    };
    for (const auto& c : texts) EXPECT_EQ(c.v.AsString(), c.expected);
    EXPECT_EQ(VarToStr(Variant::Null()), "");
    EXPECT_THROW(Variant::Null().AsString(), EVariantTypeCastError);

    EXPECT_DOUBLE_EQ(Variant("2024-03-05").AsDate(), EncodeDate(2024, 3, 5));
    EXPECT_DOUBLE_EQ(Variant("2024-03-05 06:00").AsDate(), EncodeDate(2024, 3, 5) + 0.25);
    EXPECT_DOUBLE_EQ(Variant("45000.5").AsDate(), 45000.5);
    EXPECT_THROW(Variant("2024-13-05").AsDate(), EVariantTypeCastError);

    // AsType converts and checks ranges.
    EXPECT_TRUE(SameValue(Variant("12").AsType(varByte), Variant(uint8_t{12})));
    EXPECT_THROW(Variant(256).AsType(varByte), EVariantOverflowError);
    EXPECT_TRUE(SameValue(Variant(2.5).AsType(varInteger), Variant(2)));
    EXPECT_TRUE(SameValue(Variant(7).AsType(varString), Variant::AnsiString("7")));
}

TEST(Variant, VarTypeCodes)
{
    struct Case {
        Variant v;
        TVarType code;
    };
    const std::vector<Case> cases = {
        {Variant(), 0},         {Variant::Null(), 1},         {int16_t{1}, 2},
        {1, 3},                 {1.0f, 4},                    {1.0, 5},
        {Cur(1), 6},            {Date(2000, 1, 1), 7},        {Ole("x"), 8},
        {true, 11},             {int8_t{1}, 16},              {uint8_t{1}, 17},
        {uint16_t{1}, 18},      {uint32_t{1}, 19},            {Variant(1LL), 20},
        {Ansi("x"), 256},       {"x", 258},
        {VarArrayOf({1, 2}), 8204},
        {VarArrayCreate({0, 1}, varInteger), 8195},
    };
    for (const auto& c : cases) EXPECT_EQ(VarType(c.v), c.code) << Show(c.v);
    EXPECT_EQ(VarTypeAsText(varArray | varInteger), "Array of Integer");
}

TEST(Variant, ArraysHaveBoundsAndConvertElements)
{
    Variant a = VarArrayCreate({1, 3, 0, 1}, varInteger);
    EXPECT_EQ(VarArrayDimCount(a), 2);
    EXPECT_EQ(VarArrayLowBound(a, 1), 1);
    EXPECT_EQ(VarArrayHighBound(a, 1), 3);
    EXPECT_EQ(VarArrayLowBound(a, 2), 0);
    EXPECT_EQ(VarArrayHighBound(a, 2), 1);
    EXPECT_THROW(VarArrayLowBound(a, 3), EVariantBadIndexError);
    EXPECT_TRUE(SameValue(a.GetElement({2, 1}), Variant(0)));  // elements start as the type's zero
    a.SetElement({3, 1}, "7");
    EXPECT_TRUE(SameValue(a.GetElement({3, 1}), Variant(7)));
    EXPECT_THROW(a.GetElement({4, 0}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({0, 0}), EVariantBadIndexError);
    EXPECT_THROW(a.GetElement({1}), EVariantBadIndexError);

    // Copies are values: changing one leaves the other.
    Variant b = a;
    b.SetElement({3, 1}, 9);
    EXPECT_EQ(a.GetElement({3, 1}).AsInteger(), 7);

    // Three dimensions with negative bounds.
    Variant c = VarArrayCreate({-1, 0, 2, 3, 5, 5}, varVariant);
    c.SetElement({-1, 3, 5}, "x");
    EXPECT_EQ(VarArrayDimCount(c), 3);
    EXPECT_EQ(c.GetElement({-1, 3, 5}).AsString(), "x");
    EXPECT_TRUE(c.GetElement({0, 2, 5}).IsEmpty());

    // Redim sets the high bound and keeps what stays.
    Variant v = VarArrayOf({"a", "b", "c", "d"});
    VarArrayRedim(v, 1);
    EXPECT_EQ(VarArrayHighBound(v, 1), 1);
    EXPECT_EQ(v[1].AsString(), "b");
    VarArrayRedim(v, 3);
    EXPECT_TRUE(v[3].IsEmpty());
    EXPECT_EQ(v[0].AsString(), "a");

    EXPECT_THROW(VarArrayCreate({0, 1}, varNull), EVariantBadVarTypeError);
    EXPECT_THROW(VarArrayCreate({2, 0}, varVariant), EVariantBadIndexError);
    Variant empty = VarArrayCreate({0, -1}, varVariant);  // bounds 0..-1: no elements
    EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
}

namespace {

// AppendInPlace gives exactly what "+" gives, value and kind, for every
// pairing of kinds, and refuses (changing nothing) where "+" computes.
TEST(Variant, AppendInPlaceAgreesWithPlus)
{
    const std::vector<Variant> values = {
        Variant(), Variant::Null(), Variant("ab"), Variant::AnsiString("cd"), Variant::OleStr("ef"),
        Variant(std::string()), Variant(int32_t(3)), Variant(2.5), Variant(true), Variant("7"),
    };
    for (const Variant& a : values)
        for (const Variant& b : values) {
            Variant acc = a;
            const bool appended = acc.AppendInPlace(b);
            Variant sum;
            bool raised = false;
            try {
                sum = a + b;
            } catch (const EVariantError&) {
                raised = true;
            }
            const std::string what = VarTypeAsText(a.VarType()) + " + " + VarTypeAsText(b.VarType());
            if (appended) {
                ASSERT_FALSE(raised) << what;
                EXPECT_TRUE(SameValue(acc, sum)) << what;
            } else {
                EXPECT_TRUE(SameValue(acc, a)) << what;
                EXPECT_FALSE(!raised && sum.IsString() && (a.IsString() || a.IsEmpty()) &&
                             (b.IsString() || b.IsEmpty()))
                    << what << ": a concatenation was refused";
            }
        }
}

// Copies share a text until one of them changes it: the others keep theirs.
TEST(Variant, CopiesKeepTheirTextWhenOneIsAppendedTo)
{
    Variant a("text");
    Variant b = a;
    EXPECT_TRUE(a.SharesText());
    ASSERT_TRUE(b.AppendInPlace(Variant("!")));
    EXPECT_EQ(a.AsString(), "text");
    EXPECT_EQ(b.AsString(), "text!");
    EXPECT_FALSE(a.SharesText());

    Variant c = a;
    ASSERT_TRUE(c.AppendInPlace(c));   // itself
    EXPECT_EQ(c.AsString(), "texttext");
    ASSERT_TRUE(a.AppendInPlace(a));
    EXPECT_EQ(a.AsString(), "texttext");

    Variant d = Variant::AnsiString("x");
    Variant e = d.AsType(varUString);   // another kind of the same text
    d.AppendText("y");
    EXPECT_EQ(e.AsString(), "x");
    EXPECT_EQ(e.VarType(), varUString);
    EXPECT_EQ(d.VarType(), varString);
    EXPECT_THROW(Variant(1).AppendText("z"), EVariantInvalidOpError);
}

// Appending to a text held once reuses its storage: a million one-character
// appends finish (quadratic copying would take hours).
TEST(Variant, ManyAppendsToOneHolderGrowTheText)
{
    Variant s("");
    const Variant one("x");
    for (int i = 0; i < 1000000; ++i) ASSERT_TRUE(s.AppendInPlace(one));
    EXPECT_EQ(s.TextRef().size(), 1000000u);
}

} // namespace
