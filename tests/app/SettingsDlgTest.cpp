// The options dialog offscreen: the controls each overlay flag shows, the
// shading swatches and their range, the colour selectors' "More Colors...",
// the label sizes, the explanations, the recompute decision of the main
// window's command, and pictures of every page.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "MainWindowFixture.h"
#include "app/DeltaTDlgs.h"
#include "app/SettingsDlgs.h"
#include "platform/gui/InputSim.h"

using namespace app;

namespace {

namespace fs = std::filesystem;

class OptionsDialog : public apptest::HomeFixture {
protected:
    void SetUp() override
    {
        HomeFixture::SetUp();
        gui::Application->Initialize();
        auto service = std::make_unique<gui::TScriptedDialogService>();
        Dialogs = service.get();
        gui::SetDialogService(std::move(service));
        Dlg = new TSettingsDlg(nullptr);
    }
    void TearDown() override
    {
        delete Dlg;
        gui::SetDialogService(nullptr);
        HomeFixture::TearDown();
    }
    void Shot(const std::string& name)
    {
        gui::Application->ProcessMessages();
        auto image = Dlg->GetImage();
        ASSERT_TRUE(image);
        gui::TPicture picture;
        picture.SetGraphic(image.get());
        fs::create_directories(apptest::Shots);
        picture.SaveToFile((apptest::Shots / name).string());
    }
    void AllFlags(bool value)
    {
        for (int i = 0; i < MapSlotCount; ++i) Dlg->SetFlags(i, value);
    }
    // The colour of a control's centre in a picture of the page.
    gui::TColor CentreColour(gui::TWinControl* page, gui::TControl* c)
    {
        gui::Application->ProcessMessages();
        auto image = page->GetImage();
        return image->Canvas()->Pixels(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
    }

    gui::TScriptedDialogService* Dialogs = nullptr;
    TSettingsDlg* Dlg = nullptr;
};

TEST_F(OptionsDialog, EachFlagShowsExactlyItsControls)
{
    TSettingsDlg& d = *Dlg;
    auto L = [&](int n) -> gui::TControl* { return d.Labels[static_cast<std::size_t>(n)]; };
    const std::vector<std::vector<gui::TControl*>> controls = {
        {d.CSPOTColor, L(3)},
        {d.CSCCEColor, L(4)},
        {d.CSCEMColor, L(1), L(16), L(17), d.ECEMScale, d.ECEMWidth, d.CBShowCEMLabels},
        {d.CSMA0Color, L(7)},
        {d.CSLVMColor, L(8)},
        {d.CSLVFColor, L(6)},
        {d.CSLVLColor, L(5)},
        {d.CSCETColor, L(13), L(14), L(15), d.ECETScale, d.ECETWidth, d.CBShowCETLabels},
        {d.CSCEMLabelColor, L(2), L(18), L(19), d.ECEMLabelScale, d.ECEMLabelOffset, d.CBCEMLabelSize},
        {d.CSCETLabelColor, L(12), d.CBCETLabelSize},
        {d.CSLOCColor, L(10), d.CBShowLOCLabels},
        {d.CSLOCLabelColor, L(9)},
        {d.CSInfoColor, L(11), d.CBInfoPosition},
        {d.CSLELabels, L(20), d.CBLELongLabels},
    };
    // The label slots also hide with the slot they depend on.
    const std::map<int, int> dependent = {{2, 8}, {7, 9}, {10, 11}};
    for (int slot = 0; slot < MapSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        AllFlags(true);
        for (const auto& list : controls)
            for (gui::TControl* c : list) ASSERT_TRUE(c->Visible());
        // Clearing the box by a click hides its controls and nothing else.
        d.ShowBoxes[static_cast<std::size_t>(slot)]->SetChecked(false);
        d.CBShowClick(d.ShowBoxes[static_cast<std::size_t>(slot)]);
        EXPECT_FALSE(d.Flags(slot));
        for (int other = 0; other < MapSlotCount; ++other) {
            const bool hidden = other == slot || (dependent.count(slot) && dependent.at(slot) == other);
            for (gui::TControl* c : controls[static_cast<std::size_t>(other)])
                EXPECT_EQ(c->Visible(), !hidden) << "slot " << other << " " << c->Name();
        }
    }
    // Magnitude labels on, curves off: the label controls stay hidden, the
    // label box keeps its state.
    AllFlags(false);
    d.SetFlags(slotCEMLabels, true);
    EXPECT_TRUE(d.CBShowCEMLabels->Checked());
    EXPECT_FALSE(d.CBShowCEMLabels->Visible());
    EXPECT_FALSE(d.ECEMLabelScale->Visible());
    d.SetFlags(slotCEM, true);
    EXPECT_TRUE(d.ECEMLabelScale->Visible());
    // The Tags are the slots; the long-label box follows its field.
    for (int slot = 0; slot < MapSlotCount; ++slot) {
        EXPECT_EQ(d.ShowBoxes[static_cast<std::size_t>(slot)]->Tag(), slot);
        EXPECT_EQ(d.ColorSelectors[static_cast<std::size_t>(slot)]->Tag(), slot);
    }
    d.SetLELongLabels(true);
    EXPECT_TRUE(d.CBLELongLabels->Checked());
}

TEST_F(OptionsDialog, SwatchesShowTheGreyOfTheirIntensity)
{
    struct Case {
        int Percent, Level;
    };
    const Case cases[] = {{50, 128}, {30, 76}, {10, 26}, {0, 0}, {100, 255}, {70, 178}, {90, 230}};
    for (const Case& c : cases) EXPECT_EQ(ShadingGrey(c.Percent), gui::TColor(c.Level * 0x010101)) << c.Percent;

    Dlg->Show();
    Dlg->SetPageIndex(1);
    for (int i = 0; i < 7; ++i) Dlg->SetLEShadingIntensity(i, cases[i].Percent);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Dlg->ELES[static_cast<std::size_t>(i)]->IntValue(), cases[i].Percent);
        EXPECT_EQ(CentreColour(Dlg->TSLEShading, Dlg->Sh[static_cast<std::size_t>(i)]),
                  gui::TColor(cases[i].Level * 0x010101))
            << i;
    }
    Dlg->Hide();
}

