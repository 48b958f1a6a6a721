// GridPrintSettings: the full print options and their INI file.
#include "gridio/GridPrintSettings.h"

#include "gridbase/ExUtil.h"
#include "platform/rtl/IniFiles.h"

namespace gridio {

RTL_PUBLISHED(TPrintSettings) {}

TPrintSettings::TPrintSettings(grid::TExStringGrid* grid) : grid::TPrintSettings(grid) {}

void TPrintSettings::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TPrintSettings*>(source);
    if (!s) throw rtl::Exception("Invalid class typecast");
    grid::TPrintSettings::Assign(s);  // the four fonts and UseDisplayFont
    const bool keep = FixedCellsAlways;
    auto titleLines = std::move(FTitleLines);
    // Every plain field copied at once, then the owned list given back.
    Time = s->Time;
    Date = s->Date;
    PageNr = s->PageNr;
    PageNumSep = s->PageNumSep;
    DateFormat = s->DateFormat;
    Title = s->Title;
    Borders = s->Borders;
    BorderStyle = s->BorderStyle;
    TitleText = s->TitleText;
    Centered = s->Centered;
    RepeatFixedRows = s->RepeatFixedRows;
    RepeatFixedCols = s->RepeatFixedCols;
    FooterSize = s->FooterSize;
    HeaderSize = s->HeaderSize;
    LeftSize = s->LeftSize;
    RightSize = s->RightSize;
    ColumnSpacing = s->ColumnSpacing;
    RowSpacing = s->RowSpacing;
    TitleSpacing = s->TitleSpacing;
    Orientation = s->Orientation;
    PagePrefix = s->PagePrefix;
    PageSuffix = s->PageSuffix;
    FixedHeight = s->FixedHeight;
    UseFixedHeight = s->UseFixedHeight;
    FixedWidth = s->FixedWidth;
    UseFixedWidth = s->UseFixedWidth;
    FitToPage = s->FitToPage;
    NoAutoSize = s->NoAutoSize;
    PrintGraphics = s->PrintGraphics;
    JobName = s->JobName;
    NoAutoSizeRow = s->NoAutoSizeRow;
    PageNumberOffset = s->PageNumberOffset;
    MaxPagesOffset = s->MaxPagesOffset;
    UseDefaultOrientation = s->UseDefaultOrientation;
    BorderColor = s->BorderColor;
    FTitleLines = std::move(titleLines);
    FTitleLines->Assign(s->FTitleLines.get());
    FixedCellsAlways = keep;
}

TPrintSettings* PrintSettingsOf(grid::TExStringGrid& grid)
{
    return dynamic_cast<TPrintSettings*>(grid.PrintSettings());
}

namespace {

TPrintSettings& Settings(grid::TExStringGrid& grid)
{
    TPrintSettings* ps = PrintSettingsOf(grid);
    if (!ps) throw grid::ZEziDoroZezuz("The grid has no print settings of its own");
    return *ps;
}

int StyleBits(const gui::TFontStyles& s)
{
    return (s.Contains(gui::TFontStyle::fsBold) ? 1 : 0) | (s.Contains(gui::TFontStyle::fsItalic) ? 2 : 0) |
           (s.Contains(gui::TFontStyle::fsUnderline) ? 4 : 0) | (s.Contains(gui::TFontStyle::fsStrikeOut) ? 8 : 0);
}

void WriteFont(rtl::TCustomIniFile& ini, const std::string& sec, const std::string& p, const gui::TFont* f)
{
    ini.WriteString(sec, p + "Name", f->Name());
    ini.WriteInteger(sec, p + "Size", f->Size());
    ini.WriteInteger(sec, p + "Style", StyleBits(f->Style()));
    ini.WriteInteger(sec, p + "Color", static_cast<int32_t>(f->Color()));
}

void ReadFont(const rtl::TCustomIniFile& ini, const std::string& sec, const std::string& p, gui::TFont* f)
{
    f->SetName(ini.ReadString(sec, p + "Name", "Arial"));
    f->SetSize(ini.ReadInteger(sec, p + "Size", 10));
    // Styles are added: a style the font has stays set.
    const int bits = ini.ReadInteger(sec, p + "Style", 0);
    gui::TFontStyles s = f->Style();
    if (bits & 1) s.Include(gui::TFontStyle::fsBold);
    if (bits & 2) s.Include(gui::TFontStyle::fsItalic);
    if (bits & 4) s.Include(gui::TFontStyle::fsUnderline);
    if (bits & 8) s.Include(gui::TFontStyle::fsStrikeOut);
    f->SetStyle(s);
    f->SetColor(static_cast<gui::TColor>(ini.ReadInteger(sec, p + "Color", 0)));
}

std::string YesNo(bool v) { return v ? "Y" : "N"; }

} // namespace

