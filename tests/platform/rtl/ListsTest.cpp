#include <gtest/gtest.h>

#include "TestPaths.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Lists.h"

using namespace rtl;

TEST(List, IndexErrorsAndMoves)
{
    TList list;
    int a = 1, b = 2, c = 3;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    list.Move(0, 2);
    EXPECT_EQ(list[0], &b);
    EXPECT_EQ(list[2], &a);
    EXPECT_EQ(list.Remove(&b), 0);
    EXPECT_EQ(list.Remove(&b), -1);
    try {
        list.Items(2);
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (2)");
    }
    EXPECT_THROW(list.Delete(-1), EListError);
}

TEST(StringList, SortedListsAndDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("banana");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Apple", "banana", "pear"}));
    EXPECT_EQ(list.Add("APPLE"), 0);  // dupIgnore: the existing index
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf("PEAR"), 2);
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add("pear"), EStringListError);
    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add("pear");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    int index;
    EXPECT_FALSE(list.Find("cherry", index));
    EXPECT_EQ(index, 2);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("apple"), -1);
}

TEST(StringList, NamesAndValues)
{
    TStringList list;
    list.Add("Width=800");
    list.Add("Title=a=b");
    list.Add("plain");
    EXPECT_EQ(list.Values("width"), "800");
    EXPECT_EQ(list.Values("Title"), "a=b");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.Names(1), "Title");
    EXPECT_EQ(list.ValueFromIndex(1), "a=b");
    list.SetValues("Height", "600");
    EXPECT_EQ(list.Strings(3), "Height=600");
    list.SetValues("Width", "");
    EXPECT_EQ(list.IndexOfName("Width"), -1);
}

TEST(StringList, CommaAndDelimitedTexts)
{
    TStringList list;
    list.SetCommaText("a, \"b c\",\"d\"\"e\",,f");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b c", "d\"e", "", "f"}));
    EXPECT_EQ(list.CommaText(), "a,\"b c\",\"d\"\"e\",,f");
    // The text survives a round trip.
    TStringList again;
    again.SetCommaText(list.CommaText());
    EXPECT_EQ(again.ToVector(), list.ToVector());

    TStringList strict;
    strict.SetDelimiter(';');
    strict.SetStrictDelimiter(true);
    strict.SetDelimitedText("one two;three;");
    EXPECT_EQ(strict.ToVector(), (std::vector<std::string>{"one two", "three", ""}));
    EXPECT_EQ(strict.DelimitedText(), "one two;three;");

    // A refused item ends the change: the list's own delimiter settings stay
    // and change events go on.
    TStringList sorted;
    sorted.SetSorted(true);
    sorted.SetDuplicates(TDuplicates::dupError);
    sorted.SetDelimiter(';');
    int changes = 0;
    sorted.OnChange = [&](TObject*) { ++changes; };
    EXPECT_THROW(sorted.SetCommaText("a,b,a"), EStringListError);
    EXPECT_EQ(sorted.Delimiter(), ';');
    changes = 0;
    sorted.Add("c");
    EXPECT_EQ(changes, 1);
}

TEST(StringList, TextAndFiles)
{
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(list.Text(), "one\ntwo\nthree\nfour\n");
    auto dir = tectest::ScratchDir("stringlist");
    std::string file = (dir / "list.txt").string();
    list.SaveToFile(file);
    TStringList back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.ToVector(), list.ToVector());
    // A byte-order mark is not part of the first line.
    WriteFileAtomic(file, "\xEF\xBB\xBFx\ny");
    back.LoadFromFile(file);
    EXPECT_EQ(back.Strings(0), "x");
    EXPECT_THROW(back.LoadFromFile((dir / "missing.txt").string()), EFOpenError);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.BeginUpdate();
    list.Add("a");
    list.Add("b");
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
}