TEST_F(OptionsDialog, ShadingAboveHundredIsRefused)
{
    Dlg->Show();
    Dlg->SetPageIndex(1);
    Dlg->SetLEShadingIntensity(2, 50);
    controls::TExEdit* edit = Dlg->ELES[2];
    edit->SetFocus();
    edit->SetIntValue(101);
    Dlg->ELESExit(edit);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "The value exceeds the allowed range [0..100].");
    EXPECT_EQ(edit->IntValue(), 50);
    EXPECT_EQ(Dlg->LEShadingIntensity(2), 50);
    EXPECT_TRUE(edit->Focused());
    // A value within the range is stored and recolours its swatch.
    edit->SetIntValue(100);
    Dlg->ELESExit(edit);
    EXPECT_EQ(Dlg->LEShadingIntensity(2), 100);
    EXPECT_EQ(CentreColour(Dlg->TSLEShading, Dlg->Sh[2]), gui::clWhite);
    EXPECT_EQ(Dialogs->Calls.size(), 1u);
    Dlg->Hide();
}

TEST_F(OptionsDialog, MoreColorsAndPalette)
{
    controls::TExColorSelector* cs = Dlg->CSLOCColor;
    // 40 colours and "More Colors..." as item 40.
    ASSERT_EQ(cs->Tools()->Count(), 41);
    EXPECT_EQ(cs->Tools()->Items(0)->BackGroundColor(), gui::clBlack);
    EXPECT_EQ(cs->Tools()->Items(1)->BackGroundColor(), 13209);
    EXPECT_EQ(cs->Tools()->Items(39)->BackGroundColor(), gui::clWhite);
    EXPECT_EQ(cs->Tools()->Items(40)->Caption(), "More Colors...");
    EXPECT_EQ(cs->Tools()->Items(40)->Hint(), "More Color");

    Dlg->SetColors(slotLocations, gui::clRed);
    EXPECT_EQ(cs->SelectedColor(), gui::clRed);
    // A palette colour has become the selector's before the event.
    cs->SetSelectedColor(gui::clBlue);
    Dlg->CSColorSelect(cs, 13);
    EXPECT_EQ(Dlg->Colors(slotLocations), gui::clBlue);
    // "More Colors..." cancelled keeps the colour and stores it again.
    Dlg->SetColors(slotLocations, gui::clRed);
    cs->SetSelectedColor(gui::clLime);
    Dlg->CSColorSelect(cs, 40);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Kind, "Color");
    EXPECT_EQ(cs->SelectedColor(), gui::clLime);
    EXPECT_EQ(Dlg->Colors(slotLocations), gui::clLime);
    // Accepted: the chosen colour.
    Dialogs->ColorAnswers.push_back({true, 0x123456});
    Dlg->CSColorSelect(cs, 40);
    EXPECT_EQ(cs->SelectedColor(), 0x123456);
    EXPECT_EQ(Dlg->Colors(slotLocations), 0x123456);
    EXPECT_TRUE(Dlg->ColorDialog->FullOpen);
}

