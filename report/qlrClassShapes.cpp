// The line (straight or diagonal, with arrow heads), picture (fitting and
// format sniffing), shape (with double frames) and sub-report views, and the
// kept graphic of formats without a decoder here.

#include <cmath>
#include <cstring>

#include "platform/gui/IconImage.h"
#include "platform/gui/JpegImage.h"
#include "platform/gui/PngImage.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrClassProps.h"
#include "report/qlrRes.h"
#include "report/qlrUtils.h"

namespace qlr {

using namespace props;

namespace {

int Round(long double x)
{
    return static_cast<int>(std::nearbyint(x));
}

// A line of w pixels as w parallel one-pixel lines with the current pen.
void WideLine(gui::TCanvas* canvas, int x1, int y1, int x2, int y2, int w)
{
    if (w <= 0) w = 1;
    bool horizontal = std::abs(y2 - y1) < std::abs(x2 - x1);
    for (int i = -(w / 2); i <= w - 1 - w / 2; ++i) {
        if (horizontal) {
            canvas->MoveTo(x1, y1 + i);
            canvas->LineTo(x2, y2 + i);
        } else {
            canvas->MoveTo(x1 + i, y1);
            canvas->LineTo(x2 + i, y2);
        }
    }
}

gui::TPenStyle PenStyle(TqlrFrameStyle s)
{
    switch (s) {
    case TqlrFrameStyle::fsDash: return gui::TPenStyle::psDash;
    case TqlrFrameStyle::fsDot:
    case TqlrFrameStyle::fsAltDot: return gui::TPenStyle::psDot;
    case TqlrFrameStyle::fsDashDot: return gui::TPenStyle::psDashDot;
    case TqlrFrameStyle::fsDashDotDot: return gui::TPenStyle::psDashDotDot;
    default: return gui::TPenStyle::psSolid;
    }
}

uint32_t ReadU32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

// --- published properties --------------------------------------------------------------

RTL_PUBLISHED(TqlrCustomLineView)
{
    using L = TqlrCustomLineView;
    QLR_FIELD(L, ArrowEnd).Default(false);
    QLR_FIELD(L, ArrowLength).Default(20);
    QLR_FIELD(L, ArrowSolid).Default(false);
    QLR_FIELD(L, ArrowStart).Default(false);
    QLR_FIELD(L, ArrowWidth).Default(5);
    QLR_FIELD(L, Diagonal).Default(false);
}
RTL_PUBLISHED(TqlrLineView) {}

RTL_PUBLISHED(TqlrPictureView)
{
    using P = TqlrPictureView;
    c.Property("AutoSize", &P::AutoSize, &P::SetAutoSize).Default(false);
    c.Property("Center", &P::Center, &P::SetCenter).Default(false);
    c.Property("FileLink", [](P& p) { return p.FileLink(); }, &P::SetFileLink);
    c.Property("ImageIndex", &P::ImageIndex, &P::SetImageIndex)
        .Stored([](P& p) { return p.IsImageIndexStored; });
    c.Property("KeepAspectRatio", &P::KeepAspectRatio, &P::SetKeepAspectRatio).Default(true);
    c.Property("Stretched", &P::Stretched, &P::SetStretched).Default(true);
    QLR_FIELD(P, HightQuality).Default(false);
    c.Property("Transparent", &P::Transparent, &P::SetTransparent).Default(false);
    c.Property("TransparentColor", &P::TransparentColor, &P::SetTransparentColor).Default(gui::clWhite);
}

RTL_PUBLISHED(TqlrShapeView)
{
    c.Property("Curve", &TqlrShapeView::Curve, &TqlrShapeView::SetCurve).Default(0);
    c.Property("Shape", &TqlrShapeView::Shape, &TqlrShapeView::SetShape).Default(TqlrShapeKind::skRectangle);
}

RTL_PUBLISHED(TqlrSubreport)
{
    c.Property("Page", &TqlrSubreport::Page, &TqlrSubreport::SetPage);
    QLR_FIELD(TqlrSubreport, PrintOnParent).Default(false);
}

// --- the kept graphic ---------------------------------------------------------------------

void TqlrKeptGraphic::SetSize(int w, int h)
{
    FWidth = w;
    FHeight = h;
}

void TqlrKeptGraphic::LoadFromStream(rtl::TStream& stream)
{
    FBytes = stream.ReadAll();
    FWidth = FHeight = 0;
    const auto* p = reinterpret_cast<const uint8_t*>(FBytes.data());
    if (FExtension == "wmf" && FBytes.size() >= 22) {
        // The placeable header's bounding box in its units per inch.
        auto s16 = [p](int at) { return static_cast<int16_t>(p[at] | (p[at + 1] << 8)); };
        int inch = p[14] | (p[15] << 8);
        if (inch > 0) {
            FWidth = (s16(10) - s16(6)) * 96 / inch;
            FHeight = (s16(12) - s16(8)) * 96 / inch;
        }
    } else if (FExtension == "emf" && FBytes.size() >= 24) {
        FWidth = static_cast<int>(ReadU32(p + 16)) - static_cast<int>(ReadU32(p + 8)) + 1;
        FHeight = static_cast<int>(ReadU32(p + 20)) - static_cast<int>(ReadU32(p + 12)) + 1;
    } else if (FExtension == "gif" && FBytes.size() >= 10) {
        FWidth = p[6] | (p[7] << 8);
        FHeight = p[8] | (p[9] << 8);
    } else if (FExtension == "ico" && FBytes.size() >= 8) {
        FWidth = p[6] ? p[6] : 256;
        FHeight = p[7] ? p[7] : 256;
    }
    Changed();
}

void TqlrKeptGraphic::SaveToStream(rtl::TStream& stream) const
{
    if (!FBytes.empty()) stream.WriteBuffer(FBytes.data(), static_cast<int64_t>(FBytes.size()));
}

void TqlrKeptGraphic::Draw(gui::TCanvas& canvas, const gui::TRect& r) const
{
    // No decoder for this format here: a framed placeholder with a cross.
    canvas.Pen()->SetColor(gui::clGray);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(gui::TPenStyle::psSolid);
    canvas.Brush()->SetStyle(gui::TBrushStyle::bsClear);
    canvas.Rectangle(r);
    canvas.MoveTo(r.Left, r.Top);
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.MoveTo(r.Right - 1, r.Top);
    canvas.LineTo(r.Left, r.Bottom - 1);
}

void TqlrKeptGraphic::Assign(const rtl::TPersistent* source)
{
    if (auto* s = dynamic_cast<const TqlrKeptGraphic*>(source)) {
        FExtension = s->FExtension;
        FBytes = s->FBytes;
        FWidth = s->FWidth;
        FHeight = s->FHeight;
        Changed();
        return;
    }
    gui::TGraphic::Assign(source);
}

// --- line ------------------------------------------------------------------------------------

TqlrCustomLineView::TqlrCustomLineView(rtl::TComponent* owner) : TqlrStretcheable(owner)
{
    FComponentStyle.Exclude(TqlrComponentStyleItem::csDefaultDiff);
    if (IsDesigning()) {
        Diagonal = FDesignFlags != 0;
        ArrowEnd = FDesignFlags == 2 || FDesignFlags == 4;
        ArrowStart = FDesignFlags == 3 || FDesignFlags == 4;
    }
}

std::string TqlrLineView::GetDescription() const
{
    return GetResources().Get("obLine");
}

void TqlrCustomLineView::DrawArrow(gui::TCanvas* canvas, gui::TPoint t, gui::TPoint s)
{
    const double L = ArrowLength * static_cast<double>(FScaleX);
    const double W = ArrowWidth * static_cast<double>(FScaleX);
    double bx, by;
    const double dx = s.X - t.X, dy = s.Y - t.Y;
    const bool steep = std::abs(s.X - t.X) <= 8;
    if (!steep) {
        double len = std::hypot(dx, dy);
        bx = t.X + L * dx / len;
        by = t.Y + L * dy / len;
    } else {
        bx = t.X;
        int lo = std::min(t.Y, s.Y), hi = std::max(t.Y, s.Y);
        by = (t.Y - L >= lo && t.Y - L <= hi) ? t.Y - L : t.Y + L;
    }
    double cx, cy;
    if (steep) {
        cx = W;
        cy = 0;
    } else {
        double theta = std::atan(dy / dx);
        cx = W * std::sin(theta);
        cy = -W * std::cos(theta);
    }
    gui::TPoint c1(static_cast<int>(std::lround(bx + cx)), static_cast<int>(std::lround(by + cy)));
    gui::TPoint c2(static_cast<int>(std::lround(bx - cx)), static_cast<int>(std::lround(by - cy)));
    if (ArrowSolid) {
        canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(Frame()->Color());
        canvas->Polygon({t, c1, c2});
    } else {
        canvas->Pen()->SetWidth(Round(Frame()->Width() * FScaleX));
        canvas->Polyline({c1, t, c2});
    }
}

void TqlrCustomLineView::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                              long double offsetY)
{
    if (!Diagonal) {
        if (Width() <= Height()) {
            SetWidth(0);
            Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft});
        } else {
            SetHeight(0);
            Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftTop});
        }
    }
    PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    if (!Diagonal) {
        PaintFrame();
    } else {
        if (Frame()->Color() == gui::clNone || Frame()->Width() == 0) return;
        canvas->Brush()->SetStyle(Color() == gui::clNone ? gui::TBrushStyle::bsClear : gui::TBrushStyle::bsSolid);
        if (Color() != gui::clNone) canvas->Brush()->SetColor(Color());
        canvas->Pen()->SetColor(Frame()->Color());
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetStyle(PenStyle(Frame()->Style()));
        WideLine(canvas, FX, FY, FX1, FY1, FFrameWidth);
    }
    canvas->Pen()->SetColor(Frame()->Color());
    canvas->Pen()->SetStyle(gui::TPenStyle::psSolid);
    if (ArrowStart) DrawArrow(canvas, gui::TPoint(FX, FY), gui::TPoint(FX1, FY1));
    if (ArrowEnd) DrawArrow(canvas, gui::TPoint(FX1, FY1), gui::TPoint(FX, FY));
}

