// The data-aware grid's published events, memo text and word wrap on the
// painted image, the title caption beside its sort marker, fixed data
// columns and their keys, the characters that start completion, the
// search's return to its start, layout links and the scroll lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbgrids/UxDBSortGrid.h"
#include "dbgrids/UxGraphics.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace dbgrids;
using namespace gui;
using O = TDBGridOption;

namespace {

class TEvGrid : public TUxDBSortGrid {
public:
    using TUxDBSortGrid::TUxDBSortGrid;
    using TUxDBSortGrid::DoTitleClick;
};

struct EventsFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Data = nullptr;
    TEvGrid* Grid = nullptr;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 500, 400);
        Data = new db::TMemDataSet(Form.get());
        Data->AddFieldDef("CatNo", db::TFieldType::ftInteger);
        Data->AddFieldDef("Saros", db::TFieldType::ftInteger);
        Data->AddFieldDef("Name", db::TFieldType::ftString, 20);
        Data->AddFieldDef("Notes", db::TFieldType::ftMemo);
        Data->AddFieldDef("Gamma", db::TFieldType::ftFloat);
        for (int i = 1; i <= 30; ++i)
            Data->AppendRecord({int64_t(i), int64_t(100 + i % 7), std::string("row") + std::to_string(i),
                                std::string("wide wide wide"), static_cast<long double>(i) / 10});
        Data->Open();
        auto* source = new db::TDataSource(Form.get());
        source->SetDataSet(Data);
        Grid = new TEvGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 460, 300);
        Grid->SetDataSource(source);
        Grid->SetUseXPThemes(false);
        Form->Show();
    }
    db::TField* F(const char* name) { return Data->FieldByName(name); }
    // Dark pixels (text, markers) of r on a fresh image, optionally of one colour only.
    std::vector<TPoint> Dark(const TRect& r, TColor only = clNone)
    {
        auto img = Grid->GetImage();
        std::vector<TPoint> out;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const TColor c = img->Canvas()->Pixels(x, y);
                const bool dark = (c & 0xFF) < 110 && ((c >> 8) & 0xFF) < 110 && ((c >> 16) & 0xFF) < 110;
                if (dark && (only == clNone || c == only)) out.push_back({x, y});
            }
        return out;
    }
    static int Height(const std::vector<TPoint>& pts)
    {
        if (pts.empty()) return 0;
        auto [lo, hi] = std::minmax_element(pts.begin(), pts.end(), [](auto a, auto b) { return a.Y < b.Y; });
        return hi->Y - lo->Y + 1;
    }
};

TRect Inner(TRect r, int by) { return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by}; }

} // namespace

// Memo text shows only with ShowMemos; WordWrap breaks it into lines in
// data cells and titles alike.
TEST_F(EventsFixture, ShowMemosAndWordWrapOnTheImage)
{
    Grid->SetAutoSizeRows(false);
    Grid->SetRowsHeight(48);
    Grid->SetTitleRowHeight(48);
    Grid->Columns()->Items(3)->SetWidth(44);
    Grid->Columns()->Items(3)->Title()->SetCaption("Long notes");
    Grid->SetShowGlyphs(false);
    const TRect cell = Inner(Grid->CellRect(4, 1), 1), title = Inner(Grid->CellRect(4, 0), 2);
    const int line = Grid->Canvas()->TextHeight("^g");

    const auto oneLine = Dark(cell);
    ASSERT_FALSE(oneLine.empty());
    EXPECT_LE(Height(oneLine), line);
    const auto titleOneLine = Dark(title);
    ASSERT_FALSE(titleOneLine.empty());
    EXPECT_LE(Height(titleOneLine), line);

    Grid->SetWordWrap(true);
    EXPECT_GT(Height(Dark(cell)), line);  // "wide wide wide" on several lines
    const auto titleWrapped = Dark(title);
    EXPECT_GT(Height(titleWrapped), line);
    // Two lines centred: the caption starts higher than the single line did.
    auto top = [](const std::vector<TPoint>& p) {
        return std::min_element(p.begin(), p.end(), [](auto a, auto b) { return a.Y < b.Y; })->Y;
    };
    EXPECT_LT(top(titleWrapped), top(titleOneLine));

    Grid->SetShowMemos(false);
    EXPECT_TRUE(Dark(cell).empty());  // no text, and without glyphs no MEMO glyph
    Grid->SetShowGlyphs(true);
    EXPECT_FALSE(Dark(cell).empty());  // the MEMO glyph
    EXPECT_EQ(Grid->GetGlyphIndex(F("Notes")), TUxDBGridBitmap::gpMemo);
}

