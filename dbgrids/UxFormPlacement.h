// Form placement: saves a form's window state, size, position and active
// control (and what linked components store through TUxIniLink) in an
// application storage, restores them when the form is shown, and can
// limit or fix the form's size.
//
// The one rule: values live below AppStoragePath ("%FORM_NAME%\" by
// default, the form's name put in on first use); size and position are
// kept per screen size ("NormPos(1920x1080)") and restored only at the same
// pixels per inch.
//
//   auto* fp = new dbgrids::TUxFormPlacement(form);
//   fp->SetAppStorage(storage);
//   fp->SaveFormPlacement();      // also on close; restored on show
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbgrids/UxAppStorage.h"
#include "dbgrids/UxHooks.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Set.h"

namespace dbgrids {

enum class TPlacementOption { fpState, fpSize, fpLocation, fpActiveControl };
using TPlacementOptions = rtl::Set<TPlacementOption>;
enum class TUxFormPlacementVersionCheck { fpvcNocheck, fpvcCheckGreaterEqual, fpvcCheckEqual };

class TUxFormPlacement;

// A component's tie to a placement: its OnSave / OnLoad run when the
// placement saves or restores.
class TUxIniLink : public rtl::TPersistent {
public:
    TUxIniLink() = default;
    ~TUxIniLink() override;
    TUxFormPlacement* Storage() const { return FStorage; }
    void SetStorage(TUxFormPlacement* value);
    rtl::TNotifyEvent OnSave;
    rtl::TNotifyEvent OnLoad;

protected:
    friend class TUxFormPlacement;
    virtual void SaveSettings() { if (OnSave) OnSave(this); }
    virtual void LoadSettings() { if (OnLoad) OnLoad(this); }

private:
    TUxFormPlacement* FStorage = nullptr;
};

// Limits of the form's size; 0 means "not set".
class TUxWinMinMaxInfo : public rtl::TPersistent {
public:
    explicit TUxWinMinMaxInfo(TUxFormPlacement* owner) : FOwner(owner) {}
    int MaxPosLeft() const { return FValues[0]; }
    int MaxPosTop() const { return FValues[1]; }
    int MaxSizeHeight() const { return FValues[2]; }
    int MaxSizeWidth() const { return FValues[3]; }
    int MaxTrackHeight() const { return FValues[4]; }
    int MaxTrackWidth() const { return FValues[5]; }
    int MinTrackHeight() const { return FValues[6]; }
    int MinTrackWidth() const { return FValues[7]; }
    void SetMaxPosLeft(int v) { SetValue(0, v); }
    void SetMaxPosTop(int v) { SetValue(1, v); }
    void SetMaxSizeHeight(int v) { SetValue(2, v); }
    void SetMaxSizeWidth(int v) { SetValue(3, v); }
    void SetMaxTrackHeight(int v) { SetValue(4, v); }
    void SetMaxTrackWidth(int v) { SetValue(5, v); }
    void SetMinTrackHeight(int v) { SetValue(6, v); }
    void SetMinTrackWidth(int v) { SetValue(7, v); }
    // index: 0 MaxPosLeft ... 7 MinTrackWidth.
    void SetValue(int index, int value);
    bool DefaultMinMaxInfo() const;
    void Assign(const rtl::TPersistent* source) override;

private:
    TUxFormPlacement* FOwner;
    int FValues[8] = {};
};

class TUxFormPlacement : public rtl::TComponent {
public:
    explicit TUxFormPlacement(rtl::TComponent* owner);
    ~TUxFormPlacement() override;

    bool Active() const { return FActive; }
    void SetActive(bool v) { FActive = v; }
    TUxCustomAppStorage* AppStorage() const { return FAppStorage; }
    void SetAppStorage(TUxCustomAppStorage* value);
    // A non-empty path gets a trailing backslash.
    const std::string& AppStoragePath() const { return FAppStoragePath; }
    void SetAppStoragePath(const std::string& value);
    TPlacementOptions Options() const { return FOptions; }
    void SetOptions(TPlacementOptions v) { FOptions = v; }
    int Version() const { return FVersion; }
    void SetVersion(int v) { FVersion = v; }
    TUxFormPlacementVersionCheck VersionCheck() const { return FVersionCheck; }
    void SetVersionCheck(TUxFormPlacementVersionCheck v) { FVersionCheck = v; }
    // Fixes the form's size (minimum = maximum: its size when shown) and
    // hides its maximise button; the window manager's own window menu is
    // not touched.
    bool PreventResize() const { return FPreventResize; }
    void SetPreventResize(bool value);
    TUxWinMinMaxInfo* MinMaxInfo() const { return FWinMinMaxInfo.get(); }
    void SetMinMaxInfo(const TUxWinMinMaxInfo* value) { FWinMinMaxInfo->Assign(value); }
    bool Saved() const { return FSaved; }
    bool Restored() const { return FRestored; }
    bool IsActive() const { return FActive && FAppStorage; }

