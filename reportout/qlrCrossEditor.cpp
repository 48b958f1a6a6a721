// The cross-tab's component editors and the cross-tab editor dialog.
#include "reportout/qlrCrossEditor.h"

#include <cstdlib>

#include "platform/gui/Dialogs.h"
#include "platform/rtl/Files.h"
#include "report/qlrRes.h"
#include "reportout/qlrFormParts.h"

namespace qlr {

namespace {

const char* const kFuncNames[] = {"None", "Sum", "Min", "Max", "Avg", "Count"};
const char* const kSortNames[] = {"Asc", "Desc", "None", "Group"};
const char* const kStyleFile = "crossstyles.xml";

std::string ResOr(const char* name, const char* fallback)
{
    const std::string s = GetResources().Get(name);
    return s.empty() || s == name ? fallback : s;
}

} // namespace

// ------------------------------------------------------------------- editors

void TqlrViewEditor::GetMenuItems()
{
    auto* view = dynamic_cast<TqlrView*>(FComponent);
    if (!view || !FMenu) return;
    AddMenuItem(ResOr("mvShift", "Shift"), 50, view->ShiftMode() == TqlrShiftMode::smAlways);
    AddMenuItem(ResOr("mvShiftOver", "Shift when overlapped"), 51, view->ShiftMode() == TqlrShiftMode::smWhenOverlapped);
    AddMenuItem(ResOr("mvVisible", "Visible"), 52, view->Visible());
    AddMenuItem(ResOr("mvPrintable", "Printable"), 53, view->Printable());
}

bool TqlrViewEditor::Execute(int tag, bool checked)
{
    auto* view = dynamic_cast<TqlrView*>(FComponent);
    if (!view || view->Restrictions().Contains(TqlrRestriction::rfDontModify)) return false;
    switch (tag) {
    case 50: view->SetShiftMode(checked ? TqlrShiftMode::smAlways : TqlrShiftMode::smDontShift); return true;
    case 51: view->SetShiftMode(checked ? TqlrShiftMode::smWhenOverlapped : TqlrShiftMode::smDontShift); return true;
    case 52: view->SetVisible(checked); return true;
    case 53: view->SetPrintable(checked); return true;
    default: return false;
    }
}

bool TqlrCrossEditor::Edit()
{
    auto* cross = dynamic_cast<TqlrCustomCrossView*>(FComponent);
    if (!cross) return false;
    TqlrCrossEditorForm form(nullptr, cross);
    return form.ShowModal() == gui::mrOk;
}

void RegisterCrossEditor()
{
    auto create = [](rtl::TComponent* c, void* d, gui::TMenu* m) -> std::unique_ptr<TqlrComponentEditor> {
        return std::make_unique<TqlrCrossEditor>(c, d, m);
    };
    GetComponentEditorCollection().Register(&TqlrCrossView::StaticClassInfo(), "TqlrCrossEditor", create);
    GetComponentEditorCollection().Register(&TqlrDBCrossView::StaticClassInfo(), "TqlrCrossEditor", create);
}

// -------------------------------------------------------------------- styles

void TqlrCrossEditorForm::BuiltInStyles(TqlrStyleSheet& sheet)
{
    struct Row {
        const char* name;
        gui::TColor header, cell, headerFont;
        bool frameStored;
        gui::TColor frame, cellFrame;
    };
    const gui::TColor none = static_cast<gui::TColor>(536870911);
    const Row rows[] = {
        {"White", 16777215, 16777215, 0, false, 0, 0},
        {"Gray", 14211288, 15790320, 0, true, 16777215, 16777215},
        {"Orange", 4643583, 10218495, 0, true, 16777215, 16777215},
        {"Green", 42107, 53918, 0, true, 16777215, 16777215},
        {"Green and Orange", 52376, 52479, 0, true, 16777215, 16777215},
        {"Blue", 16629143, 16700346, 0, true, 16777215, 16777215},
        {"Blue and White", 16629143, none, 0, true, 16777215, 14211288},
        {"Gray and Orange", 8421504, 52479, 16777215, true, 16777215, 16777215},
        {"Blue and Orange", 16629143, 7000063, 0, true, 16777215, 16777215},
        {"Orange and White", 7000063, none, 0, true, 16777215, 14211288},
    };
    for (const Row& r : rows) {
        TqlrStyles* styles = sheet.Add();
        styles->SetName(r.name);
        const bool swapTotals = std::string(r.name) == "Gray and Orange";
        std::vector<const char*> kinds = {"cellheader", "cell", "column", "colgrand", "coltotal",
                                          "row", "rowgrand", "rowtotal", "corner"};
        if (swapTotals) {
            std::swap(kinds[3], kinds[4]);
            std::swap(kinds[6], kinds[7]);
        }
        for (const char* kind : kinds) {
            const std::string k = kind;
            const bool cell = k == "cell";
            const bool total = k == "colgrand" || k == "coltotal" || k == "rowgrand" || k == "rowtotal";
            TqlrStyleItem* item = styles->Add();
            item->SetName(k);
            item->SetColor(cell ? r.cell : r.header);
            item->Font()->SetColor(cell ? 0 : r.headerFont);
            item->Font()->SetStyle(total ? gui::TFontStyles{gui::TFontStyle::fsBold} : gui::TFontStyles());
            item->Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftRight, TqlrFrameType::ftTop,
                                                 TqlrFrameType::ftBottom});
            if (r.frameStored) item->Frame()->SetColor(cell ? r.cellFrame : r.frame);
        }
    }
}

