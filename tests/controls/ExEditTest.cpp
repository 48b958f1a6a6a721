// The typed edit: its value model under two locale settings, prefix and
// suffix, focus and error colours, the attached label, painting and the
// range list.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "ControlsFixture.h"
#include "controls/ExEdit.h"
#include "platform/gui/InputSim.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/IniFiles.h"
#include "platform/sys/DebugLog.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

// Runs a test body under a decimal and thousand separator, restored after.
struct Separators {
    char oldDecimal, oldThousand;
    Separators(char decimal, char thousand)
        : oldDecimal(rtl::FormatSettings().DecimalSeparator), oldThousand(rtl::FormatSettings().ThousandSeparator)
    {
        rtl::FormatSettings().DecimalSeparator = decimal;
        rtl::FormatSettings().ThousandSeparator = thousand;
    }
    ~Separators()
    {
        rtl::FormatSettings().DecimalSeparator = oldDecimal;
        rtl::FormatSettings().ThousandSeparator = oldThousand;
    }
};

TExEdit* AddEdit(Host& h, int x = 100, int y = 50, int w = 80)
{
    auto* e = new TExEdit(&h.form);
    e->SetParent(&h.form);
    e->SetBounds(x, y, w, 19);
    return e;
}

// Swaps "." and "," for the comma-decimal setting.
std::string Swap(std::string s)
{
    for (char& c : s) c = c == '.' ? ',' : c == ',' ? '.' : c;
    return s;
}

} // namespace

TEST(ExEdit, ValueTableUnderBothSeparatorSettings)
{
    for (bool comma : {false, true}) {
        Separators sep(comma ? ',' : '.', comma ? '.' : ',');
        auto loc = [&](const std::string& s) { return comma ? Swap(s) : s; };
        Host h;
        auto* e = AddEdit(h);

        e->SetEditType(TExEditType::etFloat);
        e->SetPrecision(2);
        e->SetFloatValue(3.5);
        EXPECT_EQ(e->Text(), loc("3.50")) << comma;
        e->SetPrecisionDisplay(TPrecisionDisplay::pdShortest);
        EXPECT_EQ(e->Text(), loc("3.5")) << comma;
        EXPECT_DOUBLE_EQ(e->FloatValue(), 3.5);

        auto* m = AddEdit(h, 100, 80);
        m->SetEditType(TExEditType::etMoney);
        m->SetPrecision(2);
        m->SetFloatValue(1234567.8);
        EXPECT_EQ(m->Text(), loc("1,234,567.80")) << comma;
        EXPECT_DOUBLE_EQ(m->FloatValue(), 1234567.8);
        EXPECT_EQ(m->IntValue(), 1234567);

        auto* n = AddEdit(h, 100, 110);
        n->SetEditType(TExEditType::etNumeric);
        n->SetFloatValue(1234.6);
        EXPECT_EQ(n->Text(), loc("1,235")) << comma;
        // Thousand separators written by FloatValue read back as one number.
        EXPECT_EQ(n->IntValue(), 1235) << comma;
        n->SetText("-12a");
        EXPECT_EQ(n->IntValue(), -12);
        n->SetText("");
        EXPECT_EQ(n->Text(), "0");
        n->SetAllowNumericNullValue(true);
        n->SetText("");
        EXPECT_EQ(n->Text(), "");
        EXPECT_EQ(n->IntValue(), 0);
        n->SetIntValue(-42);
        EXPECT_EQ(n->Text(), "-42");
        EXPECT_TRUE(n->Modified());
    }
}