// --- picture -----------------------------------------------------------------------------------

TqlrPictureView::TqlrPictureView(rtl::TComponent* owner)
    : TqlrView(owner), FPicture(std::make_unique<gui::TPicture>())
{
    FComponentStyle.Exclude(TqlrComponentStyleItem::csDefaultDiff);
    FPicture->OnChange = [this](rtl::TObject*) { PictureChangedHandler(); };
}

TqlrPictureView::~TqlrPictureView()
{
    FPicture->OnChange = nullptr;
}

std::string TqlrPictureView::GetDescription() const
{
    return GetResources().Get("obPicture");
}

void TqlrPictureView::PictureChangedHandler()
{
    SetAutoSize(FAutoSize);
    FPictureChanged = true;
}

void TqlrPictureView::SetAutoSize(bool v)
{
    FAutoSize = v;
    gui::TGraphic* g = FPicture->Graphic();
    if (v && g && !g->Empty()) {
        SetWidthDirect(g->Width());
        SetHeightDirect(g->Height());
    }
}

uint32_t TqlrPictureView::LoadPictureFromStream(rtl::TStream& stream, bool resetStreamPos)
{
    const int64_t p0 = resetStreamPos ? 0 : stream.Position();
    stream.SetPosition(p0);
    int64_t start = p0;
    const int64_t size = stream.Size();
    if (size - p0 >= 8) {
        uint8_t h[8];
        stream.ReadBuffer(h, 8);
        uint16_t count = h[0] | (h[1] << 8), type = h[2] | (h[3] << 8);
        if (count == 1 && type == 0x0100 && ReadU32(h + 4) == static_cast<uint32_t>(size - 8)) start = p0 + 8;
        stream.SetPosition(start);
    }
    const int64_t left = size - start;
    uint8_t head[100] = {};
    int64_t got = std::min<int64_t>(left, 100);
    if (got > 0) stream.ReadBuffer(head, got);
    stream.SetPosition(start);
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::unique_ptr<gui::TGraphic> g;
    if (left >= 14 && head[0] == 'B' && head[1] == 'M') g = std::make_unique<gui::TBitmap>();
    else if (left >= 2 && head[0] == 0xFF && head[1] == 0xD8) g = std::make_unique<gui::TJPEGImage>();
    else if (left >= 8 && std::memcmp(head, kPng, 8) == 0) g = std::make_unique<gui::TPngImage>();
    else if (left >= 22 && ReadU32(head) == 0x9AC6CDD7u) g = std::make_unique<TqlrKeptGraphic>("wmf");
    else if (left >= 100 && ReadU32(head + 40) == 0x464D4520u) g = std::make_unique<TqlrKeptGraphic>("emf");
    else if (left >= 6 && (head[2] | (head[3] << 8)) < 2)
        g = std::make_unique<gui::TIcon>();
    else if (left >= 6 && std::memcmp(head, "GIF8", 4) == 0) g = std::make_unique<gui::TGifImage>();
    if (!g) {
        FPicture->SetGraphic(nullptr);
        return 0x80070057u;
    }
    try {
        g->LoadFromStream(stream);
    } catch (const rtl::Exception&) {
        // Recognised by its first bytes but not readable: no picture.
        FPicture->SetGraphic(nullptr);
        return 0x80070057u;
    }
    FPicture->SetGraphic(g.get());
    return 0;
}