std::string TqlrCrossEditorForm::StyleFileToRead()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        const std::string f = std::string(xdg) + "/" + kStyleFile;
        if (rtl::FileExists(f)) return f;
    }
    const std::string exe = gui::Application ? gui::Application->ExeName() : std::string();
    return rtl::ExtractFilePath(exe) + kStyleFile;
}

std::string TqlrCrossEditorForm::StyleFileToWrite()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::string(xdg) + "/" + kStyleFile;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/" + kStyleFile;
}

// ---------------------------------------------------------------------- form

TqlrCrossEditorForm::TqlrCrossEditorForm(rtl::TComponent* owner, TqlrCustomCrossView* cross)
    : gui::TForm(owner), FCross(cross), FStyleSheet(std::make_unique<TqlrStyleSheet>())
{
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetKeyPreview(true);
    SetCaption("Cross-tab Editor");
    SetClientSize(680, 520);

    const std::string file = StyleFileToRead();
    try {
        if (rtl::FileExists(file)) FStyleSheet->LoadFromFile(file);
    } catch (const rtl::Exception&) {
        FStyleSheet->Clear();
    }
    if (FStyleSheet->Count() == 0) BuiltInStyles(*FStyleSheet);
    FTempCross.reset(static_cast<TqlrCustomCrossView*>(cross->ClassType()->Create(nullptr)));

    DatasetL = MakeControl<gui::TGroupBox>(this, this, 8, 8, 180, 250);
    DatasetL->SetCaption("Dataset");
    DatasetL->SetVisible(false);
    DatasetCB = MakeControl<gui::TComboBox>(this, DatasetL, 8, 20, 164, 22);
    DatasetCB->OnChange = [this](rtl::TObject*) {
        if (FUpdating) return;
        FieldsLB->Clear();
        if (TqlrReport* report = FCross->Report()) {
            TqlrDataSet* ds = report->GetDataset(DatasetCB->Text());
            rtl::TStringList fields;
            if (ds) ds->GetFieldList(fields);
            FieldsLB->Items()->Assign(&fields);
        }
        RowsLB->Clear();
        ColumnsLB->Clear();
        CellsLB->Clear();
        ApplyStructure(DatasetCB, true);
    };
    FieldsLB = MakeControl<gui::TListBox>(this, DatasetL, 8, 48, 164, 190);

    DimensionsL = MakeControl<gui::TGroupBox>(this, this, 8, 8, 180, 250);
    DimensionsL->SetCaption("Dimensions");
    DimensionsL->SetVisible(false);
    auto dimension = [this](gui::TLabel*& label, gui::TEdit*& edit, gui::TUpDown*& ud, const char* caption, int top,
                            int tag, int minimum) {
        label = MakeControl<gui::TLabel>(this, DimensionsL, 8, top + 3, 80, 16);
        label->SetCaption(caption);
        edit = MakeControl<gui::TEdit>(this, DimensionsL, 96, top, 60, 21);
        edit->SetTag(tag);
        ud = MakeControl<gui::TUpDown>(this, DimensionsL, 156, top, 16, 21);
        ud->SetMin(minimum);
        ud->SetMax(kCrossMaxLevels);
        ud->SetAssociate(edit);
        gui::TEdit* e = edit;
        edit->OnChange = [this, e](rtl::TObject*) { DimensionChanged(e); };
    };
    dimension(RowsL, RowsE, RowsUD, "Rows", 24, 0, 0);
    dimension(ColumnsL, ColumnsE, ColumnsUD, "Columns", 56, 1, 0);
    dimension(CellsL, CellsE, CellsUD, "Cells", 88, 2, 1);

    StructureL = MakeControl<gui::TGroupBox>(this, this, 196, 8, 476, 250);
    StructureL->SetCaption("Cross-tab structure");
    ColumnsLB = MakeControl<gui::TListBox>(this, StructureL, 240, 20, 228, 100);
    RowsLB = MakeControl<gui::TListBox>(this, StructureL, 8, 128, 228, 114);
    CellsLB = MakeControl<gui::TListBox>(this, StructureL, 240, 128, 228, 114);
    SwapB = MakeControl<gui::TSpeedButton>(this, StructureL, 8, 20, 24, 24);
    SwapB->OnClick = [this](rtl::TObject*) { Swap(); };
    for (gui::TListBox* lb : {FieldsLB, ColumnsLB, RowsLB, CellsLB}) {
        lb->SetStyle(gui::TListBoxStyle::lbOwnerDrawFixed);
        lb->SetItemHeight(16);
        lb->SetDragMode(gui::TDragMode::dmAutomatic);
        lb->OnDrawItem = [this, lb](gui::TWinControl*, int i, const gui::TRect& r, gui::TOwnerDrawState s) {
            DrawItem(lb, i, r, s);
        };
        lb->OnDragOver = [](rtl::TObject*, rtl::TObject* source, int, int, gui::TDragState, bool& accept) {
            auto* from = dynamic_cast<gui::TListBox*>(source);
            accept = from && from->Count() > 0;
        };
        lb->OnDragDrop = [this, lb](rtl::TObject*, rtl::TObject* source, int x, int y) {
            ListDragDrop(lb, source, x, y);
        };
        lb->OnClick = [this, lb](rtl::TObject*) {
            for (gui::TListBox* other : {FieldsLB, ColumnsLB, RowsLB, CellsLB})
                if (other != lb) other->SetItemIndex(-1);
        };
        lb->OnMouseDown = [this, lb](rtl::TObject*, gui::TMouseButton, gui::TShiftState, int x, int y) {
            ListMouseDown(lb, x, y);
        };
        lb->OnMouseUp = [this, lb](rtl::TObject*, gui::TMouseButton, gui::TShiftState, int x, int y) {
            ListMouseUp(lb, x, y);
        };
    }

    OptionsL = MakeControl<gui::TGroupBox>(this, this, 8, 264, 664, 216);
    OptionsL->SetCaption("Options");
    struct Box {
        gui::TCheckBox** box;
        const char* caption;
    } boxes[] = {{&TitleCB, "Show title"},           {&CornerCB, "Show corner"},
                 {&ColumnHeaderCB, "Column header"}, {&RowHeaderCB, "Row header"},
                 {&ColumnTotalCB, "Column grand total"}, {&RowTotalCB, "Row grand total"},
                 {&AutoSizeCB, "Auto size"},         {&BorderCB, "Border around cells"},
                 {&DownAcrossCB, "Print down then across"}, {&RepeatCB, "Repeat headers"},
                 {&PlainCB, "Side-by-side cells"},   {&JoinCB, "Join equal cells"}};
    int i = 0;
    for (Box& b : boxes) {
        *b.box = MakeControl<gui::TCheckBox>(this, OptionsL, 8, 20 + 16 * i, 170, 17);
        (*b.box)->SetCaption(b.caption);
        gui::TCheckBox* cb = *b.box;
        cb->OnClick = [this, cb](rtl::TObject*) { CheckClicked(cb); };
        ++i;
    }
    StyleB = MakeControl<gui::TButton>(this, OptionsL, 188, 16, 80, 22);
    StyleB->SetCaption("Style");
    PaintBox = MakeControl<gui::TPaintBox>(this, OptionsL, 188, 42, 468, 166);
    PaintBox->OnPaint = [this](rtl::TObject*) { PaintPreview(PaintBox->Canvas()); };

    FuncPopup = new gui::TPopupMenu(this);
    for (int f = 0; f < 6; ++f) {
        auto* item = new gui::TMenuItem(FuncPopup);
        item->SetCaption(kFuncNames[f]);
        item->SetTag(f);
        item->SetRadioItem(true);
        item->OnClick = [this, f](rtl::TObject*) { SetCellFunction(FCurIndex, static_cast<TqlrCrossFunction>(f)); };
        FuncPopup->Items()->Add(item);
    }
    SortPopup = new gui::TPopupMenu(this);
    for (int s = 0; s < 4; ++s) {
        auto* item = new gui::TMenuItem(SortPopup);
        item->SetCaption(kSortNames[s]);
        item->SetTag(s);
        item->SetRadioItem(true);
        item->OnClick = [this, s](rtl::TObject*) {
            SetSortOrder(FCurList, FCurIndex, static_cast<TqlrCrossSortOrder>(s));
        };
        SortPopup->Items()->Add(item);
    }
    StylePopup = new gui::TPopupMenu(this);
    auto* separator = new gui::TMenuItem(StylePopup);
    separator->SetCaption("-");
    StylePopup->Items()->Add(separator);
    auto* save = new gui::TMenuItem(StylePopup);
    save->SetCaption("Save style...");
    save->OnClick = [this](rtl::TObject*) {
        std::string name;
        if (gui::InputQuery("Save style...", ResOr("crStName", "Style name:"), name)) SaveStyle(name);
    };
    StylePopup->Items()->Add(save);
    StyleB->OnClick = [this](rtl::TObject*) {
        const gui::TPoint p = StyleB->ClientToScreen(gui::TPoint{0, StyleB->Height()});
        StylePopup->Popup(p.X, p.Y);
    };
    BuildStyleMenu();

    OkB = MakeControl<gui::TButton>(this, this, 512, 488, 75, 25);
    OkB->SetCaption("OK");
    OkB->SetModalResult(gui::mrOk);
    CancelB = MakeControl<gui::TButton>(this, this, 596, 488, 75, 25);
    CancelB->SetCaption("Cancel");
    CancelB->SetModalResult(gui::mrCancel);
}

