// The control message extensions, driven with messages on a headless
// control; painting checked on the control's image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbgrids/UxExControls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

using namespace dbgrids;
using namespace gui;

namespace {

// Records every operation and every message that reaches the platform.
class TRecControl : public TUxExCustomControl {
public:
    using TUxExCustomControl::TUxExCustomControl;
    std::vector<std::string> Log;
    TDialogCodeFlags Add, Remove;
    bool RaiseInBackground = false;
    bool SawMouseOver = false;

    void Dispatch(TMessage& m) override
    {
        Log.push_back("platform:" + std::to_string(m.Msg));
        TUxExCustomControl::Dispatch(m);
    }

protected:
#define REC(Name, Call)          \
    void Name() override         \
    {                            \
        Log.push_back(#Name);    \
        TUxExCustomControl::Call; \
    }
    REC(DoTextChange, DoTextChange())
    REC(DoVisibleChange, DoVisibleChange())
    REC(DoEnabledChange, DoEnabledChange())
    REC(DoColorChange, DoColorChange())
    REC(DoFontChange, DoFontChange())
    REC(DoParentFontChange, DoParentFontChange())
    REC(DoParentColorChange, DoParentColorChange())
    REC(DoParentShowHintChange, DoParentShowHintChange())
    REC(DoCursorChange, DoCursorChange())
    REC(DoShowingChange, DoShowingChange())
    REC(DoShowHintChange, DoShowHintChange())
#undef REC
    void DoFocusChange(TControl* c) override
    {
        Log.push_back("DoFocusChange");
        TUxExCustomControl::DoFocusChange(c);
    }
    void DoChildListChanging(TControl* c, bool ins) override
    {
        Log.push_back(std::string("changing:") + (ins ? "1" : "0"));
        TUxExCustomControl::DoChildListChanging(c, ins);
    }
    void DoChildListChanged(TControl* c, bool ins) override
    {
        Log.push_back(std::string("changed:") + (ins ? "1" : "0"));
        TUxExCustomControl::DoChildListChanged(c, ins);
    }
    void AdjustDialogCodes(TDialogCodeFlags& codes) override
    {
        codes += Add;
        codes -= Remove;
    }
    bool DoPaintBackground(TCanvas* canvas, LPARAM param) override
    {
        Log.push_back("DoPaintBackground");
        canvas->Brush()->SetColor(clRed);
        if (RaiseInBackground) throw EUXLException("paint failed");
        return TUxExCustomControl::DoPaintBackground(canvas, param);
    }
};

struct ExFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TRecControl* C = nullptr;
    void SetUp() override
    {
        Form->SetBounds(0, 0, 200, 150);
        C = new TRecControl(Form.get());
        C->SetBounds(10, 10, 60, 40);
        C->SetParent(Form.get());
        C->Log.clear();
    }
};

} // namespace

TEST_F(ExFixture, NotificationsReachTheirOperationAndThenThePlatform)
{
    struct Row {
        uint32_t Msg;
        const char* Op;
    } rows[] = {
        {CM_TEXTCHANGED, "DoTextChange"},           {CM_VISIBLECHANGED, "DoVisibleChange"},
        {CM_ENABLEDCHANGED, "DoEnabledChange"},     {CM_COLORCHANGED, "DoColorChange"},
        {CM_FONTCHANGED, "DoFontChange"},           {CM_PARENTFONTCHANGED, "DoParentFontChange"},
        {CM_PARENTCOLORCHANGED, "DoParentColorChange"}, {CM_PARENTSHOWHINTCHANGED, "DoParentShowHintChange"},
        {CM_CURSORCHANGED, "DoCursorChange"},       {CM_SHOWINGCHANGED, "DoShowingChange"},
        {CM_SHOWHINTCHANGED, "DoShowHintChange"},   {CM_FOCUSCHANGED, "DoFocusChange"},
    };
    for (const Row& r : rows) {
        C->Log.clear();
        C->Perform(r.Msg, 0, 0);
        ASSERT_GE(C->Log.size(), 2u) << r.Op;
        EXPECT_EQ(C->Log[0], r.Op);
        EXPECT_EQ(C->Log[1], "platform:" + std::to_string(r.Msg)) << r.Op;
    }
    EXPECT_EQ(C->Perform(CM_DENYSUBCLASSING), 0);
}

TEST_F(ExFixture, EraseBackground)
{
    C->Perform(WM_ERASEBKGND, 0, 0);
    EXPECT_EQ(C->Log, (std::vector<std::string>{"platform:" + std::to_string(WM_ERASEBKGND)}));
    TBitmap bmp(20, 20, TPixelFormat::pf32bit);
    TCanvas* canvas = bmp.Canvas();
    canvas->Brush()->SetColor(clBlue);
    C->Log.clear();
    C->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
    EXPECT_EQ(C->Log.front(), "DoPaintBackground");
    EXPECT_EQ(canvas->Brush()->Color(), clBlue);  // restored
    C->RaiseInBackground = true;
    EXPECT_THROW(C->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0), EUXLException);
    EXPECT_EQ(canvas->Brush()->Color(), clBlue);  // restored also when the override raised
}

