#include "dbgrids/UxDBGridSelectColumnForm.h"

#include <algorithm>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Monitors.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;

TfrmSelectColumn::TfrmSelectColumn(rtl::TComponent* owner) : TUxForm(owner)
{
    SetCaption("Select columns");
    SetBorderIcons({});
    SetBorderStyle(TBorderStyle::bsSizeToolWin);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetKeyPreview(true);
    Constraints()->MinHeight = 140;
    Constraints()->MinWidth = 100;
    SetClientWidth(189);
    SetClientHeight(217);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetAlign(TAlign::alBottom);
    Panel1->SetHeight(50);
    Panel1->SetBevelOuter(TBevelCut::bvNone);
    Panel1->SetCaption("");

    cbWithFieldName = new TCheckBox(this);
    cbWithFieldName->SetName("cbWithFieldName");
    cbWithFieldName->SetParent(Panel1);
    cbWithFieldName->SetBounds(18, -2, 165, 25);
    cbWithFieldName->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akRight, TAnchorKind::akTop});
    cbWithFieldName->SetVisible(false);
    cbWithFieldName->OnClick = [this](rtl::TObject*) { FillList(); };

    ButtonOK = new TButton(this);
    ButtonOK->SetName("ButtonOK");
    ButtonOK->SetParent(Panel1);
    ButtonOK->SetBounds(56, 19, 75, 25);
    ButtonOK->SetCaption("&OK");
    ButtonOK->SetDefault(true);
    ButtonOK->SetModalResult(mrOk);

    clbList = new TCheckListBox(this);
    clbList->SetName("clbList");
    clbList->SetParent(this);
    clbList->SetAlign(TAlign::alClient);
    clbList->SetItemHeight(kItemHeight);
    clbList->OnClickCheck = [this](rtl::TObject*) { ListClickCheck(); };
}

TfrmSelectColumn::~TfrmSelectColumn()
{
    if (clbList) {
        clbList->OnClickCheck = nullptr;
        clbList->Items()->Clear();
    }
}

void TfrmSelectColumn::Activate()
{
    TUxForm::Activate();
    FillList();
}

int TfrmSelectColumn::ColumnOfItem(int item) const
{
    rtl::TObject* o = clbList->Items()->Objects(item);
    return static_cast<int>(reinterpret_cast<intptr_t>(o));
}

void TfrmSelectColumn::FillList()
{
    if (!FUxDBGrid) return;
    clbList->Items()->Clear();
    cbWithFieldName->SetVisible(false);
    TDBGridColumns* columns = FUxDBGrid->Columns();
    struct Entry {
        int Column;
        bool Ticked;
    };
    std::vector<Entry> entries;
    db::TDataSet* ds = FDataSource ? FDataSource->DataSet() : nullptr;
    if (FSelectColumn == TSelectColumn::scDataBase && ds) {
        for (int f = 0; f < ds->FieldCount(); ++f) {
            db::TField* field = ds->Fields(f);
            for (int c = 0; c < columns->Count(); ++c)
                if (columns->Items(c)->FieldName() == field->FieldName()) {
                    entries.push_back({c, columns->Items(c)->Visible() && field->Visible()});
                    break;
                }
        }
    } else {
        for (int c = 0; c < columns->Count(); ++c) entries.push_back({c, columns->Items(c)->Visible()});
    }
    const bool offerNames = !cbWithFieldName->Caption().empty();
    std::vector<std::string> texts;
    for (const Entry& e : entries) {
        TColumn* column = columns->Items(e.Column);
        std::string caption = column->Title()->Caption();
        if (!rtl::AnsiSameText(caption, column->FieldName()) && offerNames) {
            cbWithFieldName->SetVisible(true);
            if (cbWithFieldName->Checked()) caption += " [" + column->FieldName() + "]";
        }
        texts.push_back(caption);
    }
    clbList->Items()->BeginUpdate();
    for (std::size_t i = 0; i < entries.size(); ++i)
        clbList->Items()->AddObject(texts[i], reinterpret_cast<rtl::TObject*>(static_cast<intptr_t>(entries[i].Column)));
    clbList->Items()->EndUpdate();
    for (std::size_t i = 0; i < entries.size(); ++i) clbList->SetChecked(static_cast<int>(i), entries[i].Ticked);
    if (!entries.empty()) clbList->SetItemIndex(0);
    // The form fits the items, up to a list of 400 pixels.
    const int wanted = static_cast<int>(entries.size()) * kItemHeight;
    if (wanted < kMaxListHeight) {
        for (int guard = 0; clbList->ClientHeight() < wanted && guard < 100; ++guard)
            SetHeight(Height() + kItemHeight);
    } else {
        SetClientHeight(kMaxListHeight);
    }
}

