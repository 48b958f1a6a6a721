// The edit with a button and the directory edit: the editor gate, the
// button's place and click, F4, and the folder browser through the
// scripted dialog service.

#include <gtest/gtest.h>

#include <filesystem>

#include "ControlsFixture.h"
#include "controls/ExDirectoryEdit.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/InputSim.h"

using namespace controls;
using namespace gui;
using controls_test::Host;
using controls_test::PixelAt;

namespace {

template <class T>
T* Add(Host& h, int x = 20, int y = 20, int w = 160)
{
    auto* e = new T(&h.form);
    e->SetParent(&h.form);
    e->SetBounds(x, y, w, 21);
    return e;
}

struct Scripted {
    TScriptedDialogService* s;
    Scripted()
    {
        auto svc = std::make_unique<TScriptedDialogService>();
        s = svc.get();
        SetDialogService(std::move(svc));
    }
    ~Scripted() { SetDialogService(nullptr); }
};

} // namespace

TEST(ExEditBtn, EditorEnabledGatesTypingAndPasting)
{
    Host h;
    auto* e = Add<TExEditBtn>(h);
    int clicks = 0;
    e->OnClickBtn = [&](rtl::TObject* s) {
        EXPECT_EQ(s, e);
        ++clicks;
    };
    h.Show();
    e->SetText("abc");
    e->SetEditorEnabled(false);
    e->SetFocus();
    Application->ProcessMessages();
    sim::TypeText("x", e);
    EXPECT_EQ(e->Text(), "abc");
    e->SelectAll();
    sim::KeyPress(VK_DELETE, {}, e);
    EXPECT_EQ(e->Text(), "abc");
    Clipboard()->SetAsText("zz");
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), "abc");
    e->SelectAll();
    e->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    // The face still fires, also when released off the face.
    TExSpeedButton* face = e->ButtonContainer()->Button();
    sim::MouseDown(face, TMouseButton::mbLeft, 5, 5);
    sim::MouseUp(face, TMouseButton::mbLeft, 60, 40);
    EXPECT_EQ(clicks, 1);

    e->SetEditorEnabled(true);
    e->SetReadOnly(true);
    EXPECT_FALSE(e->ButtonContainer()->Enabled());
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), "abc");
    e->SetReadOnly(false);
    EXPECT_TRUE(e->ButtonContainer()->Enabled());
    Clipboard()->SetAsText("zz");
    e->SelectAll();
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), "zz");
}

TEST(ExEditBtn, ButtonWidthMovesIndentAndButton)
{
    Host h;
    auto* e = Add<TExEditBtn>(h);
    EXPECT_EQ(e->ButtonWidth(), 16);
    EXPECT_EQ(e->IndentR(), 18);
    e->SetButtonWidth(20);
    EXPECT_EQ(e->IndentR(), 23);
    TEditButton* b = e->ButtonContainer();
    EXPECT_EQ(b->Width(), 20);
    EXPECT_EQ(b->Left(), e->Width() - 20 - 4);   // bsSingle, not flat
    EXPECT_EQ(b->Height(), e->Height() - 4);
    EXPECT_EQ(b->Button()->Width(), 20);
    e->SetFlat(true);
    EXPECT_EQ(b->Left(), e->Width() - 20 - 3);
    EXPECT_EQ(b->Top(), 2);
    EXPECT_EQ(e->Version(), "1.3.1.5");
}

TEST(ExEditBtn, MinimumHeightFollowsTheSmallerFont)
{
    Host h;
    auto* e = Add<TExEditBtn>(h);
    TBitmap probe;
    TFont system;
    probe.Canvas()->SetFont(&system);
    const int ts = probe.Canvas()->TextHeight("Wg");
    probe.Canvas()->SetFont(e->Font());
    const int tf = probe.Canvas()->TextHeight("Wg");
    EXPECT_EQ(e->MinimumHeight(), std::min(ts, tf) / 4 + tf);
    e->SetHeight(3);
    EXPECT_EQ(e->Height(), e->MinimumHeight());
}

TEST(ExEditBtn, F4ClicksWithoutCtrlOrAlt)
{
    Host h;
    auto* e = Add<TExEditBtn>(h);
    int clicks = 0;
    e->OnClickBtn = [&](rtl::TObject*) { ++clicks; };
    h.Show();
    e->SetFocus();
    Application->ProcessMessages();
    sim::KeyPress(VK_F4, {}, e);
    EXPECT_EQ(clicks, 1);
    sim::KeyPress(VK_F4, {TShiftStateItem::ssCtrl}, e);
    sim::KeyPress(VK_F4, {TShiftStateItem::ssAlt}, e);
    EXPECT_EQ(clicks, 1);
}

