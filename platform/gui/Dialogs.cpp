// The dialog service: the desktop's Qt dialogs and the scripted one for
// tests; message box helpers, dialog components, xdg-open.
#include "platform/gui/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/Printers.h"
#include "platform/gui/QtBridge.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"

namespace gui {

namespace {

QWidget* DialogParent()
{
    if (TCustomForm* f = Screen->ActiveForm()) return f->Data().top;
    return nullptr;
}

// "Desc|*.a;*.b|Desc2|*.c" as pairs of description and patterns.
std::vector<std::pair<std::string, std::vector<std::string>>> ParseFilter(const std::string& filter)
{
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    std::vector<std::string> parts;
    std::string cur;
    for (char ch : filter) {
        if (ch == '|') { parts.push_back(cur); cur.clear(); }
        else cur += ch;
    }
    if (!cur.empty() || (!filter.empty() && filter.back() == '|')) parts.push_back(cur);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::vector<std::string> pats;
        std::string p;
        for (char ch : parts[i + 1]) {
            if (ch == ';') { if (!p.empty()) pats.push_back(rtl::Trim(p)); p.clear(); }
            else p += ch;
        }
        if (!p.empty()) pats.push_back(rtl::Trim(p));
        out.emplace_back(parts[i], pats);
    }
    return out;
}

// The filter lines of the desktop dialog, which reads the patterns from a
// final "(...)": "PNG files (*.png)" with "*.png" stays as it is, "PNG
// files" becomes "PNG files (*.png)", and a description whose own final
// group names other patterns gets the real ones in its place.
QStringList QtFilters(const std::string& filter)
{
    QStringList list;
    for (auto& [desc, pats] : ParseFilter(filter)) {
        QString p;
        for (auto& s : pats) p += (p.isEmpty() ? "" : " ") + QString::fromStdString(s);
        QString d = QString::fromStdString(desc).trimmed();
        if (d.endsWith(')')) {
            const qsizetype open = d.lastIndexOf('(');
            if (open >= 0) d = d.left(open).trimmed();
        }
        list << (d.isEmpty() ? p : d + " (" + p + ")");
    }
    return list;
}

// The parts of the desktop file dialog (its widgets' object names).
struct FileDialogParts {
    QLabel *lookInLabel, *fileNameLabel, *fileTypeLabel;
    QWidget *lookInList, *fileNameEdit, *fileTypeList;
    QPushButton *ok, *cancel;
};

FileDialogParts PartsOf(QFileDialog& dlg)
{
    FileDialogParts p{};
    p.lookInLabel = dlg.findChild<QLabel*>("lookInLabel");
    p.fileNameLabel = dlg.findChild<QLabel*>("fileNameLabel");
    p.fileTypeLabel = dlg.findChild<QLabel*>("fileTypeLabel");
    p.lookInList = dlg.findChild<QWidget*>("lookInCombo");
    p.fileNameEdit = dlg.findChild<QWidget*>("fileNameEdit");
    p.fileTypeList = dlg.findChild<QWidget*>("fileTypeCombo");
    if (auto* box = dlg.findChild<QDialogButtonBox*>("buttonBox")) {
        p.ok = box->button(QDialogButtonBox::Open);
        if (!p.ok) p.ok = box->button(QDialogButtonBox::Save);
        p.cancel = box->button(QDialogButtonBox::Cancel);
    }
    return p;
}

// Sets up the desktop dialog for a request; returns its filter lines.
QStringList SetUpFileDialog(QFileDialog& dlg, const TFileDialogRequest& r)
{
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(r.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (r.Save) dlg.setFileMode(QFileDialog::AnyFile);
    else dlg.setFileMode(r.Options.Contains(TOpenOption::ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                                              : QFileDialog::ExistingFile);
    if (!r.Options.Contains(TOpenOption::ofOverwritePrompt)) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtFilters(r.Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        const int i = std::clamp(r.FilterIndex, 1, static_cast<int>(filters.size())) - 1;
        dlg.selectNameFilter(filters[i]);
    }
    if (!r.FileName.empty()) dlg.selectFile(QString::fromStdString(r.FileName));
    auto label = [&](QFileDialog::DialogLabel which, const std::string& text) {
        if (!text.empty()) dlg.setLabelText(which, QString::fromStdString(text));
    };
    label(QFileDialog::Accept, r.OkButtonText);
    label(QFileDialog::Reject, r.CancelButtonText);
    label(QFileDialog::LookIn, r.LookInLabel);
    label(QFileDialog::FileName, r.FileNameLabel);
    label(QFileDialog::FileType, r.FileTypeLabel);
    // The labels name their controls, so that "&" marks an access key
    // instead of showing.
    const FileDialogParts p = PartsOf(dlg);
    if (p.lookInLabel && p.lookInList) p.lookInLabel->setBuddy(p.lookInList);
    if (p.fileNameLabel && p.fileNameEdit) p.fileNameLabel->setBuddy(p.fileNameEdit);
    if (p.fileTypeLabel && p.fileTypeList) p.fileTypeLabel->setBuddy(p.fileTypeList);
    auto hide = [&](TFileDialogControl c, std::initializer_list<QWidget*> widgets) {
        if (!r.HiddenControls.Contains(c)) return;
        for (QWidget* w : widgets)
            if (w) w->setVisible(false);
    };
    hide(TFileDialogControl::fdcOkButton, {p.ok});
    hide(TFileDialogControl::fdcCancelButton, {p.cancel});
    hide(TFileDialogControl::fdcLookIn, {p.lookInLabel, p.lookInList});
    hide(TFileDialogControl::fdcFileName, {p.fileNameLabel, p.fileNameEdit});
    hide(TFileDialogControl::fdcFileType, {p.fileTypeLabel, p.fileTypeList});
    return filters;
}

class DesktopDialogService : public IDialogService {
public:
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override
    {
        EnsureQtApp();
        QMessageBox box(DialogParent());
        box.setWindowTitle(QString::fromStdString(caption));
        box.setText(QString::fromStdString(text));
        switch (flags & 0xF0) {
        case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
        switch (flags & 0xF) {
        case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
        case MB_ABORTRETRYIGNORE: buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}}; break;
        case MB_YESNOCANCEL: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}; break;
        case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
        case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
        default: buttons = {{QMessageBox::Ok, IDOK}}; break;
        }
        QMessageBox::StandardButtons set;
        for (auto& b : buttons) set |= b.first;
        box.setStandardButtons(set);
        const std::size_t def = (flags & 0x300) >> 8;
        if (def < buttons.size()) box.setDefaultButton(buttons[def].first);
        const int r = box.exec();
        for (auto& b : buttons)
            if (b.first == r) return b.second;
        return (flags & 0xF) == MB_OK ? IDOK : IDCANCEL;
    }

    int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, const std::string& caption,
                   const std::vector<std::string>& captions) override
    {
        EnsureQtApp();
        QMessageBox box(DialogParent());
        box.setWindowTitle(QString::fromStdString(caption));
        box.setText(QString::fromStdString(msg));
        switch (type) {
        case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); break;
        case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); break;
        case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); break;
        case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); break;
        default: break;
        }
        static const std::pair<TMsgDlgBtn, std::pair<QMessageBox::StandardButton, int>> kMap[] = {
            {TMsgDlgBtn::mbYes, {QMessageBox::Yes, mrYes}}, {TMsgDlgBtn::mbNo, {QMessageBox::No, mrNo}},
            {TMsgDlgBtn::mbOK, {QMessageBox::Ok, mrOk}}, {TMsgDlgBtn::mbCancel, {QMessageBox::Cancel, mrCancel}},
            {TMsgDlgBtn::mbAbort, {QMessageBox::Abort, mrAbort}}, {TMsgDlgBtn::mbRetry, {QMessageBox::Retry, mrRetry}},
            {TMsgDlgBtn::mbIgnore, {QMessageBox::Ignore, mrIgnore}}, {TMsgDlgBtn::mbAll, {QMessageBox::YesToAll, mrAll}},
            {TMsgDlgBtn::mbNoToAll, {QMessageBox::NoToAll, mrNoToAll}},
            {TMsgDlgBtn::mbYesToAll, {QMessageBox::YesToAll, mrYesToAll}},
            {TMsgDlgBtn::mbHelp, {QMessageBox::Help, mrNone}}, {TMsgDlgBtn::mbClose, {QMessageBox::Close, mrClose}},
        };
        std::vector<std::pair<QAbstractButton*, int>> made;
        std::size_t n = 0;
        for (auto& [b, qb] : kMap) {
            if (!buttons.Contains(b)) continue;
            QPushButton* pb = box.addButton(qb.first);
            if (n < captions.size()) pb->setText(QString::fromStdString(captions[n]));
            ++n;
            made.emplace_back(pb, qb.second);
        }
        box.exec();
        for (auto& m : made)
            if (box.clickedButton() == m.first) return m.second;
        return mrCancel;
    }

    bool FileDialog(TFileDialogRequest& r) override
    {
        EnsureQtApp();
        QFileDialog dlg(DialogParent(), QString::fromStdString(r.Title), QString::fromStdString(r.InitialDir));
        const QStringList filters = SetUpFileDialog(dlg, r);
        if (dlg.exec() != QDialog::Accepted) return false;
        const QStringList files = dlg.selectedFiles();
        if (files.isEmpty()) return false;
        r.Files.clear();
        for (const QString& f : files) r.Files.push_back(f.toStdString());
        r.FileName = r.Files.front();
        r.FilterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
        if (r.FilterIndex <= 0) r.FilterIndex = 1;
        return true;
    }

    bool PrintDialog(TPrintDialogRequest& r) override
    {
        EnsureQtApp();
        // The dialog starts from the request (the printer's settings) and
        // its choice is read back from the same device.
        QPrinter printer(QPrinter::HighResolution);
        const std::vector<std::string> names = gui::Printer()->Printers();
        if (!r.OutputFileName.empty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(r.OutputFileName));
        } else if (r.PrinterIndex >= 0 && r.PrinterIndex < static_cast<int>(names.size())) {
            printer.setPrinterName(QString::fromStdString(names[static_cast<std::size_t>(r.PrinterIndex)]));
        }
        printer.setCopyCount(r.Copies);
        printer.setCollateCopies(r.Collate);
        if (r.PaperWidthMm > 0 && r.PaperHeightMm > 0)
            printer.setPageSize(QPageSize(QSizeF(r.PaperWidthMm, r.PaperHeightMm), QPageSize::Millimeter));
        printer.setPageOrientation(r.Orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                                     : QPageLayout::Portrait);
        QPrintDialog dlg(&printer, DialogParent());
        if (r.AllowPageNums) {
            dlg.setMinMax(r.MinPage, r.MaxPage);
            dlg.setFromTo(r.FromPage, r.ToPage);
        }
        QAbstractPrintDialog::PrintDialogOptions opts;
        if (r.AllowPageNums) opts |= QAbstractPrintDialog::PrintPageRange;
        if (r.AllowSelection) opts |= QAbstractPrintDialog::PrintSelection;
        opts |= QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies;
        dlg.setOptions(opts);
        if (dlg.exec() != QDialog::Accepted) return false;
        r.Copies = printer.copyCount();
        r.Collate = printer.collateCopies();
        r.FromPage = printer.fromPage();
        r.ToPage = printer.toPage();
        r.PrintRange = printer.printRange() == QPrinter::PageRange ? TPrintRange::prPageNums
                       : printer.printRange() == QPrinter::Selection ? TPrintRange::prSelection
                                                                      : TPrintRange::prAllPages;
        r.OutputFileName = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName().toStdString()
                                                                         : std::string();
        r.PrinterIndex = -1;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == printer.printerName().toStdString()) r.PrinterIndex = static_cast<int>(i);
        const QPageLayout layout = printer.pageLayout();
        const QSizeF paper = layout.pageSize().size(QPageSize::Millimeter);
        if (paper.width() > 0 && paper.height() > 0) {
            r.PaperWidthMm = paper.width();
            r.PaperHeightMm = paper.height();
        }
        r.Orientation = layout.orientation() == QPageLayout::Landscape ? TPrinterOrientation::poLandscape
                                                                       : TPrinterOrientation::poPortrait;
        return true;
    }

    bool ColorDialog(TColor& color, bool fullOpen, std::vector<TColor>& custom) override
    {
        EnsureQtApp();
        for (std::size_t i = 0; i < custom.size() && i < 16; ++i)
            QColorDialog::setCustomColor(static_cast<int>(i), qt::MakeColor(custom[i]));
        (void)fullOpen;
        const QColor c = QColorDialog::getColor(qt::MakeColor(color), DialogParent());
        if (!c.isValid()) return false;
        color = RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
        return true;
    }

    bool FontDialog(TFont& font) override
    {
        EnsureQtApp();
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, qt::MakeFont(font), DialogParent());
        if (!ok) return false;
        font.SetName(f.family().toStdString());
        if (f.pointSize() > 0) font.SetSize(f.pointSize());
        TFontStyles st;
        if (f.bold()) st.Include(TFontStyle::fsBold);
        if (f.italic()) st.Include(TFontStyle::fsItalic);
        if (f.underline()) st.Include(TFontStyle::fsUnderline);
        if (f.strikeOut()) st.Include(TFontStyle::fsStrikeOut);
        font.SetStyle(st);
        return true;
    }

    bool BrowseFolder(const std::string& caption, const std::string& root, std::string& dir) override
    {
        EnsureQtApp();
        const QString start = QString::fromStdString(dir.empty() ? root : dir);
        const QString d = QFileDialog::getExistingDirectory(DialogParent(), QString::fromStdString(caption), start,
                                                            QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (d.isEmpty()) return false;
        dir = d.toStdString();
        return true;
    }

    bool BrowseFolderRequest(TFolderBrowseRequest& r) override
    {
        EnsureQtApp();
        QWidget* owner = r.Owner ? ControlAccess::Widget(r.Owner) : DialogParent();
        if (owner) owner = owner->window();
        QFileDialog dlg(owner, QString::fromStdString(r.Title), QString::fromStdString(r.InitialSelection));
        dlg.setFileMode(QFileDialog::Directory);
        QFileDialog::Options o = QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog;
        // Without the new-folder button the dialog cannot make folders.
        if (!r.AllowNewFolder) o |= QFileDialog::ReadOnly;
        dlg.setOptions(o);
        if (!r.InitialSelection.empty()) dlg.selectFile(QString::fromStdString(r.InitialSelection));
        if (r.Place) {
            dlg.adjustSize();
            const TPoint p = r.Place(TSize{dlg.width(), dlg.height()});
            dlg.move(p.X, p.Y);
            r.PlacedAt = p;
        }
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
        r.Directory = dlg.selectedFiles().front().toStdString();
        return true;
    }

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override
    {
        EnsureQtApp();
        bool ok = false;
        const QString v = QInputDialog::getText(DialogParent(), QString::fromStdString(caption),
                                                QString::fromStdString(prompt), QLineEdit::Normal,
                                                QString::fromStdString(value), &ok);
        if (!ok) return false;
        value = v.toStdString();
        return true;
    }
};

