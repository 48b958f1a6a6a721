// Standard controls on their native widgets.
#include "platform/gui/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextBlock>

#include <algorithm>
#include <cstring>

#include "platform/gui/ActnList.h"
#include "platform/gui/ControlsQt.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtBridge.h"
#include "platform/gui/StdCtrlsQt.h"

namespace gui {

using namespace stdctrls;

namespace {

// The memo's formatting rectangle is its viewport's margins.
struct MarginAccess : QPlainTextEdit {
    static void Set(QPlainTextEdit* p, int l, int t, int r, int b)
    {
        void (QAbstractScrollArea::*set)(int, int, int, int) = &MarginAccess::setViewportMargins;
        (p->*set)(l, t, r, b);
    }
};

} // namespace

// ------------------------------------------------------------------ label

TCustomLabel::TCustomLabel(rtl::TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle.Include(TControlStyleItem::csOpaque);
    FControlStyle.Include(TControlStyleItem::csReplicatable);
    FParentColor = true;
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment a) { FAlignment = a; Invalidate(); }
void TCustomLabel::SetLayout(TTextLayout l) { FLayout = l; Invalidate(); }
void TCustomLabel::SetWordWrap(bool v) { FWordWrap = v; AdjustBounds(); Invalidate(); }
void TCustomLabel::SetAutoSize(bool v) { FAutoSize = v; AdjustBounds(); }
void TCustomLabel::SetShowAccelChar(bool v) { FShowAccelChar = v; AdjustBounds(); Invalidate(); }

void TCustomLabel::SetTransparent(bool v)
{
    FTransparent = v;
    if (v) FControlStyle.Exclude(TControlStyleItem::csOpaque);
    else FControlStyle.Include(TControlStyleItem::csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* c)
{
    FFocusControl = c;
    if (c) c->FreeNotification(this);
}

void TCustomLabel::Notification(rtl::TComponent* c, rtl::TOperation op)
{
    TGraphicControl::Notification(c, op);
    if (op == rtl::TOperation::opRemove && c == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::DoDrawText(TRect& r, uint32_t flags)
{
    std::string text = Caption();
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += " ";
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    if (!Enabled()) {
        OffsetRect(r, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, r, flags);
        OffsetRect(r, -1, -1);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(text, r, flags);
}

void TCustomLabel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    uint32_t flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (FAlignment == TAlignment::taCenter) flags |= DT_CENTER;
    else if (FAlignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (FLayout != TTextLayout::tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int h = calc.Height();
        const int dy = FLayout == TTextLayout::tlBottom ? r.Height() - h : (r.Height() - h) / 2;
        r.Top += dy;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || IsLoading()) return;
    TBitmap probe(1, 1);
    TRect r = ClientRect();
    if (!FWordWrap) r.Right = r.Left + 10000;
    std::string text = Caption();
    if (text.empty()) text = " ";
    probe.Canvas()->SetFont(Font());
    uint32_t flags = DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? uint32_t(DT_WORDBREAK) : 0u) | (FShowAccelChar ? 0u : uint32_t(DT_NOPREFIX));
    probe.Canvas()->DrawText(text, r, flags);
    int x = Left();
    if (FAlignment == TAlignment::taRightJustify) x += Width() - r.Width();
    else if (FAlignment == TAlignment::taCenter) x += (Width() - r.Width()) / 2;
    SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        TGraphicControl::Dispatch(m);
        return;
    case CM_DIALOGCHAR:
        // The accelerator of the caption focuses the associated control.
        if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<char16_t>(m.WParam), Caption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(m);
}

// ---------------------------------------------------------------- buttons

void TButtonControl::SetTextBuf(const std::string& s)
{
    TWinControl::SetTextBuf(s);
    if (auto* b = dynamic_cast<QAbstractButton*>(ControlAccess::Widget(this))) {
        b->setText(Q(s));
        // The accelerator is the program's (CM_DIALOGCHAR), not Qt's own mnemonic.
        b->setShortcut(QKeySequence());
    }
}

void TButtonControl::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) {
        // Pressing the accelerator character clicks the button.
        if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused() || !GetParentForm()) Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
            m.Result = 1;
            return;
        }
    }
    TWinControl::Dispatch(m);
}

bool TButtonControl::NativeMessage(TMessage& m)
{
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_BUTTON;
        return true;
    }
    return false;
}

TButton::TButton(rtl::TComponent* owner) : TButtonControl(owner, TWindowKind::wkButton)
{
    FControlStyle = {TControlStyleItem::csSetCaption, TControlStyleItem::csDoubleClicks};
    FTabStop = true;
    auto* b = NativeOf<QPushButton>(this);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    const HWND h = Handle();
    QObject::connect(b, &QPushButton::clicked, b, qtw::Guarded([h] { SendMessage(h, CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0); }));
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool v)
{
    FDefault = v;
    FActive = v;
    NativeOf<QPushButton>(this)->setDefault(v);
}

void TButton::Click()
{
    if (TCustomForm* f = GetParentForm()) f->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) &&
            KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
        FActive = dynamic_cast<TButton*>(sender) ? sender == this : FDefault;
        return;
    }
    case WM_GETDLGCODE:
        m.Result = FActive ? DLGC_BUTTON | DLGC_DEFPUSHBUTTON : DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        return;
    default:
        break;
    }
    TButtonControl::Dispatch(m);
}

