// TRichEdit over a Qt text document: the rich-text reader and writer, the
// selection format, measuring and drawing.
#include "platform/gui/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <cctype>
#include <map>
#include <cmath>
#include <vector>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/rtl/Strings.h"

namespace gui {

struct TRichEdit::Impl {
    QTextDocument doc;
    int selStart = 0;
    int selLength = 0;
    QTextCharFormat typing;  // format for an empty selection
    bool caretAtStart = false;  // the caret is the selection's start (Shift moved it back)
    char16_t pendingHigh = 0;   // the first half of a typed surrogate pair
};

namespace {

QColor Rgb(TColor c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

TColor FromQ(const QColor& c)
{
    return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// The reader's state inside one group.
struct ReadState {
    bool bold = false, italic = false, underline = false, strike = false;
    int offset = 0;  // -1 sub, +1 super
    int color = 0;   // index in the colour table; 0: automatic
    int halfPoints = 0;
    int font = -1;
    enum Dest { Text, Skip, FontTable, ColorTable } dest = Text;
    int ucSkip = 1;
};

class RtfReader {
public:
    RtfReader(const std::string& src, QTextDocument& doc, const QFont& base) : s(src), cursor(&doc), baseFont(base)
    {
    }

    void Run()
    {
        ReadState st;
        std::vector<ReadState> stack;
        bool first = true;
        while (i < s.size()) {
            const char ch = s[i];
            if (ch == '{') {
                Flush(st);
                stack.push_back(st);
                ++i;
                // "{\*\dest ...}": a destination this reader may not know.
                if (s.compare(i, 2, "\\*") == 0) {
                    st.dest = ReadState::Skip;
                    i += 2;
                }
            } else if (ch == '}') {
                Flush(st);
                if (st.dest == ReadState::FontTable && !fontName.empty()) EndFont();
                if (stack.empty()) break;  // the closing brace of the document
                st = stack.back();
                stack.pop_back();
                ++i;
            } else if (ch == '\\') {
                ++i;
                ControlWord(st, first);
            } else if (ch == '\r' || ch == '\n') {
                ++i;
            } else {
                Char(st, static_cast<unsigned char>(ch));
                ++i;
            }
            first = false;
        }
        Flush(st);
    }

private:
    void ControlWord(ReadState& st, bool)
    {
        if (i >= s.size()) return;
        const char c = s[i];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++i;
            if (c == '\'') {
                // \'hh: one byte.
                if (i + 2 <= s.size() && std::isxdigit(static_cast<unsigned char>(s[i])) &&
                    std::isxdigit(static_cast<unsigned char>(s[i + 1]))) {
                    Char(st, static_cast<unsigned char>(std::stoi(s.substr(i, 2), nullptr, 16)));
                    i += 2;
                }
            } else if (c == '\\' || c == '{' || c == '}') {
                Char(st, static_cast<unsigned char>(c));
            } else if (c == '~') {
                Char(st, ' ');
            } else if (c == '\n' || c == '\r') {
                Par(st);
            }
            return;
        }
        std::string word;
        while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) word += s[i++];
        bool hasParam = false;
        long param = 0;
        bool neg = false;
        if (i < s.size() && s[i] == '-') {
            neg = true;
            ++i;
        }
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            hasParam = true;
            if (param < 100000000) param = param * 10 + (s[i] - '0');
            ++i;
        }
        if (neg) param = -param;
        if (i < s.size() && s[i] == ' ') ++i;
        const bool on = !hasParam || param != 0;

        if (word == "fonttbl") {
            Flush(st);
            st.dest = ReadState::FontTable;
        } else if (word == "colortbl") {
            Flush(st);
            st.dest = ReadState::ColorTable;
            colors.clear();
            red = green = blue = -1;
        } else if (word == "stylesheet" || word == "info" || word == "pict" || word == "header" ||
                   word == "footer" || word == "object") {
            Flush(st);
            st.dest = ReadState::Skip;
        } else if (st.dest == ReadState::ColorTable) {
            if (word == "red") red = static_cast<int>(param);
            else if (word == "green") green = static_cast<int>(param);
            else if (word == "blue") blue = static_cast<int>(param);
        } else if (st.dest == ReadState::FontTable) {
            if (word == "f") {
                fontIndex = static_cast<int>(param);
                fontName.clear();
                inFontName = true;
            }
        } else if (st.dest == ReadState::Skip) {
            // ignored
        } else {
            // Formatting changes take effect for the text after them.
            if (word == "b" || word == "i" || word == "ul" || word == "ulnone" || word == "strike" ||
                word == "cf" || word == "fs" || word == "f" || word == "sub" || word == "super" ||
                word == "nosupersub" || word == "plain" || word == "par" || word == "line" || word == "tab" ||
                word == "u")
                Flush(st);
            if (word == "b") st.bold = on;
            else if (word == "i") st.italic = on;
            else if (word == "ul") st.underline = on;
            else if (word == "ulnone") st.underline = false;
            else if (word == "strike") st.strike = on;
            else if (word == "cf") st.color = static_cast<int>(param);
            else if (word == "fs") st.halfPoints = static_cast<int>(param);
            else if (word == "f") st.font = static_cast<int>(param);
            else if (word == "sub") st.offset = -1;
            else if (word == "super") st.offset = 1;
            else if (word == "nosupersub") st.offset = 0;
            else if (word == "plain") {
                const auto dest = st.dest;
                const int uc = st.ucSkip;
                st = ReadState{};
                st.dest = dest;
                st.ucSkip = uc;
            } else if (word == "par" || word == "line") Par(st);
            else if (word == "tab") run += '\t';
            else if (word == "uc") st.ucSkip = static_cast<int>(std::max(0L, param));
            else if (word == "u") {
                long cp = param < 0 ? param + 65536 : param;
                AppendCodePoint(static_cast<uint32_t>(cp));
                SkipFallback(st.ucSkip);
            }
            // Any other control word is skipped.
        }
    }

