// The grid's settings objects: change notification only on a real change,
// the options with effects on the grid, copying (also of the two objects
// whose copy used to raise), the band period and owned glyphs.
#include <gtest/gtest.h>

#include <functional>

#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"

using namespace grid;

namespace {

struct SettingsFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
};

} // namespace

TEST_F(SettingsFixture, OnChangeOnlyOnARealChange)
{
    struct Case {
        const char* name;
        std::function<void(TExStringGrid&)> set;
        int changes;  // OnChange calls of Navigation + MouseActions
    } cases[] = {
        {"AdvanceDirection to its value", [](auto& g) { g.Navigation()->SetAdvanceDirection(TAdvanceDirection::adLeftRight); }, 0},
        {"AdvanceDirection changed", [](auto& g) { g.Navigation()->SetAdvanceDirection(TAdvanceDirection::adTopBottom); }, 1},
        {"AdvanceInsert changed", [](auto& g) { g.Navigation()->SetAdvanceInsert(true); }, 1},
        {"AdvanceInsert to its value", [](auto& g) { g.Navigation()->SetAdvanceInsert(false); }, 0},
        {"a stored navigation option", [](auto& g) { g.Navigation()->SetAutoGotoWhenSorted(true); }, 0},
        {"WheelAction changed", [](auto& g) { g.MouseActions()->SetWheelAction(TWheelAction::waScroll); }, 1},
        {"WheelAction to its value", [](auto& g) { g.MouseActions()->SetWheelAction(TWheelAction::waMoveSelection); }, 0},
        {"a stored mouse option", [](auto& g) { g.MouseActions()->SetWheelIncrement(1); }, 0},
    };
    for (const Case& c : cases) {
        TExStringGrid g(&Form);
        int changes = 0;
        g.Navigation()->OnChange = [&](rtl::TObject* s) {
            EXPECT_EQ(s, g.Navigation());
            ++changes;
        };
        g.MouseActions()->OnChange = [&](rtl::TObject*) { ++changes; };
        c.set(g);
        EXPECT_EQ(changes, c.changes) << c.name;
    }
}

TEST_F(SettingsFixture, EditOnDblClickOnlyRemovesEditingForGood)
{
    G->SetOptions(G->Options() + gui::TGridOptions{gui::TGridOption::goEditing});
    G->MouseActions()->SetEditOnDblClickOnly(true);
    EXPECT_FALSE(G->Options().Contains(gui::TGridOption::goEditing));
    G->MouseActions()->SetEditOnDblClickOnly(false);
    EXPECT_FALSE(G->Options().Contains(gui::TGridOption::goEditing));
}

TEST_F(SettingsFixture, DisjunctSelectionsExcludeEachOtherOnlyAtDesignTime)
{
    TMouseActions* m = G->MouseActions();
    m->SetDisjunctRowSelect(true);
    m->SetDisjunctCellSelect(true);
    m->SetDisjunctColSelect(true);
    EXPECT_TRUE(m->DisjunctRowSelect() && m->DisjunctCellSelect() && m->DisjunctColSelect());

    G->SetComponentStateFlag(rtl::TComponentStateItem::csDesigning, true);
    m->SetDisjunctColSelect(true);
    EXPECT_TRUE(m->DisjunctColSelect());
    EXPECT_FALSE(m->DisjunctRowSelect());
    EXPECT_FALSE(m->DisjunctCellSelect());
    G->SetComponentStateFlag(rtl::TComponentStateItem::csDesigning, false);
}

TEST_F(SettingsFixture, BandsPeriodFollowsTheLengthsAndAssign)
{
    TBands* b = G->Bands();
    EXPECT_EQ(b->TotalLength(), 2);
    b->SetPrimaryLength(3);
    EXPECT_EQ(b->TotalLength(), 4);
    TBands other(nullptr);
    other.SetPrimaryLength(2);
    other.SetSecondaryLength(2);
    other.SetPrint(true);
    other.SetActive(true);
    b->SetPrimaryLength(1);
    b->Assign(&other);
    EXPECT_EQ(b->TotalLength(), 4);
    EXPECT_TRUE(b->Print());
    EXPECT_TRUE(b->Active());
    b->Assign(G->Navigation());  // another class: ignored
    EXPECT_EQ(b->TotalLength(), 4);
}

TEST_F(SettingsFixture, NavigationAssignKeepsKeepScrollOnSort)
{
    TNavigation src;
    src.SetTabAdvanceDirection(TAdvanceDirection::adTopBottom);
    src.SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    src.SetKeepScrollOnSort(true);
    src.SetHomeEndKey(THomeEndAction::heFirstLastRow);
    G->Navigation()->Assign(&src);
    EXPECT_EQ(G->Navigation()->TabAdvanceDirection(), TAdvanceDirection::adTopBottom);
    EXPECT_EQ(G->Navigation()->HomeEndKey(), THomeEndAction::heFirstLastRow);
    EXPECT_FALSE(G->Navigation()->KeepScrollOnSort());
}

