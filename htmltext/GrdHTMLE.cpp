// The markup renderer: DrawMarkupText lays markup out line by line.  Each
// line is laid out twice: a measuring pass decides where the line ends, how
// tall it is and tests the point against anchors; a second pass replays
// exactly the markup the first one took, placed by the line's alignment,
// and paints it (or, for a hot-spot check, measures it again in place).
//
// The engine walks the markup with offsets and copies no more than one
// line's markup at a time, so long texts stay linear.

#include "htmltext/GrdHTMLE.h"

#include <algorithm>
#include <cmath>

#include "htmltext/PictureContainer.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Strings.h"

namespace htmltext {

using gui::TColor;
using gui::TRect;
using gui::clNone;

namespace {

char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to)
{
    std::size_t p = s.find(from);
    if (p == std::string::npos) return s;
    std::string out;
    std::size_t q = 0;
    while (p != std::string::npos) {
        out.append(s, q, p - q);
        out.append(to);
        q = p + from.size();
        p = s.find(from, q);
    }
    out.append(s, q, std::string::npos);
    return out;
}

// The first double-quoted value after position from of text; empty when
// either quote is missing.
std::string QuotedAfter(const std::string& text, std::size_t from)
{
    if (from == std::string::npos) return {};
    std::size_t q1 = text.find('"', from);
    if (q1 == std::string::npos) return {};
    std::size_t q2 = text.find('"', q1 + 1);
    if (q2 == std::string::npos) return {};
    return text.substr(q1 + 1, q2 - q1 - 1);
}

// Font sizes far outside what any text uses are held in a sane range, so
// that hostile markup cannot ask the font engine for glyphs of a kilometre.
int SanePoints(int points) { return std::clamp(points, 1, 500); }

// Per-line values handed between the passes of one line.
struct LineVars {
    int baseOffset = 0;
    int supRoom = 0;
    int subRoom = 0;
    int lineHeight = 0;
    int lineWidth = 0;
};

// A resolved image source.
struct ImageSource {
    int listIndex = -1;              // image-list picture
    THTMLPicture* picture = nullptr; // container or cache picture
};

class Renderer {
public:
    Renderer(TMarkupDialect d, gui::TCanvas& c, const TRect& fr, const TMarkupOptions& o, TMarkupResult& r)
        : D(d), C(c), O(o), R(r), FR(fr)
    {
    }

    bool Run(const std::string& markup);

private:
    bool Grid() const { return D == TMarkupDialect::mdGrid; }
    bool Panel() const { return D == TMarkupDialect::mdPanel; }

    // -- canvas helpers
    TColor BrushOrNone() const
    {
        return C.Brush()->Style() == gui::TBrushStyle::bsClear ? clNone : C.Brush()->Color();
    }
    void SetBrushOrClear(TColor c)
    {
        if (c == clNone) C.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        else C.Brush()->SetColor(c);
    }
    void SetStyle(gui::TFontStyle s, bool on)
    {
        gui::TFontStyles st = C.Font()->Style();
        if (st.Contains(s) == on) return;
        if (on) st.Include(s); else st.Exclude(s);
        C.Font()->SetStyle(st);
    }
    int TextH(const std::string& s) const { return C.TextHeight(s); }
    int TextW(const std::string& s) const { return C.TextWidth(s); }
    int MeasureRun(const std::string& run, const TRect& r, uint32_t flags) const
    {
        TRect m = r;
        C.DrawText(run, m, (flags | gui::DT_CALCRECT) & ~gui::DT_END_ELLIPSIS);
        return m.Right - r.Left;
    }
    void DrawRun(const std::string& run, TRect r, uint32_t flags)
    {
        if (C.Font()->Orientation() != 0) {
            // A rotated run: drawn from the run's place, layout stays horizontal.
            C.TextOut(r.Left, r.Bottom - TextH(run), run);
            return;
        }
        C.DrawText(run, r, flags);
    }
    bool HoverApplies() const { return !O.HoverStyle || O.HoverIndex == anchorCount; }
    bool InFocusedAnchor() const { return inAnchor && O.FocusIndex >= 0 && anchorCount == O.FocusIndex + 1; }
    int ScaleX(int v) const { return static_cast<int>(std::lround(v * static_cast<double>(C.GetDeviceCaps(gui::LOGPIXELSX)) / 96.0)); }
    int ScaleY(int v) const { return static_cast<int>(std::lround(v * static_cast<double>(C.GetDeviceCaps(gui::LOGPIXELSY)) / 96.0)); }

    // -- one line
    void DrawLine(const std::string& src, std::size_t& pos, const TRect& lineRect, std::string* consumed,
                  int xOffset, LineVars& v);
    void DoTag(const std::string& src, std::size_t pos, std::size_t tagEnd, LineVars& v);
    void DoAnchor(const std::string& tag, LineVars& v);
    void DoCloseAnchor(LineVars& v);
    void DoFont(const std::string& tag);
    void DoParagraph(const std::string& tag, LineVars& v);
    void DoBody(const std::string& tag, LineVars& v);
    void DoImage(const std::string& tag, LineVars& v);
    void DoListItem(LineVars& v);
    void DoControl(const std::string& tag, LineVars& v);
    ImageSource Resolve(const std::string& source, bool cacheAndContainerOnly);
    void DrawListPicture(int index, int x, int y);
    void DrawErrorMark(int left, int right);

