// TExStringGrid: check boxes, radio buttons and radio groups in cells.
#include "grid/ExGrid.h"

namespace grid {

namespace {

bool IsCheckKind(TCellType t)
{
    return t == TCellType::ctCheckBox || t == TCellType::ctDataCheckBox || t == TCellType::ctVirtCheckBox ||
           t == TCellType::ctRowCheckBox;
}

bool IsTextCheckKind(TCellType t)
{
    return t == TCellType::ctDataCheckBox || t == TCellType::ctVirtCheckBox;
}

TCellGraphic* GraphicOf(rtl::TObject* slot)
{
    if (auto* props = dynamic_cast<TCellProperties*>(slot)) return dynamic_cast<TCellGraphic*>(props->GraphicObject());
    return nullptr;
}

} // namespace

TCellVAlign TExStringGrid::CheckVAlign() const
{
    switch (VAlignment()) {
    case TVAlignment::vtaCenter:
        return TCellVAlign::vaCenter;
    case TVAlignment::vtaBottom:
        return TCellVAlign::vaBottom;
    default:
        return TCellVAlign::vaTop;
    }
}

void TExStringGrid::RepaintGraphicCell(int aCol, int aRow)
{
    RepaintCell(RealToDisplayCol(aCol), aRow);
}

// --- check boxes -----------------------------------------------------------------

void TExStringGrid::AddCheckBox(int aCol, int aRow, bool state, bool data)
{
    if (aCol >= ColCount() + NumHiddenColumns() || aRow >= RowCount() + NumHiddenRows())
        throw rtl::Exception("Invalid cell");
    CreateCellGraphic(aCol, aRow)
        ->SetCheckBox(state, data, true, TCellHAlign::haBeforeText, CheckVAlign());
    if (data) {
        const std::string text = GetCellText(aCol, aRow);
        if (text != CheckTrue() && text != CheckFalse()) SetCellText(aCol, aRow, state ? CheckTrue() : CheckFalse());
    }
}

void TExStringGrid::AddCheckBoxColumn(int aCol, bool defaultState, bool dataCheckBox)
{
    const int first = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r) AddCheckBox(aCol, r, defaultState, dataCheckBox);
}

void TExStringGrid::RemoveCheckBox(int aCol, int aRow)
{
    const TCellType t = GetCellType(aCol, aRow);
    if (t != TCellType::ctCheckBox && t != TCellType::ctDataCheckBox) return;
    RemoveCellGraphic(aCol, aRow);
    RepaintGraphicCell(aCol, aRow);
}

void TExStringGrid::RemoveCheckBoxColumn(int aCol)
{
    const int first = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r)
        if (HasCheckBox(aCol, r)) RemoveCheckBox(aCol, r);
}

bool TExStringGrid::HasCheckBox(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    return IsCheckKind(GetCellType(b.X, b.Y));
}

bool TExStringGrid::HasDataCheckBox(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    const TCellType t = GetCellType(b.X, b.Y);
    return IsTextCheckKind(t) || t == TCellType::ctRowCheckBox;
}

bool TExStringGrid::GetCheckBoxState(int aCol, int aRow, bool& state)
{
    std::string checkTrue;
    GetCheckTrue(aCol, aRow, checkTrue);
    if (NumHiddenRows() == 0) {
        TCellGraphic* g = GetCellGraphic(aCol, aRow);
        if (!g) return false;
        const TCellType t = g->CellType();
        if (t == TCellType::ctCheckBox) state = g->CellBoolean();
        else if (IsTextCheckKind(t)) state = GetCellText(aCol, aRow) == checkTrue;
        else if (t == TCellType::ctRowCheckBox && aCol == 0) state = GetRowSelect(aRow);
        else return false;
        return true;
    }
    // With hidden rows aRow counts all rows.
    if (rtl::TObject* slot = GetAllObjects(aCol, aRow)) {
        TCellGraphic* g = GraphicOf(slot);
        if (!g) return false;
        const TCellType t = g->CellType();
        std::string text;
        if (t == TCellType::ctCheckBox) {
            state = g->CellBoolean();
        } else if (IsTextCheckKind(t)) {
            GetAllCells(aCol, aRow, text);
            state = text == checkTrue;
        } else {
            return false;
        }
        return true;
    }
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return false;
    if (g->CellType() == TCellType::ctRowCheckBox && aCol == 0) {
        state = g->CellBoolean();
        return true;
    }
    if (IsTextCheckKind(g->CellType())) {
        std::string text;
        GetAllCells(aCol, aRow, text);
        state = text == checkTrue;
        return true;
    }
    return false;
}

bool TExStringGrid::IsChecked(int aCol, int aRow)
{
    bool state = false;
    return GetCheckBoxState(aCol, aRow, state) && state;
}

