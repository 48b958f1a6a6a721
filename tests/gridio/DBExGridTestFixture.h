// A data-aware grid on a form over a five-record memory data set, for the
// grid's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gridio/DBExGrid.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Streams.h"

namespace dbexgrid_test {

// Opens the grid's protected hooks to the tests.
class TTestDBGrid : public gridio::TDBExGrid {
public:
    using TDBExGrid::TDBExGrid;
    grid::TCellGraphic* CellGraphicAt(int c, int r) { return GetCellGraphic(c, r); }
    void Key(uint16_t key, gui::TShiftState shift = {}) { KeyDown(key, shift); }
    void WheelDown() { DoMouseWheelDown({}, {0, 0}); }
    void WheelUp() { DoMouseWheelUp({}, {0, 0}); }
    grid::TEditorType Resolve(int c, int r)
    {
        grid::TEditorType e = grid::TEditorType::edNormal;
        ResolveEditorType(c, r, e);
        return e;
    }
    bool CanEdit(int c, int r)
    {
        bool can = true;
        CanEditBaseCell(c, r, can);
        return can;
    }
    void FormattedText(int c, int r, std::string& t) { GetFormattedCellText(c, r, t); }
    bool ComboAt(int c, int r) { return HasCombo(c, r); }
    std::string MaskAt(int c, int r) { return GetEditMask(c, r); }
    void BorderAt(int c, int r, gui::TPen* pen, grid::TCellBorders& b) { GetCellBorder(c, r, pen, b); }
    void Wrap() { WrapToFirstRow(); }
    bool Toggle(int c, int r) { return ToggleCellCheck(c, r, false); }
    void Validate(int c, int r, std::string value)
    {
        bool valid = true;
        OnCellValidate(this, c, r, value, valid);
    }
    bool Select(int c, int r)
    {
        MoveColRow(c, r, true, true);
        return Row() == r && Col() == c;
    }
};

// A data set that reads forwards only.
class TOneWayData : public db::TMemDataSet {
public:
    using TMemDataSet::TMemDataSet;
    bool IsUniDirectional() const override { return true; }
};

// A data set without record numbers.
class TUnnumberedData : public db::TMemDataSet {
public:
    explicit TUnnumberedData(rtl::TComponent* owner) : TMemDataSet(owner) { SetSequenced(false); }
};

// The bytes of a small one-colour BMP file.
inline std::string SmallBitmapBytes(int w, int h, gui::TColor color)
{
    gui::TBitmap bmp;
    bmp.SetSize(w, h);
    bmp.Canvas()->Brush()->SetColor(color);
    bmp.Canvas()->FillRect(gui::TRect{0, 0, w, h});
    rtl::TMemoryStream ms;
    bmp.SaveToStream(ms);
    return std::string(ms.View());
}

struct DBExFixture : ::testing::Test {
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    db::TMemDataSet* Data = nullptr;
    db::TDataSource* Source = nullptr;
    TTestDBGrid* Grid = nullptr;

    virtual db::TMemDataSet* MakeData() { return new db::TMemDataSet(Form.get()); }

    void SetUp() override
    {
        Form->SetBounds(0, 0, 520, 360);
        Data = MakeData();
        Data->AddFieldDef("Id", db::TFieldType::ftInteger);
        Data->AddFieldDef("Name", db::TFieldType::ftString, 20);
        Data->AddFieldDef("Done", db::TFieldType::ftBoolean);
        Data->AddFieldDef("Flag", db::TFieldType::ftString, 1);
        const char* names[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
        for (int i = 0; i < 5; ++i)
            Data->AppendRecord({int64_t(i + 1), std::string(names[i]), int64_t(i % 2 == 0 ? 1 : 0),
                                std::string(i % 2 == 0 ? "Y" : "N")});
        Source = new db::TDataSource(Form.get());
        Source->SetDataSet(Data);
        Grid = new TTestDBGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 500, 340);
        Grid->Font()->SetName("Liberation Sans");
        Grid->Font()->SetSize(9);
        Grid->SetDataSource(Source);
        Data->Open();
    }
};

} // namespace dbexgrid_test
