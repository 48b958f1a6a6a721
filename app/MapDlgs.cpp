#include "app/MapDlgs.h"

#include <filesystem>

#include "app/SEMain.h"
#include "app/SEPaths.h"
#include "compute/uProjections.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace app {

using namespace gui;

namespace {

TButton* MakeButton(TForm* form, int x, int y, int w, const std::string& caption, TModalResult result)
{
    auto* b = new TButton(form);
    b->SetParent(form);
    b->SetBounds(x, y, w, 26);
    b->SetCaption(caption);
    b->SetModalResult(result);
    return b;
}

TLabel* MakeLabel(TForm* form, int x, int y, int w, const std::string& caption)
{
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetBounds(x, y, w, 16);
    l->SetCaption(caption);
    return l;
}

} // namespace

// ----------------------------------------------------------------- maps

TMapsDlg::TMapsDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Maps");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(520, 320);
    StringGrid = new TStringGrid(this);
    StringGrid->SetParent(this);
    StringGrid->SetBounds(8, 8, 504, 260);
    StringGrid->SetColCount(2);
    StringGrid->SetFixedCols(0);
    StringGrid->SetRowCount(2);
    StringGrid->SetFixedRows(1);
    StringGrid->SetColWidths(0, 380);
    StringGrid->SetColWidths(1, 100);
    StringGrid->SetOptions(StringGrid->Options() + TGridOptions{TGridOption::goRowSelect});
    StringGrid->OnSelectCell = [this](rtl::TObject*, int, int row, bool&) { SelectRow(row); };
    StringGrid->OnDblClick = [this](rtl::TObject*) {
        if (!FFileName.empty()) SetModalResult(mrOk);
    };
    Button1 = MakeButton(this, 8, 284, 140, "Load &standard map", mrNone);
    Button2 = MakeButton(this, 154, 284, 140, "Load &general map", mrNone);
    Button1->OnClick = [this](rtl::TObject*) { FStandardMap = true; SetModalResult(mrOk); };
    Button2->OnClick = [this](rtl::TObject*) { FGeneralMap = true; SetModalResult(mrOk); };
    OKBtn = MakeButton(this, 344, 284, 80, "OK", mrOk);
    OKBtn->SetDefault(true);
    CancelBtn = MakeButton(this, 432, 284, 80, "Cancel", mrCancel);
    CancelBtn->SetCancel(true);
    FMapsPath = ProgramPath + "Maps/";
    OnShow = [this](rtl::TObject*) { FillList(); };
}

void TMapsDlg::SetMapsPath(const std::string& path) { FMapsPath = path; }

bool ReadMapDescription(const std::string& fileName, TMapData& data)
{
    // The list shows a description as the file states it; the record is
    // checked (and its projection set up) only when the map is chosen.
    xml::TWideXmlDom dom("MapData");
    dom.LoadFromFile(fileName);
    xml::TWideXmlNode* node = dom.Root();
    if (!node) return true;
    // The list's rule: every element but the curves of equal time.
    TMapData d = data;
    ReadMapElements(node, d, false);
    data = d;
    return true;
}

void TMapsDlg::FillList()
{
    StringGrid->SetCells(0, 0, "Map description");
    StringGrid->SetCells(1, 0, "Map size");
    FileNames.clear();
    StringGrid->SetRowCount(2);
    StringGrid->SetCells(0, 1, "");
    StringGrid->SetCells(1, 1, "");
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(FMapsPath, ec))
        if (rtl::UpperCase(entry.path().extension().string()) == ".MAP") files.push_back(entry.path());
    // An empty folder leaves nothing to choose: the empty row takes no
    // selection and OK stays off (the built-in maps remain).
    StringGrid->SetEnabled(!files.empty());
    OKBtn->SetEnabled(!files.empty());
    TGridOptions options = StringGrid->Options();
    if (files.empty()) options.Exclude(TGridOption::goRowSelect);
    else options.Include(TGridOption::goRowSelect);
    StringGrid->SetOptions(options);
    if (files.empty()) {
        FFileName.clear();
        return;
    }
    int row = 1;
    for (const auto& file : files) {
        TMapData data;
        ReadMapDescription(file.string(), data);
        FileNames.push_back(file.string());
        StringGrid->SetRowCount(row + 1);
        StringGrid->SetCells(0, row, data.Description);
        StringGrid->SetCells(1, row, rtl::IntToStr(data.Width) + " x " + rtl::IntToStr(data.Height));
        ++row;
    }
    StringGrid->SetRow(1);
    SelectRow(1);
}

