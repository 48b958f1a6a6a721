// ExGrid: inline form controls of HTML cells (a press on a check box, radio
// or button control rewrites the cell's markup; edit and combo controls are
// edited in a real control over their rectangle) and the transparent
// editor of cells that may not be edited.
#include "grid/ExControlEdit.h"
#include "grid/ExGrid.h"
#include "grid/ExGridAnchors.h"
#include "gridbase/ExUtil.h"
#include "htmltext/GrdHTMLE.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Strings.h"

namespace grid {

TControlEdit* TExStringGrid::InlineEdit()
{
    if (!FInlineEdit) {
        FInlineEdit = new TControlEdit(this);
        FInlineEdit->SetVisible(false);
        FInlineEdit->SetParent(this);
    }
    return FInlineEdit;
}

TControlCombo* TExStringGrid::InlineCombo()
{
    if (!FInlineCombo) {
        FInlineCombo = new TControlCombo(this);
        FInlineCombo->SetVisible(false);
        FInlineCombo->SetParent(this);
    }
    return FInlineCombo;
}

namespace {

// Lays the cell's markup out over its rectangle (as the text is painted)
// and hit-tests the point, or locates the control with the ID given.
htmltext::TMarkupResult HitMarkup(TExStringGrid& g, gui::TCanvas& canvas, const std::string& text,
                                  const gui::TRect& cell, gui::TPoint offset, int checkRoom, int x, int y,
                                  const std::string& findID)
{
    gui::TRect r = cell;
    r.Left += offset.X + 1 + checkRoom;
    r.Top += offset.Y + 1;
    r.Right -= offset.X;
    htmltext::TMarkupOptions opt;
    opt.PointX = x;
    opt.PointY = y;
    opt.HotSpotCheck = true;
    opt.LinkColor = g.URLColor();
    opt.PictureCache = g.ImageCache();
    opt.WordWrap = g.WordWrap();
    htmltext::TMarkupResult res;
    res.ControlID = findID;
    canvas.SetFont(g.Font());
    htmltext::DrawMarkupText(htmltext::TMarkupDialect::mdGrid, canvas, text, r, opt, res);
    return res;
}

} // namespace

TCellAnchor AnchorAtPoint(TExStringGrid& g, int aCol, int aRow, int x, int y)
{
    TCellAnchor found;
    const std::string text = g.GetCellText(aCol, aRow);
    if (g.EnableHTML() && gridbase::ClassifyCellText(text, true) == gridbase::ctHtmlText) {
        const int checkRoom = g.HasCheckBox(aCol, aRow) ? g.ControlLook()->CheckSize() : 0;
        gui::TBitmap scratch;
        scratch.SetSize(1, 1);
        const gui::TRect cell = g.CellRect(g.RealToDisplayCol(aCol), aRow);
        found.Anchor = HitMarkup(g, *scratch.Canvas(), text, cell, g.XYOffset(), checkRoom, x, y, "").AnchorValue;
        found.Markup = true;
    } else if (g.URLShow() && gridbase::IsUrlOrMail(text)) {
        found.Anchor = text;
    }
    return found;
}

bool TExStringGrid::ControlPress(int aCol, int aRow, int x, int y)
{
    const int dCol = RealToDisplayCol(aCol);
    const std::string text = GetCellText(aCol, aRow);
    const bool html = EnableHTML() && text.find('<') != std::string::npos;
    htmltext::TMarkupResult res;
    if (!html) {
        // With URLShow a plain text that is a URL or mail address is an
        // anchor as a whole.
        if (!URLShow() || !gridbase::IsUrlOrMail(text)) return false;
        res.AnchorValue = text;
    } else {
        const int checkRoom = HasCheckBox(aCol, aRow) ? FControlLook->CheckSize() : 0;
        gui::TBitmap scratch;
        scratch.SetSize(1, 1);
        res = HitMarkup(*this, *scratch.Canvas(), text, CellRect(dCol, aRow), FXYOffset, checkRoom, x, y, "");
    }
    if (res.AnchorValue.empty()) {
        if (rtl::UpperCase(text).find("<CONTROL") == std::string::npos) return false;
        if (OnClickCell) OnClickCell(this, aRow, dCol);
        HideInplaceEdit();
        MoveColRow(dCol, aRow, true, true);
        return true;
    }
    bool canEdit = Options().Contains(gui::TGridOption::goEditing);
    CanEditCell(aCol, aRow, canEdit);
    bool autoHandle = true;
    if (res.AnchorValue == "ctrl" && canEdit) {
        autoHandle = false;
        // A control still open is closed first, and the text read again.
        if (FCtrlEditing && !FCtrlType.empty()) InlineControlExit(nullptr);
        std::string cell = GetCellText(aCol, aRow);
        const std::string& type = res.ControlType;
        if (type == "BUTTON") {
            FCtrlXY = {aCol, aRow};
            FCtrlDown = true;
            RepaintCell(dCol, aRow);
        } else if (type == "CHECK") {
            htmltext::SetControlValue(cell, res.ControlID, res.ControlValue == "TRUE" ? "FALSE" : "TRUE");
            SetCellText(aCol, aRow, cell);
        } else if (type == "RADIO") {
            cell = htmltext::ClearRadioControls(cell);
            htmltext::SetControlValue(cell, res.ControlID, "TRUE");
            SetCellText(aCol, aRow, cell);
        }
        if (OnControlClick) OnControlClick(this, aRow, aCol, res.ControlID, type, res.ControlValue);
        ShowInlineControl(cell, type, aRow, aCol, dCol, res.ControlRect, res.ControlValue, res.ControlID);
        return true;
    }
    // A control that may not be operated is an ordinary anchor; there is
    // nothing to open for it.
    if (OnAnchorClick) OnAnchorClick(this, aRow, dCol, res.AnchorValue, autoHandle);
    if (autoHandle && res.AnchorValue != "ctrl") {
        const std::string up = rtl::UpperCase(res.AnchorValue);
        const auto at = up.find("CELL://");
        if (at != std::string::npos) {
            gui::TPoint p;
            if (gridbase::ParseRowColRef(res.AnchorValue.substr(at + 7), p) && p.X >= 0 && p.Y >= 0 &&
                p.X < ColCount() && p.Y < RowCount()) {
                MoveColRow(p.X, p.Y, true, true);
                ScrollInView(p.X, p.Y);
            }
        } else {
            // Any other anchor (a web address, a mail address, a file) opens
            // with the desktop's program for it.
            gui::ShellOpen(res.AnchorValue);
        }
    }
    return true;
}

void TExStringGrid::ShowInlineControl(const std::string& cellText, const std::string& ctrlType, int aRow, int aCol,
                                      int aDisplayCol, const gui::TRect& ctrlRect, const std::string& ctrlValue,
                                      const std::string& ctrlID)
{
    const bool edit = ctrlType == "EDIT" || ctrlType == "PASSWORD" || ctrlType == "MASK";
    if (!edit && ctrlType != "COMBO") return;
    FCtrlXY = {aCol, aRow};
    FCtrlID = ctrlID;
    FCtrlType = ctrlType;
    FCtrlEditing = true;
    if (edit) {
        TControlEdit* e = InlineEdit();
        e->SetWidth(0);
        e->SetPasswordChar(ctrlType == "PASSWORD" ? u'*' : 0);
        e->SetEditMask(ctrlType == "MASK" ? htmltext::GetControlProp(cellText, ctrlID) : std::string());
        e->OnExit = [this](rtl::TObject* s) { InlineControlExit(s); };
        e->SetText(e->Mask() ? rtl::UTF16ToUTF8(e->Mask()->Display(rtl::UTF8ToUTF16(ctrlValue))) : ctrlValue);
        e->SetBorderStyle(gui::TBorderStyle::bsNone);
        e->SetBounds(ctrlRect.Left + 1, ctrlRect.Top + 4, ctrlRect.Width() - 4, ctrlRect.Height() - 4);
        e->SetMaxLength(htmltext::GetControlMaxLen(cellText, ctrlID));
        e->SetVisible(true);
        e->BringToFront();
        if (e->CanFocus()) e->SetFocus();
        return;
    }
    TControlCombo* c = InlineCombo();
    c->SetIsWinXP(FIsWinXP);
    c->SetWidth(0);
    c->SetBounds(ctrlRect.Left + 1, ctrlRect.Top + 4, ctrlRect.Width() - 4, c->Height());
    c->OnSelect = [this](rtl::TObject* s) { ControlComboSelect(s); };
    c->OnExit = nullptr;
    bool editable = true;
    int dropCount = 8;
    c->Items()->Clear();
    if (OnControlComboList)
        OnControlComboList(this, aRow, aCol, ctrlID, ctrlType, ctrlValue, c->Items(), editable, dropCount);
    c->SetStyle(editable ? gui::TComboBoxStyle::csDropDown : gui::TComboBoxStyle::csDropDownList);
    c->SetItemIndex(c->Items()->IndexOf(ctrlValue));
    if (editable) c->SetText(ctrlValue);
    c->SetDropDownCount(dropCount);
    c->SetMaxLength(htmltext::GetControlMaxLen(cellText, ctrlID));
    c->SetVisible(true);
    c->BringToFront();
    if (c->CanFocus()) c->SetFocus();
    c->OnExit = [this](rtl::TObject* s) { InlineControlExit(s); };
    c->SetDroppedDown(true);
}

void TExStringGrid::ControlComboSelect(rtl::TObject*)
{
    if (!OnControlComboSelect || !FInlineCombo) return;
    const int i = FInlineCombo->ItemIndex();
    OnControlComboSelect(this, FCtrlXY.Y, FCtrlXY.X, i, FCtrlID, i >= 0 ? FInlineCombo->Items()->Strings(i) : "");
}

void TExStringGrid::InlineControlExit(rtl::TObject*)
{
    if (FCtrlType.empty() || FCtrlXY.X < 0 || IsDestroying()) return;
    const std::string type = FCtrlType;
    FCtrlType.clear();  // guards the exit that hiding the control causes
    std::string cell = GetCellText(FCtrlXY.X, FCtrlXY.Y);
    std::string value;
    gui::TWinControl* ctl = nullptr;
    if (type == "COMBO") {
        value = InlineCombo()->Text();
        InlineCombo()->SetDroppedDown(false);
        ctl = InlineCombo();
    } else {
        value = InlineEdit()->Value();
        ctl = InlineEdit();
    }
    htmltext::SetControlValue(cell, FCtrlID, value);
    SetCellText(FCtrlXY.X, FCtrlXY.Y, cell);
    ctl->SetVisible(false);
    if (OnControlEditDone) OnControlEditDone(this, FCtrlXY.Y, FCtrlXY.X, FCtrlID, type, value);
    FCtrlEditing = false;
}

void TExStringGrid::EditNextCellControl(int aCol, int aRow, const std::string& controlID)
{
    const int rCol = RealColIndex(aCol);
    const std::string text = GetCellText(rCol, aRow);
    const std::string id = htmltext::NextEditableControlID(text, controlID);
    if (id.empty()) {
        if (CanFocus()) SetFocus();
        return;
    }
    const int checkRoom = HasCheckBox(rCol, aRow) ? FControlLook->CheckSize() : 0;
    gui::TBitmap scratch;
    scratch.SetSize(1, 1);
    const htmltext::TMarkupResult res =
        HitMarkup(*this, *scratch.Canvas(), text, CellRect(aCol, aRow), FXYOffset, checkRoom, -1, -1, id);
    ShowInlineControl(text, res.ControlType, aRow, rCol, aCol, res.ControlRect, res.ControlValue, id);
}

void TExStringGrid::ShowTransparentEditor(int aCol, int aRow)
{
    TGridTransEdit* t = EditTrans();
    if (t->Visible() && !t->StopEdit()) return;
    bool canEdit = false;
    CanEditBaseCell(aCol, aRow, canEdit);
    if (canEdit) return;
    gui::TRect r = CellRect(RealToDisplayCol(aCol), aRow);
    gui::InflateRect(r, -1, -1);
    t->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    // The cell's own colour behind the text, so that the cell's painted text
    // does not show through next to the edited one.
    t->SetBackgroundTransparent(false);
    t->SetColor(IsFixed(RealToDisplayCol(aCol), aRow) ? FixedColor() : Color());
    t->SetFont(IsFixed(RealToDisplayCol(aCol), aRow) ? FixedFont() : Font());
    t->SetText(GetCellText(aCol, aRow));
    t->FCol = aCol;
    t->FRow = aRow;
    t->SetVisible(true);
    if (t->CanFocus()) t->SetFocus();
}

} // namespace grid
