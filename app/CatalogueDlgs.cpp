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
#include "platform/gui/Messages.h"

namespace app {

using namespace gui;

namespace {

const char* const ColumnTitles[7] = {"Cat. no", "Date", "Type", "Magnitude", "Gamma", "Saros", "Lunation"};
// The columns' widths for the dialog's font (about 1.3 times the widths
// for the classic 8-point font, which our font is wider than).
const int ColumnWidths[7] = {55, 88, 39, 73, 68, 47, 65};
const TAlignment ColumnAlignments[7] = {TAlignment::taLeftJustify, TAlignment::taRightJustify, TAlignment::taCenter,
                                        TAlignment::taRightJustify, TAlignment::taRightJustify,
                                        TAlignment::taRightJustify, TAlignment::taRightJustify};
const TColor AlternateRowColor = 14803425;  // RGB 225, 225, 225
const TColor GridFixedColor = 14145495;     // RGB 215, 215, 215

// A numeric edit with its caption label at the left: signed whole numbers,
// empty allowed.  Return and Esc stay with the edit (OnKeyDown sees Return)
// rather than pressing the dialog's default or cancel button.
controls::TExEdit* LabelledEdit(TWinControl* parent, rtl::TComponent* owner, int x, int y, const std::string& label)
{
    auto* e = new controls::TExEdit(owner);
    e->SetParent(parent);
    e->SetBounds(x + 84, y, 86, 19);
    e->SetEditType(controls::TExEditType::etNumeric);
    e->SetSigned(true);
    e->SetAllowNumericNullValue(true);
    e->SetEditAlign(controls::TEditAlign::eaRight);
    e->SetLabelPosition(controls::TExEdit::TLabelPosition::lpLeftCenter);
    e->SetLabelCaption(label);
    e->SetText("");
    return e;
}

} // namespace

TCatalogueDlg::TCatalogueDlg(rtl::TComponent* owner) : TForm(owner), FMap(std::make_unique<TBitmap>())
{
    SetCaption("Eclipse Catalogue");
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(1080, 560);

    PageControl = new controls::TExPageControl(this);
    PageControl->SetParent(this);
    PageControl->SetBounds(8, 8, 690, 508);
    PageControl->ActiveFont()->SetName("Tahoma");
    PageControl->ActiveFont()->SetHeight(-11);
    PageControl->ActiveFont()->SetColor(clWindowText);
    PageControl->SetTabBackGroundColor(clBtnFace);
    PageControl->TabMargin()->SetRightMargin(0);
    PageControl->SetTabOverlap(0);
    for (controls::TExTabSheet** sheet : {&TSSolarEclipses, &TSLunarEclipses}) {
        *sheet = new controls::TExTabSheet(this);
        (*sheet)->SetExPageControl(PageControl);
        (*sheet)->SetColor(clBtnFace);
        (*sheet)->SetColorTo(clNone);
        (*sheet)->SetTabColor(clBtnFace);
        (*sheet)->SetTabColorTo(clNone);
    }
    TSSolarEclipses->SetCaption("Solar Eclipses");
    TSLunarEclipses->SetCaption("Lunar Eclipses");
    PageControl->OnChange = [this](rtl::TObject*) { PageControlChange(); };

    SETable = new db::TSQLiteQuery(this);
    LETable = new db::TSQLiteQuery(this);
    SEDataSource = new db::TDataSource(this);
    LEDataSource = new db::TDataSource(this);
    SEDataSource->SetDataSet(SETable);
    LEDataSource->SetDataSet(LETable);

    for (TEventType page : {etSolarEclipse, etLunarEclipse}) {
        controls::TExTabSheet* sheet = page == etSolarEclipse ? TSSolarEclipses : TSLunarEclipses;
        auto* grid = new dbgrids::TUxDBSortGrid(this);
        grid->SetParent(sheet);
        grid->SetBounds(4, 4, 484, 470);
        SetUpGrid(grid, page);
        (page == etSolarEclipse ? SEGrid : LEGrid) = grid;

        auto* group = new htmltext::THTMLCheckGroup(this);
        group->SetParent(sheet);
        group->SetBounds(496, 4, 180, page == etSolarEclipse ? 110 : 92);
        group->SetCaption(" Eclipse type ");
        static const std::vector<std::string> solarTypes{"partial", "total", "annular", "hybrid"},
            lunarTypes{"penumbral", "partial", "total"};
        for (const std::string& item : page == etSolarEclipse ? solarTypes : lunarTypes) group->Items()->Add(item);
        group->OnClick = [this](rtl::TObject*) { ApplyFilter(); };
        (page == etSolarEclipse ? CGSEType : CGLEType) = group;

        controls::TExEdit* saros = LabelledEdit(sheet, this, 496, 126, "Saros");
        controls::TExEdit* goTo = LabelledEdit(sheet, this, 496, 156, "Go to year");
        saros->OnExit = [this](rtl::TObject*) { ApplyFilter(); };
        saros->OnKeyDown = [this](rtl::TObject*, uint16_t& key, TShiftState) {
            if (key == VK_RETURN) ApplyFilter();
        };
        goTo->OnExit = [this, page](rtl::TObject*) { GoToYearEdit(page); };
        goTo->OnKeyDown = [this, page](rtl::TObject*, uint16_t& key, TShiftState) {
            if (key == VK_RETURN) GoToYearEdit(page);
        };
        auto* reset = new controls::TExToolButton(this);
        reset->SetParent(sheet);
        reset->SetBounds(580, 188, 88, 19);
        reset->SetCaption("Reset");
        reset->SetBorderColor(clBlack);
        reset->SetBorderDownColor(clMaroon);
        reset->SetBorderHotColor(clBlue);
        reset->OnClick = [this, page](rtl::TObject*) { ResetClick(page); };
        if (page == etSolarEclipse) {
            ESESaros = saros;
            ESEGoTo = goTo;
            TBSEReset = reset;
        } else {
            ELESaros = saros;
            ELEGoTo = goTo;
            TBLEReset = reset;
        }
    }

    PaintBox = new TPaintBox(this);
    PaintBox->SetParent(this);
    PaintBox->SetBounds(710, 30, 361, 180);
    PaintBox->OnPaint = [this](rtl::TObject*) {
        TCanvas* c = PaintBox->Canvas();
        c->Draw(0, 0, FMap.get());
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Pen()->SetStyle(TPenStyle::psSolid);
        c->Pen()->SetColor(clBlack);
        c->Pen()->SetWidth(1);
        c->Rectangle(0, 0, PaintBox->Width(), PaintBox->Height());
    };
    CBGeneralMap = new htmltext::THTMLCheckBox(this);
    CBGeneralMap->SetParent(this);
    CBGeneralMap->SetBounds(710, 218, 200, 20);
    CBGeneralMap->SetCaption("General map");
    SetUseGeneralMap(true);

    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(500);
    Timer->OnTimer = [this](rtl::TObject*) { TimerTimer(); };

    OKBtn = new TButton(this);
    OKBtn->SetParent(this);
    OKBtn->SetBounds(900, 524, 80, 26);
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    OKBtn->OnClick = [this](rtl::TObject*) { OKBtnClick(); };
    CancelBtn = new TButton(this);
    CancelBtn->SetParent(this);
    CancelBtn->SetBounds(990, 524, 80, 26);
    CancelBtn->SetCaption("Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);

    // FormCreate
    FEventType = etSolarEclipse;
    for (int i = 0; i < 4; ++i) CGSEType->SetItemChecked(i, true);
    ESESaros->SetText("");
    CGLEType->SetItemChecked(0, false);
    CGLEType->SetItemChecked(1, true);
    CGLEType->SetItemChecked(2, true);
    ELESaros->SetText("");
    FMap->LoadFromResourceName("WORLD_360");
    FMap->SetPixelFormat(TPixelFormat::pf24bit);
    for (auto [q, statement] : {std::pair{SETable, "SELECT * FROM BE_SE"}, {LETable, "SELECT * FROM BE_LE"}}) {
        q->SetDatabaseFile(DatabaseFile);
        q->SetSortOnClient(true);
        q->SQL().Add(statement);
        try {
            q->Open();
            FormatFields(q);
        } catch (const std::exception& e) {
            // The main window has told the user that the catalogue cannot
            // be opened: the lists stay empty without a message of their own.
            FCatalogueError = e.what();
        }
    }
    // The preview follows every change of the current row, 500 ms after
    // the last one.
    for (db::TDataSource* source : {SEDataSource, LEDataSource})
        source->OnDataChange = [this](rtl::TObject*, db::TField*) {
            Timer->SetEnabled(false);
            Timer->SetEnabled(true);
        };
    Order = "k";
    // Both lists start filtered by their checked types, so that the lunar
    // page never lists the penumbral eclipses its filter leaves out.
    FEventType = etLunarEclipse;
    ApplyFilter();
    SetEventType(etSolarEclipse);
    ApplyFilter();
}

TCatalogueDlg::~TCatalogueDlg()
{
    Timer->SetEnabled(false);
    SEDataSource->OnDataChange = nullptr;
    LEDataSource->OnDataChange = nullptr;
    SETable->Close();
    LETable->Close();
}

void TCatalogueDlg::SetUpGrid(dbgrids::TUxDBSortGrid* grid, TEventType page)
{
    using O = TDBGridOption;
    grid->SetDataSource(page == etSolarEclipse ? SEDataSource : LEDataSource);
    grid->SetReadOnly(true);
    grid->SetOptions(TDBGridOptions{O::dgTitles, O::dgColLines, O::dgRowLines, O::dgTabs, O::dgRowSelect,
                                    O::dgAlwaysShowSelection, O::dgConfirmDelete, O::dgCancelOnExit,
                                    O::dgTitleClick, O::dgTitleHotTrack});
    grid->SetFixedColor(GridFixedColor);
    grid->SetClearSelection(false);
    grid->SetAlternateRowColor(AlternateRowColor);
    grid->SelectColumnsDialogStrings() = {"Select columns", "&OK", "At least one column must be visible!"};
    // With AutoSizeRows on (the grid's default) these heights are stored
    // but not applied: the rows keep the platform's heights.
    grid->SetRowsHeight(17);
    grid->SetTitleRowHeight(17);
    grid->SetUseXPThemes(false);
    const char* magnitude = page == etSolarEclipse ? "Magnitude" : "MagUmbra";
    const char* fields[7] = {"CatNo", "DT", "Type", magnitude, "Gamma", "Saros", "k"};
    grid->BeginLayout();
    for (int c = 0; c < 7; ++c) {
        TColumn* column = grid->Columns()->Add();
        column->SetFieldName(fields[c]);
        column->Title()->SetCaption(ColumnTitles[c]);
        column->Title()->SetAlignment(ColumnAlignments[c]);
        column->SetAlignment(ColumnAlignments[c]);
        column->SetWidth(ColumnWidths[c]);
    }
    grid->EndLayout();
    grid->OnTitleClick = [this, page](TColumn* column) { TitleClick(page, column->Index()); };
}

void TCatalogueDlg::FormatFields(db::TSQLiteQuery* q)
{
    if (!q->Active()) return;
    for (const char* name : {"Gamma", "Magnitude", "MagUmbra"})
        if (db::TField* f = q->FindField(name)) f->SetDisplayFormat("0.0000");
}

void TCatalogueDlg::SetSECatNo(int value)
{
    FSECatNo = value;
    if (SETable->Active()) SETable->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(value)));
}

