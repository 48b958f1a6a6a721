// TExStringGrid: colour styles and desktop schemes, the look border, and
// the look settings objects (fixed-cell gradients of ControlLook, progress
// appearance, drag and drop, balloons, modified marks, drag scrolling).
#include "grid/ExGrid.h"
#include "grid/ExGridDragDrop.h"
#include "gridbase/grddd.h"
#include "platform/gui/DragDrop.h"
#include "platform/gui/Themes.h"

namespace grid {

RTL_PUBLISHED(TGridProgressAppearance) {}
RTL_PUBLISHED(TDragDropSettings) {}
RTL_PUBLISHED(TBalloonSettings) {}
RTL_PUBLISHED(TShowModified) {}
RTL_PUBLISHED(TDragScrollDelays) {}
RTL_PUBLISHED(TDragScrollMargins) {}
RTL_PUBLISHED(TDragScrollOptions) {}


// --- settings objects ---------------------------------------------------------------

void TGridProgressAppearance::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TGridProgressAppearance*>(source);
    if (!s) return;
    FCompleteColor = s->FCompleteColor;
    FCompleteFontColor = s->FCompleteFontColor;
    FUnCompleteColor = s->FUnCompleteColor;
    FUnCompleteFontColor = s->FUnCompleteFontColor;
    FLevel0Color = s->FLevel0Color;
    FLevel0ColorTo = s->FLevel0ColorTo;
    FLevel1Color = s->FLevel1Color;
    FLevel1ColorTo = s->FLevel1ColorTo;
    FLevel2Color = s->FLevel2Color;
    FLevel2ColorTo = s->FLevel2ColorTo;
    FLevel3Color = s->FLevel3Color;
    FLevel3ColorTo = s->FLevel3ColorTo;
    FLevel1Perc = s->FLevel1Perc;
    FLevel2Perc = s->FLevel2Perc;
    FBorderColor = s->FBorderColor;
    FShowBorder = s->FShowBorder;
    FStacked = s->FStacked;
    FShowPercentage = s->FShowPercentage;
    FCompletionSmooth = s->FCompletionSmooth;
    FShowGradient = s->FShowGradient;
    FSteps = s->FSteps;
    FStyle = s->FStyle;
    Changed();
}

void TDragDropSettings::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TDragDropSettings*>(source);
    if (!s) return;
    FOleDropTarget = s->FOleDropTarget;
    FOleDropSource = s->FOleDropSource;
    FOleAcceptFiles = s->FOleAcceptFiles;
    FOleAcceptText = s->FOleAcceptText;
    FOleAcceptURLs = s->FOleAcceptURLs;
    FOleCopyAlways = s->FOleCopyAlways;
    FOleEntireRows = s->FOleEntireRows;
    FOleInsertRows = s->FOleInsertRows;
    FOleRemoveRows = s->FOleRemoveRows;
    FOleColumnDragDrop = s->FOleColumnDragDrop;
    FOleDropRTF = s->FOleDropRTF;
    FShowCells = s->FShowCells;
}

void TDragDropSettings::SetOleDropTarget(bool v)
{
    FOleDropTarget = v;
    if (!FGrid || FGrid->ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return;
    if (v) FGrid->RegisterGridDropTarget();
    else if (FGrid->DropTargetRegistered()) FGrid->RevokeGridDropTarget();
}

void TDragDropSettings::SetOleDropRTF(bool v)
{
    gridbase::SetRTFDragDrop(v);
    FOleDropRTF = v;
}

void TBalloonSettings::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TBalloonSettings*>(source);
    if (!s) return;
    FTextColor = s->FTextColor;
    FBackgroundColor = s->FBackgroundColor;
    FInitialDelay = s->FInitialDelay;
    FReshowDelay = s->FReshowDelay;
    FAutoHideDelay = s->FAutoHideDelay;
    FEnable = s->FEnable;
    Changed();
}

void TShowModified::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TShowModified*>(source);
    if (!s) return;
    FColor = s->FColor;
    FEnabled = s->FEnabled;
}

void TDragScrollDelays::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TDragScrollDelays*>(source);
    if (!s) return;
    FInitialDelay = s->FInitialDelay;
    FRepeatDelay = s->FRepeatDelay;
}

void TDragScrollMargins::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TDragScrollMargins*>(source);
    if (!s) return;
    FTopMargin = s->FTopMargin;
    FBottomMargin = s->FBottomMargin;
    FLeftMargin = s->FLeftMargin;
    FRightMargin = s->FRightMargin;
}

