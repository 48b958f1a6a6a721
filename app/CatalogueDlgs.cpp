#include "app/CatalogueDlgs.h"

#include <cmath>
#include <cstdlib>

#include "chart/PlotUtils.h"
#include "compute/BesselSE.h"
#include "compute/LunarEclipses.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

namespace app {

bool ValidSarosText(const std::string& text)
{
    const std::string t = rtl::Trim(text);
    int32_t value;
    return t.empty() || rtl::TryStrToInt(t, value);
}

std::vector<std::string> CatalogueStatement(TEventType eventType, const std::array<bool, 4>& types,
                                            const std::string& sarosText, const std::string& order)
{
    const bool solar = eventType == etSolarEclipse;
    std::vector<std::string> lines;
    lines.push_back(solar ? "SELECT * FROM BE_SE" : "SELECT * FROM BE_LE");
    // The first term only opens the OR chain: it names a type the table
    // does not have.
    lines.push_back(solar ? "WHERE ((Type = \"N\")" : "WHERE ((Type = \"M\")");
    const char* const solarTypes[4] = {"P", "T", "A", "H"};
    const char* const lunarTypes[3] = {"N", "P", "T"};
    const int count = solar ? 4 : 3;
    for (int i = 0; i < count; ++i)
        if (types[static_cast<std::size_t>(i)])
            lines.push_back(std::string("OR (Type = \"") + (solar ? solarTypes[i] : lunarTypes[i]) + "\")");
    lines.push_back(")");
    const std::string saros = rtl::Trim(sarosText);
    if (!saros.empty()) {
        // Only a number goes into the statement.
        lines.push_back("AND (Saros = " + rtl::IntToStr(rtl::StrToInt(saros)) + ")");
    }
    lines.push_back("ORDER BY " + order);
    return lines;
}

std::string CatalogueOrderForColumn(int column, TEventType eventType)
{
    switch (column) {
    case 2: return "Type,CatNo";
    case 3: return eventType == etSolarEclipse ? "Magnitude,CatNo" : "MagUmbra,CatNo";
    case 4: return "Gamma,CatNo";
    case 5: return "Saros,CatNo";
    case 6: return "k";
    default: return "CatNo";  // catalogue number and date
    }
}

std::string CatalogueYearKey(int year)
{
    std::string digits = std::to_string(std::abs(static_cast<long long>(year)));
    while (digits.size() < 4) digits.insert(digits.begin(), '0');
    return year < 0 ? "-" + digits : digits;
}

bool GoToYear(db::TDataSet& dataSet, int year)
{
    int y = year;
    do {
        const std::string key = CatalogueYearKey(y);
        ++y;
        if (dataSet.Locate("DT", db::TFieldValue(key), {db::TLocateOption::loPartialKey})) return true;
    } while (y < 3000);
    return false;
}

double PreviewZoneFactor(int zone)
{
    switch (zone) {
    case 5: case 7: return 0.8;
    case 4: case 8: return 0.7;
    case 3: case 9: return 0.6;
    case 2: case 10: return 0.5;
    case 1: case 11: return 0.4;
    case 0: return 0.3;
    default: return 1.0;
    }
}

void DrawCataloguePreview(db::TDataSet& dataSet, TEventType eventType, gui::TBitmap& map)
{
    map.LoadFromResourceName("WORLD_360");
    map.SetPixelFormat(gui::TPixelFormat::pf24bit);
    const int w = map.Width(), h = map.Height();
    if (eventType == etSolarEclipse) {
        compute::TSolarEclipse see;
        see.ReadFromDataSet(&dataSet);
        for (int j = 0; j < h; ++j) {
            uint8_t* row = map.ScanLine(j);
            for (int i = 0; i < w; ++i) {
                compute::TSELocalCircumstances lc;
                lc.Longitude = 180 - i;
                lc.Latitude = 90 - j;
                see.LocalCircumstances(lc);
                gui::TColor c;
                if ((lc.EclipseType == 'A' || lc.EclipseType == 'T') && lc.SA2 >= 0) c = 255;
                else if (lc.Magnitude > 0 && lc.SA2 >= 0) c = 42495;
                else if (lc.Magnitude > 0 && lc.SA2 < 0 && (lc.SA0 >= 0 || lc.SA4 >= 0)) c = 11788021;
                else continue;
                uint8_t* p = row + 3 * i;  // B, G, R
                p[0] = gui::GetBValue(c);
                p[1] = gui::GetGValue(c);
                p[2] = gui::GetRValue(c);
            }
        }
    } else {
        compute::TLunarEclipse lee;
        lee.ReadFromDataSet(&dataSet);
        for (int j = 0; j < h; ++j) {
            uint8_t* row = map.ScanLine(j);
            for (int i = 0; i < w; ++i) {
                compute::TLELocalCircumstances lc;
                lc.Longitude = 180 - i;
                lc.Latitude = 90 - j;
                lee.LocalCircumstances(lc);
                const double f = PreviewZoneFactor(lc.Zone);
                if (f == 1.0) continue;
                uint8_t* p = row + 3 * i;
                double hue, s, v;
                chart::RgbToHsv(p[2], p[1], p[0], hue, s, v);
                int r, g, b;
                chart::HsvToRgb(hue, s, v * f, r, g, b);
                p[0] = static_cast<uint8_t>(b);
                p[1] = static_cast<uint8_t>(g);
                p[2] = static_cast<uint8_t>(r);
            }
        }
    }
}

} // namespace app