void TqlrPictureView::DefineProperties(rtl::TFiler& filer)
{
    TqlrView::DefineProperties(filer);
    gui::TGraphic* g = FPicture->Graphic();
    filer.DefineBinaryProperty(
        "PictureData",
        [this](rtl::TStream& s) {
            rtl::TMemoryStream ms;
            ms.CopyFrom(s, 0);
            ms.SetPosition(0);
            LoadPictureFromStream(ms, true);
        },
        [this](rtl::TStream& s) { FPicture->Graphic()->SaveToStream(s); },
        IsPictureStored && g && !g->Empty());
}

void TqlrPictureView::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                           long double offsetY)
{
    PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    PaintBackground();
    gui::TGraphic* g = FPicture->Graphic();
    if (g && !g->Empty() && g->Width() > 0 && g->Height() > 0) {
        gui::TRect r(FX, FY, FX1, FY1);
        if (FStretched) {
            if (FKeepAspectRatio) {
                long double kx = static_cast<long double>(FDX) / g->Width();
                long double ky = static_cast<long double>(FDY) / g->Height();
                if (ky > kx) r.Bottom = r.Top + Round(g->Height() * kx);
                else r.Right = r.Left + Round(g->Width() * ky);
                if (FCenter) {
                    int mx = (FDX - r.Width()) / 2, my = (FDY - r.Height()) / 2;
                    r = gui::TRect(r.Left + mx, r.Top + my, r.Right + mx, r.Bottom + my);
                }
            }
            DrawGraphic(*canvas, r, g, FTransparentColor, FTransparent, HightQuality, IsPrinting());
        } else {
            int saved = canvas->SaveDC();
            canvas->IntersectClipRect(r);
            int w = Round(scaleX * g->Width()), h = Round(scaleY * g->Height());
            if (FCenter) {
                r.Left += (FDX - w) / 2;
                r.Top += (FDY - h) / 2;
            }
            r.Right = r.Left + w;
            r.Bottom = r.Top + h;
            DrawGraphic(*canvas, r, g, FTransparentColor, FTransparent, HightQuality, IsPrinting());
            canvas->RestoreDC(saved);
        }
    }
    PaintFrame();
}

