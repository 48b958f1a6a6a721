// ExGridLookSettings: the string grid's settings objects for progress bars,
// drag and drop, balloon hints, modified-cell marks and drag scrolling.
//
// The rule a caller must know: the grid owns one of each and hooks their
// events; ProgressAppearance fires OnChange only when a value changes,
// while ShowModified.Color and Balloon.Enable fire on every write (the
// other Balloon values on a change).
//
//   grid->ProgressAppearance()->SetLevel1Perc(60);   // repaints the grid
//   grid->DragDropSettings()->SetOleDropTarget(true); // accepts drops
#pragma once

#include <memory>

#include "grid/ExGridSettings.h"
#include "platform/gui/DragDrop.h"

namespace grid {

enum class TProgressStyle { psXP, psClassic };

class TGridProgressAppearance : public rtl::TPersistent {
    RTL_CLASS(TGridProgressAppearance, rtl::TPersistent)
public:
    TGridProgressAppearance() = default;
    // Every value, then OnChange once.
    void Assign(const rtl::TPersistent* source) override;
    rtl::TNotifyEvent OnChange;

#define EXGRID_CHANGING(Type, Name, Default)                                        \
public:                                                                             \
    Type Name() const { return F##Name; }                                           \
    void Set##Name(Type v)                                                          \
    {                                                                               \
        if (v == F##Name) return;                                                   \
        F##Name = v;                                                                \
        Changed();                                                                  \
    }                                                                               \
                                                                                    \
private:                                                                            \
    Type F##Name = Default;                                                         \
                                                                                    \
public:
    EXGRID_CHANGING(TColor, CompleteColor, gui::clRed)
    EXGRID_CHANGING(TColor, CompleteFontColor, gui::clBlue)
    EXGRID_CHANGING(TColor, UnCompleteColor, gui::clNone)
    EXGRID_CHANGING(TColor, UnCompleteFontColor, gui::clWindowText)
    EXGRID_CHANGING(TColor, Level0Color, gui::clLime)
    EXGRID_CHANGING(TColor, Level0ColorTo, 0xE1FFE1)
    EXGRID_CHANGING(TColor, Level1Color, gui::clYellow)
    EXGRID_CHANGING(TColor, Level1ColorTo, 0xCAFFFF)
    EXGRID_CHANGING(TColor, Level2Color, 0x53A9FF)
    EXGRID_CHANGING(TColor, Level2ColorTo, 0xA8D3FF)
    EXGRID_CHANGING(TColor, Level3Color, gui::clRed)
    EXGRID_CHANGING(TColor, Level3ColorTo, 0xCACAFF)
    EXGRID_CHANGING(int, Level1Perc, 70)
    EXGRID_CHANGING(int, Level2Perc, 90)
    EXGRID_CHANGING(TColor, BorderColor, gui::clBlack)
    EXGRID_CHANGING(bool, ShowBorder, false)
    EXGRID_CHANGING(bool, Stacked, false)
    EXGRID_CHANGING(bool, ShowPercentage, true)
    EXGRID_CHANGING(bool, CompletionSmooth, true)
    EXGRID_CHANGING(bool, ShowGradient, true)
    EXGRID_CHANGING(int, Steps, 11)
    EXGRID_STORED(TProgressStyle, Style, TProgressStyle::psXP)

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
};

class TDragDropSettings : public rtl::TPersistent {
    RTL_CLASS(TDragDropSettings, rtl::TPersistent)
public:
    explicit TDragDropSettings(TExStringGrid* grid) : FGrid(grid) {}
    // All values as fields: no drop target is registered by it.
    void Assign(const rtl::TPersistent* source) override;

    bool OleDropTarget() const { return FOleDropTarget; }
    // True registers the grid as a drop target, false revokes a registration.
    void SetOleDropTarget(bool v);
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool v);
    EXGRID_STORED(bool, OleDropSource, false)
    EXGRID_STORED(bool, OleAcceptFiles, true)
    EXGRID_STORED(bool, OleAcceptText, true)
    EXGRID_STORED(bool, OleAcceptURLs, true)
    EXGRID_STORED(bool, OleCopyAlways, false)
    EXGRID_STORED(bool, OleEntireRows, false)
    EXGRID_STORED(bool, OleInsertRows, false)
    EXGRID_STORED(bool, OleRemoveRows, false)
    EXGRID_STORED(bool, OleColumnDragDrop, false)
    EXGRID_STORED(bool, ShowCells, true)

private:
    TExStringGrid* FGrid;
    bool FOleDropTarget = false;
    bool FOleDropRTF = false;
};

class TBalloonSettings : public rtl::TPersistent {
    RTL_CLASS(TBalloonSettings, rtl::TPersistent)
public:
    TBalloonSettings() = default;
    // Colours, delays and Enable (without OnEnableChange), then OnChange
    // once; not Transparency.
    void Assign(const rtl::TPersistent* source) override;
    bool Enable() const { return FEnable; }
    void SetEnable(bool v)
    {
        FEnable = v;
        if (OnEnableChange) OnEnableChange(this);
        Changed();
    }
    EXGRID_CHANGING(TColor, TextColor, gui::clNone)
    EXGRID_CHANGING(TColor, BackgroundColor, gui::clNone)
    EXGRID_CHANGING(int, InitialDelay, -1)
    EXGRID_CHANGING(int, ReshowDelay, -1)
    EXGRID_CHANGING(int, AutoHideDelay, -1)
    EXGRID_CHANGING(uint8_t, Transparency, 0)
    rtl::TNotifyEvent OnEnableChange;
    // Every write of Enable and every change of another value.
    rtl::TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    bool FEnable = false;
};

class TShowModified : public rtl::TPersistent {
    RTL_CLASS(TShowModified, rtl::TPersistent)
public:
    TShowModified() = default;
    void Assign(const rtl::TPersistent* source) override;
    EXGRID_STORED(bool, Enabled, false)
    TColor Color() const { return FColor; }
    void SetColor(TColor v)
    {
        FColor = v;
        if (OnChange) OnChange(this);
    }
    rtl::TNotifyEvent OnChange;

private:
    TColor FColor = gui::clYellow;
};

class TDragScrollDelays : public rtl::TPersistent {
    RTL_CLASS(TDragScrollDelays, rtl::TPersistent)
public:
    TDragScrollDelays() = default;
    void Assign(const rtl::TPersistent* source) override;
    EXGRID_STORED(int, InitialDelay, 1000)
    EXGRID_STORED(int, RepeatDelay, 250)
};

class TDragScrollMargins : public rtl::TPersistent {
    RTL_CLASS(TDragScrollMargins, rtl::TPersistent)
public:
    TDragScrollMargins() = default;
    void Assign(const rtl::TPersistent* source) override;
    EXGRID_STORED(int, TopMargin, 50)
    EXGRID_STORED(int, BottomMargin, 50)
    EXGRID_STORED(int, LeftMargin, 50)
    EXGRID_STORED(int, RightMargin, 50)
};

class TDragScrollOptions : public rtl::TPersistent {
    RTL_CLASS(TDragScrollOptions, rtl::TPersistent)
public:
    TDragScrollOptions() = default;
    void Assign(const rtl::TPersistent* source) override;
    EXGRID_STORED(bool, Active, false)
    TDragScrollDelays* Delays() const { return FDelays.get(); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }

private:
    std::unique_ptr<TDragScrollDelays> FDelays = std::make_unique<TDragScrollDelays>();
    std::unique_ptr<TDragScrollMargins> FMargins = std::make_unique<TDragScrollMargins>();
};

#undef EXGRID_CHANGING

} // namespace grid
