// What the program knows of the system it runs on, in the terms its
// controls ask about: the system's version numbers (which decide the
// "XP or later" and "Vista or later" looks) and the major version of the
// common-controls library (6 and above: themed controls).  This platform
// answers as a current desktop does; tests override the record to reach
// the older branches.
//
//     if (sys::SystemInfo().IsXPOrLater()) ...
//     sys::SetSystemInfo({5, 0, 5, false});   // a tests' old system
#pragma once

namespace sys {

struct TSystemInfo {
    int MajorVersion = 6;
    int MinorVersion = 1;
    int ComCtlMajorVersion = 6;
    bool VistaOrLater = true;
    // Lines the mouse wheel scrolls per notch.
    int WheelScrollLines = 3;
    // Width of a vertical and height of a horizontal scroll bar
    // (SM_CXVSCROLL, SM_CYHSCROLL); 0 takes the desktop style's own.
    int ScrollBarExtent = 0;

    // Major above 5, or 5 with a minor version above 0.
    bool IsXPOrLater() const { return MajorVersion > 5 || (MajorVersion == 5 && MinorVersion > 0); }
};

const TSystemInfo& SystemInfo();
void SetSystemInfo(const TSystemInfo& info);
// Back to the platform's own answers.
void ResetSystemInfo();

} // namespace sys
