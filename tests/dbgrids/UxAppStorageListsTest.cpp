// Stored lists, objects by their published properties, and string macros.
#include <gtest/gtest.h>

#include <functional>

#include "dbgrids/UxMemAppStorage.h"
#include "dbgrids/UxTranslateString.h"
#include "dbgrids/ucl/UclFileUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GraphicsIdents.h"
#include "platform/rtl/DateTime.h"

using namespace dbgrids;

namespace storage_test {

class TNested : public rtl::TPersistent {
    RTL_CLASS(TNested, rtl::TPersistent)
public:
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    int FSize = 8;
};
RTL_PUBLISHED(TNested) { c.Property("Size", &TNested::Size, &TNested::SetSize); }

class TSample : public rtl::TPersistent {
    RTL_CLASS(TSample, rtl::TPersistent)
public:
    TSample() { Nested = new TNested(); }
    ~TSample() override { delete Nested; }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    std::string Caption() const { return FCaption; }
    void SetCaption(std::string v) { FCaption = std::move(v); }
    int64_t Big() const { return FBig; }
    void SetBig(int64_t v) { FBig = v; }
    uint32_t Color() const { return FColor; }
    void SetColor(uint32_t v) { FColor = v; }
    int Fixed() const { return 5; }
    rtl::TStringList* Lines() const { return const_cast<rtl::TStringList*>(&FLines); }
    TNested* Inner() const { return Nested; }
    int FWidth = 100;
    bool FVisible = false;
    std::string FCaption;
    int64_t FBig = 0;
    uint32_t FColor = 0;
    rtl::TStringList FLines;
    TNested* Nested;
};
RTL_PUBLISHED(TSample)
{
    c.Property("Width", &TSample::Width, &TSample::SetWidth).Default(100);
    c.Property("Visible", &TSample::Visible, &TSample::SetVisible).Default(false);
    c.Property("Caption", &TSample::Caption, &TSample::SetCaption);
    c.Property("Big", &TSample::Big, &TSample::SetBig);
    c.Property("Color", &TSample::Color, &TSample::SetColor).As(gui::TypeInfoColor());
    c.Property("Fixed", &TSample::Fixed);
    c.Property("Lines", &TSample::Lines);
    c.Property("Inner", &TSample::Inner);
}

class TItem : public rtl::TCollectionItem {
    RTL_CLASS(TItem, rtl::TCollectionItem)
public:
    explicit TItem(rtl::TCollection* c) : rtl::TCollectionItem(c) {}
    int Value() const { return FValue; }
    void SetValue(int v) { FValue = v; }
    int FValue = 0;
};
RTL_PUBLISHED(TItem) { c.Property("Value", &TItem::Value, &TItem::SetValue); }

class TListItem : public rtl::TPersistent {
    RTL_CLASS(TListItem, rtl::TPersistent)
public:
    std::string Name() const { return FName; }
    void SetName(std::string v) { FName = std::move(v); }
    std::string FName;
};
RTL_PUBLISHED(TListItem) { c.Property("Name", &TListItem::Name, &TListItem::SetName); }

} // namespace storage_test

using namespace storage_test;

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

std::unique_ptr<rtl::TStringList> Lines(std::initializer_list<std::string> l)
{
    auto s = std::make_unique<rtl::TStringList>();
    for (const auto& x : l) s->Add(x);
    return s;
}

} // namespace

TEST(UxAppStorageLists, ShorterListDeletesTheRest)
{
    TUxMemAppStorage st(nullptr);
    auto eight = Lines({"a", "b", "c", "d", "e", "f", "g", "h"});
    st.WriteStringList("\\L", eight.get());
    EXPECT_EQ(st.ReadInteger("\\L\\Count", 0), 8);
    auto five = Lines({"1", "2", "3", "4", "5"});
    st.WriteStringList("\\L", five.get());
    EXPECT_EQ(st.ReadInteger("\\L\\Count", 0), 5);
    EXPECT_EQ(st.RawText("\\L\\Item4"), "5");
    for (const char* gone : {"\\L\\Item5", "\\L\\Item6", "\\L\\Item7"}) EXPECT_FALSE(st.ValueStored(gone)) << gone;
    auto back = Lines({"old"});
    EXPECT_EQ(st.ReadStringList("\\L", back.get(), false), 5);  // appended without ClearFirst
    EXPECT_EQ(back->Count(), 6);
    EXPECT_EQ((*back)[0], "old");
    EXPECT_EQ((*back)[5], "5");
}