TqlrCrossEditorForm::~TqlrCrossEditorForm() = default;

void TqlrCrossEditorForm::BuildStyleMenu()
{
    gui::TMenuItem* items = StylePopup->Items();
    while (items->Count() > 0 && items->Items(0)->Caption() != "-") items->Delete(0);
    for (int s = 0; s < FStyleSheet->Count(); ++s) {
        auto* item = new gui::TMenuItem(StylePopup);
        item->SetCaption(FStyleSheet->Items(s)->Name());
        item->SetImageIndex(s + 1);
        item->OnClick = [this, s](rtl::TObject*) { ChooseStyle(s); };
        items->Insert(s, item);
    }
}

void TqlrCrossEditorForm::ChooseStyle(int index)
{
    if (index < 0 || index >= FStyleSheet->Count()) return;
    FCross->ApplyStyle(FStyleSheet->Items(index));
    Repaint();
}

bool TqlrCrossEditorForm::SaveStyle(const std::string& name)
{
    if (name.empty()) return false;
    TqlrStyles* styles = FStyleSheet->Find(name);
    if (!styles) {
        styles = FStyleSheet->Add();
        styles->SetName(name);
    }
    FCross->GetStyle(styles);
    const std::string file = StyleFileToWrite();
    rtl::ForceDirectories(rtl::ExtractFilePath(file));
    FStyleSheet->SaveToFile(file);
    BuildStyleMenu();
    return true;
}

