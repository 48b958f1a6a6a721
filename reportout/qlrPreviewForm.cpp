// The preview window: tool bar, zoom and page boxes, status bar, menus and
// full screen.

#include "reportout/qlrPreviewForm.h"

#include <cmath>

#include "platform/gui/ImgList.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClassPages.h"
#include "report/qlrDsgnIntf.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"

namespace qlr {

namespace {

std::string Res(int id) { return GetResources().Get(std::to_string(id)); }

} // namespace

TqlrPreviewForm::TqlrPreviewForm(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetCaption(Res(100));
    SetClientWidth(803);
    SetClientHeight(584);
    SetPosition(gui::TPosition::poScreenCenter);
    SetKeyPreview(true);
    SetShowHint(true);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);

    ToolBar = new gui::TToolBar(this);
    ToolBar->SetParent(this);
    ToolBar->SetAlign(gui::TAlign::alTop);
    ToolBar->SetFlat(true);
    ToolBar->SetButtonHeight(23);
    ToolBar->SetHeight(29);
    ToolBar->SetImages(&GetResources().GetPreviewButtonImages());

    StatusBar = new gui::TStatusBar(this);
    StatusBar->SetParent(this);
    StatusBar->SetAlign(gui::TAlign::alBottom);
    for (int i = 0; i < 3; ++i) StatusBar->AddPanel();
    StatusBar->Panels(0)->SetWidth(200);
    if (gui::Screen && gui::Screen->PixelsPerInch() > 96) StatusBar->SetHeight(24);

    FPreview = new TqlrPreview(this);
    FPreview->SetParent(this);
    FPreview->SetAlign(gui::TAlign::alClient);
    FPreview->SetPreviewForm(this);

    ExportPopup = new gui::TPopupMenu(this);
    HiddenMenu = new gui::TPopupMenu(this);
    auto* showTemplate = new gui::TMenuItem(this);
    showTemplate->SetCaption("Show template");
    HiddenMenu->Items()->Add(showTemplate);
    RightMenu = new gui::TPopupMenu(this);
    RightMenu->SetImages(ToolBar->Images());
    CollapseMI = new gui::TMenuItem(this);
    CollapseMI->SetCaption(Res(601));
    CollapseMI->SetImageIndex(13);
    CollapseMI->OnClick = [this](rtl::TObject*) { DrillDown(false); };
    ExpandMI = new gui::TMenuItem(this);
    ExpandMI->SetCaption(Res(600));
    ExpandMI->SetImageIndex(14);
    ExpandMI->OnClick = [this](rtl::TObject*) { DrillDown(true); };
    N1 = new gui::TMenuItem(this);
    N1->SetCaption("-");
    RightMenu->Items()->Add(CollapseMI);
    RightMenu->Items()->Add(ExpandMI);
    RightMenu->Items()->Add(N1);