void TqlrPictureView::GetData()
{
    TqlrView::GetData();
    if (!FFileLink.empty()) {
        std::string file = FFileLink.find('[') != std::string::npos ? ExpandBrackets(FFileLink) : FFileLink;
        if (rtl::FileExists(file)) {
            rtl::TFileStream f(file, rtl::fmOpenRead);
            LoadPictureFromStream(f, true);
        } else {
            FPicture->SetGraphic(nullptr);
        }
    } else if (IsDataField() && DataSet()->IsBlobField(DataField())) {
        rtl::TMemoryStream ms;
        DataSet()->AssignBlobToStream(DataField(), ms);
        LoadPictureFromStream(ms, true);
    }
}

std::string TqlrPictureView::Diff(TqlrComponent* aComponent)
{
    if (FPictureChanged) {
        if (OnAddPicture) OnAddPicture(this);
        FPictureChanged = false;
    }
    std::string s = " " + TqlrView::Diff(aComponent) + " ImageIndex=\"" + std::to_string(FImageIndex) + "\"";
    if (FTransparent) s += " Transparent=\"1\"";
    if (FTransparentColor != gui::clWhite) s += " TransparentColor=\"" + std::to_string(FTransparentColor) + "\"";
    return s;
}

// --- shape --------------------------------------------------------------------------------------

