// The base unit of the chart library: data marks, 3-D frames, and the small
// settings objects the chart and its scales own: a cross-hair, the date and
// time label settings of a scale, and a text label placed in a chart.
//
// The chart library (folder chart/) builds on nothing but the platform: it
// draws on gui::TCanvas and asks the canvas itself whether it is a
// printer's (TCanvas::IsPrinterCanvas), where marks become lines.
//
// Every setter of the settings objects stores (clamping where it says so)
// and then fires OnChange, which the owner handles by redrawing:
//
//     chart::TCrossHair ch;
//     ch.OnChange = [&](rtl::TObject*) { chartCtl->Repaint(); };
//     ch.SetLayer(20);              // clamped to 16, OnChange fires
//     chart::DrawDataMark(*bmp.Canvas(), 24, 50, 50);   // filled circle
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

namespace chart {

using gui::TColor;

// The chart library's exception.
class EPlotError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

enum class TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// Draws data mark number mark centred at (x, y) in the canvas's pen colour.
// 0 is one pixel, 1..47 are crosses, squares, diamonds, circles and
// triangles (1..6, 18 and 25 are set pixel by pixel from 7 x 7 patterns,
// or drawn as lines on a printer's canvas), 48 and above the character of
// that code in the canvas font, centred.  The brush colour is restored;
// outline shapes leave the brush style solid.
void DrawDataMark(gui::TCanvas& canvas, uint8_t mark, int x, int y);

// Fonts that keep their point size on paper.  On a printer canvas in pixel
// mapping the size applies at the printer's resolution; under the chart's
// printout mapping (one logical unit is one screen pixel) font heights stay
// in screen pixels.  Elsewhere these are plain Assign and SetSize.
void AssignCanvasFont(gui::TCanvas& canvas, const gui::TFont* font);
void SetCanvasFontSize(gui::TCanvas& canvas, int points);

// A frame of the style on the inclusive rectangle left..right, top..bottom.
// fsSimple is a one-pixel outline in simpleColor; the others are two-pixel
// bevels in the four 3-D colours.  The style's highest bit is ignored.
void DrawStyledFrame(gui::TCanvas& canvas, int style, int left, int top, int right, int bottom,
                     TColor highlight, TColor light, TColor shadow, TColor darkShadow,
                     TColor simpleColor);
void DrawStyledFrame(gui::TCanvas& canvas, TFrameStyle style, int left, int top, int right,
                     int bottom, TColor highlight, TColor light, TColor shadow, TColor darkShadow,
                     TColor simpleColor);

// ------------------------------------------------------------ cross-hair

enum class TCrossHMode { chOff, chHoriz, chVert, chBoth };

// One cross-hair of the chart: a horizontal line at PosY, a vertical one at
// PosX, or both, in the coordinates of its layer (1..16).
class TCrossHair : public rtl::TPersistent {
public:
    double PosX() const { return FPosX; }
    void SetPosX(double v);
    double PosY() const { return FPosY; }
    void SetPosY(double v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TCrossHMode Mode() const { return FMode; }
    void SetMode(TCrossHMode m);
    gui::TPenStyle LineType() const { return FLineType; }
    void SetLineType(gui::TPenStyle s);
    int LineWid() const { return FLineWid; }
    void SetLineWid(int w);
    // Clamped to 1..16.
    int Layer() const { return FLayer; }
    void SetLayer(int layer);

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    double FPosX = 0, FPosY = 0;
    TColor FColor = gui::clBlack;
    TCrossHMode FMode = TCrossHMode::chOff;
    gui::TPenStyle FLineType = gui::TPenStyle::psSolid;
    int FLineWid = 1;
    int FLayer = 1;
};

// ------------------------------------------------------ date-time labels

enum class TTimeFormat { tfHHMMSS, tfHHhMM, tfAMPM };
enum class TYearLength { ylNone, ylYY, ylYYYY };
enum class TDateOrder { doMMDDYY, doDDMMYY, doYYMMDD };
enum class TDateForTime { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };

// How the date-time scale writes its labels.  DateOrder and TimeFormat
// notify on every assignment; the others only on a change.
class TDTLabel : public rtl::TPersistent {
public:
    TTimeFormat TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(TTimeFormat v);
    char DateSeparator() const { return FDateSeparator; }
    void SetDateSeparator(char v);
    char TimeSeparator() const { return FTimeSeparator; }
    void SetTimeSeparator(char v);
    TYearLength YearLength() const { return FYearLength; }
    void SetYearLength(TYearLength v);
    bool MonthName() const { return FMonthName; }
    void SetMonthName(bool v);
    TDateOrder DateOrder() const { return FDateOrder; }
    void SetDateOrder(TDateOrder v);
    TDateForTime DateForTime() const { return FDateForTime; }
    void SetDateForTime(TDateForTime v);

