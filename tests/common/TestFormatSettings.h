// Scoped switches of the process's format settings for tests: each sets a
// locale-like group of separators and date formats and puts the previous
// settings back when it goes out of scope, also when the test fails.
//
//   TEST(Numbers, GermanComma) {
//       GermanFormatSettings german;                  // "1.234,5", "31.12.2011"
//       EXPECT_EQ(ExtractNumberText("1.234,5"), "1234.5");
//   }
//
// Only the settings that locale-dependent routines read change; number texts
// written to files keep "." whatever the switch (they never read
// DecimalSeparator).
#pragma once

#include "platform/rtl/DateTime.h"

class ScopedFormatSettings {
public:
    ScopedFormatSettings() : FSaved(rtl::FormatSettings()) {}
    ~ScopedFormatSettings() { rtl::FormatSettings() = FSaved; }
    ScopedFormatSettings(const ScopedFormatSettings&) = delete;
    ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

private:
    rtl::TFormatSettings FSaved;
};

// Comma decimal, full-stop thousands, day-first dates "dd.mm.yyyy".
class GermanFormatSettings : public ScopedFormatSettings {
public:
    GermanFormatSettings()
    {
        rtl::TFormatSettings& fs = rtl::FormatSettings();
        fs.DecimalSeparator = ',';
        fs.ThousandSeparator = '.';
        fs.DateSeparator = '.';
        fs.TimeSeparator = ':';
        fs.ShortDateFormat = "dd.mm.yyyy";
        fs.ShortTimeFormat = "hh:nn";
        fs.LongTimeFormat = "hh:nn:ss";
    }
};

// Full-stop decimal, comma thousands, month-first dates "m/d/yyyy".
class EnglishFormatSettings : public ScopedFormatSettings {
public:
    EnglishFormatSettings()
    {
        rtl::TFormatSettings& fs = rtl::FormatSettings();
        fs.DecimalSeparator = '.';
        fs.ThousandSeparator = ',';
        fs.DateSeparator = '/';
        fs.TimeSeparator = ':';
        fs.ShortDateFormat = "m/d/yyyy";
        fs.ShortTimeFormat = "h:nn AMPM";
        fs.LongTimeFormat = "h:nn:ss AMPM";
    }
};
