// The memo view: its text from a data field or from the template with
// [expressions] replaced by their formatted values, display formats,
// suppressed repeats and hidden zeros, the highlight, drawing through the
// text layout, measuring, and splitting between pages.

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"
#include "report/qlrUnicodeUtils.h"
#include "report/qlrUtils.h"
#include "report/qlrVariables.h"
#include "report/qlrWideStrings.h"
#include "report/qlrXML.h"

namespace qlr {

namespace {

// Device pixels stay within this bound, so that a damaged position or size
// read from a file cannot overflow the sums drawing makes of them.
constexpr long double kPixelLimit = 1 << 28;

int Round(long double x)
{
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::nearbyint(std::clamp(x, -kPixelLimit, kPixelLimit)));  // ties to even
}

std::string Attr(const std::string& name, const std::string& value)
{
    return " " + name + "=\"" + value + "\"";
}

// Holds the layout lock for a scope.
struct LayoutLock {
    LayoutLock() { TqlrDrawText::Lock(); }
    ~LayoutLock() { TqlrDrawText::Unlock(); }
};

// Replaces the first occurrence of what (compared in upper case) in s.
void ReplaceFirstUpper(std::string& s, const std::string& what, const std::string& by)
{
    std::size_t at = rtl::UpperCase(s).find(what);
    if (at != std::string::npos) s.replace(at, what.size(), by);
}

std::vector<std::u16string> SplitLines(const std::string& text)
{
    std::vector<std::u16string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(rtl::UTF8ToUTF16(text.substr(start)));
            break;
        }
        lines.push_back(rtl::UTF8ToUTF16(text.substr(start, end - start)));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::u16string>& lines)
{
    std::string s;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) s += "\r\n";
        s += rtl::UTF16ToUTF8(lines[i]);
    }
    return s;
}

bool IsZero(const rtl::Variant& v)
{
    if (v.IsNull() || v.IsEmpty() || v.IsString()) return false;
    try {
        return v.AsDouble() == 0;
    } catch (const rtl::Exception&) {
        return false;
    }
}

} // namespace

TqlrCustomMemoView::TqlrCustomMemoView(rtl::TComponent* owner)
    : TqlrStretcheable(owner), FDisplayFormat(std::make_unique<TqlrFormat>()),
      FHighlight(std::make_unique<TqlrHighlight>())
{
    FComponentStyle.Exclude(TqlrComponentStyleItem::csDefaultDiff);
}

TqlrCustomMemoView::~TqlrCustomMemoView()
{
    if (FFlowTo) FFlowTo->RemoveFreeNotification(this);
}

std::vector<std::u16string> TqlrCustomMemoView::Lines() const
{
    return SplitLines(FText);
}

namespace {

// A memo's lines as a wide-string list: read again whenever the memo's
// text changed behind it, written back as the text after every change.
class TqlrMemoLines : public TWideStrings {
public:
    explicit TqlrMemoLines(TqlrCustomMemoView* memo) : FMemo(memo) {}

protected:
    TqlrWideStrings& List() const override
    {
        if (!FRead || FMemo->Text() != FSynced) {
            FLines.Clear();
            for (const std::u16string& line : SplitLines(FMemo->Text())) FLines.Add(line);
            FSynced = FMemo->Text();
            FRead = true;
        }
        return FLines;
    }
    void Changed() override
    {
        std::vector<std::u16string> lines;
        for (int i = 0; i < FLines.Count(); ++i) lines.push_back(FLines.Strings(i));
        FSynced = JoinLines(lines);
        FMemo->SetText(FSynced);
    }

private:
    TqlrCustomMemoView* FMemo;
    mutable TqlrWideStrings FLines;
    mutable std::string FSynced;
    mutable bool FRead = false;
};

} // namespace

TWideStrings* TqlrCustomMemoView::LinesObject()
{
    if (!FLinesObject) FLinesObject = std::make_unique<TqlrMemoLines>(this);
    return FLinesObject.get();
}

void TqlrCustomMemoView::SetFlowTo(TqlrCustomMemoView* v)
{
    if (FFlowTo) FFlowTo->RemoveFreeNotification(this);
    FFlowTo = v;
    if (FFlowTo) FFlowTo->FreeNotification(this);
}

