// The engine, preview, print and report options and the styles of a
// report.  Part of qlrClass.h.
#pragma once

#include "report/qlrClassText.h"

namespace qlr {

// ------------------------------------------------------ options and styles

enum class TqlrSilentMode { simMessageBoxes, simSilent, simReThrow };
RTL_ENUM(TqlrSilentMode, "simMessageBoxes", "simSilent", "simReThrow")
enum class TqlrPreviewButton {
    pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, pbNavigator,
    pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail
};
using TqlrPreviewButtons = rtl::Set<TqlrPreviewButton, 16>;
RTL_ENUM(TqlrPreviewButton, "pbPrint", "pbLoad", "pbSave", "pbExport", "pbZoom", "pbFind", "pbOutline",
         "pbPageSetup", "pbTools", "pbEdit", "pbNavigator", "pbExportQuick", "pbNoClose", "pbNoFullScreen",
         "pbNoEmail")
RTL_SET(TqlrPreviewButtons, TqlrPreviewButton)
enum class TqlrZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
RTL_ENUM(TqlrZoomMode, "zmDefault", "zmWholePage", "zmPageWidth", "zmManyPages")
enum class TqlrPrintMode { pmDefault, pmSplit, pmJoin, pmScale };
RTL_ENUM(TqlrPrintMode, "pmDefault", "pmSplit", "pmJoin", "pmScale")
enum class TqlrPrintPages { ppAll, ppOdd, ppEven };
RTL_ENUM(TqlrPrintPages, "ppAll", "ppOdd", "ppEven")
enum class TqlrDuplexMode { dmNone, dmVertical, dmHorizontal, dmSimplex };
RTL_ENUM(TqlrDuplexMode, "dmNone", "dmVertical", "dmHorizontal", "dmSimplex")

class TqlrEngineOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrEngineOptions, rtl::TPersistent)
public:
    TqlrEngineOptions() { Clear(); }
    bool ConvertNulls = true, DestroyForms = true, DoublePass = false;
    int MaxMemSize = 10;
    bool PrintIfEmpty = true;
    void* ReportThread = nullptr;
    bool EnableThreadSafe = false;
    TqlrSilentMode NewSilentMode = TqlrSilentMode::simMessageBoxes;
    std::string TempDir;
    bool UseFileCache = false, UseGlobalDataSetList = true, IgnoreDevByZero = false;
    // True exactly for simSilent; writing False gives simMessageBoxes.
    bool SilentMode() const { return NewSilentMode == TqlrSilentMode::simSilent; }
    void SetSilentMode(bool v) { NewSilentMode = v ? TqlrSilentMode::simSilent : TqlrSilentMode::simMessageBoxes; }
    // Copies all but DestroyForms, ReportThread, EnableThreadSafe and
    // UseGlobalDataSetList.
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
};

class TqlrPreviewOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrPreviewOptions, rtl::TPersistent)
public:
    TqlrPreviewOptions() { Clear(); }
    bool AllowEdit = true;
    TqlrPreviewButtons Buttons = TqlrPreviewButtons::FromMask(0x0FFF);
    bool DoubleBuffered = true, Maximized = true, MDIChild = false, Modal = true, OutlineExpand = true,
         OutlineVisible = false;
    int OutlineWidth = 120, PagesInCache = 50;
    bool ShowCaptions = false, ThumbnailVisible = false;
    long double Zoom = 1.0;
    TqlrZoomMode ZoomMode = TqlrZoomMode::zmDefault;
    bool PictureCacheInFile = false, RTLPreview = false;
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
};

class TqlrPrintOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrPrintOptions, rtl::TPersistent)
public:
    TqlrPrintOptions();
    int Copies = 1;
    bool Collate = true;
    std::string PageNumbers;
    int PagesOnSheet = 0;
    std::string Printer;
    TqlrPrintMode PrintMode = TqlrPrintMode::pmDefault;
    int PrintOnSheet = 0;
    TqlrPrintPages PrintPages = TqlrPrintPages::ppAll;
    bool Reverse = false, ShowDialog = true, SwapPageSize = false;
    std::string PrnOutFileName;
    TqlrDuplexMode Duplex = TqlrDuplexMode::dmNone;
    int SplicingLine = 3;
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
};

