// Drag and drop between programs: data objects with text, files and
// named formats; windows registered as drop targets; dragging data out of
// a window; files dropped on windows that accept them (WM_DROPFILES).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Controls.h"

namespace gui {

enum : int { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4 };

// The data carried by a drag (or taken from the clipboard).
class TDataObject {
public:
    TDataObject();
    ~TDataObject();
    TDataObject(const TDataObject& other);
    TDataObject& operator=(const TDataObject& other);

    bool HasText() const;
    std::string Text() const;
    void SetText(const std::string& text);
    bool HasFiles() const;
    std::vector<std::string> Files() const;
    void SetFiles(const std::vector<std::string>& files);
    bool HasFormat(TClipboardFormat format) const;
    std::vector<uint8_t> Data(TClipboardFormat format) const;
    void SetData(TClipboardFormat format, const std::vector<uint8_t>& data);

    struct Impl;
    Impl& Data() const { return *FImpl; }

private:
    std::unique_ptr<Impl> FImpl;
};

// A window's handler of drags passing over it; effects are DROPEFFECT_*.
class IDropTarget {
public:
    virtual ~IDropTarget() = default;
    virtual int DragEnter(const TDataObject& data, TShiftState shift, TPoint clientPos, int allowed) = 0;
    virtual int DragOver(TShiftState shift, TPoint clientPos, int allowed) = 0;
    virtual void DragLeave() = 0;
    virtual int Drop(const TDataObject& data, TShiftState shift, TPoint clientPos, int allowed) = 0;
};

// The target is the caller's; revoke it before freeing it.
void RegisterDragDrop(TWinControl* window, IDropTarget* target);
void RevokeDragDrop(TWinControl* window);
// Drags the data out of the window until it is dropped; the effect done.
int DoDragDrop(TWinControl* source, const TDataObject& data, int allowedEffects);

// Windows that take files dropped from outside get WM_DROPFILES with WParam
// a drop handle valid while the message is handled.
void DragAcceptFiles(HWND window, bool accept);
int DragQueryFileCount(WPARAM drop);
std::string DragQueryFile(WPARAM drop, int index);
TPoint DragQueryPoint(WPARAM drop);
void DragFinish(WPARAM drop);

} // namespace gui