    TqlrPreview* p = FPreview;
    PrintB = AddButton(2, Res(101), Res(102), [this, p] {
        p->Print();
        SetEnabled(true);
    });
    OpenB = AddButton(0, Res(103), Res(104), [this, p] {
        p->LoadFromFile();
        const std::string name = Report() ? Report()->ReportOptions()->Name : "";
        SetCaption(name.empty() ? Res(100) : name);
    });
    SaveB = AddButton(1, Res(105), Res(106), [p] { p->SaveToFile(); });
    ExportB = AddButton(3, Res(107), Res(108), nullptr);
    ExportB->SetStyle(gui::TToolButtonStyle::tbsDropDown);
    ExportB->SetDropdownMenu(ExportPopup);
    ExportB->OnClick = [this](rtl::TObject*) {
        const gui::TPoint pt = ExportB->ClientToScreen({0, ExportB->Height()});
        ExportPopup->Popup(pt.X, pt.Y);
    };
    PdfB = AddButton(24, "PdfB", Res(151), [this, p] {
        if (FPDFExport) p->Export(FPDFExport);
    });
    EmailB = AddButton(23, "EmailB", Res(152), [this, p] {
        if (FEmailExport) p->Export(FEmailExport);
    });
    FindB = AddButton(4, Res(109), Res(110), [p] { p->Find(); });
    Sep1 = ToolBar->AddSeparator();
    ZoomPlusB = AddButton(15, Res(124), Res(125), [p] { p->SetZoom(p->Zoom() + 0.25L); });
    Sep3 = new TqlrTBPanel(this);
    Sep3->SetParent(ToolBar);
    Sep3->SetAlign(gui::TAlign::alNone);
    Sep3->SetParentBackground(false);
    Sep3->SetBounds(0, 0, 61, 23);
    Sep3->SetHint(Res(119));
    ZoomCB = new TqlrComboBox(this);
    ZoomCB->SetParent(Sep3);
    ZoomCB->SetBounds(1, 1, 59, 21);
    ZoomCB->SetListWidth(100);
    for (const char* z : {"25%", "50%", "75%", "100%", "150%", "200%"}) ZoomCB->Items()->Add(z);
    ZoomCB->Items()->Add(GetResources().Get("zmPageWidth"));
    ZoomCB->Items()->Add(GetResources().Get("zmWholePage"));
    ZoomCB->SetHint(Res(119));
    // A pick from the list (typing waits for Enter).
    ZoomCB->OnChange = [this](rtl::TObject*) {
        const int i = ZoomCB->ItemIndex();
        if (!FShowingZoom && i >= 0 && ZoomCB->Text() == ZoomCB->Items()->Strings(i)) ZoomEntered();
    };
    ZoomCB->Edit()->OnKeyDown = [this](rtl::TObject*, uint16_t& key, gui::TShiftState) {
        if (key == gui::VK_RETURN) {
            key = 0;
            ZoomEntered();
        }
    };
    ZoomMinusB = AddButton(16, Res(126), Res(127), [p] { p->SetZoom(p->Zoom() - 0.25L); });
    FullScreenBtn = AddButton(22, "F", Res(150), [this] { SwitchToFullScreen(); });
    Sep2 = ToolBar->AddSeparator();
    OutlineB = AddButton(12, Res(128), Res(129), nullptr);
    OutlineB->SetStyle(gui::TToolButtonStyle::tbsCheck);
    OutlineB->OnClick = [this, p](rtl::TObject*) { p->SetOutlineVisible(OutlineB->Down()); };
    ThumbB = AddButton(5, Res(130), Res(131), nullptr);
    ThumbB->SetStyle(gui::TToolButtonStyle::tbsCheck);
    ThumbB->OnClick = [this, p](rtl::TObject*) { p->SetThumbnailVisible(ThumbB->Down()); };
    PageSettingsB = AddButton(7, Res(120), Res(121), [p] { p->PageSetupDlg(); });
    DesignerB = AddButton(21, Res(132), Res(133), [p] { p->Edit(); });
    Sep5 = ToolBar->AddSeparator();
    FirstB = AddButton(8, Res(134), Res(135), [p] { p->First(); });
    PriorB = AddButton(9, Res(136), Res(137), [p] { p->Prior(); });
    Sep4 = new TqlrTBPanel(this);
    Sep4->SetParent(ToolBar);
    Sep4->SetAlign(gui::TAlign::alNone);
    Sep4->SetParentBackground(false);
    Sep4->SetBounds(0, 0, 39, 23);
    Sep4->SetHint(Res(142));
    PageE = new gui::TEdit(this);
    PageE->SetParent(Sep4);
    PageE->SetBounds(1, 1, 37, 21);
    PageE->OnKeyPress = [](rtl::TObject*, char16_t& key) {
        if (key >= 32 && (key < '0' || key > '9')) key = 0;
    };
    PageE->SetHint(Res(142));
    PageE->OnKeyDown = [this](rtl::TObject*, uint16_t& key, gui::TShiftState) {
        if (key == gui::VK_RETURN) {
            key = 0;
            PageEntered();
        }
    };
    NextB = AddButton(10, Res(138), Res(139), [p] { p->Next(); });
    LastB = AddButton(11, Res(140), Res(141), [p] { p->Last(); });
    frTBPanel1 = new TqlrTBPanel(this);
    frTBPanel1->SetParent(ToolBar);
    frTBPanel1->SetAlign(gui::TAlign::alNone);
    frTBPanel1->SetParentBackground(false);
    frTBPanel1->SetBounds(0, 0, 35, 23);
    CancelB = new gui::TButton(this);
    CancelB->SetParent(ToolBar);
    CancelB->SetBounds(0, 0, 68, 23);
    CancelB->SetCaption(GetResources().Get("clClose"));
    CancelB->OnClick = [this](rtl::TObject*) {
        if (FPreview->Running())
            FPreview->Cancel();
        else
            Close();
    };
    FPreview->OnPageChanged = nullptr;
    SetActiveControl(nullptr);
    Resize();
}

