// The typed edit's OLE drag and drop: the data object a dragged selection
// travels in (with its format enumerator), the drop source that ends the
// drag on release or Esc, a reader over dropped data (TEnumFormats) and the
// drop target base whose DropText / DropFiles the edit fills in.
//
// The rule a caller must know: rich text is never offered or taken (the
// module's switch stays off); the "Rich Text Format" identifier is
// registered when the module starts.
//
//     TSourceDataObject d("text", "");
//     auto e = d.EnumFormatEtc(DATADIR_GET);
//     TFormatEtc f[3]; int n = 0;
//     e->Next(3, f, &n);   // CF_TEXT, CF_UNICODETEXT, rich text; S_OK
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/DragDrop.h"

namespace controls {

class TExEdit;

enum : int { DVASPECT_CONTENT = 1, TYMED_HGLOBAL = 1, DATADIR_GET = 1, DATADIR_SET = 2 };
enum : int32_t {
    E_NOTIMPL = static_cast<int32_t>(0x80004001), DV_E_FORMATETC = static_cast<int32_t>(0x80040064),
    OLE_E_ADVISENOTSUPPORTED = static_cast<int32_t>(0x80040003),
};

struct TFormatEtc {
    gui::TClipboardFormat cfFormat = 0;
    void* ptd = nullptr;
    int dwAspect = DVASPECT_CONTENT;
    int lindex = -1;
    int tymed = TYMED_HGLOBAL;
};

// The module's switch for rich text (never set here) and its format.
bool RichTextDrops();
gui::TClipboardFormat CF_RTF();

// Copy with Ctrl, else move.
int ShiftStateToDropEffect(gui::TShiftState shift);

class TSourceEnumFormatEtc {
public:
    explicit TSourceEnumFormatEtc(int index = 0) : FIndex(index) {}
    // Up to count entries from the current one; S_OK when all were filled.
    int Next(int count, TFormatEtc* out, int* fetched);
    int Skip(int count);
    int Reset();
    std::unique_ptr<TSourceEnumFormatEtc> Clone() const { return std::make_unique<TSourceEnumFormatEtc>(FIndex); }

private:
    int FIndex = 0;
};

class TSourceDataObject {
public:
    TSourceDataObject(std::string text, std::string rtf) : textdata(std::move(text)), rtfdata(std::move(rtf)) {}
    // The enumerator for DATADIR_GET; nullptr (E_NOTIMPL) for other directions.
    std::unique_ptr<TSourceEnumFormatEtc> EnumFormatEtc(int direction, int* result = nullptr) const;
    int QueryGetData(const TFormatEtc& f) const;
    // The medium's bytes: ANSI text with a zero byte, or UTF-16 with a zero character.
    int GetData(const TFormatEtc& f, std::vector<uint8_t>& medium) const;
    int GetDataHere(const TFormatEtc&, std::vector<uint8_t>&) const { return DV_E_FORMATETC; }
    int SetData(const TFormatEtc&, const std::vector<uint8_t>&) { return DV_E_FORMATETC; }
    int GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc& out) const
    {
        out.ptd = nullptr;
        return E_NOTIMPL;
    }
    int DAdvise() const { return OLE_E_ADVISENOTSUPPORTED; }
    int DUnadvise() const { return OLE_E_ADVISENOTSUPPORTED; }
    int EnumDAdvise() const { return OLE_E_ADVISENOTSUPPORTED; }
    // What the drag carries through the platform.
    gui::TDataObject ToDataObject() const;

private:
    std::string textdata, rtfdata;
};

// A reader over dropped data.
class TEnumFormats {
public:
    explicit TEnumFormats(const gui::TDataObject& data);
    bool HasText() const { return FData.HasText(); }
    bool HasFile() const { return FData.HasFiles(); }
    bool HasRTF() const { return RichTextDrops() && FData.HasFormat(CF_RTF()); }
    std::string Text() const { return FData.Text(); }
    std::vector<std::string> Files() const { return FData.Files(); }

private:
    const gui::TDataObject& FData;
};

class TAEDropTarget : public gui::IDropTarget {
public:
    int DragEnter(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pos, int allowed) override;
    int DragOver(gui::TShiftState shift, gui::TPoint pos, int allowed) override;
    void DragLeave() override {}
    int Drop(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pos, int allowed) override;
    virtual void DropText(gui::TPoint, const std::string&) {}
    virtual void DropRTF(gui::TPoint, const std::string&) {}
    virtual void DropFiles(gui::TPoint, const std::vector<std::string>&) {}
    virtual void DragMouseMove(gui::TPoint, bool& allow) { allow = true; }
    // The keys of the last drag step.
    gui::TShiftState Keys() const { return FKeys; }

protected:
    bool FOk = false;
    gui::TShiftState FKeys;
};

class TEditDropTarget : public TAEDropTarget {
public:
    explicit TEditDropTarget(TExEdit* edit) : FExEdit(edit) {}
    void DropText(gui::TPoint pt, const std::string& s) override;
    void DragMouseMove(gui::TPoint pt, bool& allow) override;

private:
    TExEdit* FExEdit;
};

class TAEDropSource : public gui::IDropSource {
public:
    int QueryContinueDrag(bool escapePressed, gui::TShiftState keys) override;
    int GiveFeedback(int effect) override;
    bool NoAccept() const { return fNoAccept; }

private:
    bool fNoAccept = false;
};

// Drags text out of a window; DRAGDROP_S_CANCEL when the last feedback
// offered no effect, else the drag's result.
int StartTextDrag(gui::TWinControl* source, const std::string& text, const std::string& rtf, int okEffects, int& effect);

} // namespace controls
