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
#include "platform/gui/Printers.h"

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

// Controls of a file dialog that a caller may hide.
enum class TFileDialogControl { fdcOkButton, fdcCancelButton, fdcLookIn, fdcFileName, fdcFileType };
using TFileDialogControls = rtl::Set<TFileDialogControl, 8>;

// What a file dialog asks and what it answers (FileName, Files, FilterIndex).
// A description in Filter that ends with its own "(patterns)" is shown as
// it is; otherwise the patterns are added in parentheses.
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
    // Texts of the buttons and labels, "&" marking the access key; empty
    // keeps the desktop's own.  The desktop dialog has no read-only box and
    // no help button: their texts are passed on but not shown.
    std::string OkButtonText;
    std::string CancelButtonText;
    std::string LookInLabel;
    std::string FileNameLabel;
    std::string FileTypeLabel;
    std::string ReadOnlyLabel;
    std::string HelpButtonText;
    TFileDialogControls HiddenControls;   // a label is hidden with its list or edit
};

enum class TPrintRange { prAllPages, prSelection, prPageNums };
// What the print dialog starts from and what the user chose: the printer
// (PrinterIndex into Printer()->Printers(), -1 the default one) or a PDF
// file (OutputFileName not empty), the paper and its orientation.
struct TPrintDialogRequest {
    int Copies = 1;
    bool Collate = false;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    TPrintRange PrintRange = TPrintRange::prAllPages;
    bool AllowPageNums = false;
    bool AllowSelection = false;
    int PrinterIndex = -1;
    std::string OutputFileName;
    double PaperWidthMm = 210, PaperHeightMm = 297;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
};

// A folder-browse request: the title above the folder tree, the folder
// selected at the start (no trailing delimiter), whether the dialog offers
// to make a new folder, and where it goes: when the dialog is laid out,
// Place receives its size and answers its top-left screen position (not
// called: the dialog centres on its owner).  Flags keeps the classic
// request bits (1 file-system folders only, 0x40 new style with a
// new-folder button, 0x200 no new-folder button) for those who log them.
// On success Directory holds the chosen folder.
struct TFolderBrowseRequest {
    std::string Title;
    std::string InitialSelection;
    bool AllowNewFolder = true;
    uint32_t Flags = 0x41;
    class TWinControl* Owner = nullptr;
    std::function<TPoint(TSize dialogSize)> Place;
    TPoint PlacedAt{-1, -1};       // where the dialog was put (filled in)
    std::string Directory;
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
    // The full folder request; the default asks BrowseFolder.
    virtual bool BrowseFolderRequest(TFolderBrowseRequest& request)
    {
        std::string dir = request.InitialSelection;
        if (!BrowseFolder(request.Title, "", dir)) return false;
        request.Directory = dir;
        return true;
    }
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
        TPrintDialogRequest Print;   // what the print dialog was started from
    };
    std::vector<Call> Calls;

    std::deque<int> MessageAnswers;                   // ID* or mr*
    struct FileAnswer { bool Ok = false; std::string FileName; int FilterIndex = 0; std::vector<std::string> Files{}; };
    std::deque<FileAnswer> FileAnswers;
    // The chosen settings replace the request as a whole.
    std::deque<std::pair<bool, TPrintDialogRequest>> PrintAnswers;
    std::deque<std::pair<bool, TColor>> ColorAnswers;
    std::deque<std::pair<bool, std::string>> FontAnswers;     // font name; size kept
    std::deque<std::pair<bool, std::string>> FolderAnswers;
    std::deque<std::pair<bool, std::string>> InputAnswers;
    // Folder requests as asked (a copy each), and the size the scripted
    // folder dialog reports to the request's placement.
    std::vector<TFolderBrowseRequest> FolderRequests;
    TSize FolderDialogSize{420, 380};

    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
    int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                   const std::string& caption, const std::vector<std::string>& buttonCaptions) override;
    bool FileDialog(TFileDialogRequest& request) override;
    bool PrintDialog(TPrintDialogRequest& request) override;
    bool ColorDialog(TColor& color, bool fullOpen, std::vector<TColor>& customColors) override;
    bool FontDialog(TFont& font) override;
    bool BrowseFolder(const std::string& caption, const std::string& root, std::string& directory) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    // Takes the next FolderAnswers entry; an answer that throws is not scripted.
    bool BrowseFolderRequest(TFolderBrowseRequest& request) override;
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
    // Texts of the buttons and labels and the controls hidden, as in
    // TFileDialogRequest.
    std::string OkButtonText;
    std::string CancelButtonText;
    std::string LookInLabel;
    std::string FileNameLabel;
    std::string FileTypeLabel;
    std::string ReadOnlyLabel;
    std::string HelpButtonText;
    TFileDialogControls HiddenControls;

protected:
    bool DoExecute(bool save);
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(rtl::TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override { return DoExecute(true); }
};

// Shows the print dialog on the settings of Printer(); OK hands the choice
// (printer or PDF file, copies, paper, orientation) to Printer().
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

// The desktop's file dialog as it is set up for a request, read without
// showing it: what each label and button says, whether it is shown, whether
// its "&" marks an access key (rather than showing), the filter lines and
// the suggested file name.
struct TDesktopFileDialogView {
    struct Item {
        std::string Text;
        bool Shown = false;
        bool AccessKey = false;
    };
    Item LookIn, FileName, FileType, OkButton, CancelButton;   // labels and buttons
    bool LookInListShown = false, FileNameEditShown = false, FileTypeListShown = false;
    std::vector<std::string> Filters;
    std::string FileNameText;
};
TDesktopFileDialogView ViewDesktopFileDialog(const TFileDialogRequest& request);

// --------------------------------------------------------- desktop services

// Opens a URL ("https://…", "mailto:…") or a document with the desktop's
// program for it (xdg-open).  False when it could not be started.
bool ShellOpen(const std::string& target);
// Replaces what ShellOpen does (tests record instead); nullptr restores it.
void SetShellOpenHandler(std::function<bool(const std::string&)> handler);

// Plays the desktop's alert sound.
void MessageBeep(uint32_t type = 0);
// Replaces the sound (tests count beeps); nullptr restores it.
void SetMessageBeepHandler(std::function<void(uint32_t type)> handler);

// The program's icon: every window shows it, and the desktop shows it for
// the program.  ProgramIcon() is null until one is set.
void SetProgramIcon(const TGraphic& icon);
const TPicture* ProgramIcon();

} // namespace gui