TCheckBox::TCheckBox(rtl::TComponent* owner) : TButtonControl(owner, TWindowKind::wkCheckBox)
{
    FControlStyle = {TControlStyleItem::csSetCaption, TControlStyleItem::csDoubleClicks};
    FTabStop = true;
    auto* b = NativeOf<QCheckBox>(this);
    b->setFocusPolicy(Qt::StrongFocus);
    const HWND h = Handle();
    QObject::connect(b, &QCheckBox::clicked, b, qtw::Guarded([h] { SendMessage(h, CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0); }));
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetAllowGrayed(bool v)
{
    FAllowGrayed = v;
    NativeOf<QCheckBox>(this)->setTristate(v);
}

void TCheckBox::SetState(TCheckBoxState s)
{
    auto* b = NativeOf<QCheckBox>(this);
    const Qt::CheckState qs = s == TCheckBoxState::cbChecked ? Qt::Checked
                              : s == TCheckBoxState::cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
    if (s == TCheckBoxState::cbGrayed) b->setTristate(true);
    b->setCheckState(qs);
    if (FState == s) return;
    FState = s;
    Click();
}

void TCheckBox::Toggle()
{
    switch (FState) {
    case TCheckBoxState::cbUnchecked: SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
    }
}

void TCheckBox::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Toggle();
        return;
    }
    TButtonControl::Dispatch(m);
}

TRadioButton::TRadioButton(rtl::TComponent* owner) : TButtonControl(owner, TWindowKind::wkRadioButton)
{
    FControlStyle = {TControlStyleItem::csSetCaption, TControlStyleItem::csDoubleClicks};
    auto* b = NativeOf<QRadioButton>(this);
    b->setAutoExclusive(false);
    b->setFocusPolicy(Qt::StrongFocus);
    const HWND h = Handle();
    QObject::connect(b, &QRadioButton::clicked, b, qtw::Guarded([h] { SendMessage(h, CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0); }));
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool v)
{
    NativeOf<QRadioButton>(this)->setChecked(v);
    if (FChecked == v) return;
    FChecked = v;
    SetTabStop(v);
    if (v) {
        if (FParent)
            for (int i = 0; i < FParent->ControlCount(); ++i)
                if (auto* r = dynamic_cast<TRadioButton*>(FParent->Controls(i)))
                    if (r != this) r->SetChecked(false);
        Click();
    }
}

void TRadioButton::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        SetChecked(true);
        NativeOf<QRadioButton>(this)->setChecked(true);
        return;
    }
    TButtonControl::Dispatch(m);
}

// ------------------------------------------------------------------ edits

TCustomEdit::TCustomEdit(rtl::TComponent* owner, TWindowKind kind) : TWinControl(owner, kind)
{
    FControlStyle = {TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks, TControlStyleItem::csCaptureMouse};
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
    const HWND h = Handle();
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) {
        le->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(le, &QLineEdit::textChanged, le, qtw::Guarded([h] {
            SendMessage(h, CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), 0);
        }));
        SetBounds(0, 0, 121, 21);
    }
}

void TCustomEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) le->setReadOnly(v);
    if (auto* pe = dynamic_cast<QPlainTextEdit*>(ControlAccess::Widget(this))) pe->setReadOnly(v);
}

void TCustomEdit::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) le->setMaxLength(v > 0 ? v : 32767);
}

void TCustomEdit::SetPasswordChar(char16_t c)
{
    FPasswordChar = c;
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this)))
        le->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetAlignment(TAlignment a)
{
    FAlignment = a;
    const Qt::Alignment qa = a == TAlignment::taCenter ? Qt::AlignHCenter
                             : a == TAlignment::taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) le->setAlignment(qa | Qt::AlignVCenter);
}

void TCustomEdit::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) le->setFrame(s != TBorderStyle::bsNone);
    if (auto* pe = dynamic_cast<QPlainTextEdit*>(ControlAccess::Widget(this)))
        pe->setFrameShape(s == TBorderStyle::bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

bool TCustomEdit::Modified() const
{
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) return le->isModified();
    if (auto* pe = dynamic_cast<QPlainTextEdit*>(ControlAccess::Widget(this))) return pe->document()->isModified();
    return false;
}

void TCustomEdit::SetModified(bool v)
{
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) le->setModified(v);
    if (auto* pe = dynamic_cast<QPlainTextEdit*>(ControlAccess::Widget(this))) pe->document()->setModified(v);
}

int TCustomEdit::SelStart() const
{
    LRESULT r = const_cast<TCustomEdit*>(this)->Perform(EM_GETSEL, 0, 0);
    return LOWORD(static_cast<uintptr_t>(r));
}

int TCustomEdit::SelLength() const
{
    LRESULT r = const_cast<TCustomEdit*>(this)->Perform(EM_GETSEL, 0, 0);
    return HIWORD(static_cast<uintptr_t>(r)) - LOWORD(static_cast<uintptr_t>(r));
}

void TCustomEdit::SetSelStart(int v) { Perform(EM_SETSEL, static_cast<WPARAM>(v), v); }
void TCustomEdit::SetSelLength(int v) { const int s = SelStart(); Perform(EM_SETSEL, static_cast<WPARAM>(s), s + v); }

std::string TCustomEdit::SelText() const
{
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) return le->selectedText().toStdString();
    if (auto* pe = dynamic_cast<QPlainTextEdit*>(ControlAccess::Widget(this)))
        return pe->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n').toStdString();
    return {};
}

void TCustomEdit::SetSelText(const std::string& s)
{
    const std::string copy = s;
    Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }
