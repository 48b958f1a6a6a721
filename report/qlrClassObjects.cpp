// Pages, bands, the memo and picture views as far as a template holds
// them, the report root, and the published properties and registration of
// every report class.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrPropEditors.h"
#include "report/qlrClassProps.h"
#include "report/qlrDMPClass.h"
#include "report/qlrEngine.h"
#include "report/qlrOutputServices.h"
#include "report/qlrPreviewPages.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "report/qlrVariables.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

using gui::TColor;
using namespace props;

// --- published properties ----------------------------------------------------------

RTL_PUBLISHED(TqlrComponent) {}

RTL_PUBLISHED(TqlrReportComponent)
{
    c.Property("Description", [](TqlrReportComponent& o) { return o.Description(); },
               &TqlrReportComponent::SetDescription);
    c.Property("OnAfterData", [](TqlrReportComponent& o) { return o.OnAfterData; },
               [](TqlrReportComponent& o, std::string v) { o.OnAfterData = v; });
    c.Property("OnAfterPrint", [](TqlrReportComponent& o) { return o.OnAfterPrint; },
               [](TqlrReportComponent& o, std::string v) { o.OnAfterPrint = v; });
    c.Property("OnBeforePrint", [](TqlrReportComponent& o) { return o.OnBeforePrint; },
               [](TqlrReportComponent& o, std::string v) { o.OnBeforePrint = v; });
    c.Property("OnPreviewClick", [](TqlrReportComponent& o) { return o.OnPreviewClick; },
               [](TqlrReportComponent& o, std::string v) { o.OnPreviewClick = v; });
    c.Property("OnPreviewDblClick", [](TqlrReportComponent& o) { return o.OnPreviewDblClick; },
               [](TqlrReportComponent& o, std::string v) { o.OnPreviewDblClick = v; });
}

RTL_PUBLISHED(TqlrFrameLine)
{
    c.Property("Color", &TqlrFrameLine::Color, &TqlrFrameLine::SetColor).Stored(&TqlrFrameLine::IsColorStored);
    c.Property("Style", &TqlrFrameLine::Style, &TqlrFrameLine::SetStyle).Stored(&TqlrFrameLine::IsStyleStored);
    c.Property("Width", &TqlrFrameLine::Width, &TqlrFrameLine::SetWidth).Stored(&TqlrFrameLine::IsWidthStored);
}

RTL_PUBLISHED(TqlrFrame)
{
    c.Property("Color", &TqlrFrame::Color, &TqlrFrame::SetColor).Default(gui::clBlack);
    c.Property("DropShadow", &TqlrFrame::DropShadow, &TqlrFrame::SetDropShadow).Default(false);
    c.Property("ShadowColor", &TqlrFrame::ShadowColor, &TqlrFrame::SetShadowColor).Default(gui::clBlack);
    c.Property("ShadowWidth", &TqlrFrame::ShadowWidth, &TqlrFrame::SetShadowWidth)
        .Stored([](TqlrFrame& f) { return f.ShadowWidth() != 4; });
    c.Property("Style", &TqlrFrame::Style, &TqlrFrame::SetStyle).Default(TqlrFrameStyle::fsSolid);
    c.Property("Typ", [](TqlrFrame& f) { return f.Typ(); }, [](TqlrFrame& f, TqlrFrameTypes t) { f.SetTyp(t); })
        .Default(TqlrFrameTypes());
    c.Property("Width", &TqlrFrame::Width, &TqlrFrame::SetWidth).Stored([](TqlrFrame& f) { return f.Width() != 1; });
    c.Property("LeftLine", &TqlrFrame::LeftLine, &TqlrFrame::SetLeftLine);
    c.Property("TopLine", &TqlrFrame::TopLine, &TqlrFrame::SetTopLine);
    c.Property("RightLine", &TqlrFrame::RightLine, &TqlrFrame::SetRightLine);
    c.Property("BottomLine", &TqlrFrame::BottomLine, &TqlrFrame::SetBottomLine);
}

RTL_PUBLISHED(TqlrHighlight)
{
    c.Property("Active", &TqlrHighlight::Active, &TqlrHighlight::SetActive).Default(false);
    c.Property("Font", &TqlrHighlight::Font, &TqlrHighlight::SetFont);
    c.Property("Color", &TqlrHighlight::Color, &TqlrHighlight::SetColor).Default(gui::clNone);
    c.Property("Condition", [](TqlrHighlight& h) { return h.Condition(); }, &TqlrHighlight::SetCondition);
}