void TqlrCustomMemoView::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrStretcheable::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FFlowTo) FFlowTo = nullptr;
}

void TqlrCustomMemoView::SetStyle(const std::string& v)
{
    FStyle = v;
    TqlrReport* report = Report();
    if (report && report->Styles() && !v.empty()) ApplyStyle(report->Styles()->Find(v));
}

void TqlrCustomMemoView::ApplyStyle(const TqlrStyleItem* style)
{
    if (!style) return;
    SetColor(style->Color());
    SetFont(style->Font());
    Frame()->Assign(style->Frame());
}

std::string TqlrCustomMemoView::GetDescription() const
{
    return GetResources().Get("obText");
}

std::string TqlrSysMemoView::GetDescription() const
{
    return GetResources().Get("obSysText");
}

TqlrDrawText& TqlrCustomMemoView::Layout() const
{
    if (TqlrReport* r = Report()) return r->DrawText();
    return SharedDrawText();
}

// --- text area --------------------------------------------------------------------

gui::TRect TqlrCustomMemoView::TextArea(long double scaleX, long double scaleY) const
{
    const TqlrFrame* f = Frame();
    const long double w = f->Width();
    const auto& typ = f->Typ();
    int gx = Round(scaleX * FGapX), gy = Round(scaleY * FGapY);
    gui::TRect r;
    r.Left = FX + gx + (typ.Contains(TqlrFrameType::ftLeft) ? Round((scaleX * w - 1) / 2) : 0);
    r.Top = FY + gy + (typ.Contains(TqlrFrameType::ftTop) ? Round((scaleY * w - 1) / 2) : 0);
    r.Right = FX1 - gx + 1 - (typ.Contains(TqlrFrameType::ftRight) ? Round(scaleX * w / 2) : 0);
    r.Bottom = FY1 - gy + 1 - (typ.Contains(TqlrFrameType::ftBottom) ? Round(scaleY * w / 2) : 0);
    return r;
}

void TqlrCustomMemoView::PrepareDeviceRect(gui::TCanvas* canvas, long double scaleX, long double scaleY,
                                           long double offsetX, long double offsetY)
{
    TqlrStretcheable::PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    FTextRect = TextArea(scaleX, scaleY);
}

long double TqlrCustomMemoView::ExtraHeight() const
{
    const TqlrFrame* f = Frame();
    long double e = 2 * FGapY;
    if (f->Typ().Contains(TqlrFrameType::ftTop)) e += (f->Width() - 1) / 2;
    if (f->Typ().Contains(TqlrFrameType::ftBottom)) e += f->Width() / 2;
    if (f->DropShadow()) e += f->ShadowWidth();
    return e;
}

long double TqlrCustomMemoView::ExtraWidth() const
{
    const TqlrFrame* f = Frame();
    long double e = 2 * FGapX;
    if (f->Typ().Contains(TqlrFrameType::ftLeft)) e += (f->Width() - 1) / 2;
    if (f->Typ().Contains(TqlrFrameType::ftRight)) e += f->Width() / 2;
    if (f->DropShadow()) e += f->ShadowWidth();
    return e;
}

// --- layout set-up ------------------------------------------------------------------

void TqlrCustomMemoView::SetupFontAndOptions(TqlrDrawText& dt)
{
    dt.UseDefaultCharset = FUseDefaultCharset;
    if (FHighlight->Active()) {
        dt.SetFont(FHighlight->Font());
        SetColor(FHighlight->Color());
    } else {
        dt.SetFont(Font());
    }
    dt.SetOptions(FWordWrap, FAllowHTMLTags, FRTLReading, FWordBreak, FClipped, FWysiwyg, FRotation);
    dt.SetGaps(FParagraphGap, FCharSpacing, FLineSpacing);
}

