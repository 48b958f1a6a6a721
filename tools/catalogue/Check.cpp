// Prints how a catalogue file compares with the published canons.
//   tec-catalogue-check be.db /path/to/shared/data
#include <cstdio>
#include <exception>

#include "tools/catalogue/CanonCheck.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tec-catalogue-check CATALOGUE CANON-FOLDER\n");
        return 2;
    }
    try {
        auto report = catalogue::CompareWithCanon(argv[1], argv[2], catalogue::StandardSpans());
        std::fputs(catalogue::FormatReport(report).c_str(), stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tec-catalogue-check: %s\n", e.what());
        return 1;
    }
    return 0;
}
