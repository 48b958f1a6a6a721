#include "dbgrids/UxFormPlacement.h"

#include <algorithm>
#include <cstdio>

#include "dbgrids/UxUtils.h"
#include "platform/gui/Messages.h"
#include "platform/gui/WindowPlacement.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;

namespace {

std::string Format4(int a, int b, int c, int d)
{
    char buf[80];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d", a, b, c, d);
    return buf;
}

int Word(const std::string& s, int n, int def)
{
    int64_t v;
    return rtl::TryStrToInt64(NthWord(n, s, ", "), v) && v >= INT32_MIN && v <= INT32_MAX ? static_cast<int>(v) : def;
}

std::string Join(const std::string& path, const std::string& name)
{
    return TUxCustomAppStorage::ConcatPaths({path, name});
}

} // namespace

// --- screen-specific values and the window placement ----------------------------

std::string ScreenSizeSuffix()
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "(%dx%d)", Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0);
    return buf;
}

void WriteScreenSpecificText(TUxCustomAppStorage* storage, const std::string& path, const std::string& value)
{
    storage->WriteString(path + ScreenSizeSuffix(), value);
    storage->WriteString(path, value);
}

std::string ReadScreenSpecificText(TUxCustomAppStorage* storage, const std::string& path)
{
    const std::string specific = path + ScreenSizeSuffix();
    if (storage->ValueStored(specific)) return storage->ReadString(specific, "");
    return storage->ReadString(path, "");
}

void StoreWindowPlacement(TCustomForm* form, TUxCustomAppStorage* storage, const std::string& path,
                          TPlacementOptions options)
{
    if (!form || !storage || options == TPlacementOptions{TPlacementOption::fpActiveControl}) return;
    TWindowPlacement p = GetWindowPlacement(form);
    if (Application && Application->MainForm() == form && Application->MainForm()->WindowState() == TWindowState::wsMinimized)
        p.ShowCmd = SW_SHOWMINIMIZED;
    if (form->FormStyle() == TFormStyle::fsMDIChild && form->WindowState() == TWindowState::wsMinimized)
        p.Flags |= 1;  // WPF_SETMINPOSITION
    if (options.Contains(TPlacementOption::fpState)) storage->WriteInteger(Join(path, "ShowCmd"), p.ShowCmd);
    if (options.Contains(TPlacementOption::fpSize) || options.Contains(TPlacementOption::fpLocation)) {
        storage->WriteInteger(Join(path, "Flags"), static_cast<int32_t>(p.Flags));
        storage->WriteInteger(Join(path, "PixelsPerInch"), Screen ? Screen->PixelsPerInch() : 96);
        WriteScreenSpecificText(storage, Join(path, "MinMaxPos"),
                                Format4(p.MinPosition.X, p.MinPosition.Y, p.MaxPosition.X, p.MaxPosition.Y));
        const TRect& r = p.NormalPosition;
        WriteScreenSpecificText(storage, Join(path, "NormPos"), Format4(r.Left, r.Top, r.Right, r.Bottom));
    }
}

