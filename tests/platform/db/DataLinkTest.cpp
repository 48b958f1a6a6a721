// What data-aware controls see of a data set: field display settings,
// bookmarks, disabled controls and the data link's window of records.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DataSet.h"

using namespace db;

namespace {

// Rows 1..n: N (integer), Name ("row 1"...), X (N / 8 as a real number,
// null for every fifth row), Flag (odd rows true).
std::unique_ptr<TMemDataSet> MakeRows(int n)
{
    auto ds = std::make_unique<TMemDataSet>();
    ds->AddFieldDef("N", TFieldType::ftInteger);
    ds->AddFieldDef("Name", TFieldType::ftString, 12);
    ds->AddFieldDef("X", TFieldType::ftFloat);
    ds->AddFieldDef("Flag", TFieldType::ftBoolean);
    for (int i = 1; i <= n; ++i) {
        TFieldValue x;
        if (i % 5 != 0) x = static_cast<long double>(i) / 8;
        ds->AppendRecord({int64_t(i), "row " + std::to_string(i), x, int64_t(i % 2)});
    }
    return ds;
}

// A link that writes down every notification.
class TRecordingLink : public TDataLink {
public:
    std::vector<std::string> Log;

protected:
    void ActiveChanged() override { Log.push_back(Active() ? "active" : "inactive"); }
    void DataSetChanged() override { Log.push_back("changed"); }
    void DataSetScrolled(int distance) override { Log.push_back("scrolled " + std::to_string(distance)); }
    void LayoutChanged() override { Log.push_back("layout"); }
    void RecordChanged(TField*) override { Log.push_back("record"); }
};

// The N of every record of the link's window, read by making each row active.
std::vector<int> WindowRows(TDataLink& link)
{
    std::vector<int> rows;
    int saved = link.ActiveRecord();
    for (int i = 0; i < link.RecordCount(); ++i) {
        link.SetActiveRecord(i);
        rows.push_back(link.DataSet()->FieldByName("N")->AsInteger());
    }
    link.SetActiveRecord(saved);
    return rows;
}

} // namespace