TEST(ExEditBtn, FaceThemedAndClassic)
{
    Host h;
    auto* e = Add<TExEditBtn>(h);
    e->SetButtonCaption("...");
    h.Show();
    TEditButton* b = e->ButtonContainer();
    auto faceMiddle = [&] {
        auto img = h.Image();
        return PixelAt(*img, e->Left() + b->Left() + 2, e->Top() + b->Top() + b->Height() / 2);
    };
    const TColor themed = faceMiddle();
    SetThemeActive(false);
    e->Invalidate();
    b->Invalidate();
    b->Button()->Invalidate();
    const TColor classic = faceMiddle();
    // A face in either look, and the two looks differ.
    EXPECT_NE(classic, ColorToRGB(clWindow));
    EXPECT_NE(themed, ColorToRGB(clWindow));
    EXPECT_NE(themed, classic);
}

TEST(ExDirectoryEdit, BrowserOpensAtTheTextOrTheCurrentFolder)
{
    Host h;
    Scripted d;
    auto* e = Add<TExDirectoryEdit>(h);
    int changes = 0, closes = 0;
    e->OnChange = [&](rtl::TObject*) { ++changes; };
    e->OnDialogClose = [&](rtl::TObject*, const std::string&, bool) { ++closes; };
    h.Show();
    // Empty text: the current folder; cancel changes and fires nothing.
    e->ClickButton();
    ASSERT_EQ(d.s->FolderRequests.size(), 1u);
    EXPECT_EQ(d.s->FolderRequests[0].InitialSelection, std::filesystem::current_path().string());
    EXPECT_EQ(d.s->FolderRequests[0].Title, "Select Directory");
    EXPECT_EQ(d.s->FolderRequests[0].Flags, 0x41u);
    EXPECT_EQ(e->Text(), "");
    EXPECT_EQ(changes + closes, 0);

    // A trailing delimiter is left out of the selection.
    const std::string tmp = std::filesystem::temp_directory_path().string();
    e->SetText(tmp + "/");
    changes = 0;
    d.s->FolderAnswers.push_back({true, tmp});
    e->ClickButton();
    EXPECT_EQ(d.s->FolderRequests[1].InitialSelection, tmp);
    EXPECT_EQ(e->Text(), tmp);
    EXPECT_TRUE(e->Modified());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(closes, 1);

    // The same folder again leaves Modified as it was.
    e->SetModified(false);
    d.s->FolderAnswers.push_back({true, tmp});
    e->ClickButton();
    EXPECT_FALSE(e->Modified());

    e->SetAllowNewFolder(false);
    e->ClickButton();
    EXPECT_EQ(d.s->FolderRequests.back().Flags, 0x201u);
    EXPECT_FALSE(d.s->FolderRequests.back().AllowNewFolder);
}

TEST(ExDirectoryEdit, PlacementKeepsTheDialogInTheWorkArea)
{
    Host h;
    Scripted d;
    auto* e = Add<TExDirectoryEdit>(h);
    h.Show();
    const TRect a = Screen->WorkAreaRect();
    const TSize size{420, 380};
    d.s->FolderDialogSize = size;
    struct Case {
        int left, top;       // edit position on the form
        bool leftShift, atBottom;
    };
    const TPoint formOrigin = h.form.ClientToScreen({0, 0});
    const Case cases[] = {
        {10, 10, false, false},
        {a.Right - formOrigin.X - 100, 10, true, false},
        {10, a.Bottom - formOrigin.Y - 40, false, true},
    };
    for (const Case& c : cases) {
        h.form.SetBounds(h.form.Left(), h.form.Top(), std::max(h.form.Width(), c.left + 200),
                         std::max(h.form.Height(), c.top + 60));
        e->SetBounds(c.left, c.top, 160, 21);
        e->ClickButton();
        const TPoint below = e->ClientToScreen({0, e->Height()});
        const TPoint at = d.s->FolderRequests.back().PlacedAt;
        EXPECT_EQ(at.X, c.leftShift ? below.X - size.cx : below.X) << c.left;
        EXPECT_EQ(at.Y, c.atBottom ? a.Bottom - size.cy : below.Y) << c.top;
    }
}

TEST(ExDirectoryEdit, OneF4OneBrowserAndMissingFolderIsAnError)
{
    Host h;
    Scripted d;
    auto* e = Add<TExDirectoryEdit>(h);
    h.Show();
    e->SetFocus();
    Application->ProcessMessages();
    sim::KeyPress(VK_F4, {}, e);
    EXPECT_EQ(d.s->FolderRequests.size(), 1u);
    sim::KeyPress(VK_F4, {TShiftStateItem::ssCtrl}, e);
    EXPECT_EQ(d.s->FolderRequests.size(), 1u);

    e->SetText("/no/such/folder/here");
    EXPECT_FALSE(e->IsValidDirectory());
    EXPECT_TRUE(e->IsError());
    e->SetText(std::filesystem::temp_directory_path().string());
    EXPECT_TRUE(e->IsValidDirectory());
    EXPECT_FALSE(e->IsError());
    // The glyph: an open folder on transparent white.
    auto g = DirectoryEditGlyph();
    EXPECT_EQ(g->Width(), 12);
    EXPECT_EQ(g->Height(), 11);
    EXPECT_EQ(ColorToRGB(g->Canvas()->Pixels(3, 3)), ColorToRGB(clYellow));
    EXPECT_EQ(ColorToRGB(g->Canvas()->Pixels(0, 10)), ColorToRGB(clWhite));
}