// With a sort marker the caption ends before it: nothing of the caption
// lies in the marker's width + 4 at the right of the title; the owner's
// DoDrawColumnTitle may take the marker away or move it.
TEST_F(EventsFixture, TitleCaptionLeavesRoomForTheSortMarker)
{
    Grid->SetSortWith(TSortWith::swFields);
    Grid->Columns()->Items(0)->SetWidth(70);
    Grid->Columns()->Items(0)->Title()->SetCaption("WWWWWWWWWWWWWW");
    Grid->SetTitleButtons(true);
    Grid->DoTitleClick(0, F("CatNo"));
    const TColor markerColour = RGB(64, 64, 64);
    const TRect title = Grid->CellRect(1, 0);
    const int w = GetDBGridBitmap(TUxDBGridBitmap::gpMarkUp)->Width();
    const TRect markerZone(title.Right - w - 5, title.Top + 2, title.Right - 1, title.Bottom - 2);
    auto captionInZone = [&] {
        int n = 0;
        for (TPoint p : Dark(markerZone))
            if (Grid->GetImage()->Canvas()->Pixels(p.X, p.Y) != markerColour) ++n;
        return n;
    };
    EXPECT_EQ(Dark(markerZone, markerColour).size(), 16u);
    EXPECT_EQ(captionInZone(), 0);
    EXPECT_FALSE(Dark(TRect(title.Left + 2, title.Top + 2, markerZone.Left, title.Bottom - 2)).empty());

    // The owner drops the marker: the caption takes the whole width.
    Grid->OnDrawColumnTitle = [](rtl::TObject*, TCanvas*, const TRect&, TColumn*, TBitmap*& marker, bool, int&,
                                 bool&, bool&) { marker = nullptr; };
    EXPECT_TRUE(Dark(markerZone, markerColour).empty());
    EXPECT_GT(captionInZone(), 0);
    // The owner moves the marker 10 pixels to the left and draws the text itself.
    Grid->OnDrawColumnTitle = [](rtl::TObject*, TCanvas*, const TRect&, TColumn*, TBitmap*, bool, int& offset,
                                 bool& text, bool&) {
        offset += 10;
        text = false;
    };
    const auto moved = Dark(TRect(title.Left, title.Top, title.Right, title.Bottom), markerColour);
    ASSERT_EQ(moved.size(), 16u);
    const int left = std::min_element(moved.begin(), moved.end(), [](auto a, auto b) { return a.X < b.X; })->X;
    // The rectangle has lost its 1-pixel button edge: right - 1 - offset + 3.
    EXPECT_EQ(left, title.Right - 1 - (w + 16) + 3);
    EXPECT_EQ(Dark(TRect(title.Left + 2, title.Top + 2, left - 1, title.Bottom - 2)).size(), 0u);
}