TqlrShapeView::TqlrShapeView(rtl::TComponent* owner) : TqlrView(owner)
{
    FComponentStyle.Exclude(TqlrComponentStyleItem::csDefaultDiff);
    if (IsDesigning() && FDesignFlags >= 0 && FDesignFlags <= 6) FShape = static_cast<TqlrShapeKind>(FDesignFlags);
}

std::string TqlrShapeView::GetDescription() const
{
    return GetResources().Get("obShape");
}

std::string TqlrShapeView::Diff(TqlrComponent* aComponent)
{
    std::string s = TqlrView::Diff(aComponent);
    auto* o = dynamic_cast<TqlrShapeView*>(aComponent);
    if (o && o->FShape != FShape) s += " Shape=\"" + std::to_string(static_cast<int>(FShape)) + "\"";
    return s;
}

void TqlrShapeView::PaintShape(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                               long double offsetY)
{
    PrepareDeviceRect(canvas, scaleX, scaleY, offsetX, offsetY);
    TqlrFrame* f = Frame();
    gui::TPen* pen = canvas->Pen();
    pen->SetColor(f->Color() == gui::clNone ? gui::clBlack : f->Color());
    pen->SetWidth(std::max(1, FFrameWidth));
    pen->SetStyle(f->Color() == gui::clNone ? gui::TPenStyle::psClear : PenStyle(f->Style()));
    canvas->SetBkMode(gui::OPAQUE);
    auto outline = [&]() {
        switch (FShape) {
        case TqlrShapeKind::skRectangle: canvas->Rectangle(FX, FY, FX1 + 1, FY1 + 1); break;
        case TqlrShapeKind::skRoundRectangle: {
            int corner = FCurve ? Round(FCurve * scaleX * 10) : std::min(FDX, FDY) / 4;
            canvas->RoundRect(FX, FY, FX1 + 1, FY1 + 1, corner, corner);
            break;
        }
        case TqlrShapeKind::skEllipse: canvas->Ellipse(FX, FY, FX1 + 1, FY1 + 1); break;
        case TqlrShapeKind::skTriangle:
            canvas->Polygon({gui::TPoint(FX1, FY1), gui::TPoint(FX, FY1), gui::TPoint(FX + FDX / 2, FY)});
            break;
        case TqlrShapeKind::skDiamond:
            canvas->Polygon({gui::TPoint(FX + FDX / 2, FY), gui::TPoint(FX1, FY + FDY / 2),
                             gui::TPoint(FX + FDX / 2, FY1), gui::TPoint(FX, FY + FDY / 2)});
            break;
        case TqlrShapeKind::skDiagonal1: WideLine(canvas, FX, FY1, FX1, FY, FFrameWidth); break;
        case TqlrShapeKind::skDiagonal2: WideLine(canvas, FX, FY, FX1, FY1, FFrameWidth); break;
        }
    };
    const gui::TBrushStyle bs = BrushStyle();
    if (bs == gui::TBrushStyle::bsSolid || bs == gui::TBrushStyle::bsClear) {
        if (Color() == gui::clNone) canvas->Brush()->SetStyle(gui::TBrushStyle::bsClear);
        else {
            canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
            canvas->Brush()->SetColor(Color());
        }
        outline();
    } else {
        if (Color() != gui::clNone) {
            canvas->Brush()->SetStyle(gui::TBrushStyle::bsSolid);
            canvas->Brush()->SetColor(Color());
            outline();
        }
        canvas->Brush()->SetStyle(bs);
        canvas->Brush()->SetColor(f->Color());
        outline();
    }
}

