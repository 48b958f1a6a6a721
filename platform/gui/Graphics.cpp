// Colours, fonts, pens, brushes, regions, and the graphic and picture
// containers.

#include "platform/gui/GraphicsQt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPalette>

#include <array>
#include <cstring>
#include <cmath>
#include <filesystem>
#include <mutex>

#include "platform/gui/FontService.h"
#include "platform/gui/IconImage.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Strings.h"

namespace gui {

// ---------------------------------------------------------------- colours

namespace {

// The classic desktop palette: fixed so that drawings are the same on every
// machine unless the application asks for the desktop's own colours.
constexpr std::array<TColor, COLOR_ENDCOLORS + 1> kClassicColors = {
    RGB(200, 200, 200), RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0),
    RGB(0, 0, 0), RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106), RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64), RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128), RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(49, 106, 197), RGB(236, 233, 216)};

std::array<TColor, COLOR_ENDCOLORS + 1> gSysColors = kClassicColors;

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index > COLOR_ENDCOLORS)
        return clBlack;
    return gSysColors[static_cast<std::size_t>(index)];
}

void SetSysColor(int index, TColor rgb)
{
    if (index >= 0 && index <= COLOR_ENDCOLORS)
        gSysColors[static_cast<std::size_t>(index)] = rgb & 0xFFFFFF;
}

void ResetSysColors() { gSysColors = kClassicColors; }

void LoadSysColorsFromDesktop()
{
    qt::EnsureApplication();
    const QPalette pal = QGuiApplication::palette();
    auto set = [](int index, const QColor& c) { SetSysColor(index, RGB(c.red(), c.green(), c.blue())); };
    set(COLOR_WINDOW, pal.color(QPalette::Base));
    set(COLOR_WINDOWTEXT, pal.color(QPalette::Text));
    set(COLOR_BTNFACE, pal.color(QPalette::Button));
    set(COLOR_MENU, pal.color(QPalette::Window));
    set(COLOR_BTNTEXT, pal.color(QPalette::ButtonText));
    set(COLOR_MENUTEXT, pal.color(QPalette::WindowText));
    set(COLOR_BTNSHADOW, pal.color(QPalette::Dark));
    set(COLOR_BTNHIGHLIGHT, pal.color(QPalette::Light));
    set(COLOR_3DLIGHT, pal.color(QPalette::Midlight));
    set(COLOR_3DDKSHADOW, pal.color(QPalette::Shadow));
    set(COLOR_HIGHLIGHT, pal.color(QPalette::Highlight));
    set(COLOR_HIGHLIGHTTEXT, pal.color(QPalette::HighlightedText));
    set(COLOR_MENUHILIGHT, pal.color(QPalette::Highlight));
    set(COLOR_INFOBK, pal.color(QPalette::ToolTipBase));
    set(COLOR_INFOTEXT, pal.color(QPalette::ToolTipText));
    set(COLOR_GRAYTEXT, pal.color(QPalette::Disabled, QPalette::Text));
}

TColor ColorToRGB(TColor color)
{
    if ((color & 0xFF000000) == clSystemColor)
        return GetSysColor(static_cast<int>(color & 0xFF));
    if (color == clNone || color == clDefault)
        return color;
    return color & 0xFFFFFF;
}

QColor ToQColor(TColor c)
{
    if (c == clNone)
        return QColor(0, 0, 0, 0);
    if (c == clDefault)
        c = clBlack;
    c = ColorToRGB(c);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// --------------------------------------------------------- graphics objects

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

TFont::TFont() = default;

void TFont::SetName(const std::string& name)
{
    if (name.empty() || name == FName) return;
    FName = name;
    Changed();
}

int TFont::Size() const
{
    // -Height * 72 / ppi, rounded as the classic MulDiv rounds (half away from zero).
    long long num = -static_cast<long long>(FHeight) * 72;
    long long q = (std::llabs(num) * 2 + FPixelsPerInch) / (2LL * FPixelsPerInch);
    return static_cast<int>(num < 0 ? -q : q);
}

void TFont::SetSize(int points)
{
    long long num = static_cast<long long>(points) * FPixelsPerInch;
    long long q = (std::llabs(num) * 2 + 72) / 144;
    SetHeight(static_cast<int>(num < 0 ? q : -q));
}

void TFont::SetHeight(int height)
{
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TFont::SetStyle(const TFontStyles& style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == FOrientation) return;
    FOrientation = tenths;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == FPitch) return;
    FPitch = pitch;
    Changed();
}

