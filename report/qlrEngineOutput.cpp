// The band engine's output of one band: preparing it (data, stretching,
// shifting), deciding whether it fits, splitting it across pages, handing
// it to the prepared pages, finishing it, and its subreports.
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "platform/rtl/Format.h"
#include "report/qlrClass.h"
#include "report/qlrDMPClass.h"
#include "report/qlrEngine.h"

namespace qlr {

namespace {

template <typename T> bool Is(const rtl::TObject* c) { return c && T::StaticClassInfo().IsInstance(c); }

constexpr long double kEps = 0.0001L;

std::vector<TqlrReportComponent*> BandObjects(TqlrBand* band)
{
    std::vector<TqlrReportComponent*> list;
    for (TqlrComponent* c : band->Objects())
        if (auto* r = dynamic_cast<TqlrReportComponent*>(c)) list.push_back(r);
    return list;
}

bool IsStretching(TqlrReportComponent* c)
{
    auto* s = dynamic_cast<TqlrStretcheable*>(c);
    return s && s->StretchMode() != TqlrStretchMode::smDontStretch;
}

TqlrShiftMode ShiftModeOf(TqlrReportComponent* c)
{
    auto* v = dynamic_cast<TqlrView*>(c);
    return v ? v->ShiftMode() : TqlrShiftMode::smAlways;
}

bool OverlapH(long double l1, long double r1, long double l2, long double r2)
{
    return std::min(r1, r2) - std::max(l1, l2) > kEps;
}

} // namespace

// --- showing a band ------------------------------------------------------------------------

void TqlrEngine::ShowBand(TqlrBand* band)
{
    if (!band || !Running) return;  // report code outside a run
    if (band->KeepChild) StartKeep(band);
    OutputBand(band);
    if (band->Child() && (band->Visible() || band->PrintChildIfInvisible)) ShowBand(band->Child());
    if (band->KeepChild) EndKeep(band);
    if (Is<TqlrDataBand>(band)) FAggregates->AddValue(band, 0);
}

void TqlrEngine::ShowBand(const rtl::TClassInfo& bandClass)
{
    if (FPage) ShowBand(FPage->FindBand(bandClass));
}

void TqlrEngine::OutputBand(TqlrBand* band)
{
    auto* dataBand = dynamic_cast<TqlrDataBand*>(band);
    auto* groupHeader = dynamic_cast<TqlrGroupHeader*>(band);
    const bool withCells = band->HasVBands && !Is<TqlrPageHeader>(band);
    long double cellsX = CurX;
    if (withCells) {
        // The vertical bands crossing this band lay their cells into it first.
        Report()->CurObject = band;
        band->BeforePrint();
        Report()->DoBeforePrint(band);
        CollectVerticalCells(band);
        CurX = 0;
        CurLine = band->LineN;
        CurLineThrough = band->LineThrough;
        if (Pages()) Pages()->AddPageAction = TqlrAddPageAction::apAdd;
    }
    if (band->Vertical) {
        ShowVBand(band);
        return;
    }
    // A band that asks for a new page gets one, except for the first row of
    // its data band or the first group.
    if (!FCallFromAddPage && band->Visible() && band->StartNewPage && !FOutputTo &&
        (!(dataBand || groupHeader) || band->LineN != 1)) {
        FStartNewPageBand = band;
        if (groupHeader && groupHeader->ResetPageNumbers && Pages()) Pages()->ResetLogicalPageNumber();
        try {
            NewPage();
        } catch (...) {
            FStartNewPageBand = nullptr;
            throw;
        }
        FStartNewPageBand = nullptr;
    }

    PrepareBand(band);
    band->StretchedHeight = band->Height();
    try {
        bool split = false;
        const bool multiColumn = dataBand && dataBand->Columns() > 1;
        if (band->Visible() && !multiColumn && !Is<TqlrOverlay>(band) && !Is<TqlrNullBand>(band) && !FOutputTo &&
            FreeSpace() < band->Height()) {
            if ((band->AllowSplit && !FKeeping) ||
                (band->Height() > PageHeight() - FooterHeight() && !band->HasVBands)) {
                if (!band->AllowSplit && band->LineThrough > 1 && !band->StartNewPage) {
                    FCurBand = band;
                    NewColumn();
                }
                EndKeep(band);
                SplitBand(band);
                split = true;
            } else {
                if (!FKeeping && ResetSuppressValues(band)) band->StretchedHeight = band->Height();
                if (!FCallFromPHeader) {
                    FCurBand = band;
                    NewColumn();
                }
            }
        }
        if (!split) {
            if (!Is<TqlrNullBand>(band)) {
                band->SetLeftDirect(multiColumn ? band->Left() + CurX : CurX);
                band->SetTopDirect(CurY);
            }
            if (FOutputTo) {
                CollectBand(band);
            } else if (withCells) {
                const long double y = CurY;
                OutputVerticalCells(band);
                CurY = y;
                CurX = cellsX;
            } else if (Pages() && (!FCallFromAddPage || !Pages()->BandExists(band))) {
                Pages()->AddObject(band);
            }
            CurY += band->Height();
        }
    } catch (...) {
        FinishBand(band);
        throw;
    }
    FinishBand(band);
    // A footer's totals start again after it printed.
    FAggregates->Reset(band);
    if (band->Visible()) RunSubreports(band);
}

// --- preparing and finishing ---------------------------------------------------------------

void TqlrEngine::PrepareBand(TqlrBand* band)
{
    TqlrReport* report = Report();
    FCurBand = band;
    PrepareShiftTree(band);
    const bool cellHolder = band == FVMasterBand;
    if (!cellHolder) {
        report->CurObject = band;
        band->BeforePrint();
        report->DoBeforePrint(band);
    }

    std::vector<TqlrReportComponent*> objects = BandObjects(band);
    if (cellHolder && band->OriginalObjectsCount >= 0 &&
        objects.size() > static_cast<std::size_t>(band->OriginalObjectsCount))
        objects.resize(static_cast<std::size_t>(band->OriginalObjectsCount));
    std::vector<TqlrSubreport*> onParent;
    for (TqlrReportComponent* obj : objects) {
        report->CurObject = obj;
        obj->BeforePrint();
        obj->ShiftAmount = 0;
        const bool eventDone = obj->BeforePrintEventDone;
        obj->BeforePrintEventDone = false;
        if (band->Visible()) {
            if (!eventDone) report->DoBeforePrint(obj);
            if (obj->Visible()) obj->GetData();
        }
        if (band->Visible() && obj->Visible() && IsStretching(obj)) {
            // Objects grow to their content here, never shrink.
            const long double needed = static_cast<TqlrStretcheable*>(obj)->CalcHeight();
            if (needed > obj->Height()) {
                obj->ShiftAmount = needed - obj->Height();
                obj->SetHeightDirect(needed);
            }
        }
        if (auto* s = dynamic_cast<TqlrSubreport*>(obj); s && s->PrintOnParent && s->Visible() && s->Page())
            onParent.push_back(s);
    }
    if (!band->Visible()) return;
    DoShift(band);
    if (!onParent.empty()) RunPrintOnParent(band, onParent);

    // A dot-matrix memo's bottom frame line takes one more text line.
    auto frameLine = [](TqlrReportComponent* obj) -> long double {
        auto* m = dynamic_cast<TqlrDMPMemoView*>(obj);
        return m && m->Frame()->Typ().Contains(TqlrFrameType::ftBottom) ? fr1CharY : 0;
    };
    long double bottom = 0, extra = 0;
    for (TqlrReportComponent* obj : BandObjects(band))
        if (obj->Top() + obj->Height() > bottom) {
            bottom = obj->Top() + obj->Height();
            extra = frameLine(obj);
        }
    bottom += extra;
    if (band->Stretched) band->SetHeightDirect(bottom);
    report->CurObject = band;
    for (TqlrReportComponent* obj : BandObjects(band)) {
        auto* s = dynamic_cast<TqlrStretcheable*>(obj);
        if (s && s->StretchMode() == TqlrStretchMode::smMaxHeight)
            s->SetHeightDirect(bottom - s->Top() - frameLine(obj));
    }
}

void TqlrEngine::FinishBand(TqlrBand* band)
{
    TqlrReport* report = Report();
    std::vector<TqlrReportComponent*> objects = BandObjects(band);
    const bool cellHolder = band == FVMasterBand;
    if (cellHolder && band->OriginalObjectsCount >= 0 &&
        objects.size() > static_cast<std::size_t>(band->OriginalObjectsCount))
        objects.resize(static_cast<std::size_t>(band->OriginalObjectsCount));
    if (band->Visible())
        for (TqlrReportComponent* obj : objects) report->DoAfterPrint(obj);
    for (TqlrReportComponent* obj : objects) obj->AfterPrint();
    report->CurObject = band;
    report->DoAfterPrint(band);
    band->AfterPrint();
    if (band->OriginalObjectsCount >= 0) {
        const std::vector<TqlrComponent*> all = band->Objects();
        for (std::size_t i = static_cast<std::size_t>(band->OriginalObjectsCount); i < all.size(); ++i) delete all[i];
        band->OriginalObjectsCount = -1;
    }
    if (cellHolder) FVMasterBand = nullptr;
}

// --- shift relations -----------------------------------------------------------------------

void TqlrEngine::PrepareShiftTree(TqlrBand* band)
{
    if (!FShiftReady.insert(band).second || band->Vertical) return;
    struct Node {
        TqlrReportComponent* obj;
        long double l, t, r, b;
    };
    std::vector<Node> nodes;
    for (TqlrReportComponent* obj : BandObjects(band)) {
        obj->ShiftChildren.clear();
        const long double l = obj->AbsLeft(), t = obj->AbsTop();
        nodes.push_back({obj, l, t, l + obj->Width(), t + obj->Height()});
    }
    auto key = [](long double top) { return rtl::Format("%9.2f", {static_cast<double>(top)}); };
    std::stable_sort(nodes.begin(), nodes.end(), [&](const Node& a, const Node& b) { return key(a.t) < key(b.t); });
    // A one-pixel guard above the band collects the band's own children.
    const long double bl = band->AbsLeft(), bt = band->AbsTop();
    nodes.insert(nodes.begin(), Node{nullptr, bl, bt - 2, bl + band->Width(), bt - 1});
    band->ShiftChildren.clear();

    auto overlapV = [](const Node& a, const Node& b) { return std::min(a.b, b.b) - std::max(a.t, b.t) > kEps; };
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Node& a = nodes[i];
        std::vector<TqlrReportComponent*>& children = a.obj ? a.obj->ShiftChildren : band->ShiftChildren;
        for (std::size_t j = i + 1; j < nodes.size(); ++j) {
            const Node& b = nodes[j];
            if (overlapV(a, b) || !(a.t < b.t) || !OverlapH(a.l, a.r, b.l, b.r)) continue;
            const long double sl = std::max(a.l, b.l), sr = std::min(a.r, b.r);
            bool between = false;
            for (std::size_t k = i + 1; k < j && !between; ++k) {
                const Node& c = nodes[k];
                between = !overlapV(c, a) && !overlapV(c, b) && OverlapH(c.l, c.r, sl, sr);
            }
            if (!between) children.push_back(b.obj);
        }
    }
}

