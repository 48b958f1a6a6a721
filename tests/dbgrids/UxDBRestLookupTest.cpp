// The lookup list's scroll bar, row pictures, empty-row colour and focus
// frame, and the list as a pop-up below a control.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "dbgrids/UxDBLookup.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/StdCtrls.h"

using namespace dbgrids;
using namespace gui;

namespace {

std::filesystem::path Shots()
{
    auto dir = std::filesystem::path(TEC_RUNTIME_DIR).parent_path() / "tests" / "screenshots";
    std::filesystem::create_directories(dir);
    return dir;
}

struct ListFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    db::TMemDataSet* Types = nullptr;
    db::TDataSource* TypesSource = nullptr;

    void SetUp() override
    {
        Form->SetBounds(100, 100, 400, 300);
        Types = new db::TMemDataSet(Form.get());
        Types->AddFieldDef("Code", db::TFieldType::ftString, 4);
        Types->AddFieldDef("Text", db::TFieldType::ftString, 12);
        for (int i = 0; i < 14; ++i)
            Types->AppendRecord({std::string("K") + std::to_string(i), std::string("type ") + std::to_string(i)});
        Types->Open();
        TypesSource = new db::TDataSource(Form.get());
        TypesSource->SetDataSet(Types);
    }
    template <class T>
    T* Make()
    {
        auto* list = new T(Form.get());
        list->SetParent(Form.get());
        list->SetLookupSource(TypesSource);
        list->SetLookupField("Code");
        list->SetLookupDisplay("Text");
        return list;
    }
};

} // namespace

TEST_F(ListFixture, TheScrollBarFollowsTheLookupDataSet)
{
    auto* list = Make<TUxDBLookupList>();
    list->SetRowCount(7);
    list->Scroll(SB_TOP, 0);
    // Seven buffered rows of fourteen records: scrollable, position by place.
    EXPECT_EQ(list->ScrollMin(), 0);
    EXPECT_EQ(list->ScrollMax(), 4);
    EXPECT_EQ(list->ScrollPos(), 0);
    list->Scroll(SB_LINEDOWN, 0);  // record index 0: move by 7
    EXPECT_EQ(Types->RecNo(), 8);
    EXPECT_EQ(list->ScrollPos(), 2);
    list->Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_TRUE(Types->Eof() || Types->RecNo() == 14);
    EXPECT_EQ(list->ScrollPos(), 4);
    list->Perform(WM_VSCROLL, SB_THUMBPOSITION | (0 << 16));
    EXPECT_EQ(Types->RecNo(), 1);
    EXPECT_EQ(list->ScrollPos(), 0);
    list->Perform(WM_VSCROLL, SB_THUMBPOSITION | (4 << 16));
    EXPECT_EQ(Types->RecNo(), 14);
    // Page up from the bottom: 1 - record index - rows.
    const int index = list->RecordIndex();
    list->Scroll(SB_PAGEUP, 0);
    EXPECT_EQ(Types->RecNo(), 14 + 1 - index - 7);

    // With UseRecordCount the range is the records, the position the record number.
    list->SetUseRecordCount(true);
    list->Scroll(SB_TOP, 0);
    EXPECT_EQ(list->ScrollMax(), 13);
    EXPECT_EQ(list->ScrollPos(), 0);
    list->Scroll(SB_THUMBPOSITION, 9);
    EXPECT_EQ(Types->RecNo(), 10);
    EXPECT_EQ(list->ScrollPos(), 9);

    // More rows than records: nothing to scroll, and a press on the bar does nothing.
    list->SetRowCount(20);
    EXPECT_EQ(list->ScrollMax(), 0);
    Types->First();
    list->MouseDown(TMouseButton::mbLeft, {}, list->ClientWidth() - 2, list->ClientHeight() - 2);
    EXPECT_EQ(Types->RecNo(), 1);
}

