// TUxDBGrid: glyphs that replace the text of Boolean-like fields, and the
// sort markers of title buttons.
#include "dbgrids/UxDBGrid.h"

#include <memory>

#include "dbgrids/UxGraphics.h"
#include "platform/rtl/Strings.h"

namespace dbgrids {

using namespace gui;

namespace {

const char* const kBitmapNames[12] = {"UxDBGridBLOB",   "UxDBGridMEMO",     "UxDBGridPICT",    "UxDBGridOLE",
                                      "UxDBGridOBJECT", "UxDBGridDATA",     "UxDBGridNOTEMPTY", "UxDBGridSMDOWN",
                                      "UxDBGridSMUP",   "UxDBGridCHECKED", "UxDBGridUNCHECKED", "UxDBGridPOPUP"};
std::unique_ptr<TBitmap> gBitmaps[12];
std::unique_ptr<TBitmap> gMarks[2];

} // namespace

TBitmap* GetDBGridBitmap(TUxDBGridBitmap index)
{
    int i = static_cast<int>(index);
    if (i < 0 || i >= 12) return nullptr;
    if (!gBitmaps[i]) {
        auto b = std::make_unique<TBitmap>(1, 1);
        b->LoadFromResourceName(kBitmapNames[i]);
        gBitmaps[i] = std::move(b);
    }
    return gBitmaps[i].get();
}

TBitmap* GetDBGridIndicatorBitmap(int index)
{
    if (index < 0 || index > 1) return nullptr;
    if (!gMarks[index]) {
        auto b = std::make_unique<TBitmap>(1, 1);
        b->LoadFromResourceName(index == 0 ? "UxDBGridMSDOT" : "UxDBGridMSARROW");
        gMarks[index] = std::move(b);
    }
    return gMarks[index].get();
}

void FreeDBGridBitmaps()
{
    for (auto& b : gMarks) b.reset();
    for (auto& b : gBitmaps) b.reset();
}

bool TUxDBGrid::IsBooleanField(db::TField* field)
{
    if (!FBooleanEditor || !field) return false;
    switch (field->DataType()) {
    case db::TFieldType::ftBoolean: return true;
    case db::TFieldType::ftString:
    case db::TFieldType::ftSmallint:
    case db::TFieldType::ftInteger:
    case db::TFieldType::ftWord:
    case db::TFieldType::ftLargeint:
        if (!OnCheckIfBooleanField) return false;
        FStringForTrue = "1";
        FStringForFalse = "0";
        return OnCheckIfBooleanField(this, field, FStringForTrue, FStringForFalse);
    default: return false;
    }
}

TUxDBGridBitmap TUxDBGrid::GetGlyphIndex(db::TField* field)
{
    using B = TUxDBGridBitmap;
    if (!FShowGlyphs || !field) return B::gpNone;
    switch (field->DataType()) {
    case db::TFieldType::ftString:
        if (IsBooleanField(field) && !field->IsNull())
            return rtl::AnsiSameText(field->AsString(), FStringForFalse) ? B::gpUnChecked : B::gpChecked;
        return B::gpNone;
    case db::TFieldType::ftSmallint:
    case db::TFieldType::ftInteger:
    case db::TFieldType::ftWord:
    case db::TFieldType::ftLargeint:
        if (IsBooleanField(field) && !field->IsNull()) return field->AsLargeInt() != 0 ? B::gpChecked : B::gpUnChecked;
        return B::gpNone;
    case db::TFieldType::ftBoolean:
        if (FBooleanEditor && !field->IsNull()) return field->AsBoolean() ? B::gpChecked : B::gpUnChecked;
        return B::gpNone;
    default: return B::gpNone;
    }
}

} // namespace dbgrids
