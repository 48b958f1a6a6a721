// Free helpers of the chart library: conversion between the HSV and RGB
// colour models, the 1-2-5 rule for the spacing of axis ticks, a floor to
// integer and the exchange of two values.  All are pure functions.
#pragma once

#include <cstdint>

namespace chart {

// HSV to RGB.  hue in degrees (a hue below 0 or at or above 360 counts as
// 0, it is not wrapped); saturation and value clamped to [0, 1].  Each
// channel is round(255 x component), halves to even.  Saturation 0 gives
// the grey round(255 x value).
void HsvToRgb(double hue, double saturation, double value, int& r, int& g, int& b);

// RGB (0..255 each, not range-checked) to HSV: value = max / 255,
// saturation = (max - min) / max, hue in degrees [0, 360) from the largest
// component (red before green before blue on ties).  Black gives hue 0 and
// saturation 0; a grey gives hue -1 and saturation 0.
void RgbToHsv(int r, int g, int b, double& hue, double& saturation, double& value);

// Spacing of axis ticks from low to high with at least minTicks intervals:
// step is the largest value of the series 1, 2, 5 x 10^k not above
// |high - low| / minTicks, signed like high - low; firstTick the first
// multiple of step at low or beyond it towards high (a thousandth of a
// step tolerance); subTicks the minor intervals per step.  minTicks 0:
// ticks at every unit.  low = high: step 0 (no ticks).
void CalcTickSpacing(int minTicks, long double low, long double high, long double& firstTick,
                     long double& step, uint16_t& subTicks);

// The largest integer not above x.
int32_t FloorToInteger(double x);

void ExchangeInts(int32_t& a, int32_t& b);
void ExchangeDoubles(double& a, double& b);
void ExchangeExtendeds(long double& a, long double& b);

} // namespace chart
