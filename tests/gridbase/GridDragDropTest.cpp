// The grid's drag and drop: the effect for the keys, the source's formats
// and data, the enumerator, which handler a drop reaches, and drags run
// over a registered grid stand-in with scripted pointer and keys.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "gridbase/grddd.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

using namespace gridbase;
using gui::TShiftState;
using gui::TShiftStateItem;

namespace {

// Records the handlers a drop reaches.
struct Recorder : TGRDDropTarget {
    std::vector<std::string> Calls;
    void DropText(gui::TPoint, const std::string& s) override { Calls.push_back("text:" + s); }
    void DropCol(gui::TPoint, int col) override { Calls.push_back("col:" + std::to_string(col)); }
    void DropRTF(gui::TPoint, const std::string& s) override { Calls.push_back("rtf:" + s); }
    void DropFiles(gui::TPoint, rtl::TStringList* files) override { Calls.push_back("files:" + files->CommaText()); }
    void DropURL(gui::TPoint, const std::string& s) override { Calls.push_back("url:" + s); }
    void DragMouseEnter() override { Calls.push_back("enter"); }
    void DragMouseLeave() override { Calls.push_back("leave"); }
};

struct Source : TGRDDropSource {
    int Ended = 0;
    void DragEnded() override { ++Ended; }
};

struct RtfSwitch {
    explicit RtfSwitch(bool on) { SetRTFDragDrop(on); }
    ~RtfSwitch() { SetRTFDragDrop(false); }
};

const int kCopyMove = gui::DROPEFFECT_COPY | gui::DROPEFFECT_MOVE;

int DropOn(Recorder& t, const gui::TDataObject& data, TShiftState shift = {}, int allowed = kCopyMove)
{
    t.Calls.clear();
    t.DragEnter(data, shift, {5, 5}, allowed);
    t.Calls.clear();
    return t.Drop(data, shift, {5, 5}, allowed);
}

} // namespace

TEST(GridDragDrop, EffectForKeys)
{
    const TShiftState none, ctrl{TShiftStateItem::ssCtrl}, shift{TShiftStateItem::ssShift},
        both{TShiftStateItem::ssCtrl, TShiftStateItem::ssShift};
    struct Case {
        TShiftState keys;
        int allowed, expected;
    };
    for (const Case& c : {Case{none, kCopyMove, gui::DROPEFFECT_MOVE}, Case{ctrl, kCopyMove, gui::DROPEFFECT_COPY},
                          Case{shift, kCopyMove, gui::DROPEFFECT_MOVE}, Case{both, kCopyMove, gui::DROPEFFECT_COPY},
                          Case{none, gui::DROPEFFECT_COPY, gui::DROPEFFECT_COPY},
                          Case{ctrl, gui::DROPEFFECT_MOVE, gui::DROPEFFECT_COPY},
                          Case{none, gui::DROPEFFECT_MOVE, gui::DROPEFFECT_MOVE}})
        EXPECT_EQ(DropEffectForKeys(c.keys, c.allowed), c.expected);
}