// ------------------------------------------------------------------ dialog

#include "app/SEPaths.h"
#include "platform/gui/Dialogs.h"

namespace app {

using namespace gui;

namespace {

const char* const ColumnTitles[7] = {"Cat. no", "Date", "Type", "Magnitude", "Gamma", "Saros", "Lunation"};
const int ColumnWidths[7] = {42, 68, 30, 56, 52, 36, 50};

} // namespace

TCatalogueDlg::TCatalogueDlg(rtl::TComponent* owner) : TForm(owner), FMap(std::make_unique<TBitmap>())
{
    SetCaption("Eclipse Catalogue");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(780, 560);

    TSSolarEclipses = new TRadioButton(this);
    TSSolarEclipses->SetParent(this);
    TSSolarEclipses->SetBounds(8, 6, 140, 20);
    TSSolarEclipses->SetCaption("Solar Eclipses");
    TSLunarEclipses = new TRadioButton(this);
    TSLunarEclipses->SetParent(this);
    TSLunarEclipses->SetBounds(150, 6, 140, 20);
    TSLunarEclipses->SetCaption("Lunar Eclipses");
    TSSolarEclipses->OnClick = [this](rtl::TObject*) { PageChange(etSolarEclipse); };
    TSLunarEclipses->OnClick = [this](rtl::TObject*) { PageChange(etLunarEclipse); };

    for (TEventType page : {etSolarEclipse, etLunarEclipse}) {
        auto* grid = new TStringGrid(this);
        grid->SetParent(this);
        grid->SetBounds(8, 32, 400, 480);
        grid->SetColCount(7);
        grid->SetRowCount(2);
        grid->SetFixedRows(1);
        grid->SetFixedCols(0);
        grid->SetDefaultRowHeight(17);
        grid->SetOptions(grid->Options() + TGridOptions{TGridOption::goRowSelect, TGridOption::goFixedRowClick, TGridOption::goFixedColClick});
        for (int c = 0; c < 7; ++c) {
            grid->SetColWidths(c, ColumnWidths[c] + 4);
            grid->SetCells(c, 0, ColumnTitles[c]);
        }
        grid->OnFixedCellClick = [this, page](rtl::TObject*, int col, int) { TitleClick(page, col); };
        grid->OnSelectCell = [this, page](rtl::TObject*, int, int row, bool&) { GridRowSelected(page, row); };
        (page == etSolarEclipse ? SEGrid : LEGrid) = grid;
    }

    auto group = [this](const std::string& caption, std::initializer_list<const char*> items, auto& boxes) {
        auto* g = new TGroupBox(this);
        g->SetParent(this);
        g->SetBounds(420, 32, 170, 30 + 20 * static_cast<int>(items.size()));
        g->SetCaption(caption);
        int i = 0;
        for (const char* item : items) {
            auto* cb = new TCheckBox(this);
            cb->SetParent(g);
            cb->SetBounds(10, 20 + 20 * i, 140, 18);
            cb->SetCaption(item);
            cb->OnClick = [this](rtl::TObject*) { if (!FSyncing) ApplyFilter(); };
            boxes[static_cast<std::size_t>(i++)] = cb;
        }
        return g;
    };
    CGSEType = group(" Eclipse type ", {"partial", "total", "annular", "hybrid"}, SETypeItems);
    CGLEType = group(" Eclipse type ", {"penumbral", "partial", "total"}, LETypeItems);

    auto edit = [this](int y, const std::string& label) {
        auto* l = new TLabel(this);
        l->SetParent(this);
        l->SetBounds(600, y + 3, 70, 16);
        l->SetCaption(label);
        auto* e = new TEdit(this);
        e->SetParent(this);
        e->SetBounds(680, y, 80, 22);
        return e;
    };
    ESESaros = edit(40, "Saros");
    ESEGoTo = edit(70, "Go to year");
    ELESaros = edit(40, "Saros");
    ELEGoTo = edit(70, "Go to year");
    for (TEdit* e : {ESESaros, ELESaros}) {
        e->OnExit = [this](rtl::TObject*) { ApplyFilter(); };
        e->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState) { if (key == VK_RETURN) ApplyFilter(); };
    }
    ESEGoTo->OnExit = [this](rtl::TObject*) { GoToYearEdit(etSolarEclipse); };
    ESEGoTo->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState) { if (key == VK_RETURN) GoToYearEdit(etSolarEclipse); };
    ELEGoTo->OnExit = [this](rtl::TObject*) { GoToYearEdit(etLunarEclipse); };
    ELEGoTo->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState) { if (key == VK_RETURN) GoToYearEdit(etLunarEclipse); };
    TBSEReset = new TButton(this);
    TBLEReset = new TButton(this);
    for (auto [b, page] : {std::pair{TBSEReset, etSolarEclipse}, {TBLEReset, etLunarEclipse}}) {
        b->SetParent(this);
        b->SetBounds(680, 100, 80, 24);
        b->SetCaption("Reset");
        b->OnClick = [this, page](rtl::TObject*) { ResetClick(page); };
    }

    PaintBox = new TPaintBox(this);
    PaintBox->SetParent(this);
    PaintBox->SetBounds(412, 200, 361, 180);
    PaintBox->OnPaint = [this](rtl::TObject*) {
        TCanvas* c = PaintBox->Canvas();
        c->Draw(0, 0, FMap.get());
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Pen()->SetColor(clBlack);
        c->Pen()->SetWidth(1);
        c->Rectangle(0, 0, PaintBox->Width(), PaintBox->Height());
    };
    CBGeneralMap = new TCheckBox(this);
    CBGeneralMap->SetParent(this);
    CBGeneralMap->SetBounds(412, 390, 200, 20);
    CBGeneralMap->SetCaption("General map");

    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(500);
    Timer->OnTimer = [this](rtl::TObject*) { TimerTimer(); };

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(600, 524, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(690, 524, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);

    // FormCreate
    SETable = new db::TSQLiteQuery(this);
    LETable = new db::TSQLiteQuery(this);
    SEDataSource = new db::TDataSource(this);
    LEDataSource = new db::TDataSource(this);
    SEDataSource->SetDataSet(SETable);
    LEDataSource->SetDataSet(LETable);
    for (db::TDataSource* s : {SEDataSource, LEDataSource})
        s->OnDataChange = [this](rtl::TObject*, db::TField*) {
            Timer->SetEnabled(false);
            Timer->SetEnabled(true);
        };
    FSyncing = true;
    for (TCheckBox* cb : SETypeItems) cb->SetChecked(true);
    LETypeItems[0]->SetChecked(false);
    LETypeItems[1]->SetChecked(true);
    LETypeItems[2]->SetChecked(true);
    FSyncing = false;
    FMap->LoadFromResourceName("WORLD_360");
    FMap->SetPixelFormat(TPixelFormat::pf24bit);
    SETable->SetDatabaseFile(DatabaseFile);
    LETable->SetDatabaseFile(DatabaseFile);
    SETable->SQL().Add("SELECT * FROM BE_SE");
    LETable->SQL().Add("SELECT * FROM BE_LE");
    try {
        SETable->Open();
        LETable->Open();
    } catch (const std::exception& e) {
        ShowMessage(e.what());
    }
    Order = "k";
    SetEventType(etSolarEclipse);
    ApplyFilter();
    FillGrid(etLunarEclipse);
}

