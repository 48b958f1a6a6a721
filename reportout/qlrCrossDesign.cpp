// The cross-tab's design view: a sample matrix drawn with every template in
// place, the grid of template edges, dropping objects into templates and
// resizing columns and rows by dragging their edges.
#include <algorithm>
#include <cmath>

#include "platform/gui/Controls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "report/qlrDMPClass.h"
#include "report/qlrRes.h"
#include "reportout/qlrCross.h"

namespace qlr {

void TqlrGridLines::Add(TqlrComponent* obj, long double coord)
{
    for (TqlrGridLineItem& item : FItems)
        if (std::fabs(static_cast<double>(item.Coord - coord)) < 1) {
            item.Coord = coord;
            item.Objects.push_back(obj);
            return;
        }
    FItems.push_back({coord, {obj}});
}

namespace {

bool IsDMP(const TqlrComponent* c) { return dynamic_cast<const TqlrDMPMemoView*>(c) != nullptr; }

void PlaceTemplate(TqlrCustomMemoView* m, const TqlrCrossRect& b, long double x, long double y)
{
    long double l = b.Left + x, t = b.Top + y, w = b.Width, h = b.Height;
    if (IsDMP(m)) {
        l += fr1CharX;
        t += fr1CharY;
        w -= fr1CharX;
        h -= fr1CharY;
    }
    m->SetLeftDirect(l);
    m->SetTopDirect(t);
    m->SetWidthDirect(w);
    m->SetHeightDirect(h);
}

// A dot-matrix template goes back half a character up and left with its
// size before the adjustment.
void PutBack(TqlrCustomMemoView* m, const TqlrCrossRect& b, long double x, long double y)
{
    if (!IsDMP(m)) return;
    m->SetLeftDirect(b.Left + x - fr1CharX / 2);
    m->SetTopDirect(b.Top + y - fr1CharY / 2);
    m->SetWidthDirect(b.Width);
    m->SetHeightDirect(b.Height);
}

} // namespace

void TqlrCustomCrossView::Grow(TqlrComponent* obj)
{
    FExtentX = std::max(FExtentX, obj->AbsLeft() + obj->Width());
    FExtentY = std::max(FExtentY, obj->AbsTop() + obj->Height());
}

void TqlrCustomCrossView::DrawTemplate(TqlrComponent* obj, bool nested)
{
    if (nested) {
        // A child partly outside its template is moved inside it.
        if (TqlrComponent* p = obj->Parent()) {
            obj->SetLeftDirect(std::max<long double>(0, std::min(obj->Left(), p->Width() - obj->Width())));
            obj->SetTopDirect(std::max<long double>(0, std::min(obj->Top(), p->Height() - obj->Height())));
        }
    }
    if (FDrawCanvas) {
        if (auto* rc = dynamic_cast<TqlrReportComponent*>(obj)) {
            rc->Draw(FDrawCanvas, FDrawScaleX, FDrawScaleY, FDeviceX, FDeviceY);
            if (!rc->OnBeforePrint.empty()) {
                // The mark of an object with a before-print script.
                gui::TCanvas* c = FDrawCanvas;
                c->Pen()->SetColor(gui::clRed);
                c->Pen()->SetStyle(gui::TPenStyle::psSolid);
                c->Pen()->SetWidth(1);
                const long double x = FDeviceX + obj->AbsLeft() * FDrawScaleX,
                                  y = FDeviceY + obj->AbsTop() * FDrawScaleY;
                const int lengths[] = {7, 5, 3, 1};
                for (int i = 0; i < 4; ++i) {
                    const int px = static_cast<int>(std::lround(x + (2 + i) * FDrawScaleX));
                    c->MoveTo(px, static_cast<int>(std::lround(y + FDrawScaleY)));
                    c->LineTo(px, static_cast<int>(std::lround(y + (1 + lengths[i]) * FDrawScaleY)));
                }
            }
        }
    }
    if (!nested) {
        FGridX.Add(obj, obj->AbsLeft() + obj->Width());
        FGridY.Add(obj, obj->AbsTop() + obj->Height());
    }
    FAllMemos.push_back(obj);
    for (TqlrComponent* child : obj->Objects()) DrawTemplate(child, true);
}

void TqlrCustomCrossView::DrawTree(TqlrCrossHeader* tree, long double x, long double y)
{
    for (TqlrCrossHeader* node : tree->AllItems()) {
        TqlrCustomMemoView* m = node->FMemo;
        const std::string text = m->Text();
        m->SetText(rtl::VarToStr(node->FValue));
        PlaceTemplate(m, node->FBounds, x, y);
        Grow(m);
        if (m->Visible()) DrawTemplate(m, false);
        m->SetText(text);
        PutBack(m, node->FBounds, x, y);
    }
}

void TqlrCustomCrossView::DrawCells(long double x, long double y)
{
    const std::vector<TqlrCrossHeader*> rows = FRowHeader->TerminalItems(), cols = FColumnHeader->TerminalItems();
    for (std::size_t ri = 0; ri < rows.size(); ++ri) {
        TqlrCrossHeader* r = rows[ri];
        for (std::size_t ci = 0; ci < cols.size(); ++ci) {
            TqlrCrossHeader* c = cols[ci];
            int level = 0, rowPos = static_cast<int>(ri), colPos = static_cast<int>(ci);
            if (FCellLevels > 1 && PlainCells) {
                level = c->FCellIndex;
                colPos = c->FIndex;
            } else if (FCellLevels > 1) {
                level = r->FCellIndex;
                rowPos = r->FIndex;
            }
            TqlrCustomMemoView* m = CellTemplate(r->FTotalIndex, c->FTotalIndex, level);
            TqlrCustomMemoView* format = CellMemos(level);
            if (!m || !format) continue;
            m->SetVisible(true);
            TqlrRestrictions rs = m->Restrictions();
            rs.Include(TqlrRestriction::rfDontDelete);
            rs.Include(TqlrRestriction::rfDontEdit);
            m->SetRestrictions(rs);
            m->SetText(m->FormatData(GetValue(rowPos, colPos, level), format->DisplayFormat()));
            const TqlrCrossRect b{c->FBounds.Left, r->FBounds.Top, c->FBounds.Width, r->FBounds.Height};
            PlaceTemplate(m, b, x, y);
            Grow(m);
            DrawTemplate(m, false);
            PutBack(m, b, x, y);
        }
    }
}

TqlrCrossSize TqlrCustomCrossView::DrawCross(gui::TCanvas* canvas, long double scaleX, long double scaleY,
                                             long double offsetX, long double offsetY)
{
    FGridX.Clear();
    FGridY.Clear();
    FAllMemos.clear();
    FExtentX = offsetX;
    FExtentY = offsetY;
    if (!IsCrossValid()) return {};
    FDrawCanvas = canvas;
    FDrawScaleX = scaleX;
    FDrawScaleY = scaleY;
    BeginMatrix();
    UpdateMemoNames();
    TqlrVariantArray rows, cols, cells;
    for (int i = 0; i < FRowLevels; ++i)
        rows.push_back(rtl::Variant("[" + (i < FRowFields->Count() ? (*FRowFields)[i] : std::string()) + "]"));
    for (int i = 0; i < FColumnLevels; ++i)
        cols.push_back(rtl::Variant("[" + (i < FColumnFields->Count() ? (*FColumnFields)[i] : std::string()) + "]"));
    for (int i = 0; i < FCellLevels; ++i) cells.push_back(rtl::Variant(0));
    AddValue(rows, cols, cells);
    EndMatrix();
    if (FCorner->FVisible) DrawTree(FCorner.get(), offsetX, offsetY);
    if (FColumnHeader->FVisible) DrawTree(FColumnHeader.get(), offsetX + RowHeaderWidth(), offsetY);
    if (FRowHeader->FVisible) DrawTree(FRowHeader.get(), offsetX, offsetY + ColumnHeaderHeight());
    DrawCells(offsetX + RowHeaderWidth(), offsetY + ColumnHeaderHeight());
    FDrawCanvas = nullptr;
    return {FExtentX - offsetX, FExtentY - offsetY};
}

TqlrCrossSize TqlrCustomCrossView::MeasureSample()
{
    const long double dx = DotMatrix ? 2 * fr1CharX : 0, dy = DotMatrix ? fr1CharY : 0;
    return DrawCross(nullptr, FDrawScaleX, FDrawScaleY, AbsLeft() + 20 + dx, AbsTop() + 20 + dy);
}

void TqlrCustomCrossView::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                               long double offsetY)
{
    FDrawScaleX = scaleX;
    FDrawScaleY = scaleY;
    const TqlrCrossSize s = MeasureSample();
    if (s.X > 0 && s.Y > 0) {
        SetWidthDirect(s.X + 40);
        SetHeightDirect(s.Y + 40);
    }
    SetColor(gui::clWhite);
    TqlrView::Draw(canvas, scaleX, scaleY, offsetX, offsetY);
    FDeviceX = offsetX;
    FDeviceY = offsetY;
    const long double dx = DotMatrix ? 2 * fr1CharX : 0, dy = DotMatrix ? fr1CharY : 0;
    DrawCross(canvas, scaleX, scaleY, AbsLeft() + 20 + dx, AbsTop() + 20 + dy);
    const int image = dynamic_cast<TqlrDBCrossView*>(this) ? 49 : 42;
    try {
        gui::TImageList& images = GetResources().GetObjectImages();
        if (image < images.Count())
            images.Draw(canvas, FX, FY + static_cast<int>(std::lround(2 * scaleY)), image);
    } catch (const rtl::Exception&) {
        // A program without the designer images draws no icon.
    }
}