TEST_F(ListFixture, PressesOnTheBarScrollAndThePaintedBarShowsThePosition)
{
    auto* list = Make<TUxDBLookupList>();
    Form->Show();
    list->SetRowCount(7);
    list->Scroll(SB_TOP, 0);
    const TRect rows = list->RowsRect();  // the bar stands right of it, inside the frame
    const int x = rows.Right + 2;
    list->MouseDown(TMouseButton::mbLeft, {}, x, rows.Bottom - 2);  // the down arrow
    list->MouseUp(TMouseButton::mbLeft, {}, x, rows.Bottom - 2);
    EXPECT_EQ(Types->RecNo(), 8);
    // K1..K7 in view, K7 current: the up arrow goes to the record above the top row.
    list->MouseDown(TMouseButton::mbLeft, {}, x, rows.Top + 2);
    list->MouseUp(TMouseButton::mbLeft, {}, x, rows.Top + 2);
    EXPECT_EQ(Types->RecNo(), 1);

    // The thumb sits at the top at the first record and lower further on.
    auto thumbTop = [&] {
        auto img = list->GetImage();
        const int bw = list->ScrollBarWidth();
        const TColor track = ColorToRGB(clScrollBar);
        for (int y = rows.Top + bw; y < rows.Bottom - bw; ++y)
            if (img->Canvas()->Pixels(rows.Right + bw / 2, y) != track) return y;
        return -1;
    };
    list->Scroll(SB_TOP, 0);
    const int atTop = thumbTop();
    list->Scroll(SB_LINEDOWN, 0);
    const int between = thumbTop();
    EXPECT_GE(atTop, 0);
    EXPECT_GT(between, atTop);
    list->GetImage()->SaveToFile((Shots() / "dbgrids-lookup-scrollbar.bmp").string());
}

TEST_F(ListFixture, RowPicturesEmptyRowColourAndFocusFrame)
{
    auto* list = Make<TUxDBLookupList>();
    Form->Show();
    list->SetRowCount(5);
    list->SetDisplayEmpty("(none)");
    list->SetEmptyItemColor(clYellow);
    // A red square with a white frame (the frame is transparent), a green
    // one for the empty row; twelve pixels of margin.
    auto square = [](TColor inner) {
        auto b = std::make_unique<TBitmap>(8, 8);
        b->Canvas()->Brush()->SetColor(clWhite);
        b->Canvas()->FillRect({0, 0, 8, 8});
        b->Canvas()->Brush()->SetColor(inner);
        b->Canvas()->FillRect({2, 2, 6, 6});
        return b;
    };
    auto red = square(clRed), green = square(clLime);
    std::vector<bool> asked;
    list->OnGetImage = [&](rtl::TObject*, bool isEmpty, TGraphic*& g, int& margin) {
        asked.push_back(isEmpty);
        g = isEmpty ? green.get() : red.get();
        margin = 12;
    };
    list->SetValue("K1");
    auto img = list->GetImage();
    img->SaveToFile((Shots() / "dbgrids-lookup-pictures.bmp").string());
    const int h = list->ItemHeight();
    // Row coordinates: the rows start inside the frame.
    const int b = list->BorderSize();
    auto px = [&](int x, int y) { return img->Canvas()->Pixels(b + x, b + y); };
    EXPECT_EQ(px(6, h / 2), ColorToRGB(clLime));         // the empty row's picture, centred
    EXPECT_EQ(px(1, h / 2), ColorToRGB(clYellow));       // on EmptyItemColor
    EXPECT_EQ(px(6, h + h / 2), ColorToRGB(clRed));      // K0's picture
    EXPECT_EQ(px(6, 2 * h + h / 2), ColorToRGB(clRed));  // K1, selected
    // The white frame of the picture is left out: the highlight shows through.
    EXPECT_EQ(px(12 / 2 - 3, 2 * h + h / 2), ColorToRGB(clHighlight));
    EXPECT_NE(std::count(asked.begin(), asked.end(), true), 0);
    EXPECT_NE(std::count(asked.begin(), asked.end(), false), 0);

    // The text starts right of the margin: the selected row has text pixels
    // there but none within the margin apart from the picture.
    bool textRight = false;
    for (int x = 13; x < 40; ++x)
        for (int y = 2 * h; y < 3 * h; ++y)
            if (px(x, y) == ColorToRGB(clHighlightText)) textRight = true;
    EXPECT_TRUE(textRight);

    // Without a margin the picture is not drawn.
    list->OnGetImage = [&](rtl::TObject*, bool, TGraphic*& g, int& margin) { g = red.get(); margin = 0; };
    img = list->GetImage();
    EXPECT_NE(px(6, h + h / 2), ColorToRGB(clRed));
}