    void SkipFallback(int n)
    {
        for (int k = 0; k < n && i < s.size(); ++k) {
            if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == '\'') i += 4;
            else if (s[i] == '{' || s[i] == '}') break;
            else ++i;
        }
    }

    void Char(ReadState& st, unsigned char ch)
    {
        if (st.dest == ReadState::Skip) return;
        if (st.dest == ReadState::ColorTable) {
            if (ch == ';') {
                colors.push_back(red < 0 ? -1 : static_cast<int>(RGBValue(red, green, blue)));
                red = green = blue = -1;
            }
            return;
        }
        if (st.dest == ReadState::FontTable) {
            if (ch == ';') EndFont();
            else if (inFontName) fontName += static_cast<char>(ch);
            return;
        }
        bytes += static_cast<char>(ch);
    }

    static TColor RGBValue(int r, int g, int b)
    {
        auto clamp = [](int v) { return static_cast<TColor>(std::min(255, std::max(0, v))); };
        return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
    }

    void EndFont()
    {
        while (!fontName.empty() && fontName.front() == ' ') fontName.erase(0, 1);
        if (fontIndex >= 0) fonts[fontIndex] = fontName;
        fontName.clear();
        inFontName = false;
    }

    void AppendCodePoint(uint32_t cp)
    {
        FlushBytes();
        run += QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1);
    }

    // Bytes read so far as text: UTF-8 when they are, else one character per byte.
    void FlushBytes()
    {
        if (bytes.empty()) return;
        QString t = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (t.contains(QChar::ReplacementCharacter)) t = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
        run += t;
        bytes.clear();
    }

    QTextCharFormat Format(const ReadState& st) const
    {
        QTextCharFormat f;
        QFont font = baseFont;
        auto it = st.font >= 0 ? fonts.find(st.font) : fonts.end();
        if (it != fonts.end() && !it->second.empty()) font.setFamily(QString::fromStdString(it->second));
        if (st.halfPoints > 0) font.setPointSizeF(st.halfPoints / 2.0);
        font.setBold(st.bold);
        font.setItalic(st.italic);
        font.setUnderline(st.underline);
        font.setStrikeOut(st.strike);
        f.setFont(font);
        if (st.color > 0 && st.color < static_cast<int>(colors.size()) && colors[st.color] >= 0)
            f.setForeground(Rgb(static_cast<TColor>(colors[st.color])));
        if (st.offset < 0) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (st.offset > 0) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        return f;
    }

    void Flush(const ReadState& st)
    {
        FlushBytes();
        if (run.isEmpty()) return;
        cursor.insertText(run, Format(st));
        run.clear();
    }

    void Par(const ReadState& st)
    {
        Flush(st);
        cursor.insertBlock(QTextBlockFormat(), Format(st));
    }

    const std::string& s;
    std::size_t i = 0;
    QTextCursor cursor;
    QFont baseFont;
    std::string bytes;
    QString run;
    std::vector<int> colors;
    int red = -1, green = -1, blue = -1;
    std::map<int, std::string> fonts;
    int fontIndex = -1;
    std::string fontName;
    bool inFontName = false;
};