// One table: each published event, the action that fires it, and the
// arguments it gets.
TEST_F(EventsFixture, PublishedEventsFireWithTheirArguments)
{
    Grid->SetSortWith(TSortWith::swFields);
    struct Row {
        const char* event;
        std::function<void()> run;
    };
    const std::vector<Row> table = {
        {"OnBeforePaint/OnAfterPaint",
         [&] {
             std::string order;
             Grid->OnBeforePaint = [&](rtl::TObject* s) { order += s == Grid ? "before " : "? "; };
             Grid->OnAfterPaint = [&](rtl::TObject* s) { order += s == Grid ? "after" : "?"; };
             Grid->GetImage();
             EXPECT_EQ(order, "before after");
             Grid->OnBeforePaint = nullptr;
             Grid->OnAfterPaint = nullptr;
         }},
        {"OnGetCellProps",
         [&] {
             std::vector<std::string> fields;
             Grid->OnGetCellProps = [&](rtl::TObject*, db::TField* f, TFont* font, TColor& background) {
                 ASSERT_NE(font, nullptr);
                 fields.push_back(f ? f->FieldName() : "-");
                 if (f == F("Saros")) background = clRed;
             };
             Grid->Invalidate();
             auto img = Grid->GetImage();
             const TRect saros = Grid->CellRect(2, 2);
             EXPECT_EQ(img->Canvas()->Pixels(saros.Left + 2, saros.Bottom - 2), ColorToRGB(clRed));
             EXPECT_NE(std::find(fields.begin(), fields.end(), "Name"), fields.end());
             // OnGetCellParams takes precedence.
             Grid->OnGetCellParams = [](rtl::TObject*, db::TField*, TFont*, TColor&, bool) {};
             fields.clear();
             Grid->GetImage();
             EXPECT_TRUE(fields.empty());
             Grid->OnGetCellParams = nullptr;
             Grid->OnGetCellProps = nullptr;
             Grid->GetImage();
         }},
        {"OnGetBtnParams",
         [&] {
             Grid->SetTitleButtons(true);
             Grid->DoTitleClick(0, F("CatNo"));
             std::vector<std::pair<std::string, TSortMarker>> seen;
             Grid->OnGetBtnParams = [&](rtl::TObject*, db::TField* f, TFont*, TColor&, TSortMarker& marker, bool down) {
                 EXPECT_FALSE(down);
                 seen.emplace_back(f->FieldName(), marker);
                 if (f->FieldName() == "CatNo") marker = TSortMarker::smDown;
             };
             Grid->GetImage();
             ASSERT_FALSE(seen.empty());
             EXPECT_EQ(seen[0], (std::pair<std::string, TSortMarker>{"CatNo", TSortMarker::smUp}));
             EXPECT_EQ(seen[1], (std::pair<std::string, TSortMarker>{"Saros", TSortMarker::smNone}));
             EXPECT_EQ(Grid->SortMarker(), TSortMarker::smDown);  // taken over
             Grid->OnGetBtnParams = nullptr;
         }},
        {"OnDrawColumnTitle",
         [&] {
             std::vector<std::string> seen;
             Grid->OnDrawColumnTitle = [&](rtl::TObject*, TCanvas* c, const TRect& r, TColumn* column,
                                           TBitmap*& marker, bool down, int& offset, bool& text, bool& drawMarker) {
                 EXPECT_EQ(c, Grid->Canvas());
                 EXPECT_FALSE(down);
                 EXPECT_TRUE(text && drawMarker);
                 EXPECT_GT(r.Width(), 0);
                 seen.push_back(column->FieldName() + (marker ? ":" + std::to_string(offset) : ""));
             };
             Grid->GetImage();
             const int w = GetDBGridBitmap(TUxDBGridBitmap::gpMarkUp)->Width();
             ASSERT_GE(seen.size(), 2u);
             EXPECT_EQ(seen[0], "CatNo:" + std::to_string(w + 6));
             EXPECT_EQ(seen[1], "Saros");
             Grid->OnDrawColumnTitle = nullptr;
         }},
        {"OnEditChange",
         [&] {
             Grid->SetTitleButtons(false);
             int changes = 0;
             Grid->OnEditChange = [&](rtl::TObject* s) { changes += s == Grid ? 1 : 100; };
             Grid->SetSelectedIndex(2);
             Grid->ShowEditor();
             ASSERT_NE(Grid->InplaceEditor(), nullptr);
             Grid->InplaceEditor()->SelectAll();
             char16_t k = u'q';
             Grid->InplaceEditor()->KeyPress(k);
             EXPECT_EQ(changes, 1);
             Data->Cancel();
             Grid->HideEditor();
         }},
        {"OnColumnResized",
         [&] {
             std::vector<std::pair<int, int>> seen;
             Grid->OnColumnResized = [&](TUxDBGrid* g, int col, int width) {
                 EXPECT_EQ(g, Grid);
                 seen.emplace_back(col, width);
             };
             const int before = Grid->Columns()->Items(1)->Width();
             const TRect t = Grid->CellRect(2, 0);
             const int y = (t.Top + t.Bottom) / 2;
             Grid->MouseDown(TMouseButton::mbLeft, {}, t.Right - 1, y);
             Grid->MouseMove({TShiftStateItem::ssLeft}, t.Right + 14, y);
             Grid->MouseMove({TShiftStateItem::ssLeft}, t.Right + 29, y);
             Grid->MouseUp(TMouseButton::mbLeft, {}, t.Right + 29, y);
             ASSERT_EQ(seen.size(), 1u);
             EXPECT_EQ(seen[0], (std::pair<int, int>{1, before + 30}));
             EXPECT_EQ(Grid->Columns()->Items(1)->Width(), before + 30);
             // A click that sizes nothing fires nothing.
             sim::Click(Grid, (t.Left + t.Right) / 2, Grid->CellRect(2, 3).Top + 3);
             EXPECT_EQ(seen.size(), 1u);
         }},
        {"OnKeyDown first, Up and Down included",
         [&] {
             Grid->SetFocus();
             Data->First();
             std::vector<std::pair<uint16_t, int>> seen;  // key and the record when it fired
             Grid->OnKeyDown = [&](rtl::TObject*, uint16_t& key, TShiftState) {
                 seen.emplace_back(key, Data->RecNo());
                 if (key == VK_NEXT) key = 0;  // handled by the owner
             };
             for (uint16_t key : {uint16_t(VK_DOWN), uint16_t(VK_DOWN), uint16_t(VK_UP), uint16_t(VK_NEXT)})
                 sim::KeyDown(key, {}, Grid);
             EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, int>>{
                                 {VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 3}, {VK_NEXT, 2}}));
             EXPECT_EQ(Data->RecNo(), 2);  // the handled page key moved nothing
             Grid->OnKeyDown = nullptr;
         }},
        {"GetDataLink and CharList", [&] {
             EXPECT_EQ(Grid->GetDataLink(), Grid->DataLink());
             const TSysCharSet& chars = Grid->CharList();
             for (int ch : {8, int(' '), int('+'), int(','), int('-'), int('.'), int('0'), int('9'), int('A'),
                            int('z'), 224, 251})
                 EXPECT_TRUE(chars.test(static_cast<std::size_t>(ch))) << ch;
             for (int ch : {int('#'), int('/'), 225, 250}) EXPECT_FALSE(chars.test(static_cast<std::size_t>(ch))) << ch;
         }}};
    for (const Row& row : table) {
        SCOPED_TRACE(row.event);
        row.run();
    }
}