void TDragScrollOptions::Assign(const rtl::TPersistent* source)
{
    const auto* s = dynamic_cast<const TDragScrollOptions*>(source);
    if (!s) return;
    FMargins->Assign(s->FMargins.get());
    FDelays->Assign(s->FDelays.get());
    FActive = s->FActive;
}

std::unique_ptr<TGridProgressAppearance> TExStringGrid::MakeProgressAppearance()
{
    auto p = std::make_unique<TGridProgressAppearance>();
    p->OnChange = [this](rtl::TObject* sender) { ProgressAppearanceChanged(sender); };
    return p;
}

std::unique_ptr<TBalloonSettings> TExStringGrid::MakeBalloon()
{
    auto b = std::make_unique<TBalloonSettings>();
    b->OnEnableChange = [this](rtl::TObject* sender) { BalloonEnableChanged(sender); };
    b->OnChange = [this](rtl::TObject*) { BalloonSettingsChanged(); };
    return b;
}

std::unique_ptr<TShowModified> TExStringGrid::MakeShowModified()
{
    auto m = std::make_unique<TShowModified>();
    m->OnChange = [this](rtl::TObject* sender) { ShowModifiedChanged(sender); };
    return m;
}

bool TExStringGrid::RegisterGridDropTarget()
{
    if (!FDropTarget) FDropTarget = std::make_unique<TGridDropTarget>(this);
    gridbase::RegisterGridDropTarget(this, static_cast<TGridDropTarget*>(FDropTarget.get()));
    FDropTargetOK = true;
    return true;
}

void TExStringGrid::RevokeGridDropTarget()
{
    gridbase::RevokeGridDropTarget(this);
    FDropTargetOK = false;
}

// --- fixed-cell gradients of ControlLook ------------------------------------------------

void TControlLook::SetFixed(int i, TColor v)
{
    FFixed[i] = v;
    if (!FGrid || v == gui::clNone) return;
    switch (i) {
    case 0: FGrid->SetKVRGradientFrom(v); break;
    case 1: FGrid->SetKVRGradientTo(v); break;
    case 2: FGrid->SetKVRGradientMirrorFrom(v); break;
    case 3: FGrid->SetKVRGradientMirrorTo(v); break;
    case 4: FGrid->SetKVRGradientHoverFrom(v); break;
    case 5: FGrid->SetKVRGradientHoverTo(v); break;
    case 6: FGrid->SetKVRGradientHoverMirrorFrom(v); break;
    case 7: FGrid->SetKVRGradientHoverMirrorTo(v); break;
    case 8: FGrid->SetKVRGradientHoverBorder(v); break;
    case 9: FGrid->SetKVRGradientDownFrom(v); break;
    case 10: FGrid->SetKVRGradientDownTo(v); break;
    case 11: FGrid->SetKVRGradientDownMirrorFrom(v); break;
    case 12: FGrid->SetKVRGradientDownMirrorTo(v); break;
    case 13: FGrid->SetKVRGradientDownBorder(v); break;
    default: break;
    }
}

void TControlLook::SetFixedGradientFrom(TColor v) { SetFixed(0, v); }
void TControlLook::SetFixedGradientTo(TColor v) { SetFixed(1, v); }
void TControlLook::SetFixedGradientMirrorFrom(TColor v) { SetFixed(2, v); }
void TControlLook::SetFixedGradientMirrorTo(TColor v) { SetFixed(3, v); }
void TControlLook::SetFixedGradientHoverFrom(TColor v) { SetFixed(4, v); }
void TControlLook::SetFixedGradientHoverTo(TColor v) { SetFixed(5, v); }
void TControlLook::SetFixedGradientHoverMirrorFrom(TColor v) { SetFixed(6, v); }
void TControlLook::SetFixedGradientHoverMirrorTo(TColor v) { SetFixed(7, v); }
void TControlLook::SetFixedGradientHoverBorder(TColor v) { SetFixed(8, v); }
void TControlLook::SetFixedGradientDownFrom(TColor v) { SetFixed(9, v); }
void TControlLook::SetFixedGradientDownTo(TColor v) { SetFixed(10, v); }
void TControlLook::SetFixedGradientDownMirrorFrom(TColor v) { SetFixed(11, v); }
void TControlLook::SetFixedGradientDownMirrorTo(TColor v) { SetFixed(12, v); }
void TControlLook::SetFixedGradientDownBorder(TColor v) { SetFixed(13, v); }

// --- hover -------------------------------------------------------------------------------