    void SaveFormPlacement();
    void RestoreFormPlacement();
    void EraseSections();
    // Hooks the form's OnShow, OnCloseQuery and OnDestroy (done after
    // streaming; call it for a placement made in code).
    void HookFormEvents();
    // Hooks the form's window procedure while MinMaxInfo has a value or
    // PreventResize is on (its answer to WM_GETMINMAXINFO sets the form's
    // limits and maximised place), else unhooks it.
    void UpdateWinHook();
    // Without PreventResize and MinMaxInfo values: the maximised position
    // of the form's placement becomes its border width and height, negated
    // (0, 0 without a border).
    void ResetMaximizedPosition();
    TUxWindowHook* WinHook() const { return FWinHook; }

    // Typed values below AppStoragePath (names through the storage's
    // translation); without a storage reads give the default.
    std::string ReadString(const std::string& ident, const std::string& def = "");
    void WriteString(const std::string& ident, const std::string& value);
    int32_t ReadInteger(const std::string& ident, int32_t def = 0);
    void WriteInteger(const std::string& ident, int32_t value);
    bool ReadBoolean(const std::string& ident, bool def = false);
    void WriteBoolean(const std::string& ident, bool value);
    long double ReadFloat(const std::string& ident, long double def = 0);
    void WriteFloat(const std::string& ident, long double value);
    rtl::TDateTime ReadDateTime(const std::string& ident, rtl::TDateTime def = 0);
    void WriteDateTime(const std::string& ident, rtl::TDateTime value);

    rtl::TNotifyEvent OnSavePlacement, OnRestorePlacement;
    rtl::TNotifyEvent BeforeSavePlacement, AfterSavePlacement;
    rtl::TNotifyEvent BeforeRestorePlacement, AfterRestorePlacement;

    std::string ClassName() const override { return "TUxFormPlacement"; }

protected:
    virtual void SaveWindowState();
    virtual void RestoreWindowState();
    void Loaded() override;
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

private:
    friend class TUxIniLink;
    friend class TUxWinMinMaxInfo;
    gui::TCustomForm* Form() const { return dynamic_cast<gui::TCustomForm*>(Owner()); }
    void ExpandFormName();
    std::string PathOf(const std::string& ident, bool reading);
    void MinMaxChanged();
    void WndMessage(rtl::TObject* sender, TMessage& msg, bool& handled);
    void ApplyPreventResize();

    bool FActive = true;
    TUxCustomAppStorage* FAppStorage = nullptr;
    std::string FAppStoragePath = "%FORM_NAME%\\";
    std::vector<TUxIniLink*> FLinks;
    TPlacementOptions FOptions;
    int FVersion = 0;
    TUxFormPlacementVersionCheck FVersionCheck = TUxFormPlacementVersionCheck::fpvcCheckGreaterEqual;
    bool FSaved = false, FRestored = false, FDestroying = false;
    bool FPreventResize = false;
    std::unique_ptr<TUxWinMinMaxInfo> FWinMinMaxInfo;
    bool FDefMaximize = true;
    bool FEventsHooked = false;
    rtl::TNotifyEvent FSaveFormShow, FSaveFormDestroy;
    gui::TCloseQueryEvent FSaveFormCloseQuery;
    TUxWindowHook* FWinHook = nullptr;
};

// "(<width>x<height>)" of the screen.
std::string ScreenSizeSuffix();
void WriteScreenSpecificText(TUxCustomAppStorage* storage, const std::string& path, const std::string& value);
std::string ReadScreenSpecificText(TUxCustomAppStorage* storage, const std::string& path);
void StoreWindowPlacement(gui::TCustomForm* form, TUxCustomAppStorage* storage, const std::string& path,
                          TPlacementOptions options);
void LoadWindowPlacement(gui::TCustomForm* form, TUxCustomAppStorage* storage, const std::string& path,
                         TPlacementOptions options);

} // namespace dbgrids
