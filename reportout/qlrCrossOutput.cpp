// The cross-tab's output: header objects cut into pieces that fit the page
// width (columns) and height (rows), rows of cells with joins and outer
// lines, and the pieces laid onto pages across then down or down then
// across through the report's engine.
#include <algorithm>

#include "platform/gui/Forms.h"
#include "report/qlrDMPClass.h"
#include "report/qlrVariables.h"
#include "reportout/qlrCross.h"

namespace qlr {

namespace {

constexpr long double kOverhang = 5;

void DropFrameLine(TqlrCustomMemoView* m, TqlrFrameType line)
{
    TqlrFrameTypes t = m->Frame()->Typ();
    t.Exclude(line);
    m->Frame()->SetTyp(t);
}

void AddFrameLine(TqlrCustomMemoView* m, TqlrFrameType line)
{
    TqlrFrameTypes t = m->Frame()->Typ();
    t.Include(line);
    m->Frame()->SetTyp(t);
}

// A new object of the template's class in parent, looking like the
// template and referring to its source object on the prepared pages.
TqlrCustomMemoView* CopyOf(TqlrCustomMemoView* templ, TqlrComponent* parent, bool withChildren)
{
    auto* m = static_cast<TqlrCustomMemoView*>(templ->ClassType()->Create(parent));
    if (withChildren)
        m->AssignAll(templ);
    else
        m->Assign(templ);
    if (m->Parent() != parent) m->SetParent(parent);
    if (m->Name() != templ->Name() && !m->Report()) m->SetName(templ->Name());
    m->SetOriginalComponent(templ->OriginalComponent());
    m->SetAliasName(templ->AliasName());
    return m;
}

bool IsDMP(const TqlrComponent* c) { return dynamic_cast<const TqlrDMPMemoView*>(c) != nullptr; }

bool SameCellValue(const rtl::Variant& a, const rtl::Variant& b)
{
    if (a.IsNull() || b.IsNull()) return a.IsNull() && b.IsNull();
    if (a.IsString() != b.IsString()) return false;
    try {
        return a == b && (!a.IsString() || rtl::VarToStr(a) == rtl::VarToStr(b));
    } catch (const rtl::Exception&) {
        return false;
    }
}

} // namespace

void TqlrCustomCrossView::RunBeforePrint(TqlrReportComponent* obj)
{
    TqlrReport* report = Report();
    if (!report) return;
    report->CurObject = obj;
    report->DoBeforePrint(obj);
    // The engine leaves the event out when it prints the object's band.
    obj->BeforePrintEventDone = true;
}

TqlrCustomMemoView* TqlrCustomCrossView::HeaderObject(TqlrCrossHeader* node, TqlrBand* band, bool column)
{
    TqlrCustomMemoView* obj = CopyOf(node->FMemo, band, !node->FMemo->Objects().empty());
    obj->SetText(obj->FormatData(node->FValue));
    obj->Highlight()->SetCondition("");
    TqlrCrossRect b = node->FBounds;
    if (IsDMP(obj)) {
        b.Left += fr1CharX;
        b.Top += fr1CharY;
        b.Width -= fr1CharX;
        b.Height -= fr1CharY;
    }
    obj->SetLeftDirect(b.Left);
    obj->SetTopDirect(b.Top);
    obj->SetWidthDirect(b.Width);
    obj->SetHeightDirect(b.Height);
    obj->SetVisible(b.Width != 0 && b.Height != 0);
    if (column)
        DoPrintColumnHeader(obj, node);
    else
        DoPrintRowHeader(obj, node);
    if (TqlrReport* report = Report()) report->CurValue = node->FValue;
    RunBeforePrint(obj);
    for (TqlrComponent* child : obj->Objects())
        if (auto* rc = dynamic_cast<TqlrReportComponent*>(child)) RunBeforePrint(rc);
    return obj;
}

namespace {

// Moves the objects of scratch that start before cut into piece, splitting
// those that reach more than the overhang beyond it.  Column pieces cut
// along x, row pieces along y.
void CutPiece(TqlrBand* scratch, TqlrBand* piece, long double cut, long double start, bool column)
{
    const std::vector<TqlrComponent*> objects = scratch->Objects();
    for (TqlrComponent* c : objects) {
        auto* m = dynamic_cast<TqlrCustomMemoView*>(c);
        if (!m) continue;
        const long double pos = column ? m->Left() : m->Top();
        const long double size = column ? m->Width() : m->Height();
        if (pos >= cut) continue;
        TqlrCustomMemoView* moved = m;
        if (pos + size <= cut + kOverhang) {
            m->SetParent(piece);
            if (size <= 0) m->SetVisible(false);
        } else {
            moved = CopyOf(m, piece, !m->Objects().empty());
            moved->SetText(m->Text());
            moved->SetVisible(m->Visible());
            const long double head = cut - pos;
            long double rest = size - head;
            long double restPos = cut;
            if (IsDMP(m)) {
                const long double ch = column ? fr1CharX : fr1CharY;
                restPos += ch;
                rest -= ch;
            }
            if (column) {
                moved->SetWidthDirect(head);
                DropFrameLine(moved, TqlrFrameType::ftRight);
                m->SetLeftDirect(restPos);
                m->SetWidthDirect(rest);
                DropFrameLine(m, TqlrFrameType::ftLeft);
            } else {
                moved->SetHeightDirect(head);
                DropFrameLine(moved, TqlrFrameType::ftBottom);
                m->SetTopDirect(restPos);
                m->SetHeightDirect(rest);
                DropFrameLine(m, TqlrFrameType::ftTop);
            }
        }
        if (column)
            moved->SetLeftDirect(moved->Left() - start);
        else
            moved->SetTopDirect(moved->Top() - start);
    }
    long double extent = 0;
    for (TqlrComponent* c : piece->Objects())
        extent = std::max(extent, column ? c->Top() + c->Height() : c->Top() + c->Height());
    piece->SetHeightDirect(extent);
}

} // namespace

void TqlrCustomCrossView::BuildColumnBands()
{
    TqlrReport* report = Report();
    TqlrCustomEngine* engine = report->Engine();
    auto scratch = std::make_unique<TqlrNullBand>(nullptr);
    const std::vector<TqlrCrossHeader*> nodes = FColumnHeader->AllItems();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i == 0 && !ShowTitle) continue;
        HeaderObject(nodes[i], scratch.get(), true);
    }
    FColumnLeaves = FColumnHeader->TerminalItems();
    const int last = static_cast<int>(FColumnLeaves.size()) - 1;
    long double leftOffset = RowHeaderWidth();
    long double avail = engine->PageWidth - leftOffset;
    long double startX = -Left();
    long double cutPos = startX + avail;
    int from = 0, to = last;
    auto cut = [&]() {
        CutBand piece;
        piece.Band = std::make_unique<TqlrNullBand>(nullptr);
        piece.Band->SetLeftDirect(leftOffset);
        CutPiece(scratch.get(), piece.Band.get(), cutPos, startX, true);
        piece.FromIndex = from;
        piece.ToIndex = to;
        FColumnBands.push_back(std::move(piece));
    };
    auto* page = dynamic_cast<TqlrReportPage*>(Page());
    if (!(page && page->EndlessWidth)) {
        for (int q = 0; q <= last; ++q) {
            const TqlrCrossRect& b = FColumnLeaves[static_cast<std::size_t>(q)]->FBounds;
            if (b.Left + b.Width - startX > avail) {
                cutPos = b.Left;
                to = q - 1;
                cut();
                startX = cutPos;
                leftOffset = RepeatHeaders ? RowHeaderWidth() : 0;
                avail = engine->PageWidth - leftOffset;
                cutPos = startX + avail;
                from = q;
                to = last;
            }
        }
    } else if (last >= 0) {
        const TqlrCrossRect& b = FColumnLeaves.back()->FBounds;
        const long double needed = b.Left + b.Width - startX + leftOffset;
        if (engine->PageWidth < needed) engine->PageWidth = needed;
        cutPos = 1000000;
    }
    cut();
}