std::string Escape(const QString& text)
{
    std::string out;
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            out += "\\u" + std::to_string(static_cast<int16_t>(u)) + "?";
        }
    }
    return out;
}

} // namespace

TRichEdit::TRichEdit(rtl::TComponent* owner) : TCustomControl(owner), FImpl(std::make_unique<Impl>())
{
    FImpl->doc.setDocumentMargin(1);
}

TRichEdit::~TRichEdit() = default;

static QFont BaseFont(const TFont& f)
{
    QFont q(QString::fromStdString(f.Name()));
    q.setPointSize(f.Size() > 0 ? f.Size() : 8);
    return q;
}

void TRichEdit::LoadRichText(const std::string& text)
{
    FImpl->doc.clear();
    FImpl->doc.setDefaultFont(BaseFont(*Font()));
    if (text.compare(0, 5, "{\\rtf") == 0) {
        RtfReader reader(text, FImpl->doc, BaseFont(*Font()));
        reader.Run();
    } else {
        FImpl->doc.setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    FImpl->selStart = 0;
    FImpl->selLength = 0;
    ContentChanged();
}

std::string TRichEdit::SaveRichText() const
{
    std::vector<std::string> fonts;
    std::vector<TColor> colors;
    auto fontIndex = [&](const std::string& name) {
        for (std::size_t k = 0; k < fonts.size(); ++k)
            if (fonts[k] == name) return static_cast<int>(k);
        fonts.push_back(name);
        return static_cast<int>(fonts.size() - 1);
    };
    auto colorIndex = [&](TColor c) {
        for (std::size_t k = 0; k < colors.size(); ++k)
            if (colors[k] == c) return static_cast<int>(k + 1);
        colors.push_back(c);
        return static_cast<int>(colors.size());
    };
    fontIndex(Font()->Name());
    std::string body;
    bool firstBlock = true;
    for (QTextBlock block = FImpl->doc.begin(); block.isValid(); block = block.next()) {
        if (!firstBlock) body += "\\par\n";
        firstBlock = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const QTextCharFormat f = frag.charFormat();
            const QFont font = f.font();
            body += "\\plain\\f" + std::to_string(fontIndex(font.family().toStdString()));
            if (font.pointSizeF() > 0) body += "\\fs" + std::to_string(std::lround(font.pointSizeF() * 2));
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                body += "\\cf" + std::to_string(colorIndex(FromQ(f.foreground().color())));
            if (font.bold()) body += "\\b";
            if (font.italic()) body += "\\i";
            if (font.underline()) body += "\\ul";
            if (font.strikeOut()) body += "\\strike";
            if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) body += "\\sub";
            else if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) body += "\\super";
            body += ' ';
            body += Escape(frag.text());
        }
    }
    std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (std::size_t k = 0; k < fonts.size(); ++k) out += "{\\f" + std::to_string(k) + " " + fonts[k] + ";}";
    out += "}";
    if (!colors.empty()) {
        out += "{\\colortbl;";
        for (TColor c : colors)
            out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
                   std::to_string((c >> 16) & 0xFF) + ";";
        out += "}";
    }
    out += "\n" + body + "}";
    return out;
}