std::unique_ptr<IDialogService>& ServiceSlot()
{
    static std::unique_ptr<IDialogService> service = std::make_unique<DesktopDialogService>();
    return service;
}

std::function<bool(const std::string&)>& ShellHandler()
{
    static std::function<bool(const std::string&)> handler;
    return handler;
}

} // namespace

IDialogService& GetDialogService() { return *ServiceSlot(); }

std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> service)
{
    std::unique_ptr<IDialogService> old = std::move(ServiceSlot());
    ServiceSlot() = service ? std::move(service) : std::make_unique<DesktopDialogService>();
    return old;
}

TDesktopFileDialogView ViewDesktopFileDialog(const TFileDialogRequest& r)
{
    EnsureQtApp();
    QFileDialog dlg(nullptr, QString::fromStdString(r.Title), QString::fromStdString(r.InitialDir));
    const QStringList filters = SetUpFileDialog(dlg, r);
    const FileDialogParts p = PartsOf(dlg);
    TDesktopFileDialogView v;
    auto label = [](QLabel* l) {
        TDesktopFileDialogView::Item i;
        if (!l) return i;
        i.Text = l->text().toStdString();
        i.Shown = !l->isHidden();
        i.AccessKey = l->buddy() != nullptr && l->text().contains('&');
        return i;
    };
    auto button = [](QPushButton* b) {
        TDesktopFileDialogView::Item i;
        if (!b) return i;
        i.Text = b->text().toStdString();
        i.Shown = !b->isHidden();
        i.AccessKey = b->text().contains('&');
        return i;
    };
    v.LookIn = label(p.lookInLabel);
    v.FileName = label(p.fileNameLabel);
    v.FileType = label(p.fileTypeLabel);
    v.OkButton = button(p.ok);
    v.CancelButton = button(p.cancel);
    v.LookInListShown = p.lookInList && !p.lookInList->isHidden();
    v.FileNameEditShown = p.fileNameEdit && !p.fileNameEdit->isHidden();
    v.FileTypeListShown = p.fileTypeList && !p.fileTypeList->isHidden();
    for (const QString& f : filters) v.Filters.push_back(f.toStdString());
    if (auto* edit = qobject_cast<QLineEdit*>(p.fileNameEdit)) v.FileNameText = edit->text().toStdString();
    return v;
}

