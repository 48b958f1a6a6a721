// The markup engine: renders, measures and hit-tests the small HTML-like
// markup of captions, labels, panels and grid cells, in two dialects.
//
// Markup is UTF-8 text.  Tags are recognised by their first one or two
// letters (B, I, U, S, A, FONT, P, BR, HR, HI, IMG, IND, OFS, LI, UL, SUB,
// SUP, SHAD, BLINK, BODY, E, R, Z and, in the grid dialect, CONTROL);
// nothing nests: a closing tag returns its property to the starting font or
// to one saved value.  Positions and lengths in the text utilities count
// bytes of the UTF-8 text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/Graphics.h"

namespace gui {
class TImageList;
}

namespace htmltext {

class THTMLPictureCache;
class TPictureContainer;

enum class TMarkupDialect { mdPanel, mdGrid };

// What the caller passes in besides canvas, markup and rectangle.
struct TMarkupOptions {
    gui::TImageList* Images = nullptr;    // source of "IDX:" pictures
    int PointX = -1, PointY = -1;         // the point to test, canvas coordinates
    int FocusIndex = -1;                  // anchor number - 1 that has the focus; -1 none
    int HoverIndex = -1;                  // anchor number drawn in hover style
    int ShadowOffset = 1;                 // pixels right and down for SHAD text
    bool HotSpotCheck = false;            // second pass measures and tests anchors, paints nothing
    bool HeightCheck = false;             // measure only; lines continue past the bottom
    bool Printing = false;                // image-list pictures stretched by ResolutionFactor
    bool Selected = false;                // FONT and anchor colours and BODY not applied
    bool BlinkPhase = false;              // false: BLINK text takes the background colour
    bool HoverStyle = false;              // only anchor HoverIndex is underlined / hover-coloured
    bool WordWrap = true;                 // false: one run per line with an end ellipsis
    bool MouseDown = false;               // grid: mouse pressed (inline buttons)
    double ResolutionFactor = 1.0;
    gui::TColor LinkColor = gui::clBlue;
    gui::TColor HoverColor = gui::clNone;       // background of the hovered anchor
    gui::TColor HoverFontColor = gui::clNone;   // text colour of the hovered anchor
    gui::TColor ShadowColor = gui::clGray;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    int LineSpacing = 0;                  // panel: pixels added to every line
};

// Results; AnchorValue, HoverRect and (with HotSpotCheck) ControlID are also
// read: they keep what the caller put there unless a hit test writes them.
struct TMarkupResult {
    std::string AnchorValue;        // target of the anchor under the point ("ctrl": inline control)
    std::string PlainText;          // the text as laid out, without tags
    std::string FocusAnchorValue;   // target of the focused anchor
    std::string AnchorTitle;        // grid: TITLE of an anchor
    int XSize = 0;                  // width needed
    int YSize = 0;                  // height needed
    int AnchorCount = 0;
    int MouseLink = -1;             // number of the anchor under the point
    gui::TRect HoverRect;           // that anchor's outline on its last line
    gui::TRect ControlRect;         // grid: inline control under the point
    std::string ControlID;          // grid: in (HotSpotCheck): control to locate; out: found
    std::string ControlValue;
    std::string ControlType;
};

// Paints markup into rect line by line (or only measures it), reports the
// size it needs and whether the point lies on an anchor (on its text with
// the hot-spot check, on an image inside an anchor, or on an inline
// control).  The canvas's font, brush and pen are the starting state and
// are given back afterwards.
bool DrawMarkupText(TMarkupDialect dialect, gui::TCanvas& canvas, const std::string& markup,
                    const gui::TRect& rect, const TMarkupOptions& options, TMarkupResult& result);

// Markup to plain text: BR and HR become CR LF, every tag is removed (panel
// dialect: hidden Z blocks too); entities stay as written.
std::string MarkupToPlainText(TMarkupDialect dialect, const std::string& markup);

// The entity and line-break rewrites that run before layout.
std::string PrepareMarkup(TMarkupDialect dialect, const std::string& markup);

// ------------------------------------------------------------ language helpers

// A colour value of the markup: "#RRGGBB" or a name of the colour table
// ("clRed", "clBtnFace" ...); an unknown name is black, empty is clNone.
gui::TColor MarkupColor(const std::string& value);
// The value of an attribute in a tag's text (between the first two double
// quotes after the name, found in the upper-cased text); empty when absent.
std::string TagAttribute(const std::string& tagText, const std::string& name, bool keepCase);
// Reads a number from the start of text: blanks, sign, digits ("$", "x" or
// "0x" for hexadecimal); valid tells whether the whole text was read.
int ReadMarkupNumber(const std::string& text, bool* valid = nullptr);
// A position or size read like ReadMarkupNumber, held within plus or minus
// kMarkupCoordinateLimit pixels -- far beyond any screen or page -- so that
// the layout can add widths to it without overflowing.
constexpr int kMarkupCoordinateLimit = 1000000;
int ReadMarkupCoordinate(const std::string& text, bool* valid = nullptr);

// ------------------------------------------------------------ text utilities

std::string DecodeHTMLEntities(const std::string& text);
std::string EncodeHTMLEntities(const std::string& text);
std::string EncodeNonBreakingSpaces(const std::string& text);
// Encloses every occurrence of search in the shown text in <tag> ... </tag>.
// An empty search text matches nothing.
std::string InsertTagAroundMatches(TMarkupDialect dialect, const std::string& markup,
                                   const std::string& search, const std::string& tag,
                                   bool caseSensitive);
// Removes every <tag> and </tag> (ASCII case ignored); grid: "&lt;" and
// "&gt;" turn back into "<" and ">".
std::string RemoveTagPairs(TMarkupDialect dialect, const std::string& markup, const std::string& tag);
std::string StripTagsForMatching(const std::string& markup);
// 1-based position in markup where shown character n begins; length + 1
// for one past the last; 0 beyond.
int MarkupPosOfPlainChar(const std::string& markup, int n);

// ------------------------------------------------------------ inline controls (grid)

struct TControlTag {
    std::string Type, ID, Value, Width, Prop, MaxLen;
};
TControlTag ParseControlTag(const std::string& tagText);
bool HasInlineControl(const std::string& text);
std::string NextEditableControlID(const std::string& text, const std::string& currentID);
std::string ClearRadioControls(const std::string& text);
std::string GetControlProp(const std::string& text, const std::string& id);
int GetControlMaxLen(const std::string& text, const std::string& id);
bool SetControlValue(std::string& text, const std::string& id, const std::string& value);

// ------------------------------------------------------------ drawing helpers

// Colour gradient in stripes (0 counts as 1) from start towards end
// (exclusive), left to right or top to bottom; frame outlined unless clNone.
void DrawGradient(gui::TCanvas& canvas, gui::TColor startColor, gui::TColor endColor,
                  bool leftToRight, const gui::TRect& r, int stripes, gui::TColor frameColor);

} // namespace htmltext