TEST(FieldDisplay, TextsWidthsAndAlignment)
{
    auto ds = MakeRows(5);
    ds->Open();
    TField* n = ds->FieldByName("N");
    TField* name = ds->FieldByName("Name");
    TField* x = ds->FieldByName("X");
    TField* flag = ds->FieldByName("Flag");

    EXPECT_EQ(n->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(x->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(name->Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(name->DisplayWidth(), 12);
    EXPECT_EQ(n->DisplayLabel(), "N");

    EXPECT_EQ(x->DisplayText(), "0.125");
    x->SetDisplayFormat("0.000");
    EXPECT_EQ(x->DisplayText(), "0.125");
    x->SetDisplayFormat("0.0");
    EXPECT_EQ(x->DisplayText(), "0.1");          // formatted for display
    EXPECT_EQ(x->Text(), "0.125");               // the editor gets the value
    n->SetDisplayFormat("000");
    EXPECT_EQ(n->DisplayText(), "001");
    EXPECT_EQ(flag->DisplayText(), "True");
    ds->SetRecNo(5);
    EXPECT_EQ(x->DisplayText(), "");              // null
    EXPECT_EQ(flag->DisplayText(), "True");
    ds->Prior();
    EXPECT_EQ(flag->DisplayText(), "False");
    ds->Next();

    name->OnGetText = [](TField* f, std::string& text, bool display) {
        text = (display ? "<" : "[") + f->AsString() + (display ? ">" : "]");
    };
    EXPECT_EQ(name->DisplayText(), "<row 5>");
    EXPECT_EQ(name->Text(), "[row 5]");
}

TEST(FieldDisplay, MovingAFieldChangesTheOrderNotTheData)
{
    auto ds = MakeRows(3);
    ds->Open();
    TDataSource source;
    TRecordingLink link;
    link.SetDataSource(&source);
    source.SetDataSet(ds.get());
    link.Log.clear();

    TField* x = ds->FieldByName("X");
    x->SetIndex(0);
    EXPECT_EQ(ds->FieldNames(), (std::vector<std::string>{"X", "N", "Name", "Flag"}));
    EXPECT_EQ(ds->Fields(1)->Index(), 1);
    EXPECT_EQ(x->FieldNo(), 3);
    EXPECT_EQ(x->AsString(), "0.125");
    EXPECT_EQ(ds->FieldByName("N")->AsInteger(), 1);
    x->SetVisible(false);
    x->SetDisplayLabel("Gamma");
    EXPECT_EQ(x->DisplayName(), "Gamma");
    EXPECT_EQ(link.Log, (std::vector<std::string>{"layout", "layout", "layout"}));
    // A locate by the moved field still reads the right column.
    EXPECT_TRUE(ds->Locate("X", TFieldValue(0.375L)));
    EXPECT_EQ(ds->RecNo(), 3);
}

TEST(Bookmarks, SurviveASortAndRefuseStrangers)
{
    auto ds = MakeRows(6);
    ds->Open();
    ds->SetRecNo(2);
    TBookmark b2 = ds->GetBookmark();
    ds->SetRecNo(5);
    TBookmark b5 = ds->Bookmark();
    EXPECT_TRUE(ds->BookmarkValid(b2));
    EXPECT_EQ(ds->CompareBookmarks(b2, b5), -1);
    EXPECT_EQ(ds->CompareBookmarks(b5, b5), 0);
    EXPECT_EQ(ds->CompareBookmarks({}, b2), -1);

    ds->SetSort("N DESC");
    EXPECT_EQ(ds->CompareBookmarks(b2, b5), 1);   // order follows the sort
    ds->GotoBookmark(b2);
    EXPECT_EQ(ds->FieldByName("N")->AsInteger(), 2);
    EXPECT_EQ(ds->RecNo(), 5);

    auto other = MakeRows(6);
    other->Open();
    EXPECT_FALSE(other->BookmarkValid(b2));
    EXPECT_FALSE(ds->BookmarkValid({}));
    EXPECT_FALSE(ds->BookmarkValid({1, 2, 3}));
    try {
        other->GotoBookmark(b2);
        FAIL() << "a foreign bookmark was accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "TMemDataSet: Record not found");
    }
    EXPECT_EQ(other->RecNo(), 1);
    ds->Close();
    EXPECT_FALSE(ds->BookmarkValid(b2));
    EXPECT_TRUE(ds->GetBookmark().empty());
}

TEST(Bookmarks, SortKeysMayBeBracketed)
{
    auto ds = MakeRows(4);
    ds->Open();
    ds->SetSort("[Flag] ASC,[N] DESC");
    std::vector<int> order;
    for (ds->First(); !ds->Eof(); ds->Next()) order.push_back(ds->FieldByName("N")->AsInteger());
    EXPECT_EQ(order, (std::vector<int>{4, 2, 3, 1}));
}

TEST(DisabledControls, ReportOnceWhenEnabledAgain)
{
    auto ds = MakeRows(10);
    ds->Open();
    TDataSource source;
    TRecordingLink link;
    link.SetBufferCount(4);
    link.SetDataSource(&source);
    source.SetDataSet(ds.get());
    int changes = 0;
    source.OnDataChange = [&](rtl::TObject*, TField*) { ++changes; };
    link.Log.clear();

    ds->DisableControls();
    ds->DisableControls();
    for (ds->First(); !ds->Eof(); ds->Next()) {}
    ds->Locate("N", TFieldValue(int64_t(3)));
    ds->EnableControls();
    EXPECT_TRUE(ds->ControlsDisabled());
    EXPECT_TRUE(link.Log.empty());
    EXPECT_EQ(changes, 0);
    ds->EnableControls();
    EXPECT_FALSE(ds->ControlsDisabled());
    EXPECT_EQ(link.Log, (std::vector<std::string>{"changed"}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(link.ActiveRecord(), 2 - link.FirstRecord());
    EXPECT_EQ(WindowRows(link).size(), 4u);

    // Nothing happened: nothing to report.
    link.Log.clear();
    ds->DisableControls();
    ds->EnableControls();
    EXPECT_TRUE(link.Log.empty());
    // Closed meanwhile: the state change is reported.
    ds->DisableControls();
    ds->Close();
    ds->EnableControls();
    EXPECT_EQ(link.Log, (std::vector<std::string>{"inactive"}));
}

TEST(DataLink, WindowFollowsTheCursor)
{
    auto ds = MakeRows(10);
    TDataSource source;
    source.SetDataSet(ds.get());
    TRecordingLink link;
    link.SetBufferCount(3);
    link.SetDataSource(&source);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.RecordCount(), 0);

    ds->Open();
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.Log, (std::vector<std::string>{"active", "changed"}));
    EXPECT_EQ(WindowRows(link), (std::vector<int>{1, 2, 3}));
    link.Log.clear();

    // Inside the window the cursor moves without sliding it.
    ds->Next();
    ds->Next();
    EXPECT_EQ(link.ActiveRecord(), 2);
    ds->Next();
    EXPECT_EQ(link.ActiveRecord(), 2);
    EXPECT_EQ(WindowRows(link), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(link.MoveBy(-3), -3);
    EXPECT_EQ(link.ActiveRecord(), 0);
    ds->Last();
    EXPECT_EQ(WindowRows(link), (std::vector<int>{8, 9, 10}));
    EXPECT_EQ(link.Log, (std::vector<std::string>{"scrolled 0", "scrolled 0", "scrolled 1",
                                                  "scrolled -1", "scrolled 7"}));
    EXPECT_TRUE(link.Eof());

    // Reading another row of the window leaves the cursor alone.
    link.SetActiveRecord(0);
    EXPECT_EQ(ds->FieldByName("N")->AsInteger(), 8);
    EXPECT_EQ(ds->RecNo(), 10);
    link.SetActiveRecord(2);
    EXPECT_EQ(ds->FieldByName("N")->AsInteger(), 10);

    // A larger window near the end stays full.
    link.SetBufferCount(5);
    EXPECT_EQ(WindowRows(link), (std::vector<int>{6, 7, 8, 9, 10}));
    EXPECT_EQ(link.ActiveRecord(), 4);

    // A far jump slides the window by the whole distance.
    link.Log.clear();
    ds->First();
    EXPECT_EQ(link.Log, (std::vector<std::string>{"scrolled -5"}));
}

TEST(DataLink, ShortDataSetsAndLosingTheData)
{
    auto ds = MakeRows(2);
    ds->Open();
    auto source = std::make_unique<TDataSource>();
    TRecordingLink link;
    link.SetBufferCount(10);
    link.SetDataSource(source.get());
    EXPECT_FALSE(link.Active());
    source->SetDataSet(ds.get());
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.RecordCount(), 2);
    EXPECT_EQ(WindowRows(link), (std::vector<int>{1, 2}));

    source->SetEnabled(false);
    EXPECT_FALSE(link.Active());
    ds->Next();                                 // a disabled source passes nothing on
    source->SetEnabled(true);
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.ActiveRecord(), 1);

    link.Log.clear();
    ds.reset();                                 // the data set is freed
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(source->DataSet(), nullptr);
    EXPECT_EQ(link.Log, (std::vector<std::string>{"inactive"}));

    auto again = MakeRows(3);
    again->Open();
    source->SetDataSet(again.get());
    EXPECT_TRUE(link.Active());
    source.reset();                             // the source is freed
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_EQ(link.DataSet(), nullptr);
}

TEST(DataLink, EmptyDataSet)
{
    auto ds = MakeRows(0);
    ds->Open();
    TDataSource source;
    source.SetDataSet(ds.get());
    TRecordingLink link;
    link.SetBufferCount(5);
    link.SetDataSource(&source);
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.RecordCount(), 0);
    EXPECT_EQ(link.ActiveRecord(), 0);
    EXPECT_TRUE(link.Bof() && link.Eof());
    EXPECT_EQ(link.MoveBy(3), 0);
    ds->SetReadOnly(true);                      // read-only data: no editing
    EXPECT_FALSE(link.Edit());
    link.SetActiveRecord(2);                    // no record there: fields read null
    EXPECT_TRUE(ds->FieldByName("N")->IsNull());
}
