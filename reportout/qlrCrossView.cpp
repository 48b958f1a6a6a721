// The cross-tab view: its templates, levels, switches, matrix phases,
// styles, events and report-run steps, and the registration of the classes.
#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClassProps.h"
#include "report/qlrDMPClass.h"
#include "report/qlrDsgnIntf.h"
#include "report/qlrRes.h"
#include "report/qlrXML.h"
#include "report/qlrXMLSerializer.h"
#include "reportout/qlrCross.h"
#include "reportout/qlrCrossRTTI.h"

namespace qlr {

namespace {

enum MemoKind { mkCellHeader, mkCell, mkHeader, mkTotal, mkCorner };

const TqlrFrameTypes kAllSides{TqlrFrameType::ftLeft, TqlrFrameType::ftRight, TqlrFrameType::ftTop,
                              TqlrFrameType::ftBottom};

} // namespace

TqlrCustomCrossView::TqlrCustomCrossView(rtl::TComponent* owner)
    : TqlrView(owner), FCellFields(std::make_unique<rtl::TStringList>()),
      FColumnFields(std::make_unique<rtl::TStringList>()), FRowFields(std::make_unique<rtl::TStringList>())
{
    FBaseName = "Cross";
    FComponentStyle.Exclude(TqlrComponentStyleItem::csPreviewVisible);
    FComponentStyle.Include(TqlrComponentStyleItem::csContainer);
    Frame()->SetTyp(kAllSides);
    SetColor(gui::clWhite);
    FCellFunctions.fill(TqlrCrossFunction::cfSum);
    FColumnSort.fill(TqlrCrossSortOrder::soAscending);
    FRowSort.fill(TqlrCrossSortOrder::soAscending);
    if (dynamic_cast<TqlrDMPPage*>(Page())) {
        DotMatrix = true;
        GapX = GapY = 0;
    }
    for (int i = 0; i < 3; ++i) FCornerMemos.push_back(NewMemo(mkCorner, i));
    TqlrCustomCrossView::SetCellLevels(1);
    TqlrCustomCrossView::SetColumnLevels(1);
    TqlrCustomCrossView::SetRowLevels(1);
}

TqlrCustomCrossView::~TqlrCustomCrossView()
{
    FRows.reset();
    FColumns.reset();
    FRowHeader.reset();
    FColumnHeader.reset();
    FCorner.reset();
    for (auto* list : {&FCellMemos, &FCellHeaderMemos, &FColumnMemos, &FColumnTotalMemos, &FCornerMemos, &FRowMemos,
                       &FRowTotalMemos})
        for (TqlrCustomMemoView* m : *list) delete m;
}

TqlrCustomMemoView* TqlrCustomCrossView::NewMemo(int kind, int index)
{
    TqlrCustomMemoView* m = DotMatrix ? static_cast<TqlrCustomMemoView*>(new TqlrDMPMemoView(nullptr))
                                      : static_cast<TqlrCustomMemoView*>(new TqlrMemoView(nullptr));
    m->Frame()->SetTyp(kAllSides);
    m->SetVAlign(TqlrVAlign::vaCenter);
    m->SetAllowExpressions(false);
    TqlrRestrictions r{TqlrRestriction::rfDontDelete};
    switch (kind) {
    case mkCellHeader: break;
    case mkCell: m->SetHAlign(TqlrHAlign::haRight); break;
    case mkHeader:
        m->SetHAlign(TqlrHAlign::haCenter);
        r.Include(TqlrRestriction::rfDontEdit);
        break;
    case mkTotal:
        m->SetHAlign(TqlrHAlign::haCenter);
        m->SetAllowExpressions(true);
        m->Font()->SetStyle(gui::TFontStyles{gui::TFontStyle::fsBold});
        m->SetText(index == 0 ? "Grand Total" : "Total");
        break;
    case mkCorner: m->SetHAlign(TqlrHAlign::haCenter); break;
    }
    m->SetRestrictions(r);
    return m;
}

// --------------------------------------------------------------------- levels

void TqlrCustomCrossView::GrowCellMemos()
{
    const std::size_t cells =
        static_cast<std::size_t>(FCellLevels) * static_cast<std::size_t>(FRowLevels + 1) * (FColumnLevels + 1);
    while (FCellMemos.size() < cells) FCellMemos.push_back(NewMemo(mkCell, static_cast<int>(FCellMemos.size())));
    const std::size_t headers = static_cast<std::size_t>(std::max(FRowLevels, FColumnLevels) + 1) * FCellLevels;
    while (FCellHeaderMemos.size() < headers)
        FCellHeaderMemos.push_back(NewMemo(mkCellHeader, static_cast<int>(FCellHeaderMemos.size())));
}

void TqlrCustomCrossView::SetCellLevels(int value)
{
    if (value < 0 || value > kCrossMaxLevels) return;
    FCellLevels = value;
    GrowCellMemos();
}

void TqlrCustomCrossView::SetColumnLevels(int value)
{
    if (value < 0 || value > kCrossMaxLevels) return;
    FColumnLevels = value;
    const std::size_t n = static_cast<std::size_t>(std::max(value, 1));
    while (FColumnMemos.size() < n) FColumnMemos.push_back(NewMemo(mkHeader, static_cast<int>(FColumnMemos.size())));
    while (FColumnTotalMemos.size() < n)
        FColumnTotalMemos.push_back(NewMemo(mkTotal, static_cast<int>(FColumnTotalMemos.size())));
    GrowCellMemos();
}

void TqlrCustomCrossView::SetRowLevels(int value)
{
    if (value < 0 || value > kCrossMaxLevels) return;
    FRowLevels = value;
    const std::size_t n = static_cast<std::size_t>(std::max(value, 1));
    while (FRowMemos.size() < n) FRowMemos.push_back(NewMemo(mkHeader, static_cast<int>(FRowMemos.size())));
    while (FRowTotalMemos.size() < n) FRowTotalMemos.push_back(NewMemo(mkTotal, static_cast<int>(FRowTotalMemos.size())));
    while (FCornerMemos.size() < static_cast<std::size_t>(value) + 3)
        FCornerMemos.push_back(NewMemo(mkCorner, static_cast<int>(FCornerMemos.size())));
    GrowCellMemos();
}

namespace {

void NameList(rtl::TStringList* list, const std::string& stem, int n)
{
    list->Clear();
    if (n == 1) {
        list->Add(stem);
        return;
    }
    for (int i = 1; i <= n; ++i) list->Add(stem + std::to_string(i));
}

bool InRange(int i) { return i >= 0 && i < kCrossMaxLevels; }

} // namespace

TqlrCrossFunction TqlrCustomCrossView::CellFunctions(int i) const
{
    return InRange(i) ? FCellFunctions[static_cast<std::size_t>(i)] : TqlrCrossFunction::cfNone;
}
void TqlrCustomCrossView::SetCellFunctions(int i, TqlrCrossFunction v)
{
    if (InRange(i)) FCellFunctions[static_cast<std::size_t>(i)] = v;
}
TqlrCrossSortOrder TqlrCustomCrossView::ColumnSort(int i) const
{
    return InRange(i) ? FColumnSort[static_cast<std::size_t>(i)] : TqlrCrossSortOrder::soAscending;
}
void TqlrCustomCrossView::SetColumnSort(int i, TqlrCrossSortOrder v)
{
    if (InRange(i)) FColumnSort[static_cast<std::size_t>(i)] = v;
}
TqlrCrossSortOrder TqlrCustomCrossView::RowSort(int i) const
{
    return InRange(i) ? FRowSort[static_cast<std::size_t>(i)] : TqlrCrossSortOrder::soAscending;
}
void TqlrCustomCrossView::SetRowSort(int i, TqlrCrossSortOrder v)
{
    if (InRange(i)) FRowSort[static_cast<std::size_t>(i)] = v;
}

void TqlrCustomCrossView::SetNextCross(TqlrCustomCrossView* v)
{
    if (v == this) return;
    if (FNextCross) FNextCross->RemoveFreeNotification(this);
    FNextCross = v;
    if (v) v->FreeNotification(this);
}

void TqlrCustomCrossView::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrView::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FNextCross) FNextCross = nullptr;
}