RTL_PUBLISHED(TqlrFormat)
{
    c.Property("DecimalSeparator", [](TqlrFormat& f) { return f.DecimalSeparator(); },
               &TqlrFormat::SetDecimalSeparator);
    c.Property("ThousandSeparator", [](TqlrFormat& f) { return f.ThousandSeparator(); },
               &TqlrFormat::SetThousandSeparator);
    c.Property("FormatStr", [](TqlrFormat& f) { return f.FormatStr(); }, &TqlrFormat::SetFormatStr);
    c.Property("Kind", &TqlrFormat::Kind, &TqlrFormat::SetKind).Default(TqlrFormatKind::fkText);
}


RTL_PUBLISHED(TqlrView)
{
    c.Property("Align", &TqlrView::Align, &TqlrView::SetAlign).Default(TqlrAlign::baNone);
    c.Property("Printable", &TqlrView::Printable, &TqlrView::SetPrintable).Default(true);
    c.Property("ShiftMode", &TqlrView::ShiftMode, &TqlrView::SetShiftMode).Default(TqlrShiftMode::smAlways);
    Bounds(c);
    CommonProps(c);
    c.Property("Hint", [](TqlrView& v) { return v.Hint(); }, &TqlrView::SetHint);
    c.Property("ShowHint", &TqlrView::ShowHint, &TqlrView::SetShowHint).Default(false);
    c.Property("BrushStyle", &TqlrView::BrushStyle, &TqlrView::SetBrushStyle).Default(gui::TBrushStyle::bsSolid);
    c.Property("Color", &TqlrView::Color, &TqlrView::SetColor).Default(gui::clNone);
    c.Property("DataField", [](TqlrView& v) { return v.DataField(); }, &TqlrView::SetDataField);
    c.Property("DataSet", &TqlrView::DataSet, &TqlrView::SetDataSet);
    c.Property("DataSetName", &TqlrView::DataSetName, &TqlrView::SetDataSetName)
        .Stored([](TqlrView& v) { return v.DataSet() == nullptr; });
    c.Property("Frame", &TqlrView::Frame, &TqlrView::SetFrame);
    c.Property("PlainText", &TqlrView::PlainText, &TqlrView::SetPlainText).Default(false);
    c.Property("Cursor", &TqlrView::Cursor, &TqlrView::SetCursor).Default(0);
    c.Property("TagStr", [](TqlrView& v) { return v.TagStr(); }, &TqlrView::SetTagStr);
    c.Property("URL", [](TqlrView& v) { return v.URL(); }, &TqlrView::SetURL);
}

RTL_PUBLISHED(TqlrStretcheable)
{
    c.Property("StretchMode", &TqlrStretcheable::StretchMode, &TqlrStretcheable::SetStretchMode)
        .Default(TqlrStretchMode::smDontStretch);
}

RTL_PUBLISHED(TqlrDialogComponent) {}

RTL_PUBLISHED(TqlrDialogControl)
{
    Bounds(c);
    FontProps(c);
    c.Property("GroupIndex", [](TqlrDialogControl& o) { return o.GroupIndex(); },
               [](TqlrDialogControl& o, int v) { o.SetGroupIndex(v); })
        .Default(0);
    c.Property("Enabled", &TqlrDialogControl::Enabled, &TqlrDialogControl::SetEnabled).Default(true);
    c.Property("Hint", [](TqlrDialogControl& o) { return o.Hint(); }, &TqlrDialogControl::SetHint);
    c.Property("ShowHint", &TqlrDialogControl::ShowHint, &TqlrDialogControl::SetShowHint).Default(false);
    c.Property("Visible", [](TqlrDialogControl& o) { return o.Visible(); },
               [](TqlrDialogControl& o, bool v) { o.SetVisible(v); })
        .Default(true);
}