void TqlrCustomCrossView::BuildRowBands()
{
    TqlrReport* report = Report();
    TqlrCustomEngine* engine = report->Engine();
    auto scratch = std::make_unique<TqlrNullBand>(nullptr);
    long double totalHeight = 0;
    for (TqlrCrossHeader* node : FRowHeader->AllItems()) {
        HeaderObject(node, scratch.get(), false);
        totalHeight = std::max(totalHeight, node->FBounds.Top + node->FBounds.Height);
    }
    FRowLeaves = FRowHeader->TerminalItems();
    const int last = static_cast<int>(FRowLeaves.size()) - 1;
    long double topOffset = ColumnHeaderHeight();
    long double avail = engine->FreeSpace() - topOffset;
    if (avail < totalHeight && KeepTogether) {
        engine->NewPage();
        topOffset = ColumnHeaderHeight();
        avail = engine->FreeSpace() - topOffset;
    }
    long double startY = 0, cutPos = avail;
    int from = 0, to = last;
    auto cut = [&]() {
        CutBand piece;
        piece.Band = std::make_unique<TqlrNullBand>(nullptr);
        piece.Band->SetTopDirect(topOffset);
        CutPiece(scratch.get(), piece.Band.get(), cutPos, startY, false);
        piece.FromIndex = from;
        piece.ToIndex = to;
        FRowBands.push_back(std::move(piece));
    };
    auto* band = dynamic_cast<TqlrBand*>(Parent());
    const bool reprintedHeader = dynamic_cast<TqlrDataBand*>(band) && dynamic_cast<TqlrHeader*>(band->Header) &&
                                 static_cast<TqlrHeader*>(band->Header)->ReprintOnNewPage;
    for (int q = 0; q <= last; ++q) {
        const TqlrCrossRect& b = FRowLeaves[static_cast<std::size_t>(q)]->FBounds;
        if (b.Top + b.Height - startY > avail) {
            cutPos = b.Top;
            to = q - 1;
            cut();
            startY = cutPos;
            topOffset = RepeatHeaders ? ColumnHeaderHeight() : 0;
            const long double space = reprintedHeader ? engine->PageHeight() - engine->CurY
                                                      : engine->PageHeight() - engine->HeaderHeight();
            avail = space - engine->FooterHeight() - topOffset;
            cutPos = startY + avail;
            from = q;
            to = last;
        }
    }
    cut();
}