TEST(ExEdit, HexTypeAndTypeSwitches)
{
    Host h;
    auto* e = AddEdit(h);
    e->SetEditType(TExEditType::etHex);
    e->SetText("ff");
    EXPECT_EQ(e->Text(), "FF");
    EXPECT_EQ(e->IntValue(), 255);
    e->SetFloatValue(255.9);
    EXPECT_EQ(e->Text(), "FF");
    e->SetIntValue(4096);
    EXPECT_EQ(e->Text(), "1000");

    auto* s = AddEdit(h, 100, 80);
    s->SetText("abc");
    s->SetEditType(TExEditType::etNumeric);
    EXPECT_EQ(s->Text(), "0");
    s->SetText("17");
    s->SetEditType(TExEditType::etFloat);
    EXPECT_EQ(s->Text(), "17");

    s->SetVersion("9.9.9.9");
    EXPECT_EQ(s->Version(), "2.8.2.1");

    EXPECT_EQ(NumberTextKind("12"), TNumberTextKind::ntkInteger);
    EXPECT_EQ(NumberTextKind("1,234.5"), TNumberTextKind::ntkDecimal);
    EXPECT_EQ(NumberTextKind("1,23"), TNumberTextKind::ntkDecimal);
    EXPECT_EQ(NumberTextKind("1,2,3"), TNumberTextKind::ntkNone);
    EXPECT_EQ(NumberTextKind("1f"), TNumberTextKind::ntkHex);
    EXPECT_EQ(NumberTextKind("--1"), TNumberTextKind::ntkNone);
    EXPECT_EQ(NumberTextKind(""), TNumberTextKind::ntkNone);
    EXPECT_EQ(ProperCase("o'neil-smith"), "O'Neil-Smith");
    EXPECT_EQ(ProperCase("john mcdonald"), "John McDonald");
    EXPECT_EQ(ProperCase("henry iii"), "Henry III");
}

TEST(ExEdit, PrefixAndSuffixFrameTheValue)
{
    Host h;
    auto* e = AddEdit(h);
    e->SetEditType(TExEditType::etNumeric);
    e->SetPrefix("$");
    e->SetSuffix(" kg");
    e->SetIntValue(12);
    EXPECT_EQ(e->Caption(), "$12 kg");
    EXPECT_EQ(e->Text(), "12");
    e->SelectAll();
    EXPECT_EQ(e->SelStart(), 1);
    EXPECT_EQ(e->SelLength(), 2);
    EXPECT_EQ(e->SelText(), "12");
}

TEST(ExEdit, FocusErrorAndModifiedColours)
{
    Host h;
    auto* e = AddEdit(h);
    auto* other = AddEdit(h, 100, 100);
    e->SetEditType(TExEditType::etNumeric);
    e->SetFocusColor(clCream);
    e->SetShowError(true);
    e->OnValueValidate = [](rtl::TObject*, const std::string& v, bool& ok) { ok = v != "13"; };
    h.Show();
    e->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(e->Color(), clCream);
    sim::TypeText("13", e);
    EXPECT_EQ(e->Text(), "13");
    EXPECT_TRUE(e->IsError());
    EXPECT_EQ(e->Color(), clRed);
    EXPECT_EQ(e->Font()->Color(), clWhite);
    sim::TypeText("4", e);
    EXPECT_EQ(e->Text(), "134");
    EXPECT_FALSE(e->IsError());
    EXPECT_EQ(e->Color(), clCream);
    EXPECT_EQ(e->Font()->Color(), clWindowText);
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(e->Color(), clWindow);

    // Disabled shows the disabled colour and gives the normal one back.
    e->SetEnabled(false);
    EXPECT_EQ(e->Color(), clSilver);
    e->SetEnabled(true);
    EXPECT_EQ(e->Color(), clWindow);
}

namespace {
struct UrlEdit : TExEdit {
    using TExEdit::TExEdit;
    using TExEdit::IsURL;
};
} // namespace