void TFont::SetCharset(uint8_t charset)
{
    if (charset == FCharset) return;
    FCharset = charset;
    Changed();
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi > 0) FPixelsPerInch = ppi;
}

TLogFont TFont::GetLogFont() const
{
    TLogFont lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(TFontStyle::fsItalic);
    lf.lfUnderline = FStyle.Contains(TFontStyle::fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(TFontStyle::fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == TFontPitch::fpFixed ? 1 : FPitch == TFontPitch::fpVariable ? 2 : 0;
    lf.lfFaceName = FName;
    return lf;
}

void TFont::SetLogFont(const TLogFont& lf)
{
    FHeight = lf.lfHeight;
    FOrientation = lf.lfEscapement;
    FStyle.Clear();
    if (lf.lfWeight >= 600) FStyle.Include(TFontStyle::fsBold);
    if (lf.lfItalic) FStyle.Include(TFontStyle::fsItalic);
    if (lf.lfUnderline) FStyle.Include(TFontStyle::fsUnderline);
    if (lf.lfStrikeOut) FStyle.Include(TFontStyle::fsStrikeOut);
    FCharset = lf.lfCharSet;
    int pitch = lf.lfPitchAndFamily & 3;
    FPitch = pitch == 1 ? TFontPitch::fpFixed : pitch == 2 ? TFontPitch::fpVariable : TFontPitch::fpDefault;
    if (!lf.lfFaceName.empty()) FName = lf.lfFaceName;
    Changed();
}

void TFont::Assign(const rtl::TPersistent* source)
{
    if (auto f = dynamic_cast<const TFont*>(source)) {
        FName = f->FName;
        FColor = f->FColor;
        FStyle = f->FStyle;
        FOrientation = f->FOrientation;
        FPitch = f->FPitch;
        FCharset = f->FCharset;
        if (f->FPixelsPerInch != FPixelsPerInch) {
            FHeight = f->FHeight;   // replaced below, keeping the size in points
            int points = f->Size();
            long long num = static_cast<long long>(points) * FPixelsPerInch;
            long long q = (std::llabs(num) * 2 + 72) / 144;
            FHeight = static_cast<int>(num < 0 ? q : -q);
        } else {
            FHeight = f->FHeight;
        }
        Changed();
        return;
    }
    rtl::TPersistent::Assign(source);
}

void TPen::SetColor(TColor color)
{
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width < 0 || width == FWidth) return;
    FWidth = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == FMode) return;
    FMode = mode;
    Changed();
}

void TPen::SetEndCap(TPenEndCap cap)
{
    if (cap == FEndCap) return;
    FEndCap = cap;
    Changed();
}

void TPen::SetUserDash(std::vector<int> dashes)
{
    if (dashes == FUserDash) return;
    FUserDash = std::move(dashes);
    Changed();
}

void TPen::Assign(const rtl::TPersistent* source)
{
    if (auto p = dynamic_cast<const TPen*>(source)) {
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        FEndCap = p->FEndCap;
        FUserDash = p->FUserDash;
        Changed();
        return;
    }
    rtl::TPersistent::Assign(source);
}

