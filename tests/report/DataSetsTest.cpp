// Report data sets: the row-range rules of the cursor, user names, the user
// data set's values, aliases and the global list.

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "report/qlrClass.h"
#include "report/qlrRes.h"

using namespace qlr;

TEST(ReportDataSets, VirtualDataSetOfABandCountsItsRows)
{
    TqlrMasterData band(nullptr);
    band.SetRowCount(3);
    TqlrDataSet* ds = band.VirtualDataSet();
    ds->First();
    int rows = 0;
    while (!ds->Eof()) {
        EXPECT_EQ(ds->RecNo(), rows);
        ++rows;
        ds->Next();
    }
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(ds->RecordCount(), 3);

    band.SetRowCount(0);
    ds->First();
    EXPECT_TRUE(ds->Eof());
}

TEST(ReportDataSets, LastRangeEndsOnlyWhenTheHostSaysSo)
{
    TqlrUserDataSet ds(nullptr);
    int nexts = 0;
    ds.OnNext = [&](TqlrDataSet*) { ++nexts; };
    ds.First();
    for (int i = 0; i < 5; ++i) ds.Next();
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(nexts, 5);
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.OnCheckEOF = [](TqlrDataSet* d, bool& eof) { eof = d->RecNo() >= 5; };
    EXPECT_TRUE(ds.Eof());
    // A counted range does not call OnNext past its end.
    ds.SetRangeEnd(TqlrRangeEnd::reCount);
    ds.SetRangeEndCount(1);
    ds.OnCheckEOF = nullptr;
    ds.First();
    ds.Next();
    EXPECT_EQ(nexts, 5);
    EXPECT_TRUE(ds.Eof());
}

TEST(ReportDataSets, UserNames)
{
    TqlrUserDataSet ds(nullptr);
    ds.SetName("Customers");
    EXPECT_EQ(ds.UserName(), "Customers");
    // Only an empty user name (or one equal to the new name) follows.
    ds.SetName("Clients");
    EXPECT_EQ(ds.UserName(), "Customers");
    ds.SetUserName("Client list");
    ds.SetName("Buyers");
    EXPECT_EQ(ds.UserName(), "Client list");
    try {
        ds.SetUserName("   ");
        FAIL() << "blank user name accepted";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), GetResources().Get("prInvProp"));
    }
    EXPECT_EQ(ds.UserName(), "Client list");
}

TEST(ReportDataSets, UserDataSetValues)
{
    TqlrUserDataSet ds(nullptr);
    ds.Fields()->Add("Date");
    ds.Fields()->Add("Magnitude");
    EXPECT_EQ(ds.FieldsCount(), 2);
    EXPECT_TRUE(ds.HasField("magnitude"));
    EXPECT_FALSE(ds.HasField("Gamma"));
    EXPECT_TRUE(ds.Value("Date").IsNull());
    ds.OnGetValue = [](const std::string& f, rtl::Variant& v) { v = rtl::Variant(f + "!"); };
    EXPECT_EQ(ds.Value("Date").AsString(), "Date!");
    ds.OnNewGetValue = [](TqlrUserDataSet*, const std::string&, rtl::Variant& v) {
        v = rtl::Variant(v.IsNull() ? std::string("fresh") : v.AsString() + "?");
    };
    EXPECT_EQ(ds.Value("Date").AsString(), "Date!?");
    EXPECT_EQ(ds.DisplayText("Date"), "fresh");
}

TEST(ReportDataSets, Aliases)
{
    TqlrCustomDBDataSet ds(nullptr);
    ds.FieldAliases()->Add("CustNo=Customer number");
    ds.FieldAliases()->Add("Name=Company");
    EXPECT_EQ(ds.GetAlias("custno"), "Customer number");
    EXPECT_EQ(ds.ConvertAlias("CUSTOMER NUMBER"), "CustNo");
    EXPECT_EQ(ds.GetAlias("Phone"), "Phone");
    EXPECT_EQ(ds.ConvertAlias("Phone"), "Phone");
}

TEST(ReportDataSets, GlobalListPassesOverAnotherReportsSet)
{
    TqlrReport mine(nullptr), theirs(nullptr);
    auto* page = new TqlrDataPage(&theirs);
    auto* foreign = new TqlrUserDataSet(page);
    foreign->SetUserName("Shared");
    EXPECT_EQ(FindGlobalDataSet(nullptr, "shared", &mine), nullptr);
    EXPECT_EQ(FindGlobalDataSet(nullptr, "shared", &theirs), foreign);
    EXPECT_EQ(FindGlobalDataSet(foreign, "", &theirs), nullptr);
    EXPECT_EQ(FindGlobalDataSet(foreign, "x", nullptr), foreign);

    auto* own = new TqlrUserDataSet(new TqlrDataPage(&mine));
    own->SetUserName("Shared");
    EXPECT_EQ(FindGlobalDataSet(nullptr, "Shared", &mine), own);

    rtl::TStringList list;
    own->SetEnabled(false);
    ListGlobalDataSets(list);
    EXPECT_EQ(list.IndexOfObject(own), -1);
    EXPECT_NE(list.IndexOfObject(foreign), -1);

    // A view finds a set by name through the report's own list.
    auto* band = new TqlrMasterData(new TqlrReportPage(&mine));
    mine.SetUseGlobalDataSetList(false);
    mine.EnabledDataSets().push_back(own);
    band->SetDataSetName("SHARED");
    EXPECT_EQ(band->DataSet(), own);
    mine.EnabledDataSets().clear();
    delete own;
    EXPECT_EQ(band->DataSet(), nullptr);
    EXPECT_EQ(band->DataSetName(), "SHARED");
}
