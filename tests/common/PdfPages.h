// Printed PDF pages rendered back into pictures (poppler's pdftoppm), for
// tests that check where things land on paper; they skip without the tool.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/gui/PngImage.h"

namespace tectest {

inline bool HavePdfToPpm() { return std::system("command -v pdftoppm >/dev/null 2>&1") == 0; }

// Renders one page of a PDF at dpi into a PNG picture beside the PDF.
inline bool RenderPdfPage(const std::filesystem::path& pdf, int page, int dpi, gui::TPngImage& out)
{
    const auto base = pdf.parent_path() / ("page" + std::to_string(page));
    const std::string cmd = "pdftoppm -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
                            std::to_string(page) + " -png -singlefile '" + pdf.string() + "' '" +
                            base.string() + "'";
    if (std::system(cmd.c_str()) != 0) return false;
    out.LoadFromFile(base.string() + ".png");
    return true;
}

} // namespace tectest