// ---------------------------------------------------------- filling, applying

void TqlrCrossEditorForm::FillLists()
{
    RowsLB->Items()->Assign(FCross->RowFields());
    ColumnsLB->Items()->Assign(FCross->ColumnFields());
    CellsLB->Items()->Assign(FCross->CellFields());
}

void TqlrCrossEditorForm::Fill()
{
    FUpdating = true;
    FTempCross->Assign(FCross);
    const bool plain = dynamic_cast<TqlrCrossView*>(FCross) != nullptr;
    DatasetCB->Clear();
    if (TqlrReport* report = FCross->Report()) {
        rtl::TStringList sets;
        report->GetDataSetList(sets);
        DatasetCB->Items()->Assign(&sets);
        const std::string current = report->GetAlias(FCross->DataSet());
        const int at = sets.IndexOf(current);
        DatasetCB->SetItemIndex(at >= 0 ? at : (sets.Count() > 0 ? 0 : -1));
        if (TqlrDataSet* ds = report->GetDataset(DatasetCB->Text())) {
            rtl::TStringList fields;
            ds->GetFieldList(fields);
            FieldsLB->Items()->Assign(&fields);
        }
    }
    FillLists();
    for (gui::TListBox* lb : {ColumnsLB, RowsLB, CellsLB})
        lb->SetDragMode(plain ? gui::TDragMode::dmManual : gui::TDragMode::dmAutomatic);
    SwapB->SetVisible(!plain);
    DimensionsL->SetVisible(plain);
    DatasetL->SetVisible(!plain);
    RowsE->SetText(std::to_string(FCross->RowLevels()));
    ColumnsE->SetText(std::to_string(FCross->ColumnLevels()));
    CellsE->SetText(std::to_string(FCross->CellLevels()));
    TitleCB->SetChecked(FCross->ShowTitle);
    CornerCB->SetChecked(FCross->ShowCorner);
    ColumnHeaderCB->SetChecked(FCross->ShowColumnHeader);
    RowHeaderCB->SetChecked(FCross->ShowRowHeader);
    ColumnTotalCB->SetChecked(FCross->ShowColumnTotal);
    RowTotalCB->SetChecked(FCross->ShowRowTotal);
    AutoSizeCB->SetChecked(FCross->AutoSize);
    BorderCB->SetChecked(FCross->Border);
    DownAcrossCB->SetChecked(FCross->DownThenAcross);
    RepeatCB->SetChecked(FCross->RepeatHeaders);
    PlainCB->SetChecked(FCross->PlainCells);
    JoinCB->SetChecked(FCross->JoinEqualCells);
    StyleB->SetVisible(!FCross->DotMatrix);
    FUpdating = false;
}

