// ExObj: the cell control list, the line buffer and the file picture.
#include "gridbase/ExObj.h"

namespace gridbase {

// --- TControlList ----------------------------------------------------------------

TControlList::~TControlList()
{
    while (Count() > 0) RemoveControl(0);
}

void TControlList::AddControl(int x, int y, gui::TControl* object) { Add(new TControlItem(x, y, object)); }

void TControlList::RemoveControl(int i)
{
    delete GetItem(i);
    Delete(i);
}

int TControlList::ControlIndex(int x, int y) const
{
    for (int i = 0; i < Count(); ++i) {
        const TControlItem* item = GetItem(i);
        if (item->X() == x && item->Y() == y) return i;
    }
    return -1;
}

bool TControlList::HasHandle(gui::HWND handle) const
{
    for (int i = 0; i < Count(); ++i) {
        const auto* win = dynamic_cast<const gui::TWinControl*>(GetItem(i)->Control());
        if (win && win->HandleAllocated() && win->Handle() == handle) return true;
    }
    return false;
}

// --- TFileStringList --------------------------------------------------------------

void TFileStringList::Reset()
{
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(std::string& s)
{
    s = Strings(fp);
    ++fp;
}

void TFileStringList::WriteLn(const std::string& s)
{
    Add(cache + s);
    cache.clear();
}

// --- TFilePicture -----------------------------------------------------------------

void TFilePicture::SetFilename(const std::string& value)
{
    FFilename = value;
    gui::TPicture picture;
    picture.LoadFromFile(value);
    FWidth = picture.Width();
    FHeight = picture.Height();
}

void TFilePicture::DrawPicture(gui::TCanvas* canvas, const gui::TRect& r) const
{
    if (FFilename.empty() || !canvas) return;
    gui::TPicture picture;
    picture.LoadFromFile(FFilename);
    canvas->StretchDraw(r, picture.Graphic());
}

void TFilePicture::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TFilePicture*>(source);
    if (!src) {
        rtl::TPersistent::Assign(source);
        return;
    }
    FFilename = src->FFilename;
    FWidth = src->FWidth;
    FHeight = src->FHeight;
}

} // namespace gridbase
