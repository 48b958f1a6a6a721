// The application storage on its in-memory back-end: paths, sub-storages,
// updates, enumeration, typed values and their options.
#include <gtest/gtest.h>

#include <functional>

#include "dbgrids/UxMemAppStorage.h"
#include "dbgrids/ucl/UclMime.h"
#include "platform/gui/GraphicsIdents.h"
#include "platform/rtl/Strings.h"

using namespace dbgrids;

namespace {

std::string MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rtl::Exception& e) {
        return e.Message();
    }
    return "(no error)";
}

enum class TPick { pkNone, pkOne, pkTwo, pkThree };
RTL_ENUM(TPick, "pkNone", "pkOne", "pkTwo", "pkThree")
using TPicks = rtl::Set<TPick>;
RTL_SET(TPicks, TPick)

const rtl::TTypeInfo* PickType() { return RtlTypeInfoOf(static_cast<TPick*>(nullptr)); }
const rtl::TTypeInfo* PicksType() { return RtlTypeInfoOf(static_cast<TPicks*>(nullptr)); }

} // namespace

TEST(UxAppStorage, ConcatPathsTable)
{
    struct Case {
        std::vector<std::string> in;
        std::string want;
    } cases[] = {
        {{}, ""},           {{""}, ""},         {{".."}, ""},
        {{"a", "..", "b"}, "b"},   {{"a\\b\\.."}, "a"},   {{"x\\y", "...", "z"}, "z"},
        {{"a", "\\b", "c"}, "b\\c"}, {{"a\\b", "c"}, "a\\b\\c"}, {{"a\\b", "\\c"}, "c"},
        {{"\\a\\\\b\\"}, "a\\b"},  {{"a\\.b\\.\\c"}, "a\\.b\\c"},
    };
    for (const auto& c : cases) EXPECT_EQ(TUxCustomAppStorage::ConcatPaths(c.in), c.want) << c.want;
    TUxMemAppStorage st(nullptr);
    st.SetPath("\\a\\\\b\\");
    EXPECT_EQ(st.Path(), "a\\b");
    st.WriteInteger("v", 3);
    EXPECT_EQ(st.ReadInteger("\\A\\B\\V", 0), 3);
}

TEST(UxAppStorage, DelegationByLongestRoot)
{
    TUxMemAppStorage main(nullptr), a(nullptr), ab(nullptr);
    main.SubStorages()->Add("A\\B", &ab);
    main.SubStorages()->Add("A", &a);  // an ancestor of an existing root is accepted
    main.WriteInteger("A\\B\\x", 1);
    main.WriteInteger("A\\D\\x", 2);
    main.WriteInteger("a\\b\\y", 3);
    main.WriteInteger("A", 4);  // equal to a root: stays here
    EXPECT_EQ(ab.ReadInteger("\\x", 0), 1);
    EXPECT_EQ(a.ReadInteger("\\D\\x", 0), 2);
    EXPECT_EQ(ab.ReadInteger("\\y", 0), 3);
    EXPECT_EQ(main.RawText("\\A"), "4");
    EXPECT_FALSE(main.ValueStored("\\B\\x"));
    EXPECT_EQ(main.ReadInteger("A\\B\\x", 0), 1);  // read back through the owner
}

TEST(UxAppStorage, SubStorageRootsAndCircles)
{
    TUxMemAppStorage main(nullptr), s1(nullptr), s2(nullptr);
    main.SubStorages()->Add("A", &s1);
    EXPECT_EQ(MessageOf([&] { main.SubStorages()->Add("A\\B\\D", &s2); }), "'A\\B\\D' is not a unique root path");
    EXPECT_EQ(main.SubStorages()->Count(), 1);  // the failed item is gone
    TUxAppSubStorage* x = main.SubStorages()->Add("X\\Y", &s2);
    EXPECT_NO_THROW(main.SubStorages()->Add("X", &s2));  // an ancestor of an existing root
    EXPECT_EQ(MessageOf([&] { x->SetRootPath("a\\q"); }), "'a\\q' is not a unique root path");
    EXPECT_EQ(x->RootPath(), "X\\Y");
    EXPECT_EQ(MessageOf([&] { s1.SubStorages()->Add("Back", &main); }), "Circular reference of storages");
    EXPECT_EQ(MessageOf([&] { main.SubStorages()->Add("Self", &main); }), "Circular reference of storages");
    main.SubStorages()->Delete("x", true);
    EXPECT_EQ(main.SubStorages()->Count(), 1);
}

