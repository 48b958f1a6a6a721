// The page settings dialog.

#include "reportout/qlrPageSettings.h"

#include "report/qlrRes.h"
#include "report/qlrUtils.h"
#include "reportout/qlrFormParts.h"
#include "reportout/qlrPrinter.h"

namespace qlr {

namespace {

std::string R(const std::string& name) { return GetResources().Get(name); }

} // namespace

TqlrPageSettingsForm::TqlrPageSettingsForm(rtl::TComponent* owner) : gui::TForm(owner)
{
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetCaption(R("400"));
    SetClientSize(400, 300);

    SizeGB = MakeControl<gui::TGroupBox>(this, this, 8, 4, 384, 84);
    SizeGB->SetCaption(R("403"));
    SizeCB = MakeControl<gui::TComboBox>(this, SizeGB, 12, 20, 360, 21);
    SizeCB->SetStyle(gui::TComboBoxStyle::csDropDownList);
    SizeCB->OnSelect = [this](rtl::TObject*) { PaperChanged(); };
    WidthL = MakeControl<gui::TLabel>(this, SizeGB, 12, 54, 50, 16);
    WidthL->SetCaption(R("401"));
    WidthE = MakeControl<gui::TEdit>(this, SizeGB, 64, 50, 60, 21);
    UnitL1 = MakeControl<gui::TLabel>(this, SizeGB, 128, 54, 30, 16);
    HeightL = MakeControl<gui::TLabel>(this, SizeGB, 200, 54, 50, 16);
    HeightL->SetCaption(R("402"));
    HeightE = MakeControl<gui::TEdit>(this, SizeGB, 252, 50, 60, 21);
    UnitL2 = MakeControl<gui::TLabel>(this, SizeGB, 316, 54, 30, 16);
    // Typing a size selects the custom size.
    auto typed = [this](rtl::TObject*) {
        if (!FUpdating && SizeCB->Items()->Count() > 0) SizeCB->SetItemIndex(0);
    };
    WidthE->OnChange = typed;
    HeightE->OnChange = typed;

    OrientationGB = MakeControl<gui::TGroupBox>(this, this, 8, 92, 144, 100);
    OrientationGB->SetCaption(R("404"));
    PortraitRB = MakeControl<gui::TRadioButton>(this, OrientationGB, 10, 24, 82, 17);
    PortraitRB->SetCaption(R("410"));
    LandscapeRB = MakeControl<gui::TRadioButton>(this, OrientationGB, 10, 48, 82, 17);
    LandscapeRB->SetCaption(R("411"));
    OrientationPB = MakeControl<gui::TPaintBox>(this, OrientationGB, 94, 22, 44, 44);
    OrientationPB->OnPaint = [this](rtl::TObject*) { PaintOrientation(); };
    auto turned = [this](rtl::TObject*) {
        OrientationPB->Invalidate();
        PaperChanged();
    };
    PortraitRB->OnClick = turned;
    LandscapeRB->OnClick = turned;

    MarginsGB = MakeControl<gui::TGroupBox>(this, this, 156, 92, 236, 100);
    MarginsGB->SetCaption(R("409"));
    auto margin = [this](const char* res, int l, int t, gui::TLabel*& label, gui::TEdit*& edit, gui::TLabel*& unit) {
        label = MakeControl<gui::TLabel>(this, MarginsGB, l, t + 4, 46, 16);
        label->SetCaption(R(res));
        edit = MakeControl<gui::TEdit>(this, MarginsGB, l + 48, t, 40, 21);
        unit = MakeControl<gui::TLabel>(this, MarginsGB, l + 90, t + 4, 18, 16);
    };
    margin("405", 8, 24, LeftL, MarginLeftE, UnitL3);
    margin("406", 8, 56, TopL, MarginTopE, UnitL4);
    margin("407", 120, 24, RightL, MarginRightE, UnitL5);
    margin("408", 120, 56, BottomL, MarginBottomE, UnitL6);

    OtherGB = MakeControl<gui::TGroupBox>(this, this, 8, 196, 384, 64);
    OtherGB->SetCaption(R("412"));
    ApplyToCurRB = MakeControl<gui::TRadioButton>(this, OtherGB, 12, 18, 300, 17);
    ApplyToCurRB->SetCaption(R("413"));
    ApplyToCurRB->SetChecked(true);
    ApplyToAllRB = MakeControl<gui::TRadioButton>(this, OtherGB, 12, 38, 300, 17);
    ApplyToAllRB->SetCaption(R("414"));

    OKB = MakeControl<gui::TButton>(this, this, 236, 268, 75, 25);
    OKB->SetCaption(R("1"));
    OKB->SetDefault(true);
    OKB->SetModalResult(gui::mrOk);
    CancelB = MakeControl<gui::TButton>(this, this, 317, 268, 75, 25);
    CancelB->SetCaption(R("2"));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(gui::mrCancel);
}

// Inches for unit 1; centimetres for the others, including a stored value
// outside the known units.
std::string TqlrPageSettingsForm::ToUnits(long double mm) const
{
    return FloatToDisplayText(Inches() ? mm / 25.4L : mm / 10);
}

long double TqlrPageSettingsForm::FromUnits(const std::string& text) const
{
    const long double v = StrToFloatLenient(text);
    return Inches() ? v * 25.4L : v * 10;
}

void TqlrPageSettingsForm::DoShow()
{
    FUpdating = true;
    const std::string unit = Inches() ? R("uInch") : R("uCm");
    for (gui::TLabel* l : {UnitL1, UnitL2, UnitL3, UnitL4, UnitL5, UnitL6}) l->SetCaption(unit);
    SizeCB->Items()->Clear();
    TqlrCustomPrinter* p = GlobalPrinters().Printer();
    if (p)
        for (const auto& paper : p->FPapers) SizeCB->Items()->Add(paper.first);
    if (FPage && p) {
        int i = p->PaperIndex(FPage->PaperSize());
        if (i < 0) i = p->PaperIndex(256);
        SizeCB->SetItemIndex(i);
        WidthE->SetText(ToUnits(FPage->PaperWidth()));
        HeightE->SetText(ToUnits(FPage->PaperHeight()));
        const bool landscape = FPage->Orientation() == gui::TPrinterOrientation::poLandscape;
        LandscapeRB->SetChecked(landscape);
        PortraitRB->SetChecked(!landscape);
        MarginLeftE->SetText(ToUnits(FPage->LeftMargin()));
        MarginTopE->SetText(ToUnits(FPage->TopMargin()));
        MarginRightE->SetText(ToUnits(FPage->RightMargin()));
        MarginBottomE->SetText(ToUnits(FPage->BottomMargin()));
    }
    OrientationPB->Invalidate();
    FUpdating = false;
    gui::TForm::DoShow();
}

void TqlrPageSettingsForm::PaperChanged()
{
    if (FUpdating) return;
    TqlrCustomPrinter* p = GlobalPrinters().Printer();
    if (!p) return;
    FUpdating = true;
    try {
        const int paper = p->PaperNameToNumber(SizeCB->Text());
        const long double w = FromUnits(WidthE->Text()), h = FromUnits(HeightE->Text());
        const auto orientation =
            LandscapeRB->Checked() ? gui::TPrinterOrientation::poLandscape : gui::TPrinterOrientation::poPortrait;
        // The custom size's fields are handed over crossed, so that turning
        // the sheet exchanges them.
        if (paper == 256)
            p->SetViewParams(paper, h, w, orientation);
        else
            p->SetViewParams(paper, w, h, orientation);
        WidthE->SetText(ToUnits(p->FPaperWidth));
        HeightE->SetText(ToUnits(p->FPaperHeight));
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

bool TqlrPageSettingsForm::CloseQuery()
{
    if (!gui::TForm::CloseQuery()) return false;
    if (ModalResult() != gui::mrOk || !FPage) return true;
    TqlrCustomPrinter* p = GlobalPrinters().Printer();
    // Read everything first: a bad number leaves the page untouched.
    const long double w = FromUnits(WidthE->Text()), h = FromUnits(HeightE->Text());
    const long double l = FromUnits(MarginLeftE->Text()), r = FromUnits(MarginRightE->Text());
    const long double t = FromUnits(MarginTopE->Text()), b = FromUnits(MarginBottomE->Text());
    FPage->SetOrientation(LandscapeRB->Checked() ? gui::TPrinterOrientation::poLandscape
                                                 : gui::TPrinterOrientation::poPortrait);
    FPage->SetPaperWidth(w);
    FPage->SetPaperHeight(h);
    FPage->SetPaperSize(p ? p->PaperNameToNumber(SizeCB->Text()) : 256);
    FPage->SetLeftMargin(l);
    FPage->SetRightMargin(r);
    FPage->SetTopMargin(t);
    FPage->SetBottomMargin(b);
    FPage->AlignChildren();
    return true;
}

void TqlrPageSettingsForm::PaintOrientation()
{
    gui::TCanvas* c = OrientationPB->Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(gui::TRect(0, 0, 44, 44));
    const bool landscape = LandscapeRB->Checked();
    const gui::TRect sheet = landscape ? gui::TRect(4, 10, 40, 36) : gui::TRect(9, 4, 35, 40);
    c->Pen()->SetColor(gui::clBlack);
    c->Brush()->SetColor(gui::clWhite);
    c->Rectangle(sheet);
    c->Font()->SetSize(14);
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    c->TextOut(sheet.Left + (sheet.Right - sheet.Left) / 2 - 5, sheet.Top + (sheet.Bottom - sheet.Top) / 2 - 10, "A");
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

} // namespace qlr