TEST_F(SettingsFixture, MouseActionsAssignLeavesThreeOptions)
{
    TMouseActions src(nullptr);
    src.SetWheelIncrement(1);
    src.SetSizeFixedRow(true);
    src.SetHotmailRowSelect(true);
    src.SetRangeSelectAndEdit(true);
    G->MouseActions()->Assign(&src);
    EXPECT_EQ(G->MouseActions()->WheelIncrement(), 1);
    EXPECT_TRUE(G->MouseActions()->RangeSelectAndEdit());
    EXPECT_FALSE(G->MouseActions()->SizeFixedRow());
    EXPECT_FALSE(G->MouseActions()->HotmailRowSelect());
}

TEST_F(SettingsFixture, CellNodeGlyphIsCopiedNotShared)
{
    gui::TBitmap glyph(12, 12);
    glyph.Canvas()->SetPixels(1, 1, 0x0000FF);
    G->CellNode()->SetExpandGlyph(&glyph);
    glyph.Canvas()->SetPixels(1, 1, 0x00FF00);
    glyph.SetSize(20, 20);
    ASSERT_EQ(G->CellNode()->ExpandGlyph()->Width(), 12);
    EXPECT_EQ(G->CellNode()->ExpandGlyph()->Canvas()->Pixels(1, 1), 0x0000FFu);

    TCellNode copy(nullptr);
    copy.Assign(G->CellNode());
    EXPECT_NE(copy.ExpandGlyph(), G->CellNode()->ExpandGlyph());
    EXPECT_EQ(copy.ExpandGlyph()->Width(), 12);
}

// The grid's BackGround and SizeWhileTyping setters copy the object; both
// copy every field (the bitmap by copy) instead of raising.
TEST_F(SettingsFixture, BackGroundAndSizeWhileTypingCopyEveryField)
{
    TBackGround bg(nullptr);
    bg.SetTop(3);
    bg.SetLeft(4);
    bg.SetDisplay(TBackGroundDisplay::bdGradientVert);
    bg.SetCells(TBackGroundCells::bcAll);
    bg.SetColor(0x112233);
    bg.SetColorTo(0x445566);
    gui::TBitmap pic(5, 6);
    bg.SetBitmap(&pic);
    ASSERT_NO_THROW(G->SetBackGround(&bg));
    TBackGround* b = G->BackGround();
    EXPECT_EQ(b->Top(), 3);
    EXPECT_EQ(b->Left(), 4);
    EXPECT_EQ(b->Display(), TBackGroundDisplay::bdGradientVert);
    EXPECT_EQ(b->Cells(), TBackGroundCells::bcAll);
    EXPECT_EQ(b->Color(), 0x112233u);
    EXPECT_EQ(b->ColorTo(), 0x445566u);
    EXPECT_EQ(b->Bitmap()->Width(), 5);
    EXPECT_NE(b->Bitmap(), bg.Bitmap());

    TSizeWhileTyping st;
    st.SetHeight(true);
    st.SetWidth(true);
    ASSERT_NO_THROW(G->SetSizeWhileTyping(&st));
    EXPECT_TRUE(G->SizeWhileTyping()->Height());
    EXPECT_TRUE(G->SizeWhileTyping()->Width());
}

TEST_F(SettingsFixture, DefaultsOfTheSettingsObjects)
{
    EXPECT_EQ(G->CellNode()->NodeIndent(), 12);
    EXPECT_EQ(G->CellNode()->NodeType(), TNodeType::cnXP);
    EXPECT_EQ(G->CellNode()->TreeColor(), 0x808080u);
    EXPECT_EQ(G->ColumnSize()->StretchColumn(), -1);
    EXPECT_EQ(G->BackGround()->Color(), gui::clWindow);
    EXPECT_EQ(G->BackGround()->ColorTo(), gui::clBtnFace);
    EXPECT_EQ(G->Bands()->PrimaryColor(), gui::clInfoBk);
    EXPECT_TRUE(G->Navigation()->AllowClipboardRowGrow());
    EXPECT_EQ(G->Navigation()->HomeEndKey(), THomeEndAction::heFirstLastColumn);
    EXPECT_TRUE(G->MouseActions()->AutoSizeColOnDblClick());
    EXPECT_EQ(G->HTMLSettings()->Width(), 100);
}

TEST(ExGridItems, ItemsSetterKeepsTheCallersList)
{
    TGridItems items;
    TGridItem* it = items.Add();
    auto* list = new rtl::TStringList{"a", "b"};
    it->SetItems(list);
    EXPECT_EQ(it->Items(), list);
    it->SetIdx(5);
    it->SetHeight(30);
    EXPECT_EQ(items.Items(0)->Idx(), 5);
}