bool TqlrCustomCrossView::ContainerAdd(TqlrComponent* obj)
{
    if (!obj || dynamic_cast<TqlrCustomCrossView*>(obj) || dynamic_cast<TqlrSubreport*>(obj)) return false;
    MeasureSample();
    const long double x = obj->AbsLeft(), y = obj->AbsTop();
    for (TqlrComponent* t : FAllMemos) {
        if (t->Parent()) continue;  // templates only, not the objects inside them
        if (x < t->Left() || x > t->Left() + t->Width() || y < t->Top() || y > t->Top() + t->Height()) continue;
        std::vector<long long> used;
        for (TqlrComponent* m : FAllMemos)
            for (TqlrComponent* c : m->Objects()) used.push_back(c->Tag());
        long long tag = 1;
        while (std::find(used.begin(), used.end(), tag) != used.end()) ++tag;
        if (obj->Owner()) obj->Owner()->RemoveComponent(obj);
        obj->SetParent(t);
        obj->SetLeftDirect(x - t->Left());
        obj->SetTopDirect(y - t->Top());
        obj->SetTag(tag);
        obj->SetName(Name() + "Object" + std::to_string(tag));
        return true;
    }
    return false;
}

bool TqlrCustomCrossView::ContainerMouseDown(gui::TControl*, int x, int y)
{
    MeasureSample();
    FFirstMousePos = FLastMousePos = gui::TPoint{x, y};
    FGridUsed = nullptr;
    FMovingObjects = -1;
    const long double ux = x / FDrawScaleX, uy = y / FDrawScaleY;
    for (int i = 0; i < FGridX.Count(); ++i)
        for (TqlrComponent* c : FGridX.Items(i).Objects)
            if (std::fabs(static_cast<double>(c->AbsLeft() + c->Width() - ux)) <= 2 && uy >= c->AbsTop() &&
                uy <= c->AbsTop() + c->Height()) {
                FGridUsed = &FGridX;
                FMovingObjects = i;
            }
    for (int i = 0; i < FGridY.Count(); ++i)
        for (TqlrComponent* c : FGridY.Items(i).Objects)
            if (std::fabs(static_cast<double>(c->AbsTop() + c->Height() - uy)) <= 2 && ux >= c->AbsLeft() &&
                ux <= c->AbsLeft() + c->Width()) {
                FGridUsed = &FGridY;
                FMovingObjects = i;
            }
    FMouseDown = FGridUsed != nullptr;
    return FMouseDown;
}

