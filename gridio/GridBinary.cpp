// GridBinary: the binary cell stream on the component-stream encoding.
#include "gridio/GridBinary.h"

#include <algorithm>

#include "gridbase/ExObj.h"
#include "platform/gui/IconImage.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"

namespace gridio {

RTL_PUBLISHED(TGridPropIO)
{
    using P = TGridPropIO;
    c.Property("ColCount", [](P& p) { return p.ColCount; }, [](P& p, int32_t v) { p.ColCount = v; });
    c.Property("RowCount", [](P& p) { return p.RowCount; }, [](P& p, int32_t v) { p.RowCount = v; });
    c.Property("ColWidths", [](P& p) { return p.ColWidths; }, [](P& p, std::string v) { p.ColWidths = v; });
    c.Property("RowHeights", [](P& p) { return p.RowHeights; }, [](P& p, std::string v) { p.RowHeights = v; });
    c.Property("FullGrid", [](P& p) { return p.FullGrid; }, [](P& p, bool v) { p.FullGrid = v; });
    c.Property("ID", [](P& p) { return p.ID; }, [](P& p, int32_t v) { p.ID = v; });
}

RTL_PUBLISHED(TGridCellIO)
{
    using P = TGridCellIO;
    c.Property("Col", [](P& p) { return p.Col; }, [](P& p, uint16_t v) { p.Col = v; });
    c.Property("Row", [](P& p) { return p.Row; }, [](P& p, uint16_t v) { p.Row = v; });
    c.Property("Cell", [](P& p) { return p.Cell; }, [](P& p, std::string v) { p.Cell = v; });
    c.Property("HasProp", [](P& p) { return p.HasProp; }, [](P& p, bool v) { p.HasProp = v; });
}

RTL_PUBLISHED(TGridCellPropIO)
{
    using P = TGridCellPropIO;
    c.Property("CellProperties", &P::CellProperties, &P::SetCellProperties);
    c.Property("HasGraphic", [](P& p) { return p.HasGraphic; }, [](P& p, bool v) { p.HasGraphic = v; });
}

RTL_PUBLISHED(TGridGraphicIO)
{
    using P = TGridGraphicIO;
    c.Property("CellGraphic", &P::CellGraphic, &P::SetCellGraphic);
}

RTL_PUBLISHED(TStreamedBitmap) {}

void TStreamedBitmap::Assign(const rtl::TPersistent* source)
{
    if (const auto* s = dynamic_cast<const TStreamedBitmap*>(source)) FBitmap.Assign(&s->FBitmap);
}

void TStreamedBitmap::DefineProperties(rtl::TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data",
        [this](rtl::TStream& s) {
            int32_t size = 0;
            s.ReadBuffer(&size, 4);
            if (size < 0 || size > s.Size() - s.Position()) throw rtl::EReadError("Bitmap data out of bounds");
            rtl::TMemoryStream data;
            data.CopyFrom(s, size);
            data.SetPosition(0);
            FBitmap.LoadFromStream(data);
        },
        [this](rtl::TStream& s) {
            rtl::TMemoryStream data;
            FBitmap.SaveToStream(data);
            const int32_t size = static_cast<int32_t>(data.Size());
            s.WriteBuffer(&size, 4);
            data.SetPosition(0);
            s.CopyFrom(data, size);
        },
        FBitmap.Width() > 0 && FBitmap.Height() > 0);
}

namespace {

// The "Data" of an image: a 32-bit size, then that many bytes.
void ReadSizedData(rtl::TStream& s, rtl::TMemoryStream& data, const char* what)
{
    int32_t size = 0;
    s.ReadBuffer(&size, 4);
    if (size < 0 || size > s.Size() - s.Position()) throw rtl::EReadError(std::string(what) + " data out of bounds");
    data.CopyFrom(s, size);
    data.SetPosition(0);
}

void WriteSizedData(rtl::TStream& s, rtl::TMemoryStream& data)
{
    const int32_t size = static_cast<int32_t>(data.Size());
    s.WriteBuffer(&size, 4);
    data.SetPosition(0);
    if (size > 0) s.CopyFrom(data, size);
}

} // namespace

