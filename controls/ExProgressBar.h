// TExProgressBar: a windowless progress bar whose fill colour follows the
// reached percentage (thresholds Level1Perc and Level2Perc, four colour
// pairs drawn as a two-sided gradient), as one bar or as stacked level
// segments, smooth or in blocks, horizontal or vertical, with a percentage
// or value text, and an "infinite" mode whose block bounces on a timer.
// DrawGauge draws the whole look from a TGaugeSettings record.
//
// The rule a caller must know: SetPosition paints at once (not through the
// message loop) whenever the value enters a new one-percent block, so a
// long computation on the GUI thread shows progress without pumping
// messages; a value outside Min..Max is clamped and shows at the next
// repaint.
//
//     auto* bar = new controls::TExProgressBar(form);
//     bar->SetParent(panel);
//     bar->SetMax(rows);
//     for (int r = 0; r < rows; ++r) { ...; bar->SetPosition(r); }
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"

namespace controls {

using gui::TColor;

enum class TGaugeOrientation { goHorizontal, goVertical };

struct TGaugeSettings {
    TColor Level0Color = 0x00FF00, Level0ColorTo = 0xE1FFE1;
    TColor Level1Color = 0x00FFFF, Level1ColorTo = 0xCAFFFF;
    TColor Level2Color = 0x53A9FF, Level2ColorTo = 0xA8D3FF;
    TColor Level3Color = 0x0000FF, Level3ColorTo = 0xCACAFF;
    int Level1Perc = 70, Level2Perc = 90;
    TColor BorderColor = 0x808080;
    TColor Level0BkColor = gui::clNone, Level1BkColor = gui::clNone, Level2BkColor = gui::clNone;
    bool ShowBorder = true, Stacked = false, ShowPercentage = true, ShowPosition = true;
    const gui::TFont* Font = nullptr;   // nullptr: the canvas's font
    bool CompletionSmooth = false, ShowGradient = true;
    int Steps = 8;
    int Position = 0;   // percent
    int Value = 0;      // the control's Position
    int Max = 100;
    TColor BackgroundColor = 0xFFFFFF;
    TGaugeOrientation Orientation = TGaugeOrientation::goHorizontal;
    bool Rounded = true;
    TColor ParentColor = gui::clBtnFace;   // not used by the drawing
    std::string Format;
    bool Infinite = false;
    int InfinitePos = 0;
};

// Draws a bar with the look of settings into r of the canvas.  A percentage
// outside 0..100 is drawn as its nearest end.
void DrawGauge(gui::TCanvas* canvas, const gui::TRect& r, const TGaugeSettings& settings);
// The text a gauge shows: Format(Format, [Value, Max]) when Format is set,
// else the percentage with "%" or the value.  A format the two integers do
// not fit gives an empty text.
std::string GaugeText(const TGaugeSettings& settings, int percent);

class TExProgressBar : public gui::TGraphicControl {
public:
    explicit TExProgressBar(rtl::TComponent* owner);
    ~TExProgressBar() override;

    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const { return FPosition; }
    void SetPosition(int v);

