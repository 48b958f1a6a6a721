// Panels, shapes, images, paint boxes, bevels and timers.  TTimer runs on
// the message loop; tests switch every timer to a manual clock and advance
// it themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/Forms.h"

namespace gui {

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(rtl::TComponent* owner);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int w);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool v) { FFullRepaint = v; }
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& m) override;

protected:
    void Paint() override;

private:
    TAlignment FAlignment = TAlignment::taCenter;
    int FBevelWidth = 1;
    TBorderStyle FBorderStyle = TBorderStyle::bsNone;
    bool FShowCaption = true;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(rtl::TComponent* owner) : TCustomPanel(owner) {}
};

enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(rtl::TComponent* owner);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType s);
    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }

protected:
    void Paint() override;

private:
    TShapeType FShape = TShapeType::stRectangle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(rtl::TComponent* owner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape s) { FShape = s; Invalidate(); }
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle s) { FStyle = s; Invalidate(); }

protected:
    void Paint() override;

private:
    TBevelShape FShape = TBevelShape::bsBox;
    TBevelStyle FStyle = TBevelStyle::bsLowered;
};

// Shows a picture; drawing on Canvas draws into the picture's bitmap.
class TImage : public TGraphicControl {
public:
    explicit TImage(rtl::TComponent* owner);
    ~TImage() override;
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* p) { FPicture->Assign(p); }
    // The canvas of the picture's bitmap (the picture becomes a bitmap).
    TCanvas* Canvas();
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v) { FStretch = v; Invalidate(); }
    bool Center() const { return FCenter; }
    void SetCenter(bool v) { FCenter = v; Invalidate(); }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v) { FProportional = v; Invalidate(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    // Where the picture is drawn in the client area.
    TRect DestRect() const;
    TCanvas* GetCanvas() override;

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> FPicture;
    std::unique_ptr<TControlCanvas> FDrawCanvas;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// A surface the owner draws on in OnPaint.
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(rtl::TComponent* owner);
    rtl::TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// ------------------------------------------------------------------ timer

class TTimer : public rtl::TComponent {
public:
    explicit TTimer(rtl::TComponent* owner);
    ~TTimer() override;
    // Switching Enabled off and on restarts the interval.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    rtl::TNotifyEvent OnTimer;

    // The manual clock: while on, timers fire only from AdvanceClock, in
    // the order they fall due.
    static void UseManualClock(bool on);
    static bool ManualClock();
    // Moves the manual clock on by ms, firing every timer that falls due
    // (a timer due several times fires several times).
    static void AdvanceClock(unsigned ms);
    static uint64_t ClockNow();

    struct Impl;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    std::unique_ptr<Impl> FImpl;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};

// Window timers by id (SetTimer / KillTimer): WM_TIMER with the id in
// WParam to the window, on the same clock as TTimer.
bool SetTimer(HWND handle, uintptr_t id, unsigned ms);
bool KillTimer(HWND handle, uintptr_t id);

} // namespace gui
