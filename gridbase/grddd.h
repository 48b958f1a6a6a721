// grddd: the string grid's drag and drop.  TGRDDropTarget recognises text,
// rich text, file lists, URLs and grid columns in a drag and hands each to
// an overridable handler; TGRDDropSource follows a drag the grid started;
// TSourceDataObject carries cell text (with its rich-text form) or a column
// index out of a grid; RunTextDragDrop and RunColumnDragDrop run the drag.
//
// The rules a caller must know:
//  - Register a target for its window with RegisterGridDropTarget and
//    revoke it before freeing it; the target and the source stay the
//    caller's.
//  - A drag carrying a column delivers DropCol alone when the target takes
//    columns; otherwise its text (or rich text) is delivered as text.
//  - The named formats "Grid Column", "Rich Text Format" and
//    "UniformResourceLocator" are registered when the program starts.
//
//   struct TCellDrop : gridbase::TGRDDropTarget {
//       void DropText(gui::TPoint pt, const std::string& s) override { ... }
//   };
//   gridbase::RegisterGridDropTarget(grid, &target);
//   int effect = 0;
//   gridbase::RunTextDragDrop(&source, "cell", "", gui::DROPEFFECT_COPY | gui::DROPEFFECT_MOVE, effect);
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/DragDrop.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Set.h"

namespace gridbase {

// Result codes of the drag-and-drop calls, with their customary values.
using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);

constexpr uint32_t DVASPECT_CONTENT = 1;
constexpr uint32_t TYMED_HGLOBAL = 1;
constexpr int DATADIR_GET = 1;
constexpr int DATADIR_SET = 2;

// The registered named formats (registered at start).
gui::TClipboardFormat CF_GRIDCOLUMN();
gui::TClipboardFormat CF_RICHTEXT();
gui::TClipboardFormat CF_URL();

// Rich text is offered and taken only while this switch is on (off at start).
void SetRTFDragDrop(bool value);
bool RTFDragDrop();

struct TFormatEtc {
    gui::TClipboardFormat cfFormat = 0;
    void* ptd = nullptr;
    uint32_t dwAspect = DVASPECT_CONTENT;
    int32_t lindex = -1;
    uint32_t tymed = TYMED_HGLOBAL;
};

// A storage medium: a memory block the receiver owns.
struct TStgMedium {
    uint32_t tymed = 0;
    std::vector<uint8_t> hGlobal;
};

enum class TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL };
using TDropFormats = rtl::Set<TDropFormat, 8>;

// Copy with Ctrl; otherwise a move when the allowed effects hold one, else a copy.
int DropEffectForKeys(gui::TShiftState shift, int allowed);

// The formats of a source's data: CF_TEXT, CF_UNICODETEXT, rich text and,
// for a column drag, the column format.
class TSourceEnumFormatEtc {
public:
    explicit TSourceEnumFormatEtc(bool hasCol, int index = 0) : FIndex(index), FHasCol(hasCol) {}
    // Fills up to count entries; S_FALSE when fewer than asked were left.
    HRESULT Next(int count, TFormatEtc* formats, int* fetched);
    HRESULT Skip(int count);
    HRESULT Reset();
    HRESULT Clone(std::unique_ptr<TSourceEnumFormatEtc>& enumFmt) const;
    int EntryCount() const { return FHasCol ? 4 : 3; }

private:
    int FIndex;
    bool FHasCol;
};

// The data of a drag out of a grid: text and its rich-text form, or a
// column index (-1 for none).
class TSourceDataObject {
public:
    TSourceDataObject(std::string text, std::string rtf, int colIndex);