void TqlrEngine::DoShift(TqlrBand* band)
{
    // An object below two objects that grew moves by the larger push, not
    // by their sum: each object keeps the move applied to it so far and
    // the shift it passed on, and is visited again only for more.
    struct State {
        long double top = 0, moved = 0, passed = 0;
    };
    std::map<TqlrReportComponent*, State> state;
    std::function<void(TqlrReportComponent*, const std::vector<TqlrReportComponent*>&, long double)> shift =
        [&](TqlrReportComponent* parent, const std::vector<TqlrReportComponent*>& children, long double acc) {
            for (TqlrReportComponent* c : children) {
                auto [it, fresh] = state.try_emplace(c, State{c->Top(), 0, 0});
                State& st = it->second;
                long double move = 0, next = 0;
                switch (ShiftModeOf(c)) {
                case TqlrShiftMode::smAlways:
                    move = acc;
                    next = acc + c->ShiftAmount;
                    break;
                case TqlrShiftMode::smWhenOverlapped:
                    if (parent) move = std::max<long double>(0, parent->Top() + parent->Height() - st.top);
                    next = move + c->ShiftAmount;
                    break;
                case TqlrShiftMode::smDontShift: next = acc + c->ShiftAmount; break;
                }
                if (!fresh && move <= st.moved && next <= st.passed) continue;
                st.moved = std::max(st.moved, move);
                st.passed = fresh ? next : std::max(st.passed, next);
                c->SetTopDirect(st.top + st.moved);
                shift(c, c->ShiftChildren, st.passed);
            }
        };
    shift(nullptr, band->ShiftChildren, 0);
    for (auto& entry : state) entry.first->ShiftAmount = 0;
}