TCatalogueDlg::~TCatalogueDlg()
{
    SETable->Close();
    LETable->Close();
}

void TCatalogueDlg::SetSECatNo(int value)
{
    FSECatNo = value;
    if (SETable->Active()) SETable->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(value)));
    SyncGridRow(etSolarEclipse);
}

void TCatalogueDlg::SetLECatNo(int value)
{
    FLECatNo = value;
    if (LETable->Active()) LETable->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(value)));
    SyncGridRow(etLunarEclipse);
}

void TCatalogueDlg::SetEventType(TEventType value)
{
    FEventType = value;
    const bool solar = value == etSolarEclipse;
    FSyncing = true;
    TSSolarEclipses->SetChecked(solar);
    TSLunarEclipses->SetChecked(!solar);
    FSyncing = false;
    for (TControl* c : std::initializer_list<TControl*>{SEGrid, CGSEType, ESESaros, ESEGoTo, TBSEReset}) c->SetVisible(solar);
    for (TControl* c : std::initializer_list<TControl*>{LEGrid, CGLEType, ELESaros, ELEGoTo, TBLEReset}) c->SetVisible(!solar);
}

void TCatalogueDlg::SetUseGeneralMap(bool value)
{
    FUseGeneralMap = value;
    CBGeneralMap->SetChecked(value);
}