// -------------------------------------------------------- scripted service

int TScriptedDialogService::MessageBox(const std::string& text, const std::string& caption, uint32_t flags)
{
    Call c;
    c.Kind = "MessageBox"; c.Text = text; c.Caption = caption; c.Flags = flags;
    Calls.push_back(c);
    if (MessageAnswers.empty()) return (flags & 0xF) == MB_OK ? IDOK : IDCANCEL;
    const int r = MessageAnswers.front();
    MessageAnswers.pop_front();
    return r;
}

int TScriptedDialogService::MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                                       const std::string& caption, const std::vector<std::string>& captions)
{
    Call c;
    c.Kind = "MessageDlg"; c.Text = msg; c.Caption = caption; c.Type = type; c.Buttons = buttons;
    c.ButtonCaptions = captions;
    Calls.push_back(c);
    if (MessageAnswers.empty()) return buttons.Contains(TMsgDlgBtn::mbCancel) ? mrCancel : buttons.Contains(TMsgDlgBtn::mbOK) ? mrOk : mrNo;
    const int r = MessageAnswers.front();
    MessageAnswers.pop_front();
    return r;
}

bool TScriptedDialogService::FileDialog(TFileDialogRequest& request)
{
    Call c;
    c.Kind = "File"; c.Text = request.Title; c.File = request;
    Calls.push_back(c);
    if (FileAnswers.empty()) return false;
    FileAnswer a = FileAnswers.front();
    FileAnswers.pop_front();
    if (!a.Ok) return false;
    request.FileName = a.FileName;
    request.Files = a.Files.empty() ? std::vector<std::string>{a.FileName} : a.Files;
    if (a.FilterIndex > 0) request.FilterIndex = a.FilterIndex;
    return true;
}