// The link look follows the typed value; SelectAll starts after the scheme;
// a click on a focused link asks OnURLClick before opening.
TEST(ExEdit, LinkLookFollowsTheValue)
{
    Host h;
    auto* e = new UrlEdit(&h.form);
    e->SetParent(&h.form);
    e->SetBounds(100, 50, 160, 19);
    e->SetShowURL(true);
    e->SetURLColor(clMaroon);
    h.Show();
    e->SetFocus();
    Application->ProcessMessages();
    struct Case {
        const char* text;
        bool url;
        int selStart;
    } cases[] = {
        {"http://a.b", true, 7},   // after "://"
        {"ftp://h", true, 6},
        {"mailto:x@y", true, 7},   // after "mailto:"
        {"a@b", true, 0},
        {"@ab", false, 0},         // "@" must follow the first character
        {"WWW.site", true, 0},     // any letter case
        {"plain", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        e->SetText(c.text);
        EXPECT_EQ(e->Text(), c.text);
        EXPECT_EQ(e->IsURL(), c.url);
        EXPECT_EQ(e->Font()->Style().Contains(TFontStyle::fsUnderline), c.url);
        EXPECT_EQ(e->Font()->Color(), c.url ? clMaroon : clWindowText);
        EXPECT_EQ(e->Cursor(), c.url ? crHandPoint : crDefault);
        e->SelectAll();
        EXPECT_EQ(e->SelStart(), c.selStart);
    }

    std::string clicked;
    e->OnURLClick = [&](rtl::TObject*, const std::string& url, bool& show) {
        clicked = url;
        show = false;   // no browser in a test
    };
    e->SetText("https://x.y");
    sim::Click(e, 5, 5);
    EXPECT_EQ(clicked, "https://x.y");
    // Without ShowURL the click is an ordinary click.
    clicked.clear();
    e->SetShowURL(false);
    sim::Click(e, 5, 5);
    EXPECT_EQ(clicked, "");
}

TEST(ExEdit, LabelPositionsAndFollowing)
{
    Host h(400, 200);
    auto* e = AddEdit(h, 100, 60, 80);
    EXPECT_EQ(e->EditLabel(), nullptr);
    EXPECT_EQ(e->LabelCaption(), "");
    e->SetLabelCaption("Saros");
    TLabel* l = e->EditLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), &h.form);
    const int lw = l->Width(), lh = l->Height();
    TCanvas* lc = l->Canvas();
    lc->SetFont(l->Font());
    const int t = lc->TextWidth("Saros");
    const int middle = 60 + (19 - lh) / 2, centre = 100 + (80 - lw) / 2;
    using P = TExEdit::TLabelPosition;
    struct Case {
        P pos;
        int left, top;
    };
    const Case cases[] = {
        {P::lpLeftTop, 100 - t - 4, 60},         {P::lpLeftCenter, 100 - t - 4, middle},
        {P::lpLeftBottom, 100 - t - 4, 79 - lh}, {P::lpTopLeft, 100, 60 - lh - 4},
        {P::lpBottomLeft, 100, 83},              {P::lpLeftTopLeft, 96, 60},
        {P::lpLeftCenterLeft, 96, middle},       {P::lpLeftBottomLeft, 96, 79 - lh},
        {P::lpTopCenter, centre, 60 - lh - 4},   {P::lpBottomCenter, centre, 83},
        {P::lpRightTop, 184, 60},                {P::lpRightCenter, 184, middle},
        {P::lpRighBottom, 184, 79 - lh},
    };
    for (const Case& k : cases) {
        e->SetLabelPosition(k.pos);
        EXPECT_EQ(l->Left(), k.left) << static_cast<int>(k.pos);
        EXPECT_EQ(l->Top(), k.top) << static_cast<int>(k.pos);
    }

    e->SetLabelPosition(P::lpLeftCenter);
    e->SetBounds(150, 100, 80, 19);
    EXPECT_EQ(l->Left(), 150 - t - 4);
    EXPECT_EQ(l->Top(), 100 + (19 - lh) / 2);

    e->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    e->SetVisible(true);
    EXPECT_TRUE(l->Visible());
    e->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    e->SetEnabled(true);
    e->SetLabelAlwaysEnabled(true);
    e->SetEnabled(false);
    EXPECT_TRUE(l->Enabled());

    // The label font is the edit's while ParentFont holds.
    TFont big;
    big.SetSize(20);
    e->SetParentFont(true);
    const int before = l->Font()->Size();
    e->SetLabelFont(&big);
    EXPECT_EQ(l->Font()->Size(), before);
    e->SetParentFont(false);
    e->SetLabelFont(&big);
    EXPECT_EQ(l->Font()->Size(), 20);
}

