// Common dialogs (open / save, print, colour, font, folder browse) and
// message boxes.  Every dialog goes through one dialog service; the
// desktop service shows Qt dialogs, tests install a scripted service that
// answers from a queue and records what was asked.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"

namespace gui {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = rtl::Set<TMsgDlgBtn, 16>;
inline TMsgDlgButtons mbYesNo() { return {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}; }
inline TMsgDlgButtons mbYesNoCancel() { return {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel}; }
inline TMsgDlgButtons mbOKCancel() { return {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}; }
inline TMsgDlgButtons mbAbortRetryIgnore() { return {TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbIgnore}; }

// File dialog options (the classic set the callers use).
enum class TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
    ofForceShowHidden,
};
using TOpenOptions = rtl::Set<TOpenOption, 32>;

// What a file dialog asks and what it answers (FileName, Files, FilterIndex).
struct TFileDialogRequest {
    bool Save = false;
    std::string Title;
    std::string Filter;          // "Desc|*.a;*.b|Desc2|*.c"
    int FilterIndex = 1;         // 1-based
    std::string DefaultExt;      // without the dot
    std::string InitialDir;
    std::string FileName;
    std::vector<std::string> Files;
    TOpenOptions Options;
    std::string OkButtonText;    // empty: the desktop's own texts
    std::string CancelButtonText;
    std::string FileNameLabel;
    std::string FileTypeLabel;
    bool HideFileType = false;
};

enum class TPrintRange { prAllPages, prSelection, prPageNums };
struct TPrintDialogRequest {
    int Copies = 1;
    bool Collate = false;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    TPrintRange PrintRange = TPrintRange::prAllPages;
    bool AllowPageNums = false;
    bool AllowSelection = false;
    int PrinterIndex = -1;
};

class IDialogService {
public:
    virtual ~IDialogService() = default;
    // flags: MB_*; answer: ID*.
    virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
    // answer: mr*; captions of the buttons may be replaced (same order as buttons).
    virtual int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                           const std::string& caption, const std::vector<std::string>& buttonCaptions) = 0;
    // True when the user chose; the request then holds the answer.
    virtual bool FileDialog(TFileDialogRequest& request) = 0;
    virtual bool PrintDialog(TPrintDialogRequest& request) = 0;
    virtual bool ColorDialog(TColor& color, bool fullOpen, std::vector<TColor>& customColors) = 0;
    virtual bool FontDialog(TFont& font) = 0;
    virtual bool BrowseFolder(const std::string& caption, const std::string& root, std::string& directory) = 0;
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
};

// The service in use (the desktop's Qt dialogs unless replaced).
IDialogService& GetDialogService();
// Replaces the service; returns the previous one (nullptr restores the desktop's).
std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> service);

// A service for tests: each call takes the next scripted answer of its
// kind (a missing answer counts as Cancel) and is recorded.
class TScriptedDialogService : public IDialogService {
public:
    struct Call {
        std::string Kind;        // "MessageBox", "MessageDlg", "File", "Print", "Color", "Font", "Folder", "Input"
        std::string Text;        // message text or title
        std::string Caption;
        uint32_t Flags = 0;      // MB_* for message boxes
        TMsgDlgType Type = TMsgDlgType::mtCustom;
        TMsgDlgButtons Buttons;
        std::vector<std::string> ButtonCaptions;
        TFileDialogRequest File;
    };
    std::vector<Call> Calls;

    std::deque<int> MessageAnswers;                   // ID* or mr*
    struct FileAnswer { bool Ok; std::string FileName; int FilterIndex = 0; std::vector<std::string> Files; };
    std::deque<FileAnswer> FileAnswers;
    std::deque<std::pair<bool, TPrintDialogRequest>> PrintAnswers;
    std::deque<std::pair<bool, TColor>> ColorAnswers;
    std::deque<std::pair<bool, std::string>> FontAnswers;     // font name; size kept
    std::deque<std::pair<bool, std::string>> FolderAnswers;
    std::deque<std::pair<bool, std::string>> InputAnswers;

    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
    int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                   const std::string& caption, const std::vector<std::string>& buttonCaptions) override;
    bool FileDialog(TFileDialogRequest& request) override;
    bool PrintDialog(TPrintDialogRequest& request) override;
    bool ColorDialog(TColor& color, bool fullOpen, std::vector<TColor>& customColors) override;
    bool FontDialog(TFont& font) override;
    bool BrowseFolder(const std::string& caption, const std::string& root, std::string& directory) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
};

// ------------------------------------------------------------ message boxes

// The dialog's caption is the kind ("Warning", "Error", "Information",
// "Confirm") or the application title for mtCustom.
int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
// The same with a caption and button texts of the caller's choice.
int MessageDlgCaptions(const std::string& msg, const std::string& caption, TMsgDlgType type,
                       TMsgDlgButtons buttons, const std::vector<std::string>& buttonCaptions);
void ShowMessage(const std::string& msg);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);
// Browses for a folder starting at directory; true and the chosen folder when chosen.
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);

// -------------------------------------------------------- dialog components

class TCommonDialog : public rtl::TComponent {
public:
    explicit TCommonDialog(rtl::TComponent* owner) : rtl::TComponent(owner) {}
    virtual bool Execute() = 0;
    rtl::TNotifyEvent OnShow;
    rtl::TNotifyEvent OnClose;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(rtl::TComponent* owner) : TCommonDialog(owner) {}
    bool Execute() override;
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName;
    std::vector<std::string> Files;
    TOpenOptions Options{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing};
    // Texts of the OK button and of the labels; empty keeps the desktop's.
    std::string OkButtonText;
    std::string CancelButtonText;
    std::string FileNameLabel;
    std::string FileTypeLabel;
    bool HideFileType = false;

protected:
    bool DoExecute(bool save);
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(rtl::TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override { return DoExecute(true); }
};

class TPrintDialog : public TCommonDialog {
public:
    explicit TPrintDialog(rtl::TComponent* owner) : TCommonDialog(owner) {}
    bool Execute() override;
    int Copies = 1;
    bool Collate = false;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    TPrintRange PrintRange = TPrintRange::prAllPages;
    bool AllowPageNums = false;
    bool AllowSelection = false;
};

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(rtl::TComponent* owner) : TCommonDialog(owner) {}
    bool Execute() override;
    TColor Color = clBlack;
    bool FullOpen = false;
    std::vector<TColor> CustomColors;
};

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(rtl::TComponent* owner);
    bool Execute() override;
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* f) { FFont->Assign(f); }

private:
    std::unique_ptr<TFont> FFont;
};

// --------------------------------------------------------- desktop services

// Opens a URL ("https://…", "mailto:…") or a document with the desktop's
// program for it (xdg-open).  False when it could not be started.
bool ShellOpen(const std::string& target);
// Replaces what ShellOpen does (tests record instead); nullptr restores it.
void SetShellOpenHandler(std::function<bool(const std::string&)> handler);

// Plays the desktop's alert sound.
void MessageBeep(uint32_t type = 0);

} // namespace gui
