// GridFiles: the HTML export, one CSS class per distinct cell look.
#include <algorithm>

#include "gridio/GridFiles.h"
#include "htmltext/GrdHTMLE.h"
#include "gridbase/ExObj.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TextFiles.h"

namespace gridio {

namespace {

constexpr gui::TColor kNoColor = 0x7FFFFFFF;

bool Contains(const std::string& s, std::string_view part) { return s.find(part) != std::string::npos; }

std::string Hex(gui::TColor c) { return gridbase::ColorToHtmlHex(gui::ColorToRGB(c)); }

// XHTML must be well-formed XML: attributes carry values in quotes, empty
// elements close themselves, and only the entities XML predefines are used
// (the file is UTF-8, so other characters are written as they are).
bool XHTMLMode(grid::THTMLSettings* hs) { return hs->XHTML(); }

std::string Attr(bool xhtml, const std::string& name, const std::string& value)
{
    return " " + name + (xhtml ? "=\"" + value + "\"" : "=" + value);
}

// The first line of an XHTML document; XML allows it only at the very start
// of a file.
constexpr std::string_view kXMLDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string NonBreakingSpace(bool xhtml) { return xhtml ? "&#160;" : "&nbsp;"; }

// The characters XML reserves, as its predefined entities.
std::string EncodeXMLSpecialChars(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

std::string TGridFiles::HTMLCellStyle(int aCol, int aRow, bool header)
{
    grid::THTMLSettings* hs = FGrid.HTMLSettings();
    gui::TFont font;
    font.Assign(FGrid.Font());
    font.SetColor(kNoColor);
    font.SetStyle({});
    gui::TBrush brush;
    brush.SetColor(FGrid.IsFixed(aCol, aRow) ? FGrid.FixedColor() : kNoColor);
    gui::TColor colorTo = gui::clNone, mirror = gui::clNone, mirrorTo = gui::clNone;
    gui::TAlignment ha = gui::TAlignment::taLeftJustify;
    gridbase::TVAlignment va = gridbase::TVAlignment::vtaTop;
    bool ww = false;
    gridbase::TCellGradientDirection gd{};
    gui::TGridDrawState state;
    FGrid.GetVisualProperties(aCol, aRow, state, false, false, true, brush, colorTo, mirror, mirrorTo, font, ha,
                              va, ww, gd);
    std::string s;
    // The grid's own colours count as not set: only a look of the cell's
    // own (or the fixed colour of the header) goes into the style.
    const gui::TColor back = header ? FGrid.FixedColor() : brush.Color();
    auto set = [](gui::TColor c, gui::TColor own) { return c != kNoColor && c != gui::clNone && c != own; };
    if (hs->SaveColor() && (header || set(back, FGrid.Color()))) s += "background-color: #" + Hex(back) + ";";
    if (hs->SaveColor() && set(font.Color(), FGrid.Font()->Color())) s += "color: #" + Hex(font.Color()) + ";";
    s += "font-size:" + std::to_string(font.Size()) + "pt;";
    if (font.Style().Contains(gui::TFontStyle::fsItalic)) s += "font-style: italic;";
    if (font.Style().Contains(gui::TFontStyle::fsBold)) s += "font-weight: bold;";
    s += "font-family: " + font.Name() + ";";
    if (ha == gui::TAlignment::taRightJustify) s += "text-align: right;";
    else if (ha == gui::TAlignment::taCenter) s += "text-align: center;";
    switch (va) {
    case gridbase::TVAlignment::vtaTop: s += "vertical-align: top;"; break;
    case gridbase::TVAlignment::vtaCenter: s += "vertical-align: middle;"; break;
    case gridbase::TVAlignment::vtaBottom: s += "vertical-align: bottom;"; break;
    }
    FHTMLNoWrap = !ww;
    return s;
}

std::string TGridFiles::HTMLCellContent(int aCol, int aRow, bool header)
{
    grid::THTMLSettings* hs = FGrid.HTMLSettings();
    const bool xhtml = XHTMLMode(hs);
    std::string t = SaveText(FGrid.DisplayToRealCol(aCol), aRow);
    // Encoding covers the header too: a raw "<" or "&" there would break
    // the table (and the XML of an XHTML file) as much as in a data cell.
    if (hs->ConvertSpecialChars()) t = xhtml ? EncodeXMLSpecialChars(t) : htmltext::EncodeHTMLEntities(t);
    if (!header && hs->NonBreakingText()) t = rtl::StringReplace(t, " ", NonBreakingSpace(xhtml));
    if (Contains(t, "\r")) t = xhtml ? rtl::StringReplace(t, "\r", "<br/>")
                                      : gridbase::CRToHtmlBreak(t);
    if (FGrid.URLShow() && !Contains(t, "</")) {
        std::string link = t;
        if (Contains(t, "://")) {
            const std::string label = FGrid.URLFull() ? t : t.substr(t.find("://") + 3, 255);
            link = "<a" + Attr(xhtml, "href", t) + ">" + label + "</a>";
        }
        if (Contains(t, "mailto:")) {
            const std::string label = FGrid.URLFull() ? t : t.substr(t.find("mailto:") + 7);
            link = "<a" + Attr(xhtml, "href", t) + ">" + label + "</a>";
        }
        t = link;
    }
    if (header ? t.empty() : rtl::Trim(t).empty()) t = NonBreakingSpace(xhtml);
    if (hs->ExportImages()) t = HTMLCellPictures(FGrid.DisplayToRealCol(aCol), aRow, t);
    return t;
}

std::string TGridFiles::HTMLImageTag(const gui::TGraphic& graphic)
{
    const std::string folder = FHTMLDir + "images";
    if (!rtl::DirectoryExists(folder) && !rtl::ForceDirectories(folder))
        throw rtl::Exception("Cannot create " + folder);
    const std::string path = folder + "/img" + std::to_string(++FHTMLImageCount) + ".jpg";
    rtl::TFileStream out(path, rtl::fmCreate);
    if (const auto* jpeg = dynamic_cast<const gui::TJPEGImage*>(&graphic)) {
        jpeg->SaveToStream(out);
    } else {
        // Any other kind is flattened onto white and saved as a JPEG.
        gui::TJPEGImage converted;
        converted.Assign(&graphic);
        converted.SaveToStream(out);
    }
    if (XHTMLMode(FGrid.HTMLSettings())) return "<img src=\"file://" + path + "\" alt=\"\"/>";
    return "<img src= \"file://" + path + "\">";
}

std::string TGridFiles::HTMLCellPictures(int rc, int aRow, std::string text)
{
    grid::TCellGraphic* g = FGrid.GetCellGraphic(rc, aRow);
    if (!g) return text;
    gui::TImageList* images = FGrid.GridImages();
    auto listImage = [&](int index) -> std::string {
        if (!images || index < 0 || index >= images->Count()) return {};
        gui::TBitmap bmp;
        if (!images->GetBitmap(index, &bmp)) return {};
        return HTMLImageTag(bmp);
    };
    switch (g->CellType()) {
    case grid::TCellType::ctBitmap:
        if (auto* bmp = dynamic_cast<gui::TBitmap*>(g->CellBitmap()); bmp && !bmp->Empty())
            return text + HTMLImageTag(*bmp);
        return text;
    case grid::TCellType::ctPicture:
        if (auto* pic = dynamic_cast<gui::TPicture*>(g->CellBitmap()); pic && pic->Graphic() && !pic->Graphic()->Empty())
            return text + HTMLImageTag(*pic->Graphic());
        return text;
    case grid::TCellType::ctImageList: return listImage(g->CellIndex()) + text;
    case grid::TCellType::ctDataImage: {
        // The cell's text is the image's index and is not shown.
        int index = -1;
        if (!rtl::TryStrToInt(rtl::Trim(FGrid.GetCellText(rc, aRow)), index)) return text;
        const std::string tag = listImage(index);
        return tag.empty() ? text : tag;
    }
    case grid::TCellType::ctImages: {
        auto* list = dynamic_cast<gridbase::TIntList*>(g->CellBitmap());
        if (!list || !images) return text;
        std::string tags;
        for (int i = 0; i < list->Count(); ++i) tags += listImage(list->Items(i));
        return tags + text;
    }
    default: return text;
    }
}

std::string TGridFiles::SaveToHTMLString(const std::string& dir)
{
    FHTMLDir = dir;
    FHTMLImageCount = 0;
    grid::THTMLSettings* hs = FGrid.HTMLSettings();
    const bool xhtml = XHTMLMode(hs);
    std::vector<std::string> styles;
    std::string body;
    const std::vector<int>& widths = hs->ColWidths();
    const int c0 = FGrid.SaveFixedCells() ? 0 : FGrid.FixedCols();
    auto row = [&](int r, bool header) {
        body += "<tr>";
        for (int c = c0; c < FGrid.ColCount(); ++c) {
            const int rc = FGrid.DisplayToRealCol(c);
            if (!FGrid.IsBaseCell(rc, r)) continue;
            const std::string style = HTMLCellStyle(c, r, header);
            auto it = std::find(styles.begin(), styles.end(), style);
            const size_t cls = static_cast<size_t>(it - styles.begin());
            if (it == styles.end()) styles.push_back(style);
            body += "<td class=\"c" + std::to_string(cls) + "\"";
            const gui::TPoint span = FGrid.CellSpan(rc, r);
            if (span.X > 0) body += " colspan=\"" + std::to_string(span.X + 1) + "\"";
            if (span.Y > 0) body += " rowspan=\"" + std::to_string(span.Y + 1) + "\"";
            if (FHTMLNoWrap) body += xhtml ? " nowrap=\"nowrap\"" : " nowrap";
            const int wi = header ? c : c - c0;
            if ((header || !FHTMLHeaderWritten) && wi >= 0 && wi < static_cast<int>(widths.size()))
                body += Attr(xhtml, "width", std::to_string(widths[static_cast<size_t>(wi)]));
            body += ">" + HTMLCellContent(c, r, header) + "</td>";
        }
        body += "</tr>";
    };
    FHTMLHeaderWritten = false;
    int r0 = FGrid.SaveFixedCells() ? 0 : FGrid.FixedRows();
    if (FGrid.SaveFixedCells() && FGrid.FixedRows() > 0) {
        row(0, true);
        FHTMLHeaderWritten = true;
        r0 = 1;
    }
    Export(grid::TGridExportState::esExportStart, -1);
    for (int r = r0; r < FGrid.RowCount(); ++r) {
        Export(grid::TGridExportState::esExportNewRow, r);
        row(r, false);
    }
    Export(grid::TGridExportState::esExportDone, -1);

    std::string doc;
    if (hs->XHTML()) {
        doc += kXMLDeclaration;
        doc += "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n";
        doc += "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n";
        doc += "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n";
    }
    if (!hs->PrefixTag().empty()) doc += hs->PrefixTag() + "\r\n";
    doc += "<style>\r\n";
    for (size_t i = 0; i < styles.size(); ++i) doc += ".c" + std::to_string(i) + " {" + styles[i] + "}\r\n";
    doc += "</style>\r\n";
    doc += "<table border=\"" + std::to_string(hs->BorderSize()) + "\" cellspacing=\"" +
           std::to_string(hs->CellSpacing()) + "\" cellpadding=\"" + std::to_string(hs->CellPadding()) + "\" ";
    if (!hs->Summary().empty()) doc += std::string(xhtml ? "summary" : "SUMMARY") + "=\"" + hs->Summary() + "\" ";
    if (!hs->TableStyle().empty()) doc += " " + hs->TableStyle() + " ";
    doc += " width=\"" + std::to_string(hs->Width()) + "%\">\r\n";
    doc += body;
    doc += "\r\n</table>\r\n";
    if (!hs->SuffixTag().empty()) doc += hs->SuffixTag() + "\r\n";
    if (hs->XHTML()) doc += "</html>\r\n";
    return doc;
}

void TGridFiles::WriteHTML(const std::string& fileName, bool show, bool append)
{
    grid::THTMLSettings* hs = FGrid.HTMLSettings();
    std::string text;
    if (append && rtl::FileExists(fileName)) {
        rtl::TFileStream in(fileName, rtl::fmOpenRead);
        text = rtl::DecodeTextFileBytes(in.ReadAll());
    }
    auto copyFile = [&](const std::string& name) {
        if (name.empty() || !rtl::FileExists(name)) return;
        try {
            for (const std::string& l : rtl::ReadTextFileLines(name)) text += l + "\r\n";
        } catch (const rtl::EStreamError&) {
            // An unreadable header or footer file is left out.
        }
    };
    copyFile(hs->HeaderFile());
    const std::string dir = rtl::StringReplace(rtl::ExtractFilePath(fileName), "\\", "/");
    std::string doc = SaveToHTMLString(dir);
    // Behind an existing file's content or a header file the XML declaration
    // would stand in the middle of the file: it is written only at the start.
    if (XHTMLMode(hs) && !text.empty() && doc.starts_with(kXMLDeclaration)) doc.erase(0, kXMLDeclaration.size());
    text += doc + "\r\n";
    copyFile(hs->FooterFile());
    try {
        // An XHTML file is written in the UTF-8 its XML declaration names.
        const std::string bytes = rtl::EncodeTextFileBytes(
            text, XHTMLMode(hs) ? rtl::TTextFileEncoding::tfeUTF8 : rtl::TTextFileEncoding::tfeAnsi);
        rtl::TFileStream out(fileName, rtl::fmCreate);
        out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    } catch (const rtl::EFCreateError&) {
        throw grid::ZEziDoroZezuz("Cannot Create file " + fileName);
    }
    if (hs->AutoPreview() || show) gui::ShellOpen(fileName);
}

} // namespace gridio