void LoadWindowPlacement(TCustomForm* form, TUxCustomAppStorage* storage, const std::string& path,
                         TPlacementOptions options)
{
    if (!form || !storage || options == TPlacementOptions{TPlacementOption::fpActiveControl}) return;
    TWindowPlacement p = GetWindowPlacement(form);
    if (!form->Visible()) p.ShowCmd = SW_HIDE;
    const bool size = options.Contains(TPlacementOption::fpSize);
    const bool location = options.Contains(TPlacementOption::fpLocation);
    if (size || location) {
        bool found = false;
        p.Flags = static_cast<uint32_t>(storage->ReadInteger(Join(path, "Flags"), static_cast<int32_t>(p.Flags)));
        std::string s = ReadScreenSpecificText(storage, Join(path, "MinMaxPos"));
        if (!s.empty()) {
            found = true;
            if (location) p.MinPosition = {Word(s, 1, 0), Word(s, 2, 0)};
            if (size) p.MaxPosition = {Word(s, 3, 0), Word(s, 4, 0)};
        }
        s = ReadScreenSpecificText(storage, Join(path, "NormPos"));
        if (!s.empty()) {
            found = true;
            TRect& r = p.NormalPosition;
            r.Left = location ? Word(s, 1, form->Left()) : form->Left();
            r.Top = location ? Word(s, 2, form->Top()) : form->Top();
            if (size) {
                r.Right = Word(s, 3, form->Width()) + r.Left - Word(s, 1, form->Left());
                r.Bottom = Word(s, 4, form->Height()) + r.Top - Word(s, 2, form->Top());
            } else {
                r.Right = r.Left + form->Width();
                r.Bottom = r.Top + form->Height();
            }
        }
        const int ppi = Screen ? Screen->PixelsPerInch() : 96;
        if (found) found = storage->ReadInteger(Join(path, "PixelsPerInch"), ppi) == ppi;
        if (found && p.NormalPosition.Left < p.NormalPosition.Right) {
            TPosition pos = form->Position();
            if (size && location) pos = TPosition::poDesigned;
            else if (size) { if (pos == TPosition::poDefault) pos = TPosition::poDefaultPosOnly; }
            else if (pos == TPosition::poDefault) pos = TPosition::poDefaultSizeOnly;
            else if (pos != TPosition::poDesigned) pos = TPosition::poDesigned;
            form->SetPosition(pos);
            TWindowPlacement bounds = p;
            bounds.ShowCmd = -1;  // the state follows below
            SetWindowPlacement(form, bounds);
        }
    }
    if (options.Contains(TPlacementOption::fpState)) {
        const bool isMain = !Application || !Application->MainForm() || Application->MainForm() == form;
        const bool maximizedByDefault =
            (isMain && form->FormStyle() == TFormStyle::fsMDIForm) ||
            (form->FormStyle() == TFormStyle::fsNormal && form->Position() == TPosition::poDefault);
        TWindowState state = maximizedByDefault ? TWindowState::wsMaximized : TWindowState::wsNormal;
        switch (storage->ReadInteger(Join(path, "ShowCmd"), 0)) {
        case SW_SHOWNORMAL: case 5: case 9: state = TWindowState::wsNormal; break;
        case SW_SHOWMINIMIZED: case 6: case 7: state = TWindowState::wsMinimized; break;
        case SW_SHOWMAXIMIZED: state = TWindowState::wsMaximized; break;
        default: break;
        }
        if (state == TWindowState::wsMinimized && isMain) {
            // The main form minimizes the application, not itself.
            form->SetWindowState(TWindowState::wsNormal);
            if (Application) Application->Minimize();
            return;
        }
        form->SetWindowState(state);
    }
    form->Update();
}

// --- TUxIniLink / TUxWinMinMaxInfo ----------------------------------------------------

TUxIniLink::~TUxIniLink()
{
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStorage(nullptr);
}

void TUxIniLink::SetStorage(TUxFormPlacement* value)
{
    if (value == FStorage) return;
    if (FStorage) {
        auto& links = FStorage->FLinks;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    FStorage = value;
    if (FStorage) FStorage->FLinks.push_back(this);
}

void TUxWinMinMaxInfo::SetValue(int index, int value)
{
    if (index < 0 || index > 7 || FValues[index] == value) return;
    FValues[index] = value;
    if (FOwner) FOwner->MinMaxChanged();
}

bool TUxWinMinMaxInfo::DefaultMinMaxInfo() const
{
    return std::all_of(std::begin(FValues), std::end(FValues), [](int v) { return v == 0; });
}

void TUxWinMinMaxInfo::Assign(const rtl::TPersistent* source)
{
    if (auto* other = dynamic_cast<const TUxWinMinMaxInfo*>(source)) {
        std::copy(std::begin(other->FValues), std::end(other->FValues), std::begin(FValues));
        if (FOwner) FOwner->MinMaxChanged();
        return;
    }
    rtl::TPersistent::Assign(source);
}

// --- TUxFormPlacement -----------------------------------------------------------------

TUxFormPlacement::TUxFormPlacement(rtl::TComponent* owner)
    : rtl::TComponent(owner), FWinMinMaxInfo(std::make_unique<TUxWinMinMaxInfo>(this))
{
    if (Form()) FOptions = {TPlacementOption::fpState, TPlacementOption::fpSize, TPlacementOption::fpLocation};
    FWinHook = new TUxWindowHook(this);
    FWinHook->SetAfterMessage([this](rtl::TObject* sender, TMessage& msg, bool& handled) {
        WndMessage(sender, msg, handled);
    });
}

TUxFormPlacement::~TUxFormPlacement()
{
    TCustomForm* form = Form();
    if (FEventsHooked && form) {
        form->OnShow = FSaveFormShow;
        form->OnCloseQuery = FSaveFormCloseQuery;
        form->OnDestroy = FSaveFormDestroy;
    }
    std::vector<TUxIniLink*> links = FLinks;
    for (TUxIniLink* link : links) link->SetStorage(nullptr);
    // Unhooked before the form's limits are asked for again.
    FWinHook->SetControl(nullptr);
    if (form && !form->IsDestroying()) UpdateSizeLimits(form);
}

void TUxFormPlacement::SetAppStorage(TUxCustomAppStorage* value)
{
    if (value == FAppStorage) return;
    if (FAppStorage) FAppStorage->RemoveFreeNotification(this);
    FAppStorage = value;
    if (FAppStorage) FAppStorage->FreeNotification(this);
}

void TUxFormPlacement::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FAppStorage) FAppStorage = nullptr;
}