RTL_PUBLISHED(TStreamedIcon) {}

TStreamedIcon::TStreamedIcon() : FIcon(std::make_unique<gui::TIcon>()) {}
TStreamedIcon::~TStreamedIcon() = default;

void TStreamedIcon::Reset() { FIcon = std::make_unique<gui::TIcon>(); }

void TStreamedIcon::Assign(const rtl::TPersistent* source)
{
    if (const auto* s = dynamic_cast<const TStreamedIcon*>(source)) FIcon->Assign(s->FIcon.get());
}

void TStreamedIcon::DefineProperties(rtl::TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data",
        [this](rtl::TStream& s) {
            rtl::TMemoryStream data;
            ReadSizedData(s, data, "Icon");
            Reset();
            FIcon->LoadFromStream(data);
        },
        [this](rtl::TStream& s) {
            rtl::TMemoryStream data;
            FIcon->SaveToStream(data);
            WriteSizedData(s, data);
        },
        !FIcon->Empty());
}

RTL_PUBLISHED(TStreamedPicture) {}

void TStreamedPicture::Assign(const rtl::TPersistent* source)
{
    if (const auto* s = dynamic_cast<const TStreamedPicture*>(source)) FPicture.Assign(&s->FPicture);
}

void TStreamedPicture::DefineProperties(rtl::TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data",
        [this](rtl::TStream& s) {
            rtl::TMemoryStream data;
            ReadSizedData(s, data, "Picture");
            // The class name says what wrote the bytes; the bytes themselves
            // say what they are, so the picture is read by its content.
            uint8_t len = 0;
            if (data.Size() < 1) throw rtl::EReadError("Picture data out of bounds");
            data.ReadBuffer(&len, 1);
            if (len > data.Size() - data.Position()) throw rtl::EReadError("Picture data out of bounds");
            data.SetPosition(data.Position() + len);
            FPicture.SetGraphic(nullptr);
            rtl::TMemoryStream bytes;
            bytes.CopyFrom(data, data.Size() - data.Position());
            bytes.SetPosition(0);
            std::unique_ptr<gui::TGraphic> graphic = gui::LoadGraphicFromStream(bytes);
            if (!graphic) throw rtl::EReadError("Picture data of an unknown kind");
            FPicture.SetGraphic(graphic.get());
        },
        [this](rtl::TStream& s) {
            rtl::TMemoryStream data;
            const std::string name = FPicture.Graphic()->ClassName().substr(0, 255);
            const uint8_t len = static_cast<uint8_t>(name.size());
            data.WriteBuffer(&len, 1);
            data.WriteBuffer(name.data(), len);
            FPicture.Graphic()->SaveToStream(data);
            WriteSizedData(s, data);
        },
        FPicture.Graphic() && !FPicture.Graphic()->Empty());
}

RTL_PUBLISHED(TStreamedFilePicture)
{
    using P = TStreamedFilePicture;
    c.Property("Filename", [](P& p) { return p.Filename(); }, [](P& p, std::string v) { p.SetFilename(v); });
}

void TStreamedFilePicture::Assign(const rtl::TPersistent* source)
{
    if (const auto* s = dynamic_cast<const TStreamedFilePicture*>(source)) FFilename = s->FFilename;
}

RTL_PUBLISHED(TGridIconIO)
{
    using P = TGridIconIO;
    c.Property("Icon", &P::Icon, &P::SetIcon);
}

RTL_PUBLISHED(TGridPicIO)
{
    using P = TGridPicIO;
    c.Property("Picture", &P::Picture, &P::SetPicture);
}

RTL_PUBLISHED(TGridFilePicIO)
{
    using P = TGridFilePicIO;
    c.Property("Picture", &P::Picture, &P::SetPicture);
}