TqlrPreviewForm::~TqlrPreviewForm()
{
    if (FPreview->Report && FPreview->Report->Preview() == FPreview) FPreview->Report->SetPreview(nullptr);
    FPreview->SetPreviewForm(nullptr);
}

gui::TToolButton* TqlrPreviewForm::AddButton(int image, const std::string& caption, const std::string& hint,
                                             std::function<void()> action)
{
    auto* b = new gui::TToolButton(this);
    b->SetImageIndex(image);
    b->SetCaption(caption);
    b->SetHint(hint);
    if (action) b->OnClick = [action](rtl::TObject*) { action(); };
    b->SetParent(ToolBar);
    return b;
}

void TqlrPreviewForm::Init()
{
    FPreview->Init();
    TqlrReport* report = Report();
    if (!report) return;
    TqlrPreviewOptions* o = report->PreviewOptions();
    if (o->Maximized) SetWindowState(gui::TWindowState::wsMaximized);
    // There are no MDI children here: MDIChild shows a normal window.
    FPreview->SetZoom(o->Zoom);
    FPreview->SetZoomMode(o->ZoomMode);
    DesignerB->SetEnabled(o->AllowEdit);
    FPreview->Workspace()->SetRTLLanguage(o->RTLPreview);

    const auto has = [&](TqlrPreviewButton b) { return o->Buttons.Contains(b); };
    using B = TqlrPreviewButton;
    PrintB->SetVisible(has(B::pbPrint));
    OpenB->SetVisible(has(B::pbLoad));
    SaveB->SetVisible(has(B::pbSave));
    FindB->SetVisible(has(B::pbFind));
    const bool zoom = has(B::pbZoom);
    Sep1->SetVisible(zoom);
    ZoomPlusB->SetVisible(zoom);
    Sep3->SetVisible(zoom);
    ZoomMinusB->SetVisible(zoom);
    FullScreenBtn->SetVisible(zoom && !has(B::pbNoFullScreen));
    OutlineB->SetVisible(has(B::pbOutline));
    ThumbB->SetVisible(has(B::pbOutline));
    PageSettingsB->SetVisible(has(B::pbPageSetup));
    DesignerB->SetVisible(has(B::pbEdit));
    Sep2->SetVisible(PageSettingsB->Visible() || DesignerB->Visible());
    const bool nav = has(B::pbNavigator);
    Sep5->SetVisible(nav);
    FirstB->SetVisible(nav);
    PriorB->SetVisible(nav);
    Sep4->SetVisible(nav);
    NextB->SetVisible(nav);
    LastB->SetVisible(nav);
    CancelB->SetVisible(!has(B::pbNoClose));
    ToolBar->SetShowCaptions(o->ShowCaptions);

    // The export menu from the filter registry.
    ExportPopup->Items()->Clear();
    PdfB->SetVisible(false);
    EmailB->SetVisible(false);
    FPDFExport = FEmailExport = nullptr;
    TqlrExportFilterCollection& filters = GetExportFilterCollection();
    ExportB->SetVisible(has(B::pbExport) && filters.Count() > 0);
    for (int i = 0; i < filters.Count(); ++i) {
        TqlrCustomExportFilter* f = filters.GetItem(i);
        auto* item = new gui::TMenuItem(this);
        item->SetCaption(f->GetDescription() + "...");
        item->SetTag(i);
        item->OnClick = [this, i](rtl::TObject*) {
            TqlrExportFilterCollection& all = GetExportFilterCollection();
            if (i < all.Count()) FPreview->Export(all.GetItem(i));
            SetEnabled(true);
        };
        ExportPopup->Items()->Add(item);
        if (f->ClassName() == "TqlrPDFExport") {
            FPDFExport = f;
            PdfB->SetVisible(has(B::pbExportQuick));
        }
        if (!has(B::pbNoEmail) && f->ClassName() == "TqlrMailExport") {
            FEmailExport = f;
            EmailB->SetVisible(has(B::pbExportQuick));
        }
    }
    if (!report->ReportOptions()->Name.empty()) SetCaption(report->ReportOptions()->Name);

    // The right-click menu mirrors the commands up to the second separator.
    while (RightMenu->Items()->Count() > 3) RightMenu->Items()->Delete(3);
    FMirrored.clear();
    int separators = 0;
    for (int i = 0; i < ToolBar->ButtonCount(); ++i) {
        gui::TToolButton* b = ToolBar->Buttons(i);
        if (b->Style() == gui::TToolButtonStyle::tbsSeparator) {
            if (++separators == 2) break;
            auto* line = new gui::TMenuItem(this);
            line->SetCaption("-");
            RightMenu->Items()->Add(line);
            continue;
        }
        if (b->Style() == gui::TToolButtonStyle::tbsCheck || !b->Visible() || b->Hint().empty()) continue;
        auto* item = new gui::TMenuItem(this);
        item->SetCaption(b->Hint());
        item->SetImageIndex(b->ImageIndex());
        if (gui::TPopupMenu* drop = b->DropdownMenu()) {
            for (int k = 0; k < drop->Items()->Count(); ++k) {
                gui::TMenuItem* src = drop->Items()->Items(k);
                auto* sub = new gui::TMenuItem(this);
                sub->SetCaption(src->Caption());
                sub->SetTag(src->Tag());
                sub->OnClick = src->OnClick;
                item->Add(sub);
            }
        } else {
            item->OnClick = [b](rtl::TObject*) { b->Click(); };
        }
        RightMenu->Items()->Add(item);
        FMirrored.emplace_back(b, item);
    }
    SetPopupMenu(RightMenu);
    FPreview->SetPopupMenu(RightMenu);
    FPreview->Workspace()->SetPopupMenu(RightMenu);
    RefreshCommandStates();
    PageChanged(FPreview->PageNo());
    ZoomChanged();
}