std::unique_ptr<TqlrBand> TqlrCustomCrossView::BuildCellRow(int rowLeaf, const CutBand& piece,
                                                            long double rowHeaderOffset)
{
    TqlrReport* report = Report();
    TqlrCrossHeader* r = FRowLeaves[static_cast<std::size_t>(rowLeaf)];
    auto band = std::make_unique<TqlrNullBand>(nullptr);
    band->SetHeightDirect(r->FBounds.Height);
    if (piece.ToIndex < piece.FromIndex) return band;
    const long double x0 = FColumnLeaves[static_cast<std::size_t>(piece.FromIndex)]->FBounds.Left;
    std::vector<TqlrCustomMemoView*> slots(static_cast<std::size_t>(std::max(FCellLevels, 1)), nullptr);
    const int lastRow = static_cast<int>(FRowLeaves.size()) - 1;
    const int lastColumn = static_cast<int>(FColumnLeaves.size()) - 1;
    for (int d = piece.FromIndex; d <= piece.ToIndex; ++d) {
        TqlrCrossHeader* c = FColumnLeaves[static_cast<std::size_t>(d)];
        int level = 0, rowPos = rowLeaf, colPos = d;
        if (FCellLevels == 1) {
        } else if (PlainCells) {
            level = c->FCellIndex;
            colPos = c->FIndex;
        } else {
            level = r->FCellIndex;
            rowPos = r->FIndex;
        }
        const rtl::Variant value = GetValue(rowPos, colPos, level);
        TqlrCustomMemoView* templ = CellTemplate(r->FTotalIndex, c->FTotalIndex, level);
        TqlrCustomMemoView* format = CellMemos(level);
        if (!templ || !format) continue;
        TqlrCustomMemoView* obj = CopyOf(templ, band.get(), false);
        obj->SetValue(value.IsNull() ? rtl::Variant(0) : value);
        bool zero = false;
        if (templ->HideZeros() && !obj->Value().IsString()) {
            try {
                zero = obj->Value().AsDouble() == 0;
            } catch (const rtl::Exception&) {
            }
        }
        obj->SetText(zero ? std::string() : obj->FormatData(value, format->DisplayFormat()));
        obj->SetRotation(0);
        TqlrCrossRect b{c->FBounds.Left - x0 + rowHeaderOffset, 0, c->FBounds.Width, r->FBounds.Height};
        if (IsDMP(obj)) {
            b.Left += fr1CharX;
            b.Top += fr1CharY;
            b.Width -= fr1CharX;
            b.Height -= fr1CharY;
        }
        obj->SetLeftDirect(b.Left);
        obj->SetTopDirect(b.Top);
        obj->SetWidthDirect(b.Width);
        obj->SetHeightDirect(b.Height);
        FRightEdge = std::max(FRightEdge, band->Left() + b.Left + b.Width);
        obj->SetVisible(b.Width != 0 && b.Height != 0);
        DoPrintCell(obj, rowPos, colPos, level, value);
        if (Border) {
            if (rowLeaf == 0) AddFrameLine(obj, TqlrFrameType::ftTop);
            if (d == 0) AddFrameLine(obj, TqlrFrameType::ftLeft);
            if (d == lastColumn) AddFrameLine(obj, TqlrFrameType::ftRight);
            if (rowLeaf == lastRow) AddFrameLine(obj, TqlrFrameType::ftBottom);
        }
        if (JoinEqualCells) {
            TqlrCustomMemoView*& slot = slots[static_cast<std::size_t>(std::min<int>(level, static_cast<int>(slots.size()) - 1))];
            if (IsTotalRow(rowPos) || IsTotalColumn(colPos)) slot = nullptr;
            if (!slot || !SameCellValue(slot->Value(), obj->Value())) {
                slot = obj;
            } else {
                slot->SetWidthDirect(slot->Width() + obj->Width());
                slot->SetHAlign(TqlrHAlign::haCenter);
                if (d == lastColumn && Border) AddFrameLine(slot, TqlrFrameType::ftRight);
                delete obj;
                obj = slot;
            }
        }
        GlobalVariables().SetVariable("RowIndex", rtl::Variant(rowLeaf));
        GlobalVariables().SetVariable("ColumnIndex", rtl::Variant(d));
        if (report) report->CurValue = obj->Value();
        RunBeforePrint(obj);
        for (TqlrComponent* child : templ->Objects()) {
            auto* rc = dynamic_cast<TqlrReportComponent*>(child);
            if (!rc) continue;
            auto* copy = dynamic_cast<TqlrReportComponent*>(rc->ClassType()->Create(band.get()));
            if (!copy) continue;
            copy->Assign(rc);
            if (copy->Parent() != band.get()) copy->SetParent(band.get());
            if (copy->Name() != rc->Name() && !copy->Report()) copy->SetName(rc->Name());
            copy->SetOriginalComponent(rc->OriginalComponent());
            copy->SetAliasName(rc->AliasName());
            copy->SetLeftDirect(rc->Left() + obj->Left());
            copy->SetTopDirect(rc->Top() + obj->Top());
            RunBeforePrint(copy);
        }
    }
    return band;
}