bool TScriptedDialogService::PrintDialog(TPrintDialogRequest& request)
{
    Call c;
    c.Kind = "Print";
    c.Print = request;
    Calls.push_back(c);
    if (PrintAnswers.empty()) return false;
    auto a = PrintAnswers.front();
    PrintAnswers.pop_front();
    if (a.first) request = a.second;
    return a.first;
}

bool TScriptedDialogService::ColorDialog(TColor& color, bool, std::vector<TColor>&)
{
    Call c;
    c.Kind = "Color";
    Calls.push_back(c);
    if (ColorAnswers.empty()) return false;
    auto a = ColorAnswers.front();
    ColorAnswers.pop_front();
    if (a.first) color = a.second;
    return a.first;
}

bool TScriptedDialogService::FontDialog(TFont& font)
{
    Call c;
    c.Kind = "Font";
    Calls.push_back(c);
    if (FontAnswers.empty()) return false;
    auto a = FontAnswers.front();
    FontAnswers.pop_front();
    if (a.first) font.SetName(a.second);
    return a.first;
}

bool TScriptedDialogService::BrowseFolder(const std::string& caption, const std::string&, std::string& directory)
{
    Call c;
    c.Kind = "Folder"; c.Text = caption;
    Calls.push_back(c);
    if (FolderAnswers.empty()) return false;
    auto a = FolderAnswers.front();
    FolderAnswers.pop_front();
    if (a.first) directory = a.second;
    return a.first;
}