TEST_F(ListFixture, APressActsOnlyOnceTheListHasTheFocus)
{
    auto* list = Make<TUxDBLookupList>();
    list->SetValue("K0");
    const int h = list->ItemHeight();
    list->MouseDown(TMouseButton::mbLeft, {}, 5, 2 * h + 2);  // the form is hidden: no focus
    list->MouseUp(TMouseButton::mbLeft, {}, 5, 2 * h + 2);
    EXPECT_EQ(list->Value(), "K0");
    Form->Show();
    list->MouseDown(TMouseButton::mbLeft, {}, 5, 2 * h + 2);
    list->MouseUp(TMouseButton::mbLeft, {}, 5, 2 * h + 2);
    EXPECT_TRUE(list->Focused());
    EXPECT_EQ(list->Value(), "K2");
}

TEST_F(ListFixture, TheListAsksForArrowsAndCharacters)
{
    auto* list = Make<TUxDBLookupList>();
    const auto codes = static_cast<uint32_t>(list->Perform(WM_GETDLGCODE, 0));
    EXPECT_TRUE(codes & DLGC_WANTARROWS);
    EXPECT_TRUE(codes & DLGC_WANTCHARS);
}

TEST_F(ListFixture, ThePopupDropsBelowAControlAndClosesWithOrWithoutAPick)
{
    auto* edit = new TEdit(Form.get());
    edit->SetParent(Form.get());
    edit->SetBounds(20, 30, 150, 22);
    Form->Show();
    auto* popup = Make<TUxPopupDataList>();
    EXPECT_FALSE(popup->TabStop());
    EXPECT_EQ(popup->LookupOwner(), nullptr);  // owned by the form, no lookup control
    popup->SetRowCount(5);
    popup->SetKeyValue(std::string("K2"));
    int closes = 0;
    bool accepted = false;
    popup->OnCloseUp = [&](TUxPopupDataList*, bool accept) {
        ++closes;
        accepted = accept;
    };
    popup->DropDown(edit);
    ASSERT_TRUE(popup->DroppedDown());
    EXPECT_EQ(popup->Parent(), popup->PopupWindow());
    EXPECT_EQ(popup->Width(), 150);
    const TPoint below = edit->ClientToScreen({0, edit->Height()});
    EXPECT_EQ(popup->PopupWindow()->Top(), below.Y);
    EXPECT_EQ(popup->PopupWindow()->Left(), below.X);

    // Keys from the host move the selection; Enter takes it.
    uint16_t down = VK_DOWN;
    popup->KeyDown(down, {});
    EXPECT_EQ(popup->Value(), "K3");
    uint16_t enter = VK_RETURN;
    popup->KeyDown(enter, {});
    EXPECT_FALSE(popup->DroppedDown());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(std::get<std::string>(popup->KeyValue()), "K3");

    // A release over a row picks it.
    popup->DropDown(edit);
    const int h = popup->ItemHeight();
    const int row = popup->RecordIndex() == 0 ? 1 : 0;
    popup->MouseDown(TMouseButton::mbLeft, {}, 10, row * h + 2);
    popup->MouseUp(TMouseButton::mbLeft, {}, 10, row * h + 2);
    EXPECT_EQ(closes, 2);
    EXPECT_TRUE(accepted);
    const std::string picked = popup->Value();
    EXPECT_NE(picked, "K3");

    // The selected row of a pop-up is framed even without the focus.
    popup->DropDown(edit);
    auto img = popup->GetImage();
    img->SaveToFile((Shots() / "dbgrids-lookup-popup.bmp").string());
    int highlighted = 0;
    for (int r = 0; r < popup->RowCount(); ++r)
        if (img->Canvas()->Pixels(popup->ListWidth() / 2, r * h + h / 2) == ColorToRGB(clHighlight)) ++highlighted;
    EXPECT_EQ(highlighted, 1);

    // Escape, or the window hidden by a press outside: closed, nothing taken.
    uint16_t esc = VK_ESCAPE;
    popup->KeyDown(esc, {});
    EXPECT_EQ(closes, 3);
    EXPECT_FALSE(accepted);
    popup->DropDown(edit);
    popup->PopupWindow()->Hide();
    EXPECT_EQ(closes, 4);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(popup->Value(), picked);
}

