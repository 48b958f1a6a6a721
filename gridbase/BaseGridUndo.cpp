// BaseGrid: the undo/redo history of cell texts.
#include <algorithm>

#include "gridbase/BaseGrid.h"

namespace gridbase {

RTL_PUBLISHED(TUndoRedoItem)
{
    c.Property("Row", &TUndoRedoItem::Row, &TUndoRedoItem::SetRow);
    c.Property("Col", &TUndoRedoItem::Col, &TUndoRedoItem::SetCol);
    c.Property("Value", &TUndoRedoItem::Value, &TUndoRedoItem::SetValue);
    c.Property("OrigValue", &TUndoRedoItem::OrigValue, &TUndoRedoItem::SetOrigValue);
    c.Property("SequenceStart", &TUndoRedoItem::SequenceStart, &TUndoRedoItem::SetSequenceStart);
    c.Property("SequenceStop", &TUndoRedoItem::SequenceStop, &TUndoRedoItem::SetSequenceStop);
}

void TUndoRedoItem::Assign(const rtl::TPersistent* source)
{
    const auto* src = dynamic_cast<const TUndoRedoItem*>(source);
    if (!src) {
        rtl::TCollectionItem::Assign(source);
        return;
    }
    FRow = src->FRow;
    FCol = src->FCol;
    FValue = src->FValue;
    FOrigValue = src->FOrigValue;
    FSequenceStart = src->FSequenceStart;
    FSequenceStop = src->FSequenceStop;
}

RTL_PUBLISHED(TUndoRedoCollection) {}

RTL_PUBLISHED(ZAdiZaviDuraRavi)
{
    c.Property("MaxLevel", &ZAdiZaviDuraRavi::MaxLevel, &ZAdiZaviDuraRavi::SetMaxLevel);
    c.Event("OnUndo", &ZAdiZaviDuraRavi::OnUndo);
    c.Event("OnRedo", &ZAdiZaviDuraRavi::OnRedo);
}

ZAdiZaviDuraRavi::ZAdiZaviDuraRavi(rtl::TComponent* owner)
    : rtl::TComponent(owner), FItems(new TUndoRedoCollection())
{
}

ZAdiZaviDuraRavi::~ZAdiZaviDuraRavi()
{
    if (FGrid && FGrid->UndoRedo() == this) FGrid->SetUndoRedo(nullptr);
    delete FItems;
}

void ZAdiZaviDuraRavi::SetGrid(TBaseGrid* grid)
{
    if (FGrid == grid) return;
    if (FGrid) FGrid->RemoveFreeNotification(this);
    FGrid = grid;
    if (grid) grid->FreeNotification(this);
}

void ZAdiZaviDuraRavi::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    if (operation == rtl::TOperation::opRemove && component == FGrid) FGrid = nullptr;
    rtl::TComponent::Notification(component, operation);
}

void ZAdiZaviDuraRavi::Append(int aCol, int aRow, const std::string& oldValue, const std::string& newValue,
                              bool start, bool stop)
{
    TUndoRedoItem* item = FItems->Add();
    item->SetCol(aCol);
    item->SetRow(aRow);
    item->SetValue(newValue);
    item->SetOrigValue(oldValue);
    item->SetSequenceStart(start);
    item->SetSequenceStop(stop);
    FLevel = FItems->Count();
}

void ZAdiZaviDuraRavi::RegisterChange(int aCol, int aRow, const std::string& oldValue,
                                      const std::string& newValue)
{
    DropUndone();
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel) FItems->Delete(0);
    Append(aCol, aRow, oldValue, newValue, false, false);
}

void ZAdiZaviDuraRavi::StartSequence()
{
    DropUndone();
    Append(-1, -1, "", "", true, false);
}

void ZAdiZaviDuraRavi::StopSequence()
{
    DropUndone();
    Append(-1, -1, "", "", false, true);
}

void ZAdiZaviDuraRavi::DropUndone()
{
    // What was undone is replaced by the new registration: a later Redo must
    // not bring it back.
    while (FItems->Count() > std::max(FLevel, 0)) FItems->Delete(FItems->Count() - 1);
}

void ZAdiZaviDuraRavi::TakeBack(const TUndoRedoItem& item)
{
    if (item.IsMarker()) return;
    if (OnUndo) OnUndo(this, FGrid, item.Col(), item.Row(), FGrid->GetCellText(item.Col(), item.Row()), item.OrigValue());
    FGrid->SetCellText(item.Col(), item.Row(), item.OrigValue());
    const int col = FGrid->DisplColIndex(item.Col());
    if (col >= 0 && col < FGrid->ColCount()) FGrid->SetCol(col);
    if (item.Row() >= 0 && item.Row() < FGrid->RowCount()) FGrid->SetRow(item.Row());
}

void ZAdiZaviDuraRavi::Apply(const TUndoRedoItem& item)
{
    if (item.IsMarker()) return;
    if (OnRedo) OnRedo(this, FGrid, item.Col(), item.Row(), FGrid->GetCellText(item.Col(), item.Row()), item.Value());
    FGrid->SetCellText(item.Col(), item.Row(), item.Value());
    if (item.Col() >= 0 && item.Col() < FGrid->ColCount()) FGrid->SetCol(item.Col());
    if (item.Row() >= 0 && item.Row() < FGrid->RowCount()) FGrid->SetRow(item.Row());
}

void ZAdiZaviDuraRavi::Undo()
{
    if (!FGrid || FLevel <= 0 || FItems->Count() < FLevel) return;
    const TUndoRedoItem& top = *FItems->Items(FLevel - 1);
    if (top.SequenceStop()) {
        // Back to the start marker; a sequence whose start was trimmed away
        // ends at the oldest item.
        int i = FLevel - 2;
        for (; i >= 0 && !FItems->Items(i)->SequenceStart(); --i) TakeBack(*FItems->Items(i));
        FLevel = i >= 0 ? i : 0;
        FGrid->Invalidate();
    } else if (top.SequenceStart()) {
        --FLevel;  // an empty opening: nothing to take back
    } else {
        TakeBack(top);
        FGrid->RepaintCell(FGrid->Col(), top.Row());
        --FLevel;
    }
}

void ZAdiZaviDuraRavi::Redo()
{
    if (!FGrid || FItems->Count() <= FLevel || FLevel < 0) return;
    const TUndoRedoItem& next = *FItems->Items(FLevel);
    if (next.SequenceStart()) {
        int i = FLevel + 1;
        for (; i < FItems->Count() && !FItems->Items(i)->SequenceStop(); ++i) Apply(*FItems->Items(i));
        FLevel = i < FItems->Count() ? i + 1 : i;  // behind the stop marker
        FGrid->Invalidate();
    } else {
        Apply(next);  // a lone stop marker is stepped over
        ++FLevel;
    }
}

void ZAdiZaviDuraRavi::Reset()
{
    while (FItems->Count() > 0) FItems->Delete(0);
}

} // namespace gridbase
