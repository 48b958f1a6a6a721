// GridVisualProps: the grid's look as a name=value text file.
#include "gridio/GridVisualProps.h"

#include <functional>
#include <map>

#include "platform/gui/GraphicsIdents.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"

namespace gridio {

namespace {

using grid::TExStringGrid;
using TGet = std::function<std::string(TExStringGrid&)>;
using TSet = std::function<void(TExStringGrid&, const std::string&)>;

struct TEntry {
    std::string Name;
    TGet Get;
    TSet Set;
};

std::string ColorText(gui::TColor c) { return gui::ColorToIdent(c); }
gui::TColor ReadColor(const std::string& v)
{
    if (v.empty()) return gui::clNone;
    gui::TColor c = 0;
    if (!gui::IdentToColor(v, c)) throw rtl::EConvertError("'" + v + "' is not a valid integer value");
    return c;
}
std::string BoolText(bool b) { return b ? "true" : "false"; }
bool ReadBool(const std::string& v) { return rtl::UpperCase(v) == "TRUE"; }

std::string StyleText(const gui::TFontStyles& s)
{
    std::string t;
    const std::pair<gui::TFontStyle, const char*> names[] = {{gui::TFontStyle::fsBold, "fsBold"},
                                                              {gui::TFontStyle::fsItalic, "fsItalic"},
                                                              {gui::TFontStyle::fsUnderline, "fsUnderline"},
                                                              {gui::TFontStyle::fsStrikeOut, "fsStrikeOut"}};
    for (const auto& [st, n] : names)
        if (s.Contains(st)) t += (t.empty() ? "" : ",") + std::string(n);
    return t;
}
gui::TFontStyles ReadStyle(const std::string& v)
{
    gui::TFontStyles s;
    if (v.find("fsBold") != std::string::npos) s.Include(gui::TFontStyle::fsBold);
    if (v.find("fsItalic") != std::string::npos) s.Include(gui::TFontStyle::fsItalic);
    if (v.find("fsUnderline") != std::string::npos) s.Include(gui::TFontStyle::fsUnderline);
    if (v.find("fsStrikeOut") != std::string::npos) s.Include(gui::TFontStyle::fsStrikeOut);
    return s;
}

// An enumeration read by its upper-cased name; no match keeps the value.
int ReadEnum(const std::string& v, const std::vector<std::string>& names, int current)
{
    const std::string u = rtl::UpperCase(v);
    for (size_t i = 0; i < names.size(); ++i)
        if (rtl::UpperCase(names[i]) == u) return static_cast<int>(i);
    return current;
}

const std::vector<std::string> kControlStyles = {"csClassic", "csFlat",  "csWinXP", "csBevelled",
                                                 "csKVR",     "csGlyph", "csTheme"};
const std::vector<std::string> kLooks = {"glStandard", "glSoft",  "glClassic", "glKVR",       "glXP",
                                         "glListView", "glVista", "glWin7",    "glOffice2007"};
const std::vector<std::string> kDisplays = {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"};
const std::vector<std::string> kCells = {"bcNormal", "bcFixed", "bcAll"};

#define COLOR(name, get, set)                                                                   \
    TEntry{name, [](TExStringGrid& g) { return ColorText(get); },                                \
           [](TExStringGrid& g, const std::string& v) { set(ReadColor(v)); }}
#define BOOL(name, get, set)                                                                    \
    TEntry{name, [](TExStringGrid& g) { return BoolText(get); },                                 \
           [](TExStringGrid& g, const std::string& v) { set(ReadBool(v)); }}
#define INT(name, get, set)                                                                     \
    TEntry{name, [](TExStringGrid& g) { return std::to_string(get); },                           \
           [](TExStringGrid& g, const std::string& v) { set(rtl::StrToInt(v)); }}

void FontGroup(std::vector<TEntry>& t, const std::string& p, gui::TFont* (*font)(TExStringGrid&))
{
    t.push_back({p + ".Color", [font](TExStringGrid& g) { return ColorText(font(g)->Color()); },
                 [font](TExStringGrid& g, const std::string& v) { font(g)->SetColor(ReadColor(v)); }});
    t.push_back({p + ".Style", [font](TExStringGrid& g) { return StyleText(font(g)->Style()); },
                 [font](TExStringGrid& g, const std::string& v) { font(g)->SetStyle(ReadStyle(v)); }});
    t.push_back({p + ".Size", [font](TExStringGrid& g) { return std::to_string(font(g)->Size()); },
                 [font](TExStringGrid& g, const std::string& v) { font(g)->SetSize(rtl::StrToInt(v)); }});
    t.push_back({p + ".Name", [font](TExStringGrid& g) { return font(g)->Name(); },
                 [font](TExStringGrid& g, const std::string& v) { font(g)->SetName(v); }});
}

const std::vector<TEntry>& Table()
{
    static const std::vector<TEntry> table = [] {
        std::vector<TEntry> t = {
            COLOR("Color", g.Color(), g.SetColor),
            COLOR("HintColor", g.HintColor(), g.SetHintColor),
            COLOR("SelectionColor", g.SelectionColor(), g.SetSelectionColor),
            COLOR("SelectionColorTo", g.SelectionColorTo(), g.SetSelectionColorTo),
            COLOR("SelectionMirrorColor", g.SelectionMirrorColor(), g.SetSelectionMirrorColor),
            COLOR("SelectionMirrorColorTo", g.SelectionMirrorColorTo(), g.SetSelectionMirrorColorTo),
            COLOR("SelectionTextColor", g.SelectionTextColor(), g.SetSelectionTextColor),
            COLOR("URLColor", g.URLColor(), g.SetURLColor),
            BOOL("URLShow", g.URLShow(), g.SetURLShow),
            COLOR("ScrollColor", g.ScrollColor(), g.SetScrollColor),
            COLOR("ActiveRowColor", g.ActiveRowColor(), g.SetActiveRowColor),
            BOOL("ActiveRowShow", g.ActiveRowShow(), g.SetActiveRowShow),
            BOOL("ActiveCellShow", g.ActiveCellShow(), g.SetActiveCellShow),
        };
        FontGroup(t, "Font", [](TExStringGrid& g) { return g.Font(); });
        t.push_back(COLOR("ActiveCellColor", g.ActiveCellColor(), g.SetActiveCellColor));
        t.push_back(COLOR("ActiveCellColorTo", g.ActiveCellColorTo(), g.SetActiveCellColorTo));
        FontGroup(t, "ActiveCellFont", [](TExStringGrid& g) { return g.ActiveCellFont(); });
        FontGroup(t, "FixedFont", [](TExStringGrid& g) { return g.FixedFont(); });
        const std::vector<TEntry> rest = {
            COLOR("Balloon.BackgroundColor", g.Balloon()->BackgroundColor(), g.Balloon()->SetBackgroundColor),
            COLOR("Balloon.TextColor", g.Balloon()->TextColor(), g.Balloon()->SetTextColor),
            INT("Balloon.Transparency", static_cast<int>(g.Balloon()->Transparency()),
                [&g](int v) { g.Balloon()->SetTransparency(static_cast<uint8_t>(v)); }),
            COLOR("Bands.PrimaryColor", g.Bands()->PrimaryColor(), g.Bands()->SetPrimaryColor),
            COLOR("Bands.SecondaryColor", g.Bands()->SecondaryColor(), g.Bands()->SetSecondaryColor),
            BOOL("Bands.Active", g.Bands()->Active(), g.Bands()->SetActive),
            COLOR("SortSettings.IndexColor", g.SortSettings()->IndexColor(), g.SortSettings()->SetIndexColor),
            COLOR("FloatingFooter.Color", g.FloatingFooter()->Color(), g.FloatingFooter()->SetColor),
            INT("ControlLook.CheckSize", g.ControlLook()->CheckSize(), g.ControlLook()->SetCheckSize),
            COLOR("ControlLook.Color", g.ControlLook()->Color(), g.ControlLook()->SetColor),
            COLOR("ControlLook.CommentColor", g.ControlLook()->CommentColor(), g.ControlLook()->SetCommentColor),
            TEntry{"ControlLook.ControlStyle",
                   [](TExStringGrid& g) { return kControlStyles[static_cast<size_t>(g.ControlLook()->ControlStyle())]; },
                   [](TExStringGrid& g, const std::string& v) {
                       g.ControlLook()->SetControlStyle(static_cast<grid::TControlStyle>(
                           ReadEnum(v, kControlStyles, static_cast<int>(g.ControlLook()->ControlStyle()))));
                   }},
            COLOR("ControlLook.FixedGradientFrom", g.ControlLook()->FixedGradientFrom(),
                  g.ControlLook()->SetFixedGradientFrom),
            COLOR("ControlLook.FixedGradientTo", g.ControlLook()->FixedGradientTo(), g.ControlLook()->SetFixedGradientTo),
            INT("ControlLook.RadioSize", g.ControlLook()->RadioSize(), g.ControlLook()->SetRadioSize),
            BOOL("ControlLook.FlatButton", g.ControlLook()->FlatButton(), g.ControlLook()->SetFlatButton),
            COLOR("ControlLook.ProgressBorderColor", g.ControlLook()->ProgressBorderColor(),
                  g.ControlLook()->SetProgressBorderColor),
            BOOL("ControlLook.ProgressXP", g.ControlLook()->ProgressXP(), g.ControlLook()->SetProgressXP),
            TEntry{"Look",
                   [](TExStringGrid& g) {
                       // glCustom has no name in the file.
                       const auto l = static_cast<size_t>(g.Look());
                       return l < kLooks.size() ? kLooks[l] : std::string();
                   },
                   [](TExStringGrid& g, const std::string& v) {
                       g.SetLook(static_cast<grid::TGridLook>(ReadEnum(v, kLooks, static_cast<int>(g.Look()))));
                   }},
            COLOR("SearchFooter.Color", g.SearchFooterColor(), g.SetSearchFooterColor),
            COLOR("SearchFooter.ColorTo", g.SearchFooterColorTo(), g.SetSearchFooterColorTo),
            COLOR("Grouping.HeaderColor", g.Grouping()->HeaderColor(), g.Grouping()->SetHeaderColor),
            COLOR("Grouping.HeaderColorTo", g.Grouping()->HeaderColorTo(), g.Grouping()->SetHeaderColorTo),
            COLOR("Grouping.HeaderTextColor", g.Grouping()->HeaderTextColor(), g.Grouping()->SetHeaderTextColor),
            BOOL("Grouping.HeaderUnderline", g.Grouping()->HeaderUnderline(), g.Grouping()->SetHeaderUnderline),
            COLOR("Grouping.HeaderLineColor", g.Grouping()->HeaderLineColor(), g.Grouping()->SetHeaderLineColor),
            INT("Grouping.HeaderLineWidth", g.Grouping()->HeaderLineWidth(), g.Grouping()->SetHeaderLineWidth),
            COLOR("Grouping.SummaryColor", g.Grouping()->SummaryColor(), g.Grouping()->SetSummaryColor),
            COLOR("Grouping.SummaryColorTo", g.Grouping()->SummaryColorTo(), g.Grouping()->SetSummaryColorTo),
            COLOR("Grouping.SummaryTextColor", g.Grouping()->SummaryTextColor(), g.Grouping()->SetSummaryTextColor),
            BOOL("Grouping.SummaryLine", g.Grouping()->SummaryLine(), g.Grouping()->SetSummaryLine),
            COLOR("Grouping.SummaryLineColor", g.Grouping()->SummaryLineColor(), g.Grouping()->SetSummaryLineColor),
            INT("Grouping.SummaryLineWidth", g.Grouping()->SummaryLineWidth(), g.Grouping()->SetSummaryLineWidth),
            COLOR("GridLineColor", g.GridLineColor(), g.SetGridLineColor),
            COLOR("GridFixedLineColor", g.GridFixedLineColor(), g.SetGridFixedLineColor),
            INT("BackGround.Top", g.BackGround()->Top(), g.BackGround()->SetTop),
            INT("BackGround.Left", g.BackGround()->Left(), g.BackGround()->SetLeft),
            TEntry{"BackGround.Display",
                   [](TExStringGrid& g) { return kDisplays[static_cast<size_t>(g.BackGround()->Display())]; },
                   [](TExStringGrid& g, const std::string& v) {
                       g.BackGround()->SetDisplay(static_cast<grid::TBackGroundDisplay>(
                           ReadEnum(v, kDisplays, static_cast<int>(g.BackGround()->Display()))));
                   }},
            TEntry{"BackGround.Cells",
                   [](TExStringGrid& g) { return kCells[static_cast<size_t>(g.BackGround()->Cells())]; },
                   [](TExStringGrid& g, const std::string& v) {
                       g.BackGround()->SetCells(static_cast<grid::TBackGroundCells>(
                           ReadEnum(v, kCells, static_cast<int>(g.BackGround()->Cells()))));
                   }},
            COLOR("BackGround.Color", g.BackGround()->Color(), g.BackGround()->SetColor),
            COLOR("BackGround.ColorTo", g.BackGround()->ColorTo(), g.BackGround()->SetColorTo),
        };
        t.insert(t.end(), rest.begin(), rest.end());
        return t;
    }();
    return table;
}

} // namespace

void SaveVisualProps(TExStringGrid& grid, const std::string& fileName)
{
    std::vector<std::string> lines;
    for (const TEntry& e : Table()) lines.push_back(e.Name + "=" + e.Get(grid));
    try {
        rtl::WriteTextFileLines(fileName, lines, rtl::TTextFileEncoding::tfeAnsi);
    } catch (const rtl::Exception&) {
        throw rtl::Exception("Cannot Create " + fileName);
    }
}

void LoadVisualProps(TExStringGrid& grid, const std::string& fileName)
{
    std::vector<std::string> lines;
    try {
        lines = rtl::ReadTextFileLines(fileName);
    } catch (const rtl::Exception&) {
        throw rtl::Exception("Cannot open file " + fileName);
    }
    std::map<std::string, std::string> values;  // upper-cased names, the first line of a name counting
    for (const std::string& l : lines) {
        const size_t eq = l.find('=');
        if (eq == std::string::npos) continue;
        values.emplace(rtl::UpperCase(l.substr(0, eq)), l.substr(eq + 1));
    }
    auto value = [&](const std::string& name) {
        auto it = values.find(rtl::UpperCase(name));
        return it == values.end() ? std::string() : it->second;
    };
    // The grid line colours are read after the search footer's and before the grouping's.
    std::vector<const TEntry*> order;
    const TEntry* gridLines[2] = {nullptr, nullptr};
    for (const TEntry& e : Table()) {
        if (e.Name == "GridLineColor") gridLines[0] = &e;
        else if (e.Name == "GridFixedLineColor") gridLines[1] = &e;
        else order.push_back(&e);
        if (e.Name == "SearchFooter.ColorTo") order.push_back(nullptr);  // slot for the grid lines
    }
    for (const TEntry* e : order) {
        if (!e) {
            for (const TEntry* g : gridLines) g->Set(grid, value(g->Name));
            continue;
        }
        e->Set(grid, value(e->Name));
    }
}

} // namespace gridio
