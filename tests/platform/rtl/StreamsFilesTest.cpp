#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestPaths.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"

using namespace rtl;

TEST(Streams, ReadPastTheEnd)
{
    TMemoryStream m;
    m.WriteString("abc");
    m.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2);  // a plain read gives what there is
    EXPECT_EQ(m.Read(buf, 8), 0);
    m.SetPosition(2);
    EXPECT_THROW(m.ReadBuffer(buf, 2), EReadError);  // an exact read raises
    try {
        m.SetPosition(3);
        m.ReadBuffer(buf, 1);
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    // Seeking past the end and writing fills the gap with zeros.
    m.Seek(2, TSeekOrigin::soEnd);
    m.WriteString("z");
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(std::string(m.View()), std::string("abc\0\0z", 6));

    TStringStream s("hello");
    EXPECT_EQ(s.ReadString(3), "hel");
    EXPECT_EQ(s.ReadString(10), "lo");
    EXPECT_EQ(s.ReadString(1), "");
}

TEST(Streams, FileStreamModesAndErrors)
{
    auto dir = tectest::ScratchDir("streams");
    std::string name = (dir / "data.bin").string();
    {
        TFileStream f(name, fmCreate);
        f.WriteString("0123456789");
    }
    {
        TFileStream f(name, fmOpenReadWrite);
        f.Seek(-3, TSeekOrigin::soEnd);
        f.WriteString("XYZ");
        f.SetPosition(0);
        EXPECT_EQ(f.ReadAll(), "0123456XYZ");
        f.SetSize(4);
        EXPECT_EQ(f.Size(), 4);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(std::string(m.View()), "0123");
    try {
        TFileStream f((dir / "none" / "x").string(), fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("Cannot open file \"" + (dir / "none" / "x").string() + "\""), std::string::npos);
    }
    EXPECT_THROW(TFileStream((dir / "none" / "x").string(), fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(dir.string(), fmOpenRead), EFOpenError);  // a folder is not a file
}

TEST(Files, PathPieces)
{
    struct { const char* name; const char* path; const char* file; const char* ext; const char* changed; } cases[] = {
        {"/home/u/map.png", "/home/u/", "map.png", ".png", "/home/u/map.jpg"},
        {"map", "", "map", "", "map.jpg"},
        {"/a.b/c", "/a.b/", "c", "", "/a.b/c.jpg"},
        {"/x/archive.tar.gz", "/x/", "archive.tar.gz", ".gz", "/x/archive.tar.jpg"},
        {"/", "/", "", "", "/.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
        EXPECT_EQ(ChangeFileExt(c.name, ".jpg"), c.changed) << c.name;
    }
    EXPECT_EQ(ExtractFileDir("/home/u/map.png"), "/home/u");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp"), "/tmp/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp//"), "/tmp");
    EXPECT_EQ(ExpandFileName("/a/b/../c"), "/a/c");

    struct { const char* name; const char* mask; bool match; } masks[] = {
        {"World.MAP", "*.map", true}, {"world.png", "*.map", false}, {"a", "*.*", true},
        {"abc", "a?c", true}, {"ac", "a?c", false}, {"x.tar.gz", "*.gz", true}, {"", "*", true},
    };
    for (const auto& m : masks) EXPECT_EQ(MatchesMask(m.name, m.mask), m.match) << m.name << " " << m.mask;
}

TEST(Files, FoldersSearchAndAtomicWrites)
{
    auto dir = tectest::ScratchDir("files");
    std::string base = dir.string() + "/";
    EXPECT_TRUE(ForceDirectories(base + "a/b/c"));
    EXPECT_TRUE(DirectoryExists(base + "a/b/c"));
    EXPECT_FALSE(FileExists(base + "a/b"));
    WriteFileAtomic(base + "one.map", "1");
    WriteFileAtomic(base + "two.MAP", "22");
    WriteFileAtomic(base + "three.png", "333");
    EXPECT_EQ(ListFiles(base, "*.map"), (std::vector<std::string>{"one.map", "two.MAP"}));
    EXPECT_EQ(ListFiles(base, "*", true), (std::vector<std::string>{"a", "one.map", "three.png", "two.MAP"}));

    TSearchRec rec;
    ASSERT_EQ(FindFirst(base + "t*", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "three.png");
    EXPECT_EQ(rec.Size, 3);
    ASSERT_EQ(FindNext(rec), 0);
    EXPECT_EQ(rec.Name, "two.MAP");
    EXPECT_NE(FindNext(rec), 0);
    FindClose(rec);
    EXPECT_NE(FindFirst(base + "nothing/*", faAnyFile, rec), 0);

    // Replacing a file keeps its permissions and leaves no temporary behind.
    chmod((base + "one.map").c_str(), 0600);
    WriteFileAtomic(base + "one.map", "new");
    EXPECT_EQ(ReadFileBytes(base + "one.map"), "new");
    struct stat st{};
    stat((base + "one.map").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(ListFiles(base, ".*").size(), 0u);
    EXPECT_THROW(WriteFileAtomic(base + "missing/x", "y"), EFCreateError);
    EXPECT_TRUE(RenameFile(base + "three.png", base + "3.png"));
    EXPECT_FALSE(RenameFile(base + "3.png", base + "one.map"));  // never over an existing file
    EXPECT_EQ(FileSize(base + "3.png"), 3);
    EXPECT_EQ(FileSize(base + "nope"), -1);
}