void TMapsDlg::SelectRow(int row)
{
    FFileName = row >= 1 && row <= static_cast<int>(FileNames.size()) ? FileNames[static_cast<std::size_t>(row - 1)] : "";
}

// ----------------------------------------------------------- information

TMapInfoDlg::TMapInfoDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Map Information");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poMainFormCenter);
    SetClientSize(460, 240);
    MakeLabel(this, 8, 12, 130, "Bitmap file name");
    MakeLabel(this, 8, 36, 130, "Bitmap dimension");
    MakeLabel(this, 8, 60, 130, "Projection");
    MakeLabel(this, 8, 84, 130, "Description");
    MakeLabel(this, 8, 150, 130, "Source");
    LMapFileName = MakeLabel(this, 144, 12, 300, "");
    LMapDimension = MakeLabel(this, 144, 36, 300, "");
    LMapProjection = MakeLabel(this, 144, 60, 300, "");
    LMapDescription = MakeLabel(this, 144, 84, 300, "");
    LMapDescription->SetAutoSize(false);
    LMapDescription->SetWordWrap(true);
    LMapDescription->SetBounds(144, 84, 300, 60);
    LMapSource = MakeLabel(this, 144, 150, 300, "");
    LMapSource->SetAutoSize(false);
    LMapSource->SetWordWrap(true);
    LMapSource->SetBounds(144, 150, 300, 44);
    BMapDefaults = MakeButton(this, 8, 204, 110, "Map &defaults", mrNone);
    BMapDefaults->OnClick = [this](rtl::TObject*) { MapDefaultsClick(); };
    OKBtn = MakeButton(this, 372, 204, 80, "OK", mrOk);
    OKBtn->SetDefault(true);
}

void TMapInfoDlg::SetMapData(const TMapData& data)
{
    FMapData = data;
    const bool file = !rtl::Trim(data.FileName).empty() && data.ResourceName.empty();
    LMapFileName->SetCaption(file ? data.FileName : "internal resource");
    BMapDefaults->SetEnabled(file);
    LMapDimension->SetCaption(rtl::IntToStr(data.Width) + " x " + rtl::IntToStr(data.Height) + " pixels");
    const int p = static_cast<int>(data.Projection);
    static const char* names[5] = {"Robinson Projection", "Mercator Projection", "Plate Carr\xC3\xA9" "e Projection",
                                   "Lambert Conformal Conic Projection", "Lambert Azimuthal Equal-Area Projection"};
    LMapProjection->SetCaption(p >= 0 && p < 5 ? names[p] : "");
    LMapDescription->SetCaption(data.Description);
    LMapSource->SetCaption(data.Source);
}

void TMapInfoDlg::MapDefaultsClick()
{
    if (rtl::Trim(FMapData.FileName).empty()) return;
    const std::string file =
        MapsPath + std::filesystem::path(FMapData.FileName).replace_extension(".map").string();
    if (!std::filesystem::exists(file)) return;
    TDefaultsDlg dlg(nullptr);
    dlg.SetMapFileName(file);
    dlg.ShowModal();
}

// -------------------------------------------------------------- defaults