void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }
void TCustomEdit::Undo() { Perform(WM_UNDO); }
bool TCustomEdit::CanUndo() const { return const_cast<TCustomEdit*>(this)->Perform(EM_CANUNDO) != 0; }

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter()
{
    if (FAutoSelect && !FControlState.Contains(TControlStateItem::csLButtonDown) &&
        dynamic_cast<QLineEdit*>(ControlAccess::Widget(this)))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::SetTextBuf(const std::string& s)
{
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) {
        le->setText(Q(s));
        le->setModified(false);
    }
}

std::string TCustomEdit::GetText() const
{
    if (auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this))) return le->text().toStdString();
    return TWinControl::GetText();
}

// The edit's own colours: Color as the background and the font colour as
// the text, what the colour messages give a classic edit.  A disabled edit
// keeps its background and greys its text.
static void ApplyEditColours(QWidget* w, TColor back, TColor text, bool transparent = false)
{
    if (!w) return;
    QPalette p = w->palette();
    p.setColor(QPalette::Base, transparent ? QColor(Qt::transparent) : ToQColor(back));
    p.setColor(QPalette::Active, QPalette::Text, ToQColor(text));
    p.setColor(QPalette::Inactive, QPalette::Text, ToQColor(text));
    w->setPalette(p);
}

void TCustomEdit::SetBackgroundTransparent(bool v)
{
    FBackgroundTransparent = v;
    ApplyEditColours(ControlAccess::Widget(this), FColor, FFont->Color(), v);
    Invalidate();
}

void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        TWinControl::Dispatch(m);
        ApplyEditColours(ControlAccess::Widget(this), FColor, FFont->Color(), FBackgroundTransparent);
        return;
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !FSetting) Change();
        return;
    case WM_CHAR:
        if (FCharCase != TEditCharCase::ecNormal && m.WParam < 0x10000) {
            const QChar ch(static_cast<char16_t>(m.WParam));
            m.WParam = (FCharCase == TEditCharCase::ecUpperCase ? ch.toUpper() : ch.toLower()).unicode();
        }
        break;
    case WM_LBUTTONDOWN:
        FControlState.Include(TControlStateItem::csLButtonDown);
        TWinControl::Dispatch(m);
        FControlState.Exclude(TControlStateItem::csLButtonDown);
        return;
    default:
        break;
    }
    TWinControl::Dispatch(m);
}

bool TCustomEdit::NativeMessage(TMessage& m)
{
    auto* le = dynamic_cast<QLineEdit*>(ControlAccess::Widget(this));
    if (!le) return false;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        return true;
    case EM_GETSEL: {
        int start = le->hasSelectedText() ? le->selectionStart() : le->cursorPosition();
        int end = le->hasSelectedText() ? start + static_cast<int>(le->selectedText().size()) : start;
        if (m.WParam) *reinterpret_cast<int*>(m.WParam) = start;
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = end;
        m.Result = MAKELPARAM(start, end);
        return true;
    }
    case EM_SETSEL: {
        const int len = static_cast<int>(le->text().size());
        int start = static_cast<int>(static_cast<intptr_t>(m.WParam));
        int end = static_cast<int>(m.LParam);
        if (start < 0) { le->deselect(); return true; }
        if (end < 0 || end > len) end = len;
        start = std::min(start, len);
        le->setSelection(start, end - start);
        if (end == start) le->setCursorPosition(start);
        return true;
    }
    case EM_REPLACESEL:
        le->insert(Q(TextArg(m.LParam)));
        return true;
    case EM_GETRECT: {
        TRect r = FFormatRect;
        if (r.IsEmpty()) {
            const QMargins tm = le->textMargins();
            const int frame = le->hasFrame() ? 2 : 0;
            r = Rect(frame + tm.left() + 2, frame + tm.top(), le->width() - frame - tm.right() - 2,
                     le->height() - frame - tm.bottom());
        }
        if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = r;
        return true;
    }
    case EM_SETRECT:
    case EM_SETRECTNP: {
        if (!m.LParam) { FFormatRect = {}; le->setTextMargins(0, 0, 0, 0); return true; }
        const TRect r = *reinterpret_cast<const TRect*>(m.LParam);
        FFormatRect = r;
        const int frame = le->hasFrame() ? 2 : 0;
        le->setTextMargins(std::max(0, r.Left - frame - 2), std::max(0, r.Top - frame),
                           std::max(0, le->width() - frame - 2 - r.Right), std::max(0, le->height() - frame - r.Bottom));
        if (m.Msg == EM_SETRECT) le->update();
        return true;
    }
    case EM_SETMARGINS: {
        QMargins tm = le->textMargins();
        if (m.WParam & EC_LEFTMARGIN) tm.setLeft(LOWORD(static_cast<uintptr_t>(m.LParam)));
        if (m.WParam & EC_RIGHTMARGIN) tm.setRight(HIWORD(static_cast<uintptr_t>(m.LParam)));
        le->setTextMargins(tm);
        return true;
    }
    case EM_GETMARGINS:
        m.Result = MAKELPARAM(le->textMargins().left(), le->textMargins().right());
        return true;
    case EM_POSFROMCHAR: {
        const int index = static_cast<int>(m.WParam);
        if (index < 0 || index >= static_cast<int>(le->text().size())) { m.Result = -1; return true; }
        const int cur = le->cursorPosition();
        const int ss = le->selectionStart();
        const int sl = static_cast<int>(le->selectedText().size());
        le->setCursorPosition(index);
        const QRect cr = le->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        if (sl > 0) le->setSelection(ss, sl);
        else le->setCursorPosition(cur);
        m.Result = MAKELPARAM(cr.left() + cr.width() / 2, cr.top());
        return true;
    }
    case EM_CHARFROMPOS:
        m.Result = MAKELPARAM(le->cursorPositionAt(QPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam))), 0);
        return true;
    case EM_LIMITTEXT:
        SetMaxLength(static_cast<int>(m.WParam));
        return true;
    case EM_SETREADONLY:
        SetReadOnly(m.WParam != 0);
        m.Result = 1;
        return true;
    case EM_GETMODIFY: m.Result = le->isModified() ? 1 : 0; return true;
    case EM_SETMODIFY: le->setModified(m.WParam != 0); return true;
    case EM_CANUNDO: m.Result = le->isUndoAvailable() ? 1 : 0; return true;
    case EM_UNDO: case WM_UNDO: le->undo(); m.Result = 1; return true;
    case EM_SETPASSWORDCHAR: SetPasswordChar(static_cast<char16_t>(m.WParam)); return true;
    case EM_SCROLLCARET: return true;
    case EM_GETLINECOUNT: m.Result = 1; return true;
    case EM_LINEFROMCHAR: case EM_LINEINDEX: m.Result = 0; return true;
    case EM_LINELENGTH: m.Result = static_cast<LRESULT>(le->text().size()); return true;
    case WM_CUT: le->cut(); return true;
    case WM_COPY: le->copy(); return true;
    case WM_PASTE: le->paste(); return true;
    case WM_CLEAR: le->del(); return true;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(le->text().toStdString().size()); return true;
    case WM_GETTEXT: m.Result = CopyOut(le->text().toStdString(), m.LParam, m.WParam); return true;
    case WM_SETTEXT: SetText(TextArg(m.LParam)); m.Result = 1; return true;
    default: return false;
    }
}

