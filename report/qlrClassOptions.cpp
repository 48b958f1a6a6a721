// Engine, preview, print and report options with their selective Assign;
// the password check; report styles and style sheets.

#include <memory>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/RegistryIni.h"
#include "report/qlrClass.h"
#include "report/qlrOutputServices.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "report/qlrXML.h"
#include "report/qlrXMLSerializer.h"

namespace qlr {

// --- options ------------------------------------------------------------------------

void TqlrEngineOptions::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TqlrEngineOptions*>(source);
    if (!s) return;
    ConvertNulls = s->ConvertNulls;
    DoublePass = s->DoublePass;
    MaxMemSize = s->MaxMemSize;
    PrintIfEmpty = s->PrintIfEmpty;
    NewSilentMode = s->NewSilentMode;
    TempDir = s->TempDir;
    UseFileCache = s->UseFileCache;
    IgnoreDevByZero = s->IgnoreDevByZero;
}

void TqlrEngineOptions::Clear()
{
    ConvertNulls = true;
    IgnoreDevByZero = false;
    DoublePass = false;
}

void TqlrPreviewOptions::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TqlrPreviewOptions*>(source);
    if (!s) return;
    AllowEdit = s->AllowEdit;
    Buttons = s->Buttons;
    DoubleBuffered = s->DoubleBuffered;
    Maximized = s->Maximized;
    MDIChild = s->MDIChild;
    Modal = s->Modal;
    OutlineExpand = s->OutlineExpand;
    OutlineVisible = s->OutlineVisible;
    OutlineWidth = s->OutlineWidth;
    PagesInCache = s->PagesInCache;
    ShowCaptions = s->ShowCaptions;
    ThumbnailVisible = s->ThumbnailVisible;
    Zoom = s->Zoom;
    ZoomMode = s->ZoomMode;
    PictureCacheInFile = s->PictureCacheInFile;
    RTLPreview = s->RTLPreview;
}

void TqlrPreviewOptions::Clear()
{
    OutlineExpand = true;
    OutlineVisible = false;
    OutlineWidth = 120;
    PagesInCache = 50;
    ThumbnailVisible = false;
}

TqlrPrintOptions::TqlrPrintOptions()
{
    Clear();
}

void TqlrPrintOptions::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TqlrPrintOptions*>(source);
    if (!s) return;
    Copies = s->Copies;
    Collate = s->Collate;
    PageNumbers = s->PageNumbers;
    Printer = s->Printer;
    PrintMode = s->PrintMode;
    PrintOnSheet = s->PrintOnSheet;
    PrintPages = s->PrintPages;
    Reverse = s->Reverse;
    ShowDialog = s->ShowDialog;
    SplicingLine = s->SplicingLine;
}

void TqlrPrintOptions::Clear()
{
    Copies = 1;
    Collate = true;
    PageNumbers.clear();
    PagesOnSheet = 0;
    Printer = GetResources().Get("prDefault");
    PrintMode = TqlrPrintMode::pmDefault;
    PrintOnSheet = 0;
    PrintPages = TqlrPrintPages::ppAll;
    Reverse = false;
    ShowDialog = true;
    SplicingLine = 3;
}

TqlrReportOptions::TqlrReportOptions(TqlrReport* report)
    : FReport(report), FDescription(std::make_unique<rtl::TStringList>())
{
    Clear();
}

void TqlrReportOptions::Assign(const rtl::TPersistent* source)
{
    auto* s = dynamic_cast<const TqlrReportOptions*>(source);
    if (!s) return;
    Author = s->Author;
    Compressed = s->Compressed;
    ConnectionName = s->ConnectionName;
    CreateDate = s->CreateDate;
    FDescription->Assign(s->FDescription.get());
    InitString = s->InitString;
    Name = s->Name;
    LastChange = s->LastChange;
    Password = s->Password;
    VersionBuild = s->VersionBuild;
    VersionMajor = s->VersionMajor;
    VersionMinor = s->VersionMinor;
    VersionRelease = s->VersionRelease;
}

void TqlrReportOptions::SetConnectionName(const std::string& value)
{
    ConnectionName = value;
    if (value.empty() || !FReport || !FReport->OnSetConnection) return;
    // The registry stand-in holds the current user's part only; the
    // machine-wide places of the same keys do not exist here.
    sys::TRegistryIniFile registry("Software\\Quillory");
    for (const char* section : {"Connections", "ConnectionsFIB"}) {
        const std::string connection = registry.ReadString(section, value, "");
        if (!connection.empty()) FReport->OnSetConnection(connection);
    }
}

void TqlrReportOptions::Clear()
{
    Author.clear();
    Compressed = false;
    CreateDate = LastChange = rtl::Now();
    FDescription->Clear();
    VersionBuild.clear();
    VersionMajor.clear();
    VersionMinor.clear();
    VersionRelease.clear();
    ConnectionName.clear();
    InitString.clear();
    Name.clear();
    Password.clear();
    PrevPassword.clear();
}

bool TqlrReportOptions::CheckPassword()
{
    if (Password.empty() || Password == PrevPassword) return true;
    std::string typed;
    if (OutputServices().InputPassword(typed) && typed == Password) {
        PrevPassword = Password;
        return true;
    }
    if (FReport) {
        FReport->Errors()->Add("Invalid password");
        if (FReport->EngineOptions()->NewSilentMode == TqlrSilentMode::simMessageBoxes)
            ShowReportError(GetResources().Get("clErrors") + "\r\n" + FReport->Errors()->Text());
    }
    return false;
}

// --- styles ------------------------------------------------------------------------------