// Fixed data columns: colour, tab stops and the keys that keep the current
// column right of them.
TEST_F(EventsFixture, FixedDataColumnsAndTheirKeys)
{
    Grid->SetCol(1);
    Grid->SetFixedCols(1);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->FirstDataColumn(), 2);
    EXPECT_EQ(Grid->Col(), 2);  // moved off the fixed column
    EXPECT_FALSE(Grid->TabStops(1));
    EXPECT_TRUE(Grid->TabStops(2));

    auto img = Grid->GetImage();
    const TRect fixedCell = Grid->CellRect(1, 3), dataCell = Grid->CellRect(2, 3);
    EXPECT_EQ(img->Canvas()->Pixels(fixedCell.Left + 1, fixedCell.Bottom - 2), ColorToRGB(Grid->FixedColor()));
    EXPECT_EQ(img->Canvas()->Pixels(dataCell.Left + 1, dataCell.Bottom - 2), ColorToRGB(Grid->Color()));

    struct Key {
        uint16_t key;
        TShiftState shift;
        int from, to;
    };
    const TShiftState ctrl{TShiftStateItem::ssCtrl};
    for (const Key& k : std::vector<Key>{{VK_HOME, {}, 4, 2},
                                         {VK_LEFT, {}, 2, 2},
                                         {VK_LEFT, {}, 3, 2},
                                         {VK_LEFT, ctrl, 5, 2},
                                         {VK_RIGHT, {}, 2, 3}}) {
        Grid->SetCol(k.from);
        sim::KeyDown(k.key, k.shift, Grid);
        EXPECT_EQ(Grid->Col(), k.to) << "key " << k.key << " from " << k.from;
    }
    // Tab past the last column goes on at the first column with a tab stop.
    Grid->SetCol(Grid->ColCount() - 1);
    const int rec = Data->RecNo();
    sim::KeyDown(VK_TAB, {}, Grid);
    EXPECT_EQ(Data->RecNo(), rec + 1);
    EXPECT_EQ(Grid->Col(), 2);
    // Column layout changes keep it so.
    Grid->Columns()->Items(2)->SetWidth(90);
    EXPECT_GE(Grid->Col(), 2);
    Grid->UpdateTabStops(-1);
    EXPECT_TRUE(Grid->TabStops(1));
}

