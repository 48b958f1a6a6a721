// Character-printer page, text, line and command objects on the cell grid.

#include "report/qlrDMPClass.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClassProps.h"
#include "report/qlrDsgnIntf.h"
#include "report/qlrRes.h"
#include "report/qlrXML.h"

namespace qlr {

using namespace props;

namespace {

long double Round(long double x)
{
    return std::nearbyint(x);
}

void ApplyStyles(gui::TFont* f, const TqlrDMPFontStyles& s)
{
    f->SetName("Courier New");
    f->SetSize(12);
    gui::TFontStyles st;
    if (s.Contains(TqlrDMPFontStyle::fsxBold)) st.Include(gui::TFontStyle::fsBold);
    if (s.Contains(TqlrDMPFontStyle::fsxItalic)) st.Include(gui::TFontStyle::fsItalic);
    if (s.Contains(TqlrDMPFontStyle::fsxUnderline)) st.Include(gui::TFontStyle::fsUnderline);
    f->SetStyle(st);
}

const TqlrDMPPage* DMPPageOf(const TqlrComponent* c)
{
    return dynamic_cast<const TqlrDMPPage*>(c->TqlrComponent::Page());
}

} // namespace

RTL_PUBLISHED(TqlrDMPPage)
{
    c.Property("FontStyle", &TqlrDMPPage::FontStyle, &TqlrDMPPage::SetFontStyle).Default(TqlrDMPFontStyles());
}

RTL_PUBLISHED(TqlrDMPMemoView)
{
    c.Property("FontStyle", &TqlrDMPMemoView::FontStyle, &TqlrDMPMemoView::SetFontStyle)
        .Stored([](TqlrDMPMemoView& m) { return !m.ParentFont(); });
    QLR_FIELD(TqlrDMPMemoView, TruncOutboundText).Default(false);
}

RTL_PUBLISHED(TqlrDMPLineView)
{
    c.Property("FontStyle", &TqlrDMPLineView::FontStyle, &TqlrDMPLineView::SetFontStyle)
        .Stored([](TqlrDMPLineView& m) { return !m.ParentFont(); });
    c.Property("ParentFont", [](TqlrDMPLineView& o) { return o.ParentFont(); },
               [](TqlrDMPLineView& o, bool v) { o.SetParentFont(v); })
        .Default(true);
}

RTL_PUBLISHED(TqlrDMPCommand)
{
    c.Property("Command", [](TqlrDMPCommand& o) { return o.Command(); }, &TqlrDMPCommand::SetCommand);
}

// --- page -----------------------------------------------------------------------------------

TqlrDMPPage::TqlrDMPPage(rtl::TComponent* owner) : TqlrReportPage(owner)
{
    ResetFontOptions();
}

void TqlrDMPPage::ResetFontOptions()
{
    ChangeFontQuietly([this](gui::TFont* f) { ApplyStyles(f, FFontStyle); });
}

void TqlrDMPPage::SetFontStyle(const TqlrDMPFontStyles& v)
{
    FFontStyle = v;
    ResetFontOptions();
    for (TqlrComponent* c : AllObjects())
        if (c->ParentFont()) c->SetParentFont(true);
}

void TqlrDMPPage::SnapPaper()
{
    long double w = Round(PaperWidth() * fr01cm / fr1CharX) * fr1CharX / fr01cm;
    long double h = Round(PaperHeight() * fr01cm / fr1CharY) * fr1CharY / fr01cm;
    SetSizeAndDimensions(PaperSize(), w, h);
}

void TqlrDMPPage::SetPaperWidth(long double v)
{
    TqlrReportPage::SetPaperWidth(v);
    SetSizeAndDimensions(PaperSize(), Round(PaperWidth() * fr01cm / fr1CharX) * fr1CharX / fr01cm, PaperHeight());
}

void TqlrDMPPage::SetPaperHeight(long double v)
{
    TqlrReportPage::SetPaperHeight(v);
    SetSizeAndDimensions(PaperSize(), PaperWidth(), Round(PaperHeight() * fr01cm / fr1CharY) * fr1CharY / fr01cm);
}

void TqlrDMPPage::SetPaperSize(int v)
{
    TqlrReportPage::SetPaperSize(v);
    SnapPaper();
}

void TqlrDMPPage::SetDefaults()
{
    TqlrReportPage::SetDefaults();
    SetLeftMargin(fr1CharX / fr01cm);
    SetRightMargin(fr1CharX / fr01cm);
    SetTopMargin(fr1CharY / fr01cm);
    SetBottomMargin(fr1CharY / fr01cm);
    long double w = std::trunc(PaperWidth() * fr01cm / fr1CharX) * fr1CharX / fr01cm;
    long double h = std::trunc(PaperHeight() * fr01cm / fr1CharY) * fr1CharY / fr01cm;
    SetSizeAndDimensions(PaperSize(), w, h);
}

// --- text object ---------------------------------------------------------------------------

TqlrDMPMemoView::TqlrDMPMemoView(rtl::TComponent* owner) : TqlrCustomMemoView(owner)
{
    ResetFontOptions();
}

void TqlrDMPMemoView::ResetFontOptions()
{
    ChangeFontQuietly([this](gui::TFont* f) { ApplyStyles(f, FFontStyle); });
    SetCharSpacing(0);
    SetGapX(0);
    SetGapY(0);
    SetLineSpacing(1);
}

std::string TqlrDMPMemoView::GetDescription() const
{
    return GetResources().Get("obDMPText");
}

void TqlrDMPMemoView::SetFontStyle(const TqlrDMPFontStyles& v)
{
    FFontStyle = v;
    TqlrCustomMemoView::SetParentFont(false);
    ResetFontOptions();
}

void TqlrDMPMemoView::SetParentFont(bool value)
{
    TqlrCustomMemoView::SetParentFont(value);
    if (value)
        if (const TqlrDMPPage* page = DMPPageOf(this)) {
            FFontStyle = page->FontStyle();
            ResetFontOptions();
        }
}

void TqlrDMPMemoView::SetLeft(long double x)
{
    long double cells = Align() == TqlrAlign::baRight ? std::trunc(x / fr1CharX) : Round(x / fr1CharX);
    TqlrCustomMemoView::SetLeft(cells * fr1CharX);
}

void TqlrDMPMemoView::SetTop(long double y)
{
    TqlrCustomMemoView::SetTop(Round(y / fr1CharY) * fr1CharY);
}

void TqlrDMPMemoView::SetWidth(long double w)
{
    TqlrCustomMemoView::SetWidth(Round(w / fr1CharX) * fr1CharX);
}

void TqlrDMPMemoView::SetHeight(long double h)
{
    TqlrCustomMemoView::SetHeight(Round(h / fr1CharY) * fr1CharY);
}

void TqlrDMPMemoView::SetBoundsDirect(long double aLeft, long double aTop, long double aWidth, long double aHeight)
{
    TqlrCustomMemoView::SetLeft(aLeft);
    TqlrCustomMemoView::SetTop(aTop);
    TqlrCustomMemoView::SetWidth(aWidth);
    TqlrCustomMemoView::SetHeight(aHeight);
}

long double TqlrDMPMemoView::CalcHeight()
{
    return Round(TqlrCustomMemoView::CalcHeight() / fr1CharY) * fr1CharY;
}

long double TqlrDMPMemoView::CalcWidth()
{
    return Round(TqlrCustomMemoView::CalcWidth() / fr1CharX) * fr1CharX;
}

void TqlrDMPMemoView::PaintFrame()
{
    // The frame runs through the middle of the surrounding cells.
    int saved[4] = {FX, FY, FX1, FY1};
    FX = static_cast<int>(Round(FX - 4.8L * FScaleX));
    FX1 = static_cast<int>(Round(FX1 + 4.8L * FScaleX));
    FY = static_cast<int>(Round(FY - 8.5L * FScaleY));
    FY1 = static_cast<int>(Round(FY1 + 8.5L * FScaleY));
    TqlrCustomMemoView::PaintFrame();
    FX = saved[0];
    FY = saved[1];
    FX1 = saved[2];
    FY1 = saved[3];
}

std::string TqlrDMPMemoView::Diff(TqlrComponent* aComponent)
{
    std::string s = TqlrCustomMemoView::Diff(aComponent);
    auto* o = dynamic_cast<TqlrDMPMemoView*>(aComponent);
    if (o && o->FFontStyle != FFontStyle) s += " FontStyle=\"" + std::to_string(FFontStyle.ToMask()) + "\"";
    return s;
}

std::string TqlrDMPMemoView::GetoutBoundText() const
{
    std::vector<std::u16string> lines = Lines();
    const int rows = static_cast<int>(Round(Height() / fr1CharY));
    const std::size_t cols = static_cast<std::size_t>(std::max(0.0L, Round(Width() / fr1CharX)));
    std::string result;
    for (int i = 0; i < rows && i < static_cast<int>(lines.size()); ++i)
        result += rtl::UTF16ToUTF8(lines[static_cast<std::size_t>(i)].substr(0, cols)) + "\r\n";
    return result;
}

// --- line -------------------------------------------------------------------------------------

std::string TqlrDMPLineView::GetDescription() const
{
    return GetResources().Get("obDMPLine");
}

void TqlrDMPLineView::SetFontStyle(const TqlrDMPFontStyles& v)
{
    FFontStyle = v;
    TqlrCustomLineView::SetParentFont(false);
}

void TqlrDMPLineView::SetParentFont(bool value)
{
    TqlrCustomLineView::SetParentFont(value);
    if (value)
        if (const TqlrDMPPage* page = DMPPageOf(this)) FFontStyle = page->FontStyle();
}

void TqlrDMPLineView::SetLeft(long double x)
{
    long double v;
    if (x < 0) v = std::trunc(x / fr1CharX) * fr1CharX - 4.8L;
    else if (Align() == TqlrAlign::baRight) v = Round(x / fr1CharX) * fr1CharX - 4.8L;
    else v = std::trunc(x / fr1CharX) * fr1CharX + 4.8L;
    TqlrCustomLineView::SetLeft(v);
}

void TqlrDMPLineView::SetTop(long double y)
{
    TqlrCustomLineView::SetTop(std::trunc(y / fr1CharY) * fr1CharY + 8.5L);
}

void TqlrDMPLineView::SetWidth(long double w)
{
    long double cells = Align() == TqlrAlign::baWidth ? std::trunc(w / fr1CharX) : Round(w / fr1CharX);
    TqlrCustomLineView::SetWidth(cells * fr1CharX);
}

std::string TqlrDMPLineView::Diff(TqlrComponent* aComponent)
{
    std::string s = TqlrCustomLineView::Diff(aComponent);
    auto* o = dynamic_cast<TqlrDMPLineView*>(aComponent);
    if (o && o->FFontStyle != FFontStyle) s += " FontStyle=\"" + std::to_string(FFontStyle.ToMask()) + "\"";
    return s;
}

// --- command -----------------------------------------------------------------------------------

std::string TqlrDMPCommand::GetDescription() const
{
    return GetResources().Get("obDMPCmd");
}

void TqlrDMPCommand::SetLeft(long double x)
{
    TqlrView::SetLeft(Round(x / fr1CharX) * fr1CharX);
}

void TqlrDMPCommand::SetTop(long double y)
{
    TqlrView::SetTop(Round(y / fr1CharY) * fr1CharY);
}

std::string TqlrDMPCommand::Diff(TqlrComponent* aComponent)
{
    std::string s = TqlrView::Diff(aComponent);
    auto* o = dynamic_cast<TqlrDMPCommand*>(aComponent);
    if (o && o->FCommand != FCommand) s += " Command=\"" + StrToXML(FCommand) + "\"";
    return s;
}

std::string TqlrDMPCommand::ToChr(const std::string& command)
{
    std::string result;
    if (!command.empty() && command[0] == '#') {
        std::string rest = command.substr(1) + "#";
        std::size_t start = 0;
        for (std::size_t at = rest.find('#'); at != std::string::npos; at = rest.find('#', start)) {
            result += static_cast<char>(rtl::StrToInt(rest.substr(start, at - start)));
            start = at + 1;
        }
        return result;
    }
    for (std::size_t i = 0; i + 1 < command.size(); i += 2)
        result += static_cast<char>(rtl::StrToInt("$" + command.substr(i, 2)));
    return result;
}

void RegisterDMPClasses()
{
    static const bool done = [] {
        rtl::RegisterClasses({&TqlrDMPPage::StaticClassInfo(), &TqlrDMPMemoView::StaticClassInfo(),
                              &TqlrDMPLineView::StaticClassInfo(), &TqlrDMPCommand::StaticClassInfo()});
        auto& objects = GetObjectCollection();
        const TqlrObjectCategories dmp{TqlrObjectCategory::ctDMP};
        objects.RegisterObject1(&TqlrDMPMemoView::StaticClassInfo(), nullptr, "", "", 0, 2, dmp);
        objects.RegisterObject1(&TqlrDMPLineView::StaticClassInfo(), nullptr, "", "", 0, 5, dmp);
        objects.RegisterObject1(&TqlrDMPCommand::StaticClassInfo(), nullptr, "", "", 0, 21, dmp);
        return true;
    }();
    (void)done;
}

} // namespace qlr