void TqlrCrossEditorForm::DoShow()
{
    gui::TForm::DoShow();
    Fill();
}

void TqlrCrossEditorForm::DoHide()
{
    if (ModalResult() != gui::mrOk) FCross->Assign(FTempCross.get());
    gui::TForm::DoHide();
}

void TqlrCrossEditorForm::ApplyStructure(rtl::TObject* sender, bool rewrite)
{
    TqlrReport* report = FCross->Report();
    if (report && DatasetL->Visible()) FCross->SetDataSet(report->GetDataset(DatasetCB->Text()));
    if (!dynamic_cast<TqlrCrossView*>(FCross)) {
        FCross->RowFields()->Assign(RowsLB->Items());
        FCross->ColumnFields()->Assign(ColumnsLB->Items());
        FCross->CellFields()->Assign(CellsLB->Items());
    }
    FCross->SetRowLevels(RowsLB->Count());
    FCross->SetColumnLevels(ColumnsLB->Count());
    FCross->SetCellLevels(CellsLB->Count());
    const bool rows = sender == RowsLB || sender == RowsE, columns = sender == ColumnsLB || sender == ColumnsE,
               cells = sender == CellsLB || sender == CellsE, all = sender == nullptr;
    auto cellHeaders = [&] {
        for (int i = 0; i < FCross->CellHeaderMemoCount(); ++i)
            if (CellsLB->Count() > 0) FCross->CellHeaderMemos(i)->SetText((*CellsLB->Items())[i % CellsLB->Count()]);
    };
    if ((rows && rewrite) || all) {
        cellHeaders();
        for (int i = 0; i < RowsLB->Count(); ++i)
            if (TqlrCustomMemoView* m = FCross->CornerMemos(3 + i)) m->SetText((*RowsLB->Items())[i]);
    }
    if (columns || all) {
        std::string title;
        for (int i = 0; i < ColumnsLB->Count(); ++i) title += (i ? ", " : "") + (*ColumnsLB->Items())[i];
        FCross->CornerMemos(1)->SetText(title);
    }
    if (cells || all) {
        if (FCross->CellLevels() == 1) {
            if (rewrite || all) {
                FCross->CornerMemos(0)->SetText((*CellsLB->Items())[0]);
            } else {
                FCross->CornerMemos(0)->SetText("");
                FCross->CornerMemos(2)->SetText("Data");
            }
        } else if (rewrite || all) {
            cellHeaders();
        }
    }
    Repaint();
}

void TqlrCrossEditorForm::Repaint()
{
    if (PaintBox && PaintBox->Visible()) PaintBox->Invalidate();
}