void SavePrintSettings(grid::TExStringGrid& grid, const std::string& key, const std::string& section)
{
    TPrintSettings& ps = Settings(grid);
    rtl::TMemIniFile ini(key);
    const std::string& s = section;
    ini.WriteInteger(s, "ColumnSpacing", ps.ColumnSpacing);
    ini.WriteInteger(s, "RowSpacing", ps.RowSpacing);
    ini.WriteInteger(s, "TitleSpacing", ps.TitleSpacing);
    ini.WriteInteger(s, "FixedHeight", ps.FixedHeight);
    ini.WriteInteger(s, "FixedWidth", ps.FixedWidth);
    ini.WriteString(s, "Centered", YesNo(ps.Centered));
    ini.WriteString(s, "NoAutoSize", YesNo(ps.NoAutoSize));
    ini.WriteString(s, "UseFixedHeight", YesNo(ps.UseFixedHeight));
    ini.WriteString(s, "UseFixedWidth", YesNo(ps.UseFixedWidth));
    ini.WriteString(s, "RepeatFixedRows", YesNo(ps.RepeatFixedRows));
    ini.WriteString(s, "RepeatFixedCols", YesNo(ps.RepeatFixedCols));
    ini.WriteString(s, "UseDisplFont", YesNo(ps.UseDisplayFont()));
    ini.WriteString(s, "UseDefOrientation", YesNo(ps.UseDefaultOrientation));
    ini.WriteInteger(s, "Borders", static_cast<int>(ps.Borders));
    ini.WriteInteger(s, "BorderColor", static_cast<int32_t>(ps.BorderColor));
    ini.WriteInteger(s, "BorderStyle", static_cast<int>(ps.BorderStyle));
    ini.WriteInteger(s, "Date", static_cast<int>(ps.Date));
    ini.WriteInteger(s, "PageNr", static_cast<int>(ps.PageNr));
    ini.WriteInteger(s, "Title", static_cast<int>(ps.Title));
    ini.WriteInteger(s, "Time", static_cast<int>(ps.Time));
    ini.WriteString(s, "DateFormat", ps.DateFormat);
    ini.WriteString(s, "TitleText", ps.TitleText);
    ini.WriteInteger(s, "FooterSize", ps.FooterSize);
    ini.WriteInteger(s, "HeaderSize", ps.HeaderSize);
    ini.WriteInteger(s, "LeftSize", ps.LeftSize);
    ini.WriteInteger(s, "RightSize", ps.RightSize);
    ini.WriteInteger(s, "FitToPage", static_cast<int>(ps.FitToPage));
    WriteFont(ini, s, "Font", ps.Font());
    WriteFont(ini, s, "HeaderFont", ps.HeaderFont());
    WriteFont(ini, s, "FooterFont", ps.FooterFont());
    ini.WriteString(s, "PageNumSep", ps.PageNumSep);
    ini.WriteString(s, "PageSuffix", ps.PageSuffix);
    ini.WriteString(s, "PagePrefix", ps.PagePrefix);
    ini.WriteInteger(s, "Orientation", static_cast<int>(ps.Orientation));
    std::string lines;
    for (int i = 0; i < ps.TitleLines()->Count(); ++i) lines += ps.TitleLines()->Strings(i) + "\r\n";
    ini.WriteString(s, "TitleLines", gridbase::CRToEscapedNewlines(lines));
    ini.UpdateFile();
}