bool TScriptedDialogService::BrowseFolderRequest(TFolderBrowseRequest& request)
{
    Call c;
    c.Kind = "Folder"; c.Text = request.Title; c.Flags = request.Flags;
    Calls.push_back(c);
    if (request.Place) request.PlacedAt = request.Place(FolderDialogSize);
    FolderRequests.push_back(request);
    if (FolderAnswers.empty()) return false;
    auto a = FolderAnswers.front();
    FolderAnswers.pop_front();
    if (a.first) request.Directory = a.second;
    return a.first;
}

bool TScriptedDialogService::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    Call c;
    c.Kind = "Input"; c.Text = prompt; c.Caption = caption;
    Calls.push_back(c);
    if (InputAnswers.empty()) return false;
    auto a = InputAnswers.front();
    InputAnswers.pop_front();
    if (a.first) value = a.second;
    return a.first;
}

// ---------------------------------------------------------------- helpers

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    std::string caption;
    switch (type) {
    case TMsgDlgType::mtWarning: caption = "Warning"; break;
    case TMsgDlgType::mtError: caption = "Error"; break;
    case TMsgDlgType::mtInformation: caption = "Information"; break;
    case TMsgDlgType::mtConfirmation: caption = "Confirm"; break;
    default: caption = Application->Title(); break;
    }
    return GetDialogService().MessageDlg(msg, type, buttons, caption, {});
}

