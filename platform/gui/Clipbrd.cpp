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

} // namespace

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
    if (FOpenCount++ == 0) {
        EnsureQtApp();
        Pending() = std::make_unique<QMimeData>();
        FPending = false;
    }
}

void TClipboard::Close()
{
    if (FOpenCount == 0) return;
    if (--FOpenCount == 0 && FPending) {
        QApplication::clipboard()->setMimeData(Pending().release());
        FPending = false;
    }
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
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

std::vector<uint8_t> TClipboard::GetData(TClipboardFormat format) const
{
    EnsureQtApp();
    const QMimeData* d = QApplication::clipboard()->mimeData();
    if (!d) return {};
    const QByteArray b = d->data(MimeOf(format));
    return std::vector<uint8_t>(b.begin(), b.end());
}

void TClipboard::SetData(TClipboardFormat format, const std::vector<uint8_t>& data)
{
    EnsureQtApp();
    const QByteArray b(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    if (FOpenCount > 0) {
        Pending()->setData(MimeOf(format), b);
        FPending = true;
        return;
    }
    auto* m = new QMimeData();
    m->setData(MimeOf(format), b);
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
    QApplication::clipboard()->setImage(qt::Image(bitmap));
}

} // namespace gui