// --- repeated values -----------------------------------------------------------------------

bool TqlrEngine::ResetSuppressValues(TqlrBand* band)
{
    bool any = false;
    for (TqlrComponent* c : band->Objects())
        if (auto* m = dynamic_cast<TqlrCustomMemoView*>(c); m && m->SuppressRepeated()) {
            m->ResetSuppress();
            any = true;
        }
    if (!any || band->HasVBands) return false;
    // Prepared again so the suppressed value shows at the top of the new page.
    FinishBand(band);
    CurLine = band->LineN;
    CurLineThrough = band->LineThrough;
    SecondScriptCall = true;
    try {
        PrepareBand(band);
    } catch (...) {
        SecondScriptCall = false;
        throw;
    }
    SecondScriptCall = false;
    return true;
}

// --- splitting -----------------------------------------------------------------------------

void TqlrEngine::SplitBand(TqlrBand* band)
{
    const std::vector<TqlrReportComponent*> all = BandObjects(band);
    std::vector<bool> visible;
    for (TqlrReportComponent* o : all) visible.push_back(o->Visible());
    std::vector<TqlrReportComponent*> remaining;
    for (TqlrReportComponent* o : all) {
        if (Is<TqlrSubreport>(o)) continue;
        remaining.push_back(o);
        if (auto* s = dynamic_cast<TqlrStretcheable*>(o)) {
            s->InitPart();
            s->FSaveHeight = s->Height();
        }
    }
    std::set<TqlrReportComponent*> partlyDrawn;
    auto restoreVisibility = [&] {
        for (std::size_t i = 0; i < all.size(); ++i) all[i]->SetVisible(visible[i]);
    };
    long double freeSpace = FreeSpace();
    int idlePasses = 0;
    try {
        while (!remaining.empty()) {
            ServeMessages();
            if (Terminated()) break;
            std::vector<TqlrReportComponent*> placed;
            std::set<TqlrReportComponent*> moved;
            auto pushBelow = [&](TqlrReportComponent* from, long double delta, bool onlyUnmoved) {
                for (TqlrReportComponent* o : remaining)
                    if (o != from && o->Top() > from->Top() &&
                        OverlapH(o->Left(), o->Left() + o->Width(), from->Left(), from->Left() + from->Width()) &&
                        !(onlyUnmoved && moved.count(o))) {
                        o->SetTopDirect(o->Top() + delta);
                        moved.insert(o);
                    }
            };
            for (std::size_t i = 0; i < remaining.size();) {
                TqlrReportComponent* obj = remaining[i];
                auto* s = dynamic_cast<TqlrStretcheable*>(obj);
                if (obj->Top() + obj->Height() <= freeSpace + kEps) {
                    placed.push_back(obj);
                    remaining.erase(remaining.begin() + static_cast<long>(i));
                    if (s) s->DrawPart();
                } else if (s && obj->Top() < freeSpace) {
                    s->FSavedTop = obj->Top();
                    const long double part = freeSpace - obj->Top();
                    obj->SetHeightDirect(part);
                    const long double unused = s->DrawPart();
                    pushBelow(obj, unused, true);
                    if (std::fabs(static_cast<double>(unused - part)) < 0.5) {
                        // Nothing fitted: the object starts on the next page.
                        obj->SetTopDirect(freeSpace);
                        obj->SetHeightDirect(s->FSaveHeight);
                    } else {
                        placed.push_back(obj);
                        partlyDrawn.insert(obj);
                        s->FSaveHeight = s->FSaveHeight - part + unused;
                    }
                    ++i;
                } else if (!s && obj->Height() > PageHeight() - FooterHeight()) {
                    // Cut by the page edge: it can never fit.
                    placed.push_back(obj);
                    remaining.erase(remaining.begin() + static_cast<long>(i));
                } else if (obj->Top() < freeSpace) {
                    const long double delta = freeSpace - obj->Top();
                    obj->SetTopDirect(freeSpace);
                    pushBelow(obj, delta, false);
                    ++i;
                } else {
                    ++i;
                }
            }
            // Nothing placed on a fresh page twice: place the first object
            // as it is so the run cannot loop for ever.
            idlePasses = placed.empty() ? idlePasses + 1 : 0;
            if (idlePasses >= 2 && !remaining.empty()) {
                placed.push_back(remaining.front());
                remaining.erase(remaining.begin());
                idlePasses = 0;
            }

            long double height = 0;
            for (TqlrReportComponent* o : placed) height = std::max(height, o->Top() + o->Height());
            if (remaining.empty()) {
                for (TqlrReportComponent* o : placed) {
                    auto* v = dynamic_cast<TqlrView*>(o);
                    if (v && v->Align() == TqlrAlign::baBottom) o->SetTopDirect(height - o->Height());
                    auto* s = dynamic_cast<TqlrStretcheable*>(o);
                    if (s && s->StretchMode() == TqlrStretchMode::smMaxHeight) o->SetHeightDirect(height - o->Top());
                }
            }
            for (std::size_t i = 0; i < all.size(); ++i)
                all[i]->SetVisible(visible[i] && std::find(placed.begin(), placed.end(), all[i]) != placed.end());
            band->SetHeightDirect(height);
            band->SetLeftDirect(CurX);
            band->SetTopDirect(CurY);
            if (Pages()) Pages()->AddObject(band);
            CurY += height;
            FCurBand = band;
            if (!remaining.empty()) NewColumn();
            for (TqlrReportComponent* o : remaining) {
                o->SetTopDirect(std::max<long double>(0, o->Top() - freeSpace));
                if (auto* s = dynamic_cast<TqlrStretcheable*>(o); s && partlyDrawn.count(o))
                    o->SetHeightDirect(s->FSaveHeight);
            }
            freeSpace = FreeSpace();
        }
    } catch (...) {
        restoreVisibility();
        throw;
    }
    restoreVisibility();
}