int MessageDlgCaptions(const std::string& msg, const std::string& caption, TMsgDlgType type,
                       TMsgDlgButtons buttons, const std::vector<std::string>& buttonCaptions)
{
    return GetDialogService().MessageDlg(msg, type, buttons, caption, buttonCaptions);
}

void ShowMessage(const std::string& msg)
{
    GetDialogService().MessageDlg(msg, TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK}, Application->Title(), {});
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    return GetDialogService().InputQuery(caption, prompt, value);
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue)
{
    std::string v = defaultValue;
    if (!InputQuery(caption, prompt, v)) return defaultValue;
    return v;
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory)
{
    return GetDialogService().BrowseFolder(caption, root, directory);
}

// -------------------------------------------------------------- components

bool TOpenDialog::Execute() { return DoExecute(false); }

bool TOpenDialog::DoExecute(bool save)
{
    TFileDialogRequest r;
    r.Save = save;
    r.Title = Title; r.Filter = Filter; r.FilterIndex = FilterIndex; r.DefaultExt = DefaultExt;
    r.InitialDir = InitialDir; r.FileName = FileName; r.Options = Options;
    r.OkButtonText = OkButtonText; r.CancelButtonText = CancelButtonText; r.LookInLabel = LookInLabel;
    r.FileNameLabel = FileNameLabel; r.FileTypeLabel = FileTypeLabel; r.ReadOnlyLabel = ReadOnlyLabel;
    r.HelpButtonText = HelpButtonText; r.HiddenControls = HiddenControls;
    if (OnShow) OnShow(this);
    const bool ok = GetDialogService().FileDialog(r);
    if (OnClose) OnClose(this);
    if (!ok) return false;
    FilterIndex = r.FilterIndex;
    FileName = r.FileName;
    Files = r.Files;
    // A name typed without an extension gets the chosen filter's extension,
    // else the default one.
    if (!DefaultExt.empty() && rtl::ExtractFileExt(FileName).empty()) {
        std::string ext = DefaultExt;
        const auto filters = ParseFilter(Filter);
        if (FilterIndex >= 1 && FilterIndex <= static_cast<int>(filters.size())) {
            const auto& pats = filters[static_cast<std::size_t>(FilterIndex - 1)].second;
            if (!pats.empty() && pats.front().rfind("*.", 0) == 0 && pats.front().find_first_of("*?", 2) == std::string::npos)
                ext = pats.front().substr(2);
        }
        FileName += "." + ext;
        if (!Files.empty()) Files.front() = FileName;
    }
    return true;
}

