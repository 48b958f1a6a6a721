// TExDirectoryEdit: the folder browser behind the button and F4.

#include "controls/ExDirectoryEdit.h"

#include <filesystem>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

namespace controls {

using namespace gui;

std::unique_ptr<TBitmap> DirectoryEditGlyph()
{
    // Drawn from its description: an open folder, black outline, yellow
    // back and a silver front flap, on white (the transparent colour).
    static const char* const rows[11] = {
        "............",
        ".####.......",
        "#yyyy#......",
        "#yyyyy######",
        "#yy#########",
        "#y#sssssssss#",
        "#y#sssssssss#",
        "##sssssssss#.",
        "##sssssssss#.",
        "############",
        "............",
    };
    auto b = std::make_unique<TBitmap>();
    b->SetSize(12, 11);
    TCanvas* c = b->Canvas();
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 12; ++x) {
            const char ch = x < static_cast<int>(std::char_traits<char>::length(rows[y])) ? rows[y][x] : '.';
            c->SetPixels(x, y, ch == '#' ? clBlack : ch == 'y' ? clYellow : ch == 's' ? clSilver : clWhite);
        }
    b->SetTransparentColor(clWhite);
    return b;
}

TExDirectoryEdit::TExDirectoryEdit(rtl::TComponent* owner) : TExEditBtn(owner)
{
    auto glyph = DirectoryEditGlyph();
    SetGlyph(glyph.get());
    OnValueValidate = [this](rtl::TObject* s, const std::string& v, bool& ok) { ValidateDirectory(s, v, ok); };
    SetButtonWidth(18);
}

void TExDirectoryEdit::ValidateDirectory(rtl::TObject*, const std::string& value, bool& isValid)
{
    std::error_code ec;
    isValid = std::filesystem::is_directory(value, ec);
}

bool TExDirectoryEdit::IsValidDirectory()
{
    std::error_code ec;
    const bool r = std::filesystem::is_directory(Text(), ec);
    SetIsError(!r);
    return r;
}

void TExDirectoryEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    // The inherited rule alone: F4 without Ctrl or Alt opens the browser once.
    TExEditBtn::KeyDown(key, shift);
}

TPoint TExDirectoryEdit::PlaceDialog(TSize size)
{
    TPoint p = ClientToScreen({0, Height()});
    const TRect a = Screen->WorkAreaRect();
    if (p.X + size.cx > a.Right) p.X -= size.cx;
    if (p.Y + size.cy < a.Bottom) return p;
    return {p.X, a.Bottom - size.cy};
}

void TExDirectoryEdit::FireButtonClick(rtl::TObject*)
{
    std::error_code ec;
    const std::string current = std::filesystem::current_path(ec).string();
    std::string path = Text().empty() ? current : Text();
    if (OnShowDirectoryDialog) OnShowDirectoryDialog(this, path);

    TFolderBrowseRequest r;
    r.Title = FBrowseDialogText;
    r.AllowNewFolder = FAllowNewFolder;
    r.Flags = FAllowNewFolder ? 0x41 : 0x201;
    r.Owner = Parent();
    // The selection comes from the text, without a trailing delimiter.
    std::string sel = Text().empty() ? current : Text();
    while (sel.size() > 1 && sel.back() == '/') sel.pop_back();
    r.InitialSelection = sel;
    r.Place = [this](TSize s) { return PlaceDialog(s); };
    FBlockDefaultHandling = true;
    bool ok = false;
    try {
        ok = GetDialogService().BrowseFolderRequest(r);
    } catch (...) {
        ok = false;
    }
    if (!ok) return;
    const bool valid = !r.Directory.empty();
    if (OnDialogClose) OnDialogClose(this, r.Directory, valid);
    if (valid && r.Directory != Text()) {
        SetText(r.Directory);
        SetModified(true);
    }
}

} // namespace controls
