// The list box on its native widget: items, selection, owner drawing.
#include "platform/gui/StdCtrls.h"

#include <QListWidget>

#include <algorithm>

#include "platform/gui/ControlsQt.h"
#include "platform/gui/QtBridge.h"
#include "platform/gui/StdCtrlsQt.h"

namespace gui {

using namespace stdctrls;

// --------------------------------------------------------------- list box

TCustomListBox::TCustomListBox(rtl::TComponent* owner)
    : TWinControl(owner, TWindowKind::wkListBox), FItems(std::make_unique<rtl::TStringList>())
{
    FControlStyle = {TControlStyleItem::csSetCaption, TControlStyleItem::csDoubleClicks};
    FTabStop = true;
    FColor = clWindow;
    auto* w = NativeOf<QListWidget>(this);
    w->setFocusPolicy(Qt::StrongFocus);
    w->setItemDelegate(new OwnerDrawDelegate(
        this, OnDrawItem, [this] { return OwnerDraws(); }, [this] { return OwnerItemHeight(); }, w));
    const HWND h = Handle();
    QObject::connect(w, &QListWidget::itemSelectionChanged, w, qtw::Guarded([h] {
        SendMessage(h, CN_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), 0);
    }));
    QObject::connect(w, &QListWidget::itemDoubleClicked, w, qtw::Guarded([h] {
        SendMessage(h, CN_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), 0);
    }));
    FItems->OnChange = [this](rtl::TObject*) { ItemsChanged(); };
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() { FItems->OnChange = nullptr; }

void TCustomListBox::ItemsChanged()
{
    auto* w = NativeOf<QListWidget>(this);
    const int index = w->currentRow();
    FSyncing = true;
    w->clear();
    for (int i = 0; i < FItems->Count(); ++i) w->addItem(Q(FItems->Strings(i)));
    if (index >= 0 && index < FItems->Count() && !FMultiSelect) w->setCurrentRow(index);
    FSyncing = false;
}

int TCustomListBox::ItemIndex() const { return NativeOf<QListWidget>(this)->currentRow(); }

void TCustomListBox::SetItemIndex(int i)
{
    auto* w = NativeOf<QListWidget>(this);
    FSyncing = true;
    if (i < 0 || i >= FItems->Count()) {
        w->setCurrentRow(-1);
        w->clearSelection();
    } else {
        w->setCurrentRow(i);
    }
    FSyncing = false;
}

void TCustomListBox::SetMultiSelect(bool v)
{
    FMultiSelect = v;
    NativeOf<QListWidget>(this)->setSelectionMode(v ? QAbstractItemView::ExtendedSelection
                                                    : QAbstractItemView::SingleSelection);
}

bool TCustomListBox::Selected(int index) const
{
    QListWidgetItem* it = NativeOf<QListWidget>(this)->item(index);
    if (!it) throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return it->isSelected();
}

void TCustomListBox::SetSelected(int index, bool v)
{
    QListWidgetItem* it = NativeOf<QListWidget>(this)->item(index);
    if (!it) throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    FSyncing = true;
    it->setSelected(v);
    FSyncing = false;
}

int TCustomListBox::SelCount() const
{
    return FMultiSelect ? static_cast<int>(NativeOf<QListWidget>(this)->selectedItems().size()) : -1;
}

int TCustomListBox::TopIndex() const
{
    auto* w = NativeOf<QListWidget>(this);
    QListWidgetItem* it = w->itemAt(2, 2);
    return it ? w->row(it) : 0;
}

void TCustomListBox::SetTopIndex(int i)
{
    auto* w = NativeOf<QListWidget>(this);
    if (QListWidgetItem* it = w->item(i)) w->scrollToItem(it, QAbstractItemView::PositionAtTop);
}

int TCustomListBox::ItemHeight() const
{
    auto* w = NativeOf<QListWidget>(this);
    const int h = w->sizeHintForRow(0);
    return h > 0 ? h : w->fontMetrics().height();
}

void TCustomListBox::SetItemHeight(int h)
{
    FOwnerItemHeight = std::max(h, 0);
    NativeOf<QListWidget>(this)->setUniformItemSizes(h > 0);
}

