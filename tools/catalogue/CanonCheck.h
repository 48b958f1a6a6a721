// Comparison of a catalogue file with the published Five Millennium Canons
// (solar Besselian elements and catalogue, lunar catalogue): the figures by
// span of years that the catalogue's checks assert and report.
#pragma once

#include <string>
#include <vector>

namespace catalogue {

struct Stat {
    std::vector<double> Values;
    void Add(double v) { Values.push_back(v); }
    double Median() const;
    double Max() const;
    double Mean() const;
};

struct YearSpan {
    std::string Label;
    int From, To;   // astronomical years, inclusive
};

struct SolarComparison {
    YearSpan Span;
    // Element differences at the canon's instant of greatest eclipse, each
    // side from its own polynomials (Earth radii; degrees for d and mu).
    Stat X, Y, XY, D, Mu, L1, L2;
    Stat Gamma, Magnitude, Time;   // Time in seconds
    int Compared = 0, TypeDiffers = 0, SarosDiffers = 0;
    int MissingHere = 0;    // in the canon, not in the catalogue
    int MissingCanon = 0;   // in the catalogue, not in the canon
};

struct LunarComparison {
    YearSpan Span;
    Stat Gamma, MagPen, MagUmbra, Time;   // Time in seconds
    Stat DurPen, DurPar, DurTot;          // minutes
    // Shadow radii the canon's magnitudes imply minus ours (arc seconds,
    // signed): 2 s_Moon (canon magnitude - ours) with the Moon's
    // semi-diameter s_Moon of our catalogue row.  Half their difference is
    // the difference of the Sun's semi-diameter and does not depend on the
    // ephemeris.
    Stat PenRadius, UmbRadius;
    int DurationsOff = 0;   // phases whose duration differs by more than 0.2 min
    int Compared = 0, TypeDiffers = 0, QSEDiffers = 0, SarosDiffers = 0;
    int MissingHere = 0, MissingCanon = 0;
};

struct CanonReport {
    std::vector<SolarComparison> Solar;
    std::vector<LunarComparison> Lunar;
};

// The five millennia -1999..2999 followed by 1600..2399 and 1900..2099.
std::vector<YearSpan> StandardSpans();

// Reads catalogueFile (be.db) and the canon files in canonDir; raises
// std::runtime_error when a file cannot be read.
// Canon rows after the catalogue's last lunation are not compared.
CanonReport CompareWithCanon(const std::string& catalogueFile, const std::string& canonDir,
                             const std::vector<YearSpan>& spans);

// The report as two Markdown tables.
std::string FormatReport(const CanonReport& report);

} // namespace catalogue