void TqlrCustomMemoView::SetupLayout(TqlrDrawText& dt, long double scaleX, long double scaleY, long double offsetX,
                                     long double offsetY, gui::TCanvas* canvas)
{
    SetupFontAndOptions(dt);
    if (!IsDesigning() && FAutoWidth) {
        gui::TRect big(0, 0, 10000, 10000);
        dt.SetDimensions(1, 1, 1, big, big);
        dt.SetText(Lines());
        long double oldWidth = Width();
        long double newWidth = dt.CalcWidth() + ExtraWidth();
        SetWidth(newWidth);
        if (FHAlign == TqlrHAlign::haRight) SetLeft(Left() + oldWidth - newWidth);
        else if (FHAlign == TqlrHAlign::haCenter) SetLeft(Left() + (oldWidth - newWidth) / 2);
        if (Parent()) Parent()->AlignChildren();
    }
    TqlrStretcheable::PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    gui::TRect scaled = TextArea(scaleX, scaleY);
    TqlrStretcheable::PrepareDeviceRect(canvas, 1, 1, 0, 0);
    FTextRect = TextArea(1, 1);
    if (!IsPrinting()) FPrintScale = 1;
    dt.SetDimensions(scaleX, scaleY, FPrintScale, FTextRect, scaled);
    // Back to the drawing scale for the frame and background.
    TqlrStretcheable::PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    dt.SetText(Lines());
    dt.SetParaBreaks(FFirstParaBreak, FLastParaBreak);
}

// --- drawing and measuring --------------------------------------------------------------

void TqlrCustomMemoView::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                              long double offsetY)
{
    if (!IsDesigning()) ExtractMacros();
    else if (IsDataField())
        FText = "[" + DataSet()->UserName() + ".\"" + DataField() + "\"]";
    const gui::TColor savedColor = Color();
    {
        LayoutLock lock;
        TqlrDrawText& dt = Layout();
        SetupLayout(dt, scaleX, scaleY, offsetX, offsetY, canvas);
        TqlrView::Draw(canvas, scaleX, scaleY, offsetX, offsetY);
        if (FUnderlines && FRotation == 0) {
            canvas->Pen()->SetColor(Frame()->Color());
            canvas->Pen()->SetWidth(FFrameWidth);
            canvas->Pen()->SetStyle(gui::TPenStyle::psSolid);
            long double step = dt.LineHeight() * scaleY;
            if (step > 0) {
                long double y = FY + step + (FGapY - FLineSpacing + 1) * scaleY;
                for (; y < FY1; y += step) {
                    canvas->MoveTo(FX, Round(y));
                    canvas->LineTo(FX1, Round(y));
                }
            }
        }
        dt.DrawText(canvas, FHAlign, FVAlign);
    }
    SetColor(savedColor);
}

long double TqlrCustomMemoView::CalcHeight()
{
    LayoutLock lock;
    TqlrDrawText& dt = Layout();
    const gui::TColor savedColor = Color();
    SetupFontAndOptions(dt);
    SetColor(savedColor);
    gui::TRect area;
    if (FAutoWidth) {
        area = gui::TRect(0, 0, 10000, 10000);
    } else {
        TqlrStretcheable::PrepareDeviceRect(nullptr, 1, 1, 0, 0);
        area = TextArea(1, 1);
    }
    dt.SetDimensions(1, 1, 1, area, area);
    dt.SetText(Lines());
    return Round(dt.CalcHeight() + ExtraHeight());
}

long double TqlrCustomMemoView::CalcWidth()
{
    LayoutLock lock;
    TqlrDrawText& dt = Layout();
    const gui::TColor savedColor = Color();
    SetupFontAndOptions(dt);
    SetColor(savedColor);
    gui::TRect area(0, 0, 10000, 10000);
    dt.SetDimensions(1, 1, 1, area, area);
    dt.SetText(Lines());
    return Round(dt.CalcWidth() + ExtraWidth());
}

std::string TqlrCustomMemoView::WrapText(bool wrapWords)
{
    LayoutLock lock;
    TqlrDrawText& dt = Layout();
    const gui::TColor savedColor = Color();
    gui::TBitmap scratch(1, 1);
    SetupLayout(dt, 1, 1, 0, 0, scratch.Canvas());
    SetColor(savedColor);
    if (wrapWords) return rtl::UTF16ToUTF8(dt.GetWrappedText());
    return rtl::UTF16ToUTF8(dt.DeleteTags(rtl::UTF8ToUTF16(FText)));
}

void TqlrCustomMemoView::InitPart()
{
    FPartMemo = rtl::UTF8ToUTF16(FText);
    FFirstParaBreak = false;
    FLastParaBreak = false;
}