TEST_F(OptionsDialog, LabelSizesAndValueWriters)
{
    Dlg->SetCEMLabelSize(12);
    Dlg->SetCEMLabelSize(20);
    EXPECT_EQ(Dlg->CEMLabelSize(), 12);
    EXPECT_EQ(Dlg->CBCEMLabelSize->ItemIndex(), 4);
    Dlg->SetCETLabelSize(7);
    EXPECT_EQ(Dlg->CETLabelSize(), 8);
    Dlg->SetLELabelSize(10);
    Dlg->SetLELabelSize(20);
    EXPECT_EQ(Dlg->LELabelSize(), 20);
    EXPECT_EQ(Dlg->CBLELabelSize->ItemIndex(), 2);
    // Choosing in a list stores item + 8.
    Dlg->CBCETLabelSize->SetItemIndex(8);
    Dlg->CBCETLabelSize->OnChange(Dlg->CBCETLabelSize);
    EXPECT_EQ(Dlg->CETLabelSize(), 16);
    Dlg->SetInfoPosition(ipTopCenter);
    EXPECT_EQ(Dlg->CBInfoPosition->ItemIndex(), 1);
    EXPECT_EQ(Dlg->CBInfoPosition->Items()->Strings(5), "bottom right");

    // The edits show the values; OK reads them back from the edits.
    Dlg->SetCEMScale(0.25);
    Dlg->SetCEMWidth(0.01);
    Dlg->SetCETWidth(0.3);
    Dlg->SetCETScale(30);
    EXPECT_EQ(Dlg->ECEMScale->Text(), "0.250");
    EXPECT_EQ(Dlg->ECETScale->IntValue(), 30);
    Dlg->ECEMScale->SetText("0.5");
    Dlg->ECETScale->SetIntValue(0);
    Dlg->ECEMLabelScale->SetIntValue(0);
    Dlg->OKBtnClick();
    EXPECT_EQ(Dlg->CEMScale(), 0.5);
    EXPECT_EQ(Dlg->CETScale(), 0);
    EXPECT_EQ(Dlg->CEMLabelScale(), 0);
    EXPECT_EQ(Dlg->ModalResult(), gui::mrOk);
    EXPECT_TRUE(Dialogs->Calls.empty());
}

// A width of 0 would be dropped by the map without a word: the edit
// refuses it and keeps the value before.
TEST_F(OptionsDialog, MagnitudeCurveWidthOfZeroIsRefused)
{
    Dlg->SetCEMWidth(0.02);
    Dlg->ECEMWidth->SetText("0");
    Dlg->OKBtnClick();
    EXPECT_DOUBLE_EQ(Dlg->CEMWidth(), 0.02);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_NE(Dialogs->Calls[0].Text.find("out of range"), std::string::npos);
    // The least values shown with three decimals are taken.
    Dlg->ECEMWidth->SetText("0.001");
    Dlg->ECEMScale->SetText("0.01");
    Dlg->OKBtnClick();
    EXPECT_DOUBLE_EQ(Dlg->CEMWidth(), 0.001);
    EXPECT_DOUBLE_EQ(Dlg->CEMScale(), 0.01);
    EXPECT_EQ(Dialogs->Calls.size(), 1u);
}

