// The map dialogs: the list of map descriptions in the Maps folder with
// the two built-in maps, the description of the current map, and the
// editor of a description file's curve defaults.
#pragma once

#include <string>
#include <vector>

#include "app/FloatEdit.h"
#include "app/MapData.h"
#include "app/MapTypes.h"
#include "controls/ExEdit.h"
#include "controls/ExToolBtn.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

namespace app {

class TMapsDlg : public gui::TForm {
public:
    explicit TMapsDlg(rtl::TComponent* owner);
    gui::TButton *OKBtn, *CancelBtn, *Button1, *Button2;
    gui::TStringGrid* StringGrid;
    std::string FMapsPath;
    std::vector<std::string> FileNames;
    std::string FFileName;
    bool FStandardMap = false;
    bool FGeneralMap = false;
    void SetMapsPath(const std::string& path);
    // Lists the descriptions (done when the dialog is shown).
    void FillList();
    void SelectRow(int row);
};

// Reads a description without validating it (the list's entries).
bool ReadMapDescription(const std::string& fileName, TMapData& data);

class TMapInfoDlg : public gui::TForm {
public:
    explicit TMapInfoDlg(rtl::TComponent* owner);
    gui::TLabel *LMapFileName, *LMapDimension, *LMapProjection, *LMapDescription, *LMapSource;
    gui::TButton *OKBtn, *BMapDefaults;
    TMapData FMapData;
    void SetMapData(const TMapData& data);
    void MapDefaultsClick();
};

class TDefaultsDlg : public gui::TForm {
public:
    explicit TDefaultsDlg(rtl::TComponent* owner);
    gui::TEdit* EDescription;
    // Whole degrees and minutes: digits only.
    controls::TExEdit *ECEMLabelScale, *ECEMLabelOffset, *ECETScale;
    // The widths and the magnitude step: 4 decimals, at most 1.
    TFloatEdit *ECEMScale, *ECEMWidth, *ECETWidth, *EVBLWidth;
    controls::TExToolButton* TBLoad;
    gui::TButton *OKBtn, *CancelBtn;
    std::string FMapFileName;
    TMapData MapData;
    bool Changed = false;
    void SetMapFileName(const std::string& name);
    // The main window's current curve values (TBLoad; Changed is set).
    void LoadCurrent(const TMapDrawSettings& current);
    // OK: asks before the file is rewritten; false keeps the dialog open.
    bool Confirm();

private:
    void ShowValues();
    bool ReadValues();
};

} // namespace app