RTL_PUBLISHED(TGridBMPIO)
{
    using P = TGridBMPIO;
    c.Property("Bitmap", &P::Bitmap, &P::SetBitmap);
}

RTL_PUBLISHED(TGridSLIO)
{
    using P = TGridSLIO;
    c.Property("Strings", &P::Strings, &P::SetStrings);
}

namespace {

constexpr int kMaxCoord = 65535;

// Whether a cell's graphic is written: types whose payload the grid may not
// own follow CellCreated (a payload of another kind is not written).
bool SavesGraphic(const grid::TCellGraphic* g)
{
    if (!g) return false;
    switch (g->CellType()) {
    case grid::TCellType::ctEmpty: return false;
    case grid::TCellType::ctBitmap: case grid::TCellType::ctBitButton:
        return g->CellCreated() && dynamic_cast<gui::TBitmap*>(g->CellBitmap()) != nullptr;
    case grid::TCellType::ctRadio:
        return g->CellCreated() && dynamic_cast<rtl::TStringList*>(g->CellBitmap()) != nullptr;
    case grid::TCellType::ctImages:
        return g->CellCreated() && dynamic_cast<gridbase::TIntList*>(g->CellBitmap()) != nullptr;
    case grid::TCellType::ctIcon:
        return g->CellCreated() && dynamic_cast<gui::TIcon*>(g->CellIcon()) != nullptr;
    case grid::TCellType::ctPicture:
        return g->CellCreated() && dynamic_cast<gui::TPicture*>(g->CellBitmap()) != nullptr;
    case grid::TCellType::ctFilePicture:
        return g->CellCreated() && dynamic_cast<gridbase::TFilePicture*>(g->CellBitmap()) != nullptr;
    default: return true;
    }
}

void WriteRecord(rtl::TStream& stream, rtl::TComponent* record)
{
    rtl::TWriter w(stream);
    w.WriteRootComponent(record);
}

// Reads one record into record; another class's record raises the
// reader's error before anything of it is taken.
void ReadRecord(rtl::TStream& stream, rtl::TComponent* record)
{
    const int64_t start = stream.Position();
    char sig[4];
    stream.ReadBuffer(sig, 4);
    uint8_t len = 0;
    stream.ReadBuffer(&len, 1);
    std::string name(len, '\0');
    if (len) stream.ReadBuffer(name.data(), len);
    if (std::string_view(sig, 4) == "TPF0" && name != record->ClassName())
        throw rtl::EReadError("Invalid stream format: " + name + " where " + record->ClassName() + " belongs");
    stream.SetPosition(start);
    rtl::TReader r(stream);
    r.ReadRootComponent(record);
}

std::string JoinNumbers(const std::vector<int>& v)
{
    std::string s;
    for (size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + std::to_string(v[i]);
    return s;
}

std::vector<int> SplitNumbers(const std::string& s)
{
    std::vector<int> v;
    size_t start = 0;
    while (start <= s.size() && !s.empty()) {
        const size_t comma = s.find(',', start);
        v.push_back(rtl::StrToIntDef(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start), 0));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return v;
}

} // namespace

void SaveRectToBinStream(grid::TExStringGrid& g, const gui::TRect& rect, rtl::TStream& stream,
                         const TFileProgressEvent& onProgress)
{
    if (rect.Right > kMaxCoord || rect.Bottom > kMaxCoord || rect.Left < 0 || rect.Top < 0)
        throw grid::ZEziDoroZezuz("Cells beyond column or row " + std::to_string(kMaxCoord) +
                                  " cannot be saved in a cell stream");
    rtl::TComponent owner(nullptr);
    auto* head = new TGridPropIO(&owner);
    auto* cell = new TGridCellIO(&owner);
    auto* prop = new TGridCellPropIO(&owner, &g);
    auto* graphicIO = new TGridGraphicIO(&owner);
    auto* bmpIO = new TGridBMPIO(&owner);
    auto* slIO = new TGridSLIO(&owner);
    auto* iconIO = new TGridIconIO(&owner);
    auto* picIO = new TGridPicIO(&owner);
    auto* filePicIO = new TGridFilePicIO(&owner);
    head->ColCount = rect.Right - rect.Left + 1;
    head->RowCount = rect.Bottom - rect.Top + 1;
    std::vector<int> widths, heights;
    for (int c = rect.Left; c <= rect.Right; ++c) widths.push_back(g.ColWidths(c));
    for (int r = rect.Top; r <= rect.Bottom; ++r) heights.push_back(g.RowHeights(r));
    head->ColWidths = JoinNumbers(widths);
    head->RowHeights = JoinNumbers(heights);
    const bool fixed = g.SaveFixedCells();
    head->FullGrid = fixed ? head->RowCount == g.RowCount() && head->ColCount == g.ColCount()
                           : head->RowCount == g.RowCount() - g.FixedRows() &&
                                 head->ColCount == g.ColCount() - g.FixedCols();
    head->ID = static_cast<int32_t>(g.Handle());
    WriteRecord(stream, head);
    TProgressReporter progress(onProgress, &g);
    g.ExportNotification(grid::TGridExportState::esExportStart, -1);
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
        g.ExportNotification(grid::TGridExportState::esExportNewRow, r);
        for (int c = rect.Left; c <= rect.Right; ++c) {
            cell->Col = static_cast<uint16_t>(c);
            cell->Row = static_cast<uint16_t>(r);
            cell->Cell = g.GetCellText(c, r);
            const gridbase::TCellProperties* p = g.FindCellProperties(c, r);
            cell->HasProp = p != nullptr;
            WriteRecord(stream, cell);
            if (p) {
                prop->CellProperties()->Assign(p);
                grid::TCellGraphic* graphic = g.GetCellGraphic(c, r);
                prop->HasGraphic = SavesGraphic(graphic);
                WriteRecord(stream, prop);
                if (prop->HasGraphic) {
                    graphicIO->SetCellGraphic(graphic);
                    WriteRecord(stream, graphicIO);
                    if (auto* bmp = dynamic_cast<gui::TBitmap*>(graphic->CellBitmap());
                        bmp && (graphic->CellType() == grid::TCellType::ctBitmap ||
                                graphic->CellType() == grid::TCellType::ctBitButton)) {
                        bmpIO->Bitmap()->Bitmap().Assign(bmp);
                        WriteRecord(stream, bmpIO);
                    } else if (auto* captions = dynamic_cast<rtl::TStringList*>(graphic->CellBitmap());
                               captions && graphic->CellType() == grid::TCellType::ctRadio) {
                        slIO->Strings()->Assign(captions);
                        WriteRecord(stream, slIO);
                    } else if (auto* indexes = dynamic_cast<gridbase::TIntList*>(graphic->CellBitmap());
                               indexes && graphic->CellType() == grid::TCellType::ctImages) {
                        slIO->Strings()->Clear();
                        for (int i = 0; i < indexes->Count(); ++i) slIO->Strings()->Add(std::to_string(indexes->Items(i)));
                        WriteRecord(stream, slIO);
                    } else if (graphic->CellType() == grid::TCellType::ctIcon) {
                        iconIO->Icon()->Reset();
                        iconIO->Icon()->Icon().Assign(static_cast<gui::TIcon*>(graphic->CellIcon()));
                        WriteRecord(stream, iconIO);
                    } else if (graphic->CellType() == grid::TCellType::ctPicture) {
                        picIO->Picture()->Picture().Assign(static_cast<gui::TPicture*>(graphic->CellBitmap()));
                        WriteRecord(stream, picIO);
                    } else if (graphic->CellType() == grid::TCellType::ctFilePicture) {
                        filePicIO->Picture()->SetFilename(
                            static_cast<gridbase::TFilePicture*>(graphic->CellBitmap())->Filename());
                        WriteRecord(stream, filePicIO);
                    }
                }
            }
        }
        progress.Report(r, std::max(1, rect.Bottom - rect.Top));
    }
    g.ExportNotification(grid::TGridExportState::esExportDone, -1);
}