// A control lies inside its page and overlaps none of the page's others.
void ExpectClearOfTheOthers(gui::TControl* c)
{
    gui::TWinControl* page = c->Parent();
    const gui::TRect r = c->BoundsRect();
    EXPECT_GE(r.Left, 0);
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Right, page->ClientWidth());
    EXPECT_LE(r.Bottom, page->ClientHeight());
    for (int i = 0; i < page->ControlCount(); ++i) {
        gui::TControl* o = page->Controls(i);
        if (o == c || !o->Visible()) continue;
        const gui::TRect b = o->BoundsRect();
        const bool overlap = b.Left < r.Right && r.Left < b.Right && b.Top < r.Bottom && r.Top < b.Bottom;
        EXPECT_FALSE(overlap) << "overlaps the control at " << b.Left << "," << b.Top;
    }
}

TEST_F(OptionsDialog, ExplanationsShowWhileTheirControlHasTheFocus)
{
    AllFlags(true);
    Dlg->Show();
    Dlg->SEPageControl->SetActivePage(Dlg->TSCurveOfEqualMagnitude);
    gui::Application->ProcessMessages();
    EXPECT_EQ(Dlg->LInfoCEM->Caption(), "");
    Dlg->ECEMScale->SetFocus();
    gui::Application->ProcessMessages();
    EXPECT_TRUE(Dlg->LInfoCEM->Caption().starts_with("The Scale parameter determines the magnitude interval"));
    Shot("options-explanation-cem.png");
    ExpectClearOfTheOthers(Dlg->LInfoCEM);
    Dlg->ECEMLabelOffset->SetFocus();
    gui::Application->ProcessMessages();
    EXPECT_TRUE(Dlg->LInfoCEM->Caption().starts_with("Magnitude labels are aligned"));
    Dlg->SEPageControl->SetActivePage(Dlg->TSCurveOfEqualTime);
    Dlg->ECETWidth->SetFocus();
    gui::Application->ProcessMessages();
    EXPECT_EQ(Dlg->LInfoCEM->Caption(), "");
    EXPECT_TRUE(Dlg->LInfoCET->Caption().starts_with("The Width parameter specifies the colored time range"));
    Shot("options-explanation-cet.png");
    ExpectClearOfTheOthers(Dlg->LInfoCET);
    Dlg->CBCETLabelSize->SetFocus();
    gui::Application->ProcessMessages();
    EXPECT_EQ(Dlg->LInfoCET->Caption(),
              "The Size parameter specifies the font size used for time labels. Note, that times are given in "
              "universat time (UT)");
    Dlg->Hide();
}

TEST_F(OptionsDialog, RecomputeDecision)
{
    const TMapDrawSettings before = DefaultMapDrawSettings(GeneralMapData);
    struct Case {
        const char* What;
        std::function<void(TMapDrawSettings&)> Change;
        bool Recompute;
    };
    const Case cases[] = {
        {"nothing", [](TMapDrawSettings&) {}, false},
        {"slot 10 colour", [](TMapDrawSettings& s) { s.Colors[10] ^= 1; }, false},
        {"slot 11 flag", [](TMapDrawSettings& s) { s.Flags[11] = !s.Flags[11]; }, false},
        {"slot 12 colour", [](TMapDrawSettings& s) { s.Colors[12] ^= 1; }, false},
        {"information position", [](TMapDrawSettings& s) { s.InfoPosition = ipTopLeft; }, false},
        {"slot 13 colour", [](TMapDrawSettings& s) { s.Colors[13] ^= 1; }, true},
        {"slot 0 flag", [](TMapDrawSettings& s) { s.Flags[0] = !s.Flags[0]; }, true},
        {"slot 9 colour", [](TMapDrawSettings& s) { s.Colors[9] ^= 1; }, true},
        {"CEM scale + 1e-6", [](TMapDrawSettings& s) { s.CEMScale += 1e-6; }, false},
        {"CEM scale + 1e-4", [](TMapDrawSettings& s) { s.CEMScale += 1e-4; }, true},
        {"CET width", [](TMapDrawSettings& s) { s.CETWidth += 0.1; }, true},
        {"CEM label offset", [](TMapDrawSettings& s) { s.CEMLabelOffset += 1; }, true},
        {"LE label size", [](TMapDrawSettings& s) { s.LELabelSize += 1; }, true},
        {"long labels", [](TMapDrawSettings& s) { s.LELongLabels = !s.LELongLabels; }, true},
        {"shading", [](TMapDrawSettings& s) { s.LEShadingIntensity[6] = 90; }, true},
    };
    for (const Case& c : cases) {
        TMapDrawSettings after = before;
        c.Change(after);
        EXPECT_EQ(OptionsNeedCalculation(before, after), c.Recompute) << c.What;
    }
}