RTL_PUBLISHED(TqlrDataSet)
{
    c.Property("Enabled", &TqlrDataSet::Enabled, &TqlrDataSet::SetEnabled).Default(true);
    c.Property("RangeBegin", &TqlrDataSet::RangeBegin, &TqlrDataSet::SetRangeBegin).Default(TqlrRangeBegin::rbFirst);
    c.Property("RangeEnd", &TqlrDataSet::RangeEnd, &TqlrDataSet::SetRangeEnd).Default(TqlrRangeEnd::reLast);
    c.Property("RangeEndCount", &TqlrDataSet::RangeEndCount, &TqlrDataSet::SetRangeEndCount).Default(0);
    c.Property("UserName", [](TqlrDataSet& d) { return d.UserName(); },
               [](TqlrDataSet& d, std::string v) { d.SetUserName(v); });
    c.Property("OnCheckEOF", [](TqlrDataSet& d) { return d.OnCheckEOFName; },
               [](TqlrDataSet& d, std::string v) { d.OnCheckEOFName = v; });
    c.Property("OnFirst", [](TqlrDataSet& d) { return d.OnFirstName; },
               [](TqlrDataSet& d, std::string v) { d.OnFirstName = v; });
    c.Property("OnNext", [](TqlrDataSet& d) { return d.OnNextName; },
               [](TqlrDataSet& d, std::string v) { d.OnNextName = v; });
    c.Property("OnPrior", [](TqlrDataSet& d) { return d.OnPriorName; },
               [](TqlrDataSet& d, std::string v) { d.OnPriorName = v; });
}

RTL_PUBLISHED(TqlrUserDataSet)
{
    c.Property("Fields", &TqlrUserDataSet::Fields, &TqlrUserDataSet::SetFields);
}

RTL_PUBLISHED(TqlrCustomDBDataSet)
{
    c.Property("CloseDataSource", &TqlrCustomDBDataSet::CloseDataSource, &TqlrCustomDBDataSet::SetCloseDataSource)
        .Default(false);
    c.Property("FieldAliases", &TqlrCustomDBDataSet::FieldAliases, &TqlrCustomDBDataSet::SetFieldAliases);
    c.Property("OpenDataSource", &TqlrCustomDBDataSet::OpenDataSource, &TqlrCustomDBDataSet::SetOpenDataSource)
        .Default(true);
}

RTL_PUBLISHED(TqlrCustomDatabase) {}

#define QLR_NO_PROPS(Class) RTL_PUBLISHED(Class) {}
QLR_NO_PROPS(TqlrMemoView)
QLR_NO_PROPS(TqlrSysMemoView)
#undef QLR_NO_PROPS

RTL_PUBLISHED(TqlrCustomMemoView)
{
    using M = TqlrCustomMemoView;
    c.Property("AutoWidth", &M::AutoWidth, &M::SetAutoWidth).Default(false);
    c.Property("AllowExpressions", &M::AllowExpressions, &M::SetAllowExpressions).Default(true);
    c.Property("AllowHTMLTags", &M::AllowHTMLTags, &M::SetAllowHTMLTags).Default(false);
    c.Property("CharSpacing", &M::CharSpacing, &M::SetCharSpacing).Stored([](M& m) { return m.CharSpacing() != 0; });
    c.Property("Clipped", &M::Clipped, &M::SetClipped).Default(true);
    c.Property("DisplayFormat", &M::DisplayFormat, &M::SetDisplayFormat);
    c.Property("ExpressionDelimiters", [](M& m) { return m.ExpressionDelimiters(); }, &M::SetExpressionDelimiters)
        .Stored([](M& m) { return m.ExpressionDelimiters() != "[,]"; });
    c.Property("FlowTo", &M::FlowTo, &M::SetFlowTo);
    FontProps(c);
    c.Property("GapX", &M::GapX, &M::SetGapX).Stored([](M& m) { return m.GapX() != 2; });
    c.Property("GapY", &M::GapY, &M::SetGapY).Stored([](M& m) { return m.GapY() != 1; });
    c.Property("HAlign", &M::HAlign, &M::SetHAlign).Default(TqlrHAlign::haLeft);
    c.Property("HideZeros", &M::HideZeros, &M::SetHideZeros).Default(false);
    c.Property("Highlight", &M::Highlight, &M::SetHighlight)
        .Stored([](M& m) { return !rtl::Trim(m.Highlight()->Condition()).empty(); });
    c.Property("LineSpacing", &M::LineSpacing, &M::SetLineSpacing).Stored([](M& m) { return m.LineSpacing() != 2; });
    c.Property("ParagraphGap", &M::ParagraphGap, &M::SetParagraphGap)
        .Stored([](M& m) { return m.ParagraphGap() != 0; });
    c.Property("Rotation", &M::Rotation, &M::SetRotation).Default(0);
    c.Property("RTLReading", &M::RTLReading, &M::SetRTLReading).Default(false);
    c.Property("Style", [](M& m) { return m.Style(); }, &M::SetStyle);
    c.Property("SuppressRepeated", &M::SuppressRepeated, &M::SetSuppressRepeated).Default(false);
    c.Property("Underlines", &M::Underlines, &M::SetUnderlines).Default(false);
    c.Property("UseDefaultCharset", &M::UseDefaultCharset, &M::SetUseDefaultCharset).Default(false);
    c.Property("WordBreak", &M::WordBreak, &M::SetWordBreak).Default(false);
    c.Property("WordWrap", &M::WordWrap, &M::SetWordWrap).Default(true);
    c.Property("Wysiwyg", &M::Wysiwyg, &M::SetWysiwyg).Default(true);
    c.Property("VAlign", &M::VAlign, &M::SetVAlign).Default(TqlrVAlign::vaTop);
}

