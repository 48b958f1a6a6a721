#include "app/LocationsDlgs.h"

#include <algorithm>

#include "app/AddLocationDlgs.h"
#include "app/FileDialogsEx.h"
#include "app/SEPaths.h"
#include "compute/AstroMath.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Strings.h"

namespace app {

using namespace gui;

namespace {

std::string PositionText(long double radians, bool longitude)
{
    compute::TDMS dms;
    compute::RadiansToDMS(dms, radians);
    std::string text;
    if (longitude) compute::LongitudeToText(dms, text);
    else compute::LatitudeToText(dms, text);
    return text;
}

TMenuItem* MakeItem(rtl::TComponent* owner, TMenuItem* parent, const std::string& caption, std::function<void()> click)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (click) item->OnClick = [click](rtl::TObject*) { click(); };
    parent->Add(item);
    return item;
}

} // namespace

TLocationsDlg::TLocationsDlg(rtl::TComponent* owner)
    : TForm(owner), FLocationList(std::make_unique<TObserverDataList>("Database"))
{
    SetCaption("Locations database");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(494, 392);

    PopupMenu = new TPopupMenu(this);
    TMenuItem* root = PopupMenu->Items();
    MIAdd = MakeItem(this, root, "&Add location...", [this] { MIAddClick(); });
    MIEdit = MakeItem(this, root, "&Edit location...", [this] { MIEditClick(); });
    MISort = MakeItem(this, root, "Sort", nullptr);
    MISortByName = MakeItem(this, MISort, "by &name", [this] { SortBy("Name"); });
    MISortByCountry = MakeItem(this, MISort, "by &country / region", [this] { SortBy("Country"); });
    MISortByLongitude = MakeItem(this, MISort, "by &longitude", [this] { SortBy("Longitude"); });
    MISortByLatitude = MakeItem(this, MISort, "by l&atitude", [this] { SortBy("Latitude"); });
    MIImport = MakeItem(this, root, "&Import location list...", [this] { MIImportClick(); });
    MIDelete = MakeItem(this, root, "&Delete location", [this] { MIDeleteClick(); });
    MIDelete->SetShortCut(ShortCut(VK_DELETE, {}));

    SG = new grid::TExStringGrid(this);
    SG->SetParent(this);
    SG->SetBounds(8, 8, 478, 336);
    SG->SetFixedCols(0);
    // Narrow columns clip their text rather than wrap it.
    SG->SetWordWrap(false);
    SG->Font()->SetSize(8);
    SG->SetOptions(SG->Options() + TGridOptions{TGridOption::goRowSelect, TGridOption::goRangeSelect});
    SG->OnClickCell = [this](rtl::TObject*, int aRow, int aCol) { SGClickCell(aRow, aCol); };
    SG->OnDblClick = [this](rtl::TObject*) { SGDblClick(); };
    SG->SetPopupMenu(PopupMenu);
    // The menu's Del works wherever the focus is in the grid.
    SG->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState shift) {
        if (key == VK_DELETE && shift.Empty()) {
            key = 0;
            MIDeleteClick();
        }
    };

    LFind = new TLabel(this);
    LFind->SetParent(this);
    LFind->SetBounds(8, 358, 70, 16);
    LFind->SetCaption("Search for:");
    EFind = new TEdit(this);
    EFind->SetParent(this);
    EFind->SetBounds(80, 355, 200, 22);
    EFind->OnChange = [this](rtl::TObject*) { EFindChange(); };

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(320, 352, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(406, 352, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);

    OpenDlg = new TOpenDialogEx(this);

    OnShow = [this](rtl::TObject*) {
        EFind->SetText("");
        if (EFind->CanFocus()) EFind->SetFocus();
    };

    FDatabase.Open(*FLocationList);
    RefreshGrid();
}

TLocationsDlg::~TLocationsDlg()
{
    try {
        FDatabase.Save(*FLocationList);
    } catch (const std::exception&) {
        // Every change was written when it was made; nothing is lost here.
    }
}

void TLocationsDlg::Save()
{
    try {
        FDatabase.Save(*FLocationList);
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    }
}

void TLocationsDlg::SetLocationList(const TObserverDataList& list)
{
    FLocationList->Clear();
    FLocationList->ImportList(list);
    RefreshGrid();
}