// CharList decides which characters complete from a pick list; a real
// number field takes "." and "," as its decimal separator.
TEST_F(EventsFixture, CharListAndTheDecimalSeparator)
{
    Grid->Columns()->Items(2)->PickList()->SetText("one\ntwo\nthree\n");
    Grid->SetSelectedIndex(2);
    Grid->ShowEditor();
    TInplaceEdit* editor = Grid->InplaceEditor();
    ASSERT_TRUE(editor && editor->Visible());
    auto type = [&](char16_t k) { editor->KeyPress(k); };
    editor->SelectAll();
    type(u't');
    EXPECT_EQ(editor->EditText(), "two");
    TSysCharSet chars = Grid->CharList();
    chars.reset('t');
    Grid->SetCharList(chars);
    editor->SelectAll();
    type(u't');
    EXPECT_EQ(editor->EditText(), "t");  // typed as it is, no completion
    Data->Cancel();
    Grid->HideEditor();

    Grid->SetSelectedIndex(4);
    ASSERT_EQ(Grid->SelectedField(), F("Gamma"));
    Grid->ShowEditor();
    editor = Grid->InplaceEditor();
    ASSERT_TRUE(editor->Visible());
    editor->SelectAll();
    for (char16_t k : {u'2', u',', u'5'}) type(k);
    EXPECT_EQ(editor->EditText(), "2.5");
    Grid->SetSelectedIndex(2);  // other fields keep the comma
    Grid->ShowEditor();
    editor->SelectAll();
    for (char16_t k : {u'a', u','}) type(k);
    EXPECT_EQ(editor->EditText(), "a,");
    Data->Cancel();
}

