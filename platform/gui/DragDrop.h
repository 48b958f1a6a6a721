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

// ---- the in-process drag: a modal loop inside the program, with the
// source's callbacks deciding when it ends (the classic COM protocol).
enum : int {
    S_OK = 0, S_FALSE = 1,
    DRAGDROP_S_DROP = 0x00040100, DRAGDROP_S_CANCEL = 0x00040101, DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102,
};

// The dragging side: asked at every step whether to go on (S_OK), drop
// (DRAGDROP_S_DROP) or cancel (DRAGDROP_S_CANCEL), and told the effect the
// target under the pointer offers.
class IDropSource {
public:
    virtual ~IDropSource() = default;
    virtual int QueryContinueDrag(bool escapePressed, TShiftState keys) = 0;
    virtual int GiveFeedback(int effect) = 0;
};

// Runs the drag modally under mouse capture: pointer moves go to the drop
// target registered for the window under the pointer (DragEnter, DragOver,
// DragLeave), the source decides when it ends; a drop goes to the target
// under the pointer.  The input of the loop is the program's own mouse and
// key events (synthetic ones in tests), which the loop keeps from the
// windows.  Returns DRAGDROP_S_DROP or DRAGDROP_S_CANCEL; effect is what
// the target did.
int DoDragDrop(TWinControl* source, const TDataObject& data, int allowedEffects, IDropSource& dropSource, int& effect);

// Windows that take files dropped from outside get WM_DROPFILES with WParam
// a drop handle valid while the message is handled.
void DragAcceptFiles(HWND window, bool accept);
int DragQueryFileCount(WPARAM drop);
std::string DragQueryFile(WPARAM drop, int index);
TPoint DragQueryPoint(WPARAM drop);
void DragFinish(WPARAM drop);

} // namespace gui