TEST(UxAppStorage, ASubStorageThatGoesIsForgotten)
{
    TUxMemAppStorage main(nullptr);
    auto* gone = new TUxMemAppStorage(nullptr);
    main.SubStorages()->Add("G", gone);
    delete gone;
    EXPECT_EQ(main.SubStorages()->Count(), 0);
    main.WriteInteger("G\\x", 1);
    EXPECT_TRUE(main.ValueStored("\\G\\x"));
}

namespace {
struct TEngineA : TUxAppStoragePropertyBaseEngine {
    bool Supports(rtl::TObject*, rtl::TObject*) override { return true; }
};
struct TEngineB : TUxAppStoragePropertyBaseEngine {
    bool Supports(rtl::TObject*, rtl::TObject*) override { return true; }
};
} // namespace

TEST(UxAppStorage, FirstRegisteredEngineWins)
{
    TUxAppStoragePropertyEngineList list;
    list.RegisterEngine(typeid(TEngineA), [] { return new TEngineA(); });
    list.RegisterEngine(typeid(TEngineB), [] { return new TEngineB(); });
    EXPECT_NE(dynamic_cast<TEngineA*>(list.GetEngine(nullptr, nullptr)), nullptr);
    list.UnregisterEngine(typeid(TEngineA));
    EXPECT_NE(dynamic_cast<TEngineB*>(list.GetEngine(nullptr, nullptr)), nullptr);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto afterFinal = [] {
        FinalizePropertyEngines();
        RegisterPropertyEngine<TEngineA>();
        std::exit(RegisteredPropertyEngines() == nullptr ? 0 : 1);
    };
    EXPECT_EXIT(afterFinal(), ::testing::ExitedWithCode(0), "");
}

TEST(UxAppStorage, UpdatesFlushOnceAndNeverGoBelowZero)
{
    TUxMemAppStorage st(nullptr);
    st.SetAutoFlush(true);
    st.BeginUpdate();
    st.BeginUpdate();
    st.EndUpdate();
    EXPECT_EQ(st.FlushCount, 0);
    st.EndUpdate();
    EXPECT_EQ(st.FlushCount, 1);
    st.EndUpdate();  // one too many
    EXPECT_FALSE(st.IsUpdating());
    st.BeginUpdate();
    EXPECT_TRUE(st.IsUpdating());
    st.EndUpdate();
    EXPECT_EQ(st.FlushCount, 2);  // the extra one did not flush, and the depth came back to 0
}

TEST(UxAppStorage, ReadOnlyIgnoresWritesAndDeletions)
{
    TUxMemAppStorage st(nullptr);
    st.WriteInteger("\\keep", 1);
    st.MediumReadOnly = true;
    EXPECT_TRUE(st.ReadOnly());
    st.WriteInteger("\\new", 2);
    st.DeleteValue("\\keep");
    st.DeleteSubTree("\\");
    EXPECT_FALSE(st.ValueStored("\\new"));
    EXPECT_EQ(st.ReadInteger("\\keep", 0), 1);
    st.MediumReadOnly = false;
    st.SetReadOnly(true);
    st.WriteString("\\new", "x");
    EXPECT_FALSE(st.ValueStored("\\new"));
}

TEST(UxAppStorage, StoredValuesRelativeAndRecursive)
{
    TUxMemAppStorage st(nullptr);
    st.WriteInteger("\\P\\top", 1);
    st.WriteInteger("\\P\\f\\v", 2);
    st.WriteInteger("\\P\\f\\g\\w", 3);
    st.SetPath("P");
    rtl::TStringList list;
    using O = TUxAppStorageEnumOption;
    st.GetStoredValues("", list, {O::aeoValues, O::aeoReportRelative, O::aeoRecursive});
    ASSERT_EQ(list.Count(), 3);
    int i = list.IndexOf("f\\v");
    ASSERT_GE(i, 0);
    EXPECT_EQ(StoredValueFlags(list, i), kStoredValue);
    EXPECT_GE(list.IndexOf("f\\g\\w"), 0);
    st.GetStoredValues("", list, {O::aeoFolders, O::aeoValues});
    EXPECT_EQ(StoredValueFlags(list, list.IndexOf("P\\f")), kStoredFolder);
    EXPECT_EQ(StoredValueFlags(list, list.IndexOf("P\\top")), kStoredValue);
}