TEST(ExEdit, FlatLinesFramesAndHintText)
{
    Host h;
    auto* e = AddEdit(h, 20, 20, 100);
    auto* other = AddEdit(h, 20, 100, 100);
    e->SetFlat(true);
    h.Show();
    auto img = h.Image();
    // Flat underline along the bottom row, black; grey when disabled.
    EXPECT_EQ(PixelAt(*img, 20 + 50, 20 + 18), clBlack);
    e->SetDisabledBorder(false);
    e->SetEnabled(false);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20 + 50, 20 + 18), clGray);
    // With the disabled border the frame is silver all round.
    e->SetDisabledBorder(true);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20 + 50, 20 + 18), clSilver);
    EXPECT_EQ(PixelAt(*img, 20, 20 + 9), clSilver);
    e->SetEnabled(true);

    // Soft border: a rectangle round the text area.
    e->SetSoftBorder(true);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20 + 99, 20 + 10), clBlack);
    EXPECT_EQ(PixelAt(*img, 20 + 50, 20 + 18), clBlack);
    e->SetFlat(false);
    e->SetSoftBorder(false);

    // Focus border colour only while focused.
    other->SetFocusBorderColor(clLime);
    e->SetFocus();
    Application->ProcessMessages();
    img = h.Image();
    EXPECT_NE(PixelAt(*img, 20, 100 + 10), clLime);
    other->SetFocus();
    Application->ProcessMessages();
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20, 100 + 10), clLime);
    e->SetFocus();
    Application->ProcessMessages();
    img = h.Image();
    EXPECT_NE(PixelAt(*img, 20, 100 + 10), clLime);

    // EmptyText grey at (2, 2), only when empty and unfocused.
    other->SetEmptyText("MMMM");
    auto greyNear = [&](TBitmap& b) {
        for (int y = 100 + 2; y < 100 + 16; ++y)
            for (int x = 20 + 2; x < 20 + 30; ++x)
                if (PixelAt(b, x, y) == clGray) return true;
        return false;
    };
    img = h.Image();
    EXPECT_TRUE(greyNear(*img));
    other->SetFocus();
    Application->ProcessMessages();
    img = h.Image();
    EXPECT_FALSE(greyNear(*img));
    e->SetFocus();
    Application->ProcessMessages();
    other->SetText("1");
    img = h.Image();
    EXPECT_FALSE(greyNear(*img));
}

TEST(ExEdit, ErrorMarkerOfLengthZeroDrawsNothing)
{
    Host h;
    auto* e = AddEdit(h, 20, 20, 120);
    auto* other = AddEdit(h, 20, 100, 120);
    e->SetText("wrong word");
    h.Show();
    other->SetFocus();
    auto redIn = [&](TBitmap& b) {
        for (int y = 20; y < 39; ++y)
            for (int x = 20; x < 140; ++x)
                if (PixelAt(b, x, y) == clRed) return true;
        return false;
    };
    e->SetErrorMarkerPos(0);
    e->SetErrorMarkerLen(0);
    auto img = h.Image();
    EXPECT_FALSE(redIn(*img));
    e->SetErrorMarkerLen(5);
    img = h.Image();
    EXPECT_TRUE(redIn(*img));
}

