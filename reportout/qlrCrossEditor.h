// The cross-tab's component editors: the generic editor of visible report
// objects (shift, visibility and printability switches) and the cross-tab
// editor, a modal dialog for the levels, sort orders, cell functions,
// subtotals, display switches and styles of a cross-tab with a live
// preview.
//
// The rule a caller must know: this system has no designer; the editor is
// reached through the component-editor registry (registered at start-up)
// and Edit answers whether the dialog closed with OK.  Cancel puts the
// cross-tab back as it was.
//
// Example:
//   auto editor = qlr::GetComponentEditorCollection().GetComponentEditor(cross, nullptr, nullptr);
//   if (editor && editor->HasEditor()) editor->Edit();
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/UpDown.h"
#include "report/qlrDsgnIntf.h"
#include "reportout/qlrCross.h"

namespace qlr {

class TqlrViewEditor : public TqlrComponentEditor {
public:
    using TqlrComponentEditor::TqlrComponentEditor;
    void GetMenuItems() override;
    // Tags 50 to 53: shift always, shift when overlapped, visible,
    // printable; the edited view (there is no designer selection here).
    bool Execute(int tag, bool checked) override;
};

class TqlrCrossEditor : public TqlrViewEditor {
public:
    using TqlrViewEditor::TqlrViewEditor;
    bool Edit() override;
    bool HasEditor() override { return true; }
};

class TqlrCrossEditorForm : public gui::TForm {
public:
    TqlrCrossEditorForm(rtl::TComponent* owner, TqlrCustomCrossView* cross);
    ~TqlrCrossEditorForm() override;

    gui::TGroupBox *DatasetL, *DimensionsL, *StructureL, *OptionsL;
    gui::TComboBox* DatasetCB;
    gui::TListBox *FieldsLB, *ColumnsLB, *RowsLB, *CellsLB;
    gui::TLabel *RowsL, *ColumnsL, *CellsL;
    gui::TEdit *RowsE, *ColumnsE, *CellsE;
    gui::TUpDown *RowsUD, *ColumnsUD, *CellsUD;
    gui::TSpeedButton* SwapB;
    gui::TCheckBox *TitleCB, *CornerCB, *ColumnHeaderCB, *RowHeaderCB, *ColumnTotalCB, *RowTotalCB, *AutoSizeCB,
        *BorderCB, *DownAcrossCB, *RepeatCB, *PlainCB, *JoinCB;
    gui::TButton *StyleB, *OkB, *CancelB;
    gui::TPaintBox* PaintBox;
    gui::TPopupMenu *FuncPopup, *SortPopup, *StylePopup;

    // What the mouse does, callable directly.
    // Moves item index of source to target before targetIndex (-1: the end).
    void MoveItem(gui::TListBox* source, int index, gui::TListBox* target, int targetIndex);
    // The subtotal box of a rows or columns item: the next level's total template.
    void ToggleSubtotal(gui::TListBox* list, int index);
    void SetSortOrder(gui::TListBox* list, int index, TqlrCrossSortOrder order);
    void SetCellFunction(int index, TqlrCrossFunction function);
    void Swap();
    // Applies the style of the style menu's item index.
    void ChooseStyle(int index);
    // Adds (or refills) the named style from the cross-tab and writes the style file.
    bool SaveStyle(const std::string& name);
    TqlrStyleSheet* StyleSheet() const { return FStyleSheet.get(); }
    void ApplyStructure(rtl::TObject* sender, bool rewrite);
    // Paints the preview into a canvas.
    void PaintPreview(gui::TCanvas* canvas);

    // The style file read (user configuration folder first, then the
    // program's folder) and written (user configuration folder).
    static std::string StyleFileToRead();
    static std::string StyleFileToWrite();
    // The ten built-in styles.
    static void BuiltInStyles(TqlrStyleSheet& sheet);

protected:
    void DoShow() override;
    void DoHide() override;

private:
    void Fill();
    void BuildStyleMenu();
    void FillLists();
    void DrawItem(gui::TListBox* list, int index, const gui::TRect& r, gui::TOwnerDrawState state);
    void ListMouseDown(gui::TListBox* list, int x, int y);
    void ListMouseUp(gui::TListBox* list, int x, int y);
    // The selected item of the list dragged from goes to the list dropped on.
    void ListDragDrop(gui::TListBox* target, rtl::TObject* source, int x, int y);
    void CheckClicked(gui::TCheckBox* box);
    void DimensionChanged(gui::TEdit* edit);
    void Repaint();
    TqlrCustomCrossView* FCross;
    std::unique_ptr<TqlrCustomCrossView> FTempCross;
    std::unique_ptr<TqlrStyleSheet> FStyleSheet;
    gui::TListBox* FCurList = nullptr;
    int FCurIndex = -1;
    bool FUpdating = false;
};

} // namespace qlr