void TBrush::SetColor(TColor color)
{
    if (color == FColor && FStyle != TBrushStyle::bsClear) return;
    FColor = color;
    if (FStyle == TBrushStyle::bsClear)
        FStyle = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TBrush::Assign(const rtl::TPersistent* source)
{
    if (auto b = dynamic_cast<const TBrush*>(source)) {
        FColor = b->FColor;
        FStyle = b->FStyle;
        Changed();
        return;
    }
    rtl::TPersistent::Assign(source);
}

// -------------------------------------------------------------- regions

TRegion::TRegion() : FImpl(std::make_unique<Impl>()) {}
TRegion::~TRegion() = default;
TRegion::TRegion(const TRegion& other) : FImpl(std::make_unique<Impl>(*other.FImpl)) {}
TRegion& TRegion::operator=(const TRegion& other)
{
    *FImpl = *other.FImpl;
    return *this;
}

TRegion TRegion::CreateRect(const TRect& r)
{
    TRegion rgn;
    if (!r.IsEmpty())
        rgn.FImpl->region = QRegion(r.Left, r.Top, r.Width(), r.Height());
    return rgn;
}

TRegion TRegion::CreateRoundRect(const TRect& r, int w, int h)
{
    TRegion rgn;
    if (r.IsEmpty()) return rgn;
    QPainterPath path;
    path.addRoundedRect(QRectF(r.Left, r.Top, r.Width(), r.Height()), w / 2.0, h / 2.0);
    rgn.FImpl->region = QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
    return rgn;
}

TRegion TRegion::CreateEllipse(const TRect& r)
{
    TRegion rgn;
    if (!r.IsEmpty())
        rgn.FImpl->region = QRegion(r.Left, r.Top, r.Width(), r.Height(), QRegion::Ellipse);
    return rgn;
}

TRegion TRegion::CreatePolygon(const std::vector<TPoint>& points, int fillMode)
{
    TRegion rgn;
    QPolygon poly;
    for (const TPoint& p : points) poly << QPoint(p.X, p.Y);
    if (poly.size() >= 3)
        rgn.FImpl->region = QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return rgn;
}

void TRegion::Combine(const TRegion& a, const TRegion& b, int mode)
{
    switch (mode) {
    case RGN_AND: FImpl->region = a.FImpl->region.intersected(b.FImpl->region); break;
    case RGN_OR: FImpl->region = a.FImpl->region.united(b.FImpl->region); break;
    case RGN_XOR: FImpl->region = a.FImpl->region.xored(b.FImpl->region); break;
    case RGN_DIFF: FImpl->region = a.FImpl->region.subtracted(b.FImpl->region); break;
    case RGN_COPY: FImpl->region = a.FImpl->region; break;
    default: break;
    }
}

void TRegion::Offset(int dx, int dy) { FImpl->region.translate(dx, dy); }
bool TRegion::Contains(TPoint p) const { return FImpl->region.contains(QPoint(p.X, p.Y)); }
bool TRegion::IsEmpty() const { return FImpl->region.isEmpty(); }

TRect TRegion::BoundingRect() const
{
    QRect r = FImpl->region.boundingRect();
    if (r.isEmpty()) return {};
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool operator==(const TRegion& a, const TRegion& b) { return a.FImpl->region == b.FImpl->region; }

// ------------------------------------------------------------ Qt helpers

namespace qt {

void EnsureApplication()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (QCoreApplication::instance()) return;
        static int argc = 1;
        static char name[] = "tolmira-eclipse";
        static char* argv[] = {name, nullptr};
        // A child window moved by copying its pixels within the window's
        // picture is later repainted without the windows lying over it: on
        // an X display the map then covers a floating panel when the main
        // window is resized at start (maximised by the window manager).
        // Moved windows are repainted instead.
        if (!qEnvironmentVariableIsSet("QT_NO_FAST_MOVE")) qputenv("QT_NO_FAST_MOVE", "1");
        new QApplication(argc, argv);   // lives for the rest of the process
    });
}

namespace {
QString MapFamily(const std::string& name) { return QString::fromStdString(PlatformFontFamily(name)); }
} // namespace

QFont MakeFont(const TFont& font)
{
    EnsureApplication();
    QFont f(MapFamily(font.Name()));
    f.setKerning(false);
    f.setBold(font.Style().Contains(TFontStyle::fsBold));
    f.setItalic(font.Style().Contains(TFontStyle::fsItalic));
    f.setUnderline(font.Style().Contains(TFontStyle::fsUnderline));
    f.setStrikeOut(font.Style().Contains(TFontStyle::fsStrikeOut));
    if (font.Pitch() == TFontPitch::fpFixed) f.setFixedPitch(true);
    int h = font.Height();
    int pixels;
    if (h < 0) {
        pixels = -h;
    } else if (h > 0) {
        // A positive height is the whole cell: scale the em size to fit it.
        QFont probe = f;
        probe.setPixelSize(100);
        QFontMetrics m(probe);
        int cell = std::max(1, m.ascent() + m.descent());
        pixels = static_cast<int>(std::lround(h * 100.0 / cell));
    } else {
        pixels = 13;
    }
    f.setPixelSize(std::max(1, pixels));
    return f;
}

