// TExStringGrid: the quick configuration panel shown in the bottom-right
// corner while the grid is being designed (the designing state set): a
// close glyph, an "Allow edit" check box and a "Set look: " entry with a
// menu of looks.  Nothing of it runs otherwise.
#include "grid/ExGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"

namespace grid {

namespace {
constexpr uint8_t kNoItem = 255;

void PanelFont(gui::TCanvas* c)
{
    c->Font()->SetName("Tahoma");
    c->Font()->SetSize(8);
}

std::string LookEntry(TGridLook look)
{
    std::string caption;
    TExStringGrid::LookToCaption(look, caption);
    return "Set look: " + caption;
}
} // namespace

uint8_t TExStringGrid::DesignHelperHitTest(int x, int y)
{
    gui::TBitmap scratch;
    scratch.SetSize(1, 1);
    gui::TCanvas* c = scratch.Canvas();
    PanelFont(c);
    const int h = c->TextHeight("gh");
    const gui::TRect cr = ClientRect();
    const int r = cr.Right, b = cr.Bottom;
    uint8_t item = kNoItem;
    if (x > r - 16 && y > b - 3 * h - 16 && y < b - 3 * h) item = 3;
    if (x > r - 150) {
        if (x < r - 132 + c->TextWidth("Allow edit") && y > b - 2 * h - 10 && y < b - h - 8) item = 1;
        if (x < r - 150 + c->TextWidth(LookEntry(FLook)) && y > b - h - 8 && y < b - 6) item = 2;
    }
    return item;
}

void TExStringGrid::PaintDesignHelper()
{
    if (!Designing() || !ShowDesignHelper()) return;
    gui::TCanvas* c = Canvas();
    const gui::TRect cr = ClientRect();
    PanelFont(c);
    const int h = c->TextHeight("gh");
    const gui::TRect panel{cr.Right - 150, cr.Bottom - 3 * h - 16, cr.Right, cr.Bottom};
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
    c->Brush()->SetColor(gui::clInfoBk);
    c->Pen()->SetColor(0x808080);
    c->Pen()->SetWidth(1);
    c->Rectangle(panel.Left, panel.Top, panel.Right, panel.Bottom);
    c->Font()->SetColor(0x800000);
    c->Font()->SetStyle({gui::TFontStyle::fsUnderline});
    c->Brush()->SetStyle(gui::TBrushStyle::bsClear);
    const int line = h + 2;
    c->TextOut(panel.Left + 4, panel.Top + 4, "Quick config [v" + Version() + "]");
    DrawGridResource(c, "GRDCLOSE", cr.Right - 16, panel.Top + 2);
    const gui::TPoint mouse = ScreenToClient(gui::GetCursorPos());
    const uint8_t hot = DesignHelperHitTest(mouse.X, mouse.Y);
    auto style = [&](uint8_t item) {
        c->Font()->SetStyle(hot == item ? gui::TFontStyles{gui::TFontStyle::fsUnderline} : gui::TFontStyles{});
    };
    DrawCheck(c, {panel.Left + 4, panel.Top + line + 2, panel.Left + 20, panel.Top + line + 18},
              Options().Contains(gui::TGridOption::goEditing), TControlStyle::csWinXP, true);
    style(1);
    c->TextOut(panel.Left + 22, panel.Top + line + 4, "Allow edit");
    style(2);
    c->TextOut(panel.Left + 4, panel.Top + 2 * line + 4, LookEntry(FLook));
    c->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
}

void TExStringGrid::CMDesignHitTest(gui::TMessage& message)
{
    TBaseGrid::Dispatch(message);
    if (!Designing() || !ShowDesignHelper()) return;
    const int x = static_cast<int16_t>(gui::LOWORD(static_cast<gui::WPARAM>(message.LParam)));
    const int y = static_cast<int16_t>(gui::HIWORD(static_cast<gui::WPARAM>(message.LParam)));
    const uint8_t item = DesignHelperHitTest(x, y);
    if (item != FLastDesignChoice) {
        const gui::TRect cr = ClientRect();
        InvalidateRect({cr.Right - 150, cr.Bottom - 70, cr.Right, cr.Bottom});
    }
    FLastDesignChoice = item;
    if (item != kNoItem) message.Result = 1;
}

void TExStringGrid::DesignHelperClick(int x, int y)
{
    const uint8_t item = DesignHelperHitTest(x, y);
    switch (item) {
    case 1:
        if (Options().Contains(gui::TGridOption::goEditing))
            SetOptions(Options() - gui::TGridOptions{gui::TGridOption::goEditing});
        else
            SetOptions(Options() + gui::TGridOptions{gui::TGridOption::goEditing});
        break;
    case 2: {
        // The looks with their command numbers (the look's value + 1).
        static const std::pair<const char*, int> kEntries[] = {
            {"Standard", 1}, {"Soft", 2}, {"Classic", 3}, {"KVR", 4}, {"ListView", 6},
            {"Office 2007", 9}, {"Windows XP", 5}, {"Windows Vista", 7}, {"Windows 7", 8}};
        delete FDesignMenu;
        FDesignMenu = new gui::TPopupMenu(this);
        for (const auto& [caption, command] : kEntries) {
            auto* mi = new gui::TMenuItem(FDesignMenu);
            mi->SetCaption(caption);
            mi->SetChecked(static_cast<int>(FLook) == command - 1);
            const int n = command;
            mi->OnClick = [this, n](rtl::TObject*) {
                if (n > 0) SetLook(static_cast<TGridLook>(n - 1));
            };
            FDesignMenu->Items()->Add(mi);
        }
        const gui::TPoint at = ClientToScreen({x, y});
        FDesignMenu->Popup(at.X, at.Y);
        break;
    }
    case 3: SetShowDesignHelper(false); Invalidate(); break;
    default: return;
    }
    // The designer notices the change by the form's size.
    if (gui::TCustomForm* f = FindParentForm(this)) {
        f->SetWidth(f->Width() - 1);
        f->SetWidth(f->Width() + 1);
    }
}

} // namespace grid
