// GridPrintSettings: the string grid's full printing options (TPrintSettings
// of gridio/), derived from the base that grid/ paints with (fonts and
// UseDisplayFont), and their INI persistence.  Every grid made after
// InstallGridIOHooks owns one; reach it with PrintSettingsOf(grid).
//
// The rule a caller must know: Assign copies every published option (the
// fonts and title lines by content) but never FixedCellsAlways; a source of
// another class raises "Invalid class typecast" and changes nothing.
//
//   gridio::TPrintSettings* ps = gridio::PrintSettingsOf(*grid);
//   ps->PageNr = gridio::TPrintPosition::ppBottomCenter;
//   gridio::SavePrintSettings(*grid, "/tmp/print.ini", "Grid");
#pragma once

#include <memory>
#include <string>

#include "grid/ExGrid.h"
#include "platform/gui/Printers.h"

namespace gridio {

enum class TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum class TPrintBorders {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
enum class TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class TPrintSettings : public grid::TPrintSettings {
    RTL_CLASS(TPrintSettings, grid::TPrintSettings)
public:
    explicit TPrintSettings(grid::TExStringGrid* grid);
    std::string ClassName() const override { return "TPrintSettings"; }
    void Assign(const rtl::TPersistent* source) override;

    rtl::TStringList* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(const rtl::TStringList* v) { FTitleLines->Assign(v); }

    TPrintPosition Time = TPrintPosition::ppNone;
    TPrintPosition Date = TPrintPosition::ppNone;
    TPrintPosition PageNr = TPrintPosition::ppNone;
    std::string PageNumSep = "/";
    std::string DateFormat = "dd/mm/yyyy";
    TPrintPosition Title = TPrintPosition::ppNone;
    TPrintBorders Borders = TPrintBorders::pbSingle;
    gui::TPenStyle BorderStyle = gui::TPenStyle::psSolid;
    std::string TitleText;
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
    gui::TPrinterOrientation Orientation = gui::TPrinterOrientation::poPortrait;
    std::string PagePrefix, PageSuffix;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    int FixedWidth = 0;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = TFitToPage::fpNever;
    bool NoAutoSize = false;
    bool PrintGraphics = false;
    std::string JobName;
    bool NoAutoSizeRow = false;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    bool UseDefaultOrientation = false;
    // Public, not published: fixed rows and columns print with selected-only runs.
    bool FixedCellsAlways = false;
    gui::TColor BorderColor = 0;

private:
    std::unique_ptr<rtl::TStringList> FTitleLines = std::make_unique<rtl::TStringList>();
};

// The grid's print settings (nullptr for a grid made before the hooks).
TPrintSettings* PrintSettingsOf(grid::TExStringGrid& grid);

// The print settings INI (file key, section), read with the defaults of
// keys that are missing.
void SavePrintSettings(grid::TExStringGrid& grid, const std::string& key, const std::string& section);
void LoadPrintSettings(grid::TExStringGrid& grid, const std::string& key, const std::string& section);

} // namespace gridio
