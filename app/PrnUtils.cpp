#include "app/PrnUtils.h"

#include <cstdlib>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

namespace app {

namespace {

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(TDibBlock& info, TDibBlock& bits, int& width, int& height)
{
    info.clear();
    bits.clear();
    width = height = 0;
    return false;
}

} // namespace

bool LoadDIBFromBMPStream(rtl::TStream& stream, TDibBlock& info, TDibBlock& bits, int& width, int& height)
{
    try {
        const int64_t start = stream.Position();
        uint8_t fileHeader[14];
        if (stream.Read(fileHeader, 14) != 14) return Fail(info, bits, width, height);
        if (fileHeader[0] != 'B' || fileHeader[1] != 'M') return Fail(info, bits, width, height);
        const uint32_t offset = Get32(fileHeader + 10);
        if (offset <= 14 || stream.Size() - start <= static_cast<int64_t>(offset))
            return Fail(info, bits, width, height);
        info.assign(offset - 14, 0);
        if (stream.Read(info.data(), static_cast<int64_t>(info.size())) != static_cast<int64_t>(info.size()))
            return Fail(info, bits, width, height);
        TDibHeader h;
        if (!AnalyseDibHeader(info, h)) return Fail(info, bits, width, height);
        int64_t imageSize = h.ImageSize;
        if (!h.Core && h.SizeImage != 0) imageSize = h.SizeImage;
        width = h.Width;
        height = std::abs(h.Height);
        if (width <= 0 || height <= 0 || imageSize < 32) return Fail(info, bits, width, height);
        if (stream.Size() - stream.Position() < imageSize) return Fail(info, bits, width, height);
        bits.assign(static_cast<std::size_t>(imageSize), 0);
        if (stream.Read(bits.data(), imageSize) != imageSize) return Fail(info, bits, width, height);
        return true;
    } catch (const std::exception&) {
        return Fail(info, bits, width, height);
    }
}

bool BitmapToDIB(const gui::TBitmap& bitmap, TDibBlock& info, TDibBlock& bits, int& width, int& height)
{
    try {
        rtl::TMemoryStream stream;
        bitmap.SaveToStream(stream);
        stream.SetPosition(0);
        return LoadDIBFromBMPStream(stream, info, bits, width, height);
    } catch (const std::exception&) {
        return Fail(info, bits, width, height);
    }
}

TAbortDialog::TAbortDialog(rtl::TComponent* owner) : TForm(owner)
{
    SetCaption("Printing");
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    SetBorderIcons({gui::TBorderIcon::biMaximize});
    SetFormStyle(gui::TFormStyle::fsStayOnTop);
    SetPosition(gui::TPosition::poScreenCenter);
    SetClientSize(260, 70);
    btnCancel = new gui::TButton(this);
    btnCancel->SetParent(this);
    btnCancel->SetBounds(90, 22, 80, 26);
    btnCancel->SetCaption("&Cancel");
    btnCancel->SetDefault(true);
    btnCancel->OnClick = [this](rtl::TObject*) { btnCancelClick(); };
}

bool TAbortDialog::Aborted()
{
    if (gui::Application) gui::Application->ProcessMessages();
    return Canceled;
}

TAbortDialog* CreateAbortDialog(rtl::TComponent* owner)
{
    try {
        auto* dialog = new TAbortDialog(owner);
        dialog->Show();
        if (gui::Application) gui::Application->ProcessMessages();
        return dialog;
    } catch (const std::exception&) {
        return nullptr;
    }
}

void SetAbortDialogText(TAbortDialog* dialog, const std::string& text)
{
    if (!dialog) return;
    try {
        dialog->SetCaption(text);
        if (gui::Application) gui::Application->ProcessMessages();
    } catch (const std::exception&) {
    }
}

bool AbortDialogCanceled(TAbortDialog* dialog)
{
    if (!dialog) return false;
    try {
        return dialog->Aborted();
    } catch (const std::exception&) {
        return false;
    }
}

void FreeAbortDialog(TAbortDialog* dialog)
{
    try {
        delete dialog;
    } catch (...) {
    }
}

} // namespace app