// ------------------------------------------------------------------- memo

TMemo::TMemo(rtl::TComponent* owner) : TCustomEdit(owner, TWindowKind::wkMemo), FLines(std::make_unique<rtl::TStringList>())
{
    auto* pe = NativeOf<QPlainTextEdit>(this);
    pe->setFocusPolicy(Qt::StrongFocus);
    pe->setTabChangesFocus(true);
    FAutoSelect = false;
    const HWND h = Handle();
    QObject::connect(pe, &QPlainTextEdit::textChanged, pe, qtw::Guarded([h] { SendMessage(h, CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), 0); }));
    FLines->OnChange = [this](rtl::TObject*) { LinesChanged(); };
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() { FLines->OnChange = nullptr; }

void TMemo::LinesChanged()
{
    if (FSyncing) return;
    FSyncing = true;
    std::string text;
    for (int i = 0; i < FLines->Count(); ++i) {
        if (i) text += "\n";
        text += FLines->Strings(i);
    }
    NativeOf<QPlainTextEdit>(this)->setPlainText(Q(text));
    FSyncing = false;
}

void TMemo::SetTextBuf(const std::string& s)
{
    NativeOf<QPlainTextEdit>(this)->setPlainText(Q(s));
}

std::string TMemo::GetText() const
{
    return NativeOf<QPlainTextEdit>(this)->toPlainText().toStdString();
}

void TMemo::SetWordWrap(bool v)
{
    FWordWrap = v;
    NativeOf<QPlainTextEdit>(this)->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle s)
{
    FScrollBars = s;
    auto* pe = NativeOf<QPlainTextEdit>(this);
    const bool h = s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth;
    const bool v = s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth;
    pe->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    pe->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

TPoint TMemo::CaretPos() const
{
    const QTextCursor c = NativeOf<QPlainTextEdit>(this)->textCursor();
    return {c.positionInBlock(), c.blockNumber()};
}

void TMemo::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (!FSyncing) {
            FSyncing = true;
            FLines->BeginUpdate();
            FLines->SetText(GetText());
            FLines->EndUpdate();
            FSyncing = false;
        }
        if (!FSetting) Change();
        return;
    }
    TCustomEdit::Dispatch(m);
}