void TqlrPreviewForm::SetButtonEnabled(gui::TToolButton* b, bool enabled)
{
    b->SetEnabled(enabled);
    b->SetDown(false);
    for (auto& [button, item] : FMirrored)
        if (button == b) item->SetEnabled(enabled);
}

bool TqlrPreviewForm::HasDrillDown() const
{
    TqlrReport* r = FPreview->Report;
    if (!r) return false;
    for (TqlrComponent* c : r->AllObjects())
        if (auto* g = dynamic_cast<TqlrGroupHeader*>(c); g && g->DrillDown) return true;
    return false;
}

void TqlrPreviewForm::RefreshCommandStates()
{
    const bool idle = !FPreview->Running();
    const bool commands = idle && FPreview->PageCount() > 0;
    for (gui::TToolButton* b : {PrintB, OpenB, SaveB, ExportB, PdfB, EmailB, FindB, PageSettingsB})
        SetButtonEnabled(b, commands);
    SetButtonEnabled(DesignerB, idle && Report() && Report()->PreviewOptions()->AllowEdit);
    const bool drill = idle && HasDrillDown();
    ExpandMI->SetVisible(drill);
    CollapseMI->SetVisible(drill);
    N1->SetVisible(drill);
}

void TqlrPreviewForm::SetMessageText(const std::string& value, bool isHint)
{
    if (isHint) {
        if (!(value.empty() && StatusBar->Panels(2)->Text().empty())) StatusBar->Panels(2)->SetText(value);
    } else {
        StatusBar->Panels(1)->SetText(value);
    }
    if (gui::Application) gui::Application->ProcessMessages();
}

void TqlrPreviewForm::DrillDown(bool expand)
{
    TqlrReport* r = Report();
    if (!r) return;
    FPreview->Lock();
    for (TqlrComponent* c : r->AllObjects())
        if (auto* g = dynamic_cast<TqlrGroupHeader*>(c); g && g->DrillDown) g->ExpandDrillDown = expand;
    r->DrillState()->Clear();
    FPreview->RefreshReport();
    if (!expand) FPreview->SetPosition(0, 0);
}

