// Damaged grid files: the binary cell stream, the native text stream, CSV,
// fixed-width and XML files, zip containers and workbooks are read or refused
// with rtl::Exception; none crashes, hangs or asks for absurd memory.
#include <gtest/gtest.h>

#include <fstream>

#include "MalformedInputs.h"
#include "TestPaths.h"
#include "gridio/GridBinary.h"
#include "gridio/GridFiles.h"
#include "gridio/GridIOHooks.h"
#include "gridio/GridOffice.h"
#include "gridio/ZipArchive.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/ComponentStream.h"

TEC_LIMIT_ALLOCATIONS()

using namespace grid;

namespace {

struct RobustFixture : testing::Test {
    gui::TForm Form{nullptr};
    TExStringGrid* G = new TExStringGrid(&Form);
    std::filesystem::path Dir = tectest::ScratchDir("robust");
    RobustFixture()
    {
        gridio::InstallGridIOHooks();
        Form.SetBounds(0, 0, 400, 300);
        G->SetParent(&Form);
        Fill();
    }
    void Fill()
    {
        G->SetColCount(4);
        G->SetRowCount(5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c) G->SetCells(c, r, r == 0 ? "head" + std::to_string(c) : std::to_string(r * 10 + c));
        G->SetCells(2, 3, "a \"quoted\", text");
    }
    std::string File(const std::string& name) { return (Dir / name).string(); }
    static std::string Read(const std::string& f) { return gridio::ReadWholeFile(f); }
    // Writes the bytes to the file and runs load on it, with a fresh grid.
    void Check(const std::string& valid, const std::vector<std::size_t>& offsets, const std::string& name,
               const std::function<void(const std::string& file)>& load)
    {
        for (const auto& c : MalformedVariants(valid, offsets))
            ExpectReadsOrRaises(c, [&](const std::string& bytes) {
                Fill();
                const std::string f = File(name);
                gridio::WriteWholeFile(f, bytes);
                load(f);
                // What was read can be shown.
                G->Repaint();
            });
    }
};

} // namespace

TEST_F(RobustFixture, BinaryCellStream)
{
    G->GetCellProperties(1, 1)->SetBrushColor(0x00112233);
    G->SetColWidths(1, 80);
    const std::string f = File("cells.bin");
    gridio::SaveToBinFile(*G, f);
    const std::string valid = Read(f);
    std::vector<std::size_t> at;
    for (std::size_t k = 4; k + 4 < valid.size() && k < 400; k += 5) at.push_back(k);
    Check(valid, at, "damaged.bin", [&](const std::string& file) { gridio::LoadFromBinFile(*G, file); });
}

// Full-grid headers whose sizes no saved grid has.
TEST_F(RobustFixture, BinaryHeaderSizes)
{
    for (const auto& [cols, rows] : std::vector<std::pair<int32_t, int32_t>>{
             {2000000000, 3}, {3, 2000000000}, {70000, 70000}, {-5, -7}, {1000000, 1}, {1, 50000000}, {65536, 65536}}) {
        SCOPED_TRACE(std::to_string(cols) + " x " + std::to_string(rows));
        rtl::TComponent owner(nullptr);
        auto* head = new gridio::TGridPropIO(&owner);
        head->FullGrid = true;
        head->ColCount = cols;
        head->RowCount = rows;
        rtl::TMemoryStream s;
        rtl::TWriter(s).WriteRootComponent(head);
        s.SetPosition(0);
        ExpectReadsOrRaises({"header", {}}, [&](const std::string&) { gridio::LoadFromBinStream(*G, s); });
    }
}

TEST_F(RobustFixture, TextCsvFixedAndXml)
{
    const std::string native = File("cells.txt");
    gridio::TGridFiles files(*G);
    files.SaveToFile(native, false);
    Check(Read(native), {0, 4}, "damaged.txt", [&](const std::string& file) { files.LoadFromFile(file); });
    files.SaveToFile(native, true);
    Check(Read(native), {0, 4}, "damaged.txt", [&](const std::string& file) { files.LoadFromFile(file); });

    const std::string csv = File("cells.csv");
    files.SaveToCSV(csv, false);
    Check(Read(csv), {}, "damaged.csv", [&](const std::string& file) { files.LoadFromCSV(file, -1); });
    Check(Read(csv), {}, "damaged.csv", [&](const std::string& file) { files.InsertFromCSV(file, 3); });
    Check(Read(csv), {}, "damaged.fix",
          [&](const std::string& file) { files.LoadFromFixed(file, {1, 4, 9, 2000000000}, true, -1); });

    const std::string xmlFile = File("cells.xml");
    files.SaveToXML(xmlFile, "list", "rec", nullptr, true);
    Check(Read(xmlFile), {}, "damaged.xml", [&](const std::string& file) { files.LoadFromXML(file, true); });
}

TEST_F(RobustFixture, ZipAndWorkbooks)
{
    const std::string book = File("book.xlsx");
    gridio::TGridOffice office(*G);
    office.SaveToXLS(book, true);
    const std::string valid = Read(book);
    std::vector<std::size_t> at;
    for (std::size_t k = 0; k + 4 < valid.size() && k < 120; k += 6) at.push_back(k);
    for (std::size_t k = valid.size() - 22; k < valid.size() - 4; k += 2) at.push_back(k);
    Check(valid, at, "damaged.xlsx", [&](const std::string& file) { office.LoadFromXLS(file); });

    // An entry whose unpacked size says four gigabytes is refused before
    // the room for it is taken.
    std::string huge = valid;
    const std::size_t dir = huge.rfind(std::string("PK\x01\x02", 4));
    ASSERT_NE(dir, std::string::npos);
    huge.replace(dir + 24, 4, "\xFF\xFF\xFF\xFF");
    gridio::TZipArchive bad;
    EXPECT_THROW(bad.LoadFromBytes(huge), rtl::Exception);

    // Damaged parts inside an intact container.
    gridio::TZipArchive zip;
    zip.LoadFromBytes(valid);
    for (const auto& [part, bytes] : std::vector(zip.Entries())) {
        SCOPED_TRACE(part);
        for (const auto& c : MalformedVariants(bytes))
            ExpectReadsOrRaises(c, [&](const std::string& damaged) {
                gridio::TZipArchive z = zip;
                z.Set(part, damaged);
                const std::string f = File("part.xlsx");
                z.SaveToFile(f);
                Fill();
                office.LoadFromXLS(f);
            });
    }
}