void TCatalogueDlg::SetLECatNo(int value)
{
    FLECatNo = value;
    if (LETable->Active()) LETable->Locate("CatNo", db::TFieldValue(static_cast<int64_t>(value)));
}

void TCatalogueDlg::SetEventType(TEventType value)
{
    FEventType = value;
    PageControl->SetActivePageIndex(value == etSolarEclipse ? 0 : 1);
    UpdateOKButton();
}

void TCatalogueDlg::UpdateOKButton()
{
    db::TSQLiteQuery* q = Query(FEventType);
    OKBtn->SetEnabled(q->Active() && !q->IsEmpty());
}

void TCatalogueDlg::SetUseGeneralMap(bool value)
{
    FUseGeneralMap = value;
    CBGeneralMap->SetChecked(value);
}

void TCatalogueDlg::PageControlChange()
{
    SetEventType(PageControl->ActivePageIndex() == 1 ? etLunarEclipse : etSolarEclipse);
    ApplyFilter();
}

void TCatalogueDlg::ApplyFilter()
{
    const TEventType page = FEventType;
    db::TSQLiteQuery* q = Query(page);
    controls::TExEdit* saros = page == etSolarEclipse ? ESESaros : ELESaros;
    if (!ValidSarosText(saros->Text())) {
        // Only a whole number can filter; the list stays as it is.
        MessageDlg("\"" + saros->Text() + "\" is not a Saros number.", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return;
    }
    htmltext::THTMLCheckGroup* group = page == etSolarEclipse ? CGSEType : CGLEType;
    std::array<bool, 4> types{};
    for (int i = 0; i < group->ButtonCount(); ++i) types[static_cast<std::size_t>(i)] = group->GetItemChecked(i);

    db::TFieldValue k;
    if (q->Active() && !q->IsEmpty()) k = q->FieldByName("k")->Value();
    q->Close();
    q->SQL().Clear();
    for (const std::string& line : CatalogueStatement(page, types, saros->Text(), Order)) q->SQL().Add(line);
    q->SetSort("");  // the statement's ORDER BY orders the rows
    try {
        q->Open();
    } catch (const std::exception& e) {
        if (FCatalogueError.empty()) MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        UpdateOKButton();
        return;
    }
    FormatFields(q);
    UpdateOKButton();
    if (!std::holds_alternative<std::monostate>(k)) q->Locate("k", k);
    SetCaption(std::string(page == etSolarEclipse ? "Solar" : "Lunar") + " Eclipse Catalogue [" +
               rtl::IntToStr(q->RecordCount()) + " entries]");
}

bool TCatalogueDlg::LoadedWithCurrentFilter(TEventType page) const
{
    // The statement the filter controls give now, but for its last line
    // (the order), against the one the rows were read with.
    htmltext::THTMLCheckGroup* group = page == etSolarEclipse ? CGSEType : CGLEType;
    const std::string sarosText = (page == etSolarEclipse ? ESESaros : ELESaros)->Text();
    db::TSQLiteQuery* q = Query(page);
    if (!q->Active() || !ValidSarosText(sarosText)) return false;
    std::array<bool, 4> types{};
    for (int i = 0; i < group->ButtonCount(); ++i) types[static_cast<std::size_t>(i)] = group->GetItemChecked(i);
    const std::vector<std::string> lines = CatalogueStatement(page, types, sarosText, Order);
    if (q->SQL().Count() != static_cast<int>(lines.size())) return false;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (q->SQL()[static_cast<int>(i)] != lines[i]) return false;
    return true;
}

void TCatalogueDlg::TitleClick(TEventType page, int column)
{
    db::TSQLiteQuery* q = Query(page);
    Order = CatalogueOrderForColumn(column, page);
    if (page == FEventType && LoadedWithCurrentFilter(page)) {
        // The rows are all loaded: they are ordered in memory, the same
        // order the statement gives (the keys end in a unique column), and
        // the cursor stays on its eclipse.
        q->SetSort(Order);
        return;
    }
    db::TFieldValue k;
    if (q->Active() && !q->IsEmpty()) k = q->FieldByName("k")->Value();
    ApplyFilter();
    if (!std::holds_alternative<std::monostate>(k) && q->Active()) q->Locate("k", k);
}

void TCatalogueDlg::GoToYearEdit(TEventType page)
{
    controls::TExEdit* e = page == etSolarEclipse ? ESEGoTo : ELEGoTo;
    if (rtl::Trim(e->Text()).empty()) return;
    if (Query(page)->Active()) GoToYear(*Query(page), e->IntValue());
    e->SetText("");
}

void TCatalogueDlg::ResetClick(TEventType page)
{
    if (page == etSolarEclipse) {
        ESESaros->SetText("");
        ESEGoTo->SetText("");
        for (int i = 0; i < 4; ++i) CGSEType->SetItemChecked(i, true);
    } else {
        ELESaros->SetText("");
        ELEGoTo->SetText("");
        CGLEType->SetItemChecked(0, false);
        CGLEType->SetItemChecked(1, true);
        CGLEType->SetItemChecked(2, true);
    }
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
