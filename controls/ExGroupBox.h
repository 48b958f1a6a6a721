// TExGroupBox: a group box that draws its own frame (single, double or
// etched; square or rounded; in a chosen colour), a caption with an
// optional image at one of six places on the top or bottom edge, and, when
// Transparent, its parent's background behind itself.
//
// The rule a caller must know: the children's area depends on the frame
// width and the caption's height; changing BorderStyle, CaptionPosition,
// Images or ImageIndex re-aligns the children.
//
//     auto* box = new controls::TExGroupBox(form);
//     box->SetParent(form);
//     box->SetBounds(8, 8, 186, 129);
//     box->SetCaption("Location");
//     box->SetBorderColor(gui::clBlack);
#pragma once

#include <string>

#include "platform/gui/GroupBox.h"
#include "platform/gui/ImgList.h"

namespace controls {

// The group box's own frame kinds (not the form border style).
enum class TGroupBorderStyle { bsNone, bsSingle, bsDouble };
// Where the caption sits; its own namespace, as the caption panel has a
// TCaptionPosition of its own.
namespace exgroupbox {
enum class TCaptionPosition { cpTopLeft, cpTopRight, cpTopCenter, cpBottomLeft, cpBottomRight, cpBottomCenter };
}

class TExCustomGroupBox : public gui::TCustomGroupBox {
public:
    using TCaptionPosition = exgroupbox::TCaptionPosition;
    explicit TExCustomGroupBox(rtl::TComponent* owner);

    gui::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(gui::TColor c);
    TGroupBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TGroupBorderStyle v);
    TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(TCaptionPosition v);
    gui::TImageList* Images() const { return FImages; }
    void SetImages(gui::TImageList* images);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool v);
    std::string Version() const;
    void SetVersion(const std::string&) {}
    static constexpr int VersionNr = 0x01000002;

    int GetBorderWidth() const;
    gui::TRect GetCaptionRect();
    int GetCaptionHeight();
    gui::TRect GetBorderRect();
    void AdjustClientRect(gui::TRect& rect) override;

protected:
    void Paint() override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    bool TopPosition() const;
    bool HasImage() const { return FImages && FImageIndex >= 0; }
    gui::TColor FBorderColor = 0xC0C0C0;
    TGroupBorderStyle FBorderStyle = TGroupBorderStyle::bsSingle;
    TCaptionPosition FCaptionPosition = TCaptionPosition::cpTopLeft;
    gui::TImageList* FImages = nullptr;
    int FImageIndex = -1;
    bool FTransparent = true, FRoundEdges = false;
};

class TExGroupBox : public TExCustomGroupBox {
public:
    using TExCustomGroupBox::TExCustomGroupBox;
};

} // namespace controls