void TqlrCrossEditorForm::PaintPreview(gui::TCanvas* canvas)
{
    if (!canvas) return;
    canvas->Brush()->SetColor(gui::clWindow);
    canvas->FillRect(gui::TRect(0, 0, PaintBox->Width(), PaintBox->Height()));
    FCross->DrawCross(canvas, 1, 1, 0, 0);
}

// ------------------------------------------------------------------- editing

void TqlrCrossEditorForm::MoveItem(gui::TListBox* source, int index, gui::TListBox* target, int targetIndex)
{
    if (!source || !target || index < 0 || index >= source->Count()) return;
    const std::string text = (*source->Items())[index];
    if (source == target) {
        source->Items()->Delete(index);
        if (targetIndex < 0 || targetIndex > source->Count()) targetIndex = source->Count();
        source->Items()->Insert(targetIndex, text);
    } else {
        if (source != FieldsLB) source->Items()->Delete(index);
        if (target != FieldsLB) {
            if (targetIndex < 0 || targetIndex > target->Count()) targetIndex = target->Count();
            target->Items()->Insert(targetIndex, text);
        }
    }
    ApplyStructure(source, true);
    if (target != source) ApplyStructure(target, true);
}

void TqlrCrossEditorForm::ToggleSubtotal(gui::TListBox* list, int index)
{
    if (!list || index < 0 || index + 1 >= list->Count()) return;
    TqlrCustomMemoView* m =
        list == RowsLB ? FCross->RowTotalMemos(index + 1) : FCross->ColumnTotalMemos(index + 1);
    if (m) m->SetVisible(!m->Visible());
    list->Invalidate();
    ApplyStructure(list, false);
}

void TqlrCrossEditorForm::SetSortOrder(gui::TListBox* list, int index, TqlrCrossSortOrder order)
{
    if (list == RowsLB)
        FCross->SetRowSort(index, order);
    else if (list == ColumnsLB)
        FCross->SetColumnSort(index, order);
    if (list) list->Invalidate();
    Repaint();
}

void TqlrCrossEditorForm::SetCellFunction(int index, TqlrCrossFunction function)
{
    FCross->SetCellFunctions(index, function);
    CellsLB->Invalidate();
    Repaint();
}

void TqlrCrossEditorForm::Swap()
{
    rtl::TStringList rows;
    rows.Assign(RowsLB->Items());
    RowsLB->Items()->Assign(ColumnsLB->Items());
    ColumnsLB->Items()->Assign(&rows);
    ApplyStructure(nullptr, true);
}

void TqlrCrossEditorForm::CheckClicked(gui::TCheckBox* box)
{
    if (FUpdating) return;
    const bool on = box->Checked();
    if (box == TitleCB) FCross->ShowTitle = on;
    else if (box == CornerCB) FCross->ShowCorner = on;
    else if (box == ColumnHeaderCB) FCross->ShowColumnHeader = on;
    else if (box == RowHeaderCB) FCross->ShowRowHeader = on;
    else if (box == ColumnTotalCB) FCross->ShowColumnTotal = on;
    else if (box == RowTotalCB) FCross->ShowRowTotal = on;
    else if (box == AutoSizeCB) FCross->AutoSize = on;
    else if (box == BorderCB) FCross->Border = on;
    else if (box == DownAcrossCB) FCross->DownThenAcross = on;
    else if (box == RepeatCB) FCross->RepeatHeaders = on;
    else if (box == PlainCB) FCross->PlainCells = on;
    else if (box == JoinCB) FCross->JoinEqualCells = on;
    ApplyStructure(box, false);
}

void TqlrCrossEditorForm::DimensionChanged(gui::TEdit* edit)
{
    if (FUpdating) return;
    int n = 0;
    try {
        n = std::stoi(edit->Text());
    } catch (const std::exception&) {
        return;
    }
    if (edit == RowsE) FCross->SetRowLevels(n);
    else if (edit == ColumnsE) FCross->SetColumnLevels(n);
    else if (edit == CellsE) FCross->SetCellLevels(std::max(n, 1));
    FillLists();
    ApplyStructure(edit, true);
}

