// Shared helpers of the styled-control tests: a shown form to place
// controls on, its picture, and a clean theme service and system record.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Themes.h"
#include "platform/sys/SystemInfo.h"

namespace controls_test {

// Restores the theme service and the system record after a test.
struct CleanSystem {
    CleanSystem()
    {
        gui::ResetThemeService();
        sys::ResetSystemInfo();
    }
    ~CleanSystem()
    {
        gui::ResetThemeService();
        sys::ResetSystemInfo();
    }
};

struct Host {
    CleanSystem clean;
    gui::TForm form{nullptr};
    Host(int w = 320, int h = 200)
    {
        form.SetBounds(0, 0, w, h);
        form.SetColor(gui::clWhite);
    }
    ~Host() { form.Hide(); }
    void Show()
    {
        form.Show();
        gui::Application->ProcessMessages();
    }
    // The client area as it shows now.
    std::unique_ptr<gui::TBitmap> Image()
    {
        gui::Application->ProcessMessages();
        return form.GetFormImage();
    }
};

inline gui::TColor PixelAt(gui::TBitmap& b, int x, int y) { return gui::ColorToRGB(b.Canvas()->Pixels(x, y)); }

// Saves a picture for looking at; the path goes to the log.
inline void Keep(gui::TBitmap& image, const std::string& name)
{
    gui::TPngImage png;
    png.Assign(&image);
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tec-controls-shots";
    std::filesystem::create_directories(dir);
    png.SaveToFile((dir / (name + ".png")).string());
    std::printf("picture: %s\n", (dir / (name + ".png")).string().c_str());
}

} // namespace controls_test
