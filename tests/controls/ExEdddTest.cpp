// The typed edit's drag and drop, driven by synthetic input queued for the
// modal drag loop: moving and copying a selection, dropping it on itself,
// text and files from elsewhere, Esc; and the source's format enumerator.

#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "controls/ExEddd.h"
#include "controls/ExEdit.h"
#include "platform/gui/InputSim.h"

using namespace controls;
using namespace gui;
using controls_test::Host;

namespace {

struct Dragging {
    Host h;
    TExEdit* e;
    Dragging()
    {
        e = new TExEdit(&h.form);
        e->SetParent(&h.form);
        e->SetBounds(20, 20, 200, 21);
        e->SetOleDropSource(true);
        e->SetOleDropTarget(true);
        h.Show();
        e->SetFocus();
        Application->ProcessMessages();
        e->SetText("hello world");
    }
    int X(int index) { return e->PosFromChar(index).X; }
    // Drags the selection from character `from` to character `to`.
    void Drag(int from, int to, TShiftState shift = {}, bool escape = false)
    {
        const int x0 = X(from), x1 = X(to);
        TShiftState held = shift;
        held.Include(TShiftStateItem::ssLeft);
        QueueInMainThread([=, this] { sim::MouseMove(e, x1, 8, held); });
        if (escape) QueueInMainThread([=, this] { sim::KeyPress(VK_ESCAPE, {}, e); });
        QueueInMainThread([=, this] { sim::MouseUp(e, TMouseButton::mbLeft, x1, 8, shift); });
        sim::MouseDown(e, TMouseButton::mbLeft, x0, 8, shift);
        sim::MouseMove(e, x0 + 2, 8, held);
        Application->ProcessMessages();
    }
};

// A drag of other data over the edit, as from another window.
int DropFromOutside(TExEdit* e, const TDataObject& data, int x, int* effect)
{
    TAEDropSource src;
    QueueInMainThread([=] { sim::MouseMove(e, x, 8, {TShiftStateItem::ssLeft}); });
    QueueInMainThread([=] { sim::MouseUp(e, TMouseButton::mbLeft, x, 8); });
    int eff = 0;
    sim::MouseDown(e->Parent(), TMouseButton::mbLeft, 1, 1);
    const int r = DoDragDrop(nullptr, data, DROPEFFECT_COPY | DROPEFFECT_MOVE, src, eff);
    if (effect) *effect = eff;
    return r;
}

} // namespace

TEST(ExEditDragDrop, MoveCopyAndDropOnItself)
{
    {
        Dragging d;
        d.e->Perform(EM_SETSEL, 0, 5);
        d.Drag(2, 8);
        EXPECT_EQ(d.e->Text(), " wohellorld");
    }
    {
        Dragging d;
        d.e->Perform(EM_SETSEL, 0, 5);
        d.Drag(2, 8, {TShiftStateItem::ssCtrl});
        EXPECT_EQ(d.e->Text(), "hello wohellorld");
    }
    {
        Dragging d;
        d.e->Perform(EM_SETSEL, 0, 5);
        d.Drag(1, 3);
        EXPECT_EQ(d.e->Text(), "hello world");
    }
    {
        Dragging d;
        d.e->Perform(EM_SETSEL, 0, 5);
        d.Drag(2, 8, {}, true);
        EXPECT_EQ(d.e->Text(), "hello world");
    }
}

TEST(ExEditDragDrop, TextAndFilesFromOutside)
{
    Dragging d;
    TDataObject lines;
    lines.SetText("first\r\nsecond");
    int effect = 0;
    EXPECT_EQ(DropFromOutside(d.e, lines, d.X(6), &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(d.e->Text(), "hello firstworld");

    TDataObject files;
    files.SetFiles({"/tmp/a.txt"});
    EXPECT_EQ(DropFromOutside(d.e, files, d.X(2), &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(d.e->Text(), "hello firstworld");
}

TEST(ExEditDragDrop, SourceFormatsAndData)
{
    TSourceDataObject data("abc", "");
    int result = 0;
    EXPECT_EQ(data.EnumFormatEtc(DATADIR_SET, &result), nullptr);
    EXPECT_EQ(result, E_NOTIMPL);
    auto e = data.EnumFormatEtc(DATADIR_GET);
    TFormatEtc f[4];
    int n = 0;
    EXPECT_EQ(e->Next(3, f, &n), S_OK);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(f[0].cfFormat, static_cast<TClipboardFormat>(CF_TEXT));
    EXPECT_EQ(f[1].cfFormat, static_cast<TClipboardFormat>(CF_UNICODETEXT));
    EXPECT_EQ(f[2].cfFormat, RegisterClipboardFormat("Rich Text Format"));
    EXPECT_EQ(f[2].lindex, -1);
    e->Reset();
    EXPECT_EQ(e->Next(4, f, &n), S_FALSE);
    EXPECT_EQ(n, 3);
    e->Reset();
    EXPECT_EQ(e->Skip(2), S_OK);
    EXPECT_EQ(e->Skip(2), S_FALSE);

    std::vector<uint8_t> medium;
    EXPECT_EQ(data.GetData(f[1], medium), S_OK);
    EXPECT_EQ(medium, (std::vector<uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0}));
    EXPECT_EQ(data.GetData(f[0], medium), S_OK);
    EXPECT_EQ(medium, (std::vector<uint8_t>{'a', 'b', 'c', 0}));
    // Rich text is never delivered; other media are refused.
    EXPECT_EQ(data.QueryGetData(f[2]), DV_E_FORMATETC);
    TFormatEtc stream = f[0];
    stream.tymed = 4;
    EXPECT_EQ(data.QueryGetData(stream), DV_E_FORMATETC);
    EXPECT_EQ(ShiftStateToDropEffect({TShiftStateItem::ssCtrl}), DROPEFFECT_COPY);
    EXPECT_EQ(ShiftStateToDropEffect({}), DROPEFFECT_MOVE);
}