void LoadPrintSettings(grid::TExStringGrid& grid, const std::string& key, const std::string& section)
{
    TPrintSettings& ps = Settings(grid);
    const rtl::TMemIniFile ini(key);
    const std::string& s = section;
    auto yes = [&](const char* k, const char* def) { return ini.ReadString(s, k, def) == "Y"; };
    auto ordinal = [&](const char* k, int lo, int hi, auto& field) {
        const int v = ini.ReadInteger(s, k, 0);
        if (v >= lo && v <= hi) field = static_cast<std::decay_t<decltype(field)>>(v);
    };
    auto position = [&](const char* k) {
        const int v = ini.ReadInteger(s, k, 0);
        return v >= 1 && v <= 6 ? static_cast<TPrintPosition>(v) : TPrintPosition::ppNone;
    };
    ps.ColumnSpacing = ini.ReadInteger(s, "ColumnSpacing", 20);
    ps.RowSpacing = ini.ReadInteger(s, "RowSpacing", 20);
    ps.TitleSpacing = ini.ReadInteger(s, "TitleSpacing", 20);
    ps.FixedHeight = ini.ReadInteger(s, "FixedHeight", 0);
    ps.FixedWidth = ini.ReadInteger(s, "FixedWidth", 0);
    ps.Centered = yes("Centered", "Y");
    ps.NoAutoSize = yes("NoAutoSize", "N");
    ps.UseFixedHeight = yes("UseFixedHeight", "N");
    ps.UseFixedWidth = yes("UseFixedWidth", "N");
    ps.RepeatFixedRows = yes("RepeatFixedRows", "N");
    ps.RepeatFixedCols = yes("RepeatFixedCols", "N");
    ps.SetUseDisplayFont(yes("UseDisplFont", "N"));
    ps.UseDefaultOrientation = yes("UseDefOrientation", "N");
    ordinal("Borders", 0, 8, ps.Borders);
    ps.BorderColor = static_cast<gui::TColor>(ini.ReadInteger(s, "BorderColor", 0));
    ordinal("BorderStyle", 0, 6, ps.BorderStyle);
    ps.Date = position("Date");
    ps.PageNr = position("PageNr");
    ps.Title = position("Title");
    ps.Time = position("Time");
    ps.DateFormat = ini.ReadString(s, "DateFormat", "");
    ps.TitleText = ini.ReadString(s, "TitleText", "");
    ps.FooterSize = ini.ReadInteger(s, "FooterSize", 100);
    ps.HeaderSize = ini.ReadInteger(s, "HeaderSize", 100);
    ps.LeftSize = ini.ReadInteger(s, "LeftSize", 100);
    ps.RightSize = ini.ReadInteger(s, "RightSize", 100);
    ordinal("FitToPage", 0, 4, ps.FitToPage);
    ReadFont(ini, s, "Font", ps.Font());
    ReadFont(ini, s, "HeaderFont", ps.HeaderFont());
    ReadFont(ini, s, "FooterFont", ps.FooterFont());
    ps.PageNumSep = ini.ReadString(s, "PageNumSep", "");
    ps.PageSuffix = ini.ReadString(s, "PageSuffix", "");
    ps.PagePrefix = ini.ReadString(s, "PagePrefix", "");
    ordinal("Orientation", 0, 1, ps.Orientation);
    ps.TitleLines()->SetText(gridbase::EscapedNewlinesToCR(ini.ReadString(s, "TitleLines", "")));
}

} // namespace gridio