// ------------------------------------------------------------------ the phases

void TqlrCustomCrossView::BeginMatrix()
{
    FRows.reset();
    FColumns.reset();
    FRowHeader.reset();
    FColumnHeader.reset();
    FCorner.reset();
    FNoRows = FRowLevels == 0;
    FNoColumns = FColumnLevels == 0;
    const int cells = std::clamp(FCellLevels, 0, kCrossMaxLevels);
    FRows = std::make_unique<TqlrCrossRows>(std::max(FRowLevels, 1), FRowSort, cells);
    FColumns = std::make_unique<TqlrCrossColumns>(std::max(FColumnLevels, 1), FColumnSort);

    FCorner = std::make_unique<TqlrCrossCorner>(1);
    FCorner->FView = this;
    FCorner->FMemo = FCornerMemos[0];
    FCorner->FValue = rtl::Variant(FCornerMemos[0]->Text());

    FColumnHeader = std::make_unique<TqlrCrossColumnHeader>(cells);
    FColumnHeader->FView = this;
    FColumnHeader->FMemos = FColumnMemos;
    FColumnHeader->FTotalMemos = FColumnTotalMemos;
    FColumnHeader->FMemo = FCornerMemos[1];
    FColumnHeader->FValue = rtl::Variant(FCornerMemos[1]->Text());
    FColumnHeader->FLevelsCount = std::max(FColumnLevels, 1);
    FColumnHeader->FHasCellHeaders = cells >= 2 && PlainCells;
    FColumnHeader->FNoLevels = FNoColumns;
    FColumnHeader->FCorner = FCorner.get();

    FRowHeader = std::make_unique<TqlrCrossRowHeader>(cells);
    FRowHeader->FView = this;
    FRowHeader->FMemos = FRowMemos;
    FRowHeader->FTotalMemos = FRowTotalMemos;
    FRowHeader->FLevelsCount = std::max(FRowLevels, 1);
    FRowHeader->FHasCellHeaders = cells >= 2 && !PlainCells;
    FRowHeader->FNoLevels = FNoRows;
    FRowHeader->FCorner = FCorner.get();
    ApplyVisibility();
}