void TLocationsDlg::RefreshGrid()
{
    const int n = FLocationList->Count();
    SetCaption("Location database (" + rtl::IntToStr(n) + " entries)");
    // The selection survives a refresh where the rows still exist.
    const TGridRect selection = SG->Selection();
    SG->BeginUpdate();
    SG->Clear();
    SG->SetColCount(5);
    SG->SetRowCount(std::max(2, n + 1));
    SG->SetFixedRows(1);
    SG->SetFixedCols(0);
    const int widths[] = {128, 110, 72, 64, 72};
    const char* const headers[] = {"Location", "Country / Region", "Longitude", "Latitude", "Time zone"};
    for (int c = 0; c < 5; ++c) {
        SG->SetColWidths(c, widths[c]);
        SG->SetCells(c, 0, headers[c]);
    }
    for (int r = 0; r < SG->RowCount(); ++r)
        for (int c = 2; c <= 4; ++c) SG->SetCellAlignment(c, r, TAlignment::taRightJustify);
    for (int i = 0; i < n; ++i) {
        const TObserverData* o = FLocationList->Items(i);
        const int r = i + 1;
        SG->SetRowColor(r, i % 2 == 0 ? TColor(0xF0FAFF) : clWhite);
        std::string name, country;
        TObserverDataList::SplitPlaceCountry(o->Place(), name, country);
        SG->SetCells(0, r, name);
        SG->SetCells(1, r, country);
        SG->SetCells(2, r, PositionText(o->GeoLongitude(), true));
        SG->SetCells(3, r, PositionText(o->GeoLatitude(), false));
        SG->SetCells(4, r, o->StdTimeZone() == 0 ? "UTC" : "UTC" + FormatTimeZone(o->StdTimeZone()));
    }
    if (selection.Top >= 1 && selection.Bottom < SG->RowCount() && selection.Top <= selection.Bottom)
        SG->SetSelection(TGridRect{0, selection.Top, 4, selection.Bottom});
    SG->EndUpdate();
}

void TLocationsDlg::SelectRow(int row)
{
    if (row < 1 || row >= SG->RowCount()) return;
    SG->SetRow(row);
    SG->SetSelection(TGridRect{0, row, 4, row});
}

void TLocationsDlg::EFindChange()
{
    const std::string t = rtl::AnsiUpperCase(rtl::TrimLeft(EFind->Text()));
    if (t.empty()) return;
    for (int i = 0; i < FLocationList->Count(); ++i)
        if (rtl::AnsiUpperCase(FLocationList->Items(i)->Place()).rfind(t, 0) == 0) {
            SelectRow(i + 1);
            return;
        }
}

void TLocationsDlg::SGClickCell(int aRow, int aCol)
{
    if (aRow != 0 || FLocationList->Count() == 0) return;
    static const char* const orders[] = {"Name", "Country", "Longitude", "Latitude"};
    if (aCol < 0 || aCol > 3) return;
    const int current = SG->Row() - 1;
    const TObserverData* kept = current >= 0 && current < FLocationList->Count() ? FLocationList->Items(current) : nullptr;
    FLocationList->SortList(orders[aCol]);
    RefreshGrid();
    if (kept)
        for (int i = 0; i < FLocationList->Count(); ++i)
            if (FLocationList->Items(i) == kept) SelectRow(i + 1);
}

void TLocationsDlg::SGDblClick()
{
    FSelCount = SG->CountSelectedRows();
    SetModalResult(mrOk);
}

void TLocationsDlg::OKBtnClick()
{
    FSelCount = SG->CountSelectedRows();
    RefreshGrid();
}

TObserverData* TLocationsDlg::SelectedLocation(int j) const
{
    if (j < 0 || j >= FSelCount) return nullptr;
    const int i = SG->NthSelectedRow(j) - 1;
    return i >= 0 && i < FLocationList->Count() ? FLocationList->Items(i) : nullptr;
}

void TLocationsDlg::MIAddClick()
{
    auto location = AskNewLocation();
    if (!location) return;
    FLocationList->Add(location.release());
    Save();
    RefreshGrid();
}

void TLocationsDlg::MIEditClick()
{
    const int i = SG->Row() - 1;
    if (i < 0 || i >= FLocationList->Count()) return;
    TAddLocationDlg dlg(nullptr);
    dlg.SetCaption("Edit location");
    dlg.SetLocation(FLocationList->Items(i));
    if (dlg.ShowModal() != mrOk) return;
    FLocationList->Items(i)->Assign(dlg.Location());
    Save();
    RefreshGrid();
}

void TLocationsDlg::MIDeleteClick()
{
    const int i = SG->Row() - 1;
    if (FLocationList->Count() == 0 || i < 0 || i >= FLocationList->Count()) return;
    if (MessageDlg("Delete location '" + FLocationList->Items(i)->Place() + "' from database?",
                   TMsgDlgType::mtCustom, mbYesNo()) != mrYes)
        return;
    FLocationList->FreeAndDelete(i);
    // Written at once, as every other change: a crash must not bring it back.
    Save();
    RefreshGrid();
}

void TLocationsDlg::MIImportClick()
{
    OpenDlg->Title = "Import location list";
    OpenDlg->Filter = "Location lists (*.loc)|*.loc";
    OpenDlg->FilterIndex = 1;
    OpenDlg->DefaultExt = "loc";
    OpenDlg->InitialDir = DocumentsPath;
    OpenDlg->FileName = "";
    if (!OpenDlg->Execute()) return;
    try {
        FLocationList->ImportFromFile(OpenDlg->FileName);
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return;
    }
    Save();
    RefreshGrid();
}

void TLocationsDlg::SortBy(const std::string& order)
{
    FLocationList->SortList(order);
    RefreshGrid();
}

} // namespace app