RTL_PUBLISHED(TqlrEngineOptions)
{
    using O = TqlrEngineOptions;
    QLR_FIELD(O, ConvertNulls).Default(true);
    QLR_FIELD(O, DoublePass).Default(false);
    QLR_FIELD(O, MaxMemSize).Default(10);
    QLR_FIELD(O, PrintIfEmpty).Default(true);
    c.Property("SilentMode", &O::SilentMode, &O::SetSilentMode).Stored(false);
    QLR_FIELD(O, NewSilentMode).Default(TqlrSilentMode::simMessageBoxes);
    QLR_FIELD(O, TempDir);
    QLR_FIELD(O, UseFileCache).Default(false);
    QLR_FIELD(O, IgnoreDevByZero).Default(false);
}

RTL_PUBLISHED(TqlrPreviewOptions)
{
    using O = TqlrPreviewOptions;
    QLR_FIELD(O, AllowEdit).Default(true);
    QLR_FIELD(O, Buttons).Default(TqlrPreviewButtons::FromMask(0x0FFF));
    QLR_FIELD(O, DoubleBuffered).Default(true);
    QLR_FIELD(O, Maximized).Default(true);
    QLR_FIELD(O, MDIChild).Default(false);
    QLR_FIELD(O, Modal).Default(true);
    QLR_FIELD(O, OutlineExpand).Default(true);
    QLR_FIELD(O, OutlineVisible).Default(false);
    QLR_FIELD(O, OutlineWidth).Default(120);
    QLR_FIELD(O, PagesInCache).Default(50);
    QLR_FIELD(O, ShowCaptions).Default(false);
    QLR_FIELD(O, ThumbnailVisible).Default(false);
    QLR_FIELD(O, Zoom).Stored([](O& o) { return o.Zoom != 1; });
    QLR_FIELD(O, ZoomMode).Default(TqlrZoomMode::zmDefault);
    QLR_FIELD(O, PictureCacheInFile).Default(false);
    QLR_FIELD(O, RTLPreview).Default(false);
}

RTL_PUBLISHED(TqlrPrintOptions)
{
    using O = TqlrPrintOptions;
    QLR_FIELD(O, Copies).Default(1);
    QLR_FIELD(O, Collate).Default(true);
    QLR_FIELD(O, PageNumbers);
    QLR_FIELD(O, PagesOnSheet).Default(0);
    QLR_FIELD(O, Printer).Stored([](O& o) { return o.Printer != GetResources().Get("prDefault"); });
    QLR_FIELD(O, PrintMode).Default(TqlrPrintMode::pmDefault);
    QLR_FIELD(O, PrintOnSheet).Default(0);
    QLR_FIELD(O, PrintPages).Default(TqlrPrintPages::ppAll);
    QLR_FIELD(O, Reverse).Default(false);
    QLR_FIELD(O, ShowDialog).Default(true);
    QLR_FIELD(O, SwapPageSize).Default(false);
    QLR_FIELD(O, PrnOutFileName);
    QLR_FIELD(O, Duplex).Default(TqlrDuplexMode::dmNone);
    QLR_FIELD(O, SplicingLine).Default(3);
}