long double TqlrCustomMemoView::DrawPart()
{
    LayoutLock lock;
    TqlrDrawText& dt = Layout();
    const gui::TColor savedColor = Color();
    FText = rtl::UTF16ToUTF8(FPartMemo);
    gui::TBitmap scratch(1, 1);
    SetupLayout(dt, 1, 1, 0, 0, scratch.Canvas());
    bool paraBreak = false;
    FPartMemo = dt.GetOutBoundsText(paraBreak);
    FText = rtl::UTF16ToUTF8(dt.GetInBoundsText());
    while (FText.size() >= 2 && FText.compare(FText.size() - 2, 2, "\r\n") == 0) FText.resize(FText.size() - 2);
    FLastParaBreak = paraBreak;
    long double result = dt.Lines().empty() ? Height() : dt.UnusedSpace();
    SetColor(savedColor);
    return result;
}

// --- data ----------------------------------------------------------------------------------

void TqlrCustomMemoView::BeforePrint()
{
    TqlrStretcheable::BeforePrint();
    if (!IsDataField()) FTempMemo = FText;
}

void TqlrCustomMemoView::AfterPrint()
{
    if (!IsDataField()) FText = FTempMemo;
    TqlrStretcheable::AfterPrint();
}

std::string TqlrCustomMemoView::AnsiText() const
{
    return WideTextToAnsi(rtl::UTF8ToUTF16(FText), Font()->Charset(), 0);
}

void TqlrCustomMemoView::SetAnsiText(const std::string& bytes)
{
    FText = rtl::UTF16ToUTF8(AnsiTextToWide(bytes, Font()->Charset(), 0));
}

bool TqlrCustomMemoView::ConvertsCharset() const
{
    return Font()->Charset() != 1 && !FUseDefaultCharset;
}

namespace {
// Text passed through the code page of a character set and back.  Text is
// Unicode throughout this program, so a character the page cannot hold (or
// a character set without a page) keeps the text as it was: the round trip
// never loses anything.
std::string ThroughCharsetPage(const std::string& text, uint8_t charset)
{
    try {
        const std::u16string wide = rtl::UTF8ToUTF16(text);
        const std::u16string back = AnsiTextToWide(WideTextToAnsi(wide, charset, 0), charset, 0);
        if (back == wide) return rtl::UTF16ToUTF8(back);
    } catch (const rtl::Exception&) {
    }
    return text;
}
} // namespace

std::string TqlrCustomMemoView::FormatData(const rtl::Variant& value, const TqlrFormat* format) const
{
    if (!format) format = FDisplayFormat.get();
    if (value.IsNull() || value.IsEmpty()) return "";
    const std::string plain = rtl::VarToStr(value);
    try {
        const std::string& f = format->FormatStr();
        switch (format->Kind()) {
        case TqlrFormatKind::fkText:
            return ConvertsCharset() ? ThroughCharsetPage(plain, Font()->Charset()) : plain;
        case TqlrFormatKind::fkNumeric: {
            std::string text;
            if (f.find('#') != std::string::npos) text = rtl::FormatFloat(f, value.AsDouble());
            else if (f.find('d') != std::string::npos || f.find('u') != std::string::npos)
                text = rtl::Format(f, {static_cast<long long>(value.AsInt64())});
            else text = rtl::Format(f, {static_cast<long double>(value.AsDouble())});
            const char sysDecimal = '.', sysThousand = ',';
            std::size_t decimalAt = std::string::npos;
            const std::string& ds = format->DecimalSeparator();
            const std::string& ts = format->ThousandSeparator();
            if (ds.size() == 1 && ds[0] != sysDecimal) decimalAt = text.rfind(sysDecimal);
            if (ts.size() == 1 && ts[0] != sysThousand)
                for (char& ch : text)
                    if (ch == sysThousand) ch = ts[0];
            if (decimalAt != std::string::npos) text[decimalAt] = ds[0];
            return text;
        }
        case TqlrFormatKind::fkDateTime:
            return rtl::FormatDateTime(f, value.AsDouble());
        case TqlrFormatKind::fkBoolean: {
            std::size_t comma = f.find(',');
            bool yes = value.AsBoolean();
            if (comma == std::string::npos) return yes ? std::string() : f;
            return yes ? f.substr(comma + 1) : f.substr(0, comma);
        }
        }
    } catch (const rtl::Exception&) {
        // a format that does not fit the value shows the plain text
    }
    return plain;
}

