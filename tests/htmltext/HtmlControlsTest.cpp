// The markup check box, radio button, check group and label, driven headless
// through synthetic input and painted into bitmaps.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "MarkupFixture.h"
#include "TestPaths.h"
#include "htmltext/HTMLLabel.h"
#include "htmltext/htmlbuttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InputSim.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Exceptions.h"

using namespace htmltext;
using namespace gui;

namespace {

void FixedFont(TControl* c)
{
    c->SetParentFont(false);
    c->Font()->SetName("Courier New");
    c->Font()->SetHeight(-20);
    c->Font()->SetColor(clBlack);
}

// Saves what the form shows, for looking at; the path goes to the log.
void Keep(TForm& form, const std::string& name)
{
    auto img = form.GetFormImage();
    TPngImage png;
    png.Assign(img.get());
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tec-htmltext-shots";
    std::filesystem::create_directories(dir);
    png.SaveToFile((dir / (name + ".png")).string());
}

struct OpenRecorder {
    std::vector<std::string> opened;
    OpenRecorder()
    {
        SetOpenAddressHandler([this](const std::string& a) { opened.push_back(a); });
    }
    ~OpenRecorder() { SetOpenAddressHandler(nullptr); }
};

// The form a test puts its controls on; a plain check box first in tab
// order takes the focus when the form is shown.
struct Host {
    TForm form{nullptr};
    TWinControl* first;
    Host()
    {
        form.SetBounds(0, 0, 360, 260);
        form.SetColor(clWhite);
        auto* f = new THTMLCheckBox(&form);
        f->SetParent(&form);
        f->SetBounds(250, 230, 100, 20);
        f->SetCaption("first");
        first = f;
    }
    ~Host() { form.Hide(); }
};

} // namespace

TEST(HTMLCheckBox, MouseAndKeyboardToggleAndClick)
{
    Host h;
    auto* cb = new THTMLCheckBox(&h.form);
    cb->SetParent(&h.form);
    cb->SetBounds(10, 10, 200, 30);
    FixedFont(cb);
    cb->SetCaption("<b>Show</b> grid");
    int clicks = 0;
    cb->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.form.Show();

    // A press on the unfocused box focuses it; the release inside toggles.
    sim::Click(cb, 5, 10);
    EXPECT_TRUE(cb->Focused());
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 1);
    // A release outside does not toggle.
    sim::MouseDown(cb, TMouseButton::mbLeft, 5, 10);
    EXPECT_TRUE(cb->Down());
    sim::MouseUp(cb, TMouseButton::mbLeft, 300, 10);
    EXPECT_FALSE(cb->Down());
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 1);
    // Space toggles on release and clicks.
    sim::KeyPress(VK_SPACE);
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 2);
    // Programmatic changes never click.
    cb->SetChecked(true);
    EXPECT_EQ(clicks, 2);
    // Grayed toggles to checked; read-only keeps its state but still clicks.
    cb->SetState(TCheckBoxState::cbGrayed);
    cb->Toggle();
    EXPECT_EQ(cb->State(), TCheckBoxState::cbChecked);
    cb->SetReadOnly(true);
    sim::Click(cb, 5, 10);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 3);
    // The accelerator toggles without a click.
    cb->SetReadOnly(false);
    cb->SetCaption("&Grid lines");
    cb->Perform(CM_DIALOGCHAR, 'g');
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 3);
    Keep(h.form, "checkbox");
}

