// Private to the standard controls' sources of platform/gui: small helpers
// shared by their files (text in and out of messages, the native widget,
// owner-drawn items).
#pragma once

#include <QString>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/StdCtrls.h"

namespace gui::stdctrls {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

template <class W>
W* NativeOf(const TWinControl* c)
{
    return static_cast<W*>(ControlAccess::Widget(c));
}

// Copies UTF-8 text with its terminating zero into a caller's buffer.
inline LRESULT CopyOut(const std::string& s, LPARAM buffer, std::size_t size)
{
    if (!buffer) return static_cast<LRESULT>(s.size());
    auto* out = reinterpret_cast<char*>(buffer);
    const std::size_t n = size ? std::min(s.size(), size - 1) : s.size();
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

inline std::string TextArg(LPARAM l) { return l ? std::string(reinterpret_cast<const char*>(l)) : std::string(); }

// Paints one owner-drawn item through the control's draw-item call: the
// control's canvas, with the control's font, is attached to the painter
// (whose device is width x height) and clipped to the item's rectangle qr,
// which the call gets in the painter's coordinates.
void DrawOwnerItem(TWinControl* control, const TDrawItemEvent& draw, QPainter* painter, int index, const QRect& qr,
                   TOwnerDrawState state, int width, int height);

// The item delegate of a list whose control may draw the items itself (the
// list box, the combo box's drop-down list). While ownerDrawn answers true,
// each item is painted by draw, the control's OnDrawItem, and is itemHeight
// high (0: the style's height); otherwise the style paints it.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(TWinControl* control, const TDrawItemEvent& draw, std::function<bool()> ownerDrawn,
                      std::function<int()> itemHeight, QObject* parent)
        : QStyledItemDelegate(parent), FControl(control), FDraw(draw), FOwnerDrawn(std::move(ownerDrawn)),
          FItemHeight(std::move(itemHeight))
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TWinControl* FControl;
    const TDrawItemEvent& FDraw;
    std::function<bool()> FOwnerDrawn;
    std::function<int()> FItemHeight;
};

} // namespace gui::stdctrls
