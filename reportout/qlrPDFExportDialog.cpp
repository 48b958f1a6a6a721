// The PDF export's options dialog and the export filters' string table.

#include "reportout/qlrPDFExportDialog.h"

#include <mutex>

#include "report/qlrRes.h"
#include "reportout/qlrFormParts.h"

namespace qlr {

namespace {

std::string R(int id) { return GetResourceString(id); }

gui::TTabSheet* Tab(gui::TForm* form, gui::TPageControl* pc, int caption)
{
    auto* t = new gui::TTabSheet(form);
    t->SetPageControl(pc);
    t->SetCaption(R(caption));
    return t;
}

gui::TCheckBox* Check(gui::TForm* form, gui::TWinControl* parent, int l, int t, int w, int caption)
{
    auto* c = MakeControl<gui::TCheckBox>(form, parent, l, t, w, 17);
    c->SetCaption(R(caption));
    return c;
}

// The export filters' texts.  Only the entries of the PDF export are used
// by this program.
const char* const kTable =
    "<?xml version=\"1.1\" encoding=\"utf-8\"?>"
    "<Resources CodePage=\"1252\">"
    "<StrRes Name=\"8700\" Text=\"Export to PDF\"/>"
    "<StrRes Name=\"8701\" Text=\"Compressed\"/>"
    "<StrRes Name=\"8702\" Text=\"Embedded fonts\"/>"
    "<StrRes Name=\"8703\" Text=\"Print optimized\"/>"
    "<StrRes Name=\"8704\" Text=\"Outline\"/>"
    "<StrRes Name=\"8705\" Text=\"Background\"/>"
    "<StrRes Name=\"8706\" Text=\"Open after export\"/>"
    "<StrRes Name=\"8707\" Text=\"Adobe PDF file (*.pdf)|*.pdf\"/>"
    "<StrRes Name=\"8708\" Text=\".pdf\"/>"
    "<StrRes Name=\"8962\" Text=\"Security\"/>"
    "<StrRes Name=\"8963\" Text=\"Security settings\"/>"
    "<StrRes Name=\"8964\" Text=\"Owner password\"/>"
    "<StrRes Name=\"8965\" Text=\"User password\"/>"
    "<StrRes Name=\"8966\" Text=\"Print the document\"/>"
    "<StrRes Name=\"8967\" Text=\"Modify the document\"/>"
    "<StrRes Name=\"8968\" Text=\"Copy of text and graphics\"/>"
    "<StrRes Name=\"8969\" Text=\"Add or modify text annotations\"/>"
    "<StrRes Name=\"8970\" Text=\"PDF Security\"/>"
    "<StrRes Name=\"8971\" Text=\"Document information\"/>"
    "<StrRes Name=\"8972\" Text=\"Information\"/>"
    "<StrRes Name=\"8973\" Text=\"Title\"/>"
    "<StrRes Name=\"8974\" Text=\"Author\"/>"
    "<StrRes Name=\"8975\" Text=\"Subject\"/>"
    "<StrRes Name=\"8976\" Text=\"Keywords\"/>"
    "<StrRes Name=\"8977\" Text=\"Creator\"/>"
    "<StrRes Name=\"8978\" Text=\"Producer\"/>"
    "<StrRes Name=\"8979\" Text=\"Authentification\"/>"
    "<StrRes Name=\"8980\" Text=\"Permissions\"/>"
    "<StrRes Name=\"8981\" Text=\"Viewer\"/>"
    "<StrRes Name=\"8982\" Text=\"Viewer preferences\"/>"
    "<StrRes Name=\"8983\" Text=\"Hide toolbar\"/>"
    "<StrRes Name=\"8984\" Text=\"Hide menubar\"/>"
    "<StrRes Name=\"8985\" Text=\"Hide window user interface\"/>"
    "<StrRes Name=\"8986\" Text=\"Fit window\"/>"
    "<StrRes Name=\"8987\" Text=\"Center window\"/>"
    "<StrRes Name=\"8988\" Text=\"Print scaling\"/>"
    "<StrRes Name=\"8989\" Text=\"Confirmation Reading\"/>"
    "<StrRes Name=\"PDFexport\" Text=\"PDF file\"/>"
    "</Resources>";

} // namespace

const char* ExportFilterStringTable() { return kTable; }

void AddExportFilterStrings()
{
    static std::once_flag once;
    std::call_once(once, [] { GetResources().AddXML(kTable); });
}

TqlrPDFExportDialog::TqlrPDFExportDialog(rtl::TComponent* owner) : gui::TForm(owner)
{
    AddExportFilterStrings();
    SetBorderStyle(gui::TBorderStyle::bsDialog);
    gui::TForm::SetPosition(gui::TPosition::poScreenCenter);
    SetClientSize(292, 321);
    SetKeyPreview(true);
    SetCaption(R(8700));
    OnKeyDown = [this](rtl::TObject*, uint16_t& key, gui::TShiftState) {
        if (key == gui::VK_F1) GetResources().Help(this);
    };

    PageControl1 = MakeControl<gui::TPageControl>(this, this, 4, 4, 285, 277);
    ExportPage = Tab(this, PageControl1, 107);
    InfoPage = Tab(this, PageControl1, 8972);
    SecurityPage = Tab(this, PageControl1, 8962);
    ViewerPage = Tab(this, PageControl1, 8981);
    PageControl1->SetActivePage(ExportPage);

    GroupPageRange = MakeControl<gui::TGroupBox>(this, ExportPage, 4, 4, 268, 128);
    GroupPageRange->SetCaption(R(7));
    AllRB = MakeControl<gui::TRadioButton>(this, GroupPageRange, 12, 20, 150, 17);
    AllRB->SetCaption(R(3));
    AllRB->SetChecked(true);
    CurPageRB = MakeControl<gui::TRadioButton>(this, GroupPageRange, 12, 40, 150, 17);
    CurPageRB->SetCaption(R(4));
    PageNumbersRB = MakeControl<gui::TRadioButton>(this, GroupPageRange, 12, 60, 70, 17);
    PageNumbersRB->SetCaption(R(5));
    PageNumbersE = MakeControl<gui::TEdit>(this, GroupPageRange, 84, 58, 172, 21);
    PageNumbersE->OnChange = [this](rtl::TObject*) { PageNumbersRB->SetChecked(true); };
    // Digits, "," and "-" only (and backspace).
    PageNumbersE->OnKeyPress = [](rtl::TObject*, char16_t& key) {
        if (key != 8 && key != u',' && key != u'-' && (key < u'0' || key > u'9')) key = 0;
    };
    DescrL = MakeControl<gui::TLabel>(this, GroupPageRange, 12, 84, 244, 40);
    DescrL->SetAutoSize(false);
    DescrL->SetWordWrap(true);
    DescrL->SetCaption(R(9));

    GroupQuality = MakeControl<gui::TGroupBox>(this, ExportPage, 4, 136, 268, 108);
    GroupQuality->SetCaption(R(8));
    CompressedCB = Check(this, GroupQuality, 12, 20, 120, 8701);
    EmbeddedCB = Check(this, GroupQuality, 12, 40, 120, 8702);
    PrintOptCB = Check(this, GroupQuality, 12, 60, 120, 8703);
    OutlineCB = Check(this, GroupQuality, 140, 20, 120, 8704);
    BackgrCB = Check(this, GroupQuality, 140, 40, 120, 8705);
    OpenCB = Check(this, GroupQuality, 12, 82, 240, 8706);

    DocInfoGB = MakeControl<gui::TGroupBox>(this, InfoPage, 4, 4, 268, 200);
    DocInfoGB->SetCaption(R(8971));
    gui::TLabel** labels[] = {&TitleL, &AuthorL, &SubjectL, &KeywordsL, &CreatorL, &ProducerL};
    gui::TEdit** edits[] = {&TitleE, &AuthorE, &SubjectE, &KeywordsE, &CreatorE, &ProducerE};
    for (int i = 0; i < 6; ++i) {
        *labels[i] = MakeControl<gui::TLabel>(this, DocInfoGB, 12, 24 + 28 * i, 70, 16);
        (*labels[i])->SetCaption(R(8973 + i));
        *edits[i] = MakeControl<gui::TEdit>(this, DocInfoGB, 88, 20 + 28 * i, 168, 21);
    }

    SecGB = MakeControl<gui::TGroupBox>(this, SecurityPage, 4, 4, 268, 84);
    SecGB->SetCaption(R(8979));
    OwnPassL = MakeControl<gui::TLabel>(this, SecGB, 12, 24, 100, 16);
    OwnPassL->SetCaption(R(8964));
    OwnPassE = MakeControl<gui::TEdit>(this, SecGB, 120, 20, 136, 21);
    OwnPassE->SetPasswordChar(u'*');
    UserPassL = MakeControl<gui::TLabel>(this, SecGB, 12, 52, 100, 16);
    UserPassL->SetCaption(R(8965));
    UserPassE = MakeControl<gui::TEdit>(this, SecGB, 120, 48, 136, 21);
    UserPassE->SetPasswordChar(u'*');
    PermGB = MakeControl<gui::TGroupBox>(this, SecurityPage, 4, 92, 268, 104);
    PermGB->SetCaption(R(8980));
    PrintCB = Check(this, PermGB, 12, 20, 244, 8966);
    ModCB = Check(this, PermGB, 12, 40, 244, 8967);
    CopyCB = Check(this, PermGB, 12, 60, 244, 8968);
    AnnotCB = Check(this, PermGB, 12, 80, 244, 8969);

    ViewerGB = MakeControl<gui::TGroupBox>(this, ViewerPage, 4, 4, 268, 150);
    ViewerGB->SetCaption(R(8982));
    HideToolbarCB = Check(this, ViewerGB, 12, 20, 244, 8983);
    HideMenubarCB = Check(this, ViewerGB, 12, 40, 244, 8984);
    HideWindowUICB = Check(this, ViewerGB, 12, 60, 244, 8985);
    FitWindowCB = Check(this, ViewerGB, 12, 80, 244, 8986);
    CenterWindowCB = Check(this, ViewerGB, 12, 100, 244, 8987);
    PrintScalingCB = Check(this, ViewerGB, 12, 120, 244, 8988);

    OkB = MakeControl<gui::TButton>(this, this, 126, 287, 75, 25);
    OkB->SetCaption(R(1));
    OkB->SetDefault(true);
    OkB->SetModalResult(gui::mrOk);
    CancelB = MakeControl<gui::TButton>(this, this, 206, 287, 75, 25);
    CancelB->SetCaption(R(2));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(gui::mrCancel);

    SaveDialog1 = new gui::TSaveDialog(this);
    SaveDialog1->Options = {gui::TOpenOption::ofHideReadOnly, gui::TOpenOption::ofNoChangeDir,
                            gui::TOpenOption::ofEnableSizing};
    SaveDialog1->Filter = R(8707);
    SaveDialog1->DefaultExt = R(8708);
}

} // namespace qlr