void TqlrCustomCrossView::ContainerMouseMove(gui::TControl* sender, int x, int y)
{
    if (FDrawScaleX == 0 || FDrawScaleY == 0) return;
    if (FMouseDown && FGridUsed && FMovingObjects >= 0 && FMovingObjects < FGridUsed->Count()) {
        const int d = FGridUsed == &FGridX ? x - FLastMousePos.X : y - FLastMousePos.Y;
        for (TqlrComponent* c : FGridUsed->Items(FMovingObjects).Objects) {
            if (FGridUsed == &FGridX)
                c->SetWidthDirect(c->Width() + d);
            else
                c->SetHeightDirect(c->Height() + d);
        }
        FLastMousePos = gui::TPoint{x, y};
        return;
    }
    MeasureSample();
    const long double ux = x / FDrawScaleX, uy = y / FDrawScaleY;
    gui::TCursor cursor = gui::crDefault;
    for (int i = 0; i < FGridX.Count(); ++i)
        for (TqlrComponent* c : FGridX.Items(i).Objects)
            if (std::fabs(static_cast<double>(c->AbsLeft() + c->Width() - ux)) <= 2 && uy >= c->AbsTop() &&
                uy <= c->AbsTop() + c->Height())
                cursor = gui::crHSplit;
    for (int i = 0; i < FGridY.Count(); ++i)
        for (TqlrComponent* c : FGridY.Items(i).Objects)
            if (std::fabs(static_cast<double>(c->AbsTop() + c->Height() - uy)) <= 2 && ux >= c->AbsLeft() &&
                ux <= c->AbsLeft() + c->Width())
                cursor = gui::crVSplit;
    if (sender) sender->SetCursor(cursor);
}

void TqlrCustomCrossView::ContainerMouseUp(gui::TControl*, int x, int y)
{
    const bool was = FMouseDown;
    FMouseDown = false;
    FGridUsed = nullptr;
    if (was && AutoSize && (std::abs(x - FFirstMousePos.X) > 5 || std::abs(y - FFirstMousePos.Y) > 5) &&
        gui::Application)
        gui::Application->MessageBox(GetResources().Get("crResize"), GetResources().Get("mbInfo"),
                                     gui::MB_OK | gui::MB_ICONINFORMATION);
}

} // namespace qlr