std::string TqlrCustomMemoView::EvaluateExpression(const std::string& text)
{
    std::string expr = text;
    TqlrFormat own;
    const TqlrFormat* format = nullptr;
    std::size_t hash = text.find(" #");
    if (hash != std::string::npos && text.find(')', hash + 2) == std::string::npos) {
        expr = text.substr(0, hash);
        std::string spec = text.substr(hash + 2);
        char kind = spec.empty() ? ' ' : spec[0];
        std::string rest = spec.empty() ? std::string() : spec.substr(1, 255);
        switch (kind) {
        case 'N': case 'n': {
            own.SetKind(TqlrFormatKind::fkNumeric);
            for (char& ch : rest)
                if (ch == ',' || ch == '-' || ch == '.') {
                    own.SetDecimalSeparator(std::string(1, ch));
                    ch = '.';
                }
            break;
        }
        case 'D': case 'd': case 'T': case 't': own.SetKind(TqlrFormatKind::fkDateTime); break;
        case 'B': case 'b': own.SetKind(TqlrFormatKind::fkBoolean); break;
        default: own.SetKind(TqlrFormatKind::fkText); break;
        }
        own.SetFormatStr(rest);
        format = &own;
    }
    std::string upper = rtl::UpperCase(rtl::Trim(expr));
    if (upper == "TOTALPAGES#") return "[TotalPages#]";
    if (upper == "COPYNAME#") return "[CopyName#]";
    TqlrReport* report = Report();
    const std::string source = ConvertsCharset() ? ThroughCharsetPage(expr, Font()->Charset()) : expr;
    FValue = report ? report->Calc(source) : rtl::Variant::Null();
    if (FHideZeros && IsZero(FValue)) return "";
    return FormatData(FValue, format);
}

void TqlrCustomMemoView::GetData()
{
    TqlrStretcheable::GetData();
    TqlrReport* report = Report();
    if (IsDataField()) {
        TqlrDataSet* ds = DataSet();
        if (ds->IsBlobField(DataField())) {
            ds->AssignBlobTo(DataField(), this);
        } else {
            FValue = ds->Value(DataField());
            if (FDisplayFormat->Kind() != TqlrFormatKind::fkText) FText = FormatData(FValue);
            else {
                FText = ds->DisplayText(DataField());
                if (ConvertsCharset()) FText = ThroughCharsetPage(FText, Font()->Charset());
            }
            if (FHideZeros && IsZero(FValue)) FText.clear();
        }
    } else if (FAllowExpressions) {
        std::size_t comma = FExpressionDelimiters.find(',');
        std::string open = FExpressionDelimiters.substr(0, comma);
        std::string close = comma == std::string::npos ? std::string() : FExpressionDelimiters.substr(comma + 1);
        if (!open.empty() && FText.find(open) != std::string::npos) {
            std::string s = FText;
            int i = 1;
            while (i <= static_cast<int>(s.size())) {
                while (i < static_cast<int>(s.size()) && s.compare(static_cast<std::size_t>(i - 1), open.size(), open) != 0)
                    ++i;
                int stop = 0;
                int start = i;
                std::string expr = ExtractBracketedExpression(s, open, close, start, stop);
                if (stop == start) break;
                std::string value = EvaluateExpression(expr);
                s.erase(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(stop - start + 1));
                s.insert(static_cast<std::size_t>(start - 1), value);
                i = start + static_cast<int>(value.size());
            }
            FText = s;
        }
    }
    if (report) report->CurValue = FValue;
    FHighlight->SetActive(false);
    if (!rtl::Trim(FHighlight->Condition()).empty() && report) {
        rtl::Variant v = report->Calc(FHighlight->Condition());
        FHighlight->SetActive(v.AsBoolean());
    }
    if (FSuppressRepeated) {
        if (FLastValue.IsNull() || rtl::VarToStr(FLastValue) != FText) FLastValue = rtl::Variant(FText);
        else FText.clear();
    }
    if (FFlowTo) {
        InitPart();
        DrawPart();
        FFlowTo->SetText(rtl::UTF16ToUTF8(FPartMemo));
        FFlowTo->SetAllowExpressions(false);
    }
}