void TqlrCustomCrossView::OutputCorner(long double x, long double y)
{
    if (!(ShowRowHeader && ShowColumnHeader && ShowCorner) || FNoRows) return;
    TqlrCustomPreviewPages* pages = Report()->PreviewPages();
    for (TqlrCrossHeader* node : FCorner->AllItems()) {
        TqlrCustomMemoView* t = node->FMemo;
        const std::string text = t->Text();
        const long double l = t->Left(), tp = t->Top(), w = t->Width(), h = t->Height();
        t->BeforePrint();
        t->SetText(rtl::VarToStr(node->FValue));
        TqlrCrossRect b = node->FBounds;
        if (IsDMP(t)) {
            b.Left += fr1CharX;
            b.Top += fr1CharY;
            b.Width -= fr1CharX;
            b.Height -= fr1CharY;
        }
        t->SetLeftDirect(b.Left + x);
        t->SetTopDirect(b.Top + y);
        t->SetWidthDirect(b.Width);
        t->SetHeightDirect(b.Height);
        if (pages && b.Width > 0 && b.Height > 0) pages->AddObject(t);
        t->AfterPrint();
        t->SetText(text);
        t->SetLeftDirect(l);
        t->SetTopDirect(tp);
        t->SetWidthDirect(w);
        t->SetHeightDirect(h);
    }
}