TEST_F(OptionsDialog, Screenshots)
{
    Dlg->SetOptions(DefaultMapDrawSettings(GeneralMapData));
    AllFlags(true);
    Dlg->Show();
    fs::create_directories(apptest::Shots);
    auto shot = [&](const std::string& name) {
        gui::Application->ProcessMessages();
        auto image = Dlg->GetImage();
        ASSERT_TRUE(image);
        gui::TPicture picture;
        picture.SetGraphic(image.get());
        picture.SaveToFile((apptest::Shots / ("options-" + name + ".png")).string());
    };
    Dlg->SetPageIndex(0);
    for (int i = 0; i < 4; ++i) {
        Dlg->SEPageControl->SetActivePageIndex(i);
        shot("solar-" + std::to_string(i));
    }
    Dlg->SetPageIndex(1);
    for (int i = 0; i < 2; ++i) {
        Dlg->ExPageControl1->SetActivePageIndex(i);
        shot("lunar-" + std::to_string(i));
    }
    Dlg->SetPageIndex(2);
    shot("locations");
    Dlg->SetPageIndex(3);
    shot("chartinfo");
    Dlg->Hide();
}


// ------------------------------------------------------- the main window

using apptest::MainWindow;

// Runs a settings command with `inside` done in its modal dialog.
void RunCommand(TSEMainForm* form, const std::string& action, std::function<void()> inside)
{
    gui::QueueInMainThread(inside);
    gui::TAction* a = form->Action(action);
    ASSERT_TRUE(a->Enabled()) << action;
    a->Execute();
}