bool TMemo::NativeMessage(TMessage& m)
{
    auto* pe = NativeOf<QPlainTextEdit>(this);
    QTextDocument* doc = pe->document();
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTALLKEYS;
        if (FWantTabs) m.Result |= DLGC_WANTTAB;
        if (!FWantReturns) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return true;
    case EM_GETSEL: {
        const QTextCursor c = pe->textCursor();
        const int s = c.selectionStart(), e = c.selectionEnd();
        if (m.WParam) *reinterpret_cast<int*>(m.WParam) = s;
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = e;
        m.Result = MAKELPARAM(s, e);
        return true;
    }
    case EM_SETSEL: {
        QTextCursor c = pe->textCursor();
        const int len = doc->characterCount() - 1;
        int s = static_cast<int>(static_cast<intptr_t>(m.WParam));
        int e = static_cast<int>(m.LParam);
        if (s < 0) { c.clearSelection(); pe->setTextCursor(c); return true; }
        if (e < 0 || e > len) e = len;
        c.setPosition(std::min(s, len));
        c.setPosition(e, QTextCursor::KeepAnchor);
        pe->setTextCursor(c);
        return true;
    }
    case EM_REPLACESEL: pe->insertPlainText(Q(TextArg(m.LParam))); return true;
    case EM_GETLINECOUNT: m.Result = doc->blockCount(); return true;
    case EM_LINEINDEX: {
        const int line = static_cast<int>(static_cast<intptr_t>(m.WParam)) < 0 ? pe->textCursor().blockNumber()
                                                                              : static_cast<int>(m.WParam);
        const QTextBlock b = doc->findBlockByNumber(line);
        m.Result = b.isValid() ? b.position() : -1;
        return true;
    }
    case EM_LINEFROMCHAR: {
        const int pos = static_cast<int>(static_cast<intptr_t>(m.WParam));
        m.Result = pos < 0 ? pe->textCursor().blockNumber() : doc->findBlock(pos).blockNumber();
        return true;
    }
    case EM_LINELENGTH: m.Result = doc->findBlock(static_cast<int>(m.WParam)).length() - 1; return true;
    case EM_GETFIRSTVISIBLELINE: m.Result = pe->cursorForPosition(QPoint(0, 0)).blockNumber(); return true;
    case EM_LINESCROLL:
        pe->verticalScrollBar()->setValue(pe->verticalScrollBar()->value() + static_cast<int>(m.LParam));
        m.Result = 1;
        return true;
    case EM_SCROLLCARET: pe->ensureCursorVisible(); return true;
    case EM_POSFROMCHAR: {
        QTextCursor c(doc);
        c.setPosition(std::clamp(static_cast<int>(m.WParam), 0, doc->characterCount() - 1));
        const QRect r = pe->cursorRect(c);
        const QPoint p = pe->viewport()->mapTo(pe, r.topLeft());
        m.Result = MAKELPARAM(p.x(), p.y());
        return true;
    }
    case EM_CHARFROMPOS: {
        const QPoint p = pe->viewport()->mapFrom(pe, QPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
        const QTextCursor c = pe->cursorForPosition(p);
        m.Result = MAKELPARAM(c.position(), c.blockNumber());
        return true;
    }
    case EM_GETRECT: {
        const QRect v = pe->viewport()->geometry();
        if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = Rect(v.left(), v.top(), v.right() + 1, v.bottom() + 1);
        return true;
    }
    case EM_SETRECT:
    case EM_SETRECTNP: {
        if (!m.LParam) { MarginAccess::Set(pe, 0, 0, 0, 0); return true; }
        const TRect r = *reinterpret_cast<const TRect*>(m.LParam);
        MarginAccess::Set(pe, r.Left, r.Top, std::max(0, pe->width() - r.Right), std::max(0, pe->height() - r.Bottom));
        return true;
    }
    case EM_GETMODIFY: m.Result = doc->isModified() ? 1 : 0; return true;
    case EM_SETMODIFY: doc->setModified(m.WParam != 0); return true;
    case EM_CANUNDO: m.Result = doc->isUndoAvailable() ? 1 : 0; return true;
    case EM_UNDO: case WM_UNDO: pe->undo(); m.Result = 1; return true;
    case WM_CUT: pe->cut(); return true;
    case WM_COPY: pe->copy(); return true;
    case WM_PASTE: pe->paste(); return true;
    case WM_CLEAR: pe->textCursor().removeSelectedText(); return true;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(GetText().size()); return true;
    case WM_GETTEXT: m.Result = CopyOut(GetText(), m.LParam, m.WParam); return true;
    case WM_SETTEXT: SetText(TextArg(m.LParam)); m.Result = 1; return true;
    default: return false;
    }
}

// ------------------------------------------------- owner-drawn list items

namespace stdctrls {

void DrawOwnerItem(TWinControl* control, const TDrawItemEvent& draw, QPainter* painter, int index, const QRect& qr,
                   TOwnerDrawState state, int width, int height)
{
    TCanvas* canvas = control->GetCanvas();
    if (!canvas || !draw) return;
    painter->save();
    qt::AttachPainter(*canvas, painter, width, height);
    // Painter coordinates, and nothing drawn outside the item.
    const TRect r(qr.left(), qr.top(), qr.left() + qr.width(), qr.top() + qr.height());
    canvas->SetWindowOrg(0, 0);
    canvas->SetViewportOrg(0, 0);
    canvas->SelectClipRgn(nullptr);
    canvas->IntersectClipRect(r);
    canvas->Font()->Assign(control->Font());
    auto giveBack = [&] {
        canvas->SelectClipRgn(nullptr);
        qt::DetachPainter(*canvas);
        painter->restore();
    };
    try {
        draw(control, index, r, state);
    } catch (...) {
        giveBack();
        throw;
    }
    giveBack();
}

void OwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!FOwnerDrawn() || option.rect.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    TOwnerDrawState state;
    if (option.state & QStyle::State_Selected) state.Include(TOwnerDrawStateItem::odSelected);
    if (option.state & QStyle::State_HasFocus) state.Include(TOwnerDrawStateItem::odFocused);
    const QPaintDevice* d = painter->device();
    qtw::Guarded([&] {
        DrawOwnerItem(FControl, FDraw, painter, index.row(), option.rect, state,
                      d ? d->width() : option.rect.right() + 1, d ? d->height() : option.rect.bottom() + 1);
    })();
}

QSize OwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    if (FOwnerDrawn() && FItemHeight() > 0) s.setHeight(FItemHeight());
    return s;
}

} // namespace stdctrls

// ------------------------------------------------------------- combo box

