// The clipboard on QClipboard; named formats travel as MIME types of their own.
#include "platform/gui/Clipbrd.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>

#include <map>
#include <memory>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/QtBridge.h"

namespace gui {

namespace {

std::map<std::string, TClipboardFormat>& Names()
{
    static std::map<std::string, TClipboardFormat> names;
    return names;
}

QString MimeOf(TClipboardFormat f)
{
    switch (f) {
    case CF_TEXT: case CF_UNICODETEXT: return "text/plain";
    case CF_BITMAP: return "application/x-qt-image";
    case CF_HDROP: return "text/uri-list";
    case CF_ENHMETAFILE: return "image/emf";
    default: break;
    }
    const std::string name = ClipboardFormatName(f);
    if (name == "Rich Text Format") return "text/rtf";
    if (name == "HTML Format") return "text/html";
    QString s = QString::fromStdString(name);
    s.replace(QRegularExpression("[^A-Za-z0-9.+-]"), "-");
    return "application/x-tolmira-" + s;
}

// The content being built between Open and Close.
std::unique_ptr<QMimeData>& Pending()
{
    static std::unique_ptr<QMimeData> pending;
    return pending;
}

bool& HeldByOther()
{
    static bool held = false;
    return held;
}

void CheckFree()
{
    if (HeldByOther()) throw EClipboardException("Cannot open clipboard: held by another program");
}

bool IsHtmlFormat(TClipboardFormat f) { return f >= 0xC000 && ClipboardFormatName(f) == "HTML Format"; }
const QString HtmlDescriptionMime = "application/x-tolmira-HTML-Format";

// The description's document part, which other programs read as text/html.
QByteArray HtmlDocumentPart(const QByteArray& description)
{
    const qsizetype at = description.indexOf("<!DOCTYPE");
    return at < 0 ? description : description.mid(at);
}

} // namespace

void SetClipboardHeldByOtherProgram(bool held) { HeldByOther() = held; }

TClipboardFormat RegisterClipboardFormat(const std::string& name)
{
    auto& n = Names();
    auto it = n.find(name);
    if (it != n.end()) return it->second;
    const TClipboardFormat f = 0xC000 + static_cast<TClipboardFormat>(n.size());
    n[name] = f;
    return f;
}

std::string ClipboardFormatName(TClipboardFormat format)
{
    for (auto& [k, v] : Names())
        if (v == format) return k;
    return {};
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

void TClipboard::Open()
{
    if (FOpenCount == 0) CheckFree();
    if (FOpenCount++ == 0) {
        EnsureQtApp();
        Pending() = std::make_unique<QMimeData>();
        FPending = false;
    }
}

void TClipboard::Close()
{
    if (FOpenCount == 0) return;
    if (--FOpenCount > 0) return;  // an inner bracket keeps the content being built
    if (FPending) {
        QApplication::clipboard()->setMimeData(Pending().release());
        FPending = false;
    }
    Pending().reset();
}

void TClipboard::Abandon()
{
    FOpenCount = 0;
    FPending = false;
    Pending().reset();
}

void TClipboard::Commit()
{
    if (FOpenCount > 0) {
        FPending = true;
        return;
    }
}

void TClipboard::Clear()
{
    EnsureQtApp();
    if (FOpenCount > 0) {
        Pending() = std::make_unique<QMimeData>();
        FPending = true;
        return;
    }
    QApplication::clipboard()->clear();
}

bool TClipboard::HasFormat(TClipboardFormat format) const
{
    EnsureQtApp();
    const QMimeData* d = QApplication::clipboard()->mimeData();
    if (!d) return false;
    if (format == CF_TEXT || format == CF_UNICODETEXT) return d->hasText();
    if (format == CF_BITMAP) return d->hasImage();
    if (format == CF_HDROP) return d->hasUrls();
    if (IsHtmlFormat(format) && d->hasFormat(HtmlDescriptionMime)) return true;
    return d->hasFormat(MimeOf(format));
}

std::string TClipboard::AsText() const
{
    EnsureQtApp();
    return QApplication::clipboard()->text().toStdString();
}

void TClipboard::SetAsText(const std::string& text)
{
    EnsureQtApp();
    if (FOpenCount > 0) {
        Pending()->setText(QString::fromStdString(text));
        FPending = true;
        return;
    }
    CheckFree();
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

std::vector<uint8_t> TClipboard::GetData(TClipboardFormat format) const
{
    EnsureQtApp();
    const QMimeData* d = QApplication::clipboard()->mimeData();
    if (!d) return {};
    const QByteArray b =
        IsHtmlFormat(format) && d->hasFormat(HtmlDescriptionMime) ? d->data(HtmlDescriptionMime) : d->data(MimeOf(format));
    return std::vector<uint8_t>(b.begin(), b.end());
}

void TClipboard::SetData(TClipboardFormat format, const std::vector<uint8_t>& data)
{
    EnsureQtApp();
    const QByteArray b(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    const bool html = IsHtmlFormat(format);
    if (FOpenCount > 0) {
        if (html) Pending()->setData(HtmlDescriptionMime, b);
        Pending()->setData(MimeOf(format), html ? HtmlDocumentPart(b) : b);
        FPending = true;
        return;
    }
    CheckFree();
    auto* m = new QMimeData();
    if (html) m->setData(HtmlDescriptionMime, b);
    m->setData(MimeOf(format), html ? HtmlDocumentPart(b) : b);
    QApplication::clipboard()->setMimeData(m);
}

bool TClipboard::GetBitmap(TBitmap& bitmap) const
{
    EnsureQtApp();
    const QImage img = QApplication::clipboard()->image();
    if (img.isNull()) return false;
    bitmap.SetSize(img.width(), img.height());
    qt::Image(bitmap) = img.convertToFormat(qt::Image(bitmap).format());
    return true;
}

void TClipboard::SetBitmap(const TBitmap& bitmap)
{
    EnsureQtApp();
    if (FOpenCount > 0) {
        Pending()->setImageData(qt::Image(bitmap));
        FPending = true;
        return;
    }
    CheckFree();
    QApplication::clipboard()->setImage(qt::Image(bitmap));
}

} // namespace gui
