// Pictures of markup images: THTMLPicture keeps an image file's bytes exactly
// as loaded and decodes them (PNG, JPEG, BMP, GIF) into a drawable picture,
// one GIF frame at a time; THTMLPictureCache holds the pictures a control
// loaded by address; TPictureContainer holds named pictures that markup
// refers to by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Streams.h"

namespace htmltext {

using TDownloadProgressEvent = std::function<void(rtl::TObject* sender, uint32_t size, uint32_t totalSize)>;
using TDownloadCancelEvent = std::function<void(rtl::TObject* sender, bool& cancel)>;
using TDownloadCompleteEvent = std::function<void(rtl::TObject* sender)>;
using TDownloadErrorEvent = std::function<void(rtl::TObject* sender, const std::string& err)>;

class THTMLPicture : public gui::TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;

    // Copies another THTMLPicture (bytes, Stretch, Frame, ID); nullptr or any
    // other class leaves an empty picture.
    void Assign(const rtl::TPersistent* source) override;

    bool Empty() const override { return FIsEmpty; }
    // Natural size of the decoded frame in pixels at 96 dpi; 0 without one.
    int Width() const override;
    int Height() const override;
    // The size of a picture is its file's: writing it is ignored.
    void SetSize(int, int) override {}

    // Reads the whole file; any failure (missing file, undecodable bytes)
    // leaves the picture empty and raises nothing.
    void LoadFromFile(const std::string& fileName);
    // Takes the stream's whole content; decoding errors propagate.
    void LoadFromStream(rtl::TStream& stream) override;
    // Writes the stored bytes (not the decoded picture).
    void SaveToStream(rtl::TStream& stream) const override;
    // A raw-data resource of the program: a missing name loads nothing, a
    // missing number raises EResNotFound.
    void LoadFromResourceName(const std::string& name) override;
    void LoadFromResourceID(int id) override;
    // "RES://name" and "FILE://path" load at once (scheme case ignored);
    // any other address is only recorded, nothing is ever fetched.
    void LoadFromURL(const std::string& url);

    // The "Data" form-stream property: the raw bytes.  Reading them stores
    // and decodes without OnChange.
    void ReadData(rtl::TStream& stream);
    void WriteData(rtl::TStream& stream) const { SaveToStream(stream); }
    const std::vector<uint8_t>& Bytes() const { return FData; }

    // Stretch: whole destination rectangle; else natural size at its top-left.
    void Draw(gui::TCanvas& canvas, const gui::TRect& r) const override;
    gui::TGraphic* NewEmpty() const override { return new THTMLPicture(); }
    std::string DefaultExtension() const override { return "gif"; }

    bool Stretch() const { return FStretched; }
    void SetStretch(bool v) { FStretched = v; }
    const std::string& ID() const { return FID; }
    void SetID(const std::string& id) { FID = id; }
    const std::string& URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool v) { FIsDB = v; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool v) { FAsynch = v; }
    bool Busy() const { return FThreadBusy; }

    // GIF data: more than 4 bytes beginning "GIF8".
    bool IsGIF() const;
    // Graphic control extensions directly followed by an image descriptor
    // (counted once and cached); -1 for data that is not a GIF.
    int FrameCount() const;
    // Delay of frame n (from 1) in hundredths of a second; -1 when none.
    int GetFrameDelay(int n);
    int Frame() const { return FFrame; }
    // Decodes that frame (when bytes are stored) and fires OnFrameChange.
    void SetFrame(int value);
    void FrameNext();
    void FramePrev();
    // One 100 ms animation tick; true when the frame changed.
    bool Step();
    // Logical screen of an animation, else the natural size.
    int MaxWidth() const;
    int MaxHeight() const;
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    int FrameXSize() const { return FFrameXSize; }
    int FrameYSize() const { return FFrameYSize; }
    bool FrameTransparent() const { return FFrameTransp; }
    int FrameDisposal() const { return FFrameDisposal; }
    // The decoded frame, or nullptr.
    const gui::TGraphic* Decoded() const { return FPicture.get(); }

    rtl::TNotifyEvent OnFrameChange;
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

private:
    void DecodePicture();
    void StoreBytes(rtl::TStream& stream);
    // Positions of the frame markers in the stored bytes.
    std::vector<std::size_t> FrameMarkers() const;

    std::vector<uint8_t> FData;
    bool FIsEmpty = true;
    bool FStretched = false;
    std::unique_ptr<gui::TGraphic> FPicture;
    int FLogPixX = 96, FLogPixY = 96;
    std::string FURL;
    std::string FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    mutable int FFrameCount = -1;
    uint16_t FFrameXPos = 0, FFrameYPos = 0;
    uint16_t FFrameXSize = 0, FFrameYSize = 0;
    bool FFrameTransp = false;
    uint16_t FFrameDisposal = 0;
    uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
};

// The pictures a control loaded by address; it owns them.
class THTMLPictureCache {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() { ClearPictures(); }
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    // A new empty picture at the end of the list.
    THTMLPicture* AddPicture();
    // The first picture whose ID equals id exactly; nullptr when none.
    THTMLPicture* FindPicture(const std::string& id) const;
    void ClearPictures() { FItems.clear(); }
    // Steps every picture; true when any changed its frame.
    bool Animate();
    int Count() const { return static_cast<int>(FItems.size()); }
    THTMLPicture* Items(int i) const { return FItems.at(static_cast<std::size_t>(i)).get(); }

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};

class TPictureItem : public rtl::TCollectionItem {
    RTL_CLASS(TPictureItem, rtl::TCollectionItem)
public:
    explicit TPictureItem(rtl::TCollection* collection);
    ~TPictureItem() override;
    // Only from another TPictureItem; anything else raises EConvertError.
    void Assign(const rtl::TPersistent* source) override;

    THTMLPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const THTMLPicture* value) { FPicture->Assign(value); }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }

private:
    std::unique_ptr<THTMLPicture> FPicture;
    int FTag = 0;
    std::string FName;
};

class TPictureCollection : public rtl::TOwnedCollection {
    RTL_CLASS(TPictureCollection, rtl::TOwnedCollection)
public:
    explicit TPictureCollection(rtl::TComponent* owner);
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(int index) { return static_cast<TPictureItem*>(TCollection::Insert(index)); }
    TPictureItem* Items(int index) const { return static_cast<TPictureItem*>(TCollection::Items(index)); }
    bool Animate();
};

class TPictureContainer : public rtl::TComponent {
    RTL_CLASS(TPictureContainer, rtl::TComponent)
public:
    explicit TPictureContainer(rtl::TComponent* owner);
    ~TPictureContainer() override;

    TPictureCollection* Items() const { return FItems; }
    // The container keeps the given collection and frees it from then on.
    void SetItems(TPictureCollection* value);
    // The first item whose name equals name, ASCII case ignored; nullptr when none.
    virtual THTMLPicture* FindPicture(const std::string& name) const;
    std::string Version() const { return "1.0.0.0"; }
    void SetVersion(const std::string&) {}

private:
    TPictureCollection* FItems;
};

// "a.b.c.d" from a 32-bit version number, most significant byte first.
std::string VersionText(uint32_t number);

} // namespace htmltext