TEST(GridDragDrop, SourceFormatsAndEnumerator)
{
    EXPECT_NE(CF_GRIDCOLUMN(), 0u);
    EXPECT_EQ(CF_GRIDCOLUMN(), gui::RegisterClipboardFormat("Grid Column"));
    EXPECT_EQ(CF_RICHTEXT(), gui::RegisterClipboardFormat("Rich Text Format"));

    TSourceDataObject text("ab", "{\\rtf1 ab}", -1);
    std::unique_ptr<TSourceEnumFormatEtc> e;
    ASSERT_EQ(text.EnumFormatEtc(DATADIR_GET, e), S_OK);
    TFormatEtc f[4];
    int fetched = -1;
    ASSERT_EQ(e->Reset(), S_OK);
    TFormatEtc first;
    EXPECT_EQ(e->Next(1, &first, nullptr), S_OK);
    std::unique_ptr<TSourceEnumFormatEtc> clone;
    e->Clone(clone);
    EXPECT_EQ(clone->Next(4, f, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2);  // the clone continues at the second entry
    EXPECT_EQ(f[0].cfFormat, gui::CF_UNICODETEXT);
    e->Reset();
    EXPECT_EQ(e->Next(4, f, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 3);
    EXPECT_EQ(f[0].cfFormat, gui::CF_TEXT);
    EXPECT_EQ(f[2].cfFormat, CF_RICHTEXT());
    EXPECT_EQ(f[2].lindex, -1);
    EXPECT_EQ(e->Skip(1), S_FALSE);
    EXPECT_EQ(text.EnumFormatEtc(DATADIR_SET, e), E_NOTIMPL);
    EXPECT_EQ(e, nullptr);

    TSourceDataObject column("", "", 7);
    column.EnumFormatEtc(DATADIR_GET, e);
    EXPECT_EQ(e->Next(4, f, &fetched), S_OK);
    EXPECT_EQ(f[3].cfFormat, CF_GRIDCOLUMN());
}

TEST(GridDragDrop, SourceDataAnswers)
{
    TSourceDataObject text("ab", "{\\rtf1 ab}", -1);
    TSourceDataObject column("", "", 7);
    auto fmt = [](gui::TClipboardFormat cf, uint32_t aspect = DVASPECT_CONTENT, uint32_t tymed = TYMED_HGLOBAL) {
        TFormatEtc f;
        f.cfFormat = cf;
        f.dwAspect = aspect;
        f.tymed = tymed;
        return f;
    };
    EXPECT_EQ(text.QueryGetData(fmt(gui::CF_TEXT)), S_OK);
    EXPECT_EQ(text.QueryGetData(fmt(gui::CF_UNICODETEXT)), S_OK);
    EXPECT_EQ(text.QueryGetData(fmt(CF_RICHTEXT())), DV_E_FORMATETC);  // switch off
    EXPECT_EQ(text.QueryGetData(fmt(CF_GRIDCOLUMN())), DV_E_FORMATETC);
    EXPECT_EQ(text.QueryGetData(fmt(gui::CF_TEXT, 2)), DV_E_FORMATETC);
    EXPECT_EQ(text.QueryGetData(fmt(gui::CF_TEXT, DVASPECT_CONTENT, 4)), DV_E_FORMATETC);
    EXPECT_EQ(column.QueryGetData(fmt(gui::CF_TEXT)), DV_E_FORMATETC);
    EXPECT_EQ(column.QueryGetData(fmt(CF_GRIDCOLUMN())), S_OK);
    {
        RtfSwitch on(true);
        EXPECT_EQ(text.QueryGetData(fmt(CF_RICHTEXT())), S_OK);
        TStgMedium m;
        ASSERT_EQ(text.GetData(fmt(CF_RICHTEXT()), m), S_OK);
        EXPECT_EQ(std::string(m.hGlobal.begin(), m.hGlobal.end()), std::string("{\\rtf1 ab}\0", 11));
    }
    TStgMedium m;
    ASSERT_EQ(text.GetData(fmt(gui::CF_TEXT), m), S_OK);
    EXPECT_EQ(m.tymed, TYMED_HGLOBAL);
    EXPECT_EQ(m.hGlobal, (std::vector<uint8_t>{'a', 'b', 0}));
    ASSERT_EQ(text.GetData(fmt(gui::CF_UNICODETEXT), m), S_OK);
    EXPECT_EQ(m.hGlobal, (std::vector<uint8_t>{'a', 0, 'b', 0, 0, 0}));
    ASSERT_EQ(column.GetData(fmt(CF_GRIDCOLUMN()), m), S_OK);
    int32_t col = 0;
    ASSERT_EQ(m.hGlobal.size(), 4u);
    std::memcpy(&col, m.hGlobal.data(), 4);
    EXPECT_EQ(col, 7);
    EXPECT_EQ(column.GetData(fmt(gui::CF_TEXT), m), DV_E_FORMATETC);
    EXPECT_TRUE(m.hGlobal.empty());
    EXPECT_EQ(text.GetDataHere(fmt(gui::CF_TEXT), m), DV_E_FORMATETC);
    EXPECT_EQ(text.DAdvise(), OLE_E_ADVISENOTSUPPORTED);
}

TEST(GridDragDrop, DropPrecedence)
{
    Recorder t;
    gui::TDataObject textAndCol = TSourceDataObject("", "", 3).ToDataObject();
    textAndCol.SetText("hello");

    t.SetAcceptCols(true);
    EXPECT_EQ(DropOn(t, textAndCol), gui::DROPEFFECT_MOVE);
    EXPECT_EQ(t.Calls, std::vector<std::string>{"col:3"});
    // Without columns the text made the drag acceptable, and the text arrives.
    t.SetAcceptCols(false);
    DropOn(t, textAndCol);
    EXPECT_EQ(t.Calls, std::vector<std::string>{"text:hello"});

    gui::TDataObject rich;
    rich.SetText("plain");
    rich.SetData(CF_RICHTEXT(), {'{', 'r', '}', 0});
    DropOn(t, rich);
    EXPECT_EQ(t.Calls, std::vector<std::string>{"text:plain"});
    {
        RtfSwitch on(true);
        DropOn(t, rich);
        EXPECT_EQ(t.Calls, std::vector<std::string>{"rtf:{r}"});
    }

    gui::TDataObject mixed;
    mixed.SetFiles({"/tmp/a.txt", "/tmp/b.txt"});
    mixed.SetData(CF_URL(), {0});
    DropOn(t, mixed);
    EXPECT_EQ(t.Calls, (std::vector<std::string>{"files:/tmp/a.txt,/tmp/b.txt", "url:"}));
}

TEST(GridDragDrop, RefusedDragsReachNoDropHandler)
{
    Recorder t;
    gui::TDataObject richOnly;
    richOnly.SetData(CF_RICHTEXT(), {'{', '}', 0});
    EXPECT_EQ(t.DragEnter(richOnly, {}, {1, 1}, kCopyMove), gui::DROPEFFECT_NONE);
    EXPECT_EQ(t.DragOver({}, {2, 2}, kCopyMove), gui::DROPEFFECT_NONE);
    t.Calls.clear();
    EXPECT_EQ(t.Drop(richOnly, {}, {2, 2}, kCopyMove), gui::DROPEFFECT_NONE);
    EXPECT_TRUE(t.Calls.empty());
    {
        RtfSwitch on(true);
        EXPECT_EQ(t.DragEnter(richOnly, {}, {1, 1}, kCopyMove), gui::DROPEFFECT_MOVE);
        EXPECT_TRUE(t.DropFormats().Contains(TDropFormat::dfRTF));
        EXPECT_FALSE(t.DropFormats().Contains(TDropFormat::dfText));
    }
    gui::TDataObject text;
    text.SetText("x");
    t.SetAcceptText(false);
    EXPECT_EQ(t.DragEnter(text, {}, {1, 1}, kCopyMove), gui::DROPEFFECT_NONE);
}

namespace {

// Plays a list of input states, then keeps the last one.
struct Script : TDragInput {
    std::deque<TDragInputState> Steps;
    TDragInputState Last;
    TDragInputState Poll() override
    {
        if (!Steps.empty()) {
            Last = Steps.front();
            Steps.pop_front();
        }
        return Last;
    }
    void Add(gui::TPoint p, bool down, TShiftState shift = {}, bool esc = false)
    {
        TDragInputState s;
        s.ScreenPos = p;
        s.LeftDown = down;
        s.Shift = shift;
        s.Escape = esc;
        Steps.push_back(s);
    }
};

struct DragFixture : testing::Test {
    gui::TForm Form{nullptr};
    gui::TPanel* Grid;
    Recorder Target;
    Source Src;
    DragFixture()
    {
        Form.SetBounds(100, 100, 300, 200);
        Grid = new gui::TPanel(&Form);
        Grid->SetParent(&Form);
        Grid->SetBounds(10, 10, 200, 150);
        Form.Show();
        RegisterGridDropTarget(Grid, &Target);
    }
    ~DragFixture() override { RevokeGridDropTarget(Grid); }
    gui::TPoint At(int x, int y) { return Grid->ClientToScreen({x, y}); }
};

} // namespace

TEST_F(DragFixture, TextDragWithinTheGridMovesAndCopiesWithCtrl)
{
    struct Case {
        TShiftState keys;
        int effect;
    };
    for (const Case& c : {Case{{}, gui::DROPEFFECT_MOVE}, Case{{TShiftStateItem::ssCtrl}, gui::DROPEFFECT_COPY}}) {
        Script s;
        s.Add(At(20, 20), true, c.keys);
        s.Add(At(60, 40), true, c.keys);
        s.Add(At(60, 40), false, c.keys);
        Target.Calls.clear();
        int effect = -1;
        EXPECT_EQ(RunTextDragDrop(&Src, "cell", "", kCopyMove, effect, &s), DRAGDROP_S_DROP);
        EXPECT_EQ(effect, c.effect);
        EXPECT_EQ(Target.Calls, (std::vector<std::string>{"enter", "text:cell"}));
    }
    EXPECT_EQ(Src.Ended, 2);
}

TEST_F(DragFixture, EscapeCancelsAndAReleaseOutsideDropsNothing)
{
    Script s;
    s.Add(At(20, 20), true);
    s.Add(At(30, 30), true, {}, true);
    int effect = -1;
    EXPECT_EQ(RunTextDragDrop(&Src, "cell", "", kCopyMove, effect, &s), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, gui::DROPEFFECT_NONE);
    EXPECT_EQ(Src.Ended, 0);
    EXPECT_EQ(Target.Calls, (std::vector<std::string>{"enter", "leave"}));

    Script out;
    out.Add(At(20, 20), true);
    out.Add(At(250, 20), true);  // off the grid, on the form
    out.Add(At(250, 20), false);
    Target.Calls.clear();
    EXPECT_EQ(RunColumnDragDrop(&Src, 2, kCopyMove, effect, &out), DRAGDROP_S_CANCEL);
    EXPECT_TRUE(Src.NoAccept());
    EXPECT_EQ(Target.Calls, (std::vector<std::string>{"enter", "leave"}));  // columns are not taken here
}