    TColor Level0Color() const { return FSet.Level0Color; }
    void SetLevel0Color(TColor c) { Store(FSet.Level0Color, c); }
    TColor Level0ColorTo() const { return FSet.Level0ColorTo; }
    void SetLevel0ColorTo(TColor c) { Store(FSet.Level0ColorTo, c); }
    TColor Level1Color() const { return FSet.Level1Color; }
    void SetLevel1Color(TColor c) { Store(FSet.Level1Color, c); }
    TColor Level1ColorTo() const { return FSet.Level1ColorTo; }
    void SetLevel1ColorTo(TColor c) { Store(FSet.Level1ColorTo, c); }
    TColor Level2Color() const { return FSet.Level2Color; }
    void SetLevel2Color(TColor c) { Store(FSet.Level2Color, c); }
    TColor Level2ColorTo() const { return FSet.Level2ColorTo; }
    void SetLevel2ColorTo(TColor c) { Store(FSet.Level2ColorTo, c); }
    TColor Level3Color() const { return FSet.Level3Color; }
    void SetLevel3Color(TColor c) { Store(FSet.Level3Color, c); }
    TColor Level3ColorTo() const { return FSet.Level3ColorTo; }
    void SetLevel3ColorTo(TColor c) { Store(FSet.Level3ColorTo, c); }
    int Level1Perc() const { return FSet.Level1Perc; }
    void SetLevel1Perc(int v) { Store(FSet.Level1Perc, v); }
    int Level2Perc() const { return FSet.Level2Perc; }
    void SetLevel2Perc(int v) { Store(FSet.Level2Perc, v); }
    TColor Level0BkColor() const { return FSet.Level0BkColor; }
    void SetLevel0BkColor(TColor c) { StoreChanged(FSet.Level0BkColor, c); }
    TColor Level1BkColor() const { return FSet.Level1BkColor; }
    void SetLevel1BkColor(TColor c) { StoreChanged(FSet.Level1BkColor, c); }
    TColor Level2BkColor() const { return FSet.Level2BkColor; }
    void SetLevel2BkColor(TColor c) { StoreChanged(FSet.Level2BkColor, c); }
    TColor BackgroundColor() const { return FSet.BackgroundColor; }
    void SetBackgroundColor(TColor c) { Store(FSet.BackgroundColor, c); }
    TColor BorderColor() const { return FSet.BorderColor; }
    void SetBorderColor(TColor c) { Store(FSet.BorderColor, c); }
    bool ShowBorder() const { return FSet.ShowBorder; }
    void SetShowBorder(bool v) { Store(FSet.ShowBorder, v); }
    bool Rounded() const { return FSet.Rounded; }
    void SetRounded(bool v) { Store(FSet.Rounded, v); }
    bool Stacked() const { return FSet.Stacked; }
    void SetStacked(bool v) { Store(FSet.Stacked, v); }
    bool CompletionSmooth() const { return FSet.CompletionSmooth; }
    void SetCompletionSmooth(bool v) { Store(FSet.CompletionSmooth, v); }
    bool ShowGradient() const { return FSet.ShowGradient; }
    void SetShowGradient(bool v) { Store(FSet.ShowGradient, v); }
    int Steps() const { return FSet.Steps; }
    void SetSteps(int v) { Store(FSet.Steps, v); }
    TGaugeOrientation Orientation() const { return FSet.Orientation; }
    void SetOrientation(TGaugeOrientation o) { Store(FSet.Orientation, o); }
    bool ShowPosition() const { return FSet.ShowPosition; }
    void SetShowPosition(bool v) { Store(FSet.ShowPosition, v); }
    bool ShowPercentage() const { return FSet.ShowPercentage; }
    void SetShowPercentage(bool v) { Store(FSet.ShowPercentage, v); }
    const std::string& Format() const { return FSet.Format; }
    void SetFormat(const std::string& f) { Store(FSet.Format, f); }
    // The text's font (copied on assignment; its changes repaint).
    gui::TFont* PercentFont() const { return FFont.get(); }
    void SetPercentFont(const gui::TFont* f) { FFont->Assign(f); }

    bool Infinite() const { return FSet.Infinite; }
    void SetInfinite(bool v);
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool v);
    int InfiniteInterval() const { return FInfiniteInterval; }
    void SetInfiniteInterval(int ms);
    int InfinitePos() const { return FSet.InfinitePos; }

    std::string Version() const;
    void SetVersion(const std::string&) {}
    static constexpr uint32_t GetVersionNr() { return 0x01020000; }

    void Dispatch(gui::TMessage& m) override;

protected:
    void Paint() override;
    // The animation step (the timer's tick).
    void AnimateTick();

private:
    template <class T>
    void Store(T& field, const T& v)
    {
        field = v;
        Invalidate();
    }
    template <class T>
    void StoreChanged(T& field, const T& v)
    {
        if (field == v) return;
        field = v;
        Invalidate();
    }
    void UpdateTimer();

    TGaugeSettings FSet;
    int FMin = 0, FMax = 100, FPosition = 50;
    int FMaxIncrement = 1;
    int FOldBlockPos = 0;
    bool FInfiniteInc = false;
    bool FAnimated = false;
    int FInfiniteInterval = 50;
    std::unique_ptr<gui::TFont> FFont;
    gui::TTimer* FTimer = nullptr;
};

} // namespace controls
