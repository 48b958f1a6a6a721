// A look at the grid's cell editors on a test form: the classic faces on
// the left, the themed ones on the right, the top spin editor focused.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "gridbase/ExDateTimePicker.h"
#include "gridbase/GRDEdit.h"
#include "gridbase/grdcombo.h"
#include "gridbase/grdspin.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PngImage.h"
#include "platform/gui/Themes.h"

using namespace gridbase;
using namespace gui;

TEST(CellEditors, Screenshot)
{
    ResetThemeService();
    TForm form(nullptr);
    form.SetBounds(0, 0, 460, 230);
    for (int column = 0; column < 2; ++column) {
        const bool themed = column == 1;
        const int x = 10 + column * 225;
        auto* spin = new TGrdSpinEdit(&form);
        spin->SetParent(&form);
        spin->SetBounds(x, 10, 200, 24);
        spin->SetSpinType(TGrdSpinType::sptFloat);
        spin->SetPrecision(2);
        spin->SetFloatValue(12.5);
        spin->SetIsWinXP(themed);
        auto* edit = new TGrdEditBtn(&form);
        edit->SetParent(&form);
        edit->SetBounds(x, 45, 200, 24);
        edit->SetText("C:/data/eclipses.csv");
        edit->SetButtonCaption("...");
        edit->SetIsWinXP(themed);
        auto* unit = new TGrdUnitEditBtn(&form);
        unit->SetParent(&form);
        unit->SetBounds(x, 80, 200, 24);
        unit->SetText("1013");
        unit->Units()->Add("hPa");
        unit->SetUnitID("hPa");
        unit->SetUnitSpace(30);
        unit->SetIsWinXP(themed);
        auto* combo = new TGRDComboBox(&form);
        combo->SetParent(&form);
        combo->SetBounds(x, 115, 200, 24);
        combo->Items()->Add("Total eclipse");
        combo->SetItemIndex(0);
        combo->SetIsWinXP(themed);
        combo->SetFocusBorder(true);
        auto* picker = new TExDateTimePicker(&form);
        picker->SetParent(&form);
        picker->SetBounds(x, 150, 200, 24);
        picker->SetFormat("dd/MM/yyyy");
        picker->SetTimeFormat("HH:mm:ss");
        picker->SetDateTime(rtl::EncodeDate(2026, 8, 12) + rtl::EncodeTime(17, 46, 0, 0));
        if (themed) picker->SetCtl3D(false);
        if (column == 0) {
            form.Show();
            spin->SetFocus();
        }
    }
    Application->ProcessMessages();
    auto img = form.GetFormImage();
    TPngImage png;
    png.Assign(img.get());
    const std::string file = (tectest::SnapshotDir() / "cell-editors.png").string();
    png.SaveToFile(file);
    RecordProperty("screenshot", file);
    SUCCEED();
}