TEST_F(MainWindow, OptionsCommandRecomputesOnlyForWhatTheMapDraws)
{
    if (Form->EventType() != etSolarEclipse) Form->SetEventType(etSolarEclipse);
    TMapDrawSettings& map = Form->EclipseMap().Settings;
    struct Case {
        const char* What;
        std::function<void(TSettingsDlg&)> Change;
        bool Recompute;
    };
    auto pick = [](TSettingsDlg& d, int slot, gui::TColor c) {
        d.ColorSelectors[static_cast<std::size_t>(slot)]->SetSelectedColor(c);
        d.CSColorSelect(d.ColorSelectors[static_cast<std::size_t>(slot)], 3);
    };
    const Case cases[] = {
        {"slot 10 colour", [&](TSettingsDlg& d) { pick(d, 10, 0x010203); }, false},
        {"slot 11 colour", [&](TSettingsDlg& d) { pick(d, 11, 0x010204); }, false},
        {"slot 12 colour", [&](TSettingsDlg& d) { pick(d, 12, 0x010205); }, false},
        {"information position",
         [](TSettingsDlg& d) {
             d.CBInfoPosition->SetItemIndex(0);
             d.CBInfoPosition->OnChange(d.CBInfoPosition);
         },
         false},
        {"slot 13 colour", [&](TSettingsDlg& d) { pick(d, 13, 0x010206); }, true},
        {"CET scale 0", [](TSettingsDlg& d) { d.ECETScale->SetIntValue(0); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Form->SetStatus(stCalculated);
        Form->SetModified(false);
        RunCommand(Form, "actSettingsSettings", [&] {
            TSettingsDlg& d = *Form->SettingsDlg;
            EXPECT_EQ(d.PageIndex(), 0);
            c.Change(d);
            d.OKBtn->Click();
        });
        EXPECT_EQ(Form->Status(), c.Recompute ? stNeedCalculation : stCalculated);
        EXPECT_TRUE(Form->Modified());
    }
    EXPECT_EQ(map.Colors[10], 0x010203);
    EXPECT_EQ(map.Colors[13], 0x010206);
    EXPECT_EQ(map.InfoPosition, ipTopLeft);
    EXPECT_EQ(map.CETScale, 0);

    // The magnitude step through the edit's three decimals: 4e-6 away stays
    // within the tolerance, 4e-4 does not.
    for (double start : {0.250004, 0.2504}) {
        map.CEMScale = start;
        Form->SetStatus(stCalculated);
        RunCommand(Form, "actSettingsSettings", [&] { Form->SettingsDlg->OKBtn->Click(); });
        EXPECT_EQ(Form->Status(), start == 0.2504 ? stNeedCalculation : stCalculated) << start;
        EXPECT_DOUBLE_EQ(map.CEMScale, 0.25);
    }

    // Cancel leaves every value; a lunar eclipse shows the lunar page.
    const TMapDrawSettings before = map;
    Form->SetStatus(stCalculated);
    Form->SetModified(false);
    RunCommand(Form, "actSettingsSettings", [&] {
        pick(*Form->SettingsDlg, 0, 0x0A0B0C);
        Form->SettingsDlg->CancelBtn->Click();
    });
    EXPECT_EQ(map.Colors, before.Colors);
    EXPECT_FALSE(Form->Modified());
    EXPECT_EQ(Form->Status(), stCalculated);
    Form->SetEventType(etLunarEclipse);
    Form->SetStatus(stCalculated);
    RunCommand(Form, "actSettingsSettings", [&] {
        EXPECT_EQ(Form->SettingsDlg->PageIndex(), 1);
        Shot(Form->SettingsDlg, "main-options-lunar.png");
        EXPECT_EQ(Form->SettingsDlg->Colors(0), before.Colors[0]);
        Form->SettingsDlg->CancelBtn->Click();
    });
}

TEST_F(MainWindow, DeltaTCommandTakesTheChosenTable)
{
    const std::string saved = DeltaTPath;
    DeltaTPath = H("DeltaT/");
    fs::create_directories(DeltaTPath);
    apptest::WriteText(DeltaTPath + "first", "1000 : 1000\n2000 : 60\n");
    apptest::WriteText(DeltaTPath + "second", "1000 : 900\n2000 : 70\n");
    Form->SetDeltaTTableFile("first");
    ASSERT_EQ(Form->DeltaTTableInUse(), "first");
    Form->SetStatus(stCalculated);
    RunCommand(Form, "actSettingsDeltaT", [&] {
        auto* dlg = dynamic_cast<TDeltaTDlg*>(gui::Screen->ActiveForm());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->DeltaTFileListBox->FileName(), DeltaTPath + "first");
        dlg->CBUseInternalTable->SetChecked(false);
        dlg->CBUseInternalTableClick();
        dlg->DeltaTFileListBox->SetFileName(DeltaTPath + "second");
        dlg->DeltaTFileListBoxClick();
        Shot(dlg, "main-deltat.png");
        dlg->OKBtn->Click();
    });
    EXPECT_EQ(Form->DeltaTTableFile(), "second");
    EXPECT_EQ(Form->Status(), stNeedCalculation);
    EXPECT_EQ(Form->StatusText(1), Form->DeltaTSource(Form->SEE.JDE()));
    EXPECT_NE(Form->StatusText(1).find("second"), std::string::npos);
    // The delta T link of the information panel opens the dialog too.
    Form->SetStatus(stCalculated);
    bool opened = false;
    gui::QueueInMainThread([&] {
        auto* dlg = dynamic_cast<TDeltaTDlg*>(gui::Screen->ActiveForm());
        opened = dlg != nullptr;
        if (dlg) dlg->CancelBtn->Click();
    });
    Form->LDeltaT->OnClick(Form->LDeltaT);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Form->DeltaTTableFile(), "second");
    // The configuration written on leaving names the table.
    Form->BeforeDestruction();
    delete Form;
    Form = nullptr;
    EXPECT_NE(apptest::ReadBytes(ConfigFile).find(">second<"), std::string::npos);
    DeltaTPath = saved;
    compute::UseInternalDeltaTTable = true;
}

} // namespace
