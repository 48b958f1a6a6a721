// ExGridFooter: the string grid's two bars at its bottom.  TFooterPanel
// shows the floating footer (settings in TFloatingFooter): the grid's last
// row as a fixed row with its column calculations, one cell of the current
// row, or a template filled from the current row.  TSearchPanel is the
// search footer (settings in TSearchFooter): an edit box that searches as
// the user types, find-next and find-previous buttons, a highlight toggle
// and a match-case box.  The grid creates, owns and wires both.
//
// The rule a caller must know: change the bars through the settings
// objects (grid->FloatingFooter(), grid->SearchFooter()); the panels
// follow.
//
//   grid->FloatingFooter()->SetVisible(true);           // last row becomes the footer
//   grid->GetCellProperties(2, grid->RowCount() - 1)->SetCalcType(gridbase::TColumnCalcType::acSUM);
//   grid->SearchFooter()->SetVisible(true);              // the search bar below
#pragma once

#include <string>

#include "gridbase/ExObj.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace grid {

class TExStringGrid;

class TFooterPanel : public gui::TCustomPanel {
public:
    explicit TFooterPanel(TExStringGrid* grid);
    TExStringGrid* Grid() const { return FGrid; }
    // The template with every <#n> replaced by the text of column n of the
    // current row; a tag whose number does not read disappears, and a "<#"
    // that no ">" follows is kept with the rest as plain text.
    std::string ExpandTemplate(const std::string& templ);
    // The column under the panel's x, -1 beyond the last one.
    int ColumnAt(int x) const;
    int LastHintColumn() const { return FLastHintX; }
    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;

private:
    int FooterWidth() const;
    void FillBack(gui::TRect& r, int w);
    gui::TRect MirrorRect(const gui::TRect& r) const;
    int PaintFixedLastRow();
    int PaintColumnPreview();
    int PaintCustomPreview();
    void SunkenFrame(const gui::TRect& r);
    TExStringGrid* FGrid;
    int FLastHintX = -1;
};

enum class TSearchDirection { sdTopBottom, sdLeftRight };

// The search footer's settings.  Every setter stores and fires OnChange
// (the Show* and Visible setters only on a real change).
class TSearchFooter : public rtl::TPersistent {
    RTL_CLASS(TSearchFooter, rtl::TPersistent)
public:
    TSearchFooter();
    ~TSearchFooter() override;
    void Assign(const rtl::TPersistent* source) override;

#define SEARCHFOOTER_PROP(Type, Name, Default)                                                           \
public:                                                                                                  \
    const Type& Name() const { return F##Name; }                                                         \
    void Set##Name(const Type& v)                                                                        \
    {                                                                                                    \
        F##Name = v;                                                                                     \
        Changed();                                                                                       \
    }                                                                                                    \
                                                                                                         \
private:                                                                                                 \
    Type F##Name = Default;                                                                              \
                                                                                                         \
public:
#define SEARCHFOOTER_SWITCH(Name)                                                                        \
public:                                                                                                  \
    bool Name() const { return F##Name; }                                                                \
    void Set##Name(bool v)                                                                               \
    {                                                                                                    \
        if (F##Name == v) return;                                                                        \
        F##Name = v;                                                                                     \
        Changed();                                                                                       \
    }                                                                                                    \
                                                                                                         \
private:                                                                                                 \
    bool F##Name = true;                                                                                 \
                                                                                                         \
public:
    SEARCHFOOTER_PROP(gui::TColor, Color, gui::clWhite)
    SEARCHFOOTER_PROP(gui::TColor, ColorTo, gui::clBtnFace)
    SEARCHFOOTER_PROP(std::string, FindNextCaption, "Find &next")
    SEARCHFOOTER_PROP(std::string, FindPrevCaption, "Find &previous")
    SEARCHFOOTER_PROP(std::string, HighLightCaption, "Highlight")
    SEARCHFOOTER_PROP(std::string, MatchCaseCaption, "Match case")
    SEARCHFOOTER_PROP(std::string, HintClose, "Close")
    SEARCHFOOTER_PROP(std::string, HintFindNext, "Find next occurence")
    SEARCHFOOTER_PROP(std::string, HintFindPrev, "Find previous occurence")
    SEARCHFOOTER_PROP(std::string, HintHighlight, "Highlight occurences")
    SEARCHFOOTER_SWITCH(ShowClose)
    SEARCHFOOTER_SWITCH(ShowFindNext)
    SEARCHFOOTER_SWITCH(ShowFindPrev)
    SEARCHFOOTER_SWITCH(ShowHighLight)
    SEARCHFOOTER_SWITCH(ShowMatchCase)
#undef SEARCHFOOTER_PROP
#undef SEARCHFOOTER_SWITCH

    bool Visible() const { return FVisible; }
    void SetVisible(bool v)
    {
        if (FVisible == v) return;
        FVisible = v;
        Changed();
    }
    gui::TFont* Font() const { return FFont.get(); }
    void SetFont(const gui::TFont* v)
    {
        FFont->Assign(v);
        Changed();
    }
    // Plain options read at search time.
    bool AutoSearch = true;
    bool SearchActiveColumnOnly = false;
    int SearchColumn = -1;  // -1: all columns
    bool SearchMatchStart = false;
    bool SearchFixedCells = false;
    TSearchDirection SearchDirection = TSearchDirection::sdTopBottom;
    bool AutoThemeAdapt = false;
    // The text of the last find-next/previous without AutoSearch.
    std::string LastSearch;
    rtl::TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    bool FVisible = false;
    std::unique_ptr<gui::TFont> FFont;
};

// The search footer's edit box: Enter fires OnReturn, Ctrl+Enter
// OnCtrlReturn, and neither beeps nor changes the text.
class TRetEdit : public gui::TEdit {
public:
    explicit TRetEdit(rtl::TComponent* owner) : gui::TEdit(owner) {}
    rtl::TNotifyEvent OnReturn;
    rtl::TNotifyEvent OnCtrlReturn;
    void Dispatch(gui::TMessage& m) override;
};

class TSearchPanel : public gui::TCustomPanel {
public:
    explicit TSearchPanel(TExStringGrid* grid);
    TExStringGrid* Grid() const { return FGrid; }
    TRetEdit* Edit() const { return FEdit; }
    gridbase::TExGridButton* ExitButton() const { return FExitButton; }
    gridbase::TExGridButton* ForwardButton() const { return FForwardButton; }
    gridbase::TExGridButton* BackwardButton() const { return FBackwardButton; }
    gridbase::TExGridButton* HiliteButton() const { return FHiliteButton; }
    gui::TCheckBox* MatchCase() const { return FMatchCase; }
    gui::TColor ColorTo() const { return FColorTo; }
    void SetColorTo(gui::TColor v);
    // Places the controls (right to left when the panel is so aligned).
    void Layout();

    void ForwardClick();
    void BackwardClick();
    void ExitClick();
    void HighlightClick();
    void EditChange();

    rtl::TNotifyEvent OnForwardClick, OnBackwardClick, OnEditChange, OnExitClick, OnHighLightClick;
    std::string FFindNextCaption, FFindPrevCaption, FMatchCaseCaption, FHighLightCaption;
    std::string FHintFindNext, FHintFindPrev, FHintClose, FHintHighlight;

protected:
    void Paint() override;

private:
    TExStringGrid* FGrid;
    TRetEdit* FEdit;
    gridbase::TExGridButton *FExitButton, *FForwardButton, *FBackwardButton, *FHiliteButton;
    gui::TCheckBox* FMatchCase;
    gui::TColor FColorTo = gui::clNone;
};

} // namespace grid