TEST(UxAppStorageLists, ItemNameFormats)
{
    TUxMemAppStorage st(nullptr);
    st.StorageOptions()->SetUseOldItemNameFormat(false);
    auto two = Lines({"x", "y"});
    st.WriteStringList("\\L", two.get());
    EXPECT_EQ(st.RawText("\\L\\Item[1]"), "y");
    TUxWideStrings wide;
    wide.Items = {u"\u00E4", u"b"};
    st.WriteWideStringList("\\W", &wide);
    EXPECT_EQ(st.RawText("\\W\\Item0"), "\xC3\xA4");
    TUxWideStrings back;
    EXPECT_EQ(st.ReadWideStringList("\\W", &back), 2);
    EXPECT_EQ(back.Items[0], u"\u00E4");
}

TEST(UxAppStorageLists, SingleStringListsSplitIntoLines)
{
    TUxMemAppStorage st(nullptr);
    auto three = Lines({"one", "two", "three"});
    st.WriteStringList("\\S", three.get());
    st.StorageOptions()->SetStoreStringListAsSingleString(true);
    st.WriteStringList("\\S", three.get());  // replaces the stored list
    EXPECT_FALSE(st.ValueStored("\\S\\Count"));
    EXPECT_EQ(st.RawKind("\\S"), 's');
    rtl::TStringList back;
    EXPECT_EQ(st.ReadStringList("\\S", &back), 3);
    EXPECT_EQ(back[2], "three");
}

TEST(UxAppStorageLists, CollectionsAndMissingOnes)
{
    TUxMemAppStorage st(nullptr);
    rtl::TCollection items(TItem::StaticClassInfo());
    for (int v : {4, 5, 6}) static_cast<TItem*>(items.Add())->SetValue(v);
    st.WriteCollection("\\C", &items);
    EXPECT_EQ(st.RawText("\\C\\Item2\\Value"), "6");
    rtl::TCollection back(TItem::StaticClassInfo());
    EXPECT_EQ(st.ReadCollection("\\C", &back), 3);
    EXPECT_EQ(static_cast<TItem*>(back.Items(1))->Value(), 5);
    rtl::TCollection untouched(TItem::StaticClassInfo());
    untouched.Add();
    EXPECT_EQ(st.ReadCollection("\\Nothing", &untouched), 1);
    EXPECT_EQ(untouched.Count(), 1);
}

TEST(UxAppStorageLists, ObjectListsAndAnUnregisteredClass)
{
    rtl::RegisterClass<TListItem>();
    TUxMemAppStorage st(nullptr);
    TListItem a, b;
    a.SetName("first");
    b.SetName("second");
    TUxObjectList list;
    list.Items = {&a, &b};
    st.WriteObjectList("\\O", &list);
    st.WriteString("\\O\\Item0\\Classname", "TListItem");
    st.WriteString("\\O\\Item1\\Classname", "TNoSuchClass");
    TUxObjectList back;
    std::string msg = MessageOf([&] { st.ReadObjectList("\\O", &back, nullptr); });
    EXPECT_NE(msg.find("TNoSuchClass"), std::string::npos) << msg;
    ASSERT_EQ(back.Items.size(), 1u);  // the list as read so far
    EXPECT_EQ(static_cast<TListItem*>(back.Items[0])->Name(), "first");
    delete back.Items[0];
    // With a creator of the caller's.
    TUxObjectList made;
    std::vector<std::unique_ptr<TListItem>> owned;
    EXPECT_EQ(st.ReadObjectList("\\O", &made,
                                [&](TUxCustomAppStorage*, const std::string&, int) {
                                    owned.push_back(std::make_unique<TListItem>());
                                    return owned.back().get();
                                }),
              2);
    EXPECT_EQ(static_cast<TListItem*>(made.Items[1])->Name(), "second");
}