TDefaultsDlg::TDefaultsDlg(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Map default properties");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(420, 330);
    auto edit = [this](int y, const std::string& label) {
        MakeLabel(this, 16, y + 3, 190, label);
        auto* e = new TEdit(this);
        e->SetParent(this);
        e->SetBounds(210, y, 120, 22);
        e->OnChange = [this](rtl::TObject*) { Changed = true; };
        return e;
    };
    auto wholeEdit = [this](int y, const std::string& label) {
        MakeLabel(this, 16, y + 3, 190, label);
        auto* e = new controls::TExEdit(this);
        e->SetParent(this);
        e->SetBounds(210, y, 120, 22);
        e->SetEditType(controls::TExEditType::etNumeric);
        e->SetSigned(false);
        e->SetEditAlign(controls::TEditAlign::eaRight);
        e->OnChange = [this](rtl::TObject*) { Changed = true; };
        return e;
    };
    auto floatEdit = [this](int y, const std::string& label) {
        MakeLabel(this, 16, y + 3, 190, label);
        auto* e = new TFloatEdit(this);
        e->SetParent(this);
        e->SetBounds(210, y, 120, 22);
        e->SetDigits(4);
        e->SetMaxValue(1.0);
        e->OnChange = [this](rtl::TObject*) { Changed = true; };
        return e;
    };
    EDescription = edit(8, "Description");
    EDescription->SetBounds(110, 8, 300, 22);
    MakeLabel(this, 8, 40, 300, "Curves of equal magnitude");
    ECEMScale = floatEdit(60, "Scale [mag]");
    ECEMWidth = floatEdit(86, "Width [mag]");
    ECEMLabelScale = wholeEdit(112, "Label scale [\xC2\xB0]");
    ECEMLabelOffset = wholeEdit(138, "Label offset [\xC2\xB0]");
    MakeLabel(this, 8, 168, 300, "Curves of equal time of max. eclipse");
    ECETWidth = floatEdit(188, "Width [min]");
    ECETScale = wholeEdit(214, "Scale [min]");
    MakeLabel(this, 8, 244, 300, "Curves of limits of visiblity");
    EVBLWidth = floatEdit(264, "Width [mag]");
    TBLoad = new controls::TExToolButton(this);
    TBLoad->SetParent(this);
    TBLoad->SetBounds(8, 298, 150, 26);
    TBLoad->SetCaption("Load current settings");
    TBLoad->SetLayout(TButtonLayout::blGlyphBottom);
    TBLoad->SetAutoThemeAdapt(false);
    TBLoad->OnClick = [this](rtl::TObject*) {
        if (SEMainForm) LoadCurrent(SEMainForm->EclipseMap().Settings);
    };
    OKBtn = MakeButton(this, 244, 298, 80, "OK", mrNone);
    OKBtn->SetDefault(true);
    OKBtn->OnClick = [this](rtl::TObject*) {
        if (Confirm()) SetModalResult(mrOk);
    };
    CancelBtn = MakeButton(this, 332, 298, 80, "Cancel", mrCancel);
    CancelBtn->SetCancel(true);
}

void TDefaultsDlg::ShowValues()
{
    ECEMScale->SetValue(MapData.CEMScale);
    ECEMWidth->SetValue(MapData.CEMWidth);
    ECEMLabelScale->SetIntValue(MapData.CEMLabelScale);
    ECEMLabelOffset->SetIntValue(MapData.CEMLabelOffset);
    ECETScale->SetIntValue(MapData.CETScale);
    ECETWidth->SetValue(MapData.CETWidth);
    EVBLWidth->SetValue(MapData.VBLWidth);
}

void TDefaultsDlg::SetMapFileName(const std::string& name)
{
    FMapFileName = name;
    MapData = StandardMapData;
    ReadMapDataFile(name, MapData);
    EDescription->SetText(MapData.Description);
    ShowValues();
    Changed = false;
}

void TDefaultsDlg::LoadCurrent(const TMapDrawSettings& current)
{
    Changed = true;
    MapData.CEMWidth = current.CEMWidth;
    MapData.CEMScale = current.CEMScale;
    MapData.CEMLabelScale = current.CEMLabelScale;
    MapData.CEMLabelOffset = current.CEMLabelOffset;
    MapData.CETWidth = current.CETWidth;
    MapData.CETScale = current.CETScale;
    MapData.VBLWidth = current.VBLWidth;
    ShowValues();
    Changed = true;
}

bool TDefaultsDlg::ReadValues()
{
    // The float edits keep their last good value and say why (range 0 .. 1).
    try {
        MapData.CEMScale = static_cast<double>(ECEMScale->Value());
        MapData.CEMWidth = static_cast<double>(ECEMWidth->Value());
        MapData.CEMLabelScale = ECEMLabelScale->IntValue();
        MapData.CEMLabelOffset = ECEMLabelOffset->IntValue();
        MapData.CETScale = ECETScale->IntValue();
        MapData.CETWidth = static_cast<double>(ECETWidth->Value());
        MapData.VBLWidth = static_cast<double>(EVBLWidth->Value());
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return false;
    }
    return true;
}

bool TDefaultsDlg::Confirm()
{
    if (!Changed) return true;
    const int answer = MessageDlg("The settings were changed. Do you want to modify the map file\r\n" +
                                      std::filesystem::path(FMapFileName).filename().string() + " ?",
                                  TMsgDlgType::mtCustom, mbYesNoCancel());
    if (answer == mrCancel) return false;
    if (answer == mrYes) {
        if (!ReadValues()) return false;
        try {
            SaveMapDataFile(FMapFileName, MapData);
        } catch (const std::exception& e) {
            MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            return false;
        }
    }
    return true;
}

} // namespace app
