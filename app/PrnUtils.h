// Turning bitmaps and BMP streams into the two blocks of a device-
// independent bitmap for printing, and the small progress dialog of a
// print job.
#pragma once

#include "app/PrnDib.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

namespace rtl {
class TStream;
}
namespace gui {
class TBitmap;
}

namespace app {

// Reads a BMP file at the stream's position: the 14-byte file header (type
// "BM", the stream longer than the data offset), the info block up to the
// data offset (core or info header), the pixel block of the image size
// (computed for core headers and for info headers stating 0).  Width and
// height must be above 0 and the image at least 32 bytes.  On any failure
// both blocks are emptied and the result is false.
bool LoadDIBFromBMPStream(rtl::TStream& stream, TDibBlock& info, TDibBlock& bits, int& width, int& height);

// The bitmap written as BMP into memory and read back.
bool BitmapToDIB(const gui::TBitmap& bitmap, TDibBlock& info, TDibBlock& bits, int& width, int& height);

// The progress dialog of a print job: "Printing" with a Cancel button.
class TAbortDialog : public gui::TForm {
public:
    explicit TAbortDialog(rtl::TComponent* owner);
    gui::TButton* btnCancel;
    bool Canceled = false;
    void btnCancelClick() { Canceled = true; }
    // Handles the waiting messages, then tells whether Cancel was pressed.
    bool Aborted();
};

// Creates and shows the dialog (not modal); nullptr when that fails.
TAbortDialog* CreateAbortDialog(rtl::TComponent* owner);
void SetAbortDialogText(TAbortDialog* dialog, const std::string& text);
bool AbortDialogCanceled(TAbortDialog* dialog);
void FreeAbortDialog(TAbortDialog* dialog);

} // namespace app