void TUxFormPlacement::SetAppStoragePath(const std::string& value)
{
    FAppStoragePath = value;
    if (!FAppStoragePath.empty() && FAppStoragePath.back() != '\\') FAppStoragePath += '\\';
    if (!ComponentState().Contains(rtl::TComponentStateItem::csLoading)) ExpandFormName();
}

void TUxFormPlacement::ExpandFormName()
{
    const std::string macro = "%FORM_NAME%";
    std::size_t at = rtl::UpperCase(FAppStoragePath).find(macro);
    if (at == std::string::npos || !Owner()) return;
    std::string name;
    if (Form()) {
        name = Owner()->Name();
    } else {
        // A frame: the chain of named owners down to it.
        std::vector<std::string> chain;
        for (rtl::TComponent* c = Owner(); c; c = c->Owner())
            if (!c->Name().empty()) chain.insert(chain.begin(), c->Name());
        for (const std::string& n : chain) name += (name.empty() ? "" : ".") + n;
    }
    FAppStoragePath.replace(at, macro.size(), name);
}

void TUxFormPlacement::Loaded()
{
    rtl::TComponent::Loaded();
    ExpandFormName();
    if (!ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) HookFormEvents();
    UpdateWinHook();
}

std::string TUxFormPlacement::PathOf(const std::string& ident, bool reading)
{
    return TUxCustomAppStorage::ConcatPaths({FAppStoragePath, FAppStorage->TranslatePropertyName(this, ident, reading)});
}

std::string TUxFormPlacement::ReadString(const std::string& ident, const std::string& def)
{
    return FAppStorage && !ident.empty() ? FAppStorage->ReadString(PathOf(ident, true), def) : def;
}
void TUxFormPlacement::WriteString(const std::string& ident, const std::string& value)
{
    if (FAppStorage && !ident.empty()) FAppStorage->WriteString(PathOf(ident, false), value);
}
int32_t TUxFormPlacement::ReadInteger(const std::string& ident, int32_t def)
{
    return FAppStorage && !ident.empty() ? FAppStorage->ReadInteger(PathOf(ident, true), def) : def;
}
void TUxFormPlacement::WriteInteger(const std::string& ident, int32_t value)
{
    if (FAppStorage && !ident.empty()) FAppStorage->WriteInteger(PathOf(ident, false), value);
}
bool TUxFormPlacement::ReadBoolean(const std::string& ident, bool def)
{
    return FAppStorage && !ident.empty() ? FAppStorage->ReadBoolean(PathOf(ident, true), def) : def;
}
void TUxFormPlacement::WriteBoolean(const std::string& ident, bool value)
{
    if (FAppStorage && !ident.empty()) FAppStorage->WriteBoolean(PathOf(ident, false), value);
}
long double TUxFormPlacement::ReadFloat(const std::string& ident, long double def)
{
    return FAppStorage && !ident.empty() ? FAppStorage->ReadFloat(PathOf(ident, true), def) : def;
}
void TUxFormPlacement::WriteFloat(const std::string& ident, long double value)
{
    if (FAppStorage && !ident.empty()) FAppStorage->WriteFloat(PathOf(ident, false), value);
}

rtl::TDateTime TUxFormPlacement::ReadDateTime(const std::string& ident, rtl::TDateTime def)
{
    return FAppStorage && !ident.empty() ? FAppStorage->ReadDateTime(PathOf(ident, true), def) : def;
}
void TUxFormPlacement::WriteDateTime(const std::string& ident, rtl::TDateTime value)
{
    if (FAppStorage && !ident.empty()) FAppStorage->WriteDateTime(PathOf(ident, false), value);
}