RTL_PUBLISHED(TqlrReportOptions)
{
    using O = TqlrReportOptions;
    QLR_FIELD(O, Author);
    QLR_FIELD(O, Compressed).Default(false);
    c.Property("ConnectionName", [](O& o) { return o.ConnectionName; },
               [](O& o, const std::string& v) { o.SetConnectionName(v); });
    c.Property("CreateDate", [](O& o) { return o.CreateDate; }, [](O& o, double v) { o.CreateDate = v; })
        .As(rtl::TypeInfoDateTime());
    c.Property("Description", &O::Description, &O::SetDescription);
    QLR_FIELD(O, InitString);
    QLR_FIELD(O, Name);
    c.Property("LastChange", [](O& o) { return o.LastChange; }, [](O& o, double v) { o.LastChange = v; })
        .As(rtl::TypeInfoDateTime());
    // The template keeps the password shifted: each character code less 10.
    c.Property("Password",
               [](O& o) {
                   std::string s = o.Password;
                   for (char& ch : s) ch = static_cast<char>(ch - 10);
                   return s;
               },
               [](O& o, std::string v) {
                   for (char& ch : v) ch = static_cast<char>(ch + 10);
                   o.Password = v;
               });
    QLR_FIELD(O, VersionBuild);
    QLR_FIELD(O, VersionMajor);
    QLR_FIELD(O, VersionMinor);
    QLR_FIELD(O, VersionRelease);
}

RTL_PUBLISHED(TqlrStyleItem)
{
    c.Property("Name", [](TqlrStyleItem& i) { return i.Name(); }, &TqlrStyleItem::SetName);
    c.Property("Color", &TqlrStyleItem::Color, &TqlrStyleItem::SetColor).Default(gui::clNone);
    c.Property("Font", &TqlrStyleItem::Font, &TqlrStyleItem::SetFont);
    c.Property("Frame", &TqlrStyleItem::Frame, &TqlrStyleItem::SetFrame);
}
RTL_PUBLISHED(TqlrStyles) {}

RTL_PUBLISHED(TqlrReport)
{
    // First, so that a template is read over its ancestor.
    c.Property("ParentReport", &TqlrReport::ParentReport, &TqlrReport::SetParentReport);
    c.Property("EngineOptions", &TqlrReport::EngineOptions);
    c.Property("PreviewOptions", &TqlrReport::PreviewOptions);
    c.Property("PrintOptions", &TqlrReport::PrintOptions);
    c.Property("ReportOptions", &TqlrReport::ReportOptions);
    c.Property("StoreInDFM", &TqlrReport::StoreInDFM, &TqlrReport::SetStoreInDFM).Default(true);
    // Stored only when they are not those of a cleared report.
    c.Property("ScriptLanguage", &TqlrReport::ScriptLanguage, &TqlrReport::SetScriptLanguage)
        .Stored([](TqlrReport& r) { return r.ScriptLanguage() != "PascalScript"; });
    c.Property("ScriptText", &TqlrReport::ScriptText, &TqlrReport::SetScriptText)
        .Stored([](TqlrReport& r) {
            const rtl::TStringList* t = r.ScriptText();
            return !(t->Count() == 3 && t->Strings(0) == "begin" && t->Strings(1).empty() &&
                     t->Strings(2) == "end.");
        });
}

// --- the report ------------------------------------------------------------------

TqlrReport::TqlrReport(rtl::TComponent* owner)
    : TqlrComponent(owner), FDataSets(std::make_unique<TqlrReportDataSets>(this)),
      FErrors(std::make_unique<rtl::TStringList>()), FVariables(std::make_unique<TqlrVariables>()),
      FScript(std::make_unique<qs::TqsScript>(nullptr)), FScriptText(std::make_unique<rtl::TStringList>()),
      FSysVariables(std::make_unique<rtl::TStringList>()), FStyles(std::make_unique<TqlrStyles>(this)),
      FEngineOptions(std::make_unique<TqlrEngineOptions>()), FPreviewOptions(std::make_unique<TqlrPreviewOptions>()),
      FPrintOptions(std::make_unique<TqlrPrintOptions>()), FReportOptions(std::make_unique<TqlrReportOptions>(this))
{
    RegisterReportClasses();
    RegisterReportScriptModules();
    FScript->SetExtendedCharset(true);
    FScript->AddRTTI();
    FExpressionCache = std::make_unique<TqlrExpressionCache>(FScript.get());
    FErrors->SetSorted(true);
    FErrors->SetDuplicates(rtl::TDuplicates::dupIgnore);
    SetPreviewPages(std::make_unique<TqlrPreviewPages>(this));
    SetEngine(std::make_unique<TqlrEngine>(this));
    Clear();
}