void TqlrCrossEditorForm::ListMouseDown(gui::TListBox* list, int x, int y)
{
    const int index = list->ItemAtPos(gui::TPoint{x, y}, true);
    if (index < 0) return;
    FCurList = list;
    FCurIndex = index;
    if (list == RowsLB || list == ColumnsLB) {
        if (x >= 119 && x <= 132) {
            ToggleSubtotal(list, index);
        } else if (x >= 184 && x <= 197) {
            const int order = static_cast<int>(list == RowsLB ? FCross->RowSort(index) : FCross->ColumnSort(index));
            for (int i = 0; i < SortPopup->Items()->Count(); ++i) SortPopup->Items()->Items(i)->SetChecked(i == order);
            const gui::TPoint p = list->ClientToScreen(gui::TPoint{x, y});
            SortPopup->Popup(p.X, p.Y);
        }
    }
}

void TqlrCrossEditorForm::ListMouseUp(gui::TListBox* list, int x, int y)
{
    // A release that ends a drag never gets here: the drag takes it.
    if (list != CellsLB || x < 184 || x > 197) return;
    const int index = list->ItemAtPos(gui::TPoint{x, y}, true);
    if (index < 0 || index != list->ItemIndex()) return;
    FCurList = list;
    FCurIndex = index;
    const int f = static_cast<int>(FCross->CellFunctions(index));
    for (int i = 0; i < FuncPopup->Items()->Count(); ++i) FuncPopup->Items()->Items(i)->SetChecked(i == f);
    const gui::TPoint screen = list->ClientToScreen(gui::TPoint{x, y});
    FuncPopup->Popup(screen.X, screen.Y);
}

void TqlrCrossEditorForm::ListDragDrop(gui::TListBox* target, rtl::TObject* source, int x, int y)
{
    auto* from = dynamic_cast<gui::TListBox*>(source);
    if (!from || from->ItemIndex() < 0) return;
    const int index = from->ItemIndex();
    const int at = target->ItemAtPos(gui::TPoint{x, y}, true);
    if (from == target && at == index) return;   // dropped on itself
    MoveItem(from, index, target, at);
}

void TqlrCrossEditorForm::DrawItem(gui::TListBox* list, int index, const gui::TRect& r, gui::TOwnerDrawState state)
{
    gui::TCanvas* c = list->GetCanvas();
    if (!c || index < 0 || index >= list->Count()) return;
    const bool selected = state.Contains(gui::TOwnerDrawStateItem::odSelected);
    // Every text of the row is drawn on the row's own background.
    const gui::TColor back = selected ? gui::clHighlight : gui::clWindow;
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(back);
    c->Font()->SetColor(selected ? gui::clHighlightText : gui::clWindowText);
    c->FillRect(r);
    const std::string text = (*list->Items())[index];
    if (list == FieldsLB) {
        c->TextOut(r.Left + 20, r.Top + 1, text);
        return;
    }
    c->TextOut(r.Left + 2, r.Top + 1, text);
    std::string right;
    if (list == CellsLB) {
        right = kFuncNames[static_cast<int>(FCross->CellFunctions(index))];
    } else {
        right = kSortNames[static_cast<int>(list == RowsLB ? FCross->RowSort(index) : FCross->ColumnSort(index))];
        if (index + 1 < list->Count()) {
            c->TextOut(r.Left + 135, r.Top + 1, ResOr("crSubtotal", "Subtotal"));
            c->Brush()->SetColor(gui::clWindow);
            c->Pen()->SetColor(gui::clBlack);
            c->Rectangle(r.Left + 120, r.Top + 3, r.Left + 132, r.Top + 15);
            TqlrCustomMemoView* m =
                list == RowsLB ? FCross->RowTotalMemos(index + 1) : FCross->ColumnTotalMemos(index + 1);
            if (m && m->Visible()) {
                c->MoveTo(r.Left + 122, r.Top + 9);
                c->LineTo(r.Left + 125, r.Top + 12);
                c->LineTo(r.Left + 130, r.Top + 5);
            }
        }
    }
    c->Brush()->SetColor(back);
    c->TextOut(r.Left + 200, r.Top + 1, right);
    c->Brush()->SetColor(gui::clBtnFace);
    c->Pen()->SetColor(gui::clGray);
    c->Rectangle(r.Left + 185, r.Top + 3, r.Left + 197, r.Top + 15);
    c->MoveTo(r.Left + 188, r.Top + 7);
    c->LineTo(r.Left + 194, r.Top + 7);
    c->MoveTo(r.Left + 189, r.Top + 8);
    c->LineTo(r.Left + 193, r.Top + 8);
    c->MoveTo(r.Left + 190, r.Top + 9);
    c->LineTo(r.Left + 192, r.Top + 9);
}

} // namespace qlr