bool TExStringGrid::SetCheckBoxState(int aCol, int aRow, bool state)
{
    TCellGraphic* g = nullptr;
    if (NumHiddenRows() == 0) {
        g = GetCellGraphic(aCol, aRow);
    } else {
        const int real = DisplayToRealRow(aRow);
        rtl::TObject* slot = GetAllObjects(aCol, real);
        g = slot ? GraphicOf(slot) : GetCellGraphic(aCol, real);
    }
    if (!g) return false;
    const TCellType t = g->CellType();
    if (t == TCellType::ctCheckBox) {
        g->SetCellBoolean(state);
        RepaintGraphicCell(aCol, aRow);
        return true;
    }
    if (IsTextCheckKind(t)) {
        std::string text;
        if (state) GetCheckTrue(aCol, aRow, text);
        else GetCheckFalse(aCol, aRow, text);
        SetCellText(aCol, aRow, text);
        return true;
    }
    if (t == TCellType::ctRowCheckBox && aCol == 0) {
        SetRowSelect(aRow, state);
        return true;
    }
    return false;
}

bool TExStringGrid::ToggleCellCheck(int aCol, int aRow, bool askEditable)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || !IsCheckKind(g->CellType())) return false;
    if (askEditable && !ControlLook()->CheckAlwaysActive()) {
        bool allow = true;
        CanEditBaseCell(aCol, aRow, allow);
        if (!allow) return false;
    }
    std::string checkTrue, checkFalse;
    GetCheckTrue(aCol, aRow, checkTrue);
    GetCheckFalse(aCol, aRow, checkFalse);
    bool before = false;
    const TCellType t = g->CellType();
    if (t == TCellType::ctCheckBox) {
        before = g->CellBoolean();
        g->SetCellBoolean(!before);
    } else if (t == TCellType::ctRowCheckBox) {
        // The check shows the row's selection flag: flip that, never the
        // user's text in column 0.
        before = GetRowSelect(aRow);
        SetRowSelect(aRow, !before);
    } else {
        before = GetCellText(aCol, aRow) == checkTrue;
        SetCellText(aCol, aRow, before ? checkFalse : checkTrue);
    }
    RepaintGraphicCell(aCol, aRow);
    // The history replays texts; a row flag has none to replay.
    if (UndoRedo() && t != TCellType::ctRowCheckBox)
        UndoRedo()->RegisterChange(aCol, aRow, before ? checkTrue : checkFalse, before ? checkFalse : checkTrue);
    return true;
}

void TExStringGrid::CheckAll(int aCol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) SetCheckBoxState(aCol, r, true);
    if (NumHiddenColumns() > 0) RepaintCol(RealToDisplayCol(aCol));
}

void TExStringGrid::UnCheckAll(int aCol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) SetCheckBoxState(aCol, r, false);
}

bool TExStringGrid::IsInCheckBox(int aCol, int aRow, int xPos, int yPos)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return false;
    const TCellType t = g->CellType();
    if (!IsCheckKind(t) && t != TCellType::ctRadioButton) return false;
    if (!MouseActions()->PreciseCheckBoxCheck()) return true;
    const int s = ControlLook()->CheckSize();
    const gui::TRect cell = CellRect(DisplColIndex(aCol), aRow);
    gui::TRect box;
    switch (g->CellVAlign()) {
    case TCellVAlign::vaTop:
        box.Top = cell.Top + 2;
        break;
    case TCellVAlign::vaBottom:
        box.Top = cell.Bottom - s - 2;
        break;
    default:
        box.Top = cell.Top + (cell.Bottom - cell.Top - s) / 2;
        break;
    }
    box.Bottom = box.Top + s;
    const auto ha = static_cast<TAlignment>(ResolveCellAlignment(aCol, aRow) & 0xFF);
    if (ha == TAlignment::taRightJustify) {
        box.Left = cell.Right - s - 2;
        const std::string text = GetCellText(aCol, aRow);
        if (!text.empty()) box.Left -= Canvas()->TextWidth(text);
    } else if (ha == TAlignment::taCenter) {
        box.Left = cell.Left + (cell.Right - cell.Left - s) / 2;
    } else {
        box.Left = cell.Left + 2;
    }
    box.Right = box.Left + s;
    return xPos >= box.Left && xPos < box.Right && yPos >= box.Top && yPos < box.Bottom;
}

// --- radio buttons -----------------------------------------------------------------

void TExStringGrid::AddRadioButton(int aCol, int aRow, bool state)
{
    if (aCol >= ColCount() + NumHiddenColumns() || aRow >= RowCount() + NumHiddenRows())
        throw rtl::Exception("Invalid cell");
    CreateCellGraphic(aCol, aRow)->SetRadioButton(state, true, TCellHAlign::haBeforeText, CheckVAlign());
}

void TExStringGrid::AddRadioButtonColumn(int aCol)
{
    for (int r = FixedRows(); r < RowCount(); ++r) AddRadioButton(aCol, r, false);
}

void TExStringGrid::RemoveRadioButton(int aCol, int aRow)
{
    if (GetCellType(aCol, aRow) != TCellType::ctRadioButton) return;
    RemoveCellGraphic(aCol, aRow);
    RepaintGraphicCell(aCol, aRow);
}

