// The print dialog.

#include "reportout/qlrPrintDialog.h"

#include "platform/gui/ImgList.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrRes.h"
#include "reportout/qlrFileDialogs.h"
#include "reportout/qlrFormParts.h"
#include "reportout/qlrPrinter.h"

namespace qlr {

namespace {

std::string R(const std::string& name) { return GetResources().Get(name); }

gui::TComboBox* List(rtl::TComponent* owner, gui::TWinControl* parent, int l, int t, int w,
                     std::initializer_list<const char*> names)
{
    auto* cb = MakeControl<gui::TComboBox>(owner, parent, l, t, w, 21);
    cb->SetStyle(gui::TComboBoxStyle::csDropDownList);
    for (const char* n : names) cb->Items()->Add(R(n));
    if (cb->Items()->Count() > 0) cb->SetItemIndex(0);
    return cb;
}

// A sheet with lines of text, in the box r.
void Sheet(gui::TCanvas* c, const gui::TRect& r)
{
    c->Pen()->SetColor(gui::clBlack);
    c->Brush()->SetColor(gui::clWhite);
    c->Rectangle(r);
    for (int y = r.Top + 3; y < r.Bottom - 2; y += 3) {
        c->MoveTo(r.Left + 2, y);
        c->LineTo(r.Right - 2, y);
    }
}

} // namespace

TqlrPrintDialog::TqlrPrintDialog(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetCaption(R("200"));
    SetClientSize(460, 372);

    PrinterGB = MakeControl<gui::TGroupBox>(this, this, 8, 4, 444, 100);
    PrinterGB->SetCaption(R("201"));
    NameL = MakeControl<gui::TLabel>(this, PrinterGB, 12, 24, 50, 16);
    NameL->SetCaption(R("212"));
    PrintersCB = List(this, PrinterGB, 64, 20, 270, {});
    PrintersCB->SetStyle(gui::TComboBoxStyle::csOwnerDrawFixed);
    PrintersCB->SetItemHeight(gui::Screen && gui::Screen->PixelsPerInch() > 96 ? 19 : 16);
    PrintersCB->OnDrawItem = [this](gui::TWinControl*, int i, const gui::TRect& r, gui::TOwnerDrawState s) {
        DrawPrinterItem(i, r, s);
    };
    PrintersCB->OnSelect = [this](rtl::TObject*) { PrintersChanged(); };
    PropButton = MakeControl<gui::TButton>(this, PrinterGB, 342, 19, 92, 25);
    PropButton->SetCaption(R("209"));
    PropButton->OnClick = [this](rtl::TObject*) { PropertiesClicked(); };
    WhereL = MakeControl<gui::TLabel>(this, PrinterGB, 12, 52, 50, 16);
    WhereL->SetCaption(R("208"));
    WhereL1 = MakeControl<gui::TLabel>(this, PrinterGB, 64, 52, 270, 16);
    FileCB = MakeControl<gui::TCheckBox>(this, PrinterGB, 12, 74, 200, 17);
    FileCB->SetCaption(R("210"));

    PagesGB = MakeControl<gui::TGroupBox>(this, this, 8, 108, 228, 132);
    PagesGB->SetCaption(R("202"));
    AllRB = MakeControl<gui::TRadioButton>(this, PagesGB, 12, 20, 200, 17);
    AllRB->SetCaption(R("3"));
    AllRB->SetChecked(true);
    CurPageRB = MakeControl<gui::TRadioButton>(this, PagesGB, 12, 40, 200, 17);
    CurPageRB->SetCaption(R("4"));
    PageNumbersRB = MakeControl<gui::TRadioButton>(this, PagesGB, 12, 60, 70, 17);
    PageNumbersRB->SetCaption(R("5"));
    PageNumbersE = MakeControl<gui::TEdit>(this, PagesGB, 84, 58, 132, 21);
    PageNumbersE->OnEnter = [this](rtl::TObject*) { PageNumbersRB->SetChecked(true); };
    PageNumbersRB->OnClick = [this](rtl::TObject*) {
        if (Visible() && PageNumbersE->CanFocus()) PageNumbersE->SetFocus();
    };
    DescrL = MakeControl<gui::TLabel>(this, PagesGB, 12, 84, 206, 42);
    DescrL->SetAutoSize(false);
    DescrL->SetWordWrap(true);
    DescrL->SetCaption(R("9"));

    CopiesGB = MakeControl<gui::TGroupBox>(this, this, 244, 108, 208, 132);
    CopiesGB->SetCaption(R("205"));
    CopiesL = MakeControl<gui::TLabel>(this, CopiesGB, 12, 24, 110, 16);
    CopiesL->SetCaption(R("203"));
    CopiesE = MakeControl<gui::TEdit>(this, CopiesGB, 126, 20, 48, 21);
    // Digits only (and editing keys).
    CopiesE->OnKeyPress = [](rtl::TObject*, char16_t& key) {
        if (key >= 32 && (key < u'0' || key > u'9')) key = 0;
    };
    CopiesUD = new gui::TUpDown(this);
    CopiesUD->SetParent(CopiesGB);
    CopiesUD->SetMin(1);
    CopiesUD->SetMax(9999);
    CopiesUD->SetAssociate(CopiesE);
    CopiesUD->SetPosition(1);
    CopiesPB = MakeControl<gui::TPaintBox>(this, CopiesGB, 12, 52, 100, 40);
    CopiesPB->OnPaint = [this](rtl::TObject*) { PaintCopies(); };
    CollateCB = MakeControl<gui::TCheckBox>(this, CopiesGB, 120, 64, 80, 17);
    CollateCB->SetCaption(R("204"));
    CollateCB->SetChecked(true);
    CollateCB->OnClick = [this](rtl::TObject*) { CopiesPB->Invalidate(); };

    OtherGB = MakeControl<gui::TGroupBox>(this, this, 8, 244, 228, 92);
    OtherGB->SetCaption(R("207"));
    PrintL = MakeControl<gui::TLabel>(this, OtherGB, 12, 22, 60, 16);
    PrintL->SetCaption(R("206"));
    PrintPagesCB = List(this, OtherGB, 80, 18, 136, {"ppAll", "ppOdd", "ppEven"});
    OrderL = MakeControl<gui::TLabel>(this, OtherGB, 12, 44, 60, 16);
    OrderL->SetCaption(R("211"));
    OrderCB = List(this, OtherGB, 80, 40, 136, {"poDirect", "poReverse"});
    DuplexL = MakeControl<gui::TLabel>(this, OtherGB, 12, 66, 60, 16);
    DuplexL->SetCaption(R("216"));
    DuplexCB = List(this, OtherGB, 80, 62, 136, {"dupDefault", "dupVert", "dupHorz", "dupSimpl"});

    ModeGB = MakeControl<gui::TGroupBox>(this, this, 244, 244, 208, 92);
    ModeGB->SetCaption(R("213"));
    PrintModeCB = List(this, ModeGB, 12, 18, 184, {"pmDefault", "pmSplit", "pmJoin", "pmScale"});
    PrintModeCB->SetStyle(gui::TComboBoxStyle::csOwnerDrawFixed);
    PrintModeCB->SetItemHeight(34);
    // The closed box is as tall as an item, so that its picture shows.
    PrintModeCB->SetHeight(40);
    PrintModeCB->OnDrawItem = [this](gui::TWinControl*, int i, const gui::TRect& r, gui::TOwnerDrawState s) {
        DrawModeItem(i, r, s);
    };
    PrintModeCB->OnSelect = [this](rtl::TObject*) { PrintModeChanged(); };
    PagSizeL = MakeControl<gui::TLabel>(this, ModeGB, 12, 66, 80, 16);
    PagSizeL->SetCaption(R("214"));
    PagPageSizeCB = List(this, ModeGB, 96, 62, 100, {});

    OkB = MakeControl<gui::TButton>(this, this, 296, 342, 75, 25);
    OkB->SetCaption(R("1"));
    OkB->SetDefault(true);
    OkB->SetModalResult(gui::mrOk);
    CancelB = MakeControl<gui::TButton>(this, this, 377, 342, 75, 25);
    CancelB->SetCaption(R("2"));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(gui::mrCancel);

    FileDlg = new gui::TSaveDialog(this);
    FileDlg->Title = R("507");
    FileDlg->Filter = R("510");

    TqlrPrinters& printers = GlobalPrinters();
    for (const std::string& name : printers.FPrinters) PrintersCB->Items()->Add(name);
    PrintersCB->SetItemIndex(printers.FPrinterIndex);
    OldIndex = printers.FPrinterIndex;
    PrintersChanged();
}

int TqlrPrintDialog::SheetIndex(int paper) const
{
    TqlrCustomPrinter* p = GlobalPrinters().Printer();
    if (!p) return -1;
    const int i = p->PaperIndex(paper);
    if (i < 0) return -1;
    return p->PaperIndex(256) < i ? i : i + 1;
}

void TqlrPrintDialog::PrintersChanged()
{
    TqlrPrinters& printers = GlobalPrinters();
    int remembered = -1;
    if (PagPageSizeCB->ItemIndex() > 0 && printers.Printer())
        remembered = printers.Printer()->PaperNameToNumber(PagPageSizeCB->Text());
    printers.SetPrinterIndex(PrintersCB->ItemIndex());
    TqlrCustomPrinter* p = printers.Printer();
    WhereL1->SetCaption(p ? p->FPort : std::string());
    PagPageSizeCB->Items()->Clear();
    if (p)
        for (const auto& paper : p->FPapers)
            if (paper.second != 256) PagPageSizeCB->Items()->Add(paper.first);
    PagPageSizeCB->Items()->Insert(0, R("pgDefault"));
    const int at = remembered != -1 ? SheetIndex(remembered) : -1;
    PagPageSizeCB->SetItemIndex(at > 0 ? at : 0);
}

void TqlrPrintDialog::PrintModeChanged()
{
    if (PrintModeCB->ItemIndex() <= 0) {
        PagPageSizeCB->SetItemIndex(0);
        PagPageSizeCB->SetEnabled(false);
        return;
    }
    PagPageSizeCB->SetEnabled(true);
    if (PagPageSizeCB->ItemIndex() <= 0) {
        TqlrCustomPrinter* p = GlobalPrinters().Printer();
        if (p) PagPageSizeCB->SetItemIndex(p->PaperIndex(9));
    }
}

void TqlrPrintDialog::PropertiesClicked()
{
    TqlrCustomPrinter* p = GlobalPrinters().Printer();
    if (!p) return;
    p->PropertiesDlg();
    int index = -1;
    switch (p->FDuplex) {
    case 1: index = 3; break;
    case 2: index = 1; break;
    case 3: index = 2; break;
    default: return;
    }
    DuplexCB->SetItemIndex(index);
    ADuplexMode = static_cast<TqlrDuplexMode>(index);
}

void TqlrPrintDialog::DoShow()
{
    // The report being printed gives its print options and the page its
    // preview shows.
    if (AReport) {
        Options = AReport->PrintOptions();
        if (TqlrCustomPreviewPages* pages = AReport->PreviewPages())
            CurPreviewPage = std::max(1, pages->CurPreviewPage);
    }
    if (Options) {
        CopiesUD->SetPosition(Options->Copies);
        CollateCB->SetChecked(Options->Collate);
        PageNumbersE->SetText(Options->PageNumbers);
        if (!Options->PageNumbers.empty()) PageNumbersRB->SetChecked(true);
        PrintPagesCB->SetItemIndex(static_cast<int>(Options->PrintPages));
        OrderCB->SetItemIndex(Options->Reverse ? 1 : 0);
        PrintModeCB->SetItemIndex(static_cast<int>(Options->PrintMode));
    }
    DuplexCB->SetItemIndex(static_cast<int>(ADuplexMode));
    PrintModeChanged();
    if (Options && Options->PrintMode != TqlrPrintMode::pmDefault) {
        const int at = SheetIndex(Options->PrintOnSheet);
        if (at >= 0) PagPageSizeCB->SetItemIndex(at);
    }
    gui::TForm::DoShow();
}

// Runs as the modal dialog closes, before its answer is final: a cancelled
// file dialog turns OK into Cancel.
bool TqlrPrintDialog::CloseQuery()
{
    if (!gui::TForm::CloseQuery()) return false;
    TqlrPrinters& printers = GlobalPrinters();
    if (ModalResult() == gui::mrOk) {
        if (TqlrCustomPrinter* p = printers.Printer()) {
            p->FFileName.clear();
            if (FileCB->Checked()) {
                PrepareFileDialog(*FileDlg, {AReport, true, ".prn"});
                if (FileDlg->Execute())
                    p->FFileName = rtl::ChangeFileExt(FileDlg->FileName, ".prn");
                else
                    SetModalResult(gui::mrCancel);
            }
        }
    } else {
        printers.SetPrinterIndex(OldIndex);
    }
    if (ModalResult() == gui::mrOk && Options) {
        // An empty copies field raises the conversion error before any
        // option is written.
        const int copies = rtl::StrToInt(CopiesE->Text());
        Options->Copies = copies;
        Options->Collate = CollateCB->Checked();
        if (AllRB->Checked())
            Options->PageNumbers.clear();
        else if (CurPageRB->Checked())
            Options->PageNumbers = std::to_string(CurPreviewPage);
        else
            Options->PageNumbers = PageNumbersE->Text();
        Options->PrintPages = static_cast<TqlrPrintPages>(std::max(0, PrintPagesCB->ItemIndex()));
        ADuplexMode = static_cast<TqlrDuplexMode>(std::max(0, DuplexCB->ItemIndex()));
        Options->Reverse = OrderCB->ItemIndex() == 1;
        Options->PrintMode = static_cast<TqlrPrintMode>(std::max(0, PrintModeCB->ItemIndex()));
        TqlrCustomPrinter* p = printers.Printer();
        Options->PrintOnSheet = p ? p->PaperNameToNumber(PagPageSizeCB->Text()) : 256;
    }
    return true;
}

void TqlrPrintDialog::DrawPrinterItem(int index, const gui::TRect& r, gui::TOwnerDrawState state)
{
    gui::TCanvas* c = PrintersCB->GetCanvas();
    if (!c) return;
    const bool sel = state.Contains(gui::TOwnerDrawStateItem::odSelected);
    c->Brush()->SetColor(sel ? gui::clHighlight : gui::clWindow);
    c->FillRect(r);
    // The printer picture of the preview buttons.
    GetResources().GetPreviewButtonImages().Draw(c, r.Left + 2, r.Top + (r.Bottom - r.Top - 16) / 2, 2);
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    c->Font()->SetColor(sel ? gui::clHighlightText : gui::clWindowText);
    if (index >= 0 && index < PrintersCB->Items()->Count())
        c->TextOut(r.Left + 24, r.Top + 1, PrintersCB->Items()->Strings(index));
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

void TqlrPrintDialog::DrawModeItem(int index, const gui::TRect& r, gui::TOwnerDrawState state)
{
    gui::TCanvas* c = PrintModeCB->GetCanvas();
    if (!c) return;
    const bool sel = state.Contains(gui::TOwnerDrawStateItem::odSelected);
    c->Brush()->SetColor(sel ? gui::clHighlight : gui::clWindow);
    c->FillRect(r);
    // The mode's 64 x 32 picture: page(s) to the left, sheet(s) to the right.
    const int x = r.Left + 2, y = r.Top + 1;
    switch (index) {
    case 0: Sheet(c, gui::TRect(x + 24, y + 4, x + 42, y + 29)); break;
    case 1:   // one big page onto two sheets
        Sheet(c, gui::TRect(x, y + 2, x + 26, y + 31));
        Sheet(c, gui::TRect(x + 36, y + 2, x + 49, y + 16));
        Sheet(c, gui::TRect(x + 36, y + 17, x + 49, y + 31));
        break;
    case 2:   // two small pages onto one sheet
        Sheet(c, gui::TRect(x, y + 2, x + 12, y + 15));
        Sheet(c, gui::TRect(x, y + 17, x + 12, y + 30));
        Sheet(c, gui::TRect(x + 30, y + 2, x + 50, y + 31));
        break;
    default:   // a page scaled onto the sheet
        Sheet(c, gui::TRect(x, y + 8, x + 14, y + 26));
        Sheet(c, gui::TRect(x + 30, y + 2, x + 50, y + 31));
        break;
    }
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    c->Font()->SetColor(sel ? gui::clHighlightText : gui::clWindowText);
    if (index >= 0 && index < PrintModeCB->Items()->Count())
        c->TextOut(r.Left + 74, r.Top + 10, PrintModeCB->Items()->Strings(index));
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

void TqlrPrintDialog::PaintCopies()
{
    gui::TCanvas* c = CopiesPB->Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(gui::TRect(0, 0, CopiesPB->Width(), CopiesPB->Height()));
    // Collated: 1 2 3, 1 2 3; uncollated: 1 1, 2 2, 3 3 -- stacks of sheets.
    const bool collated = CollateCB->Checked();
    c->Font()->SetSize(7);
    for (int stack = 0; stack < (collated ? 2 : 3); ++stack)
        for (int sheet = 0; sheet < (collated ? 3 : 2); ++sheet) {
            const int x = stack * (collated ? 40 : 30) + sheet * 5, y = sheet * 4;
            c->Pen()->SetColor(gui::clBlack);
            c->Brush()->SetColor(gui::clWhite);
            c->Rectangle(x, y, x + 16, y + 22);
            c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
            c->TextOut(x + 5, y + 8, std::to_string(collated ? sheet + 1 : stack + 1));
            c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        }
}

} // namespace qlr