    // Copies all seven settings from another TDTLabel (one OnChange).
    void Assign(const rtl::TPersistent* source) override;

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    // The settings the scales and scale properties start with.
    TTimeFormat FTimeFormat = TTimeFormat::tfHHMMSS;
    char FDateSeparator = '-';
    char FTimeSeparator = ':';
    TYearLength FYearLength = TYearLength::ylYYYY;
    bool FMonthName = true;
    TDateOrder FDateOrder = TDateOrder::doDDMMYY;
    TDateForTime FDateForTime = TDateForTime::dtOnePerDay;
};

// ----------------------------------------------------------- text labels

enum class TVerticalAlignment { vaTop, vaCenter, vaBottom };
enum class TTxtLblAttachMode { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
enum class TTxtLblMode { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };

// One text label of a chart.  The chart treats a label in mode tlOff as a
// free slot of its pool.  Every accepted change fires OnChange.
class TCustomTextLabel : public rtl::TPersistent {
public:
    TCustomTextLabel();
    ~TCustomTextLabel() override;

    double PosX() const { return FPosX; }
    void SetPosX(double v);
    double PosY() const { return FPosY; }
    void SetPosY(double v);
    // Accepts 1..16 only; other values are ignored.
    int Layer() const { return FLayer; }
    void SetLayer(int v);
    int ShadowDx() const { return FShadowDx; }
    void SetShadowDx(int v);
    int ShadowDy() const { return FShadowDy; }
    void SetShadowDy(int v);
    TColor ColorShadow() const { return FColorShadow; }
    void SetColorShadow(TColor v);
    gui::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(gui::TAlignment v);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment v);
    TTxtLblAttachMode AttachToData() const { return FAttachToData; }
    void SetAttachToData(TTxtLblAttachMode v);
    TColor ColorBkg() const { return FColorBkg; }
    void SetColorBkg(TColor v);
    TColor ColorBorder() const { return FColorBorder; }
    void SetColorBorder(TColor v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    gui::TFont* Font() const { return FFont.get(); }
    // Copies the font's attributes into the label's own font.
    void SetFont(const gui::TFont* font);
    // Control characters other than line feed become spaces.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    TTxtLblMode Mode() const { return FMode; }
    void SetMode(TTxtLblMode v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    rtl::TNotifyEvent OnChange;

protected:
    void Changed();

private:
    double FPosX = 100, FPosY = 10;
    int FLayer = 1;
    int FShadowDx = 0, FShadowDy = 0;
    TColor FColorShadow = 0x808080;
    gui::TAlignment FAlignment = gui::TAlignment::taCenter;
    TVerticalAlignment FVerticalAlignment = TVerticalAlignment::vaBottom;
    TTxtLblAttachMode FAttachToData = TTxtLblAttachMode::tlamNone;
    TColor FColorBkg = 0xC0C0C0;
    TColor FColorBorder = gui::clBlack;
    bool FTransparent = false;
    std::unique_ptr<gui::TFont> FFont;
    std::string FCaption;
    TTxtLblMode FMode = TTxtLblMode::tlsimple;
    bool FVisible = true;
};

// The published text label (the same fields).
class TTextLabel : public TCustomTextLabel {};

} // namespace chart