// Search and SearchNext without focus return to the record where they
// started; with focus they stay on the match.
TEST_F(EventsFixture, SearchAndSearchNextReturnWithoutFocus)
{
    Grid->SearchFields()->Add("Name");
    int col = -1;
    db::TField* field = nullptr;
    int col2 = -1;
    db::TField* field2 = nullptr;
    EXPECT_FALSE(Grid->SearchNext(col2, field2, false, false, false));  // nothing searched yet
    Data->SetRecNo(5);
    rtl::Variant v(std::string("row2"));
    ASSERT_TRUE(Grid->Search(v, col, field, false, false, false));
    EXPECT_EQ(Data->RecNo(), 5);
    Data->SetRecNo(2);  // on "row2": the next match is "row20"
    ASSERT_TRUE(Grid->SearchNext(col2, field2, false, false, false));
    EXPECT_EQ(field2, F("Name"));
    EXPECT_EQ(Data->RecNo(), 2);
    // From before the Name column of "row2": that record matches itself.
    ASSERT_TRUE(Grid->SearchNext(col2, field2, false, false, true));
    EXPECT_EQ(Data->RecNo(), 2);
    EXPECT_EQ(Grid->Col(), col2);
    ASSERT_TRUE(Grid->SearchNext(col2, field2, false, false, true));
    EXPECT_EQ(F("Name")->AsString(), "row20");
    Data->SetRecNo(29);
    EXPECT_FALSE(Grid->SearchNext(col2, field2, false, true, false));  // nothing after the last
    EXPECT_EQ(Data->RecNo(), 29);
}

// Layout links hear every change in order; the scroll lock holds the rows
// until released; an embedded control follows its cell.
TEST_F(EventsFixture, LayoutLinksScrollLockAndEmbeddedControl)
{
    using K = TUxDBGridLayoutChangeKind;
    std::vector<K> a, b;
    TUxDBGridLayoutChangeLink la, lb;
    la.OnChange = [&](TUxDBGrid* g, K k) { if (g == Grid) a.push_back(k); };
    lb.OnChange = [&](TUxDBGrid*, K k) { b.push_back(k); };
    Grid->RegisterLayoutChangeLink(&la);
    Grid->RegisterLayoutChangeLink(&lb);
    Grid->Columns()->Items(0)->SetWidth(55);
    Grid->SetBounds(0, 0, 420, 280);
    Grid->SetLeftCol(3);
    ASSERT_GE(a.size(), 3u);
    EXPECT_NE(std::find(a.begin(), a.end(), K::lcLayoutChanged), a.end());
    EXPECT_NE(std::find(a.begin(), a.end(), K::lcSizeChanged), a.end());
    EXPECT_EQ(a.back(), K::lcTopLeftChanged);
    EXPECT_EQ(a, b);
    Grid->UnregisterLayoutChangeLink(&la);
    Grid->SetLeftCol(1);
    EXPECT_EQ(a.size() + 1, b.size());
    Grid->UnregisterLayoutChangeLink(&lb);

    // The scroll lock: the grid's current row stays until released.
    Data->First();
    const int row = Grid->Row();
    Grid->DisableScroll();
    Grid->DisableScroll();
    EXPECT_TRUE(Grid->ScrollDisabled());
    Data->MoveBy(3);
    EXPECT_EQ(Grid->Row(), row);
    Grid->EnableScroll();
    EXPECT_EQ(Grid->Row(), row);
    Grid->EnableScroll();
    EXPECT_FALSE(Grid->ScrollDisabled());
    EXPECT_EQ(Grid->Row(), row + 3);
    Grid->EnableScroll();  // at 0: nothing
    EXPECT_FALSE(Grid->ScrollDisabled());

    // An embedded control moves with its cell when a column left of it widens.
    auto* edit = new TEdit(Form.get());
    edit->SetName("NameEdit");
    edit->SetParent(Form.get());
    edit->SetVisible(false);
    TUxDBGridControl* item = Grid->EditControls()->Add();
    item->SetControlName("NameEdit");
    item->SetFieldName("Name");
    Grid->SetSelectedIndex(2);
    Grid->ShowEditor();
    ASSERT_EQ(Grid->CurrentControl(), edit);
    const int left = edit->Left();
    EXPECT_EQ(left, Grid->Left() + Grid->CellRect(Grid->Col(), Grid->Row()).Left);
    Grid->Columns()->Items(0)->SetWidth(Grid->Columns()->Items(0)->Width() + 25);
    EXPECT_EQ(edit->Left(), left + 25);
    Grid->CloseControl();
}