bool TPrintDialog::Execute()
{
    TPrintDialogRequest r;
    r.Copies = Copies; r.Collate = Collate; r.FromPage = FromPage; r.ToPage = ToPage;
    r.MinPage = MinPage; r.MaxPage = MaxPage; r.PrintRange = PrintRange;
    r.AllowPageNums = AllowPageNums; r.AllowSelection = AllowSelection;
    TPrinter* printer = gui::Printer();
    r.PrinterIndex = printer->PrinterIndex();
    r.OutputFileName = printer->OutputFileName();
    r.PaperWidthMm = printer->PaperWidthMm();
    r.PaperHeightMm = printer->PaperHeightMm();
    r.Orientation = printer->Orientation();
    if (!GetDialogService().PrintDialog(r)) return false;
    Copies = r.Copies; Collate = r.Collate; FromPage = r.FromPage; ToPage = r.ToPage; PrintRange = r.PrintRange;
    if (printer->Printing()) return true;   // the job under way keeps its device
    printer->SetCopies(std::max(1, Copies));
    printer->SetOutputFileName(r.OutputFileName);
    const int count = static_cast<int>(printer->Printers().size());
    printer->SetPrinterIndex(r.PrinterIndex >= -1 && r.PrinterIndex < count ? r.PrinterIndex : -1);
    printer->SetPaper(r.PaperWidthMm, r.PaperHeightMm);
    printer->SetOrientation(r.Orientation);
    return true;
}

bool TColorDialog::Execute()
{
    TColor c = Color;
    if (!GetDialogService().ColorDialog(c, FullOpen, CustomColors)) return false;
    Color = c;
    return true;
}

TFontDialog::TFontDialog(rtl::TComponent* owner) : TCommonDialog(owner), FFont(std::make_unique<TFont>()) {}

bool TFontDialog::Execute()
{
    TFont f;
    f.Assign(FFont.get());
    if (!GetDialogService().FontDialog(f)) return false;
    FFont->Assign(&f);
    return true;
}

// ---------------------------------------------------------------- desktop

bool ShellOpen(const std::string& target)
{
    if (ShellHandler()) return ShellHandler()(target);
    if (target.empty()) return false;
    EnsureQtApp();
    const QString xdg = QStandardPaths::findExecutable("xdg-open");
    if (xdg.isEmpty()) return false;
    return QProcess::startDetached(xdg, {QString::fromStdString(target)});
}

void SetShellOpenHandler(std::function<bool(const std::string&)> handler) { ShellHandler() = std::move(handler); }

namespace {
std::unique_ptr<TPicture>& IconSlot()
{
    static std::unique_ptr<TPicture> icon;
    return icon;
}
} // namespace

void SetProgramIcon(const TGraphic& icon)
{
    if (!IconSlot()) IconSlot() = std::make_unique<TPicture>();
    IconSlot()->SetGraphic(&icon);
    EnsureQtApp();
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(GraphicToImage(icon))));
}

const TPicture* ProgramIcon() { return IconSlot().get(); }

namespace {
std::function<void(uint32_t)>& BeepHandler()
{
    static std::function<void(uint32_t)> handler;
    return handler;
}
} // namespace

void SetMessageBeepHandler(std::function<void(uint32_t type)> handler) { BeepHandler() = std::move(handler); }

void MessageBeep(uint32_t type)
{
    if (BeepHandler()) {
        BeepHandler()(type);
        return;
    }
    if (QCoreApplication::instance()) QApplication::beep();
}

} // namespace gui