void TCatalogueDlg::PageChange(TEventType page)
{
    if (FSyncing) return;
    SetEventType(page);
    ApplyFilter();
}

void TCatalogueDlg::ApplyFilter()
{
    const TEventType page = FEventType;
    db::TSQLiteQuery* q = Query(page);
    TEdit* saros = page == etSolarEclipse ? ESESaros : ELESaros;
    if (!ValidSarosText(saros->Text())) {
        // Only a whole number can filter; the list stays as it is.
        MessageDlg("\"" + saros->Text() + "\" is not a Saros number.", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return;
    }
    std::array<bool, 4> types{};
    if (page == etSolarEclipse)
        for (int i = 0; i < 4; ++i) types[static_cast<std::size_t>(i)] = SETypeItems[static_cast<std::size_t>(i)]->Checked();
    else
        for (int i = 0; i < 3; ++i) types[static_cast<std::size_t>(i)] = LETypeItems[static_cast<std::size_t>(i)]->Checked();

    db::TFieldValue k;
    if (q->Active() && !q->IsEmpty()) k = q->FieldByName("k")->Value();
    q->Close();
    q->SQL().Clear();
    for (const std::string& line : CatalogueStatement(page, types, saros->Text(), Order)) q->SQL().Add(line);
    try {
        q->Open();
    } catch (const std::exception& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return;
    }
    if (!std::holds_alternative<std::monostate>(k)) q->Locate("k", k);
    SetCaption(std::string(page == etSolarEclipse ? "Solar" : "Lunar") + " Eclipse Catalogue [" +
               rtl::IntToStr(q->RecordCount()) + " entries]");
    FillGrid(page);
}

void TCatalogueDlg::FillGrid(TEventType page)
{
    db::TSQLiteQuery* q = Query(page);
    TStringGrid* g = Grid(page);
    FSyncing = true;
    const int n = q->Active() ? q->RecordCount() : 0;
    g->SetRowCount(std::max(2, n + 1));
    if (n == 0)
        for (int c = 0; c < 7; ++c) g->SetCells(c, 1, "");
    if (n > 0) {
        const int current = q->RecNo();
        q->DisableControls();
        const char* magnitude = page == etSolarEclipse ? "Magnitude" : "MagUmbra";
        const char* fields[7] = {"CatNo", "DT", "Type", magnitude, "Gamma", "Saros", "k"};
        std::array<db::TField*, 7> f{};
        for (int c = 0; c < 7; ++c) f[static_cast<std::size_t>(c)] = q->FieldByName(fields[c]);
        int row = 1;
        for (q->First(); !q->Eof(); q->Next(), ++row)
            for (int c = 0; c < 7; ++c) {
                db::TField* field = f[static_cast<std::size_t>(c)];
                std::string text = (c == 3 || c == 4) ? rtl::Format("%.4f", {static_cast<double>(field->AsFloat())})
                                                      : field->AsString();
                g->SetCells(c, row, text);
            }
        q->SetRecNo(current);
        q->EnableControls();
    }
    FSyncing = false;
    SyncGridRow(page);
}

void TCatalogueDlg::SyncGridRow(TEventType page)
{
    db::TSQLiteQuery* q = Query(page);
    if (!q->Active() || q->IsEmpty()) return;
    FSyncing = true;
    Grid(page)->SetRow(q->RecNo());
    FSyncing = false;
}

void TCatalogueDlg::GridRowSelected(TEventType page, int row)
{
    if (FSyncing) return;
    db::TSQLiteQuery* q = Query(page);
    if (q->Active() && row >= 1 && row <= q->RecordCount()) q->SetRecNo(row);
}

void TCatalogueDlg::TitleClick(TEventType page, int column)
{
    db::TSQLiteQuery* q = Query(page);
    db::TFieldValue k;
    if (q->Active() && !q->IsEmpty()) k = q->FieldByName("k")->Value();
    Order = CatalogueOrderForColumn(column, page);
    ApplyFilter();
    if (!std::holds_alternative<std::monostate>(k)) q->Locate("k", k);
    SyncGridRow(page);
}

void TCatalogueDlg::GoToYearEdit(TEventType page)
{
    TEdit* e = page == etSolarEclipse ? ESEGoTo : ELEGoTo;
    const std::string text = rtl::Trim(e->Text());
    if (text.empty()) return;
    int32_t year;
    if (rtl::TryStrToInt(text, year)) {
        GoToYear(*Query(page), year);
        SyncGridRow(page);
    }
    e->SetText("");
}

void TCatalogueDlg::ResetClick(TEventType page)
{
    FSyncing = true;
    if (page == etSolarEclipse) {
        ESESaros->SetText("");
        ESEGoTo->SetText("");
        for (TCheckBox* cb : SETypeItems) cb->SetChecked(true);
    } else {
        ELESaros->SetText("");
        ELEGoTo->SetText("");
        LETypeItems[0]->SetChecked(false);
        LETypeItems[1]->SetChecked(true);
        LETypeItems[2]->SetChecked(true);
    }
    FSyncing = false;
    ApplyFilter();
}

void TCatalogueDlg::TimerTimer()
{
    Timer->SetEnabled(false);
    db::TSQLiteQuery* q = Query(FEventType);
    if (!q->Active()) return;
    try {
        DrawCataloguePreview(*q, FEventType, *FMap);
    } catch (const std::exception&) {
        // An empty result has no eclipse to draw: the clean map stays.
    }
    PaintBox->Invalidate();
}

void TCatalogueDlg::OKBtnClick()
{
    FSECatNo = SETable->Active() && !SETable->IsEmpty() ? SETable->FieldByName("CatNo")->AsInteger() : 0;
    FLECatNo = LETable->Active() && !LETable->IsEmpty() ? LETable->FieldByName("CatNo")->AsInteger() : 0;
}

} // namespace app