namespace {

class ComboWidget : public qtw::Bridge<QComboBox> {
public:
    // An owner-drawn closed box: the frame and button by the style, the
    // item field by OnDrawItem.
    void paintEvent(QPaintEvent* e) override
    {
        auto* combo = dynamic_cast<TCustomComboBox*>(Control);
        if (!combo || !combo->OwnerDrawn() || isEditable()) {
            qtw::Bridge<QComboBox>::paintEvent(e);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        opt.currentText.clear();
        opt.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        TOwnerDrawState state{TOwnerDrawStateItem::odComboBoxEdit};
        if (hasFocus()) state.Include(TOwnerDrawStateItem::odSelected);
        if (hasFocus()) state.Include(TOwnerDrawStateItem::odFocused);
        if (!isEnabled()) state.Include(TOwnerDrawStateItem::odDisabled);
        if (currentIndex() < 0) return;
        qtw::Guarded([&] {
            DrawOwnerItem(combo, combo->OnDrawItem, &painter, currentIndex(), field, state, width(), height());
        })();
    }
    void showPopup() override
    {
        if (Control) SendMessage(Control->Handle(), CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
        qtw::Bridge<QComboBox>::showPopup();
        dropped = true;
    }
    void hidePopup() override
    {
        qtw::Bridge<QComboBox>::hidePopup();
        if (dropped && Control) {
            dropped = false;
            SendMessage(Control->Handle(), CN_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), 0);
        }
    }
    bool dropped = false;
};

} // namespace

QWidget* CreateComboWidget(TWinControl*, qtw::IBridge*& bridge)
{
    auto* w = new ComboWidget();
    bridge = w;
    return w;
}

struct ComboAccess {
    static ComboWidget* W(const TCustomComboBox* c) { return static_cast<ComboWidget*>(ControlAccess::Widget(c)); }
};

TCustomComboBox::TCustomComboBox(rtl::TComponent* owner)
    : TWinControl(owner, TWindowKind::wkComboBox), FItems(std::make_unique<rtl::TStringList>())
{
    FControlStyle = {TControlStyleItem::csCaptureMouse, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks};
    FTabStop = true;
    FColor = clWindow;
    auto* w = ComboAccess::W(this);
    w->setFocusPolicy(Qt::StrongFocus);
    w->setInsertPolicy(QComboBox::NoInsert);
    const HWND h = Handle();
    QObject::connect(w, QOverload<int>::of(&QComboBox::activated), w, qtw::Guarded<int>([h](int) {
        SendMessage(h, CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), 0);
    }));
    FItems->OnChange = [this](rtl::TObject*) { ItemsChanged(); };
    SetStyle(TComboBoxStyle::csDropDown);
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() { FItems->OnChange = nullptr; }

void TCustomComboBox::ItemsChanged()
{
    auto* w = ComboAccess::W(this);
    const QString text = w->currentText();
    const int index = w->currentIndex();
    FSyncing = true;
    w->clear();
    for (int i = 0; i < FItems->Count(); ++i) w->addItem(Q(FItems->Strings(i)));
    if (w->isEditable()) {
        w->setCurrentIndex(-1);
        w->setEditText(text);
    } else {
        w->setCurrentIndex(index < FItems->Count() ? index : -1);
    }
    FSyncing = false;
}

TCanvas* TCustomComboBox::GetCanvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    return FCanvas.get();
}

void TCustomComboBox::SetStyle(TComboBoxStyle s)
{
    FStyle = s;
    auto* w = ComboAccess::W(this);
    const bool ownerDraw = s == TComboBoxStyle::csOwnerDrawFixed || s == TComboBoxStyle::csOwnerDrawVariable;
    if (ownerDraw && !dynamic_cast<OwnerDrawDelegate*>(w->itemDelegate()))
        w->setItemDelegate(new OwnerDrawDelegate(
            this, OnDrawItem, [this] { return OwnerDrawn(); }, [this] { return ItemHeight(); }, w));
    const bool editable = s == TComboBoxStyle::csDropDown || s == TComboBoxStyle::csSimple;
    if (editable == w->isEditable() && (!editable || w->lineEdit())) return;
    w->setEditable(editable);
    if (editable) {
        QLineEdit* le = w->lineEdit();
        Data().filter = std::make_unique<qtw::ChildInputFilter>(this);
        le->installEventFilter(Data().filter.get());
        le->setMouseTracking(true);
        const HWND h = Handle();
        QObject::connect(le, &QLineEdit::textEdited, le, qtw::Guarded([h] { SendMessage(h, CN_COMMAND, MAKEWPARAM(0, CBN_EDITCHANGE), 0); }));
        if (FMaxLength > 0) le->setMaxLength(FMaxLength);
    }
}

int TCustomComboBox::ItemIndex() const { return ComboAccess::W(this)->currentIndex(); }

void TCustomComboBox::SetItemIndex(int i)
{
    auto* w = ComboAccess::W(this);
    if (i < -1 || i >= FItems->Count()) i = -1;
    FSyncing = true;
    w->setCurrentIndex(i);
    if (i < 0 && w->isEditable()) w->setEditText(QString());
    FSyncing = false;
}

void TCustomComboBox::SetDropDownCount(int n)
{
    FDropDownCount = n;
    ComboAccess::W(this)->setMaxVisibleItems(std::max(1, n));
}

bool TCustomComboBox::DroppedDown() const { return ComboAccess::W(this)->dropped; }

void TCustomComboBox::SetDroppedDown(bool v)
{
    if (v == DroppedDown()) return;
    if (v) ComboAccess::W(this)->showPopup();
    else ComboAccess::W(this)->hidePopup();
}

void TCustomComboBox::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
    if (QLineEdit* le = ComboAccess::W(this)->lineEdit()) le->setMaxLength(v > 0 ? v : 32767);
}

int TCustomComboBox::SelStart() const
{
    QLineEdit* le = ComboAccess::W(this)->lineEdit();
    if (!le) return 0;
    return le->hasSelectedText() ? le->selectionStart() : le->cursorPosition();
}