void TqlrCustomCrossView::ApplyVisibility()
{
    const bool corner = ShowCorner && ShowColumnHeader && ShowRowHeader && !FNoRows;
    FCorner->FVisible = corner;
    FCornerMemos[0]->SetVisible(corner && !FNoColumns && ShowTitle);
    FCornerMemos[2]->SetVisible(corner && FCellLevels >= 2 && !PlainCells);
    FColumnHeader->FVisible = ShowColumnHeader;
    FColumnTotalMemos[0]->SetVisible(ShowColumnTotal && !FNoColumns);
    FCornerMemos[1]->SetVisible(ShowTitle && FColumnHeader->FVisible);
    FColumnMemos[0]->SetVisible(FColumnHeader->FVisible && !FNoColumns);
    FRowHeader->FVisible = !FNoRows && ShowRowHeader;
    FRowTotalMemos[0]->SetVisible(ShowRowTotal && !FNoRows);
}

void TqlrCustomCrossView::EndMatrix()
{
    if (!FRows) BeginMatrix();
    InsertTotals(FColumnHeader.get(), FColumns.get(), !FNoColumns, FColumnTotalMemos);
    InsertTotals(FRowHeader.get(), FRows.get(), !FNoRows, FRowTotalMemos);
    for (int r = 0; r < FRowLevels; ++r) FCorner->AddCornerItem(FCornerMemos[static_cast<std::size_t>(3 + r)]);
    if (FRowHeader->FHasCellHeaders) FCorner->AddCornerItem(FCornerMemos[2]);
    ComputeTotals(FColumnHeader.get(), true);
    ComputeTotals(FRowHeader.get(), false);
    ComputeLayout();
}

// --------------------------------------------------------------------- styles

