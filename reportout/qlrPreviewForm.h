// The preview window: a preview control under a tool bar of commands (the
// buttons chosen by the report's PreviewOptions.Buttons), a zoom box, a
// page box, a status bar (page text, messages, hints), an export menu built
// from the export-filter registry, a right-click menu mirroring the tool
// bar, and full screen (F11).  ShowReport opens it through the report
// output services.
//
// The rule a caller must know: attach Preview() to the report before
// Init (TqlrReport::ShowPreparedReport does both); the window refuses to
// close while the report is prepared, and Escape then cancels the run.
//
// Example:
//   auto* form = new qlr::TqlrPreviewForm(nullptr);
//   report.SetPreview(form->Preview());
//   form->Init();
//   form->ShowModal();
#pragma once

#include <string>
#include <vector>

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "report/qlrClass.h"
#include "reportout/qlrComboBox.h"
#include "reportout/qlrPreview.h"
#include "reportout/qlrReportDialogs.h"

namespace qlr {

class TqlrPreviewForm : public gui::TForm {
public:
    // The message the window posts to itself after a zoom entry.
    static constexpr uint32_t WM_UPDATEZOOM = 1025;

    explicit TqlrPreviewForm(rtl::TComponent* owner);
    ~TqlrPreviewForm() override;

    TqlrPreview* Preview() const { return FPreview; }
    TqlrReport* Report() const { return FPreview->Report; }

    void Init();
    void RefreshCommandStates();
    void SetMessageText(const std::string& value, bool isHint);
    void SwitchToFullScreen();
    bool FullScreen() const { return FFullScreen; }
    bool FreeOnClose = false;

    // Called by the preview.
    void PageChanged(int pageNo);
    void ZoomChanged();
    void PanelsChanged();
    void SetCancelCaption(const std::string& caption) { CancelB->SetCaption(caption); }

    // The zoom box's Enter or item click; the page box's Enter.
    void ZoomEntered();
    void PageEntered();

    gui::TToolBar* ToolBar = nullptr;
    gui::TStatusBar* StatusBar = nullptr;
    gui::TToolButton *PrintB = nullptr, *OpenB = nullptr, *SaveB = nullptr, *ExportB = nullptr, *PdfB = nullptr,
                     *EmailB = nullptr, *FindB = nullptr, *Sep1 = nullptr, *ZoomPlusB = nullptr,
                     *ZoomMinusB = nullptr, *FullScreenBtn = nullptr, *Sep2 = nullptr, *OutlineB = nullptr,
                     *ThumbB = nullptr, *PageSettingsB = nullptr, *DesignerB = nullptr, *Sep5 = nullptr,
                     *FirstB = nullptr, *PriorB = nullptr, *NextB = nullptr, *LastB = nullptr;
    TqlrTBPanel *Sep3 = nullptr, *Sep4 = nullptr, *frTBPanel1 = nullptr;
    TqlrComboBox* ZoomCB = nullptr;
    gui::TEdit* PageE = nullptr;
    gui::TButton* CancelB = nullptr;
    gui::TPopupMenu *ExportPopup = nullptr, *HiddenMenu = nullptr, *RightMenu = nullptr;
    gui::TMenuItem *ExpandMI = nullptr, *CollapseMI = nullptr, *N1 = nullptr;
    TqlrCustomExportFilter* FPDFExport = nullptr;
    TqlrCustomExportFilter* FEmailExport = nullptr;

    void Dispatch(gui::TMessage& message) override;

    // Refused while the report is prepared.
    bool CloseQuery() override;

protected:
    void DoClose(gui::TCloseAction& action) override;
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;
    bool DoMouseWheel(gui::TShiftState shift, int wheelDelta, gui::TPoint mousePos) override;
    void Resize() override;

private:
    gui::TToolButton* AddButton(int image, const std::string& caption, const std::string& hint,
                                std::function<void()> action);
    void SetButtonEnabled(gui::TToolButton* b, bool enabled);
    void DrillDown(bool expand);
    bool HasDrillDown() const;

    TqlrPreview* FPreview = nullptr;
    std::vector<std::pair<gui::TToolButton*, gui::TMenuItem*>> FMirrored;
    gui::TBorderStyle FOldBS = gui::TBorderStyle::bsSizeable;
    gui::TWindowState FOldState = gui::TWindowState::wsNormal;
    bool FFullScreen = false;
    bool FShowingZoom = false;
};

} // namespace qlr