bool TExStringGrid::IsHoverFixedCell(int aCol, int aRow) const
{
    const THoverFixedCells h = HoverFixedCells();
    if (h == THoverFixedCells::hfNone || aCol < 0 || aRow < 0 || aCol >= ColCount() || aRow >= RowCount())
        return false;
    if (aCol < TBaseGrid::FixedCols() && (h == THoverFixedCells::hfAll || h == THoverFixedCells::hfFixedColumns))
        return true;
    return aRow < TBaseGrid::FixedRows() && (h == THoverFixedCells::hfAll || h == THoverFixedCells::hfFixedRows);
}

// --- colour styles -------------------------------------------------------------------------

void TExStringGrid::SetStyle(TKVRStyle style)
{
    TControlLook* cl = ControlLook();
    SetSelectionColor(gui::clHighlight);
    SetSelectionTextColor(gui::clHighlightText);
    SetSelectionStyle(gridbase::TGridSelectionStyle::ssDefault);

    const auto gradient = [&](TColor from, TColor to) {
        SetKVRGradientFrom(from);
        SetKVRGradientTo(to);
    };
    const auto noMirror = [&] {
        SetKVRGradientMirrorFrom(gui::clNone);
        SetKVRGradientMirrorTo(gui::clNone);
    };
    const auto active = [&](TColor from, TColor to) {
        FActiveCellColor = from;
        FActiveCellColorTo = to;
    };
    const auto fixedGradient = [&](TColor from, TColor to) {
        cl->SetFixedGradientFrom(from);
        cl->SetFixedGradientTo(to);
    };
    const auto lines = [&](TColor grid, TColor fixed) {
        SetGridLineColor(grid);
        SetGridFixedLineColor(fixed);
    };
    const auto footer = [&](TColor from, TColor to) {
        SetSearchFooterColor(from);
        SetSearchFooterColorTo(to);
    };
    const auto office2003 = [&](TColor from, TColor to) {
        footer(from, to);
        gradient(from, to);
        noMirror();
        active(0x94E6FB, 0x1595EE);
        fixedGradient(from, to);
        lines(0xC0C0C0, 0x808080);
    };

    bool lastFooterStep = true;
    switch (style) {
    case TKVRStyle::tsOffice2003Blue:
        office2003(0xFCE1CB, 0xE0A57D);
        break;
    case TKVRStyle::tsOffice2003Silver:
        office2003(0xECE2E1, 0xB39698);
        break;
    case TKVRStyle::tsOffice2003Olive:
        office2003(0xCFF0EA, 0x8CC0B1);
        break;
    case TKVRStyle::tsOffice2003Classic:
        footer(0xFFFFFF, 0xD8D5D4);
        gradient(0xFFFFFF, 0xCCD4D8);
        noMirror();
        active(0xD8D5D4, 0xD8D5D4);
        fixedGradient(gui::clNone, gui::clNone);
        lines(0xC0C0C0, 0x808080);
        break;
    case TKVRStyle::tsOffice2007Luna:
        footer(0xFFEFE3, 0xFFD2AF);
        gradient(0xFBF9F6, 0xE8DBD2);
        noMirror();
        active(0x9DD8F9, 0x5EC1F1);
        fixedGradient(0xFBF9F6, 0xE8DBD2);
        lines(0xF1EDEB, 0xD1BBA4);
        SetSelectionColor(0x5EC1F1);
        SetSelectionTextColor(gui::clBlack);
        cl->SetFixedGradientHoverFrom(0xE4E2DF);
        cl->SetFixedGradientHoverTo(0xDBD3CD);
        cl->SetFixedGradientHoverMirrorFrom(0xDBD3CD);
        cl->SetFixedGradientHoverMirrorTo(0xD2C5BC);
        cl->SetFixedGradientHoverBorder(0xB79F87);
        cl->SetFixedGradientDownFrom(0xE4C19D);
        cl->SetFixedGradientDownTo(0xE4C19D);
        cl->SetFixedGradientDownMirrorFrom(0xE4C19D);
        cl->SetFixedGradientDownMirrorTo(0xE4C19D);
        cl->SetFixedGradientDownBorder(0xE4C19D);
        if (Look() == TGridLook::glOffice2007) SetSelectionStyle(gridbase::TGridSelectionStyle::ssOffice2007);
        break;
    case TKVRStyle::tsOffice2007Obsidian:
        footer(0xF2F1F0, 0xC9C2BD);
        gradient(0xF7F7F7, 0xDEDEDE);
        noMirror();
        active(0x9DD8F9, 0x5EC1F1);
        fixedGradient(0xF7F7F7, 0xDEDEDE);
        lines(0xE5D7D0, 0x808080);
        SetSelectionColor(0x5EC1F1);
        SetSelectionTextColor(gui::clBlack);
        break;
    case TKVRStyle::tsWindowsXP:
        footer(gui::clBtnFace, gui::clBtnFace);
        gradient(gui::clBtnFace, gui::clBtnFace);
        noMirror();
        active(gui::clBtnFace, gui::clBtnFace);
        fixedGradient(gui::clNone, gui::clNone);
        lines(0xC0C0C0, 0x808080);
        break;
    case TKVRStyle::tsWhidbey:
        footer(0xEBEEEF, 0x7E9898);
        gradient(0xFFFFFF, gui::clBtnFace);
        noMirror();
        active(0x94E6FB, 0x1595EE);
        fixedGradient(gui::clNone, gui::clNone);
        lines(0xC0C0C0, 0x808080);
        break;
    case TKVRStyle::tsOffice2007Silver:
        footer(0xEEEEEE, 0xC1C1C1);
        gradient(0xF3F3F1, 0xCAC9C8);
        active(0x99CCFF, 0x699CFF);
        fixedGradient(0xF3F3F1, 0xCAC9C8);
        lines(0xE5D7D0, 0x808080);
        SetSelectionColor(0x95C7F5);
        SetSelectionTextColor(gui::clBlack);
        break;
    case TKVRStyle::tsWindowsVista:
        gradient(0xFFFFFF, 0xFFFFFF);
        SetKVRGradientMirrorFrom(0xFAF8F7);
        SetKVRGradientMirrorTo(0xF4F2F1);
        SetKVRGradientHoverFrom(0xFFF7E3);
        SetKVRGradientHoverTo(0xFFF7E3);
        SetKVRGradientHoverMirrorFrom(0xFFEDBD);
        SetKVRGradientHoverMirrorTo(0xFBE7B7);
        SetKVRGradientHoverBorder(0xE3C993);
        cl->SetFixedGradientFrom(0xFFFFFF);
        cl->SetFixedGradientTo(0xFFFFFF);
        cl->SetFixedGradientMirrorFrom(0xFAF8F7);
        cl->SetFixedGradientMirrorTo(0xF4F2F1);
        cl->SetFixedGradientHoverFrom(0xFFF7E3);
        cl->SetFixedGradientHoverTo(0xFFF7E3);
        cl->SetFixedGradientHoverMirrorFrom(0xFFEDBD);
        cl->SetFixedGradientHoverMirrorTo(0xFBE7B7);
        cl->SetFixedGradientDownFrom(0xF9E4BC);
        cl->SetFixedGradientDownTo(0xF9E4BC);
        cl->SetFixedGradientDownMirrorFrom(0xF7D68D);
        cl->SetFixedGradientDownMirrorTo(0xF5D18A);
        cl->SetFixedGradientDownBorder(0xAE904F);
        SortSettings()->SetHeaderColor(0xFCF9F2);
        SortSettings()->SetHeaderColorTo(0xFCF9F2);
        SortSettings()->SetHeaderMirrorColor(0xF9F1E1);
        SortSettings()->SetHeaderMirrorColorTo(0xF6ECD8);
        active(0xFDF8F1, 0xFCEFD5);
        fixedGradient(gui::clNone, gui::clNone);
        SetSelectionColor(0xEACAB6);
        SetSelectionTextColor(gui::clBlack);
        SetSelectionStyle(gridbase::TGridSelectionStyle::ssVista);
        lines(0xECECF0, 0xD4D2D1);
        break;
    case TKVRStyle::tsWindows7:
        gradient(0xFDFCFA, 0xFAF0E6);
        SetKVRGradientMirrorFrom(0xF4E6DC);
        SetKVRGradientMirrorTo(0xF7E9DD);
        SetKVRGradientHoverFrom(0xFDF8F3);
        SetKVRGradientHoverTo(0xF9F3EF);
        SetKVRGradientHoverMirrorFrom(gui::clNone);
        SetKVRGradientHoverMirrorTo(gui::clNone);
        SetKVRGradientHoverBorder(0xEEE8E3);
        cl->SetFixedGradientFrom(0xFDFCFA);
        cl->SetFixedGradientTo(0xFAF0E6);
        cl->SetFixedGradientMirrorFrom(0xF4E6DC);
        cl->SetFixedGradientMirrorTo(0xF7E9DD);
        cl->SetFixedGradientHoverFrom(0xFEFBF8);
        cl->SetFixedGradientHoverTo(0xFAF2ED);
        cl->SetFixedGradientHoverMirrorFrom(0xF4E4D7);
        cl->SetFixedGradientHoverMirrorTo(0xE8D2C1);
        cl->SetFixedGradientDownFrom(0xF1E8DD);
        cl->SetFixedGradientDownTo(0xF1E4D8);
        cl->SetFixedGradientDownMirrorFrom(0xECDBCF);
        cl->SetFixedGradientDownMirrorTo(0xEDDCCF);
        cl->SetFixedGradientDownBorder(0xD5BCAA);
        SortSettings()->SetHeaderColor(0xFCF9F2);
        SortSettings()->SetHeaderColorTo(0xFCF9F2);
        SortSettings()->SetHeaderMirrorColor(0xF9F1E1);
        SortSettings()->SetHeaderMirrorColorTo(0xF6ECD8);
        active(0xFCEBDC, 0xFCDBC1);
        fixedGradient(gui::clNone, gui::clNone);
        SetSelectionColor(0xEACAB6);
        SetSelectionTextColor(gui::clBlack);
        SetSelectionStyle(gridbase::TGridSelectionStyle::ssWin7);
        lines(0xECECF0, 0xD4D2D1);
        break;
    default:
        // tsCustom and the later styles: nothing beyond the selection reset.
        lastFooterStep = false;
        break;
    }
    // The search footer ends with the look's from colour and mirror colour-to.
    if (lastFooterStep) footer(KVRGradientFrom(), KVRGradientMirrorTo());
    Invalidate();
}