class TqlrReportOptions : public rtl::TPersistent {
    RTL_CLASS(TqlrReportOptions, rtl::TPersistent)
public:
    explicit TqlrReportOptions(TqlrReport* report = nullptr);
    std::string Author;
    bool Compressed = false;
    std::string ConnectionName;
    double CreateDate = 0, LastChange = 0;
    rtl::TStringList* Description() const { return FDescription.get(); }
    void SetDescription(rtl::TStringList* v) { FDescription->Assign(v); }
    std::string InitString, Name, Password;
    std::string VersionBuild, VersionMajor, VersionMinor, VersionRelease;
    // The password accepted while the program runs.
    std::string PrevPassword;
    void Assign(const rtl::TPersistent* source) override;
    void Clear();
    // Stores the name; with a name and the report's OnSetConnection set,
    // hands it every non-empty connection string stored under that name in
    // the registry stand-in ("Software\Quillory\Connections", then
    // "...ConnectionsFIB": a later one overrides).  The registry is only read.
    void SetConnectionName(const std::string& value);
    // Asks for the password at most once per run (see the .cpp).
    bool CheckPassword();
    TqlrReport* Report() const { return FReport; }

private:
    TqlrReport* FReport;
    std::unique_ptr<rtl::TStringList> FDescription;
};

class TqlrStyleItem : public rtl::TCollectionItem {
    RTL_CLASS(TqlrStyleItem, rtl::TCollectionItem)
public:
    explicit TqlrStyleItem(rtl::TCollection* collection);
    const std::string& Name() const { return FName; }
    // Raises "Duplicate name" for a name another item has (case ignored).
    void SetName(const std::string& v);
    gui::TColor Color() const { return FColor; }
    void SetColor(gui::TColor v) { FColor = v; }
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(gui::TFont* v) { FFont->Assign(v); }
    TqlrFrame* Frame() const { return FFrame.get(); }
    void SetFrame(TqlrFrame* v) { FFrame->Assign(v); }
    void Assign(const rtl::TPersistent* source) override;
    void CreateUniqueName();

private:
    std::string FName;
    gui::TColor FColor = gui::clNone;
    std::unique_ptr<gui::TFont> FFont;
    std::unique_ptr<TqlrFrame> FFrame;
};

class TqlrStyles : public rtl::TCollection {
    RTL_CLASS(TqlrStyles, rtl::TCollection)
public:
    explicit TqlrStyles(TqlrReport* report = nullptr);
    TqlrStyleItem* Add() { return static_cast<TqlrStyleItem*>(rtl::TCollection::Add()); }
    TqlrStyleItem* Item(int index) const { return static_cast<TqlrStyleItem*>(Items(index)); }
    TqlrStyleItem* Find(const std::string& name) const;
    void GetList(rtl::TStringList& list) const;
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    TqlrReport* Report() const { return FReport; }
    void LoadFromXMLItem(TqlrXMLItem* item, bool oldXMLFormat = false);
    void SaveToXMLItem(TqlrXMLItem* item);
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream);
    // Re-applies the styles to the report's memos; a memo whose style is not
    // here loses its style name.
    void Apply();

private:
    std::string FName;
    TqlrReport* FReport;
};

class TqlrStyleSheet {
public:
    void Clear() { FItems.clear(); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    TqlrStyles* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    TqlrStyles* Items(int index) const { return FItems[static_cast<std::size_t>(index)].get(); }
    TqlrStyles* Find(const std::string& name) const;
    int IndexOf(const std::string& name) const;
    void GetList(rtl::TStringList& list) const;
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream);

private:
    std::vector<std::unique_ptr<TqlrStyles>> FItems;
};

} // namespace qlr