void TqlrCustomCrossView::OutputPiece(int rowPiece, int columnPiece, long double y)
{
    TqlrCustomEngine* engine = Report()->Engine();
    CutBand& colBand = FColumnBands[static_cast<std::size_t>(columnPiece)];
    CutBand& rowBand = FRowBands[static_cast<std::size_t>(rowPiece)];
    const long double chh = ColumnHeaderHeight();
    const bool columnHeader = ShowColumnHeader && (RepeatHeaders || rowPiece == 0);
    if (columnHeader) {
        colBand.Band->SetTopDirect(y);
        engine->ShowBand(colBand.Band.get());
    }
    if (ShowRowHeader && (RepeatHeaders || columnPiece == 0) && !FNoRows) {
        rowBand.Band->SetLeftDirect(columnPiece == 0 ? Left() : 0);
        const long double top = rowBand.Band->Top();
        rowBand.Band->SetTopDirect(top + y);
        engine->ShowBand(rowBand.Band.get());
        rowBand.Band->SetTopDirect(top);
        if (columnHeader) OutputCorner(rowBand.Band->Left(), top + y - chh);
    }
    engine->CurY = (RepeatHeaders || rowPiece == 0) ? y + chh : y;
    const long double offset =
        (RepeatHeaders || columnPiece == 0) ? RowHeaderWidth() + (columnPiece == 0 ? Left() : 0) : 0;
    for (int q = rowBand.FromIndex; q <= rowBand.ToIndex; ++q) {
        std::unique_ptr<TqlrBand> row = BuildCellRow(q, colBand, offset);
        row->SetTopDirect(engine->CurY);
        engine->ShowBand(row.get());
    }
}

void TqlrCustomCrossView::RenderMatrix()
{
    TqlrReport* report = Report();
    if (!report || !report->Engine() || !FRows) return;
    TqlrCustomEngine* engine = report->Engine();
    TqlrCustomPreviewPages* pages = report->PreviewPages();
    if (pages)
        for (auto* list : {&FCellHeaderMemos, &FCellMemos, &FColumnMemos, &FColumnTotalMemos, &FCornerMemos,
                           &FRowMemos, &FRowTotalMemos})
            for (TqlrCustomMemoView* m : *list) pages->AddToSourcePage(m);
    if (engine->FreeSpace() <= ColumnHeaderHeight()) engine->NewPage();
    FColumnBands.clear();
    FRowBands.clear();
    BuildColumnBands();
    BuildRowBands();

    const int startPage = pages ? pages->CurPage : 0;
    int p = startPage;
    long double y = engine->CurY;
    const long double savedY = y;
    FRightEdge = 0;
    GlobalVariables().SetVariable("RowIndex", rtl::Variant(0));
    GlobalVariables().SetVariable("ColumnIndex", rtl::Variant(0));
    const int nCol = static_cast<int>(FColumnBands.size()), nRow = static_cast<int>(FRowBands.size());
    auto setPage = [&](int index) {
        if (pages) pages->CurPage = index;
    };
    auto setAction = [&](TqlrAddPageAction a) {
        if (pages) pages->AddPageAction = a;
    };
    auto serve = [] {
        if (gui::Application) gui::Application->ProcessMessages();
    };
    if (DownThenAcross) {
        for (int i = 0; i < nCol; ++i) {
            for (int j = 0; j < nRow; ++j) {
                setPage(p + j);
                OutputPiece(j, i, y);
                if (j != nRow - 1) {
                    engine->NewPage();
                    y = engine->CurY;
                }
            }
            if (i != nCol - 1) engine->NewPage();
            y = savedY;
            p += nRow;
            serve();
            if (report->Terminated()) break;
        }
    } else {
        for (int i = 0; i < nRow; ++i) {
            for (int j = 0; j < nCol; ++j) {
                setPage(p + j);
                FRightEdge = 0;
                OutputPiece(i, j, y);
                if (j == nCol - 1) {
                    if (FNextCross) FNextCross->SetLeft(FRightEdge + NextCrossGap);
                } else {
                    setAction(TqlrAddPageAction::apWriteOver);
                    engine->NewPage();
                }
            }
            if (i == nRow - 1) {
                p += nCol;
            } else {
                setAction(TqlrAddPageAction::apAdd);
                engine->NewPage();
                p = pages ? pages->CurPage : p + nCol;
            }
            y = engine->CurY;
            serve();
            if (report->Terminated()) break;
        }
    }
    if (dynamic_cast<TqlrBand*>(Parent())) y -= Height();
    if (nCol > 1) engine->EndPage();
    if (FNextCross) {
        setPage(startPage + nCol - 1);
        setAction(TqlrAddPageAction::apAdd);
        engine->CurY = savedY;
    } else {
        setPage(p - nCol);
        setAction(TqlrAddPageAction::apAdd);
        engine->CurY = y;
    }
    FColumnBands.clear();
    FRowBands.clear();
}

} // namespace qlr