void TqlrShapeView::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                         long double offsetY)
{
    TqlrFrame* f = Frame();
    if (f->Style() != TqlrFrameStyle::fsDouble) {
        PaintShape(canvas, scaleX, scaleY, offsetX, offsetY);
        return;
    }
    // Two solid outlines, the second inside the first.
    f->SetStyle(TqlrFrameStyle::fsSolid);
    PaintShape(canvas, scaleX, scaleY, offsetX, offsetY);
    const long double w = f->Width();
    const long double l = Left(), t = Top(), wd = Width(), h = Height();
    switch (FShape) {
    case TqlrShapeKind::skTriangle: SetBounds(l + 4 * w, t + 4 * w, wd - 8 * w, h - 6 * w); break;
    case TqlrShapeKind::skDiamond: SetBounds(l + 3 * w, t + 3 * w, wd - 6 * w, h - 6 * w); break;
    case TqlrShapeKind::skDiagonal1:
    case TqlrShapeKind::skDiagonal2: SetLeft(l + 2 * w); break;
    default: SetBounds(l + 2 * w, t + 2 * w, wd - 4 * w, h - 4 * w); break;
    }
    PaintShape(canvas, scaleX, scaleY, offsetX, offsetY);
    f->SetStyle(TqlrFrameStyle::fsDouble);
    SetBounds(l, t, wd, h);
}

// --- sub-report ----------------------------------------------------------------------------------

TqlrSubreport::TqlrSubreport(rtl::TComponent* owner) : TqlrView(owner)
{
    FComponentStyle.Exclude(TqlrComponentStyleItem::csPreviewVisible);
    Frame()->SetTyp(TqlrFrameTypes{TqlrFrameType::ftLeft, TqlrFrameType::ftRight, TqlrFrameType::ftTop,
                                   TqlrFrameType::ftBottom});
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetColor(gui::clSilver);
}

TqlrSubreport::~TqlrSubreport()
{
    if (FPage) {
        FPage->SetSubReport(nullptr);
        FPage->RemoveFreeNotification(this);
    }
}

std::string TqlrSubreport::GetDescription() const
{
    return GetResources().Get("obSubRep");
}

void TqlrSubreport::SetPage(TqlrReportPage* v)
{
    if (FPage) {
        FPage->SetSubReport(nullptr);
        FPage->RemoveFreeNotification(this);
    }
    FPage = v;
    if (FPage) {
        FPage->SetSubReport(this);
        FPage->FreeNotification(this);
    }
}

void TqlrSubreport::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    TqlrView::Notification(component, operation);
    if (operation == rtl::TOperation::opRemove && component == FPage) FPage = nullptr;
}

void TqlrSubreport::Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                         long double offsetY)
{
    TqlrView::Draw(canvas, scaleX, scaleY, offsetX, offsetY);
    canvas->Font()->Assign(Font());
    canvas->SetBkMode(gui::TRANSPARENT);
    canvas->TextOut(FX + 2, FY + 2, Name());
}

} // namespace qlr