void TUxFormPlacement::EraseSections()
{
    if (FAppStorage) FAppStorage->DeleteSubTree(FAppStoragePath);
}

void TUxFormPlacement::SaveWindowState()
{
    TCustomForm* form = Form();
    if (form && FOptions != TPlacementOptions{TPlacementOption::fpActiveControl})
        StoreWindowPlacement(form, FAppStorage, FAppStoragePath, FOptions);
    if (form && FOptions.Contains(TPlacementOption::fpActiveControl) && form->ActiveControl())
        WriteString("ActiveControl", form->ActiveControl()->Name());
    std::vector<TUxIniLink*> links = FLinks;
    for (TUxIniLink* link : links) link->SaveSettings();
}

void TUxFormPlacement::RestoreWindowState()
{
    if (TCustomForm* form = Form()) LoadWindowPlacement(form, FAppStorage, FAppStoragePath, FOptions);
    std::vector<TUxIniLink*> links = FLinks;
    for (TUxIniLink* link : links) link->LoadSettings();
}

void TUxFormPlacement::SaveFormPlacement()
{
    if (!FAppStorage) return;
    ExpandFormName();
    if (BeforeSavePlacement) BeforeSavePlacement(this);
    if (FVersionCheck != TUxFormPlacementVersionCheck::fpvcNocheck) WriteInteger("FormVersion", FVersion);
    if (OnSavePlacement) OnSavePlacement(this);
    SaveWindowState();
    if (AfterSavePlacement) AfterSavePlacement(this);
    FSaved = true;
}

void TUxFormPlacement::RestoreFormPlacement()
{
    if (FAppStorage) {
        ExpandFormName();
        FSaved = false;
        const int stored = ReadInteger("FormVersion", 0);
        bool proceed = FVersionCheck == TUxFormPlacementVersionCheck::fpvcNocheck ||
                       (FVersionCheck == TUxFormPlacementVersionCheck::fpvcCheckGreaterEqual && stored >= FVersion) ||
                       (FVersionCheck == TUxFormPlacementVersionCheck::fpvcCheckEqual && stored == FVersion);
        if (proceed) {
            if (BeforeRestorePlacement) BeforeRestorePlacement(this);
            RestoreWindowState();
            FRestored = true;
            if (OnRestorePlacement) OnRestorePlacement(this);
            TCustomForm* form = Form();
            if (FOptions.Contains(TPlacementOption::fpActiveControl) && form) {
                auto* control = dynamic_cast<TWinControl*>(form->FindComponent(ReadString("ActiveControl", "")));
                if (control && control->CanFocus()) form->SetActiveControl(control);
            }
            if (AfterRestorePlacement) AfterRestorePlacement(this);
        }
        FRestored = true;
    }
    ResetMaximizedPosition();
}

void TUxFormPlacement::HookFormEvents()
{
    TCustomForm* form = Form();
    if (!form || FEventsHooked) return;
    FEventsHooked = true;
    FSaveFormShow = form->OnShow;
    FSaveFormCloseQuery = form->OnCloseQuery;
    FSaveFormDestroy = form->OnDestroy;
    FDefMaximize = form->BorderIcons().Contains(TBorderIcon::biMaximize);
    form->OnShow = [this](rtl::TObject* sender) {
        if (IsActive() && !FRestored) {
            try {
                RestoreFormPlacement();
            } catch (...) {
                if (Application) Application->HandleException(this);
            }
        }
        if (FSaveFormShow) FSaveFormShow(sender);
    };
    form->OnCloseQuery = [this](rtl::TObject* sender, bool& canClose) {
        if (FSaveFormCloseQuery) FSaveFormCloseQuery(sender, canClose);
        if (canClose && IsActive() && Form() && Form()->HandleAllocated()) {
            try {
                SaveFormPlacement();
            } catch (...) {
                if (Application) Application->HandleException(this);
            }
        }
    };
    form->OnDestroy = [this](rtl::TObject* sender) {
        if (IsActive() && !FSaved) {
            FDestroying = true;
            try {
                SaveFormPlacement();
            } catch (...) {
                if (Application) Application->HandleException(this);
            }
            FDestroying = false;
        }
        if (FSaveFormDestroy) FSaveFormDestroy(sender);
    };
    if (FPreventResize) ApplyPreventResize();
}