TEST(UxAppStorage, VersionCheck)
{
    TUxMemAppStorage st(nullptr);
    st.WriteInteger("\\Cfg\\x", 5);
    st.CheckDeletePathByVersion("Cfg", 2, false, true, "Version");
    EXPECT_FALSE(st.ValueStored("\\Cfg\\x"));
    EXPECT_EQ(st.ReadInteger("\\Cfg\\Version", 0), 2);
    st.WriteInteger("\\Cfg\\x", 5);
    st.CheckDeletePathByVersion("Cfg", 2, true, true, "Version");  // equal: kept
    EXPECT_TRUE(st.ValueStored("\\Cfg\\x"));
    st.CheckDeletePathByVersion("Cfg", 1, false, false, "Version");  // newer stored: kept, not written
    EXPECT_EQ(st.ReadInteger("\\Cfg\\Version", 0), 2);
    st.CheckDeletePathByVersion("Cfg", 1, true, true, "Version");  // not equal: deleted
    EXPECT_FALSE(st.ValueStored("\\Cfg\\x"));
    EXPECT_EQ(st.ReadInteger("\\Cfg\\Version", 0), 1);
}

TEST(UxAppStorage, ExistenceAndConversionRules)
{
    TUxMemAppStorage st(nullptr);
    EXPECT_EQ(st.ReadInteger("\\missing", 42), 42);
    EXPECT_EQ(st.NativeReadCount, 0);  // the back-end was not asked
    st.WriteString("\\n", "abc");
    EXPECT_THROW(st.ReadInteger("\\n", 7), rtl::EConvertError);
    st.StorageOptions()->SetDefaultIfValueNotExists(false);
    st.StorageOptions()->SetDefaultIfReadConvertError(true);
    EXPECT_EQ(st.ReadInteger("\\n", 7), 7);
    EXPECT_EQ(st.ReadInteger("\\missing", 9), 9);
    EXPECT_GT(st.NativeReadCount, 0);
}

TEST(UxAppStorage, Booleans)
{
    TUxMemAppStorage st(nullptr);
    st.WriteBoolean("\\b", true);
    EXPECT_EQ(st.RawText("\\b"), "TRUE");
    struct Case {
        const char* text;
        bool want;
    } cases[] = {{"yes", true}, {"Y", true}, {"true", true}, {"No", false}, {"n", false}, {"7", true}, {"0", false}};
    for (const auto& c : cases) {
        st.WriteString("\\b", c.text);
        EXPECT_EQ(st.ReadBoolean("\\b", !c.want), c.want) << c.text;
    }
    st.StorageOptions()->SetBooleanStringTrueValues("");
    EXPECT_FALSE(st.StorageOptions()->BooleanAsString());
    st.WriteBoolean("\\c", true);
    EXPECT_EQ(st.RawKind("\\c"), 'i');
    EXPECT_TRUE(st.StorageOptions()->IsValueFalseString("no"));
}

TEST(UxAppStorage, EnumerationsColoursAndErrors)
{
    TUxMemAppStorage st(nullptr);
    st.WriteEnumeration("\\e", PickType(), 3);
    EXPECT_EQ(st.RawText("\\e"), "pkThree");
    EXPECT_EQ(st.ReadEnumeration("\\e", PickType(), 0), 3);
    st.WriteString("\\e", "2");
    EXPECT_EQ(st.ReadEnumeration("\\e", PickType(), 0), 2);
    st.WriteString("\\e", "pkone");
    EXPECT_EQ(st.ReadEnumeration("\\e", PickType(), 0), 1);
    const rtl::TTypeInfo* colour = gui::TypeInfoColor();
    st.WriteEnumeration("\\red", colour, gui::clRed);
    EXPECT_EQ(st.RawText("\\red"), "clRed");
    EXPECT_EQ(st.ReadEnumeration("\\red", colour, 0), static_cast<int64_t>(gui::clRed));
    st.WriteEnumeration("\\face", colour, gui::clBtnFace);
    EXPECT_EQ(st.ReadEnumeration("\\face", colour, 0), static_cast<int64_t>(gui::clBtnFace));
    st.WriteEnumeration("\\odd", colour, 0x123456);
    EXPECT_EQ(st.RawKind("\\odd"), 'i');
    EXPECT_EQ(st.ReadEnumeration("\\odd", colour, 0), 0x123456);
    st.StorageOptions()->SetTypedIntegerAsString(false);
    st.WriteEnumeration("\\red2", colour, gui::clRed);
    EXPECT_EQ(st.RawText("\\red2"), "255");
    EXPECT_EQ(MessageOf([&] { st.WriteEnumeration("\\f", rtl::TypeInfoDouble(), 1); }), "Invalid type");
    EXPECT_EQ(MessageOf([&] { st.ReadEnumeration("\\e", rtl::TypeInfoDouble(), 1); }), "Invalid type");
    EXPECT_EQ(MessageOf([&] { st.WriteSet("\\s", rtl::TypeInfoInteger(), 1); }), "Unknown base type for given set");
}