TEST(HTMLCheckBox, AnchorsInTheCaption)
{
    OpenRecorder rec;
    Host h;
    auto* cb = new THTMLCheckBox(&h.form);
    cb->SetParent(&h.form);
    cb->SetBounds(10, 10, 300, 30);
    FixedFont(cb);
    // Caption from x = 17 (box 13 + gap), text from 18: "ab" 18..42, link 42..90.
    cb->SetCaption("ab<a href=\"help\">link</a> <a href=\"mailto:x@y.z\">mail</a>");
    std::vector<std::string> anchors;
    cb->OnAnchorClick = [&](rtl::TObject*, const std::string& a) { anchors.push_back(a); };
    int clicks = 0;
    cb->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.form.Show();
    EXPECT_EQ(cb->AnchorAtPoint(60, 15), "help");
    EXPECT_EQ(cb->AnchorAtPoint(30, 15), "");

    // Unfocused: the press only focuses, no anchor is looked at.
    sim::MouseDown(cb, TMouseButton::mbLeft, 60, 15);
    EXPECT_TRUE(anchors.empty());
    sim::MouseUp(cb, TMouseButton::mbLeft, 60, 15);
    EXPECT_EQ(clicks, 1);
    // Focused: the anchor reaches its event; the press neither captures nor
    // presses the box, the release inside still toggles.
    sim::MouseDown(cb, TMouseButton::mbLeft, 60, 15);
    EXPECT_EQ(anchors, std::vector<std::string>{"help"});
    EXPECT_FALSE(cb->Down());
    sim::MouseUp(cb, TMouseButton::mbLeft, 60, 15);
    EXPECT_EQ(clicks, 2);
    // A mail address goes to the desktop, not to the event.
    sim::Click(cb, 110, 15);
    EXPECT_EQ(anchors.size(), 1u);
    EXPECT_EQ(rec.opened, std::vector<std::string>{"mailto:x@y.z"});
    // Moving over an anchor shows the hand and fires enter once.
    int enters = 0, exits = 0;
    cb->OnAnchorEnter = [&](rtl::TObject*, const std::string&) { ++enters; };
    cb->OnAnchorExit = [&](rtl::TObject*, const std::string& a) { ++exits; EXPECT_EQ(a, ""); };
    sim::MouseMove(cb, 60, 15);
    sim::MouseMove(cb, 62, 15);
    EXPECT_EQ(cb->Cursor(), crHandPoint);
    sim::MouseMove(cb, 30, 15);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(cb->Cursor(), crDefault);
}

TEST(HTMLCheckBox, LooksFocusRectangleAndDisabledCaption)
{
    Host h;
    std::vector<THTMLCheckBox*> boxes;
    const TButtonType looks[] = {TButtonType::btClassic, TButtonType::btDrawn, TButtonType::btFlat,
                                 TButtonType::btVantor, TButtonType::btWinXP, TButtonType::btTheme};
    for (int i = 0; i < 6; ++i) {
        auto* cb = new THTMLCheckBox(&h.form);
        cb->SetParent(&h.form);
        cb->SetBounds(10, 5 + i * 32, 220, 30);
        FixedFont(cb);
        cb->SetColor(clWhite);
        cb->SetButtonType(looks[i]);
        cb->SetCaption("look <font color=\"clRed\">" + std::to_string(i) + "</font>");
        cb->SetChecked(i % 2 == 0);
        boxes.push_back(cb);
    }
    boxes[5]->SetEnabled(false);
    h.form.Show();
    boxes[1]->SetFocus();
    auto img = h.form.GetFormImage();
    Keep(h.form, "checkbox-looks");
    // Each look paints a box on the left.
    for (int i = 0; i < 6; ++i) {
        int y = 5 + i * 32;
        int ink = 0;
        for (int yy = y; yy < y + 25; ++yy)
            for (int x = 10; x < 30; ++x) ink += img->Canvas()->Pixels(x, yy) != clWhite;
        EXPECT_GT(ink, 20) << "look " << i;
    }
    // The focused box has a dotted outline starting at the caption's corner
    // (x 10 + 17, y 5 + 32 + 4).
    int dots = 0;
    for (int x = 27; x < 27 + 60; ++x) dots += img->Canvas()->Pixels(x, 41) != clWhite;
    EXPECT_GT(dots, 10);
    int none = 0;
    for (int x = 27; x < 27 + 60; ++x) none += img->Canvas()->Pixels(x, 5 + 4) != clWhite;
    EXPECT_EQ(none, 0);
    // The disabled caption is drawn grey over a white copy; black text of
    // the enabled captions is not used.
    int grey = 0, black = 0;
    for (int yy = 165; yy < 195; ++yy)
        for (int x = 30; x < 100; ++x) {
            grey += img->Canvas()->Pixels(x, yy) == clGray;
            black += img->Canvas()->Pixels(x, yy) == clBlack;
        }
    EXPECT_GT(grey, 20);
    EXPECT_EQ(black, 0);
}