namespace {

void ApplyItem(TqlrStyles* style, const char* name, TqlrCustomMemoView* m)
{
    if (m) m->ApplyStyle(style->Find(name));
}

void WriteItem(TqlrStyles* style, const char* name, TqlrCustomMemoView* m)
{
    if (!m) return;
    TqlrStyleItem* item = style->Find(name);
    if (!item) {
        item = style->Add();
        item->SetName(name);
    }
    item->SetColor(m->Color());
    item->SetFont(m->Font());
    item->SetFrame(m->Frame());
}

} // namespace

void TqlrCustomCrossView::ApplyStyle(TqlrStyles* style)
{
    if (!style) return;
    for (TqlrCustomMemoView* m : FCellHeaderMemos) ApplyItem(style, "cellheader", m);
    for (TqlrCustomMemoView* m : FCellMemos) ApplyItem(style, "cell", m);
    for (TqlrCustomMemoView* m : FColumnMemos) ApplyItem(style, "column", m);
    for (std::size_t i = 0; i < FColumnTotalMemos.size(); ++i)
        ApplyItem(style, i == 0 ? "colgrand" : "coltotal", FColumnTotalMemos[i]);
    for (TqlrCustomMemoView* m : FRowMemos) ApplyItem(style, "row", m);
    for (std::size_t i = 0; i < FRowTotalMemos.size(); ++i)
        ApplyItem(style, i == 0 ? "rowgrand" : "rowtotal", FRowTotalMemos[i]);
    for (TqlrCustomMemoView* m : FCornerMemos) ApplyItem(style, "corner", m);
}

void TqlrCustomCrossView::GetStyle(TqlrStyles* style)
{
    if (!style) return;
    WriteItem(style, "cellheader", CellHeaderMemos(0));
    WriteItem(style, "cell", CellMemos(0));
    WriteItem(style, "column", ColumnMemos(0));
    WriteItem(style, "colgrand", ColumnTotalMemos(0));
    WriteItem(style, "coltotal", ColumnTotalMemos(1));
    WriteItem(style, "row", RowMemos(0));
    WriteItem(style, "rowgrand", RowTotalMemos(0));
    WriteItem(style, "rowtotal", RowTotalMemos(1));
    WriteItem(style, "corner", CornerMemos(0));
}

// --------------------------------------------------------------------- events

void TqlrCustomCrossView::DoCalcHeight(int rowIndex, long double& height)
{
    if (OnBeforeCalcHeight) OnBeforeCalcHeight(rowIndex, GetRowIndexes(rowIndex), height);
}

void TqlrCustomCrossView::DoCalcWidth(int columnIndex, long double& width)
{
    if (OnBeforeCalcWidth) OnBeforeCalcWidth(columnIndex, GetColumnIndexes(columnIndex), width);
}

void TqlrCustomCrossView::DoPrintCell(TqlrCustomMemoView* memo, int rowIndex, int columnIndex, int cellIndex,
                                      const rtl::Variant& value)
{
    if (OnBeforePrintCell)
        OnBeforePrintCell(memo, rowIndex, columnIndex, cellIndex, GetRowIndexes(rowIndex),
                          GetColumnIndexes(columnIndex), value);
}

void TqlrCustomCrossView::DoPrintColumnHeader(TqlrCustomMemoView* memo, TqlrCrossHeader* node)
{
    if (OnBeforePrintColumnHeader) OnBeforePrintColumnHeader(memo, node->GetIndexes(), node->GetValues(), node->FValue);
}

void TqlrCustomCrossView::DoPrintRowHeader(TqlrCustomMemoView* memo, TqlrCrossHeader* node)
{
    if (OnBeforePrintRowHeader) OnBeforePrintRowHeader(memo, node->GetIndexes(), node->GetValues(), node->FValue);
}

// ----------------------------------------------------------------- report run