std::string TqlrCustomMemoView::GetComponentText()
{
    std::string s = FText;
    if (FAllowExpressions) ReplaceFirstUpper(s, "[TOTALPAGES]", std::to_string(FTotalPages));
    return s;
}

void TqlrCustomMemoView::ExtractMacros()
{
    if (!FAllowExpressions) return;
    ReplaceFirstUpper(FText, "[TOTALPAGES#]", std::to_string(FTotalPages));
    std::size_t at = rtl::UpperCase(FText).find("[COPYNAME#]");
    if (at != std::string::npos) {
        TqlrVariables& globals = GlobalVariables();
        std::string name = "CopyName" + std::to_string(FCopyNo);
        std::string value = globals.IndexOf(name) >= 0 ? rtl::VarToStr(globals.GetVariable(name)) : std::string();
        FText.replace(at, 11, value);
    }
}

std::string TqlrCustomMemoView::Diff(TqlrComponent* aComponent)
{
    std::string s = TqlrStretcheable::Diff(aComponent);
    auto* m = dynamic_cast<TqlrCustomMemoView*>(aComponent);
    if (!m) return s;
    auto b = [](bool v) { return std::string(v ? "1" : "0"); };
    if (FAutoWidth != m->FAutoWidth) s += Attr("AutoWidth", b(FAutoWidth));
    if (FloatsDiffer(FCharSpacing, m->FCharSpacing)) s += Attr("CharSpacing", qlrFloatToStr(FCharSpacing));
    if (FloatsDiffer(FGapX, m->FGapX)) s += Attr("GapX", qlrFloatToStr(FGapX));
    if (FloatsDiffer(FGapY, m->FGapY)) s += Attr("GapY", qlrFloatToStr(FGapY));
    if (FHAlign != m->FHAlign) s += Attr("HAlign", std::to_string(static_cast<int>(FHAlign)));
    if (FHighlight->Active() != m->FHighlight->Active()) s += Attr("Highlight.Active", b(FHighlight->Active()));
    if (FloatsDiffer(FLineSpacing, m->FLineSpacing)) s += Attr("LineSpacing", qlrFloatToStr(FLineSpacing));
    if (FUseDefaultCharset != m->FUseDefaultCharset) s += Attr("UseDefaultCharset", b(FUseDefaultCharset));
    std::vector<std::u16string> lines = Lines();
    std::string u = lines.empty() ? std::string() : JoinLines(lines);
    s += Attr("u", StrToXML(u));
    if (FloatsDiffer(FParagraphGap, m->FParagraphGap)) s += Attr("ParagraphGap", qlrFloatToStr(FParagraphGap));
    if (FRotation != m->FRotation) s += Attr("Rotation", std::to_string(FRotation));
    if (FRTLReading != m->FRTLReading) s += Attr("RTLReading", b(FRTLReading));
    if (FUnderlines != m->FUnderlines) s += Attr("Underlines", b(FUnderlines));
    if (FVAlign != m->FVAlign) s += Attr("VAlign", std::to_string(static_cast<int>(FVAlign)));
    if (FWordWrap != m->FWordWrap) s += Attr("WordWrap", b(FWordWrap));
    const TqlrFormat* f = FDisplayFormat.get();
    const TqlrFormat* g = m->FDisplayFormat.get();
    if (f->Kind() != g->Kind()) s += Attr("DisplayFormat.Kind", std::to_string(static_cast<int>(f->Kind())));
    if (f->DecimalSeparator() != g->DecimalSeparator())
        s += Attr("DisplayFormat.DecimalSeparator", StrToXML(f->DecimalSeparator()));
    if (f->ThousandSeparator() != g->ThousandSeparator())
        s += Attr("DisplayFormat.ThousandSeparator", StrToXML(f->ThousandSeparator()));
    if (f->FormatStr() != g->FormatStr()) s += Attr("DisplayFormat.FormatStr", StrToXML(f->FormatStr()));
    if (FFirstParaBreak) s += Attr("FirstParaBreak", "1");
    if (FLastParaBreak) s += Attr("LastParaBreak", "1");
    FFirstParaBreak = FLastParaBreak;
    FLastParaBreak = false;
    return s;
}

} // namespace qlr