void TqlrPreviewForm::SwitchToFullScreen()
{
    if (!FFullScreen) {
        StatusBar->SetVisible(false);
        ToolBar->SetVisible(false);
        FOldBS = BorderStyle();
        FOldState = WindowState();
        SetBorderStyle(gui::TBorderStyle::bsNone);
        SetWindowState(gui::TWindowState::wsMaximized);
        FFullScreen = true;
    } else {
        SetWindowState(FOldState);
        SetBorderStyle(FOldBS);
        FFullScreen = false;
        StatusBar->SetVisible(true);
        ToolBar->SetVisible(true);
    }
}

void TqlrPreviewForm::PageChanged(int pageNo)
{
    TqlrReport* r = Report();
    TqlrCustomEngine* engine = r ? r->Engine() : nullptr;
    if (FPreview->Running() && engine && !engine->FinalPass)
        StatusBar->Panels(0)->SetText(GetResources().Get("clFirstPass") + " " +
                                      std::to_string(FPreview->PageCount()));
    else
        StatusBar->Panels(0)->SetText(
            rtl::Format(GetResources().Get("clPageOf"), {pageNo, FPreview->PageCount()}));
    PageE->SetText(std::to_string(pageNo));
}

void TqlrPreviewForm::ZoomChanged()
{
    FShowingZoom = true;
    ZoomCB->SetText(std::to_string(static_cast<int>(std::lround(FPreview->Zoom() * 100))) + "%");
    FShowingZoom = false;
}

void TqlrPreviewForm::PanelsChanged()
{
    OutlineB->SetDown(FPreview->OutlineVisible());
    ThumbB->SetDown(FPreview->ThumbnailVisible());
}

void TqlrPreviewForm::ZoomEntered()
{
    if (FPreview->CanFocus()) FPreview->SetFocus();
    const int index = ZoomCB->ItemIndex();
    const std::string text = ZoomCB->Text();
    if (index == 6 && text == ZoomCB->Items()->Strings(6)) {
        FPreview->SetZoomMode(TqlrZoomMode::zmPageWidth);
    } else if (index == 7 && text == ZoomCB->Items()->Strings(7)) {
        FPreview->SetZoomMode(TqlrZoomMode::zmWholePage);
    } else {
        std::string s = text;
        if (const auto pos = s.find('%'); pos != std::string::npos) s[pos] = ' ';
        s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
        if (!s.empty()) FPreview->SetZoom(StrToFloatLenient(s) / 100);
    }
    gui::PostMessage(Handle(), WM_UPDATEZOOM);
}

void TqlrPreviewForm::PageEntered()
{
    FPreview->SetPageNo(rtl::StrToInt(PageE->Text()));
    if (FPreview->CanFocus()) FPreview->SetFocus();
}

void TqlrPreviewForm::Dispatch(gui::TMessage& message)
{
    if (message.Msg == WM_UPDATEZOOM) {
        ZoomChanged();
        return;
    }
    gui::TForm::Dispatch(message);
}

bool TqlrPreviewForm::CloseQuery()
{
    if (FPreview->Running()) return false;
    return gui::TForm::CloseQuery();
}

void TqlrPreviewForm::DoClose(gui::TCloseAction& action)
{
    gui::TForm::DoClose(action);
    if (FreeOnClose) action = gui::TCloseAction::caFree;
}

void TqlrPreviewForm::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    if (key == gui::VK_ESCAPE) {
        key = 0;
        CancelB->Click();
        return;
    }
    if (key == gui::VK_F11) {
        key = 0;
        SwitchToFullScreen();
        return;
    }
    // F1: no help file on this platform.
    if (key == gui::VK_F1) {
        key = 0;
        return;
    }
    gui::TForm::KeyDown(key, shift);
}

bool TqlrPreviewForm::DoMouseWheel(gui::TShiftState shift, int wheelDelta, gui::TPoint)
{
    FPreview->MouseWheelScroll(wheelDelta, false, shift.Contains(gui::TShiftStateItem::ssCtrl));
    return true;
}

void TqlrPreviewForm::Resize()
{
    gui::TForm::Resize();
    if (!StatusBar || StatusBar->PanelCount() < 3) return;
    const int rest = std::lround((ClientWidth() - StatusBar->Panels(0)->Width()) / 2.0);
    StatusBar->Panels(1)->SetWidth(rest);
    StatusBar->Panels(2)->SetWidth(rest);
}

} // namespace qlr