int TCustomComboBox::SelLength() const
{
    QLineEdit* le = ComboAccess::W(this)->lineEdit();
    return le ? static_cast<int>(le->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelStart(int v)
{
    if (QLineEdit* le = ComboAccess::W(this)->lineEdit()) le->setCursorPosition(v);
}

void TCustomComboBox::SetSelLength(int v)
{
    if (QLineEdit* le = ComboAccess::W(this)->lineEdit()) le->setSelection(SelStart(), v);
}

void TCustomComboBox::SelectAll()
{
    if (QLineEdit* le = ComboAccess::W(this)->lineEdit()) le->selectAll();
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText("");
}

void TCustomComboBox::SetTextBuf(const std::string& s)
{
    auto* w = ComboAccess::W(this);
    FSyncing = true;
    if (w->isEditable()) {
        const int i = FItems->IndexOf(s);
        w->setCurrentIndex(i);
        w->setEditText(Q(s));
    } else {
        w->setCurrentIndex(FItems->IndexOf(s));
    }
    FSyncing = false;
}

std::string TCustomComboBox::GetText() const { return ComboAccess::W(this)->currentText().toStdString(); }

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}
void TCustomComboBox::Select()
{
    if (OnSelect) OnSelect(this);
    else Change();
}
void TCustomComboBox::DropDown()
{
    if (OnDropDown) OnDropDown(this);
}
void TCustomComboBox::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
            if (!FSyncing) {
                Perform(CM_TEXTCHANGED);
                Select();
            }
            return;
        case CBN_EDITCHANGE:
            if (!FSyncing) Change();
            return;
        case CBN_DROPDOWN: DropDown(); return;
        case CBN_CLOSEUP: CloseUp(); return;
        default: return;
        }
    }
    TWinControl::Dispatch(m);
}

bool TCustomComboBox::NativeMessage(TMessage& m)
{
    auto* w = ComboAccess::W(this);
    QLineEdit* le = w->lineEdit();
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | (le ? DLGC_WANTCHARS | DLGC_HASSETSEL : 0);
        if (w->dropped) m.Result |= DLGC_WANTALLKEYS;
        return true;
    case CB_SHOWDROPDOWN: SetDroppedDown(m.WParam != 0); m.Result = 1; return true;
    case CB_GETDROPPEDSTATE: m.Result = w->dropped ? 1 : 0; return true;
    case CB_SETDROPPEDWIDTH:
        FDroppedWidth = static_cast<int>(m.WParam);
        w->view()->setMinimumWidth(FDroppedWidth);
        m.Result = std::max(FDroppedWidth, Width());
        return true;
    case CB_GETDROPPEDWIDTH: m.Result = std::max(FDroppedWidth, Width()); return true;
    case CB_SETITEMHEIGHT:
        if (static_cast<intptr_t>(m.WParam) >= 0) FItemHeight = static_cast<int>(m.LParam);
        return true;
    case CB_GETITEMHEIGHT: m.Result = FItemHeight; return true;
    case CB_SETEDITSEL:
        if (le) {
            const int s = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam)));
            const int e = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(m.LParam)));
            const int len = static_cast<int>(le->text().size());
            if (s < 0) le->deselect();
            else le->setSelection(std::min(s, len), (e < 0 ? len : std::min(e, len)) - std::min(s, len));
        }
        m.Result = le ? 1 : CB_ERR;
        return true;
    case CB_GETEDITSEL: {
        const int s = SelStart(), e = s + SelLength();
        if (m.WParam) *reinterpret_cast<int*>(m.WParam) = s;
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = e;
        m.Result = MAKELPARAM(s, e);
        return true;
    }
    case CB_LIMITTEXT: SetMaxLength(static_cast<int>(m.WParam)); m.Result = 1; return true;
    case EM_CHARFROMPOS: {
        // The character of the edit field under a point of the combo's client
        // area; -1 for a list-style combo or a point beside the field.
        m.Result = -1;
        if (!le) return true;
        const QPoint p = le->mapFrom(w, QPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
        if (le->rect().contains(p)) m.Result = MAKELPARAM(le->cursorPositionAt(p), 0);
        return true;
    }
    case CB_GETCOUNT: m.Result = FItems->Count(); return true;
    case CB_GETCURSEL: m.Result = ItemIndex(); return true;
    case CB_SETCURSEL: SetItemIndex(static_cast<int>(static_cast<intptr_t>(m.WParam))); m.Result = ItemIndex(); return true;
    case CB_GETLBTEXTLEN: {
        const int i = static_cast<int>(m.WParam);
        m.Result = i >= 0 && i < FItems->Count() ? static_cast<LRESULT>(FItems->Strings(i).size()) : CB_ERR;
        return true;
    }
    case CB_GETLBTEXT: {
        const int i = static_cast<int>(m.WParam);
        m.Result = i >= 0 && i < FItems->Count() ? CopyOut(FItems->Strings(i), m.LParam, 0) : CB_ERR;
        return true;
    }
    case CB_ADDSTRING: m.Result = FItems->Add(TextArg(m.LParam)); return true;
    case CB_INSERTSTRING: {
        int i = static_cast<int>(static_cast<intptr_t>(m.WParam));
        if (i < 0) i = FItems->Count();
        FItems->Insert(i, TextArg(m.LParam));
        m.Result = i;
        return true;
    }
    case CB_DELETESTRING: {
        const int i = static_cast<int>(m.WParam);
        if (i < 0 || i >= FItems->Count()) { m.Result = CB_ERR; return true; }
        FItems->Delete(i);
        m.Result = FItems->Count();
        return true;
    }
    case CB_RESETCONTENT: FItems->Clear(); return true;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
        const QString want = Q(TextArg(m.LParam));
        const int n = FItems->Count();
        const int start = static_cast<int>(static_cast<intptr_t>(m.WParam));
        m.Result = CB_ERR;
        for (int k = 1; k <= n; ++k) {
            const int i = (start + k + n) % n;
            const QString item = Q(FItems->Strings(i));
            const bool hit = m.Msg == CB_FINDSTRINGEXACT ? item.compare(want, Qt::CaseInsensitive) == 0
                                                         : item.startsWith(want, Qt::CaseInsensitive);
            if (hit) { m.Result = i; break; }
        }
        if (m.Msg == CB_SELECTSTRING && m.Result != CB_ERR) SetItemIndex(static_cast<int>(m.Result));
        return true;
    }
    case CB_GETITEMDATA: {
        const int i = static_cast<int>(m.WParam);
        m.Result = i >= 0 && i < FItems->Count() ? reinterpret_cast<LRESULT>(FItems->Objects(i)) : CB_ERR;
        return true;
    }
    case CB_SETITEMDATA: {
        const int i = static_cast<int>(m.WParam);
        if (i < 0 || i >= FItems->Count()) { m.Result = CB_ERR; return true; }
        FItems->SetObjects(i, reinterpret_cast<rtl::TObject*>(m.LParam));
        return true;
    }
    case WM_CUT: if (le) le->cut(); return true;
    case WM_COPY: if (le) le->copy(); return true;
    case WM_PASTE: if (le) le->paste(); return true;
    case WM_CLEAR: if (le) le->del(); return true;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(GetText().size()); return true;
    case WM_GETTEXT: m.Result = CopyOut(GetText(), m.LParam, m.WParam); return true;
    case WM_SETTEXT: SetText(TextArg(m.LParam)); m.Result = 1; return true;
    default: return false;
    }
}