void TfrmSelectColumn::ListClickCheck()
{
    bool any = false;
    for (int i = 0; i < clbList->Count(); ++i) any = any || clbList->Checked(i);
    FCanHide = clbList->Count() == 0 || any;
    if (!any && clbList->Count() > 0) {
        MessageDlg(FNoSelectionWarning, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
        if (clbList->ItemIndex() >= 0) clbList->SetChecked(clbList->ItemIndex(), true);
        FCanHide = true;
    }
}

void TfrmSelectColumn::ApplyColumns()
{
    if (!FUxDBGrid) return;
    FUxDBGrid->BeginUpdate();
    try {
        for (int i = 0; i < clbList->Count(); ++i) {
            int c = ColumnOfItem(i);
            if (c >= 0 && c < FUxDBGrid->Columns()->Count())
                FUxDBGrid->Columns()->Items(c)->SetVisible(clbList->Checked(i));
        }
    } catch (...) {
        FUxDBGrid->EndUpdate();
        throw;
    }
    FUxDBGrid->EndUpdate();
}

void TfrmSelectColumn::KeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_ESCAPE) {
        FColumnUpdate = false;
        SetModalResult(mrCancel);
        key = 0;
        return;
    }
    TUxForm::KeyDown(key, shift);
}

void TfrmSelectColumn::DoClose(TCloseAction& action)
{
    if (ModalResult() == mrOk && FColumnUpdate && FCanHide && FUxDBGrid) ApplyColumns();
    TUxForm::DoClose(action);
}

TPoint SelectColumnDialogPosition(TUxDBGrid* grid, int width, int height, const TRect& workArea)
{
    TRect cell = grid->CellRect(0, 0);
    TPoint p = grid->ClientToScreen({cell.Left, cell.Bottom + 1});
    if (p.X + width > workArea.Right) p.X = workArea.Right - width;
    if (p.Y + height > workArea.Bottom) p.Y = workArea.Bottom - height;
    p.X = std::max(p.X, workArea.Left);
    p.Y = std::max(p.Y, workArea.Top);
    return p;
}

} // namespace dbgrids

namespace dbgrids {

void TUxDBGrid::ShowColumnsDialog()
{
    bool defaultDialog = true;
    if (OnSelectColumns) OnSelectColumns(this, defaultDialog);
    if (defaultDialog) {
        auto form = std::make_unique<TfrmSelectColumn>(gui::Application);
        gui::TRect cell = CellRect(0, 0);
        if (!cell.IsEmpty()) {
            gui::TPoint p = SelectColumnDialogPosition(this, form->Width(), form->Height(), gui::WorkAreaNearest(this));
            form->SetBounds(p.X, p.Y, form->Width(), form->Height());
        }
        form->SetGrid(this);
        form->SetDataSource(DataSource());
        form->SetSelectColumn(SelectColumn());
        form->SetCaption(FSelectColumnsDialogStrings.Caption);
        form->cbWithFieldName->SetCaption(FSelectColumnsDialogStrings.RealNamesOption);
        form->ButtonOK->SetCaption(FSelectColumnsDialogStrings.OK);
        form->SetNoSelectionWarning(FSelectColumnsDialogStrings.NoSelectionWarning);
        form->ShowModal();
    }
    Invalidate();
}

} // namespace dbgrids