void TRichEdit::LoadFromStream(rtl::TStream& stream)
{
    std::string text;
    char buf[4096];
    for (int64_t n; (n = stream.Read(buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
    LoadRichText(text);
}

void TRichEdit::SaveToStream(rtl::TStream& stream) const
{
    const std::string text = SaveRichText();
    stream.Write(text.data(), static_cast<int64_t>(text.size()));
}

void TRichEdit::Clear()
{
    FImpl->doc.clear();
    FImpl->selStart = FImpl->selLength = 0;
    ContentChanged();
}

std::string TRichEdit::PlainText() const
{
    return FImpl->doc.toPlainText().toStdString();
}

void TRichEdit::SetPlainText(const std::string& text)
{
    FImpl->doc.clear();
    FImpl->doc.setDefaultFont(BaseFont(*Font()));
    FImpl->doc.setPlainText(QString::fromStdString(text));
    ContentChanged();
}

int TRichEdit::SelStart() const { return FImpl->selStart; }
int TRichEdit::SelLength() const { return FImpl->selLength; }

void TRichEdit::SetSelection(int start, int length)
{
    const int count = std::max(0, FImpl->doc.characterCount() - 1);
    start = std::clamp(start, 0, count);
    length = std::clamp(length, 0, count - start);
    if (start == FImpl->selStart && length == FImpl->selLength) return;
    FImpl->selStart = start;
    FImpl->selLength = length;
    FImpl->caretAtStart = false;
    Invalidate();
    if (OnSelectionChange) OnSelectionChange(this);
}

void TRichEdit::SelectAll()
{
    SetSelection(0, std::max(0, FImpl->doc.characterCount() - 1));
}

TRichCharFormat TRichEdit::SelFormat() const
{
    QTextCursor c(&FImpl->doc);
    c.setPosition(FImpl->selStart);
    if (FImpl->selLength > 0 || FImpl->selStart < FImpl->doc.characterCount() - 1)
        c.setPosition(FImpl->selStart + 1, QTextCursor::KeepAnchor);
    QTextCharFormat f = FImpl->selLength == 0 && FImpl->typing.isValid() && !FImpl->typing.properties().isEmpty()
                            ? FImpl->typing
                            : c.charFormat();
    TRichCharFormat r;
    const QFont font = f.font();
    r.Bold = font.bold();
    r.Italic = font.italic();
    r.Underline = font.underline();
    r.StrikeOut = font.strikeOut();
    r.Offset = f.verticalAlignment() == QTextCharFormat::AlignSubScript     ? -40
               : f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 40
                                                                              : 0;
    r.Color = f.hasProperty(QTextFormat::ForegroundBrush) ? FromQ(f.foreground().color()) : Font()->Color();
    r.Size = font.pointSizeF() > 0 ? static_cast<int>(std::lround(font.pointSizeF())) : Font()->Size();
    r.FontName = font.family().toStdString();
    return r;
}

void TRichEdit::SetSelFormat(const TRichCharFormat& format, TRichFormatParts parts)
{
    QTextCharFormat f;
    if (parts.Contains(TRichFormatPart::rfBold)) f.setFontWeight(format.Bold ? QFont::Bold : QFont::Normal);
    if (parts.Contains(TRichFormatPart::rfItalic)) f.setFontItalic(format.Italic);
    if (parts.Contains(TRichFormatPart::rfUnderline)) f.setFontUnderline(format.Underline);
    if (parts.Contains(TRichFormatPart::rfStrikeOut)) f.setFontStrikeOut(format.StrikeOut);
    if (parts.Contains(TRichFormatPart::rfOffset))
        f.setVerticalAlignment(format.Offset < 0   ? QTextCharFormat::AlignSubScript
                               : format.Offset > 0 ? QTextCharFormat::AlignSuperScript
                                                   : QTextCharFormat::AlignNormal);
    if (parts.Contains(TRichFormatPart::rfColor)) f.setForeground(Rgb(format.Color));
    if (parts.Contains(TRichFormatPart::rfSize) && format.Size > 0) f.setFontPointSize(format.Size);
    if (parts.Contains(TRichFormatPart::rfFontName) && !format.FontName.empty())
        f.setFontFamilies({QString::fromStdString(format.FontName)});
    if (FImpl->selLength == 0) {
        FImpl->typing.merge(f);
        return;
    }
    QTextCursor c(&FImpl->doc);
    c.setPosition(FImpl->selStart);
    c.setPosition(FImpl->selStart + FImpl->selLength, QTextCursor::KeepAnchor);
    c.mergeCharFormat(f);
    ContentChanged();
}

void TRichEdit::SetWordWrap(bool value)
{
    if (FWordWrap == value) return;
    FWordWrap = value;
    ContentChanged();
}

TSize TRichEdit::RequiredSize(int width) const
{
    std::unique_ptr<QTextDocument> doc(FImpl->doc.clone());
    doc->setTextWidth(FWordWrap ? std::max(1, width) : -1);
    return {width, static_cast<int>(std::ceil(doc->size().height()))};
}

void TRichEdit::RenderTo(TCanvas* canvas, const TRect& r) const
{
    if (!canvas || r.Right <= r.Left || r.Bottom <= r.Top || !CanvasAccess::Begin(*canvas)) return;
    QPainter* p = canvas->Data().painter;
    if (!p) return;
    std::unique_ptr<QTextDocument> doc(FImpl->doc.clone());
    doc->setTextWidth(FWordWrap ? r.Right - r.Left : -1);
    p->save();
    p->translate(r.Left, r.Top);
    const QRectF clip(0, 0, r.Right - r.Left, r.Bottom - r.Top);
    p->setClipRect(clip, Qt::IntersectClip);
    doc->drawContents(p, clip);
    p->restore();
}

void TRichEdit::FormatRange(TCanvas* canvas, const TRect& twips) const
{
    if (!canvas) return;
    const int lx = std::max(1, canvas->GetDeviceCaps(LOGPIXELSX));
    const int ly = std::max(1, canvas->GetDeviceCaps(LOGPIXELSY));
    const TRect dev{twips.Left * lx / 1440, twips.Top * ly / 1440, twips.Right * lx / 1440, twips.Bottom * ly / 1440};
    if (dev.Right <= dev.Left || dev.Bottom <= dev.Top || !CanvasAccess::Begin(*canvas)) return;
    QPainter* p = canvas->Data().painter;
    if (!p) return;
    const double sx = lx / 96.0, sy = ly / 96.0;
    std::unique_ptr<QTextDocument> doc(FImpl->doc.clone());
    doc->setTextWidth(FWordWrap ? (dev.Right - dev.Left) / sx : -1);
    p->save();
    p->translate(dev.Left, dev.Top);
    p->setClipRect(QRectF(0, 0, dev.Right - dev.Left, dev.Bottom - dev.Top), Qt::IntersectClip);
    p->scale(sx, sy);
    doc->drawContents(p, QRectF(0, 0, (dev.Right - dev.Left) / sx, (dev.Bottom - dev.Top) / sy));
    p->restore();
}

// The text with the selection highlighted and, while focused, the caret.
void TRichEdit::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    if (!CanvasAccess::Begin(*c)) return;
    QPainter* p = c->Data().painter;
    if (!p) return;
    LayoutForEditing();
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = QRectF(0, 0, ClientWidth(), ClientHeight());
    ctx.palette.setColor(QPalette::Text, Rgb(ColorToRGB(Font()->Color())));
    if (FImpl->selLength > 0) {
        QAbstractTextDocumentLayout::Selection sel;
        sel.cursor = QTextCursor(&FImpl->doc);
        sel.cursor.setPosition(FImpl->selStart);
        sel.cursor.setPosition(FImpl->selStart + FImpl->selLength, QTextCursor::KeepAnchor);
        sel.format.setBackground(Rgb(ColorToRGB(clHighlight)));
        sel.format.setForeground(Rgb(ColorToRGB(clHighlightText)));
        ctx.selections.append(sel);
    }
    if (Focused()) ctx.cursorPosition = CaretPos();
    p->save();
    p->setClipRect(ctx.clip, Qt::IntersectClip);
    p->setPen(Rgb(ColorToRGB(Font()->Color())));
    FImpl->doc.documentLayout()->draw(p, ctx);
    p->restore();
}

// ---------------------------------------------------------------- editing

int TRichEdit::CaretPos() const
{
    return FImpl->caretAtStart ? FImpl->selStart : FImpl->selStart + FImpl->selLength;
}

void TRichEdit::LayoutForEditing() const
{
    const qreal w = FWordWrap ? std::max(1, ClientWidth()) : -1;
    if (FImpl->doc.textWidth() != w) FImpl->doc.setTextWidth(w);
}

void TRichEdit::MoveCaret(int pos, bool extend)
{
    const int count = std::max(0, FImpl->doc.characterCount() - 1);
    pos = std::clamp(pos, 0, count);
    const int anchor = extend ? (FImpl->caretAtStart ? FImpl->selStart + FImpl->selLength : FImpl->selStart) : pos;
    const int start = std::min(anchor, pos), length = std::abs(pos - anchor);
    const bool atStart = pos < anchor;
    // A format chosen for typing lasts until the caret moves.
    FImpl->typing = QTextCharFormat();
    if (start == FImpl->selStart && length == FImpl->selLength && atStart == FImpl->caretAtStart) return;
    FImpl->selStart = start;
    FImpl->selLength = length;
    FImpl->caretAtStart = atStart;
    Invalidate();
    if (OnSelectionChange) OnSelectionChange(this);
}

int TRichEdit::CaretTarget(uint16_t key, bool ctrl)
{
    LayoutForEditing();
    QTextCursor c(&FImpl->doc);
    c.setPosition(CaretPos());
    auto move = [&](QTextCursor::MoveOperation op, int times = 1) {
        c.movePosition(op, QTextCursor::MoveAnchor, times);
        return c.position();
    };
    switch (key) {
    case VK_LEFT: return move(ctrl ? QTextCursor::PreviousWord : QTextCursor::PreviousCharacter);
    case VK_RIGHT: return move(ctrl ? QTextCursor::NextWord : QTextCursor::NextCharacter);
    case VK_UP: return move(QTextCursor::Up);
    case VK_DOWN: return move(QTextCursor::Down);
    case VK_HOME: return move(ctrl ? QTextCursor::Start : QTextCursor::StartOfLine);
    case VK_END: return move(ctrl ? QTextCursor::End : QTextCursor::EndOfLine);
    case VK_PRIOR:
    case VK_NEXT: {
        const int lines = std::max(1, ClientHeight() / std::max(1, QFontMetrics(FImpl->doc.defaultFont()).height()));
        return move(key == VK_PRIOR ? QTextCursor::Up : QTextCursor::Down, lines);
    }
    default: return -1;
    }
}

void TRichEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool extend = shift.Contains(TShiftStateItem::ssShift);
    if (ctrl && ShortcutKey(key)) {
        key = 0;
        return;
    }
    // Left and Right without Shift first close a selection at its side.
    if (!extend && !ctrl && FImpl->selLength > 0 && (key == VK_LEFT || key == VK_RIGHT)) {
        MoveCaret(key == VK_LEFT ? FImpl->selStart : FImpl->selStart + FImpl->selLength, false);
        key = 0;
        return;
    }
    const int to = CaretTarget(key, ctrl);
    if (to >= 0) {
        MoveCaret(to, extend);
        key = 0;
        return;
    }
    if (key == VK_DELETE) {
        if (!FReadOnly) DeleteSelectionOr(1);
        key = 0;
    }
}

void TRichEdit::KeyPress(char16_t& key)
{
    TCustomControl::KeyPress(key);
    if (key == 0) return;
    const char16_t k = key;
    if (k != 8 && k != 13 && k != 9 && (k < 32 || k == 127)) return;  // control characters of shortcuts
    key = 0;
    if (FReadOnly) return;
    if (k == 8) {
        DeleteSelectionOr(-1);
    } else if (k == 13) {
        InsertText("\n");
    } else if (k >= 0xD800 && k <= 0xDBFF) {
        FImpl->pendingHigh = k;
    } else {
        std::u16string one;
        if (k >= 0xDC00 && k <= 0xDFFF && FImpl->pendingHigh) one += FImpl->pendingHigh;
        one += k;
        FImpl->pendingHigh = 0;
        InsertText(rtl::UTF16ToUTF8(one));
    }
}

// Ctrl with a letter: select all, the clipboard, and the three styles.
bool TRichEdit::ShortcutKey(uint16_t key)
{
    const auto selected = [this] {
        QTextCursor c(&FImpl->doc);
        c.setPosition(FImpl->selStart);
        c.setPosition(FImpl->selStart + FImpl->selLength, QTextCursor::KeepAnchor);
        return c.selectedText().replace(QChar::ParagraphSeparator, QChar('\n')).toStdString();
    };
    switch (key) {
    case 'A': MoveCaret(0, false); MoveCaret(FImpl->doc.characterCount() - 1, true); return true;
    case 'C':
    case VK_INSERT:
        if (FImpl->selLength > 0) Clipboard()->SetAsText(selected());
        return true;
    case 'X':
        if (FImpl->selLength == 0) return true;
        Clipboard()->SetAsText(selected());
        if (!FReadOnly) DeleteSelectionOr(0);
        return true;
    case 'V':
        if (!FReadOnly) InsertText(Clipboard()->AsText());
        return true;
    case 'B':
    case 'I':
    case 'U':
        if (!FReadOnly) ToggleFormat(key);
        return true;
    default: return false;
    }
}

void TRichEdit::ToggleFormat(uint16_t key)
{
    TRichCharFormat f = SelFormat();
    TRichFormatPart part = TRichFormatPart::rfBold;
    if (key == 'B') f.Bold = !f.Bold;
    if (key == 'I') f.Italic = !f.Italic, part = TRichFormatPart::rfItalic;
    if (key == 'U') f.Underline = !f.Underline, part = TRichFormatPart::rfUnderline;
    const bool typing = FImpl->selLength == 0;
    SetSelFormat(f, {part});
    if (!typing) Change();
}

// After an edit made by typing: the caret stands at pos with nothing
// selected, the text is laid out again and both change events fire.
void TRichEdit::EditedTo(int pos)
{
    FImpl->selStart = pos;
    FImpl->selLength = 0;
    FImpl->caretAtStart = false;
    ContentChanged();
    Change();
    if (OnSelectionChange) OnSelectionChange(this);
}

// Removes the selection, else the character before (-1) or after (1) the caret.
void TRichEdit::DeleteSelectionOr(int direction)
{
    QTextCursor c(&FImpl->doc);
    const int count = FImpl->doc.characterCount() - 1;
    if (FImpl->selLength > 0) {
        c.setPosition(FImpl->selStart);
        c.setPosition(FImpl->selStart + FImpl->selLength, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    } else if (direction < 0 && FImpl->selStart > 0) {
        c.setPosition(FImpl->selStart);
        c.deletePreviousChar();
    } else if (direction > 0 && FImpl->selStart < count) {
        c.setPosition(FImpl->selStart);
        c.deleteChar();
    } else {
        return;
    }
    EditedTo(c.position());
}

void TRichEdit::InsertText(const std::string& text)
{
    if (FImpl->doc.isEmpty()) FImpl->doc.setDefaultFont(BaseFont(*Font()));
    // The new text takes the format of the character before it (of the
    // first one at the start) with the typing format over it.
    QTextCursor probe(&FImpl->doc);
    probe.setPosition(FImpl->selStart);
    if (FImpl->selStart == 0 && FImpl->doc.characterCount() > 1) probe.setPosition(1);
    QTextCharFormat f = probe.charFormat();
    f.merge(FImpl->typing);
    QTextCursor c(&FImpl->doc);
    c.setPosition(FImpl->selStart);
    c.setPosition(FImpl->selStart + FImpl->selLength, QTextCursor::KeepAnchor);
    c.beginEditBlock();
    c.removeSelectedText();
    const QStringList lines = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                                  .remove(QChar('\r'))
                                  .split(QChar('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) c.insertBlock(c.blockFormat(), f);
        if (!lines[i].isEmpty()) c.insertText(lines[i], f);
    }
    c.endEditBlock();
    EditedTo(c.position());
}

void TRichEdit::Change()
{
    if (OnChange) OnChange(this);
}

int TRichEdit::PosAt(int x, int y) const
{
    LayoutForEditing();
    const int at = FImpl->doc.documentLayout()->hitTest(QPointF(x, y), Qt::FuzzyHit);
    return at < 0 ? std::max(0, FImpl->doc.characterCount() - 1) : at;
}

void TRichEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (CanFocus() && !Focused()) SetFocus();
    if (button == TMouseButton::mbLeft) MoveCaret(PosAt(x, y), shift.Contains(TShiftStateItem::ssShift));
    TCustomControl::MouseDown(button, shift, x, y);
}

void TRichEdit::MouseMove(TShiftState shift, int x, int y)
{
    // A drag with the left button selects from where it was pressed.
    if (shift.Contains(TShiftStateItem::ssLeft)) MoveCaret(PosAt(x, y), true);
    TCustomControl::MouseMove(shift, x, y);
}

void TRichEdit::Dispatch(TMessage& message)
{
    if (message.Msg == WM_GETDLGCODE) {
        // Arrows, characters and Enter are the editor's.
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
        return;
    }
    TCustomControl::Dispatch(message);
}

void TRichEdit::ContentChanged()
{
    if (OnRequestResize) {
        const TSize s = RequiredSize(ClientWidth() > 0 ? ClientWidth() : Width());
        OnRequestResize(this, TRect{0, 0, s.cx, s.cy});
    }
    Invalidate();
}

} // namespace gui