void TUxFormPlacement::SetPreventResize(bool value)
{
    TCustomForm* form = Form();
    if (!form || value == FPreventResize) return;
    FPreventResize = value;
    ResetMaximizedPosition();
    ApplyPreventResize();
}

void TUxFormPlacement::ApplyPreventResize()
{
    TCustomForm* form = Form();
    if (!form || ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return;
    if (FPreventResize) FDefMaximize = form->BorderIcons().Contains(TBorderIcon::biMaximize);
    const bool active = FActive;
    FActive = false;
    TBorderIcons icons = form->BorderIcons();
    if (FPreventResize || !FDefMaximize || form->BorderStyle() == TBorderStyle::bsDialog)
        icons.Exclude(TBorderIcon::biMaximize);
    else
        icons.Include(TBorderIcon::biMaximize);
    form->SetBorderIcons(icons);
    FActive = active;
    if (!ComponentState().Contains(rtl::TComponentStateItem::csLoading)) UpdateWinHook();
}

void TUxFormPlacement::MinMaxChanged()
{
    ResetMaximizedPosition();
    if (!ComponentState().Contains(rtl::TComponentStateItem::csLoading)) UpdateWinHook();
}

void TUxFormPlacement::UpdateWinHook()
{
    TCustomForm* form = Form();
    if (!form || ComponentState().Contains(rtl::TComponentStateItem::csDesigning)) return;
    const bool hook = FPreventResize || !FWinMinMaxInfo->DefaultMinMaxInfo();
    FWinHook->SetControl(hook ? form : nullptr);
    // The form asks its window procedure again: limits and maximised place.
    UpdateSizeLimits(form);
}

void TUxFormPlacement::WndMessage(rtl::TObject*, TMessage& msg, bool&)
{
    TCustomForm* form = Form();
    if (msg.Msg == WM_NCHITTEST && form && FPreventResize) {
        // A fixed-size form offers no sizing border.
        if (msg.Result >= HTLEFT && msg.Result <= HTBOTTOMRIGHT) msg.Result = HTNOWHERE;
        return;
    }
    if (msg.Msg != WM_GETMINMAXINFO || !form || !msg.LParam) return;
    auto* info = reinterpret_cast<TMinMaxInfo*>(msg.LParam);
    if (FPreventResize) {
        // The size the form shows with.
        if (form->HandleAllocated() && form->Visible()) {
            info->ptMinTrackSize = info->ptMaxTrackSize = TPoint(form->Width(), form->Height());
            msg.Result = 1;
        }
        return;
    }
    const TUxWinMinMaxInfo& m = *FWinMinMaxInfo;
    if (m.DefaultMinMaxInfo()) {
        info->ptMaxPosition = TPoint(0, 0);
    } else {
        auto set = [](int value, int& target) { if (value != 0) target = value; };
        set(m.MinTrackWidth(), info->ptMinTrackSize.X);
        set(m.MinTrackHeight(), info->ptMinTrackSize.Y);
        set(m.MaxTrackWidth(), info->ptMaxTrackSize.X);
        set(m.MaxTrackHeight(), info->ptMaxTrackSize.Y);
        set(m.MaxSizeWidth(), info->ptMaxSize.X);
        set(m.MaxSizeHeight(), info->ptMaxSize.Y);
        set(m.MaxPosLeft(), info->ptMaxPosition.X);
        set(m.MaxPosTop(), info->ptMaxPosition.Y);
    }
    msg.Result = 1;
}

void TUxFormPlacement::ResetMaximizedPosition()
{
    TCustomForm* form = Form();
    if (!form || !form->HandleAllocated() || ComponentState().Contains(rtl::TComponentStateItem::csLoading) ||
        FPreventResize || !FWinMinMaxInfo->DefaultMinMaxInfo())
        return;
    TWindowPlacement p = GetWindowPlacement(form);
    p.ShowCmd = -1;  // the state stays as it is
    TPoint border(0, 0);
    switch (form->BorderStyle()) {
    case TBorderStyle::bsSingle:
    case TBorderStyle::bsToolWindow: border = TPoint(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)); break;
    case TBorderStyle::bsSizeable:
    case TBorderStyle::bsSizeToolWin: border = TPoint(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)); break;
    case TBorderStyle::bsDialog: border = TPoint(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)); break;
    default: break;
    }
    p.MaxPosition = TPoint(-border.X, -border.Y);
    p.NormalPosition = TRect();  // the bounds stay too
    SetWindowPlacement(form, p);
}

} // namespace dbgrids
