// TExEdit: the keyboard and clipboard filter.  The character filter decides
// per EditType what a typed character does; the key-down handling keeps the
// caret out of Prefix and Suffix and drives the lookup list; Esc undoes the
// edit since focus entry; paste checks the whole resulting value.
//
// A character the filter passes is typed here (PassChar) rather than left to
// the native control, so that the filter's after-steps (thousand separators,
// mixed case) see the new text at once.

#include "controls/ExEdit.h"

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace controls {

using namespace gui;

namespace {

const rtl::TFormatSettings& Loc() { return rtl::FormatSettings(); }
char16_t DS() { return static_cast<char16_t>(Loc().DecimalSeparator); }
char16_t TS() { return static_cast<char16_t>(Loc().ThousandSeparator); }

bool IsSignedType(TExEditType t)
{
    return t == TExEditType::etNumeric || t == TExEditType::etFloat || t == TExEditType::etMoney;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAlnum(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

std::u16string U(const std::string& s) { return rtl::UTF8ToUTF16(s); }
std::string S(const std::u16string& s) { return rtl::UTF16ToUTF8(s); }

bool CtrlHeld() { return GetShiftState().Contains(TShiftStateItem::ssCtrl); }

bool Has(const std::u16string& s, char16_t c) { return s.find(c) != std::u16string::npos; }

} // namespace

int TExEdit::IntegerDigits() const
{
    std::u16string v = U(Text());
    const std::size_t dp = v.find(DS());
    if (dp != std::u16string::npos) v.erase(dp);
    int n = 0;
    for (char16_t c : v)
        if (c != TS()) ++n;
    if (FSigned && IsSignedType(FEditType) && Has(U(Text()), u'-')) --n;
    return n;
}

void TExEdit::PassChar(TMessage& m)
{
    if (DoKeyPress(m)) return;
    const auto ch = static_cast<char16_t>(m.WParam);
    if (ch != 8 && ch < 0x20) {
        // Tab, Enter and control keys (Ctrl+A, Ctrl+Z): the native edit's own.
        DefaultHandler(m);
        return;
    }
    if (ReadOnly()) return;
    if (ch == 8) {
        if (SelLength() == 0) {
            const int c = SelStart();
            if (c == 0) return;
            Perform(EM_SETSEL, static_cast<WPARAM>(c - 1), c);
        }
        SetSelText("");
        return;
    }
    SetSelText(S(std::u16string(1, ch)));
}

void TExEdit::ToggleSign()
{
    std::u16string v = U(Text());
    const int p = PrefixLen();
    int caret = SelStart();
    if (Has(v, u'-')) {
        v.erase(0, 1);
        caret = caret > p ? caret - 1 : p;
    } else {
        v.insert(0, 1, u'-');
        ++caret;
    }
    SetDisplayText(FPrefix + S(v) + FSuffix);
    Perform(EM_SETSEL, static_cast<WPARAM>(caret), caret);
    SetModified(true);
}

void TExEdit::CommonTail()
{
    if (FTabOnFullLength && FLengthLimit > 0 && IntegerDigits() >= FLengthLimit && SelLength() == 0 &&
        SelStart() - PrefixLen() == FLengthLimit)
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    if (TCustomEdit::Modified()) SetModified(true);
    UpdateLookupList();
}

// The decimal rules of etFloat and etMoney: true when the character was
// dealt with (dropped or written) and filtering ends.
bool TExEdit::DecimalRules(char16_t& ch, TMessage& m)
{
    const std::u16string v = U(Text());
    const int p = PrefixLen();
    const int c = SelStart() - p;
    const int sl = SelLength();
    const std::u16string sel = c >= 0 && c <= static_cast<int>(v.size()) ? v.substr(static_cast<std::size_t>(c), static_cast<std::size_t>(sl)) : u"";
    const bool money = FEditType == TExEditType::etMoney;

    // 1. A second decimal separator, or one where no decimals are allowed.
    if (ch == DS() && (Has(v, DS()) || FPrecision == 0) && (money || !Has(sel, DS()))) {
        if (FPrecision > 0) {
            if (money && sl == static_cast<int>(v.size()) && !v.empty()) SetText(S(std::u16string(u"0") + DS() + u"0"));
            SelectAfterDecimal();
        }
        return true;
    }
    // 2. A second "," that is not the thousand separator.
    if (!money && ch == u',' && Has(v, u',') && !Has(sel, u',') && TS() != u',') return true;
    // 3. Separators only where the thousand groups allow them.
    if ((ch == TS() || ch == DS()) && Has(v, TS())) {
        std::u16string rest = v;
        int cc = c;
        int smallest = static_cast<int>(v.size());
        for (std::size_t i = rest.find(TS()); i != std::u16string::npos; i = rest.find(TS())) {
            const int pos = static_cast<int>(i) + 1;
            const int dist = std::abs(pos - cc);
            if (dist < 3) return true;
            smallest = std::min(smallest, dist);
            if (pos < cc) cc -= pos;
            rest.erase(0, i + 1);
        }
        if (smallest > 3) return true;
    }
    // 4. A full fraction is overtyped.
    const std::size_t dp = v.find(DS());
    if (FPrecision > 0 && dp != std::u16string::npos && c > static_cast<int>(dp) &&
        static_cast<int>(v.size()) - c <= FPrecision && static_cast<int>(v.size() - dp - 1) >= FPrecision &&
        (IsDigit(ch) || ch == DS()) && sl == 0) {
        if (IsDigit(ch) && c < static_cast<int>(v.size())) {
            Perform(EM_SETSEL, static_cast<WPARAM>(p + c), p + c + 1);
        } else {
            return true;
        }
    }
    // 5. A separator in an empty edit starts with "0".
    if (c == 0 && v.empty() && ch == DS()) {
        SetDisplayText(FPrefix + "0" + S(std::u16string(1, DS())) + FSuffix);
        Perform(EM_SETSEL, static_cast<WPARAM>(p + 2), p + 2);
        SetModified(true);
        return true;
    }
    // 6. The sign toggles.
    if (ch == u'-' && sl == 0) {
        const int keep = FPrecision;
        FPrecision = 0;
        ToggleSign();
        FPrecision = keep;
        return true;
    }
    // 7. Typed; money regroups its thousands.
    PassChar(m);
    if (money) {
        const std::string nv = Text();
        if (!nv.empty() && nv != "-" && ch != DS()) {
            if (TCustomEdit::Modified()) SetModified(true);
            UpdateThousandSeparators();
        }
    }
    return false;
}

void TExEdit::WMChar(TMessage& m)
{
    auto ch = static_cast<char16_t>(m.WParam);
    // Delete is a key, not a character: the key-down did it.
    if (ch == 0x7F) return;
    const bool ctrl = CtrlHeld();
    const int p = PrefixLen();

    // Whole-value selection no longer blocks the change notice: typing over
    // a selected value is a change like any other.
    if (ch == 13 && ctrl) {
        m.Result = 1;
        return;
    }
    if (ch == 13) {
        char16_t k = 13;
        KeyPress(k);
        m.WParam = 0;
        if (!FDefaultHandling && Parent()) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            TCustomForm* f = GetParentForm();
            if (f && f->KeyPreview()) TCustomEdit::Dispatch(m);
            else PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
        return;
    }
    if (ch == 27 && !FDefaultHandling && Parent()) {
        TCustomForm* f = GetParentForm();
        if (f && f->KeyPreview()) {
            TCustomEdit::Dispatch(m);
            return;
        }
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
    if (ch == 27 && !FCanUndo) {
        TCustomEdit::Dispatch(m);
        return;
    }
    if (ctrl && (ch == 3 || ch == 22 || ch == 24)) {
        // The edit's own clipboard messages, so the filter sees the paste.
        Perform(ch == 3 ? WM_COPY : ch == 22 ? WM_PASTE : WM_CUT);
        return;
    }
    if (FExcelStyleDecimalSeparator && (ch == u'.' || ch == u',') && (m.LParam & (LPARAM(1) << 22))) {
        ch = DS();
        m.WParam = ch;
    }
    const int caret = SelStart();
    const int sl = SelLength();
    if (ch == 8 && !FPrefix.empty() && sl == 0 && caret <= p) return;
    if (FLengthLimit > 0) {
        const std::u16string v = U(Text());
        const std::size_t dp = v.find(DS());
        const bool beforeDecimal = dp == std::u16string::npos || caret < p + static_cast<int>(dp) + 1;
        const bool sign = ch == u'-' && FSigned && IsSignedType(FEditType);
        if (IntegerDigits() >= FLengthLimit && sl == 0 && beforeDecimal && ch != 8 && ch != DS() && !sign) return;
    }
    if (ch == 8) {
        std::u16string v = U(Text());
        const std::u16string old = v;
        const int c = caret - p;
        if (sl > 0) {
            if (c >= 0 && c <= static_cast<int>(v.size())) v.erase(static_cast<std::size_t>(c), static_cast<std::size_t>(sl));
        } else if (c > 0 && c <= static_cast<int>(v.size())) {
            v.erase(static_cast<std::size_t>(c - 1), 1);
        }
        if (v != old) SetModified(true);
        PassChar(m);
        return;
    }
    if (ctrl && ch == 10) return;
    if (ch == u'-' && IsSignedType(FEditType) && !FSigned) return;

    const bool control = ch == 8 || ch == 9 || ch == 13;
    switch (FEditType) {
    case TExEditType::etString:
    case TExEditType::etPassword:
        SetModified(true);
        PassChar(m);
        break;
    case TExEditType::etNumeric:
        if (ch == u'-') {
            const std::u16string v = U(Text());
            if (!v.empty() && sl == static_cast<int>(v.size())) {
                SetDisplayText(FPrefix + "-" + FSuffix);
                Perform(EM_SETSEL, static_cast<WPARAM>(p + 1), p + 1);
                return;
            }
            ToggleSign();
        } else if (control || IsDigit(ch) || ctrl) {
            PassChar(m);
        }
        break;
    case TExEditType::etFloat:
        if ((ch == u',' || ch == u'.') && ch != DS() && ch != TS()) return;
        if (control || ch == u',' || ch == u'-' || ch == u'.' || IsDigit(ch))
            if (DecimalRules(ch, m)) return;
        break;
    case TExEditType::etMoney:
        if (control || ch == u'-' || IsDigit(ch) || ch == DS())
            if (DecimalRules(ch, m)) return;
        break;
    case TExEditType::etUppercase:
    case TExEditType::etLowerCase: {
        const std::string one = S(std::u16string(1, ch));
        const std::u16string mapped =
            U(FEditType == TExEditType::etUppercase ? rtl::AnsiUpperCase(one) : rtl::AnsiLowerCase(one));
        if (mapped.size() == 1) m.WParam = mapped[0];
        PassChar(m);
        break;
    }
    case TExEditType::etMixedCase: {
        const int k = caret;
        PassChar(m);
        const std::string display = FPrefix + ProperCase(Text()) + FSuffix;
        // The re-casing is the edit's own rewrite of what was just typed.
        FBlockChange = display != GetText();
        SetDisplayText(display);
        FBlockChange = false;
        Perform(EM_SETSEL, static_cast<WPARAM>(k + 1), k + 1);
        break;
    }
    case TExEditType::etRange:
        if (control || ch == u',' || ch == u'-' || ch == u';' || IsDigit(ch)) {
            SetModified(true);
            if (ch == u',' || ch == u'-' || ch == u';') {
                const std::u16string d = U(GetText()) + u" ";
                auto sep = [](char16_t c) { return c == u',' || c == u'-' || c == u';'; };
                if (caret <= p) return;
                if (caret - 1 < static_cast<int>(d.size()) && sep(d[static_cast<std::size_t>(caret - 1)])) return;
                if (caret < static_cast<int>(d.size()) && sep(d[static_cast<std::size_t>(caret)])) return;
            }
            PassChar(m);
        }
        break;
    case TExEditType::etHex:
        if (control || ch == u'-' || IsDigit(ch) || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f')) {
            SetModified(true);
            PassChar(m);
        }
        break;
    case TExEditType::etAlphaNumeric:
        if (control || IsAlnum(ch)) {
            SetModified(true);
            PassChar(m);
        }
        break;
    case TExEditType::etValidChars:
        if (ch == 8 || U(FValidChars).find(ch) != std::u16string::npos) {
            SetModified(true);
            PassChar(m);
        }
        break;
    }
    CommonTail();
}

void TExEdit::WMKeyDown(TMessage& m)
{
    uint16_t key = static_cast<uint16_t>(m.WParam);
    const TShiftState shift = GetShiftState();
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const int p = PrefixLen();
    const int valueEnd = p + static_cast<int>(U(Text()).size());
    const int ss = SelStart(), sl = SelLength();
    const int selEnd = ss + sl;

    if (key == VK_RETURN && LookupVisible()) {
        TakeLookupEntry();
        return;
    }
    if (ctrl && (key == VK_TAB || key == VK_RETURN)) {
        TCustomEdit::Dispatch(m);
        return;
    }
    if (LookupVisible() && (key == VK_HOME || key == VK_END || key == VK_NEXT || key == VK_PRIOR)) {
        if (key == VK_HOME) MoveLookupIndex(0, true);
        else if (key == VK_END) MoveLookupIndex(-1, true);
        else if (key == VK_NEXT) MoveLookupIndex(FLookup->DisplayCount);
        else MoveLookupIndex(-FLookup->DisplayCount);
        m.Result = 1;
        return;
    }
    if (key == VK_TAB) {
        // A Tab sent to the edit itself (ReturnIsTab, TabOnFullLength):
        // the focus moves on as the dialog key would move it.
        if (DoKeyDown(m)) return;
        if (Parent())
            if (TWinControl* next = Parent()->FindNextControl(this, !shift.Contains(TShiftStateItem::ssShift), true, false))
                next->SetFocus();
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        m.WParam = VK_TAB;
        if (Visible()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
        TCustomEdit::Dispatch(m);
        return;
    }
    if (key == VK_RIGHT && !FSuffix.empty() && selEnd >= valueEnd) return;
    if (key == VK_DELETE && !FSuffix.empty()) {
        if (selEnd >= valueEnd && sl == 0) return;
        SetModified(true);
    }
    if (key == VK_LEFT && !FPrefix.empty() && selEnd <= p) return;
    if (key == VK_END && !FSuffix.empty()) {
        if (shift.Contains(TShiftStateItem::ssShift)) Perform(EM_SETSEL, static_cast<WPARAM>(ss), valueEnd);
        else Perform(EM_SETSEL, static_cast<WPARAM>(valueEnd), valueEnd);
        return;
    }
    if (key == VK_HOME && !FPrefix.empty()) {
        if (shift.Contains(TShiftStateItem::ssShift)) Perform(EM_SETSEL, static_cast<WPARAM>(valueEnd), p);
        else Perform(EM_SETSEL, static_cast<WPARAM>(p), p);
        return;
    }
    if (key == VK_BACK && !FPrefix.empty()) {
        if (ss <= p + 1) return;
        SetModified(true);
    }
    if (key == VK_DELETE && ss >= p) {
        std::u16string v = U(Text());
        const int c = ss - p;
        if (sl > 0) v.erase(static_cast<std::size_t>(c), static_cast<std::size_t>(sl));
        else if (c < static_cast<int>(v.size())) v.erase(static_cast<std::size_t>(c), 1);
        if (FLengthLimit > 0) {
            const std::size_t dp = v.find(DS());
            int n = 0;
            for (std::size_t i = 0; i < (dp == std::u16string::npos ? v.size() : dp); ++i)
                if (v[i] != TS() && v[i] != u'-') ++n;
            if (n > FLengthLimit) return;
        }
        SetModified(true);
    }
    if ((key == VK_UP || key == VK_DOWN) && LookupVisible()) {
        MoveLookupIndex(key == VK_UP ? -1 : 1);
        return;
    }
    if (DoKeyDown(m)) return;
    key = static_cast<uint16_t>(m.WParam);
    if (key == VK_DELETE) {
        // Deleted here so that money regrouping sees the result at once.
        if (!ReadOnly()) {
            if (SelLength() == 0) {
                const int c = SelStart();
                if (c >= static_cast<int>(U(GetText()).size())) return;
                Perform(EM_SETSEL, static_cast<WPARAM>(c), c + 1);
            }
            SetSelText("");
        }
        if (FEditType == TExEditType::etMoney) UpdateThousandSeparators();
    } else {
        DefaultHandler(m);
    }
    if (!FPrefix.empty() && SelStart() < p) Perform(EM_SETSEL, static_cast<WPARAM>(p), p);
}

void TExEdit::CMWantSpecialKey(TMessage& m)
{
    TCustomForm* f = GetParentForm();
    if (!f) return;
    if (FBlockDefaultHandling) {
        FBlockDefaultHandling = false;
        return;
    }
    const auto key = static_cast<uint16_t>(m.WParam);
    if (key == VK_ESCAPE && FCanUndo && !f->KeyPreview()) {
        SetText(FOldString);
        if (FFocusFontColor != clNone) ApplyFontColor(FFocusFontColor);
        SelectAll();
        SetModified(false);
        m.Result = 0;
        if (Parent() && FDefaultHandling) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
    }
    if (key == VK_RETURN && FDefaultHandling && !f->KeyPreview() && Parent() && Parent()->Focused()) {
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    TCustomEdit::Dispatch(m);
}

// ------------------------------------------------------------- clipboard

void TExEdit::WMCopy(TMessage& m)
{
    bool allow = true;
    if (OnClipboardCopy && !FBlockCopy) {
        const std::u16string v = U(Text());
        const int c = std::max(0, SelStart() - PrefixLen());
        OnClipboardCopy(this, S(v.substr(std::min<std::size_t>(static_cast<std::size_t>(c), v.size()), static_cast<std::size_t>(SelLength()))), allow);
    }
    FBlockCopy = false;
    if (allow) TCustomEdit::Dispatch(m);
}

void TExEdit::WMCut(TMessage& m)
{
    FBlockCopy = true;
    bool allow = true;
    if (OnClipboardCut) {
        const std::u16string v = U(Text());
        const int c = std::max(0, SelStart() - PrefixLen());
        OnClipboardCut(this, S(v.substr(std::min<std::size_t>(static_cast<std::size_t>(c), v.size()), static_cast<std::size_t>(SelLength()))), allow);
    }
    if (allow) TCustomEdit::Dispatch(m);
    FBlockCopy = false;
}

void TExEdit::WMPaste(TMessage&)
{
    if (ReadOnly()) return;
    if (Clipboard()->HasFormat(CF_TEXT)) {
        const std::u16string s = U(Clipboard()->AsText());
        std::u16string v = U(Text());
        const int p = PrefixLen();
        const int caret = SelStart();
        const int sl = SelLength();
        const std::size_t c = static_cast<std::size_t>(std::clamp(caret - p, 0, static_cast<int>(v.size())));
        int newCaret, newSel;
        std::u16string cand = v;
        if (sl > 0) {
            cand.replace(c, static_cast<std::size_t>(sl), s);
            newCaret = caret;
            newSel = static_cast<int>(s.size());
        } else {
            cand.insert(c, s);
            newCaret = caret + static_cast<int>(s.size());
            newSel = 0;
        }
        bool allow = true;
        if (OnClipboardPaste) OnClipboardPaste(this, S(cand), allow);
        if (!allow) return;
        if (MaxLength() > 0 && static_cast<int>(s.size() + v.size()) - sl > MaxLength()) return;
        const std::string candidate = S(cand);
        const TNumberTextKind kind = NumberTextKind(candidate);
        const bool signOk = FSigned || !Has(cand, u'-');
        switch (FEditType) {
        case TExEditType::etString:
        case TExEditType::etPassword:
            SetText(candidate);
            break;
        case TExEditType::etNumeric:
            if (kind == TNumberTextKind::ntkInteger && signOk) {
                SetText(candidate);
                SetModified(true);
            }
            break;
        case TExEditType::etFloat:
        case TExEditType::etMoney:
            if ((kind == TNumberTextKind::ntkInteger || kind == TNumberTextKind::ntkDecimal) &&
                !(FPrecision == 0 && Has(s, DS())) && signOk) {
                SetText(candidate);
                SetFloatValue(FloatValue());
                SetModified(true);
            }
            break;
        case TExEditType::etUppercase:
            SetText(rtl::AnsiUpperCase(candidate));
            break;
        case TExEditType::etLowerCase:
            SetText(rtl::AnsiLowerCase(candidate));
            break;
        case TExEditType::etMixedCase:
            SetText(ProperCase(candidate));
            break;
        case TExEditType::etAlphaNumeric:
            if (std::all_of(cand.begin(), cand.end(), IsAlnum)) {
                SetText(candidate);
                SetModified(true);
            }
            break;
        case TExEditType::etValidChars: {
            const std::u16string valid = U(FValidChars);
            if (std::all_of(cand.begin(), cand.end(), [&](char16_t ch) { return valid.find(ch) != std::u16string::npos; })) {
                SetText(candidate);
                SetModified(true);
            }
            break;
        }
        case TExEditType::etRange:
        case TExEditType::etHex:
            break;
        }
        if (FEditType == TExEditType::etMoney && U(Text()).size() > 3) SelectAll();
        else Perform(EM_SETSEL, static_cast<WPARAM>(newCaret), newCaret + newSel);
        switch (FEditType) {
        case TExEditType::etString:
        case TExEditType::etUppercase:
        case TExEditType::etMixedCase:
        case TExEditType::etLowerCase:
        case TExEditType::etPassword:
            SetModified(true);
            break;
        default:
            break;
        }
    }
    UpdateLookupList();
    // A full value moves on to the next control, as typing does.
    if (FTabOnFullLength && FLengthLimit > 0 && static_cast<int>(U(Text()).size()) == FLengthLimit && Parent())
        if (TWinControl* next = Parent()->FindNextControl(this, true, true, false)) next->SetFocus();
}

} // namespace controls