// --- subreports printed on their parent ------------------------------------------------------

void TqlrEngine::CollectBand(TqlrBand* band)
{
    // Copies of the views at their place; the band itself is not kept.
    for (TqlrReportComponent* obj : BandObjects(band)) {
        if (!obj->Visible() || !Is<TqlrView>(obj) || Is<TqlrSubreport>(obj)) continue;
        auto* copy = dynamic_cast<TqlrReportComponent*>(obj->ClassType()->Create(nullptr));
        if (!copy) continue;
        copy->Assign(obj);
        copy->SetOriginalComponent(obj->OriginalComponent());
        copy->SetAliasName(obj->AliasName());
        copy->SetParent(FOutputTo);
        copy->SetLeftDirect(band->Left() + obj->Left());
        copy->SetTopDirect(band->Top() + obj->Top());
    }
}

void TqlrEngine::RunPrintOnParent(TqlrBand* band, const std::vector<TqlrSubreport*>& subreports)
{
    if (band->OriginalObjectsCount < 0) band->OriginalObjectsCount = static_cast<int>(band->Objects().size());
    TqlrNullBand collector(nullptr);
    TqlrNullBand* savedOutput = FOutputTo;
    const long double savedX = CurX, savedY = CurY, savedPageCurX = FPageCurX;
    const int savedColumn = CurColumn;
    TqlrBand* savedBand = FCurBand;
    FOutputTo = &collector;
    try {
        for (TqlrSubreport* s : subreports) {
            CurX = FPageCurX = s->Left();
            CurY = s->Top();
            RunDataBands(PageSubBands(s->Page()));
        }
    } catch (...) {
        FOutputTo = savedOutput;
        throw;
    }
    FOutputTo = savedOutput;
    CurX = savedX;
    CurY = savedY;
    FPageCurX = savedPageCurX;
    CurColumn = savedColumn;
    FCurBand = savedBand;
    const std::vector<TqlrComponent*> collected = collector.Objects();
    for (TqlrComponent* c : collected) {
        c->SetParent(band);
        c->SetParentFont(false);
        if (auto* s = dynamic_cast<TqlrStretcheable*>(c)) s->SetStretchMode(TqlrStretchMode::smDontStretch);
    }
}