void TqlrCustomCrossView::UpdateMemoNames()
{
    const std::string base = Name();
    auto name = [&](std::vector<TqlrCustomMemoView*>& list, const char* stem, int visibleFrom) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            TqlrCustomMemoView* m = list[i];
            m->SetGapX(GapX);
            m->SetGapY(GapY);
            m->SetName(base + stem + std::to_string(i));
            if (visibleFrom >= 0 && static_cast<int>(i) >= visibleFrom) m->SetVisible(true);
            for (TqlrComponent* child : m->Objects()) child->SetName(base + "Object" + std::to_string(child->Tag()));
        }
    };
    name(FCellHeaderMemos, "CellHeader", 0);
    name(FCellMemos, "Cell", -1);
    name(FColumnMemos, "Column", 0);
    name(FColumnTotalMemos, "ColumnTotal", -1);
    name(FRowMemos, "Row", 0);
    name(FRowTotalMemos, "RowTotal", -1);
    name(FCornerMemos, "Corner", 3);
    for (auto* list : {&FColumnTotalMemos, &FRowTotalMemos})
        for (TqlrCustomMemoView* m : *list) m->SetAllowExpressions(false);
}

void TqlrCustomCrossView::BeforeStartReport()
{
    TqlrView::BeforeStartReport();
    UpdateMemoNames();
}

void TqlrCustomCrossView::BeforePrint()
{
    TqlrView::BeforePrint();
    if (ClearBeforePrint) BeginMatrix();
}

void TqlrCustomCrossView::GetData()
{
    TqlrView::GetData();
    TqlrReport* report = Report();
    if (report) report->SetProgressMessage(GetResources().Get("crFillMx"));
    if (IsCrossValid()) FillMatrix();
    if (report) report->SetProgressMessage(GetResources().Get("crBuildMx"));
    EndMatrix();
    RenderMatrix();
}

// ---------------------------------------------------------------- persistence

namespace {

// A template read from a stored element starts from a plain look.
void ResetLook(TqlrCustomMemoView* m)
{
    m->SetColor(gui::clNone);
    m->Frame()->SetColor(gui::clBlack);
    m->Frame()->SetWidth(1);
    m->Frame()->SetTyp(TqlrFrameTypes());
    m->Font()->SetStyle(gui::TFontStyles());
    m->SetHAlign(TqlrHAlign::haLeft);
    m->SetVAlign(TqlrVAlign::vaTop);
}

void WriteMemo(TqlrXMLItem* list, TqlrCustomMemoView* m)
{
    // Every value is written, defaults too, so that reading it back over a
    // changed template (Cancel in the editor) restores it completely.
    TqlrXMLSerializer serializer(nullptr);
    serializer.SetSerializeDefaultValues(true);
    serializer.WriteRootComponent(m, true, list->Add());
}

void WriteOrdinal(TqlrXMLItem* list, int value)
{
    TqlrXMLItem* item = list->Add();
    item->SetName("item");
    item->SetProp("Value", std::to_string(value));
}

void ReadMemos(TqlrXMLItem* root, const char* name, const std::vector<TqlrCustomMemoView*>& memos)
{
    const int at = root->Find(name);
    if (at < 0) return;
    TqlrXMLItem* list = root->Items(at);
    for (int i = 0; i < list->Count() && i < static_cast<int>(memos.size()); ++i) {
        TqlrCustomMemoView* m = memos[static_cast<std::size_t>(i)];
        ResetLook(m);
        TqlrXMLSerializer serializer(nullptr);
        serializer.ReadRootComponent(m, list->Items(i));
    }
}

template <typename E, std::size_t N>
void ReadOrdinals(TqlrXMLItem* root, const char* name, std::array<E, N>& values, int maxValue)
{
    const int at = root->Find(name);
    if (at < 0) return;
    TqlrXMLItem* list = root->Items(at);
    for (int i = 0; i < list->Count() && i < static_cast<int>(N); ++i) {
        int v = 0;
        try {
            v = std::stoi(list->Items(i)->Prop("Value"));
        } catch (const std::exception&) {
        }
        values[static_cast<std::size_t>(i)] = static_cast<E>(std::clamp(v, 0, maxValue));
    }
}

} // namespace

void TqlrCustomCrossView::DefineProperties(rtl::TFiler& filer)
{
    TqlrView::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Memos", [this](rtl::TStream& s) { ReadMemosFrom(s); }, [this](rtl::TStream& s) { WriteMemosTo(s); }, true);
}