    HRESULT QueryGetData(const TFormatEtc& formatetc) const;
    // CF_TEXT: 8-bit text, CF_UNICODETEXT: UTF-16, rich text: 8-bit, each
    // zero-terminated; the column format: the index as 4 bytes.
    HRESULT GetData(const TFormatEtc& formatetc, TStgMedium& medium) const;
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) const { return DV_E_FORMATETC; }
    HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) { return DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc& out) const;
    HRESULT EnumFormatEtc(int direction, std::unique_ptr<TSourceEnumFormatEtc>& enumFormatEtc) const;
    HRESULT DAdvise() const { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise() const { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(void*& enumAdvise) const;

    // The data as the platform carries it: every format the object answers.
    gui::TDataObject ToDataObject() const;

private:
    std::string textdata;
    std::string rtfdata;
    int scolidx;
};

// A reader over the formats a drag offers.
class TEnumFormats {
public:
    explicit TEnumFormats(const gui::TDataObject& data);
    bool HasText() const;
    bool HasFile() const;
    bool HasRTF() const;
    bool HasCol() const;
    bool HasURL() const;
    std::string Text() const;
    std::string RTF() const;
    // The column index, -1 when absent or unreadable.
    int Col() const;
    // The dropped file names; true when there is at least one.
    bool FormatFiles();
    rtl::TStringList* Files() { return &FFiles; }

private:
    const gui::TDataObject& FData;
    rtl::TStringList FFiles;
};

// A grid window's drop target.  The handlers are empty here; the point is
// in the window's client coordinates.
class TGRDDropTarget : public gui::IDropTarget {
public:
    TGRDDropTarget() = default;

    int DragEnter(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pt, int allowed) override;
    int DragOver(gui::TShiftState shift, gui::TPoint pt, int allowed) override;
    void DragLeave() override;
    int Drop(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pt, int allowed) override;

    virtual void DropText(gui::TPoint pt, const std::string& s) {}
    virtual void DropCol(gui::TPoint pt, int col) {}
    virtual void DropRTF(gui::TPoint pt, const std::string& s) {}
    virtual void DropFiles(gui::TPoint pt, rtl::TStringList* files) {}
    virtual void DropURL(gui::TPoint pt, const std::string& s) {}
    virtual void DragMouseMove(gui::TPoint pt, bool& allow, TDropFormats dropFormats) {}
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}

    bool AcceptText() const { return FAcceptText; }
    void SetAcceptText(bool v) { FAcceptText = v; }
    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool v) { FAcceptFiles = v; }
    bool AcceptCols() const { return FAcceptCols; }
    void SetAcceptCols(bool v) { FAcceptCols = v; }
    bool AcceptURLs() const { return FAcceptURLs; }
    void SetAcceptURLs(bool v) { FAcceptURLs = v; }
    TDropFormats DropFormats() const { return FDropFormats; }
    void SetDropFormats(TDropFormats v) { FDropFormats = v; }

private:
    bool FOk = false;
    bool FAcceptText = true;
    bool FAcceptFiles = true;
    bool FAcceptCols = false;
    bool FAcceptURLs = true;
    TDropFormats FDropFormats;
};

// Follows a drag the grid started.  The handlers are empty here.
class TGRDDropSource {
public:
    virtual ~TGRDDropSource() = default;
    HRESULT QueryContinueDrag(bool escapePressed, gui::TShiftState keys);
    HRESULT GiveFeedback(int effect);
    // The last feedback said no drop is possible.
    bool NoAccept() const { return FNoAccept; }

    virtual void DragEnded() {}
    virtual void CurrentEffect(int effect) {}
    virtual void QueryDrag() {}

private:
    bool FNoAccept = false;
};

void RegisterGridDropTarget(gui::TWinControl* window, TGRDDropTarget* target);
void RevokeGridDropTarget(gui::TWinControl* window);

// What the drag loop reads at each step: the pointer in screen
// coordinates, the left button, Escape and the modifier keys.
struct TDragInputState {
    gui::TPoint ScreenPos;
    bool LeftDown = false;
    bool Escape = false;
    gui::TShiftState Shift;
};

// The source of the drag loop's input.  The default one handles the
// pending messages and reads the pointer and the keys; tests script it.
class TDragInput {
public:
    virtual ~TDragInput() = default;
    virtual TDragInputState Poll();
};

// Runs a modal drag of text (and its rich text) until the button is
// released or Escape pressed; effect receives the effect done.  Returns
// DRAGDROP_S_DROP, or DRAGDROP_S_CANCEL when cancelled or when the last
// feedback allowed no drop.
HRESULT RunTextDragDrop(TGRDDropSource* dropSource, const std::string& text, const std::string& rtf, int okEffects,
                        int& effect, TDragInput* input = nullptr);
HRESULT RunColumnDragDrop(TGRDDropSource* dropSource, int column, int okEffects, int& effect,
                          TDragInput* input = nullptr);

} // namespace gridbase