void TqlrReport::SetStyles(TqlrStyles* styles)
{
    FStyles->Clear();
    if (styles) {
        FStyles->SetName(styles->Name());
        for (int i = 0; i < styles->Count(); ++i) FStyles->Add()->Assign(styles->Item(i));
    }
    FStyles->Apply();
}

TqlrVariables& GlobalVariables()
{
    static TqlrVariables globals;
    return globals;
}

TqlrReport::~TqlrReport()
{
    FTimer.reset();
    if (FPreview) {
        FPreview->Report = nullptr;
        FPreview->PreviewPages = nullptr;
    }
    FPreviewForm.reset();
    // Children go while the report is still whole: their destructors may
    // look up the report.
    Clear();
    DestroyComponents();
}

// The data-set list, the variables and the styles travel as the defined
// properties "Datasets", "Variables" and "Style" (the collection forms of WriteCollectionXML).
void TqlrReport::DefineProperties(rtl::TFiler& filer)
{
    TqlrComponent::DefineProperties(filer);
    filer.DefineProperty(
        "Datasets", [this](rtl::TReader& r) { ReadCollectionXML(*FDataSets, r, this); },
        [this](rtl::TWriter& w) { WriteCollectionXML(*FDataSets, w, this); }, FDataSets->Count() > 0);
    filer.DefineProperty(
        "Variables", [this](rtl::TReader& r) { ReadCollectionXML(*FVariables, r, this); },
        [this](rtl::TWriter& w) { WriteCollectionXML(*FVariables, w, this); }, FVariables->Count() > 0);
    filer.DefineProperty(
        "Style",
        [this](rtl::TReader& r) {
            ReadCollectionXML(*FStyles, r, this);
            FStyles->Apply();
        },
        [this](rtl::TWriter& w) { WriteCollectionXML(*FStyles, w, this); }, FStyles->Count() > 0);
}

void WriteCollectionXML(rtl::TCollection& collection, rtl::TWriter& writer, TqlrComponent* owner)
{
    if (!owner || !owner->IsWriting()) {
        writer.WriteCollection(&collection);
        return;
    }
    TqlrXMLSerializer serializer(nullptr);
    serializer.SetOwner(owner->Report());
    writer.WriteListBegin();
    for (int i = 0; i < collection.Count(); ++i) {
        writer.WriteListBegin();
        writer.WriteString(serializer.ObjToXML(collection.Items(i)));
        writer.WriteListEnd();
    }
    writer.WriteListEnd();
}