void TqlrCustomCrossView::WriteMemosTo(rtl::TStream& stream)
{
    TqlrXMLDocument doc;
    TqlrXMLItem* root = doc.Root();
    root->SetName("cross");
    std::array<TqlrXMLItem*, 10> lists{};
    const char* names[] = {"cellmemos", "cellheadermemos", "columnmemos", "columntotalmemos", "cornermemos",
                           "rowmemos", "rowtotalmemos", "cellfunctions", "columnsort", "rowsort"};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        lists[i] = root->Add();
        lists[i]->SetName(names[i]);
    }
    for (int i = 0; i < FCellLevels; ++i) WriteOrdinal(lists[7], static_cast<int>(FCellFunctions[static_cast<std::size_t>(i)]));
    for (TqlrCustomMemoView* m : FCellHeaderMemos) WriteMemo(lists[1], m);
    for (TqlrCustomMemoView* m : FCellMemos) WriteMemo(lists[0], m);
    for (int i = 0; i < std::max(FColumnLevels, 1); ++i) {
        WriteMemo(lists[2], FColumnMemos[static_cast<std::size_t>(i)]);
        WriteMemo(lists[3], FColumnTotalMemos[static_cast<std::size_t>(i)]);
        WriteOrdinal(lists[8], static_cast<int>(FColumnSort[static_cast<std::size_t>(i)]));
    }
    for (int i = 0; i < std::max(FRowLevels, 1); ++i) {
        WriteMemo(lists[5], FRowMemos[static_cast<std::size_t>(i)]);
        WriteMemo(lists[6], FRowTotalMemos[static_cast<std::size_t>(i)]);
        WriteOrdinal(lists[9], static_cast<int>(FRowSort[static_cast<std::size_t>(i)]));
    }
    for (TqlrCustomMemoView* m : FCornerMemos) WriteMemo(lists[4], m);
    doc.SaveToStream(stream);
}

void TqlrCustomCrossView::ReadMemosFrom(rtl::TStream& stream)
{
    TqlrXMLDocument doc;
    doc.LoadFromStream(stream);
    TqlrXMLItem* root = doc.Root();
    ReadOrdinals(root, "cellfunctions", FCellFunctions, static_cast<int>(TqlrCrossFunction::cfCount));
    ReadMemos(root, "cellmemos", FCellMemos);
    ReadMemos(root, "cellheadermemos", FCellHeaderMemos);
    ReadMemos(root, "columnmemos", FColumnMemos);
    ReadMemos(root, "columntotalmemos", FColumnTotalMemos);
    ReadMemos(root, "cornermemos", FCornerMemos);
    ReadMemos(root, "rowmemos", FRowMemos);
    ReadMemos(root, "rowtotalmemos", FRowTotalMemos);
    ReadOrdinals(root, "columnsort", FColumnSort, static_cast<int>(TqlrCrossSortOrder::soGrouping));
    ReadOrdinals(root, "rowsort", FRowSort, static_cast<int>(TqlrCrossSortOrder::soGrouping));
}

// --------------------------------------------------------------- descendants

TqlrCrossView::TqlrCrossView(rtl::TComponent* owner) : TqlrCustomCrossView(owner)
{
    TqlrCrossView::SetCellLevels(CellLevels());
    TqlrCrossView::SetColumnLevels(ColumnLevels());
    TqlrCrossView::SetRowLevels(RowLevels());
}

void TqlrCrossView::SetCellLevels(int value)
{
    TqlrCustomCrossView::SetCellLevels(value);
    NameList(FCellFields.get(), "Cell", FCellLevels);
}

void TqlrCrossView::SetColumnLevels(int value)
{
    TqlrCustomCrossView::SetColumnLevels(value);
    NameList(FColumnFields.get(), "Column", FColumnLevels);
}

void TqlrCrossView::SetRowLevels(int value)
{
    TqlrCustomCrossView::SetRowLevels(value);
    NameList(FRowFields.get(), "Row", FRowLevels);
}