// -------------------------------------------------------------- group box

TGroupBox::TGroupBox(rtl::TComponent* owner) : TWinControl(owner, TWindowKind::wkGroupBox)
{
    FControlStyle = {TControlStyleItem::csAcceptsControls, TControlStyleItem::csCaptureMouse,
                     TControlStyleItem::csClickEvents, TControlStyleItem::csSetCaption,
                     TControlStyleItem::csDoubleClicks, TControlStyleItem::csReplicatable};
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::SetTextBuf(const std::string& s)
{
    TWinControl::SetTextBuf(s);
    NativeOf<QGroupBox>(this)->setTitle(Q(s));
}

void TGroupBox::AdjustClientRect(TRect& rect)
{
    TWinControl::AdjustClientRect(rect);
    TBitmap probe(1, 1);
    probe.Canvas()->SetFont(Font());
    rect.Top += probe.Canvas()->TextHeight("0");
    InflateRect(rect, -1, -1);
    if (FCtl3D) InflateRect(rect, -1, -1);
}

// -------------------------------------------------------------- scroll bar

struct ScrollBarAccess {
    static void Moved(TScrollBar* s, int action, int value)
    {
        TScrollCode code = TScrollCode::scPosition;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = TScrollCode::scLineDown; break;
        case QAbstractSlider::SliderSingleStepSub: code = TScrollCode::scLineUp; break;
        case QAbstractSlider::SliderPageStepAdd: code = TScrollCode::scPageDown; break;
        case QAbstractSlider::SliderPageStepSub: code = TScrollCode::scPageUp; break;
        case QAbstractSlider::SliderToMinimum: code = TScrollCode::scTop; break;
        case QAbstractSlider::SliderToMaximum: code = TScrollCode::scBottom; break;
        case QAbstractSlider::SliderMove: code = TScrollCode::scTrack; break;
        default: break;
        }
        int pos = value;
        if (s->OnScroll) s->OnScroll(s, code, pos);
        s->SetPosition(pos);
    }
};

TScrollBar::TScrollBar(rtl::TComponent* owner) : TWinControl(owner, TWindowKind::wkScrollBar)
{
    FTabStop = true;
    auto* sb = NativeOf<QScrollBar>(this);
    sb->setOrientation(Qt::Horizontal);
    QObject::connect(sb, &QAbstractSlider::actionTriggered, sb, qtw::Guarded<int>([this, sb](int action) {
        if (!FSyncing) ScrollBarAccess::Moved(this, action, sb->sliderPosition());
    }));
    Sync();
    SetBounds(0, 0, 121, 17);
}

void TScrollBar::SetKind(TScrollBarKind k)
{
    FKind = k;
    NativeOf<QScrollBar>(this)->setOrientation(k == TScrollBarKind::sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    if (k == TScrollBarKind::sbVertical && Width() > Height()) SetBounds(Left(), Top(), Height(), Width());
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min) throw rtl::EInvalidOperation("Scroll bar property out of range");
    position = std::clamp(position, min, max);
    const bool changed = position != FPosition;
    FMin = min; FMax = max; FPosition = position;
    Sync();
    if (changed && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int v) { FPageSize = v; Sync(); }
void TScrollBar::SetSmallChange(int v) { FSmallChange = v; Sync(); }
void TScrollBar::SetLargeChange(int v) { FLargeChange = v; Sync(); }

void TScrollBar::Sync()
{
    auto* sb = NativeOf<QScrollBar>(this);
    FSyncing = true;
    sb->setRange(FMin, std::max(FMin, FMax - std::max(0, FPageSize - 1)));
    sb->setPageStep(std::max(1, FPageSize > 0 ? FPageSize : FLargeChange));
    sb->setSingleStep(FSmallChange);
    sb->setValue(FPosition);
    FSyncing = false;
}

} // namespace gui
