// TExRichEdit and the grid's moves of rich text between cells and editors.
#include "grid/ExRichEdit.h"

#include "grid/ExGrid.h"
#include "platform/rtl/Streams.h"

namespace grid {

TExRichEdit::TExRichEdit(TExStringGrid* grid) : gui::TRichEdit(grid), FGrid(grid)
{
    OnRequestResize = [this](rtl::TObject*, const gui::TRect& r) { RequestResize(r); };
}

void TExRichEdit::SelOffset(int twips)
{
    gui::TRichCharFormat f;
    f.Offset = twips;
    SetSelFormat(f, {gui::TRichFormatPart::rfOffset});
}

void TExRichEdit::KeyDown(uint16_t& key, gui::TShiftState shift)
{
    const uint16_t k = key;
    gui::TRichEdit::KeyDown(key, shift);
    if (k != gui::VK_UP && k != gui::VK_DOWN) return;
    if (!FGrid || FGrid->InplaceRichEditIfAny() != this || !Visible()) return;
    if (FGrid->WordWrap() || FGrid->Multilinecells()) return;
    key = 0;
    if (FGrid->CanFocus()) FGrid->SetFocus();
    uint16_t gridKey = k;
    FGrid->KeyDown(gridKey, shift);
}

void TExRichEdit::Dispatch(gui::TMessage& message)
{
    if (message.Msg == gui::WM_KILLFOCUS && FGrid && FGrid->InplaceRichEditIfAny() == this) {
        // The grid moving the focus itself decides alone.
        if (FGrid->BlockKill()) return;
        if (FGrid->HandleAllocated() && message.WParam == static_cast<gui::WPARAM>(FGrid->Handle()))
            FGrid->HideInplaceEdit();
    }
    gui::TRichEdit::Dispatch(message);
}

void TExRichEdit::RequestResize(const gui::TRect& r)
{
    FReqWidth = r.Right - r.Left;
    FReqHeight = r.Bottom - r.Top;
    if (!FGrid || FLocked || FGrid->InplaceRichEditIfAny() != this || !FGrid->SizeWhileTyping()->Height()) return;
    // The inplace editor grows the current row while the text grows.
    const int row = FGrid->Row();
    if (row < 0 || row >= FGrid->RowCount() || FGrid->RowHeights(row) >= FReqHeight) return;
    const gui::TRect cell = FGrid->CellRect(FGrid->Col(), row);
    if (FReqHeight + cell.Top >= FGrid->Height()) return;
    SetHeight(FReqHeight + 4);
    FGrid->SetRowHeights(row, FReqHeight + 5);
    if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
}

// --- the grid's side ---------------------------------------------------------------

TExRichEdit* TExStringGrid::RichEdit()
{
    if (!FRichEdit) {
        FRichEdit = new TExRichEdit(this);
        FRichEdit->SetVisible(false);
    }
    return FRichEdit;
}

TExRichEdit* TExStringGrid::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new TExRichEdit(this);
        FInplaceRichEdit->SetVisible(false);
        FInplaceRichEdit->OnSelectionChange = [this](rtl::TObject* sender) { RichEditSelectionChange(sender); };
    }
    return FInplaceRichEdit;
}

void TExStringGrid::CellToRich(int aCol, int aRow, gui::TRichEdit* richEditor)
{
    if (!richEditor) return;
    const std::string text = GetCellText(aCol, aRow);
    if (text.empty()) {
        richEditor->Clear();
        return;
    }
    rtl::TMemoryStream ms;
    ms.Write(text.data(), static_cast<int64_t>(text.size()));
    ms.SetPosition(0);
    richEditor->LoadFromStream(ms);
}

void TExStringGrid::RichToCell(int aCol, int aRow, gui::TRichEdit* richEditor)
{
    SetCellText(aCol, aRow, RichToString(richEditor));
}

std::string TExStringGrid::RichToString(gui::TRichEdit* richEditor)
{
    if (!richEditor) return std::string();
    rtl::TMemoryStream ms;
    richEditor->SaveToStream(ms);
    std::string text(static_cast<std::size_t>(ms.Size()), '\0');
    ms.SetPosition(0);
    if (!text.empty()) ms.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    return text;
}

void TExStringGrid::RichEditSelectionChange(rtl::TObject*)
{
    if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
}

} // namespace grid