TEST(UxAppStorageLists, StringListsWithObjects)
{
    TUxMemAppStorage st(nullptr);
    TListItem a;
    a.SetName("obj");
    rtl::TStringList sl;
    sl.AddObject("label", &a);
    st.WriteStringObjectList("\\SO", &sl);
    EXPECT_EQ(st.RawText("\\SO\\Item0\\Itemname"), "label");
    EXPECT_EQ(st.RawText("\\SO\\Item0\\Object\\Name"), "obj");
    rtl::TStringList back;
    std::vector<std::unique_ptr<TListItem>> owned;
    st.ReadStringObjectList("\\SO", &back, [&](TUxCustomAppStorage*, const std::string&, int) {
        owned.push_back(std::make_unique<TListItem>());
        return owned.back().get();
    });
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back[0], "label");
    EXPECT_EQ(static_cast<TListItem*>(back.Objects(0))->Name(), "obj");
}

TEST(UxAppStorageObjects, DefaultsStoredOrSkipped)
{
    TUxMemAppStorage st(nullptr);
    TSample s;
    st.WritePersistent("\\A", &s, false);
    EXPECT_EQ(st.RawText("\\A\\Width"), "100");
    EXPECT_EQ(st.RawText("\\A\\Visible"), "FALSE");
    EXPECT_EQ(st.RawText("\\A\\Fixed"), "5");  // no setter, written with StoreDefaultValues
    EXPECT_EQ(st.RawText("\\A\\Color"), "clBlack");
    st.StorageOptions()->SetStoreDefaultValues(false);
    st.WritePersistent("\\B", &s, false);
    EXPECT_FALSE(st.ValueStored("\\B\\Width"));
    EXPECT_FALSE(st.ValueStored("\\B\\Visible"));
    EXPECT_FALSE(st.ValueStored("\\B\\Fixed"));
    EXPECT_FALSE(st.ValueStored("\\B\\Big"));
    s.SetWidth(120);
    st.WritePersistent("\\B", &s, false);
    EXPECT_EQ(st.RawText("\\B\\Width"), "120");
}

TEST(UxAppStorageObjects, ListsAlwaysNestedObjectsOnlyRecursive)
{
    TUxMemAppStorage st(nullptr);
    TSample s;
    s.FLines.Add("line");
    s.Nested->SetSize(12);
    st.WritePersistent("\\N", &s, false);
    EXPECT_EQ(st.RawText("\\N\\Lines\\Item0"), "line");
    EXPECT_FALSE(st.ValueStored("\\N\\Inner\\Size"));
    st.WritePersistent("\\R", &s, true);
    EXPECT_EQ(st.RawText("\\R\\Inner\\Size"), "12");
    TSample back;
    st.ReadPersistent("\\R", &back, true);
    EXPECT_EQ(back.Nested->Size(), 12);
    EXPECT_EQ(back.FLines.Count(), 1);
}

TEST(UxAppStorageObjects, IgnoredAndRenamedProperties)
{
    TUxMemAppStorage st(nullptr);
    TSample s;
    s.SetCaption("Hello");
    s.SetColor(gui::clRed);
    auto ignore = Lines({"Caption"});
    st.OnTranslatePropertyName = [](TUxCustomAppStorage*, rtl::TPersistent*, std::string& name, bool) {
        if (name == "Width") name = "W";
    };
    st.WritePersistent("\\T", &s, false, ignore.get());
    EXPECT_FALSE(st.ValueStored("\\T\\Caption"));
    EXPECT_EQ(st.RawText("\\T\\W"), "100");
    EXPECT_FALSE(st.ValueStored("\\T\\Width"));
    EXPECT_EQ(st.RawText("\\T\\Color"), "clRed");
    st.WriteString("\\T\\Caption", "Stored");
    st.WriteInteger("\\T\\W", 77);
    st.WriteInteger("\\T\\Fixed", 9);  // no setter: skipped on reading
    TSample back;
    st.ReadPersistent("\\T", &back, false, true, ignore.get());
    EXPECT_EQ(back.Caption(), "");
    EXPECT_EQ(back.Width(), 77);
    EXPECT_EQ(back.Color(), gui::clRed);
}