TEST_F(ExFixture, DialogCodes)
{
    TRecControl plain(nullptr);
    LRESULT platform = plain.Perform(WM_GETDLGCODE);
    C->Add = {TDialogCodeFlag::dcfWantArrows};
    C->Remove = {TDialogCodeFlag::dcfNative};
    EXPECT_EQ(C->Perform(WM_GETDLGCODE), static_cast<LRESULT>(DialogCodesToDlgc(DialogCodesFromDlgc(static_cast<uint32_t>(platform)))) | DLGC_WANTARROWS);
    C->Remove = {TDialogCodeFlag::dcfWantAllKeys};
    C->Add = {TDialogCodeFlag::dcfButton};
    EXPECT_EQ(C->Perform(WM_GETDLGCODE), platform);  // dcfNative kept: the platform's answer
    for (uint32_t code : {0u, 1u, 2u, 4u, 8u, 0x80u, 0x2000u, 0x208Fu})
        EXPECT_EQ(DialogCodesToDlgc(DialogCodesFromDlgc(code)), code);
    EXPECT_EQ(DialogCodesFromDlgc(DLGC_WANTTAB | DLGC_HASSETSEL),
              (TDialogCodeFlags{TDialogCodeFlag::dcfWantTab, TDialogCodeFlag::dcfHasSetSel}));
}

TEST_F(ExFixture, MouseEnterAndLeaveOrder)
{
    C->OnMouseEnter = [&](rtl::TObject*) { C->Log.push_back(C->MouseOver() ? "enter:over" : "enter:out"); };
    C->OnMouseLeave = [&](rtl::TObject*) { C->Log.push_back(C->MouseOver() ? "leave:over" : "leave:out"); };
    C->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(C->Log, (std::vector<std::string>{"enter:over", "platform:" + std::to_string(CM_MOUSEENTER)}));
    C->Log.clear();
    C->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(C->Log, (std::vector<std::string>{"platform:" + std::to_string(CM_MOUSELEAVE), "leave:out"}));
}

TEST_F(ExFixture, HintColours)
{
    THintInfo info;
    info.HintColor = clYellow;
    Application->SetHintColor(0x00ABCDEF);
    ResolveHintColor(info, C, clNone);
    EXPECT_EQ(info.HintColor, 0x00ABCDEFu);
    info.HintColor = clYellow;
    ResolveHintColor(info, nullptr, clDefault);
    EXPECT_EQ(info.HintColor, clYellow);  // no control: kept
    ResolveHintColor(info, C, clLime);
    EXPECT_EQ(info.HintColor, clLime);
    // clDefault with a parent: the parent's answer (a parent that sets it).
    TRecControl parentAnswer(nullptr);
    parentAnswer.SetHintColor(clAqua);
    TRecControl child(nullptr);
    child.SetParent(&parentAnswer);
    info.HintColor = clYellow;
    ResolveHintColor(info, &child, clDefault);
    EXPECT_EQ(info.HintColor, clAqua);
    // The control's hint window class replaces the record's.
    static const rtl::TClassInfo& cls = rtl::TComponent::StaticClassInfo();
    child.SetHintWindowClass(&cls);
    THintInfo h;
    child.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&h));
    EXPECT_EQ(h.HintWindowClass, &cls);
    child.SetParent(nullptr);
}

TEST_F(ExFixture, HighlightFrameOnThePaintedImage)
{
    C->SetColor(clWhite);
    Form->Show();
    auto pixel = [&](int x, int y) {
        auto img = C->GetImage();
        return img->Canvas()->Pixels(x, y);
    };
    EXPECT_NE(pixel(0, 0), kHighlightColor);  // off: never drawn
    C->SetDotNetHighlighting(true);
    C->SetFocus();
    ASSERT_TRUE(C->Focused());
    EXPECT_EQ(pixel(0, 0), kHighlightColor);
    EXPECT_EQ(pixel(1, 1), kHighlightColor);
    EXPECT_EQ(pixel(59, 39), kHighlightColor);
    auto* other = new TRecControl(Form.get());
    other->SetBounds(100, 10, 30, 30);
    other->SetParent(Form.get());
    other->SetFocus();
    ASSERT_FALSE(C->Focused());
    C->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(pixel(0, 0), kHighlightGrey);
    EXPECT_EQ(pixel(1, 1), clWhite);  // the inner ring in the control's colour
    EXPECT_EQ(pixel(30, 20), clWhite);
}

TEST_F(ExFixture, ChildListOrder)
{
    auto* child = new TPanel(Form.get());
    C->Log.clear();
    child->SetParent(C);
    std::vector<std::string> ops;
    for (auto& s : C->Log)
        if (s.rfind("chang", 0) == 0) ops.push_back(s);
    EXPECT_EQ(ops, (std::vector<std::string>{"changing:1", "changed:1"}));
    C->Log.clear();
    child->SetParent(nullptr);
    ops.clear();
    for (auto& s : C->Log)
        if (s.rfind("chang", 0) == 0) ops.push_back(s);
    EXPECT_EQ(ops, (std::vector<std::string>{"changing:0", "changed:0"}));
}

TEST(UxExControls, KeyFlagsAndThemeFlags)
{
    EXPECT_EQ(ShiftToKeyFlags({TShiftStateItem::ssShift, TShiftStateItem::ssCtrl, TShiftStateItem::ssAlt}), 0x38000000u);
    EXPECT_EQ(ShiftToKeyFlags({}), 0u);
    EXPECT_EQ(ShiftToKeyFlags({TShiftStateItem::ssLeft}), 0u);
    TPanel p(nullptr);
    TControlStyle before = p.ControlStyle();
    AddThemeStyleFlags(&p, {TControlStyleItem::csNeedsBorderPaint, TControlStyleItem::csFramed});
    TControlStyle want = before;
    want.Include(TControlStyleItem::csNeedsBorderPaint);
    EXPECT_EQ(p.ControlStyle(), want);
    EXPECT_EQ(SmallPointAsLong({3, -2}), static_cast<int32_t>(0xFFFE0003));
}