void TExStringGrid::RemoveRadioButtonColumn(int aCol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(aCol, r)) RemoveRadioButton(aCol, r);
}

bool TExStringGrid::HasRadioButton(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    return GetCellType(b.X, b.Y) == TCellType::ctRadioButton;
}

bool TExStringGrid::IsRadioButtonChecked(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == TCellType::ctRadioButton && g->CellBoolean();
}

bool TExStringGrid::SetRadioButtonState(int aCol, int aRow, bool state)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != TCellType::ctRadioButton) return false;
    if (g->CellBoolean() != state) {
        g->SetCellBoolean(state);
        RepaintGraphicCell(b.X, b.Y);
    }
    return true;
}

void TExStringGrid::SetRadioButtonColumnIndex(int aCol, int index)
{
    for (int r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(aCol, r, r == index);
}

int TExStringGrid::GetRadioButtonColumnIndex(int aCol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(aCol, r)) return r;
    return -1;
}

bool TExStringGrid::ToggleCellRadioButton(int aCol, int aRow, bool askEditable)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctRadioButton) return false;
    if (askEditable && !ControlLook()->CheckAlwaysActive()) {
        bool allow = true;
        CanEditBaseCell(aCol, aRow, allow);
        if (!allow) return false;
    }
    if (!g->CellBoolean()) {
        g->SetCellBoolean(true);
        RepaintGraphicCell(aCol, aRow);
        for (int i = 0; i < RowCount(); ++i) {
            if (i == aRow) continue;
            TCellGraphic* other = GetCellGraphic(aCol, i);
            if (other && other->CellType() == TCellType::ctRadioButton && other->CellBoolean()) {
                other->SetCellBoolean(false);
                RepaintGraphicCell(aCol, i);
            }
        }
    }
    return true;
}

// --- radio groups --------------------------------------------------------------------

void TExStringGrid::AddRadio(int aCol, int aRow, int dirRadio, int idxRadio, rtl::TStringList* sl)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    g->SetCellType(TCellType::ctRadio);
    g->SetCellBitmap(sl);
    g->SetCellIndex(idxRadio);
    g->SetCellBoolean(dirRadio != 0);
    g->SetCellAngle(sl ? sl->Count() : 0);
}

rtl::TStringList* TExStringGrid::CreateRadio(int aCol, int aRow, int dirRadio, int idxRadio)
{
    TCellGraphic* g = CreateCellGraphic(aCol, aRow);
    auto* list = new rtl::TStringList;
    g->SetCellType(TCellType::ctRadio);
    g->SetCellBitmap(list);
    g->SetCellCreated(true);
    g->SetCellIndex(idxRadio);
    g->SetCellBoolean(dirRadio != 0);
    g->SetCellAngle(0);
    return list;
}

bool TExStringGrid::IsRadio(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    return GetCellType(b.X, b.Y) == TCellType::ctRadio;
}

rtl::TStringList* TExStringGrid::GetRadioStrings(int aCol, int aRow)
{
    const gui::TPoint b = BaseCell(aCol, aRow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != TCellType::ctRadio) return nullptr;
    return dynamic_cast<rtl::TStringList*>(g->CellBitmap());
}

bool TExStringGrid::GetRadioIdx(int aCol, int aRow, int& idxRadio)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g) return false;
    idxRadio = g->CellIndex();
    return g->CellType() == TCellType::ctRadio;
}

bool TExStringGrid::SetRadioIdx(int aCol, int aRow, int idxRadio)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctRadio) return false;
    g->SetCellIndex(idxRadio);
    RepaintGraphicCell(aCol, aRow);
    return true;
}

void TExStringGrid::RemoveRadio(int aCol, int aRow)
{
    RemoveCellGraphicOfType(aCol, aRow, TCellType::ctRadio);
}

void TExStringGrid::ToggleRadio(int aCol, int aRow, bool askEditable)
{
    TCellGraphic* g = GetCellGraphic(aCol, aRow);
    if (!g || g->CellType() != TCellType::ctRadio) return;
    if (askEditable && !ControlLook()->RadioAlwaysActive()) {
        bool allow = true;
        CanEditBaseCell(aCol, aRow, allow);
        if (!allow) return;
    }
    const auto* list = dynamic_cast<const rtl::TStringList*>(g->CellBitmap());
    const int count = list ? list->Count() : 0;
    int next = g->CellIndex() >= 0 ? g->CellIndex() + 1
                                   : (list ? list->IndexOf(GetCellText(aCol, aRow)) + 1 : 0);
    if (next >= count) next = 0;
    if (g->CellIndex() >= 0) g->SetCellIndex(next);
    g->SetCellVar(rtl::Variant(static_cast<int32_t>(next)));
    SetCellText(aCol, aRow, next < count ? list->Strings(next) : std::string());
}

} // namespace grid
