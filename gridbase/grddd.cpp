// grddd: the grid's drop target, drop source, source data and the drag loop.
#include "gridbase/grddd.h"

#include <chrono>
#include <cstring>
#include <map>
#include <thread>

#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace gridbase {

namespace {

bool gRTFDragDrop = false;

// Registered before any drag can start, so no drag offers format 0.
const gui::TClipboardFormat gColFormat = gui::RegisterClipboardFormat("Grid Column");
const gui::TClipboardFormat gRTFFormat = gui::RegisterClipboardFormat("Rich Text Format");
const gui::TClipboardFormat gURLFormat = gui::RegisterClipboardFormat("UniformResourceLocator");

std::map<gui::TWinControl*, TGRDDropTarget*>& Targets()
{
    static std::map<gui::TWinControl*, TGRDDropTarget*> targets;
    return targets;
}

std::vector<uint8_t> ZeroTerminated(const std::string& s)
{
    std::vector<uint8_t> b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

} // namespace

gui::TClipboardFormat CF_GRIDCOLUMN() { return gColFormat ? gColFormat : gui::RegisterClipboardFormat("Grid Column"); }
gui::TClipboardFormat CF_RICHTEXT() { return gRTFFormat ? gRTFFormat : gui::RegisterClipboardFormat("Rich Text Format"); }
gui::TClipboardFormat CF_URL()
{
    return gURLFormat ? gURLFormat : gui::RegisterClipboardFormat("UniformResourceLocator");
}

void SetRTFDragDrop(bool value) { gRTFDragDrop = value; }
bool RTFDragDrop() { return gRTFDragDrop; }

int DropEffectForKeys(gui::TShiftState shift, int allowed)
{
    if (shift.Contains(gui::TShiftStateItem::ssCtrl)) return gui::DROPEFFECT_COPY;
    if (allowed & gui::DROPEFFECT_MOVE) return gui::DROPEFFECT_MOVE;
    return gui::DROPEFFECT_COPY;
}

// --- source format enumerator -------------------------------------------------

HRESULT TSourceEnumFormatEtc::Next(int count, TFormatEtc* formats, int* fetched)
{
    const gui::TClipboardFormat list[4] = {gui::CF_TEXT, gui::CF_UNICODETEXT, CF_RICHTEXT(), CF_GRIDCOLUMN()};
    int n = 0;
    while (n < count && FIndex < EntryCount()) {
        formats[n] = TFormatEtc{};
        formats[n].cfFormat = list[FIndex];
        ++n;
        ++FIndex;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(int count)
{
    FIndex += count;
    if (FIndex > EntryCount()) {
        FIndex = EntryCount();
        return S_FALSE;
    }
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(std::unique_ptr<TSourceEnumFormatEtc>& enumFmt) const
{
    enumFmt = std::make_unique<TSourceEnumFormatEtc>(FHasCol, FIndex);
    return S_OK;
}

// --- source data ---------------------------------------------------------------

TSourceDataObject::TSourceDataObject(std::string text, std::string rtf, int colIndex)
    : textdata(std::move(text)), rtfdata(std::move(rtf)), scolidx(colIndex)
{
}

HRESULT TSourceDataObject::QueryGetData(const TFormatEtc& f) const
{
    if (f.dwAspect != DVASPECT_CONTENT || f.tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    if (!textdata.empty()) {
        if (f.cfFormat == gui::CF_TEXT || f.cfFormat == gui::CF_UNICODETEXT) return S_OK;
        if (f.cfFormat == CF_RICHTEXT() && gRTFDragDrop) return S_OK;
    }
    if (scolidx != -1 && f.cfFormat == CF_GRIDCOLUMN()) return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const TFormatEtc& f, TStgMedium& medium) const
{
    medium = TStgMedium{};
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    std::vector<uint8_t> block;
    if (f.cfFormat == gui::CF_TEXT) {
        block = ZeroTerminated(textdata);
    } else if (f.cfFormat == gui::CF_UNICODETEXT) {
        const std::u16string w = rtl::UTF8ToUTF16(textdata);
        block.resize(2 * (w.size() + 1), 0);
        std::memcpy(block.data(), w.data(), 2 * w.size());
    } else if (f.cfFormat == CF_RICHTEXT()) {
        block = ZeroTerminated(rtfdata);
    } else {
        const int32_t col = scolidx;
        block.resize(4);
        std::memcpy(block.data(), &col, 4);
    }
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = std::move(block);
    return S_OK;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc& out) const
{
    out.ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::EnumFormatEtc(int direction, std::unique_ptr<TSourceEnumFormatEtc>& enumFormatEtc) const
{
    if (direction != DATADIR_GET) {
        enumFormatEtc.reset();
        return E_NOTIMPL;
    }
    enumFormatEtc = std::make_unique<TSourceEnumFormatEtc>(scolidx != -1);
    return S_OK;
}

HRESULT TSourceDataObject::EnumDAdvise(void*& enumAdvise) const
{
    enumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

gui::TDataObject TSourceDataObject::ToDataObject() const
{
    gui::TDataObject data;
    std::unique_ptr<TSourceEnumFormatEtc> formats;
    EnumFormatEtc(DATADIR_GET, formats);
    TFormatEtc f;
    while (formats->Next(1, &f, nullptr) == S_OK) {
        TStgMedium m;
        if (GetData(f, m) != S_OK) continue;
        if (f.cfFormat == gui::CF_TEXT || f.cfFormat == gui::CF_UNICODETEXT) data.SetText(textdata);
        else if (f.cfFormat == CF_RICHTEXT()) data.SetData(f.cfFormat, ZeroTerminated(rtfdata));
        else data.SetData(f.cfFormat, m.hGlobal);
    }
    return data;
}

// --- target-side reader ----------------------------------------------------------

TEnumFormats::TEnumFormats(const gui::TDataObject& data) : FData(data) {}

bool TEnumFormats::HasText() const
{
    if (!FData.HasText()) return false;
    if (!FData.HasFiles()) return true;
    // A file drag shows its file addresses as text too; that is no text.
    const std::string text = FData.Text();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.rfind("file:", 0) != 0) return true;
        start = end + 1;
    }
    return false;
}
bool TEnumFormats::HasFile() const { return FData.HasFiles(); }
bool TEnumFormats::HasRTF() const { return FData.HasFormat(CF_RICHTEXT()); }
bool TEnumFormats::HasCol() const { return FData.HasFormat(CF_GRIDCOLUMN()); }
bool TEnumFormats::HasURL() const { return FData.HasFormat(CF_URL()); }

std::string TEnumFormats::Text() const { return HasText() ? FData.Text() : std::string(); }

std::string TEnumFormats::RTF() const
{
    if (!HasRTF()) return {};
    const std::vector<uint8_t> b = FData.Data(CF_RICHTEXT());
    std::string s(b.begin(), b.end());
    const std::size_t zero = s.find('\0');
    if (zero != std::string::npos) s.resize(zero);
    return s;
}

int TEnumFormats::Col() const
{
    if (!HasCol()) return -1;
    const std::vector<uint8_t> b = FData.Data(CF_GRIDCOLUMN());
    if (b.size() < 4) return -1;
    int32_t col = 0;
    std::memcpy(&col, b.data(), 4);
    return col;
}

bool TEnumFormats::FormatFiles()
{
    FFiles.Clear();
    for (const std::string& f : FData.Files()) {
        if (f.empty()) break;
        FFiles.Add(f);
    }
    return FFiles.Count() > 0;
}

// --- drop target -------------------------------------------------------------------

int TGRDDropTarget::DragEnter(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint, int allowed)
{
    TEnumFormats formats(data);
    FOk = (formats.HasText() && FAcceptText) || (formats.HasFile() && FAcceptFiles) ||
          (formats.HasRTF() && gRTFDragDrop && FAcceptText) || (formats.HasCol() && FAcceptCols) ||
          (formats.HasURL() && FAcceptURLs);
    FDropFormats = {};
    if (formats.HasText()) FDropFormats.Include(TDropFormat::dfText);
    if (formats.HasFile()) FDropFormats.Include(TDropFormat::dfFile);
    if (formats.HasRTF()) FDropFormats.Include(TDropFormat::dfRTF);
    if (formats.HasCol()) FDropFormats.Include(TDropFormat::dfCol);
    if (formats.HasURL()) FDropFormats.Include(TDropFormat::dfURL);
    const int effect = FOk ? DropEffectForKeys(shift, allowed) : gui::DROPEFFECT_NONE;
    DragMouseEnter();
    return effect;
}

int TGRDDropTarget::DragOver(gui::TShiftState shift, gui::TPoint pt, int allowed)
{
    const int effect = FOk ? DropEffectForKeys(shift, allowed) : gui::DROPEFFECT_NONE;
    bool allow = effect != gui::DROPEFFECT_NONE;
    DragMouseMove(pt, allow, FDropFormats);
    return allow ? effect : gui::DROPEFFECT_NONE;
}

void TGRDDropTarget::DragLeave() { DragMouseLeave(); }

int TGRDDropTarget::Drop(const gui::TDataObject& data, gui::TShiftState shift, gui::TPoint pt, int allowed)
{
    if (!FOk) return gui::DROPEFFECT_NONE;
    TEnumFormats formats(data);
    // A column goes to a target that takes columns; elsewhere the text that
    // made the drag acceptable is what arrives.
    if (formats.HasCol() && FAcceptCols) {
        DropCol(pt, formats.Col());
    } else {
        if (formats.HasRTF() && gRTFDragDrop) DropRTF(pt, formats.RTF());
        else if (formats.HasText()) DropText(pt, formats.Text());
        if (formats.HasFile() && formats.FormatFiles()) DropFiles(pt, formats.Files());
        if (formats.HasURL()) DropURL(pt, formats.Text());
    }
    return DropEffectForKeys(shift, allowed);
}

// --- drop source ---------------------------------------------------------------------

HRESULT TGRDDropSource::QueryContinueDrag(bool escapePressed, gui::TShiftState keys)
{
    HRESULT result = S_OK;
    if (escapePressed) {
        result = DRAGDROP_S_CANCEL;
    } else if (!keys.Contains(gui::TShiftStateItem::ssLeft)) {
        DragEnded();
        result = DRAGDROP_S_DROP;
    }
    QueryDrag();
    return result;
}

HRESULT TGRDDropSource::GiveFeedback(int effect)
{
    FNoAccept = effect == gui::DROPEFFECT_NONE;
    CurrentEffect(effect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// --- registration and the drag loop ---------------------------------------------------

void RegisterGridDropTarget(gui::TWinControl* window, TGRDDropTarget* target)
{
    Targets()[window] = target;
    gui::RegisterDragDrop(window, target);  // drags from other programs
}

void RevokeGridDropTarget(gui::TWinControl* window)
{
    if (Targets().erase(window)) gui::RevokeDragDrop(window);
}

TDragInputState TDragInput::Poll()
{
    gui::Application->ProcessMessages();
    // The pointer and keys are read about a hundred times a second.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    TDragInputState s;
    s.ScreenPos = gui::GetCursorPos();
    s.LeftDown = gui::GetKeyState(gui::VK_LBUTTON) < 0;
    s.Escape = gui::GetKeyState(gui::VK_ESCAPE) < 0;
    s.Shift = gui::GetShiftState();
    return s;
}

namespace {

// The registered window under the point, and the point in its client area.
TGRDDropTarget* TargetAt(gui::TPoint screen, gui::TPoint& client)
{
    for (gui::TControl* c = gui::FindDragTarget(screen, false); c; c = c->Parent()) {
        auto* win = dynamic_cast<gui::TWinControl*>(c);
        if (!win) continue;
        auto it = Targets().find(win);
        if (it != Targets().end()) {
            client = win->ScreenToClient(screen);
            return it->second;
        }
    }
    return nullptr;
}

HRESULT RunDrag(TGRDDropSource* source, const TSourceDataObject& object, int okEffects, int& effect,
                TDragInput* input)
{
    TDragInput standard;
    if (!input) input = &standard;
    const gui::TDataObject data = object.ToDataObject();
    TGRDDropTarget* current = nullptr;
    int lastEffect = gui::DROPEFFECT_NONE;
    HRESULT result = DRAGDROP_S_CANCEL;
    effect = gui::DROPEFFECT_NONE;
    for (;;) {
        const TDragInputState st = input->Poll();
        gui::TShiftState keys = st.Shift;
        if (st.LeftDown) keys.Include(gui::TShiftStateItem::ssLeft);
        else keys.Exclude(gui::TShiftStateItem::ssLeft);
        const HRESULT query = source ? source->QueryContinueDrag(st.Escape, keys) : S_OK;
        if (query == DRAGDROP_S_CANCEL) {
            if (current) current->DragLeave();
            result = DRAGDROP_S_CANCEL;
            break;
        }
        gui::TPoint client;
        TGRDDropTarget* target = TargetAt(st.ScreenPos, client);
        if (query == DRAGDROP_S_DROP) {
            if (current && current == target && lastEffect != gui::DROPEFFECT_NONE) {
                effect = current->Drop(data, keys, client, okEffects) & okEffects;
                result = DRAGDROP_S_DROP;
            } else if (current) {
                current->DragLeave();
            }
            break;
        }
        int e = gui::DROPEFFECT_NONE;
        if (target != current) {
            if (current) current->DragLeave();
            current = target;
            if (current) e = current->DragEnter(data, keys, client, okEffects);
        } else if (current) {
            e = current->DragOver(keys, client, okEffects);
        }
        lastEffect = e & okEffects;
        if (source) source->GiveFeedback(lastEffect);
    }
    if (source && source->NoAccept()) return DRAGDROP_S_CANCEL;
    return result;
}

} // namespace

HRESULT RunTextDragDrop(TGRDDropSource* dropSource, const std::string& text, const std::string& rtf, int okEffects,
                        int& effect, TDragInput* input)
{
    return RunDrag(dropSource, TSourceDataObject(text, rtf, -1), okEffects, effect, input);
}

HRESULT RunColumnDragDrop(TGRDDropSource* dropSource, int column, int okEffects, int& effect, TDragInput* input)
{
    return RunDrag(dropSource, TSourceDataObject("", "", column), okEffects, effect, input);
}

} // namespace gridbase