void TExStringGrid::SetTheme(int scheme)
{
    TColor from = 0xFFFFFF, to = gui::clBtnFace, mFrom = gui::clNone, mTo = gui::clNone;
    TColor aFrom = 0x94E6FB, aTo = 0x1595EE;
    TColor fgf = from, fgt = to, sf = 0xFFFFFF, sft = 0xFFD9B3;
    switch (scheme) {
    case 1:
        from = 0xFCE1CB;
        to = 0xE0A57D;
        break;
    case 2:
        from = 0xCFF0EA;
        to = 0x8CC0B1;
        break;
    case 3:
        from = 0xECE2E1;
        to = 0xB39698;
        break;
    case 4:
        from = 0xFFFFFF;
        to = 0xFFFFFF;
        mFrom = 0xFAF8F7;
        mTo = 0xF4F2F1;
        break;
    default:
        aFrom = 0xFFFFFF;
        aTo = 0xFFD9B3;
        break;
    }
    if (scheme >= 1 && scheme <= 4) {
        fgf = from;
        fgt = to;
        sf = scheme == 4 ? 0xECE2E1 : from;
        sft = scheme == 4 ? 0xB39698 : to;
    } else {
        fgf = fgt = gui::clNone;
    }
    SetKVRGradientFrom(from);
    SetKVRGradientTo(to);
    SetKVRGradientMirrorFrom(mFrom);
    SetKVRGradientMirrorTo(mTo);
    FActiveCellColor = aFrom;
    FActiveCellColorTo = aTo;
    ControlLook()->SetFixedGradientFrom(fgf);
    ControlLook()->SetFixedGradientTo(fgt);
    SetSearchFooterColor(sf);
    SetSearchFooterColorTo(sft);
}