    TMarkupDialect D;
    gui::TCanvas& C;
    const TMarkupOptions& O;
    TMarkupResult& R;
    TRect FR;
    uint32_t fmt = 0;

    gui::TFont startFont;
    TColor startBrush = clNone;       // none when the brush was clear
    TColor startBrushColor = gui::clWhite;
    TColor startPen = gui::clBlack;
    int startPenWidth = 1;

    // rendering state of the whole call
    bool inAnchor = false;
    bool anchorLink = false;
    std::string anchorTarget;
    int anchorCount = 0;
    int anchorStartX = 0, anchorStartTop = 0, anchorStartLine = -1;
    bool hoverFound = false;
    bool hidden = false, shadow = false, sub = false, sup = false, errorMark = false, paraBg = false;
    TColor savedTextBg = clNone, savedParaBrush = clNone;
    TColor savedHiFont = clNone, savedHiBrush = clNone;
    TColor savedHoverBrush = clNone, savedHoverFont = clNone;
    int savedOrientation = 0;
    int listLevel = 0, imageCount = 0, hoveredImage = -1, lineOffset = 0;
    int alignment = 0, indent = 0;
    TRect focusRect;

    // per line call
    bool measure = true;     // no painting
    bool replay = false;     // second pass: lays out exactly what the first took
    bool firstPass = true;   // the pass that feeds the plain text
    bool lineFull = false, overflow = false, textHit = false, imageHit = false, liMet = false;
    bool lineHasText = false, lineTextEndsBlank = false;
    int runLeft = 0;
    int lineNo = 0;
    TRect L;                 // the line rectangle of this pass
    int base = 0;            // line base
};

// ------------------------------------------------------------------ entry

bool Renderer::Run(const std::string& markup)
{
    bool result = false;
    startFont.Assign(C.Font());
    gui::TFont measureFont, drawFont;
    measureFont.Assign(C.Font());
    drawFont.Assign(C.Font());
    startBrush = BrushOrNone();
    startBrushColor = C.Brush()->Color();
    C.Brush()->SetStyle(gui::TBrushStyle::bsClear);
    startPen = C.Pen()->Color();
    startPenWidth = C.Pen()->Width();

    TRect lineRect = FR;
    lineRect.Left += 1;

    R.AnchorCount = 0;
    R.XSize = 0;
    R.YSize = 0;
    R.MouseLink = -1;
    R.PlainText.clear();
    R.FocusAnchorValue.clear();
    if (Grid()) {
        R.AnchorTitle.clear();
        R.ControlValue.clear();
        R.ControlType.clear();
    }
    R.ControlRect = TRect();
    if (!O.HotSpotCheck) R.ControlID.clear();
    C.SetBkMode(gui::TRANSPARENT);

    fmt = gui::DT_BOTTOM | gui::DT_SINGLELINE | gui::DT_EXPANDTABS | gui::DT_EXTERNALLEADING;
    if (Panel() && markup.find(" & ") != std::string::npos) fmt |= gui::DT_NOPREFIX;
    if (!O.WordWrap) fmt |= gui::DT_END_ELLIPSIS;

    const std::string text = PrepareMarkup(D, markup);
    std::size_t pos = 0;
    int xOffset = 0;
    std::string consumed;
    while (pos < text.size()) {
        const std::size_t before = pos;
        // Measuring pass.
        C.Font()->Assign(&measureFont);
        LineVars v;
        sub = sup = false;
        const bool inA = inAnchor, linkA = anchorLink;
        const std::string targetA = anchorTarget;
        const int countA = anchorCount, levelA = listLevel, imagesA = imageCount, offsetA = lineOffset;
        const bool hiddenA = hidden, shadowA = shadow;
        const int minHeight = TextH("gh");
        v.lineHeight = minHeight;
        consumed.clear();
        measure = true;
        replay = false;
        firstPass = true;
        DrawLine(text, pos, lineRect, &consumed, 0, v);
        measureFont.Assign(C.Font());
        measureFont.SetOrientation(0);
        inAnchor = inA;
        anchorLink = linkA;
        anchorTarget = targetA;
        v.lineHeight += O.LineSpacing;

        // Place the line.
        TRect placed = lineRect;
        if (alignment == 1) placed.Left = std::max(placed.Left, placed.Right - v.lineWidth);
        else if (alignment == 2 && placed.Right - placed.Left - v.lineWidth > 0)
            placed.Left += (placed.Right - placed.Left - v.lineWidth) / 2;
        placed.Left += indent;
        placed.Bottom = placed.Top + v.lineHeight + v.subRoom + v.supRoom;

        if (!O.HeightCheck) {
            C.Font()->Assign(&drawFont);
            anchorCount = countA;
            listLevel = levelA;
            imageCount = imagesA;
            lineOffset = offsetA;
            hidden = hiddenA;
            shadow = shadowA;
            sub = sup = false;
            measure = O.HotSpotCheck;
            replay = true;
            firstPass = false;
            v.lineWidth = 0;
            std::size_t p2 = 0;
            DrawLine(consumed, p2, placed, nullptr, xOffset, v);
            if (textHit) {
                int bottom = placed.Bottom - v.baseOffset;
                if (O.PointY > bottom - TextH("gh") && O.PointY < bottom) result = true;
            }
            if (imageHit) result = true;
            if (Panel()) xOffset = lineOffset;
            drawFont.Assign(C.Font());
            drawFont.SetOrientation(0);
        }
        const int step = v.lineHeight + v.subRoom + v.supRoom;
        lineRect.Top += step;
        R.YSize += step;
        ++lineNo;
        if (pos == before) break;   // nothing taken: never loop on the same markup
        if (!O.HeightCheck && lineRect.Top + TextH("gh") > lineRect.Bottom) break;
    }
    if (R.YSize == 0) R.YSize = TextH("gh");
    R.AnchorCount = std::max(R.AnchorCount, anchorCount);

    SetBrushOrClear(startBrush);
    C.Font()->Assign(&startFont);
    if (Grid()) {
        C.Pen()->SetColor(startPen);
        C.Pen()->SetWidth(startPenWidth);
    }
    return result;
}

// ------------------------------------------------------------------ one line

void Renderer::DrawLine(const std::string& src, std::size_t& pos, const TRect& lineRect,
                        std::string* consumed, int xOffset, LineVars& v)
{
    L = lineRect;
    base = L.Bottom - v.subRoom;
    int trailingBlank = 0;
    lineFull = overflow = textHit = imageHit = liMet = false;
    lineHasText = lineTextEndsBlank = false;
    runLeft = L.Left;
    if (!measure) runLeft += xOffset;

    if (!measure && paraBg && C.Brush()->Style() != gui::TBrushStyle::bsClear) {
        TColor pen = C.Pen()->Color();
        C.Pen()->SetColor(C.Brush()->Color());
        C.Rectangle(FR.Left, L.Top, FR.Right, L.Top + v.lineHeight);
        C.Pen()->SetColor(pen);
    }

    const std::size_t end = src.size();
    const int mouseX = O.PointX - L.Left;
    while (pos < end && !lineFull && !overflow) {
        // The next run: a word with its trailing blank, or the text before a tag.
        std::size_t n = 0;
        if (src[pos] != '<') {
            std::size_t q = src.find_first_of(O.WordWrap ? "< " : "<", pos);
            if (q == std::string::npos) n = end - pos;
            else n = src[q] == ' ' ? q - pos + 1 : q - pos;
        }
        if (n > 0) {
            std::string run = src.substr(pos, n);
            if (run.find('&') != std::string::npos) {
                run = ReplaceAll(run, "&nbsp;", " ");
                run = ReplaceAll(run, "&lt;", "<");
                run = ReplaceAll(run, "&gt;", ">");
            }
            const int h = TextH(run);
            if (sub) v.subRoom = std::max(v.subRoom, h / 4);
            if (sup) v.supRoom = std::max(v.supRoom, h / 4);
            v.lineHeight = std::max(v.lineHeight, h);
            if (hidden) {
                if (firstPass) R.PlainText += run;
                pos += n;
            } else {
                int w = 0;
                if (measure) {
                    w = MeasureRun(run, L, fmt);
                    if (inAnchor && mouseX >= v.lineWidth && mouseX <= v.lineWidth + w) {
                        textHit = true;
                        if (O.PointY > L.Top) {
                            R.AnchorValue = anchorTarget;
                            hoverFound = true;
                        }
                    }
                } else {
                    int bottom = base;
                    if (sub) bottom += v.subRoom;
                    if (sup) bottom -= v.supRoom;
                    bottom -= v.baseOffset;
                    TRect rr(runLeft, L.Top, L.Right, bottom);
                    auto paint = [&](const TRect& at, uint32_t flags) {
                        if (shadow) {
                            TColor c = C.Font()->Color();
                            C.Font()->SetColor(O.ShadowColor);
                            TRect s = at;
                            gui::OffsetRect(s, O.ShadowOffset, O.ShadowOffset);
                            DrawRun(run, s, flags);
                            C.Font()->SetColor(c);
                        }
                        DrawRun(run, at, flags);
                    };
                    if (Panel()) {
                        w = MeasureRun(run, rr, fmt);
                        rr.Right = rr.Left + w;
                        if (O.WordWrap || runLeft < L.Right - TextW("w"))
                            paint(rr, fmt & ~gui::DT_EXTERNALLEADING);
                    } else {
                        paint(rr, fmt);
                        w = MeasureRun(run, rr, fmt);
                    }
                    if (InFocusedAnchor()) R.FocusAnchorValue = anchorTarget;
                    if (errorMark) DrawErrorMark(runLeft, runLeft + w);
                    runLeft += w;
                }
                v.lineWidth += w;

                // Does the run fit?  The second pass takes whatever the first took.
                const int avail = L.Width() - (Panel() ? lineOffset : 0);
                bool fits = v.lineWidth < avail || w >= avail;
                if (!fits && Grid() && lineHasText && !lineTextEndsBlank) fits = true;
                if (replay) fits = true;
                if (fits || !O.WordWrap) {
                    const bool wholeLine = !lineHasText;
                    if (consumed) consumed->append(src, pos, n);
                    if (firstPass) R.PlainText += run;
                    pos += n;
                    trailingBlank = (run.size() >= n && run[n - 1] == ' ') ? TextW(" ") : 0;
                    lineHasText = true;
                    lineTextEndsBlank = !run.empty() && run.back() == ' ';
                    if (Grid() && firstPass && !O.WordWrap && !fits && wholeLine) pos = end;
                } else {
                    lineFull = true;
                    v.lineWidth -= w;
                }
            }
        }
        if (pos < end && src[pos] == '<' && end - pos <= 2) pos = end;
        if (lineFull || pos >= end || src[pos] != '<') continue;

        std::size_t gt = src.find('>', pos);
        DoTag(src, pos, gt == std::string::npos ? end : gt, v);
        if (gt == std::string::npos) {
            if (!overflow) pos = end;
        } else if (!overflow) {
            if (consumed) consumed->append(src, pos, gt - pos + 1);
            pos = gt + 1;
        }
    }

    v.lineWidth -= trailingBlank;
    const int widest = Panel() ? v.lineWidth + 2 : v.lineWidth;
    if (R.XSize < v.lineWidth) R.XSize = widest;

    if (!measure && InFocusedAnchor()) {
        focusRect.Right = runLeft;
        focusRect.Bottom = base;
        TRect f = focusRect;
        gui::InflateRect(f, 1, 0);
        C.DrawFocusRect(f);
        focusRect.Left = L.Left + 1;
        focusRect.Top = base;
    }
}

// ------------------------------------------------------------------ tags

void Renderer::DoTag(const std::string& src, std::size_t pos, std::size_t tagEnd, LineVars& v)
{
    // tag: the text between "<" and ">" (or the end of the markup).
    const std::string tag = src.substr(pos + 1, tagEnd - pos - 1);
    if (tag.empty()) return;
    const bool closing = tag[0] == '/';
    const std::size_t k = closing ? 1 : 0;
    const char c1 = k < tag.size() ? Up(tag[k]) : '>';
    const char c2 = k + 1 < tag.size() ? Up(tag[k + 1]) : (tagEnd < src.size() ? '>' : '\0');
    const bool drawing = !measure;

    if (!closing) {
        switch (c1) {
        case 'A': DoAnchor(tag, v); break;
        case 'B':
            if (c2 == '>') SetStyle(gui::TFontStyle::fsBold, true);
            else if (c2 == 'L') { if (!O.BlinkPhase) C.Font()->SetColor(startBrushColor); }
            else if (c2 == 'O' && rtl::UpperCase(tag.substr(0, 4)) == "BODY") DoBody(tag, v);
            else if (c2 == 'R') { lineFull = true; if (firstPass) R.PlainText += "\r"; }
            break;
        case 'C':
            if (Grid()) DoControl(tag, v);
            break;
        case 'E':
            if (drawing) errorMark = true;
            break;
        case 'F': DoFont(tag); break;
        case 'H':
            if (c2 == 'I') {
                if (drawing) {
                    savedHiFont = C.Font()->Color();
                    savedHiBrush = BrushOrNone();
                    C.Brush()->SetColor(gui::clHighlight);
                    C.Font()->SetColor(gui::clHighlightText);
                }
            } else if (c2 == 'R') {
                lineFull = true;
                if (drawing) {
                    TColor pen = C.Pen()->Color();
                    C.Pen()->SetColor(gui::clBlack);
                    C.MoveTo(L.Left, base + 1);
                    C.LineTo(L.Right, base + 1);
                    C.Pen()->SetColor(pen);
                }
            }
            break;
        case 'I':
            if (c2 == '>') SetStyle(gui::TFontStyle::fsItalic, true);
            else if (c2 == 'N') {
                std::string up = rtl::UpperCase(tag);
                bool valid = false;
                int x = ReadMarkupCoordinate(QuotedAfter(up, up.find('X')), &valid);
                if (valid && x > v.lineWidth) {
                    v.lineWidth = x;
                    runLeft = FR.Left + x;
                }
            } else if (c2 == 'M') DoImage(tag, v);
            break;
        case 'L': DoListItem(v); break;
        case 'O':
            if (c2 == 'F' && Panel()) {
                std::string up = rtl::UpperCase(tag);
                int x = ReadMarkupCoordinate(QuotedAfter(up, up.find('X')));
                lineOffset = x;
                runLeft = x;
                v.lineWidth = x;
            }
            break;
        case 'P': DoParagraph(tag, v); break;
        case 'R': {
            std::string up = rtl::UpperCase(tag);
            int angle = ReadMarkupNumber(QuotedAfter(up, up.find('A')));
            savedOrientation = C.Font()->Orientation();
            C.Font()->SetOrientation(static_cast<int>((static_cast<int64_t>(angle) * 10) % 3600));
            break;
        }
        case 'S': {
            std::string up = rtl::UpperCase(tag.substr(0, 4));
            if (c2 == '>') SetStyle(gui::TFontStyle::fsStrikeOut, true);
            else if (c2 == 'H') shadow = true;
            else if (up == "SUB" && tagEnd < src.size() && tag.size() == 3) sub = true;
            else if (up == "SUP" && tagEnd < src.size() && tag.size() == 3) sup = true;
            break;
        }
        case 'U':
            if (c2 == '>') SetStyle(gui::TFontStyle::fsUnderline, true);
            else { ++listLevel; lineFull = true; }
            break;
        case 'Z': hidden = true; break;
        default: break;
        }
        return;
    }

    switch (c1) {
    case 'A': DoCloseAnchor(v); break;
    case 'B':
        if (c2 == '>') SetStyle(gui::TFontStyle::fsBold, false);
        else C.Font()->SetColor(startFont.Color());
        break;
    case 'E':
        if (drawing) errorMark = false;
        break;
    case 'F':
        C.Font()->SetName(startFont.Name());
        C.Font()->SetHeight(startFont.Height());
        if (drawing && !O.Selected) {
            C.Font()->SetColor(startFont.Color());
            SetBrushOrClear(savedTextBg);
        }
        break;
    case 'H':
        if (drawing) {
            C.Font()->SetColor(savedHiFont == clNone ? startFont.Color() : savedHiFont);
            SetBrushOrClear(savedHiBrush);
        }
        break;
    case 'I': SetStyle(gui::TFontStyle::fsItalic, false); break;
    case 'L': lineFull = true; break;
    case 'O':
        if (Panel()) lineOffset = 0;
        break;
    case 'P':
        lineFull = true;
        if (drawing) {
            SetBrushOrClear(savedParaBrush);
            paraBg = false;
        }
        break;
    case 'R': C.Font()->SetOrientation(savedOrientation); savedOrientation = 0; break;
    case 'S':
        if (c2 == 'U') sub = sup = false;
        else if (c2 == 'H') shadow = false;
        else SetStyle(gui::TFontStyle::fsStrikeOut, false);
        break;
    case 'U':
        if (c2 == '>' || listLevel == 0) SetStyle(gui::TFontStyle::fsUnderline, false);
        else --listLevel;
        break;
    case 'Z': hidden = false; break;
    default: break;
    }
}

void Renderer::DoAnchor(const std::string& tag, LineVars& v)
{
    const bool drawing = !measure;
    if (drawing && O.FocusIndex >= 0 && anchorCount == O.FocusIndex) {
        focusRect.Left = runLeft;
        focusRect.Top = L.Top;
    }
    ++anchorCount;
    R.AnchorCount = std::max(R.AnchorCount, anchorCount);
    if (HoverApplies() && drawing) {
        SetStyle(gui::TFontStyle::fsUnderline, true);
        if (O.HoverColor != clNone) {
            savedHoverBrush = BrushOrNone();
            C.Brush()->SetColor(O.HoverColor);
        }
        if (O.HoverFontColor != clNone) {
            savedHoverFont = C.Font()->Color();
            C.Font()->SetColor(O.HoverFontColor);
        }
    }
    if (!O.Selected) {
        const bool keepHover = O.HoverStyle && O.HoverIndex == anchorCount && O.HoverFontColor != clNone;
        if (!keepHover) C.Font()->SetColor(O.LinkColor);
    }
    if (Panel()) {
        anchorTarget = QuotedAfter(tag, 0);
        inAnchor = true;
    } else {
        std::string up = rtl::UpperCase(tag);
        bool hasHref = up.find("HREF") != std::string::npos;
        anchorTarget = TagAttribute(tag, "HREF", true);
        if (up.find("TITLE") != std::string::npos) R.AnchorTitle = TagAttribute(tag, "TITLE", true);
        inAnchor = hasHref;
    }
    anchorStartX = L.Left + v.lineWidth;
    anchorStartTop = L.Top;
    anchorStartLine = lineNo;
}

void Renderer::DoCloseAnchor(LineVars& v)
{
    const bool drawing = !measure;
    if (HoverApplies() && drawing) {
        SetStyle(gui::TFontStyle::fsUnderline, false);
        if (O.HoverColor != clNone) SetBrushOrClear(savedHoverBrush);
        if (O.HoverFontColor != clNone) C.Font()->SetColor(savedHoverFont);
    }
    if (!O.Selected) C.Font()->SetColor(startFont.Color());
    const bool focused = O.FocusIndex >= 0 && anchorCount == O.FocusIndex + 1 && inAnchor;
    inAnchor = false;
    if (hoverFound) {
        const bool earlier = anchorStartLine != lineNo;
        R.HoverRect = TRect(earlier ? L.Left : anchorStartX, earlier ? L.Top : anchorStartTop,
                            L.Left + v.lineWidth, base);
        R.MouseLink = anchorCount;
        hoverFound = false;
    }
    if (focused) {
        focusRect.Right = runLeft;
        focusRect.Bottom = base - v.baseOffset;
        focusRect.Top = focusRect.Bottom - TextH("gh");
        TRect f = focusRect;
        gui::InflateRect(f, 1, 0);
        if (drawing) C.DrawFocusRect(f);
    }
}

void Renderer::DoFont(const std::string& tag)
{
    const bool drawing = !measure;
    std::string up = rtl::UpperCase(tag);
    std::string face = TagAttribute(tag, "FACE", false);
    if (!face.empty()) C.Font()->SetName(face);
    if (!O.Selected) {
        std::string color = TagAttribute(tag, " COLOR", false);
        if (!color.empty()) C.Font()->SetColor(MarkupColor(color));
    }
    if (drawing && !O.Selected) {
        std::string bg = TagAttribute(tag, "BGCOLOR", false);
        if (!bg.empty()) {
            savedTextBg = BrushOrNone();
            SetBrushOrClear(MarkupColor(bg));
        }
    }
    std::size_t p = up.find("SIZE");
    if (p != std::string::npos) {
        std::size_t eq = up.find('=', p);
        if (eq != std::string::npos) {
            std::string rest = up.substr(eq + 1);
            if (!rest.empty() && rest[0] == '"') rest.erase(0, 1);
            int n = ReadMarkupNumber(rest);
            static const int kSizes[] = {8, 10, 12, 14, 16};
            int points = (n >= 1 && n <= 5) ? kSizes[n - 1] : n;
            C.Font()->SetSize(SanePoints(points));
        }
    }
}

void Renderer::DoParagraph(const std::string& tag, LineVars& v)
{
    std::string up = rtl::UpperCase(tag);
    if (up.find("ALIGN") != std::string::npos) {
        std::string a = TagAttribute(tag, "ALIGN", false);
        if (a.find("RIGHT") != std::string::npos) alignment = 1;
        if (a.find("LEFT") != std::string::npos) alignment = 0;
        if (a.find("CENTER") != std::string::npos) alignment = 2;
    }
    if (up.find("INDENT") != std::string::npos) indent = ReadMarkupCoordinate(TagAttribute(tag, "INDENT", false));
    if (measure) return;
    std::string bg = TagAttribute(tag, "BGCOLOR", false);
    if (bg.empty()) return;
    TColor from = MarkupColor(bg);
    std::string toText = Panel() ? TagAttribute(tag, "BGCOLORTO", false) : std::string();
    if (from == clNone) return;
    paraBg = true;
    if (!toText.empty()) {
        C.Pen()->SetColor(from);
        DrawGradient(C, from, MarkupColor(toText), true, TRect(FR.Left, L.Top, FR.Right, base + 2), 64, clNone);
        C.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        return;
    }
    savedParaBrush = BrushOrNone();
    C.Brush()->SetColor(from);
    C.Pen()->SetColor(from);
    C.Rectangle(FR.Left, L.Top, FR.Right, base);
    (void)v;
}

void Renderer::DoBody(const std::string& tag, LineVars& v)
{
    if (measure) return;
    if (Panel() && O.Selected) return;
    std::string up = rtl::UpperCase(tag);
    // Background picture, tiled over the whole rectangle.
    std::string bgSrc = TagAttribute(tag, "BACKGROUND", true);
    if (!bgSrc.empty()) {
        ImageSource s = Resolve(bgSrc, Grid());
        if (s.picture && !s.picture->Empty() && s.picture->Width() > 0 && s.picture->Height() > 0) {
            const int pw = s.picture->Width(), ph = s.picture->Height();
            // Only the tiles that meet the visible part are drawn.
            TRect vis;
            if (gui::IntersectRect(vis, FR, C.ClipRect())) {
                int saved = C.SaveDC();
                C.IntersectClipRect(FR);
                int x0 = (vis.Left - FR.Left) / pw * pw, y0 = (vis.Top - FR.Top) / ph * ph;
                for (int y = y0; y < FR.Height() && FR.Top + y < vis.Bottom; y += ph)
                    for (int x = x0; x < FR.Width() && FR.Left + x < vis.Right; x += pw)
                        C.Draw(FR.Left + x, FR.Top + y, s.picture);
                C.RestoreDC(saved);
            }
        } else if (Panel() && s.listIndex >= 0) {
            DrawListPicture(s.listIndex, runLeft, L.Top);
        }
    }
    if (Panel()) {
        for (const char* corner : {"BGTOPLEFT", "BGTOPRIGHT"}) {
            std::string src = TagAttribute(tag, corner, true);
            if (src.empty()) continue;
            const bool right = corner[5] == 'R';
            ImageSource s = Resolve(src, false);
            if (s.picture && !s.picture->Empty()) {
                int saved = C.SaveDC();
                C.IntersectClipRect(FR);
                C.Draw(right ? FR.Right - s.picture->Width() : FR.Left, FR.Top, s.picture);
                C.RestoreDC(saved);
            } else if (s.listIndex >= 0 && O.Images) {
                DrawListPicture(s.listIndex, right ? L.Right - O.Images->Width() : runLeft, L.Top);
            }
        }
    }
    std::string bg = TagAttribute(tag, "BGCOLOR", false);
    TColor from = clNone;
    if (Grid()) {
        if (bg.find('#') != std::string::npos) from = MarkupColor(bg.substr(bg.find('#')));
        else if (bg.find("CL") != std::string::npos) from = MarkupColor(bg);
    } else {
        from = MarkupColor(bg);
    }
    if (from == clNone) return;
    std::string toText = Panel() ? TagAttribute(tag, "BGCOLORTO", false) : std::string();
    if (!toText.empty()) {
        std::string dir = TagAttribute(tag, "DIR", false);
        C.Pen()->SetColor(from);
        DrawGradient(C, from, MarkupColor(toText), dir.empty() || dir == "H", FR, 64, clNone);
        C.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        return;
    }
    TColor pen = C.Pen()->Color();
    if (Panel()) savedTextBg = BrushOrNone();
    C.Brush()->SetColor(from);
    if (Grid()) savedTextBg = from;
    C.Pen()->SetColor(from);
    if (Panel()) C.Rectangle(FR.Left - 2, FR.Top, FR.Right, FR.Bottom);
    else C.Rectangle(FR);
    C.Pen()->SetColor(pen);
    (void)v;
    (void)up;
}

void Renderer::DrawListPicture(int index, int x, int y)
{
    if (!O.Images || index < 0 || index >= O.Images->Count()) return;
    if (!O.Printing) {
        O.Images->Draw(&C, x, y, index, true);
        return;
    }
    gui::TBitmap bmp;
    if (!O.Images->GetBitmap(index, &bmp)) return;
    C.StretchDraw(TRect(x, y, x + static_cast<int>(std::lround(O.Images->Width() * O.ResolutionFactor)),
                        y + static_cast<int>(std::lround(O.Images->Height() * O.ResolutionFactor))),
                  &bmp);
}

ImageSource Renderer::Resolve(const std::string& source, bool cacheAndContainerOnly)
{
    ImageSource s;
    std::string rest = source;
    if (!cacheAndContainerOnly) {
        std::string up = rtl::UpperCase(rest);
        std::size_t p = up.find("IDX:");
        if (p != std::string::npos) {
            rest.erase(p, 4);
            int n = ReadMarkupNumber(rest.substr(p));
            if (O.Images && n >= 0 && n < O.Images->Count()) s.listIndex = n;
        }
        // Shell icons take no room here: the prefix goes, the rest is
        // looked up like any other source.
        for (const char* pre : {"SSYS:", "LSYS:"}) {
            up = rtl::UpperCase(rest);
            p = up.find(pre);
            if (p != std::string::npos) rest.erase(p, 5);
        }
    }
    if (rest.find(':') == std::string::npos && O.PictureContainer) {
        if (THTMLPicture* pic = O.PictureContainer->FindPicture(rest)) {
            s.picture = pic;
            s.listIndex = -1;
        }
    }
    if (rest.find("://") != std::string::npos && O.PictureCache) {
        THTMLPicture* pic = O.PictureCache->FindPicture(rest);
        if (!pic) {
            THTMLPicture* added = O.PictureCache->AddPicture();
            added->SetAsynch(false);
            try {
                added->LoadFromURL(rest);
            } catch (const std::exception&) {
                // A resource that cannot be decoded stays an empty picture.
            }
            pic = O.PictureCache->FindPicture(rest);
        }
        if (pic) {
            s.picture = pic;
            s.listIndex = -1;
        }
    }
    return s;
}

void Renderer::DoImage(const std::string& tag, LineVars& v)
{
    ++imageCount;
    const bool drawing = !measure;
    // Sources keep their letter case in both dialects: file paths are case
    // sensitive here, and the other lookups ignore case anyway.
    std::string src = TagAttribute(tag, "SRC", true);
    std::string alt = TagAttribute(tag, "ALT", true);
    if (!alt.empty() && hoveredImage == imageCount) src = alt;
    std::string up = rtl::UpperCase(tag);
    int width = up.find("WIDTH") != std::string::npos ? ReadMarkupCoordinate(TagAttribute(tag, "WIDTH", false)) : 0;
    int height = up.find("HEIGHT") != std::string::npos ? ReadMarkupCoordinate(TagAttribute(tag, "HEIGHT", false)) : 0;
    int w = 0, h = 0;
    ImageSource s = Resolve(src, false);
    if (s.listIndex >= 0) {
        w = ScaleX(O.Images->Width());
        h = ScaleY(O.Images->Height());
        if (drawing) DrawListPicture(s.listIndex, runLeft, L.Top);
    } else if (s.picture && !s.picture->Empty()) {
        THTMLPicture* pic = s.picture;
        const int frames = pic->FrameCount();
        if (width >= 1 && height >= 1) {
            w = ScaleX(width);
            h = ScaleY(height);
        } else {
            w = ScaleX(pic->MaxWidth());
            h = ScaleY(pic->MaxHeight());
        }
        if (drawing) {
            if (width < 1 || height < 1) {
                if (Grid() && frames > 1) {
                    TColor pen = C.Pen()->Color();
                    TColor bc = startBrushColor;
                    C.Pen()->SetColor(bc);
                    C.Brush()->SetColor(bc);
                    C.Rectangle(runLeft, L.Top, runLeft + pic->MaxWidth(), L.Top + pic->MaxHeight());
                    C.Pen()->SetColor(pen);
                    C.Brush()->SetStyle(gui::TBrushStyle::bsClear);
                }
                C.Draw(runLeft + pic->FrameXPos(), L.Top + pic->FrameYPos(), pic);
            } else {
                pic->SetStretch(true);
                C.StretchDraw(TRect(runLeft, L.Top, runLeft + width, L.Top + height), pic);
            }
        }
    }
    const int mouseX = O.PointX - L.Left;
    if (inAnchor && mouseX > v.lineWidth && mouseX < v.lineWidth + w && O.PointY > L.Top &&
        O.PointY < L.Top + h) {
        imageHit = true;
        R.AnchorValue = anchorTarget;
        hoveredImage = imageCount;
    }
    if (!replay && v.lineWidth + w > L.Width() && w <= L.Width()) {
        overflow = true;
        --imageCount;   // counted again on the next line
        return;
    }
    v.lineWidth += w;
    runLeft += w;
    v.lineHeight = std::max(v.lineHeight, h);
    std::string align = TagAttribute(tag, "ALIGN", false);
    const int gh = TextH("gh");
    if (align.rfind("TOP", 0) == 0) v.baseOffset = v.lineHeight - gh;
    else if (align.rfind("MIDDLE", 0) == 0) v.baseOffset = (v.lineHeight - gh) / 2;
    if (Panel() && up.find("WRAP") != std::string::npos) {
        v.lineHeight = gh;
        v.baseOffset = 0;
    }
}

void Renderer::DoListItem(LineVars& v)
{
    if (liMet && !replay) {
        overflow = true;
        return;
    }
    liMet = true;
    v.lineWidth += listLevel * 12;
    runLeft += listLevel * 12 - 12;
    if (!measure && !(Panel() && hidden)) {
        std::string name = C.Font()->Name();
        C.Font()->SetName("Symbol");
        // The Symbol font shows a bullet at odd levels and a ring at even ones.
        C.TextOut(runLeft, L.Top, (listLevel % 2) ? "\xE2\x80\xA2" : "o");
        C.Font()->SetName(name);
    }
    runLeft += 12;
}

void Renderer::DoControl(const std::string& tag, LineVars& v)
{
    // tag holds "CONTROL ..."; its attributes follow the name.
    TControlTag t = ParseControlTag(tag.size() > 7 ? tag.substr(7) : std::string());
    if (t.Width.empty()) return;
    const int gh = TextH("gh");
    int w = std::max(0, ReadMarkupCoordinate(t.Width));
    int h = gh + 6;
    if (t.Type == "COMBO") h = 25;
    else if (t.Type == "BUTTON") h = 18;
    else if (t.Type == "CHECK" || t.Type == "RADIO") { w = 16; h = 16; }
    if (!measure) {
        const int lh = v.lineHeight;
        const int left = runLeft;
        TColor pen = C.Pen()->Color();
        C.Pen()->SetColor(gui::RGB(128, 128, 128));
        C.Brush()->SetStyle(gui::TBrushStyle::bsClear);
        const bool hot = O.PointX > left - 2 && O.PointX < left + w - 2 && O.PointY > base - (t.Type == "BUTTON" ? 24 : 25) - 2 &&
                         O.PointY < base - 2;
        if (t.Type == "EDIT" || t.Type == "PASSWORD" || t.Type == "MASK" || t.Type == "COMBO") {
            C.Rectangle(left, base - lh + 3, left + w, base + 1);
            std::string shown = t.Type == "PASSWORD" ? std::string(static_cast<std::size_t>(rtl::UTF8Length(t.Value)), '*') : t.Value;
            TRect tr = t.Type == "COMBO" ? TRect(left + 2, base - lh + 6, left + w - 17, base)
                                         : TRect(left + 2, base - lh + 4, left + w, base);
            C.DrawText(shown, tr, 0);
            if (t.Type == "COMBO") {
                TRect br(left + w - 19, base - lh + 6, left + w - 3, base - 2);
                C.DrawFrameControl(br, gui::DFC_SCROLL, gui::DFCS_SCROLLCOMBOBOX | (hot && O.MouseDown ? static_cast<uint32_t>(gui::DFCS_PUSHED) : 0u));
            }
        } else if (t.Type == "CHECK" || t.Type == "RADIO") {
            const bool radio = t.Type == "RADIO";
            TRect br = radio ? TRect(left + 2, base - 14, left + 14, base) : TRect(left + 2, base - 15, left + 15, base);
            uint32_t state = (radio ? gui::DFCS_BUTTONRADIO : gui::DFCS_BUTTONCHECK) | gui::DFCS_FLAT;
            if (rtl::UpperCase(t.Value) == "TRUE") state |= gui::DFCS_CHECKED;
            C.DrawFrameControl(br, gui::DFC_BUTTON, state);
        } else if (t.Type == "BUTTON") {
            TRect br(left + 2, base - 20, left + w - 2, base);
            C.DrawFrameControl(br, gui::DFC_BUTTON, gui::DFCS_BUTTONPUSH | (hot && O.MouseDown ? static_cast<uint32_t>(gui::DFCS_PUSHED) : 0u));
            TRect tr = br;
            gui::InflateRect(tr, -2, -2);
            C.DrawText(t.Value, tr, gui::DT_CENTER | gui::DT_SINGLELINE | gui::DT_VCENTER | gui::DT_NOPREFIX);
        }
        C.Pen()->SetColor(pen);
    }
    const int mouseX = O.PointX - L.Left;
    const bool pointOn = mouseX > v.lineWidth && mouseX < v.lineWidth + w && O.PointY > L.Top && O.PointY < L.Top + h;
    if (pointOn || (O.HotSpotCheck && !R.ControlID.empty() && t.ID == R.ControlID)) {
        imageHit = true;
        R.AnchorValue = "ctrl";
        R.ControlRect = TRect(L.Left + v.lineWidth, L.Top, L.Left + v.lineWidth + w, L.Top + h);
        R.ControlValue = t.Value;
        R.ControlID = t.ID;
        R.ControlType = t.Type;
    }
    if (!replay && v.lineWidth + w > L.Width() && w <= L.Width()) {
        overflow = true;
        return;
    }
    v.lineWidth += w;
    runLeft += w;
    v.lineHeight = std::max(v.lineHeight, h);
}

void Renderer::DrawErrorMark(int left, int right)
{
    TColor pen = C.Pen()->Color();
    int width = C.Pen()->Width();
    C.Pen()->SetColor(gui::RGB(255, 0, 0));
    C.Pen()->SetWidth(1);
    int x = left / 2 * 2;
    int p = (x % 4 == 0) ? 2 : 0;
    C.MoveTo(x, base + p - 1);
    while (x < right) {
        p = p == 0 ? 2 : 0;
        C.LineTo(x + 2, base + p - 1);
        x += 2;
    }
    C.Pen()->SetColor(pen);
    C.Pen()->SetWidth(width);
}

} // namespace

bool DrawMarkupText(TMarkupDialect dialect, gui::TCanvas& canvas, const std::string& markup,
                    const gui::TRect& rect, const TMarkupOptions& options, TMarkupResult& result)
{
    Renderer r(dialect, canvas, rect, options, result);
    return r.Run(markup);
}

} // namespace htmltext
