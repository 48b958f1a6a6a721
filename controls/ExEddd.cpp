// The typed edit's drag and drop objects, and the edit's part: starting a
// drag from its selection and taking dropped text at the mouse.

#include "controls/ExEddd.h"

#include "controls/ExEdit.h"
#include "platform/rtl/Strings.h"

namespace controls {

using namespace gui;

namespace {
// Registered when the module starts, so both sides of a drag know it.
const TClipboardFormat gRtfFormat = RegisterClipboardFormat("Rich Text Format");
} // namespace

bool RichTextDrops() { return false; }
TClipboardFormat CF_RTF() { return gRtfFormat; }

int ShiftStateToDropEffect(TShiftState shift)
{
    return shift.Contains(TShiftStateItem::ssCtrl) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

// ------------------------------------------------------------ enumerator

static TFormatEtc EntryAt(int i)
{
    TFormatEtc f;
    f.cfFormat = i == 0 ? static_cast<TClipboardFormat>(CF_TEXT) : i == 1 ? static_cast<TClipboardFormat>(CF_UNICODETEXT) : CF_RTF();
    return f;
}

int TSourceEnumFormatEtc::Next(int count, TFormatEtc* out, int* fetched)
{
    int n = 0;
    while (n < count && FIndex < 3) out[n++] = EntryAt(FIndex++);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

int TSourceEnumFormatEtc::Skip(int count)
{
    FIndex += count;
    if (FIndex <= 3) return S_OK;
    FIndex = 3;
    return S_FALSE;
}

int TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

// ----------------------------------------------------------- data object

std::unique_ptr<TSourceEnumFormatEtc> TSourceDataObject::EnumFormatEtc(int direction, int* result) const
{
    if (direction != DATADIR_GET) {
        if (result) *result = E_NOTIMPL;
        return nullptr;
    }
    if (result) *result = S_OK;
    return std::make_unique<TSourceEnumFormatEtc>();
}

int TSourceDataObject::QueryGetData(const TFormatEtc& f) const
{
    const bool format = f.cfFormat == CF_TEXT || f.cfFormat == CF_UNICODETEXT || (RichTextDrops() && f.cfFormat == CF_RTF());
    return f.dwAspect == DVASPECT_CONTENT && format && f.tymed == TYMED_HGLOBAL ? int32_t(S_OK) : int32_t(DV_E_FORMATETC);
}

int TSourceDataObject::GetData(const TFormatEtc& f, std::vector<uint8_t>& medium) const
{
    medium.clear();
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    if (f.cfFormat == CF_UNICODETEXT) {
        const std::u16string u = rtl::UTF8ToUTF16(textdata);
        for (char16_t c : u) {
            medium.push_back(static_cast<uint8_t>(c & 0xFF));
            medium.push_back(static_cast<uint8_t>(c >> 8));
        }
        medium.push_back(0);
        medium.push_back(0);
    } else if (f.cfFormat == CF_TEXT) {
        // The ANSI code page: characters outside it become "?".
        for (char16_t c : rtl::UTF8ToUTF16(textdata)) medium.push_back(c < 0x100 ? static_cast<uint8_t>(c) : '?');
        medium.push_back(0);
    } else {
        medium.assign(rtfdata.begin(), rtfdata.end());
        medium.push_back(0);
    }
    return S_OK;
}

TDataObject TSourceDataObject::ToDataObject() const
{
    TDataObject d;
    d.SetText(textdata);
    return d;
}

TEnumFormats::TEnumFormats(const TDataObject& data) : FData(data) {}

// ------------------------------------------------------------ drop target

int TAEDropTarget::DragEnter(const TDataObject& data, TShiftState shift, TPoint, int)
{
    const TEnumFormats f(data);
    FKeys = shift;
    FOk = f.HasText() || f.HasFile() || f.HasRTF();
    return FOk ? ShiftStateToDropEffect(shift) : DROPEFFECT_NONE;
}

int TAEDropTarget::DragOver(TShiftState shift, TPoint pos, int)
{
    FKeys = shift;
    int effect = FOk ? ShiftStateToDropEffect(shift) : DROPEFFECT_NONE;
    bool allow = true;
    DragMouseMove(pos, allow);
    if (!allow) effect = DROPEFFECT_NONE;
    return effect;
}

int TAEDropTarget::Drop(const TDataObject& data, TShiftState shift, TPoint pos, int)
{
    FKeys = shift;
    if (!FOk) return DROPEFFECT_NONE;
    const TEnumFormats f(data);
    if (f.HasFile()) DropFiles(pos, f.Files());
    else if (f.HasText()) DropText(pos, f.Text());
    return ShiftStateToDropEffect(shift);
}

// ------------------------------------------------------------ drop source

int TAEDropSource::QueryContinueDrag(bool escapePressed, TShiftState keys)
{
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!keys.Contains(TShiftStateItem::ssLeft)) return DRAGDROP_S_DROP;
    return S_OK;
}

int TAEDropSource::GiveFeedback(int effect)
{
    fNoAccept = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

int StartTextDrag(TWinControl* source, const std::string& text, const std::string& rtf, int okEffects, int& effect)
{
    TAEDropSource src;
    const TSourceDataObject data(text, rtf);
    const int r = DoDragDrop(source, data.ToDataObject(), okEffects, src, effect);
    return src.NoAccept() ? DRAGDROP_S_CANCEL : r;
}

// ------------------------------------------------------------- the edit

void TEditDropTarget::DragMouseMove(TPoint pt, bool& allow)
{
    allow = true;
    TExEdit* e = FExEdit;
    const int c = e->CharFromPos(pt);
    const TPoint p = e->PosFromChar(c);
    if (p.X != e->FCaretPos.X || p.Y != e->FCaretPos.Y) {
        e->FCaretPos = p;
        e->Invalidate();
    }
}

void TEditDropTarget::DropText(TPoint pt, const std::string& text)
{
    TExEdit* e = FExEdit;
    std::string s = text;
    if (const std::size_t cr = s.find('\r'); cr != std::string::npos) s.erase(cr);
    if (const std::size_t lf = s.find('\n'); lf != std::string::npos) s.erase(lf);
    int at = e->CharFromPos(pt);
    const int ss = e->SelStart(), sl = e->SelLength();
    if (e->FIsDragSource && at >= ss && at <= ss + sl) {
        e->FDroppedOnSelf = true;
        return;
    }
    if (e->FIsDragSource && !FKeys.Contains(TShiftStateItem::ssCtrl)) {
        e->SetSelText("");
        if (at > ss) at -= sl;
    }
    e->FCaretPos = {-1, -1};
    e->Perform(EM_SETSEL, static_cast<WPARAM>(at), at);
    e->SetSelText(s);
    e->Invalidate();
}

void TExEdit::SetOleDropTarget(bool v)
{
    FOleDropTarget = v;
    if (Designing()) return;
    if (v) {
        if (!FDropTarget) FDropTarget = std::make_unique<TEditDropTarget>(this);
        RegisterDragDrop(this, FDropTarget.get());
        FOleDropTargetAssigned = true;
    } else if (FOleDropTargetAssigned) {
        RevokeDragDrop(this);
        FOleDropTargetAssigned = false;
    }
}

void TExEdit::WMLButtonDown(TMessage& m)
{
    const int sl = SelLength();
    if (sl > 0 && Focused()) {
        const int c = CharFromPos({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        const int ss = SelStart();
        if (c >= ss && c <= ss + sl) {
            FButtonDown = true;
            return;
        }
    }
    TCustomEdit::Dispatch(m);
}

void TExEdit::WMMouseMove(TMessage& m)
{
    // While a press inside the selection waits to become a drag, the native
    // edit must not take the move for a selecting drag of its own.
    if (!FButtonDown) TCustomEdit::Dispatch(m);
    if (SelLength() > 0 && FButtonDown && FOleDropSource) {
        const std::string text = SelText();
        FIsDragSource = true;
        FDroppedOnSelf = false;
        int effect = DROPEFFECT_NONE;
        const int r = StartTextDrag(this, text, "", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        FIsDragSource = false;
        if (r == DRAGDROP_S_DROP && effect != DROPEFFECT_COPY && !FDroppedOnSelf) {
            SetSelText("");
            FCaretPos = {-1, -1};
            Invalidate();
        }
        FButtonDown = false;
    }
}

} // namespace controls