TEST(HTMLRadioButton, GroupUnchecksOthersAndClicksOnce)
{
    Host h;
    std::vector<THTMLRadioButton*> radios;
    std::vector<int> clicks(6, 0);
    for (int i = 0; i < 6; ++i) {
        auto* r = new THTMLRadioButton(&h.form);
        r->SetParent(&h.form);
        r->SetBounds(10, 5 + i * 28, 200, 26);
        FixedFont(r);
        r->SetGroupIndex(1);
        r->SetButtonType(TButtonType::btFlat);
        r->SetCaption("choice <i>" + std::to_string(i) + "</i>");
        r->OnClick = [&clicks, i](rtl::TObject*) { ++clicks[i]; };
        radios.push_back(r);
    }
    auto* other = new THTMLRadioButton(&h.form);   // another group on the same form
    other->SetParent(&h.form);
    other->SetBounds(220, 5, 100, 26);
    other->SetGroupIndex(2);
    other->SetChecked(true);
    radios[0]->SetChecked(true);
    std::fill(clicks.begin(), clicks.end(), 0);
    h.form.Show();

    sim::Click(radios[3], 5, 12);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(radios[i]->Checked(), i == 3) << i;
    EXPECT_EQ(clicks, (std::vector<int>{0, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(other->Checked());
    radios[3]->SetChecked(true);
    EXPECT_EQ(clicks[3], 1);
    // Programmatic checking clicks too, once.
    radios[5]->SetChecked(true);
    EXPECT_EQ(clicks[5], 1);
    EXPECT_FALSE(radios[3]->Checked());
    // Tabbing into an unchecked radio button checks it.
    radios[1]->SetTabStop(true);
    radios[5]->SetFocus();
    sim::KeyPress(VK_TAB, {TShiftStateItem::ssShift});
    // Shift+Tab from 5 goes back through the tab order to 1 (2 to 4 do not stop).
    EXPECT_TRUE(radios[1]->Checked());
    EXPECT_EQ(clicks[1], 1);
    Keep(h.form, "radio");
}

TEST(HTMLCheckBox, ReturnMovesFocusWhenReturnIsTab)
{
    Host h;
    auto* a = new THTMLCheckBox(&h.form);
    a->SetParent(&h.form);
    a->SetBounds(10, 10, 100, 20);
    a->SetReturnIsTab(true);
    a->SetTabOrder(0);
    auto* b = new THTMLCheckBox(&h.form);
    b->SetParent(&h.form);
    b->SetBounds(10, 40, 100, 20);
    b->SetTabOrder(1);
    h.form.Show();
    a->SetFocus();
    sim::KeyPress(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_TRUE(b->Focused());
}

TEST(HTMLCheckGroup, ColumnsLayoutAndItemStates)
{
    Host h;
    auto* g = new THTMLCheckGroup(&h.form);
    g->SetParent(&h.form);
    g->SetBounds(10, 10, 88, 97);
    g->SetCaption(" Eclipse type ");
    rtl::TStringList items{"partial", "total", "annular", "<b>hybrid</b>"};
    g->SetItems(&items);
    ASSERT_EQ(g->ButtonCount(), 4);
    gui::TBitmap probe(1, 1);
    probe.Canvas()->SetFont(g->Font());
    const int t = probe.Canvas()->GetTextMetrics().tmHeight;
    const int freeH = 97 - t - 5, rowH = freeH / 4, first = (freeH % 4) / 2 + t + 1;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g->Buttons(i)->Left(), 8);
        EXPECT_EQ(g->Buttons(i)->Top(), first + i * rowH);
        EXPECT_EQ(g->Buttons(i)->Width(), 78);
        EXPECT_EQ(g->Buttons(i)->Height(), rowH);
    }
    if (t == 13) { EXPECT_EQ(g->Buttons(3)->Top(), 72); }

    int clicks = 0;
    g->OnClick = [&](rtl::TObject*) { ++clicks; };
    h.form.Show();
    g->SetItemChecked(2, true);
    EXPECT_TRUE(g->GetItemChecked(2));
    EXPECT_EQ(clicks, 0);
    sim::Click(g->Buttons(0), 5, 8);
    EXPECT_TRUE(g->GetItemChecked(0));
    EXPECT_EQ(clicks, 1);
    try {
        g->GetItemChecked(4);
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid checkbox index");
    }
    EXPECT_NO_THROW(g->SetItemChecked(-1, true));
    Keep(h.form, "checkgroup");

    // Five items in two columns: three rows.
    g->SetBounds(10, 10, 200, 97);
    items.Add("fifth");
    g->SetItems(&items);
    g->SetColumns(2);
    EXPECT_EQ(g->Buttons(2)->Left(), 8);
    EXPECT_EQ(g->Buttons(3)->Left(), 8 + (200 - 10) / 2);
    EXPECT_EQ(g->Buttons(3)->Top(), g->Buttons(0)->Top());
    g->SetColumns(0);
    EXPECT_EQ(g->Columns(), 1);
    g->SetColumns(20);
    EXPECT_EQ(g->Columns(), 16);
    // Removing a line frees the last box; states stay by position.
    EXPECT_TRUE(g->GetItemChecked(0));
    items.Delete(0);
    g->SetItems(&items);
    EXPECT_EQ(g->ButtonCount(), 4);
    EXPECT_TRUE(g->GetItemChecked(0));
    // OnIsEnabled decides per item at layout.
    g->OnIsEnabled = [](rtl::TObject*, int i, bool& enabled) { enabled = i != 1; };
    g->SetColumns(1);
    EXPECT_FALSE(g->Buttons(1)->Enabled());
    g->SetEnabled(false);
    g->SetEnabled(true);
    EXPECT_TRUE(g->Buttons(1)->Enabled());
}

TEST(HTMLLabel, AutosizeAnchorsHoverAndHighlight)
{
    OpenRecorder rec;
    Host h;
    auto* l = new THTMLLabel(&h.form);
    l->SetParent(&h.form);
    l->SetBounds(20, 20, 50, 10);
    FixedFont(l);
    l->SetColor(RGB(255, 255, 224));
    rtl::TStringList text{"Eclipse <a href=\"http://e.invalid/\">site</a> and <a href=\"notes\">notes</a>"};
    l->SetHTMLText(&text);
    l->SetAutoSizing(true);
    l->SetAutoSizeType(TAutoSizeType::asBoth);
    std::vector<std::string> clicked, entered;
    l->OnAnchorClick = [&](rtl::TObject*, const std::string& a) { clicked.push_back(a); };
    l->OnAnchorEnter = [&](rtl::TObject*, const std::string& a) { entered.push_back(a); };
    int exits = 0;
    l->OnAnchorExit = [&](rtl::TObject*, const std::string& a) { ++exits; EXPECT_EQ(a, ""); };
    h.form.Show();
    h.form.GetFormImage();
    // "Eclipse site and notes" is 22 characters of 12 pixels, plus the
    // panel's 2, plus 6; one line of 23, plus 6.
    EXPECT_EQ(l->Width(), 22 * 12 + 2 + 6);
    EXPECT_EQ(l->Height(), 23 + 6);
    EXPECT_EQ(l->Text(), "Eclipse site and notes");

    // "site" spans 97..145 of the label, "notes" 205..265.
    sim::Click(l, 100, 10);
    sim::Click(l, 210, 10);
    EXPECT_EQ(clicked, (std::vector<std::string>{"http://e.invalid/", "notes"}));
    EXPECT_EQ(rec.opened, std::vector<std::string>{"http://e.invalid/"});
    sim::MouseMove(l, 100, 10);
    sim::MouseMove(l, 105, 10);
    EXPECT_EQ(entered.back(), "http://e.invalid/");
    size_t n = entered.size();
    sim::MouseMove(l, 106, 10);
    EXPECT_EQ(entered.size(), n);
    EXPECT_EQ(l->Cursor(), crHandPoint);
    sim::MouseMove(l, 170, 10);
    EXPECT_GE(exits, 1);
    EXPECT_EQ(l->Cursor(), crDefault);

    // Highlighting wraps the matches in HI tags and back.
    l->HilightText("e", false);
    EXPECT_NE(l->HTMLText()->Strings(0).find("<hi>E</hi>clips<hi>e</hi>"), std::string::npos);
    Keep(h.form, "label");
    auto img = h.form.GetFormImage();
    EXPECT_GT(markuptest::CountColor(*img, Rect(20, 20, 40, 50), ColorToRGB(clHighlight)), 20);
    l->UnHilightText();
    EXPECT_EQ(l->HTMLText()->Strings(0), text.Strings(0));
    // An empty search highlights nothing and returns.
    l->HilightText("", true);
    EXPECT_EQ(l->HTMLText()->Strings(0), text.Strings(0));

    // Lines read as a list are joined with one blank; assigned, without.
    l->HTMLText()->Clear();
    l->HTMLText()->Add("one");
    l->HTMLText()->Add("two");
    EXPECT_EQ(l->Text(), "one two");
    rtl::TStringList two{"one", "two"};
    l->SetHTMLText(&two);
    EXPECT_EQ(l->Text(), "onetwo");
}

TEST(HTMLLabel, VerticalAlignmentGradientAndZeroSize)
{
    Host h;
    auto* l = new THTMLLabel(&h.form);
    l->SetParent(&h.form);
    l->SetBounds(10, 10, 200, 80);
    FixedFont(l);
    l->SetColor(clWhite);
    l->SetColorTo(clBlue);
    l->SetGradientType(TGradientType::gtFullVertical);
    l->SetVAlignment(TVAlignment::tvaBottom);
    rtl::TStringList text{"<b>bottom</b>"};
    l->SetHTMLText(&text);
    auto* z = new THTMLLabel(&h.form);   // no client area: paints nothing
    z->SetParent(&h.form);
    z->SetBounds(10, 100, 0, 0);
    z->SetHTMLText(&text);
    h.form.Show();
    auto img = h.form.GetFormImage();
    Keep(h.form, "label-bottom");
    // The gradient runs from white at the top towards blue at the bottom.
    EXPECT_EQ(img->Canvas()->Pixels(200, 11), RGB(255, 255, 255));
    EXPECT_LT(GetRValue(img->Canvas()->Pixels(200, 88)), 20);
    // The text ends at the label's bottom: dark glyph pixels in the last 23 rows only.
    int top = 0, bottom = 0;
    for (int y = 10; y < 90; ++y)
        for (int x = 12; x < 90; ++x)
            if (img->Canvas()->Pixels(x, y) == clBlack) (y < 90 - 23 ? top : bottom)++;
    EXPECT_EQ(top, 0);
    EXPECT_GT(bottom, 20);
}

TEST(HTMLLabel, HintsPrintingAndTransparency)
{
    Host h;
    auto* l = new THTMLLabel(&h.form);
    l->SetParent(&h.form);
    l->SetBounds(10, 10, 300, 30);
    FixedFont(l);
    rtl::TStringList text{"see <a href=\"more\">more</a> <b>here</b>"};
    l->SetHTMLText(&text);
    l->SetHint("plain hint");
    EXPECT_EQ(l->HintAt(60, 10), "plain hint");
    l->SetAnchorHint(true);
    l->OnAnchorHint = [](rtl::TObject*, std::string& a) { a = "[" + a + "]"; };
    EXPECT_EQ(l->HintAt(60, 10), "[more]");
    l->SetHintShowFull(true);
    EXPECT_EQ(l->HintAt(5, 10), "see more here");
    l->SetHTMLHint(true);
    EXPECT_EQ(l->HintAt(5, 10), text.Strings(0));

    // Printing draws onto any canvas with that canvas's font.
    gui::TBitmap page(400, 60);
    markuptest::UseFixedFont(*page.Canvas());
    page.Canvas()->FillRect(Rect(0, 0, 400, 60));
    l->HTMLPrint(*page.Canvas(), Rect(0, 0, 400, 60));
    EXPECT_GT(markuptest::CountColor(page, Rect(49, 0, 97, 23), ColorToRGB(clBlue)), 10);

    // Transparent: no background fill, the line gradient is still drawn.
    h.form.SetColor(RGB(0, 128, 0));
    l->SetColor(clRed);
    l->SetTransparent(true);
    l->SetGradientType(TGradientType::gtBottomLine);
    l->SetColorTo(clRed);
    h.form.Show();
    auto img = h.form.GetFormImage();
    EXPECT_EQ(img->Canvas()->Pixels(300, 12), RGB(0, 128, 0));
    EXPECT_EQ(img->Canvas()->Pixels(300, 39), RGB(255, 0, 0));
}