bool TqlrCrossView::IsCrossValid() { return FCellLevels > 0 && FRowLevels >= 0 && FColumnLevels >= 0; }

std::string TqlrCrossView::GetDescription() const { return GetResources().Get("obCross"); }

TqlrDBCrossView::TqlrDBCrossView(rtl::TComponent* owner) : TqlrCustomCrossView(owner) {}

bool TqlrDBCrossView::IsCrossValid()
{
    return DataSet() && FCellLevels > 0 && FRowFields->Count() == FRowLevels &&
           FColumnFields->Count() == FColumnLevels && FCellFields->Count() == FCellLevels;
}

std::string TqlrDBCrossView::GetDescription() const { return GetResources().Get("obDBCross"); }

void TqlrDBCrossView::FillMatrix()
{
    TqlrDataSet* ds = DataSet();
    TqlrReport* report = Report();
    if (!ds || !report) return;
    ds->Open();
    rtl::TStringList fields;
    ds->GetFieldList(fields);
    auto valueOf = [&](const std::string& name) -> rtl::Variant {
        for (int i = 0; i < fields.Count(); ++i)
            if (rtl::SameText(fields[i], name)) return ds->Value(fields[i]);
        return report->Calc(name);
    };
    auto collect = [&](rtl::TStringList* names) {
        TqlrVariantArray v;
        for (int i = 0; i < names->Count(); ++i) v.push_back(valueOf((*names)[i]));
        return v;
    };
    ds->First();
    while (!ds->Eof() && !report->Terminated()) {
        AddValue(collect(FRowFields.get()), collect(FColumnFields.get()), collect(FCellFields.get()));
        ds->Next();
    }
}

// ------------------------------------------------------------------ published

RTL_PUBLISHED(TqlrCustomCrossView)
{
    using V = TqlrCustomCrossView;
    QLR_FIELD(V, AddHeight).Default(0.0L);
    QLR_FIELD(V, AddWidth).Default(0.0L);
    QLR_FIELD(V, AllowDuplicates).Default(true);
    QLR_FIELD(V, AutoSize).Default(true);
    QLR_FIELD(V, Border).Default(true);
    c.Property("CellLevels", &V::CellLevels, [](V& v, int n) { v.SetCellLevels(n); }).Default(1);
    c.Property("ColumnLevels", &V::ColumnLevels, [](V& v, int n) { v.SetColumnLevels(n); }).Default(1);
    QLR_FIELD(V, DefHeight).Default(0);
    QLR_FIELD(V, DownThenAcross);
    QLR_FIELD(V, GapX).Default(3);
    QLR_FIELD(V, GapY).Default(3);
    QLR_FIELD(V, JoinEqualCells).Default(false);
    QLR_FIELD(V, KeepTogether).Default(false);
    QLR_FIELD(V, MaxWidth).Default(200);
    QLR_FIELD(V, MinWidth).Default(0);
    c.Property("NextCross", &V::NextCross, &V::SetNextCross);
    QLR_FIELD(V, NextCrossGap).Default(0.0L);
    QLR_FIELD(V, PlainCells).Default(false);
    QLR_FIELD(V, RepeatHeaders).Default(true);
    c.Property("RowLevels", &V::RowLevels, [](V& v, int n) { v.SetRowLevels(n); }).Default(1);
    QLR_FIELD(V, ShowColumnHeader).Default(true);
    QLR_FIELD(V, ShowColumnTotal).Default(true);
    QLR_FIELD(V, ShowCorner).Default(true);
    QLR_FIELD(V, ShowRowHeader).Default(true);
    QLR_FIELD(V, ShowRowTotal).Default(true);
    QLR_FIELD(V, ShowTitle).Default(true);
    QLR_FIELD(V, SuppressNullRecords).Default(true);
    QLR_FIELD(V, OnCalcHeight);
    QLR_FIELD(V, OnCalcWidth);
    QLR_FIELD(V, OnPrintCell);
    QLR_FIELD(V, OnPrintColumnHeader);
    QLR_FIELD(V, OnPrintRowHeader);
}