TEST(RangeList, ParseAndFormatTable)
{
    struct Case {
        const char* text;
        bool ok;
        std::vector<int32_t> items;
        const char* formatted;
    };
    const Case cases[] = {
        {"1-3,5;7-8", true, {1, 2, 3, 5, 7, 8}, "1-3,5,7-8"},
        {"5-3", true, {}, ""},
        {"1,,2", false, {1, 2}, "1-2"},
        {"2,2,1-2", true, {2, 1}, "1-2"},
        {"x,4", false, {4}, "4"},
        {"3-y", false, {}, ""},
    };
    for (const Case& c : cases) {
        TRangeList l;
        EXPECT_EQ(l.StrToList(c.text), c.ok) << c.text;
        ASSERT_EQ(l.Count(), static_cast<int>(c.items.size())) << c.text;
        for (int i = 0; i < l.Count(); ++i) EXPECT_EQ(l.Items(i), c.items[static_cast<std::size_t>(i)]) << c.text;
        EXPECT_EQ(l.ToRangeStr(), c.formatted) << c.text;
    }
    TRangeList l;
    l.AddMultiple(10, 3);
    l.AddMultiple(20, 0);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_TRUE(l.InList(12));
    EXPECT_FALSE(l.InList(13));
    // A run that reaches the largest integer stops there, nothing wraps round.
    TRangeList top;
    top.AddMultiple(INT32_MAX - 1, 5);
    ASSERT_EQ(top.Count(), 2);
    EXPECT_EQ(top.Items(1), INT32_MAX);
    EXPECT_FALSE(top.InList(INT32_MIN));
}

TEST(RangeList, HugeRangeIsRefusedQuickly)
{
    TRangeList l;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(l.StrToList("0-2000000000,5"));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 1000);  // hang guard; the refusal itself is immediate
    EXPECT_EQ(l.Count(), 1);
    EXPECT_TRUE(l.InList(5));
    // A range at the limit still reads in full.
    EXPECT_TRUE(l.StrToList("1-" + std::to_string(TRangeList::MaxRangeLength)));
    EXPECT_EQ(l.Count(), TRangeList::MaxRangeLength);
}

TEST(RangeList, EditConvertsItsText)
{
    Host h;
    auto* e = AddEdit(h);
    e->SetEditType(TExEditType::etRange);
    e->SetText("7-8;1");
    TRangeList l;
    EXPECT_TRUE(e->RangeStrToList(l));
    l.Add(9);
    e->ListToRangeStr(l);
    EXPECT_EQ(e->Text(), "1,7-9");
}