TEST(UxAppStorageObjects, SixtyFourBitTexts)
{
    TUxMemAppStorage st(nullptr);
    TSample s;
    s.SetBig(1234567890123LL);
    st.WritePersistent("\\I", &s, false);
    EXPECT_EQ(st.RawText("\\I\\Big"), "1234567890123");
    st.WriteString("\\I\\Big", "not a number");
    TSample back;
    EXPECT_THROW(st.ReadProperty("\\I\\Big", &back, "Big", false, true), rtl::EConvertError);
    st.StorageOptions()->SetDefaultIfReadConvertError(true);
    back.SetBig(5);
    st.ReadProperty("\\I\\Big", &back, "Big", false, true);
    EXPECT_EQ(back.Big(), 5);
}

// ----------------------------------------------------------------- macros

TEST(UxTranslateString, MacroTable)
{
    TUxTranslateString t(nullptr);
    std::string date = rtl::FormatDateTime("dd_mm_yyyy", rtl::Now());
    EXPECT_EQ(t.TranslateString("%date%"), date);
    std::string time = t.TranslateString("% TIME %");
    EXPECT_EQ(time.size(), 8u);
    EXPECT_EQ(time[2], '_');
    EXPECT_EQ(t.TranslateString("50% off"), "50% off");
    EXPECT_EQ(t.TranslateString("%NOSUCH%"), "NOSUCH%");
    EXPECT_EQ(t.TranslateString("a %FORMNAME% b"), "a  b");
    EXPECT_EQ(t.TranslateString("%APPL_NAME%"), "Tolmira Eclipse Calculator");
    bool changed = false;
    EXPECT_EQ(t.TranslateString("plain", changed), "plain");
    EXPECT_FALSE(changed);
    t.TranslateString("%DATE%", changed);
    EXPECT_TRUE(changed);
}

TEST(UxTranslateString, FormNamesAndProcessCommand)
{
    gui::TForm form(nullptr);
    form.SetName("MainForm");
    form.SetCaption("Eclipses");
    auto* t = new TUxTranslateString(&form);
    EXPECT_EQ(t->TranslateString("%FORMNAME%/%FormCaption%"), "MainForm/Eclipses");
    t->OnProcessCommand = [](rtl::TObject*, const std::string& cmd, std::string& result, bool& changed) {
        if (cmd == "USER") {
            result = "ada";
            changed = true;
        } else if (cmd == "DATE") {
            changed = false;
        }
    };
    EXPECT_EQ(t->TranslateString("%user% %DATE%"), "ada DATE%");
}

TEST(UxTranslateString, MissingVersionInformationIsToldOncePerValue)
{
    auto scripted = std::make_unique<gui::TScriptedDialogService>();
    gui::TScriptedDialogService* dialogs = scripted.get();
    auto previous = gui::SetDialogService(std::move(scripted));
    TUxTranslateString t(nullptr);
    t.VersionSource = []() -> std::unique_ptr<ucl::TUclFileVersionInfo> {
        throw ucl::EUclFileVersionInfoError("File contains no version information");
    };
    EXPECT_EQ(t.TranslateString("%APPL_NAME% %APPL_NAME% %FILEVERSION%"), "MyUXLApplication MyUXLApplication 0.0.0.0");
    ASSERT_EQ(dialogs->Calls.size(), 2u);
    EXPECT_EQ(dialogs->Calls[0].Text,
              "The Default Root Value \"APPL_NAME\" has been replaced with \"MyUXLApplication\".\n"
              "Please change the value in the FileVersionInfo Project Properties.");
    gui::SetDialogService(std::move(previous));
}