RTL_PUBLISHED(TqlrCrossView) {}

RTL_PUBLISHED(TqlrCrossObject) {}

RTL_PUBLISHED(TqlrDBCrossView)
{
    using V = TqlrDBCrossView;
    c.Property("CellFields", &V::CellFields, [](V& v, rtl::TStringList* l) { v.CellFields()->Assign(l); });
    c.Property("ColumnFields", &V::ColumnFields, [](V& v, rtl::TStringList* l) { v.ColumnFields()->Assign(l); });
    c.Property("DataSet", &V::DataSet, &V::SetDataSet);
    c.Property("DataSetName", &V::DataSetName, &V::SetDataSetName)
        .Stored([](V& v) { return v.DataSet() == nullptr; });
    c.Property("RowFields", &V::RowFields, [](V& v, rtl::TStringList* l) { v.RowFields()->Assign(l); });
}

void RegisterCrossTab()
{
    static bool done = false;
    if (done) return;
    done = true;
    rtl::RegisterClasses({&TqlrCustomCrossView::StaticClassInfo(), &TqlrCrossView::StaticClassInfo(),
                          &TqlrDBCrossView::StaticClassInfo(), &TqlrCrossObject::StaticClassInfo()});
    GetResources().Add("obCross", "Cross-tab object");
    GetResources().Add("obDBCross", "DB Cross-tab object");
    GetResources().Add("crResize", "The cross-tab sizes its columns and rows to their contents while AutoSize is "
                                   "on; switch AutoSize off to keep the sizes set by dragging.");
    GetObjectCollection().RegisterObject(&TqlrCrossView::StaticClassInfo(), nullptr, "");
    RegisterCrossEditor();
    RegisterCrossScriptModule();
    // Parameter lists a script editor offers for the handlers of the events.
    GetResources().Add("TqlrPrintCellEvent",
                       "PascalScript=(Memo: TqlrMemoView; RowIndex, ColumnIndex, CellIndex: Integer; RowValues, "
                       "ColumnValues, Value: Variant);\r\n"
                       "C++Script=(TqlrMemoView Memo, int RowIndex, int ColumnIndex, int CellIndex, variant "
                       "RowValues, variant ColumnValues, variant Value)\r\n"
                       "BasicScript=(Memo, RowIndex, ColumnIndex, CellIndex, RowValues, ColumnValues, Value)\r\n"
                       "JScript=(Memo, RowIndex, ColumnIndex, CellIndex, RowValues, ColumnValues, Value)");
    GetResources().Add("TqlrPrintHeaderEvent",
                       "PascalScript=(Memo: TqlrMemoView; HeaderIndexes, HeaderValues, Value: Variant);\r\n"
                       "C++Script=(TqlrMemoView Memo, variant HeaderIndexes, variant HeaderValues, variant Value)\r\n"
                       "BasicScript=(Memo, HeaderIndexes, HeaderValues, Value)\r\n"
                       "JScript=(Memo, HeaderIndexes, HeaderValues, Value)");
    GetResources().Add("TqlrCalcWidthEvent",
                       "PascalScript=(ColumnIndex: Integer; ColumnValues: Variant; var Width: Extended);\r\n"
                       "C++Script=(int ColumnIndex, variant ColumnValues, float &Width)\r\n"
                       "BasicScript=(ColumnIndex, ColumnValues, byref Width)\r\n"
                       "JScript=(ColumnIndex, ColumnValues, &Width)");
    GetResources().Add("TqlrCalcHeightEvent",
                       "PascalScript=(RowIndex: Integer; RowValues: Variant; var Height: Extended);\r\n"
                       "C++Script=(int RowIndex, variant RowValues, float &Height)\r\n"
                       "BasicScript=(RowIndex, RowValues, byref Height)\r\n"
                       "JScript=(RowIndex, RowValues, &Height)");
}

} // namespace qlr

namespace qlr {
namespace {
// The classes are known as soon as the program links the cross-tab.
const bool gCrossRegistered = (RegisterCrossTab(), true);
} // namespace
} // namespace qlr