TEST(ExEditPersistence, IniEntriesRoundTripAndTheAtSign)
{
    const std::string dir = (std::filesystem::temp_directory_path() / "exedit-persist").string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string ini = dir + "/prog.INI";
    {
        Host h;
        auto* e = AddEdit(h);
        e->SetName("Edit1");
        e->Persistence()->Enable = true;
        e->Persistence()->Key = ini;
        e->Lookup()->Enabled = true;
        e->Lookup()->History = true;
        e->Lookup()->DisplayList()->Add("a");
        e->Lookup()->DisplayList()->Add("b");
        e->Lookup()->ValueList()->Add("x");
        e->Lookup()->ValueList()->Add("y");
        e->SetPrefix("$");
        e->SetText("12");
        delete e;
    }
    rtl::TStringList lines;
    lines.LoadFromFile(ini);
    EXPECT_EQ(lines.Text(), "[Edit1]\nEdit1=$12\nLOOKUPCOUNT=2\nLOOKUPDISPL1=a\nLOOKUPVAL1=x\nLOOKUPDISPL2=b\nLOOKUPVAL2=y\n\n");
    {
        Host h;
        auto* e = AddEdit(h);
        e->SetName("Edit1");
        e->Persistence()->Enable = true;
        e->Persistence()->Key = ini;
        e->Lookup()->Enabled = true;
        e->Lookup()->History = true;
        e->LoadPersist();
        EXPECT_EQ(e->Caption(), "$12");
        EXPECT_EQ(e->Lookup()->DisplayList()->Count(), 2);
        // Loading again appends to the lists.
        e->LoadPersist();
        EXPECT_EQ(e->Lookup()->DisplayList()->Count(), 4);
        EXPECT_EQ(e->Lookup()->ValueList()->Strings(3), "y");
        e->Persistence()->Enable = false;
    }
    // "@" is the absent mark: never restored.
    {
        rtl::TIniFile f(ini);
        f.WriteString("Edit1", "Edit1", "@");
    }
    {
        Host h;
        auto* e = AddEdit(h);
        e->SetName("Edit1");
        e->SetText("keep");
        e->Persistence()->Enable = true;
        e->Persistence()->Key = ini;
        e->LoadPersist();
        EXPECT_EQ(e->Text(), "keep");
        e->Persistence()->Enable = false;
    }
    // The registry stand-in keeps key and subkey as one section.
    {
        Host h;
        auto* e = AddEdit(h);
        e->SetName("Edit2");
        e->Persistence()->Enable = true;
        e->Persistence()->Location = TPersistenceLocation::plRegistry;
        e->Persistence()->Key = "Software\\Tolmira\\Test";
        e->Persistence()->Section = "Edits";
        e->SetText("reg");
        e->SavePersist();
        e->SetText("other");
        e->LoadPersist();
        EXPECT_EQ(e->Text(), "reg");
        rtl::TIniFile f(PersistenceRegistryFile());
        EXPECT_EQ(f.ReadString("Software\\Tolmira\\Test\\Edits", "Edit2", ""), "reg");
        f.EraseSection("Software\\Tolmira\\Test\\Edits");
        e->Persistence()->Enable = false;
    }
}

TEST(RangeList, ShowWritesEachItemToTheDebugLog)
{
    std::vector<std::string> lines;
    sys::SetDebugLogHandler([&](const std::string& s) { lines.push_back(s); });
    TRangeList l;
    l.StrToList("3,1-2");
    l.Show();
    sys::SetDebugLogHandler(nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"3", "1", "2"}));
}

TEST(ExEdit, LongValueShowsWholeInTheHint)
{
    Host h;
    auto* e = AddEdit(h, 20, 20, 40);
    e->SetHintShowLargeText(true);
    e->SetHint("short");
    e->SetText("a value far wider than forty pixels");
    THintInfo info;
    info.HintStr = "short";
    e->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, "a value far wider than forty pixels");
    EXPECT_EQ(info.HintPos, e->ClientToScreen({0, 0}));
    e->SetText("x");
    info.HintStr = "short";
    e->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, "short");
}

TEST(ExEdit, TransparentShowsTheParent)
{
    Host h;
    h.form.SetColor(clYellow);
    auto* e = AddEdit(h, 20, 20, 120);
    h.Show();
    auto img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20 + 60, 20 + 9), clWhite);
    e->SetTransparent(true);
    img = h.Image();
    EXPECT_EQ(PixelAt(*img, 20 + 60, 20 + 9), clYellow);
}

TEST(ExEdit, FocusWidensRealignsAndBoldsTheLabel)
{
    Host h;
    auto* e = AddEdit(h, 100, 20, 80);
    auto* other = AddEdit(h, 100, 100, 80);
    e->SetFocusWidthInc(20);
    e->SetFocusAlign(TEditAlign::eaRight);
    e->SetFocusLabel(true);
    e->SetLabelCaption("Year");
    h.Show();
    other->SetFocus();
    Application->ProcessMessages();
    e->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(e->Width(), 100);
    EXPECT_EQ(e->EditAlign(), TEditAlign::eaRight);
    EXPECT_TRUE(e->EditLabel()->Font()->Style().Contains(TFontStyle::fsBold));
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(e->Width(), 80);
    EXPECT_EQ(e->EditAlign(), TEditAlign::eaLeft);
    EXPECT_FALSE(e->EditLabel()->Font()->Style().Contains(TFontStyle::fsBold));
}
