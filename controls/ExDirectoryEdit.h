// TExDirectoryEdit: an edit for a folder path.  Its button (a folder
// glyph) and F4 open the desktop's folder dialog just below the edit with
// the edit's folder selected; the chosen folder becomes the text.  The
// value is validated as an existing directory (IsValidDirectory, or the
// edit's validation on change with ShowError and on focus loss).
//
// The rule a caller must know: the edit is a plain text edit; the typed-edit
// settings (EditType, Precision ...) and OnClickBtn / OnValueValidate are
// taken by the class itself.  Listen to OnChange, which fires for typed and
// chosen folders alike.
//
//     auto* d = new controls::TExDirectoryEdit(dialog);
//     d->SetParent(dialog);
//     d->SetBounds(12, 60, 249, 19);
//     d->OnChange = [&](rtl::TObject*) { use(d->Text()); };
#pragma once

#include "controls/ExEdBtn.h"

namespace controls {

using TDirectoryShowEvent = std::function<void(rtl::TObject* sender, std::string& initialPath)>;
using TDialogCloseEvent = std::function<void(rtl::TObject* sender, const std::string& newDirectory, bool ok)>;

// The 12 x 11 open yellow folder the button shows (white is transparent).
std::unique_ptr<gui::TBitmap> DirectoryEditGlyph();

class TExDirectoryEdit : public TExEditBtn {
public:
    explicit TExDirectoryEdit(rtl::TComponent* owner);

    const std::string& BrowseDialogText() const { return FBrowseDialogText; }
    void SetBrowseDialogText(const std::string& s) { FBrowseDialogText = s; }
    bool AllowNewFolder() const { return FAllowNewFolder; }
    void SetAllowNewFolder(bool v) { FAllowNewFolder = v; }
    // Whether Text names an existing directory; marks the edit in error when not.
    bool IsValidDirectory();

    TDirectoryShowEvent OnShowDirectoryDialog;
    TDialogCloseEvent OnDialogClose;

protected:
    void FireButtonClick(rtl::TObject* sender) override;
    void ValidateDirectory(rtl::TObject* sender, const std::string& value, bool& isValid);
    void KeyDown(uint16_t& key, gui::TShiftState shift) override;

private:
    // Where the dialog goes: just below the edit's left edge, kept inside
    // the work area.
    gui::TPoint PlaceDialog(gui::TSize dialogSize);
    std::string FBrowseDialogText = "Select Directory";
    bool FAllowNewFolder = true;
};

} // namespace controls