int TExStringGrid::CurrentThemeScheme() const
{
    if (IsWinVista()) return 4;
    std::string file, color, size;
    if (!gui::IsThemeActive() || !gui::GetCurrentThemeName(file, color, size)) return 0;
    if (color == "NormalColor") return 1;
    if (color == "HomeStead") return 2;
    if (color == "Metallic") return 3;
    return 0;
}

void TExStringGrid::PaintLookBorder(gui::TCanvas* windowCanvas)
{
    const TGridLook look = Look();
    const bool bordered = look == TGridLook::glSoft ||
                          (static_cast<int>(look) >= static_cast<int>(TGridLook::glKVR) &&
                           static_cast<int>(look) <= static_cast<int>(TGridLook::glOffice2007));
    if (!windowCanvas || !bordered || BorderStyle() == gui::TBorderStyle::bsNone || Flat()) return;
    const int w = Width(), h = Height();
    gui::TCanvas* c = windowCanvas;
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(IsWinXP() ? 0xB99D7F : 0x808080);
    c->MoveTo(1, h);
    c->LineTo(1, 1);
    c->LineTo(w - 2, 1);
    c->LineTo(w - 2, h - 2);
    c->LineTo(1, h - 2);
    if (Parent()) {
        c->Pen()->SetColor(Parent()->Brush()->Color());
        c->MoveTo(0, h);
        c->LineTo(0, 0);
        c->LineTo(w - 1, 0);
        c->LineTo(w - 1, h - 1);
        c->LineTo(0, h - 1);
    }
}

} // namespace grid