void SaveToBinStream(grid::TExStringGrid& g, rtl::TStream& stream)
{
    const bool fixed = g.SaveFixedCells();
    SaveRectToBinStream(g,
                        gui::TRect{fixed ? 0 : g.FixedCols(), fixed ? 0 : g.FixedRows(), g.ColCount() - 1,
                                   g.RowCount() - 1},
                        stream);
}

void SaveToBinFile(grid::TExStringGrid& g, const std::string& fileName)
{
    rtl::TMemoryStream mem;
    SaveToBinStream(g, mem);
    mem.SetPosition(0);
    rtl::TFileStream file(fileName, rtl::fmCreate);
    file.CopyFrom(mem, 0);
}

void LoadAtPointFromBinStream(grid::TExStringGrid& g, gui::TPoint point, rtl::TStream& stream)
{
    rtl::TComponent owner(nullptr);
    auto* head = new TGridPropIO(&owner);
    auto* cell = new TGridCellIO(&owner);
    auto* prop = new TGridCellPropIO(&owner, &g);
    auto* graphicIO = new TGridGraphicIO(&owner);
    auto* bmpIO = new TGridBMPIO(&owner);
    auto* slIO = new TGridSLIO(&owner);
    auto* iconIO = new TGridIconIO(&owner);
    auto* picIO = new TGridPicIO(&owner);
    auto* filePicIO = new TGridFilePicIO(&owner);
    const gui::TBitmap noBitmap;
    ReadRecord(stream, head);
    if (head->FullGrid) {
        // A saved grid ends at column and row kMaxCoord; larger sizes come
        // from a damaged header and would take the memory of billions of cells.
        if (head->ColCount > kMaxCoord + 1 || head->RowCount > kMaxCoord + 1)
            throw grid::ZEziDoroZezuz("Invalid cell stream: a grid of " + std::to_string(head->ColCount) + " x " +
                                      std::to_string(head->RowCount) + " cells");
        g.Clear();
        g.SetRowCount(std::max(1, head->RowCount));
        g.SetColCount(std::max(1, head->ColCount));
        const std::vector<int> w = SplitNumbers(head->ColWidths), h = SplitNumbers(head->RowHeights);
        for (int i = 0; i < g.ColCount() && i < static_cast<int>(w.size()); ++i) g.SetColWidths(i, w[i]);
        for (int i = 0; i < g.RowCount() && i < static_cast<int>(h.size()); ++i) g.SetRowHeights(i, h[i]);
    }
    bool first = true;
    int ox = 0, oy = 0;
    while (stream.Size() - stream.Position() > 1) {
        cell->Cell.clear();
        ReadRecord(stream, cell);
        if (first && !head->FullGrid) {
            ox = cell->Col;
            oy = cell->Row;
        }
        first = false;
        const int tc = point.X + cell->Col - ox, tr = point.Y + cell->Row - oy;
        // Cells that land outside the grid are skipped (their records are still read).
        const bool inside = tc >= 0 && tr >= 0 && tc < g.AllColCount() && tr < g.RowCount();
        if (inside) g.SetCellText(tc, tr, cell->Cell);
        if (cell->HasProp) {
            prop->HasGraphic = false;
            if (inside) prop->CellProperties()->Assign(g.GetCellProperties(tc, tr));
            ReadRecord(stream, prop);
            if (inside) {
                prop->CellProperties()->SetOwnerCol(tc);
                prop->CellProperties()->SetOwnerRow(tr);
                g.GetCellProperties(tc, tr)->Assign(prop->CellProperties());
            }
            if (prop->HasGraphic) {
                ReadRecord(stream, graphicIO);
                const grid::TCellType type = graphicIO->CellGraphic()->CellType();
                const bool bitmap = type == grid::TCellType::ctBitmap || type == grid::TCellType::ctBitButton;
                const bool list = type == grid::TCellType::ctRadio || type == grid::TCellType::ctImages;
                // The receivers are reused: an image the record leaves out
                // (an empty one) must not come from the cell before.
                if (bitmap) {
                    bmpIO->Bitmap()->Bitmap().Assign(&noBitmap);
                    ReadRecord(stream, bmpIO);
                }
                if (type == grid::TCellType::ctIcon) {
                    iconIO->Icon()->Reset();
                    ReadRecord(stream, iconIO);
                } else if (type == grid::TCellType::ctPicture) {
                    picIO->Picture()->Reset();
                    ReadRecord(stream, picIO);
                } else if (type == grid::TCellType::ctFilePicture) {
                    filePicIO->Picture()->SetFilename("");
                    ReadRecord(stream, filePicIO);
                }
                if (list) {
                    slIO->Strings()->Clear();
                    ReadRecord(stream, slIO);
                }
                if (inside) {
                    grid::TCellGraphic* target = g.CreateCellGraphic(tc, tr);
                    if (type == grid::TCellType::ctImages) {
                        target->SetMultiImage(tc, tr, 0, grid::TCellHAlign::haLeft, grid::TCellVAlign::vaTop, {});
                        auto* indexes = dynamic_cast<gridbase::TIntList*>(target->CellBitmap());
                        for (int i = 0; i < slIO->Strings()->Count(); ++i)
                            indexes->Add(rtl::StrToInt(slIO->Strings()->Strings(i)));
                    } else if (type == grid::TCellType::ctRadio) {
                        auto* captions = new rtl::TStringList;
                        captions->Assign(slIO->Strings());
                        target->SetCellBitmap(captions);
                        target->SetCellCreated(true);
                    }
                    target->Assign(graphicIO->CellGraphic());
                    if (bitmap) {
                        auto* b = new gui::TBitmap;
                        b->Assign(&bmpIO->Bitmap()->Bitmap());
                        target->SetCellBitmap(b);
                        target->SetCellCreated(true);
                    } else if (type == grid::TCellType::ctIcon) {
                        auto* icon = new gui::TIcon;
                        icon->Assign(&iconIO->Icon()->Icon());
                        target->SetCellIcon(icon);
                        target->SetCellCreated(true);
                    } else if (type == grid::TCellType::ctPicture) {
                        auto* picture = new gui::TPicture;
                        picture->Assign(&picIO->Picture()->Picture());
                        target->SetCellBitmap(picture);
                        target->SetCellCreated(true);
                    } else if (type == grid::TCellType::ctFilePicture) {
                        auto* picture = new gridbase::TFilePicture;
                        target->SetCellBitmap(picture);
                        target->SetCellCreated(true);
                        // A file that is gone keeps its name; the cell then
                        // draws nothing until the file is back.
                        try {
                            picture->SetFilename(filePicIO->Picture()->Filename());
                        } catch (const std::exception&) {
                        }
                    }
                }
            }
        }
    }
}

void ReadBinStreamHeader(rtl::TStream& stream, TGridPropIO* header) { ReadRecord(stream, header); }

void LoadFromBinStream(grid::TExStringGrid& g, rtl::TStream& stream)
{
    LoadAtPointFromBinStream(g, gui::TPoint{0, 0}, stream);
    // The node count follows the node cells the stream brought.
    int nodes = 0;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        if (g.GetCellType(0, r) == grid::TCellType::ctNode) ++nodes;
    g.SetNumNodes(nodes);
    if (nodes > 0) g.RepaintCol(0);
}

void LoadFromBinFile(grid::TExStringGrid& g, const std::string& fileName)
{
    rtl::TMemoryStream mem;
    {
        rtl::TFileStream file(fileName, rtl::fmOpenRead);
        mem.CopyFrom(file, 0);
    }
    mem.SetPosition(0);
    LoadFromBinStream(g, mem);
}

} // namespace gridio