// The frame: a sunken 3-D edge of 2 pixels by default, a plain line without
// the 3-D look, none with bsNone; it counts in the height and the rows,
// the bar and the mouse work inside it.
TEST_F(ListFixture, TheFrameCountsInTheHeightAndTheRowsStandInsideIt)
{
    auto* list = Make<TUxDBLookupList>();
    Form->Show();
    list->SetRowCount(5);
    list->SetValue("K0");
    const int h = list->ItemHeight();
    EXPECT_EQ(list->BorderStyle(), TBorderStyle::bsSingle);
    struct Case {
        TBorderStyle Style;
        bool Ctl3D;
        int Border;
        TColor TopLeft, BottomRight;  // clNone: no frame to look at
    };
    const Case cases[] = {
        {TBorderStyle::bsSingle, true, 2, clBtnShadow, clBtnHighlight},
        {TBorderStyle::bsSingle, false, 1, clWindowFrame, clWindowFrame},
        {TBorderStyle::bsNone, true, 0, clNone, clNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Border);
        list->SetBorderStyle(c.Style);
        list->SetCtl3D(c.Ctl3D);
        EXPECT_EQ(list->BorderSize(), c.Border);
        EXPECT_EQ(list->Height(), 5 * h + 2 * c.Border);
        EXPECT_EQ(list->RowCount(), 5);
        auto img = list->GetImage();
        auto px = [&](int x, int y) { return img->Canvas()->Pixels(x, y); };
        const int w = list->Width(), ht = list->Height();
        if (c.TopLeft != clNone) {
            EXPECT_EQ(px(0, 0), ColorToRGB(c.TopLeft));
            EXPECT_EQ(px(w - 1, ht - 1), ColorToRGB(c.BottomRight));
        }
        // Row 0 (K0, selected) starts right inside the frame.
        EXPECT_EQ(px(c.Border + 1, c.Border + h / 2), ColorToRGB(clHighlight));
        EXPECT_EQ(px(c.Border + 1, c.Border + h + h / 2), ColorToRGB(clWindow));
        if (c.Border) { EXPECT_NE(px(c.Border - 1, c.Border + h / 2), ColorToRGB(clHighlight)); }
        // The bar's down arrow sits inside the frame too.
        EXPECT_EQ(list->RowsRect().Right + list->ScrollBarWidth(), w - c.Border);
        if (c.Border == 2) img->SaveToFile((Shots() / "dbgrids-lookup-frame.bmp").string());
        // A press on the third row, measured from inside the frame, picks K2.
        list->MouseDown(TMouseButton::mbLeft, {}, 10, c.Border + 2 * h + 1);
        list->MouseUp(TMouseButton::mbLeft, {}, 10, c.Border + 2 * h + 1);
        EXPECT_EQ(list->Value(), "K2");
        list->SetValue("K0");
    }
    // A new height snaps to whole rows plus the frame.
    list->SetBorderStyle(TBorderStyle::bsSingle);
    list->SetCtl3D(true);
    list->SetHeight(3 * h + 4 + h / 2);
    EXPECT_EQ(list->Height(), 3 * h + 4);
    EXPECT_EQ(list->RowCount(), 3);
    // The pop-up has no frame of its own: its window draws one.
    auto* popup = Make<TUxPopupDataList>();
    EXPECT_EQ(popup->BorderSize(), 0);
}

// The list's double-click event comes only from a double click on the
// row of the current value, and only when the list may change the value.
TEST_F(ListFixture, ADoubleClickOnTheCurrentRowFiresTheEvent)
{
    auto* list = Make<TUxDBLookupList>();
    Form->Show();
    list->SetRowCount(5);
    list->SetDisplayEmpty("(none)");
    list->SetValue("K1");
    int dbl = 0;
    list->OnDblClick = [&](rtl::TObject*) { ++dbl; };
    const int h = list->ItemHeight(), b = list->BorderSize();
    auto rowY = [&](int row) { return b + row * h + h / 2; };
    // K1 is row 2 (under the empty row and K0): a double click there fires.
    sim::DblClick(list, 10, rowY(2));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(list->Value(), "K1");
    // On another row, nothing fires and the value stays.
    list->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, rowY(4)));
    list->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, rowY(4)));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(list->Value(), "K1");
    // The empty row, once picked, is the current row.
    list->SetValue("");
    list->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, rowY(0)));
    list->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, rowY(0)));
    EXPECT_EQ(dbl, 2);
    // A read-only list ignores it.
    list->SetValue("K1");
    list->SetReadOnly(true);
    list->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, rowY(2)));
    list->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, rowY(2)));
    EXPECT_EQ(dbl, 2);
}