namespace {

// A character 1 followed by c stands for the character c + 128.
std::string DecodeHighChars(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\x01' && i + 1 < s.size()) {
            char32_t c = static_cast<unsigned char>(s[++i]) + 128;
            out += rtl::UTF16ToUTF8(std::u16string(1, static_cast<char16_t>(c)));
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

void ReadCollectionXML(rtl::TCollection& collection, rtl::TReader& reader, TqlrComponent* owner)
{
    if (reader.NextValue() == rtl::TValueType::vaCollection) {
        reader.ReadCollection(&collection);
        for (int i = 0; i < collection.Count(); ++i) {
            rtl::TCollectionItem* item = collection.Items(i);
            for (const rtl::TPropInfo* p : item->ClassType()->Properties()) {
                if (!p->IsWritable()) continue;
                if (p->PropType()->IsString()) {
                    std::string v = p->GetStr(item), d = DecodeHighChars(v);
                    if (d != v) p->SetStr(item, d);
                } else if (p->Kind() == rtl::TTypeKind::tkVariant) {
                    rtl::Variant v = p->GetVariant(item);
                    if (v.IsString()) {
                        std::string d = DecodeHighChars(v.AsString());
                        if (d != v.AsString()) p->SetVariant(item, rtl::Variant(d));
                    }
                }
            }
        }
        return;
    }
    collection.Clear();
    TqlrReport* report = owner ? owner->Report() : nullptr;
    TqlrXMLSerializer own(nullptr);
    own.SetOwner(report);
    TqlrXMLSerializer* serializer = report && report->CurrentSerializer() ? report->CurrentSerializer() : &own;
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
        reader.ReadListBegin();
        std::string text;
        while (!reader.EndOfList()) text = reader.ReadString();
        reader.ReadListEnd();
        rtl::TCollectionItem* item = collection.Add();
        if (serializer == &own) own.ReadPersistentStr(report, item, text);
        else serializer->XMLToObj(text, item);
    }
    reader.ReadListEnd();
}

std::string ComponentFullName(rtl::TComponent* c, rtl::TComponent* root)
{
    if (!c) return "";
    rtl::TComponent* owner = c->Owner();
    if (!owner || owner == root) return c->Name();
    if (root && dynamic_cast<TqlrReport*>(root) && owner == root->Owner()) return c->Name();
    if (dynamic_cast<gui::TCustomForm*>(owner) || owner->InheritsFrom("TDataModule"))
        return owner->Name() + "." + c->Name();
    if (owner->InheritsFrom("TFrame")) {
        if (owner->Owner()) return owner->Owner()->Name() + "." + owner->Name() + "." + c->Name();
        return owner->Name() + "." + c->Name();
    }
    return "";
}

rtl::TComponent* FindComponentByPath(rtl::TComponent* owner, const std::string& name)
{
    try {
        std::size_t dot = name.find('.');
        if (dot == std::string::npos) {
            rtl::TComponent* c = owner ? owner->FindComponent(name) : nullptr;
            if (!c && owner && dynamic_cast<TqlrReport*>(owner) && owner->Owner())
                c = owner->Owner()->FindComponent(name);
            return c;
        }
        rtl::TComponent* first = rtl::FindGlobalComponent(name.substr(0, dot));
        std::string rest = name.substr(dot + 1, 255);
        if (!first) return nullptr;
        std::size_t dot2 = rest.find('.');
        if (dot2 == std::string::npos) return first->FindComponent(rest);
        rtl::TComponent* second = first->FindComponent(rest.substr(0, dot2));
        return second ? second->FindComponent(rest.substr(dot2 + 1)) : nullptr;
    } catch (const std::exception&) {
        throw rtl::EClassNotFound("Missing " + name);
    }
}

void ReportErrorHandler(TqlrReport* report, const std::string& message)
{
    TqlrSilentMode mode = report ? report->EngineOptions()->NewSilentMode : TqlrSilentMode::simMessageBoxes;
    switch (mode) {
    case TqlrSilentMode::simMessageBoxes: ShowReportError(message); break;
    case TqlrSilentMode::simReThrow: throw rtl::Exception(message);
    case TqlrSilentMode::simSilent: break;
    }
}

void RegisterReportClasses()
{
    static const bool done = [] {
        gui::DescribeGraphicsClasses();
        RegisterDMPClasses();
        RegisterStandardPropertyEditors();
        rtl::RegisterClasses({
            &TqlrReport::StaticClassInfo(), &TqlrReportPage::StaticClassInfo(),
            &TqlrDialogPage::StaticClassInfo(), &TqlrDataPage::StaticClassInfo(),
            &TqlrReportTitle::StaticClassInfo(), &TqlrReportSummary::StaticClassInfo(),
            &TqlrPageHeader::StaticClassInfo(), &TqlrPageFooter::StaticClassInfo(),
            &TqlrHeader::StaticClassInfo(), &TqlrFooter::StaticClassInfo(),
            &TqlrMasterData::StaticClassInfo(), &TqlrDetailData::StaticClassInfo(),
            &TqlrSubdetailData::StaticClassInfo(), &TqlrDataBand4::StaticClassInfo(),
            &TqlrDataBand5::StaticClassInfo(), &TqlrDataBand6::StaticClassInfo(),
            &TqlrGroupHeader::StaticClassInfo(), &TqlrGroupFooter::StaticClassInfo(),
            &TqlrChild::StaticClassInfo(), &TqlrColumnHeader::StaticClassInfo(),
            &TqlrColumnFooter::StaticClassInfo(), &TqlrOverlay::StaticClassInfo(),
            &TqlrNullBand::StaticClassInfo(), &TqlrMemoView::StaticClassInfo(),
            &TqlrPictureView::StaticClassInfo(), &TqlrUserDataSet::StaticClassInfo(),
            &TqlrLineView::StaticClassInfo(), &TqlrShapeView::StaticClassInfo(),
            &TqlrSubreport::StaticClassInfo(), &TqlrStyleItem::StaticClassInfo(),
            &TqlrFrame::StaticClassInfo(), &TqlrFrameLine::StaticClassInfo(),
            &TqlrHighlight::StaticClassInfo(), &TqlrFormat::StaticClassInfo(),
            &TqlrSysMemoView::StaticClassInfo(), &TqlrCustomMemoView::StaticClassInfo(),
            &TqlrCustomLineView::StaticClassInfo(),
        });
        return true;
    }();
    (void)done;
}

} // namespace qlr