TEST(UxAppStorage, SetsAsTextOrFlags)
{
    TUxMemAppStorage st(nullptr);
    uint64_t v = TPicks{TPick::pkOne, TPick::pkThree}.ToMask();
    st.WriteSet("\\s", PicksType(), v);
    EXPECT_EQ(st.RawText("\\s\\pkOne"), "TRUE");
    EXPECT_EQ(st.RawText("\\s\\pkTwo"), "FALSE");
    EXPECT_EQ(st.ReadSet("\\s", PicksType(), 0), v);
    st.StorageOptions()->SetSetAsString(true);
    st.WriteSet("\\t", PicksType(), v);
    EXPECT_EQ(st.RawText("\\t"), "[pkOne, pkThree]");
    EXPECT_EQ(st.ReadSet("\\t", PicksType(), 0), v);
    EXPECT_EQ(st.ReadSet("\\none", PicksType(), 1), 1u);
}

TEST(UxAppStorage, FloatsAndDates)
{
    TUxMemAppStorage st(nullptr);
    st.WriteFloat("\\f", 1.5L);
    EXPECT_EQ(st.RawKind("\\f"), 'f');
    st.StorageOptions()->SetFloatAsString(true);
    EXPECT_EQ(st.ReadFloat("\\f", 0), 1.5L);  // a stored number still reads
    st.WriteFloat("\\g", 2.25L);
    EXPECT_EQ(st.RawText("\\g"), "2.25");
    EXPECT_EQ(st.ReadFloat("\\g", 0), 2.25L);
    rtl::TDateTime dt = rtl::EncodeDate(2024, 4, 8) + rtl::EncodeTime(18, 17, 16, 0);
    st.WriteDateTime("\\d", dt);
    EXPECT_EQ(st.RawText("\\d"), "2024-04-08 18:17:16");
    EXPECT_NEAR(st.ReadDateTime("\\d", 0), dt, 1e-8);
    st.StorageOptions()->SetUseTranslateStringEngineDateTimeFormats(true);
    st.WriteDateTime("\\d2", dt);
    EXPECT_EQ(st.RawText("\\d2"), "08_04_2024 18_17_16");
    EXPECT_NEAR(st.ReadDateTime("\\d2", 0), dt, 1e-8);
    st.StorageOptions()->SetDateTimeAsString(false);
    st.WriteDateTime("\\d3", dt);
    EXPECT_EQ(st.RawKind("\\d3"), 'f');
    EXPECT_NEAR(st.ReadDateTime("\\d3", 0), dt, 1e-8);
}

TEST(UxAppStorage, EncryptedTextsRoundTrip)
{
    TUxMemAppStorage st(nullptr);
    st.OnEncryptPropertyValue = [](std::string& v) { std::reverse(v.begin(), v.end()); };
    st.OnDecryptPropertyValue = [](std::string& v) { std::reverse(v.begin(), v.end()); };
    st.WriteString("\\plain", "open");
    EXPECT_EQ(st.RawText("\\plain"), "open");  // not enabled: unchanged
    st.EnablePropertyValueCrypt();
    st.WriteString("\\secret", "geheim");
    EXPECT_EQ(st.RawText("\\secret"), ucl::MimeEncodeText("mieheg"));
    EXPECT_EQ(st.ReadString("\\secret", ""), "geheim");
    st.StorageOptions()->SetDefaultIfValueNotExists(false);
    EXPECT_EQ(st.ReadString("\\absent", "fallback"), "fallback");  // the default survives the trip
    st.DisablePropertyValueCrypt();
    EXPECT_FALSE(st.IsPropertyValueCryptEnabled());
}

TEST(UxAppStorage, WideStringsAndBinaryValues)
{
    TUxMemAppStorage st(nullptr);
    st.WriteWideString("\\w", u"\u00C4rger \u03B1");
    EXPECT_EQ(st.ReadWideString("\\w", u""), u"\u00C4rger \u03B1");
    const char bytes[] = {1, 0, 2, 3};
    st.WriteBinary("\\bin", bytes, 4);
    char back[8] = {};
    EXPECT_EQ(st.ReadBinary("\\bin", back, 8), 4);
    EXPECT_EQ(back[3], 3);
}