// --- subreports ----------------------------------------------------------------------------

void TqlrEngine::RunSubreports(TqlrBand* band)
{
    std::vector<TqlrSubreport*> subs;
    for (TqlrComponent* c : band->Objects())
        if (auto* s = dynamic_cast<TqlrSubreport*>(c); s && s->Visible() && !s->PrintOnParent && s->Page())
            subs.push_back(s);
    if (subs.empty()) return;
    // Rows of a sub-report in a title or header are new bands, not a
    // header printed again on this page: while they run, the page's
    // header printing state is off (a page header's sub-report still
    // never starts a page of its own).
    struct HeaderState {
        bool& Flag;
        bool Saved;
        ~HeaderState() { Flag = Saved; }
    } headerState{FCallFromAddPage, FCallFromAddPage};
    FCallFromAddPage = false;
    TqlrCustomPreviewPages* pages = Pages();
    const long double savedX = CurX, savedPageCurX = FPageCurX, bandBottom = CurY;
    const int page0 = pages ? pages->CurPage : 0, column0 = CurColumn;
    int bestPage = page0, bestColumn = column0;
    long double bestY = CurY;
    for (TqlrSubreport* s : subs) {
        if (pages) pages->CurPage = page0;
        CurColumn = column0;
        FPageCurX = savedPageCurX + s->Left();
        CurX = savedX + s->Left();
        CurY = bandBottom - band->Height() + s->Top();
        if (std::find_if(FSubBands.begin(), FSubBands.end(), [&](auto& e) { return e.first == s->Page(); }) ==
            FSubBands.end())
            PrepareBandStructure(s->Page(), false);
        RunDataBands(PageSubBands(s->Page()));
        const int endPage = pages ? pages->CurPage : 0;
        if (endPage > bestPage || (endPage == bestPage && CurColumn > bestColumn) ||
            (endPage == bestPage && CurColumn == bestColumn && CurY > bestY)) {
            bestPage = endPage;
            bestColumn = CurColumn;
            bestY = CurY;
        }
    }
    if (pages) pages->CurPage = bestPage;
    CurColumn = bestColumn;
    CurY = bestY;
    FPageCurX = savedPageCurX;
    CurX = bestColumn > 1 ? FPageCurX + ColumnX(bestColumn) : savedX;
}

} // namespace qlr
