// Drawing prepared pages on any canvas, and the preview's mouse over them
// (cursors, hints, hyperlink jumps, clicks, drill-down).
#include <cmath>

#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Metafile.h"
#include "platform/rtl/Strings.h"
#include "report/qlrPreviewPages.h"

namespace qlr {

namespace {

int Round(long double x)
{
    return static_cast<int>(std::lround(static_cast<double>(x)));
}

// Exchanges a page's side margins for its even-numbered pages and puts
// them back when it goes.
class MirrorGuard {
public:
    MirrorGuard(TqlrReportPage* page, int index)
        : FPage(page), FActive(page->MirrorMargins() && index % 2 == 1)
    {
        if (FActive) Swap();
    }
    ~MirrorGuard()
    {
        if (FActive) Swap();
    }

private:
    void Swap()
    {
        long double l = FPage->LeftMargin();
        FPage->SetLeftMargin(FPage->RightMargin());
        FPage->SetRightMargin(l);
    }
    TqlrReportPage* FPage;
    bool FActive;
};

} // namespace

void TqlrPreviewPages::DrawPage(int index, gui::TCanvas* canvas, long double scaleX, long double scaleY,
                                long double offsetX, long double offsetY)
{
    TqlrReportPage* page = GetPage(index);
    if (!page || !canvas) return;
    MirrorGuard mirror(page, index);
    const bool printer = canvas->IsPrinterCanvas();
    const bool metafile = dynamic_cast<gui::TMetafileCanvas*>(canvas) != nullptr;

    gui::TRegion saved;
    bool hadClip = false;
    if (!printer) {
        hadClip = canvas->GetClipRgn(saved);
        canvas->IntersectClipRect(gui::Rect(Round(offsetX), Round(offsetY),
                                            Round(page->PaperWidth() * fr01cm * scaleX + offsetX) - 1,
                                            Round(page->PaperHeight() * fr01cm * scaleY + offsetY) - 1));
    }

    page->SetIsPrinting(printer);
    page->Draw(canvas, scaleX, scaleY, offsetX, offsetY);
    page->SetIsPrinting(false);
    offsetX += page->LeftMargin() * fr01cm * scaleX;
    offsetY += page->TopMargin() * fr01cm * scaleY;

    const gui::TRect clip = canvas->ClipRect();
    for (TqlrComponent* c : std::vector<TqlrComponent*>(page->AllObjects())) {
        auto* view = dynamic_cast<TqlrView*>(c);
        if (!view) continue;
        gui::TRect r(Round(view->AbsLeft() * scaleX) - 20, Round(view->AbsTop() * scaleY) - 20,
                     Round((view->AbsLeft() + view->Width()) * scaleX + 20),
                     Round((view->AbsTop() + view->Height()) * scaleY + 20));
        gui::OffsetRect(r, Round(offsetX), Round(offsetY));
        gui::TRect common;
        if (!metafile && !gui::IntersectRect(common, r, clip)) continue;
        if (printer && !view->Printable()) continue;
        view->SetIsPrinting(printer);
        if (auto* memo = dynamic_cast<TqlrCustomMemoView*>(view)) {
            memo->SetTotalPages(GetCount());
            memo->SetCopyNo(CopyNo);
            memo->SetPrintScale(PrintScale);
        }
        view->Draw(canvas, scaleX, scaleY, offsetX, offsetY);
        view->SetIsPrinting(false);
    }

    if (!printer) canvas->SelectClipRgn(hadClip ? &saved : nullptr);
}

void TqlrPreviewPages::ObjectOver(int index, int x, int y, gui::TMouseButton button,
                                  const rtl::Set<gui::TShiftStateItem, 8>& shift, long double scale, int offsetX,
                                  int offsetY, bool click, int& cursor, bool dbClick)
{
    if (index < 0 || index >= GetCount() || (Engine() && Engine()->Running)) return;
    TqlrReportPage* page = GetPage(index);
    TqlrReport* report = Report();
    if (!page || !report) return;
    const long double margin =
        page->MirrorMargins() && index % 2 == 1 ? page->RightMargin() : page->LeftMargin();
    const long double ox = offsetX + scale * margin * fr01cm;
    const long double oy = offsetY + scale * page->TopMargin() * fr01cm;

    report->SetProgressMessage("", false);
    report->SetProgressMessage("", true);
    TqlrCustomPreview* preview = report->Preview();

    TqlrGroupHeader* drill = nullptr;
    const std::vector<TqlrComponent*> objects = page->AllObjects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        TqlrComponent* c = *it;
        gui::TRect r(Round(c->AbsLeft() * scale), Round(c->AbsTop() * scale),
                     Round((c->AbsLeft() + c->Width()) * scale), Round((c->AbsTop() + c->Height()) * scale));
        gui::OffsetRect(r, Round(ox), Round(oy));
        const bool hit = r.Contains(gui::Point(x, y));
        if (auto* header = dynamic_cast<TqlrGroupHeader*>(c); header && header->DrillDown && hit) drill = header;
        auto* view = dynamic_cast<TqlrView*>(c);
        if (!view) continue;
        if (!hit) {
            if (view->ShowHint() && preview && preview->UseReportHints) preview->SetShowHint(false);
            continue;
        }

        if (auto* header = dynamic_cast<TqlrGroupHeader*>(view->Parent()); header && header->DrillDown)
            drill = header;
        if (view->Cursor() != gui::crDefault) cursor = view->Cursor();
        if (!view->URL().empty()) {
            report->SetProgressMessage(view->URL(), false);
            if (view->Cursor() == gui::crDefault) cursor = gui::crHandPoint;
        }
        if (!view->Hint().empty() && view->ShowHint() && preview && preview->UseReportHints) {
            report->SetProgressMessage(gui::GetLongHint(view->Hint()), true);
            preview->SetHint(gui::GetShortHint(view->Hint()));
            preview->SetShowHint(true);
        }

        if (!click || drill) {
            if (report->OnMouseOverObject) report->OnMouseOverObject(view);
        } else {
            const std::string url = view->URL();
            if (!url.empty() && url[0] == '@') {
                if (preview) preview->SetPageNo(rtl::StrToIntDef(url.substr(1), 1));
            } else if (!url.empty() && url[0] == '#') {
                if (TqlrXMLItem* anchor = FindAnchor(url.substr(1)); anchor && preview)
                    preview->SetPosition(rtl::StrToIntDef(anchor->Prop("page"), 0) + 1,
                                         rtl::StrToIntDef(anchor->Prop("top"), 0));
            } else if (!url.empty()) {
                gui::ShellOpen(url);
            }
            bool modified = false;
            report->DoPreviewClick(view, button, shift, modified, dbClick);
            if (modified) {
                // The page object goes with the cache; nothing may touch it after.
                ModifyPage(index, page);
                if (preview) preview->Invalidate();
            }
        }
        break;
    }

    if (drill) {
        cursor = gui::crHandPoint;
        if (click && button == gui::TMouseButton::mbLeft) {
            rtl::TStringList* state = report->DrillState();
            int i = state->IndexOf(drill->DrillName);
            if (i < 0)
                state->Add(drill->DrillName);
            else
                state->Delete(i);
            if (preview) preview->RefreshReport();
        }
    }
}

} // namespace qlr