QColor MakeColor(TColor color) { return ToQColor(color); }

} // namespace qt

QString CanvasText(const TFont& font, const std::string& utf8)
{
    QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!rtl::SameText(font.Name(), "Symbol"))
        return s;
    // The letters the Symbol font shows in place of the Latin ones.
    static const char16_t kUpper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι',
                                        u'ϑ', u'Κ', u'Λ', u'Μ', u'Ν', u'Ο', u'Π', u'Θ', u'Ρ',
                                        u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
    static const char16_t kLower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι',
                                        u'ϕ', u'κ', u'λ', u'μ', u'ν', u'ο', u'π', u'θ', u'ρ',
                                        u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};
    for (QChar& ch : s) {
        char16_t c = ch.unicode();
        if (c >= 'A' && c <= 'Z') ch = QChar(kUpper[c - 'A']);
        else if (c >= 'a' && c <= 'z') ch = QChar(kLower[c - 'a']);
    }
    return s;
}

int64_t TBytesStream::Read(void* buffer, int64_t count)
{
    if (count <= 0 || FPos >= FSize) return 0;
    int64_t n = std::min(count, FSize - FPos);
    std::memcpy(buffer, FData + FPos, static_cast<std::size_t>(n));
    FPos += n;
    return n;
}

int64_t TBytesStream::Write(const void*, int64_t)
{
    throw rtl::EStreamError("Can't write to a read-only stream");
}

int64_t TBytesStream::Seek(int64_t offset, rtl::TSeekOrigin origin)
{
    switch (origin) {
    case rtl::TSeekOrigin::soBeginning: FPos = offset; break;
    case rtl::TSeekOrigin::soCurrent: FPos += offset; break;
    case rtl::TSeekOrigin::soEnd: FPos = FSize + offset; break;
    }
    FPos = std::max<int64_t>(0, FPos);
    return FPos;
}

std::unique_ptr<TGraphic> LoadGraphicFromBytes(const uint8_t* data, std::size_t size)
{
    TBytesStream stream(data, size);
    return LoadGraphicFromStream(stream);
}

std::vector<uint8_t> ReadRest(rtl::TStream& stream)
{
    int64_t pos = stream.Position();
    int64_t size = stream.Size();
    std::vector<uint8_t> data;
    if (size > pos) {
        data.resize(static_cast<std::size_t>(size - pos));
        int64_t n = stream.Read(data.data(), static_cast<int64_t>(data.size()));
        data.resize(static_cast<std::size_t>(std::max<int64_t>(0, n)));
    }
    return data;
}

// ---------------------------------------------------------------- graphic