bool TCustomListBox::OwnerDraws() const
{
    return OnDrawItem && (FStyle == TListBoxStyle::lbOwnerDrawFixed || FStyle == TListBoxStyle::lbOwnerDrawVariable ||
                          FStyle == TListBoxStyle::lbVirtualOwnerDraw);
}

TCanvas* TCustomListBox::GetCanvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    return FCanvas.get();
}

int TCustomListBox::ItemAtPos(TPoint p, bool existing) const
{
    auto* w = NativeOf<QListWidget>(this);
    const QPoint vp = w->viewport()->mapFrom(w, QPoint(p.X, p.Y));
    if (QListWidgetItem* it = w->itemAt(vp)) return w->row(it);
    return existing ? -1 : FItems->Count();
}

TRect TCustomListBox::ItemRect(int index) const
{
    auto* w = NativeOf<QListWidget>(this);
    QListWidgetItem* it = w->item(index);
    if (!it) return {};
    QRect r = w->visualItemRect(it);
    r.moveTopLeft(w->viewport()->mapTo(w, r.topLeft()));
    return Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void TCustomListBox::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (FSyncing) return;
        if (HIWORD(m.WParam) == LBN_SELCHANGE) Click();
        else if (HIWORD(m.WParam) == LBN_DBLCLK) DblClick();
        return;
    }
    TWinControl::Dispatch(m);
}

bool TCustomListBox::NativeMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    case LB_GETCOUNT: m.Result = FItems->Count(); return true;
    case LB_GETCURSEL: m.Result = ItemIndex(); return true;
    case LB_SETCURSEL: SetItemIndex(static_cast<int>(static_cast<intptr_t>(m.WParam))); m.Result = ItemIndex(); return true;
    case LB_GETTOPINDEX: m.Result = TopIndex(); return true;
    case LB_SETTOPINDEX: SetTopIndex(static_cast<int>(m.WParam)); return true;
    case LB_GETITEMHEIGHT: m.Result = ItemHeight(); return true;
    case LB_GETSEL: {
        const int i = static_cast<int>(m.WParam);
        m.Result = i >= 0 && i < FItems->Count() ? (Selected(i) ? 1 : 0) : LB_ERR;
        return true;
    }
    case LB_SETSEL: {
        const int i = static_cast<int>(static_cast<intptr_t>(m.LParam));
        if (i < 0) { for (int k = 0; k < FItems->Count(); ++k) SetSelected(k, m.WParam != 0); }
        else if (i < FItems->Count()) SetSelected(i, m.WParam != 0);
        return true;
    }
    case LB_GETSELCOUNT: m.Result = SelCount(); return true;
    case LB_GETTEXTLEN: {
        const int i = static_cast<int>(m.WParam);
        m.Result = i >= 0 && i < FItems->Count() ? static_cast<LRESULT>(FItems->Strings(i).size()) : LB_ERR;
        return true;
    }
    case LB_GETTEXT: {
        const int i = static_cast<int>(m.WParam);
        m.Result = i >= 0 && i < FItems->Count() ? CopyOut(FItems->Strings(i), m.LParam, 0) : LB_ERR;
        return true;
    }
    case LB_ADDSTRING: m.Result = FItems->Add(TextArg(m.LParam)); return true;
    case LB_DELETESTRING: FItems->Delete(static_cast<int>(m.WParam)); m.Result = FItems->Count(); return true;
    case LB_RESETCONTENT: FItems->Clear(); return true;
    case LB_GETITEMRECT:
        if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = ItemRect(static_cast<int>(m.WParam));
        m.Result = 1;
        return true;
    case LB_ITEMFROMPOINT: {
        const int i = ItemAtPos({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, true);
        m.Result = i < 0 ? MAKELPARAM(0, 1) : MAKELPARAM(i, 0);
        return true;
    }
    case LB_GETITEMDATA: return (m.Result = reinterpret_cast<LRESULT>(FItems->Objects(static_cast<int>(m.WParam)))), true;
    case LB_SETITEMDATA: FItems->SetObjects(static_cast<int>(m.WParam), reinterpret_cast<rtl::TObject*>(m.LParam)); return true;
    default: return false;
    }
}

} // namespace gui