TqlrStyleItem::TqlrStyleItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), FFont(std::make_unique<gui::TFont>()), FFrame(std::make_unique<TqlrFrame>())
{
    FFont->SetName("Arial");
    FFont->SetSize(10);
    FFont->SetColor(gui::clBlack);
    FFont->SetCharset(gui::DEFAULT_CHARSET);
}

void TqlrStyleItem::SetName(const std::string& v)
{
    if (rtl::TCollection* c = Collection())
        for (int i = 0; i < c->Count(); ++i) {
            auto* other = static_cast<TqlrStyleItem*>(c->Items(i));
            if (other != this && rtl::AnsiCompareText(other->Name(), v) == 0)
                throw rtl::Exception("Duplicate name");
        }
    FName = v;
}

void TqlrStyleItem::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TqlrStyleItem*>(source)) {
        FName = s->FName;
        FColor = s->FColor;
        FFont->Assign(s->Font());
        FFrame->Assign(s->Frame());
    }
}

void TqlrStyleItem::CreateUniqueName()
{
    auto* styles = static_cast<TqlrStyles*>(Collection());
    for (int n = 1;; ++n) {
        std::string name = "Style" + std::to_string(n);
        if (!styles || !styles->Find(name)) {
            FName = name;
            return;
        }
    }
}

TqlrStyles::TqlrStyles(TqlrReport* report) : rtl::TCollection(TqlrStyleItem::StaticClassInfo()), FReport(report) {}

TqlrStyleItem* TqlrStyles::Find(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiCompareText(Item(i)->Name(), name) == 0) return Item(i);
    return nullptr;
}

void TqlrStyles::GetList(rtl::TStringList& list) const
{
    list.Clear();
    for (int i = 0; i < Count(); ++i) list.Add(Item(i)->Name());
}

void TqlrStyles::SaveToXMLItem(TqlrXMLItem* item)
{
    item->SetName("style");
    item->SetProp("Name", FName);
    TqlrXMLSerializer serializer(nullptr);
    for (int i = 0; i < Count(); ++i) {
        TqlrXMLItem* child = item->Add();
        child->SetName("item");
        std::string text = serializer.ObjToXML(Item(i));
        if (!text.empty() && text[0] == ' ') text.erase(0, 1);
        child->SetText(text);
    }
}

void TqlrStyles::LoadFromXMLItem(TqlrXMLItem* item, bool oldXMLFormat)
{
    Clear();
    FName = item->Prop("Name");
    TqlrXMLSerializer serializer(nullptr);
    serializer.SetOldFormat(oldXMLFormat);
    for (int i = 0; i < item->Count(); ++i) {
        TqlrXMLItem* child = item->Items(i);
        if (!rtl::SameText(child->Name(), "item")) continue;
        serializer.XMLToObj(child->Text(), Add());
    }
    Apply();
}

void TqlrStyles::SaveToStream(rtl::TStream& stream)
{
    TqlrXMLDocument doc;
    doc.SetAutoIndent(true);
    SaveToXMLItem(doc.Root());
    doc.SaveToStream(stream);
}

void TqlrStyles::LoadFromStream(rtl::TStream& stream)
{
    Clear();
    TqlrXMLDocument doc;
    doc.LoadFromStream(stream);
    if (rtl::SameText(doc.Root()->Name(), "style")) LoadFromXMLItem(doc.Root(), doc.OldVersion());
}

void TqlrStyles::SaveToFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmCreate);
    SaveToStream(f);
}

void TqlrStyles::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmOpenRead);
    LoadFromStream(f);
}

void TqlrStyles::Apply()
{
    if (!FReport) return;
    for (TqlrComponent* c : FReport->AllObjects()) {
        auto* memo = dynamic_cast<TqlrCustomMemoView*>(c);
        if (!memo || memo->Style().empty()) continue;
        if (TqlrStyleItem* item = Find(memo->Style())) memo->ApplyStyle(item);
        else memo->SetStyle("");
    }
}

TqlrStyles* TqlrStyleSheet::Add()
{
    FItems.push_back(std::make_unique<TqlrStyles>(nullptr));
    return FItems.back().get();
}

int TqlrStyleSheet::IndexOf(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rtl::AnsiCompareText(Items(i)->Name(), name) == 0) return i;
    return -1;
}

TqlrStyles* TqlrStyleSheet::Find(const std::string& name) const
{
    int i = IndexOf(name);
    return i < 0 ? nullptr : Items(i);
}

void TqlrStyleSheet::GetList(rtl::TStringList& list) const
{
    list.Clear();
    for (int i = 0; i < Count(); ++i) list.Add(Items(i)->Name());
}

void TqlrStyleSheet::SaveToStream(rtl::TStream& stream)
{
    TqlrXMLDocument doc;
    doc.SetAutoIndent(true);
    doc.Root()->SetName("stylesheet");
    for (int i = 0; i < Count(); ++i) Items(i)->SaveToXMLItem(doc.Root()->Add());
    doc.SaveToStream(stream);
}

void TqlrStyleSheet::LoadFromStream(rtl::TStream& stream)
{
    Clear();
    TqlrXMLDocument doc;
    doc.LoadFromStream(stream);
    if (!rtl::SameText(doc.Root()->Name(), "stylesheet")) return;
    for (int i = 0; i < doc.Root()->Count(); ++i) {
        TqlrXMLItem* child = doc.Root()->Items(i);
        if (rtl::SameText(child->Name(), "style")) Add()->LoadFromXMLItem(child, doc.OldVersion());
    }
}

void TqlrStyleSheet::SaveToFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmCreate);
    SaveToStream(f);
}

void TqlrStyleSheet::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream f(fileName, rtl::fmOpenRead);
    LoadFromStream(f);
}

} // namespace qlr