void TGraphic::SetSize(int, int)
{
    throw EInvalidGraphicOperation("Cannot change the size of this picture");
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const
{
    rtl::TFileStream stream(fileName, rtl::fmCreate);
    SaveToStream(stream);
}

// Raw data first, as pictures are stored; PNG and bitmap resources of the
// name serve as well.
void TGraphic::LoadFromResourceName(const std::string& name)
{
    const rtl::TResource* res = rtl::FindResource(name, rtl::TResourceType::RCData);
    if (!res) res = rtl::FindResource(name, rtl::TResourceType::PNG);
    if (!res) res = rtl::FindResource(name, rtl::TResourceType::Bitmap);
    if (!res) return;
    TBytesStream stream(res->Data, res->Size);
    LoadFromStream(stream);
}

void TGraphic::LoadFromResourceID(int id)
{
    rtl::TResourceStream stream(id, rtl::TResourceType::RCData);
    LoadFromStream(stream);
}

std::unique_ptr<TGraphic> LoadGraphicFromStream(rtl::TStream& stream)
{
    int64_t start = stream.Position();
    uint8_t head[8] = {};
    int64_t n = stream.Read(head, sizeof head);
    stream.SetPosition(start);
    std::unique_ptr<TGraphic> g;
    if (n >= 2 && head[0] == 'B' && head[1] == 'M')
        g = std::make_unique<TBitmap>();
    else if (LooksLikePng(head, static_cast<std::size_t>(n)))
        g = std::make_unique<TPngImage>();
    else if (LooksLikeJpeg(head, static_cast<std::size_t>(n)))
        g = std::make_unique<TJPEGImage>();
    else if (n >= 4 && std::memcmp(head, "GIF8", 4) == 0)
        g = std::make_unique<TGifImage>();
    else if (n >= 6 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0)
        g = std::make_unique<TIcon>();
    else
        return nullptr;
    g->LoadFromStream(stream);
    return g;
}

// ---------------------------------------------------------------- picture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::GraphicChanged()
{
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (!graphic) {
        FGraphic.reset();
    } else {
        std::unique_ptr<TGraphic> copy(graphic->NewEmpty());
        copy->Assign(graphic);
        FGraphic = std::move(copy);
        FGraphic->OnChange = [this](rtl::TObject*) { GraphicChanged(); };
    }
    GraphicChanged();
}

TBitmap* TPicture::Bitmap()
{
    auto* bmp = dynamic_cast<TBitmap*>(FGraphic.get());
    if (!bmp) {
        // The picture becomes a bitmap of the same pixels.
        auto converted = std::make_unique<TBitmap>();
        if (FGraphic) converted->Assign(FGraphic.get());
        FGraphic = std::move(converted);
        FGraphic->OnChange = [this](rtl::TObject*) { GraphicChanged(); };
        bmp = static_cast<TBitmap*>(FGraphic.get());
        GraphicChanged();
    }
    return bmp;
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromStream(rtl::TStream& stream)
{
    std::unique_ptr<TGraphic> g = LoadGraphicFromStream(stream);
    if (!g)
        throw EInvalidGraphic("Unknown picture format");
    FGraphic = std::move(g);
    FGraphic->OnChange = [this](rtl::TObject*) { GraphicChanged(); };
    GraphicChanged();
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    std::unique_ptr<TGraphic> g = LoadGraphicFromStream(stream);
    if (!g)
        throw EInvalidGraphic("Unknown picture format in file \"" + fileName + "\"");
    FGraphic = std::move(g);
    FGraphic->OnChange = [this](rtl::TObject*) { GraphicChanged(); };
    GraphicChanged();
}

void TPicture::SaveToStream(rtl::TStream& stream) const
{
    if (FGraphic) FGraphic->SaveToStream(stream);
}

void TPicture::SaveToFile(const std::string& fileName) const
{
    if (!FGraphic) return;
    std::string ext = rtl::LowerCase(std::filesystem::path(fileName).extension().string());
    std::unique_ptr<TGraphic> converted;
    if (ext == ".bmp" && !dynamic_cast<const TBitmap*>(FGraphic.get()))
        converted = std::make_unique<TBitmap>();
    else if (ext == ".png" && !dynamic_cast<const TPngImage*>(FGraphic.get()))
        converted = std::make_unique<TPngImage>();
    else if ((ext == ".jpg" || ext == ".jpeg") && !dynamic_cast<const TJPEGImage*>(FGraphic.get()))
        converted = std::make_unique<TJPEGImage>();
    if (converted) {
        converted->Assign(FGraphic.get());
        converted->SaveToFile(fileName);
    } else {
        FGraphic->SaveToFile(fileName);
    }
}

void TPicture::Assign(const rtl::TPersistent* source)
{
    if (!source) { SetGraphic(nullptr); return; }
    if (auto p = dynamic_cast<const TPicture*>(source)) { SetGraphic(p->Graphic()); return; }
    if (auto g = dynamic_cast<const TGraphic*>(source)) { SetGraphic(g); return; }
    rtl::TPersistent::Assign(source);
}

} // namespace gui
