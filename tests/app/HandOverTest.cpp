// The hand-over of a document to the sibling program, path by path: its
// pipe, its pipe down while it runs, starting it (accepted or declined),
// and the older sibling's drop folder with the window message.  The
// sibling is played by the recording pipe server in this process and by
// te-peer, a stand-in program started as the sibling would be.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AppTestEnv.h"
#include "PipeRecorder.h"
#include "PipeTestUtil.h"
#include "TlxTestUtil.h"
#include "app/Pipes.h"
#include "app/SEPaths.h"
#include "app/TEDocuments.h"
#include "platform/rtl/Streams.h"
#include "platform/sys/Processes.h"
#include "platform/sys/WindowMessages.h"
#include "platform/sys/WindowSockets.h"
#include "xml/XmlDom.h"

using namespace app;
using namespace tlxtest;
namespace fs = std::filesystem;

namespace {

const std::string StartQuestion = "Tolmira Ephemeris is currently not running.\r\nDo you wish to start it?";
const std::string DallasFile = "2024-04-08 - Total Solar Eclipse - Dallas (USA).tlx";

bool WaitFor(const std::function<bool()>& done, int ms = 60000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class HandOverTest : public testing::Test {
protected:
    void SetUp() override
    {
        Root = tectest::ScratchDir(std::string("ho-") + testing::UnitTest::GetInstance()->current_test_info()->name());
        Globals = std::make_unique<ScopedSiblingGlobals>(Root);
        // The sibling's installation: te-peer as its executable.
        fs::create_directories(TEPath);
        fs::create_symlink(TEC_PEER_PROGRAM, TEPath + "te");
        apptest::WriteText(TEPath + "te.version", "FileVersion=4.2.0.0\n");

        Solar = LoadSolar(Solar20240408());
        Locations.Add(Dallas());
        Client = std::make_unique<TPipeClient>(nullptr, &Dispatcher);
        Client->SetPipeName(TEPipeName);
        Context.SolarEclipse = Solar.get();
        Context.Locations = &Locations;
        Context.SelectedIndex = 0;
        Context.TimeShiftMode = tsmSTZ;
        Context.TEClient = Client.get();
        Context.ShowMessage = [this](const std::string& text) { Messages.push_back(text); };
        PathsQuestion = [this](const std::string& text, const std::string& caption) {
            Questions.push_back(text);
            EXPECT_EQ(caption, "Tolmira Eclipse Calculator");
            return Answer;
        };
        SiblingLauncher = [this](const std::string& program, const std::string& document) {
            Launches.push_back({program, document});
            return LaunchForReal ? sys::TProcessLauncher::StartDetached(program, {document}) : true;
        };
    }

    // The bytes the sibling should receive for the selected place.
    std::string ExpectedDocument()
    {
        TSELocalCircumstances lc;
        TLELocalCircumstances unused;
        EXPECT_TRUE(TELocalCircumstances(Context, *Locations.Items(0), lc, unused));
        xml::TWideXmlDom doc(TEDocumentRoot);
        std::string name;
        EXPECT_TRUE(BuildSolarTEDocument(Context, doc, *Locations.Items(0), lc, name));
        rtl::TMemoryStream stream;
        doc.SaveToStream(stream);
        return std::string(stream.View());
    }

    std::vector<std::string> Files(const std::string& dir)
    {
        std::vector<std::string> names;
        if (fs::is_directory(dir))
            for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        return names;
    }

    using TSELocalCircumstances = compute::TSELocalCircumstances;
    using TLELocalCircumstances = compute::TLELocalCircumstances;

    pipetest::ScopedRuntimeDir Runtime;
    apptest::ScopedEnv Env;
    fs::path Root;
    std::unique_ptr<ScopedSiblingGlobals> Globals;
    std::unique_ptr<compute::TSolarEclipse> Solar;
    TObserverDataList Locations;
    pipetest::CountingDispatcher Dispatcher;
    std::unique_ptr<TPipeClient> Client;
    TTEContext Context;
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    bool Answer = false;
    bool LaunchForReal = false;
    std::vector<std::pair<std::string, std::string>> Launches;
};

} // namespace

TEST_F(HandOverTest, ThroughThePipeWhenTheSiblingServesIt)
{
    tepeer::TPipeRecorder sibling(Runtime.Path("TE"));
    ASSERT_TRUE(sibling.Listening());
    EXPECT_EQ(RunInTE(Context), TTEHandOver::thoPipe);
    EXPECT_EQ(RunInTE(Context), TTEHandOver::thoPipe);
    ASSERT_TRUE(Dispatcher.ProcessUntil([&] { return sibling.Count() == 2; }, 60000));
    const std::string expected = ExpectedDocument();
    const auto got = sibling.Messages();
    // One whole document per message, exactly as the library writes it,
    // through one connection that stays open.
    EXPECT_EQ(got[0], expected);
    EXPECT_EQ(got[1], expected);
    EXPECT_EQ(got[0].rfind("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TEDocument>", 0), 0u);
    EXPECT_EQ(got[0].substr(got[0].size() - 14), "</TEDocument>\n");
    EXPECT_EQ(sibling.Connections(), 1);
    EXPECT_TRUE(Client->Connected());
    EXPECT_TRUE(Files(TemporaryPath).empty());
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(Messages.empty());
    EXPECT_TRUE(Launches.empty());
}

TEST_F(HandOverTest, PipeDownWhileTheSiblingRunsSavesTheFileAndSaysSo)
{
    sys::TWindowClassSocket window;
    int error = 0;
    ASSERT_TRUE(window.Open(TEWindowClass, error)) << error;
    std::string file;
    EXPECT_EQ(RunInTE(Context, &file), TTEHandOver::thoNotConnected);
    EXPECT_EQ(Messages, std::vector<std::string>{"Could not connect to Tolmira Ephemeris server."});
    EXPECT_EQ(file, TemporaryPath + DallasFile);
    EXPECT_EQ(apptest::ReadBytes(file), ExpectedDocument());
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(Launches.empty());
    EXPECT_FALSE(Client->Connected());
    sys::TWindowMessage m;
    EXPECT_FALSE(window.Receive(m, 20));  // the pipe sibling gets no window message
}

TEST_F(HandOverTest, ANotRunningSiblingIsStartedWithTheFileWhenTheUserAgrees)
{
    const fs::path record = Root / "record";
    fs::create_directories(record);
    Env.Set("TEC_PEER_RECORD", record.string());
    // Only a guard against a peer left behind: the test closes it itself.
    Env.Set("TEC_PEER_LIFETIME_MS", "60000");
    Answer = true;
    LaunchForReal = true;
    std::string file;
    EXPECT_EQ(RunInTE(Context, &file), TTEHandOver::thoStarted);
    EXPECT_EQ(Questions, std::vector<std::string>{StartQuestion});
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].first, TEPath + "te");
    EXPECT_EQ(Launches[0].second, TemporaryPath + DallasFile);
    EXPECT_EQ(file, TemporaryPath + DallasFile);

    // The sibling comes up with the document on its command line ...
    ASSERT_TRUE(WaitFor([&] { return fs::exists(record / "ready"); })) << "te-peer did not start";
    EXPECT_EQ(apptest::ReadBytes(record / "argv.txt"), file + "\n");
    EXPECT_EQ(apptest::ReadBytes(file), ExpectedDocument());
    EXPECT_TRUE(sys::TWindowSockets::Exists(TEWindowClass));

    // ... and takes the next hand-over through its pipe.
    EXPECT_EQ(RunInTE(Context), TTEHandOver::thoPipe);
    ASSERT_TRUE(Dispatcher.ProcessUntil([&] { return fs::exists(record / "pipe-0001.tlx"); }, 60000));
    ASSERT_TRUE(WaitFor([&] { return apptest::ReadBytes(record / "pipe-0001.tlx") == ExpectedDocument(); }));
    EXPECT_EQ(Questions.size(), 1u);

    // Closing its window ends it; the client sees the pipe go.
    bool gone = false;
    Client->OnPipeDisconnect = [&](rtl::TObject*, uint32_t) { gone = true; };
    EXPECT_TRUE(sys::PostWindowClassMessage(TEWindowClass, 16));
    EXPECT_TRUE(Dispatcher.ProcessUntil([&] { return gone; }, 60000));
    EXPECT_TRUE(WaitFor([&] { return !sys::TWindowSockets::Exists(TEWindowClass); }));
    EXPECT_EQ(apptest::ReadBytes(record / "messages.txt"), "16 0 0\n");
}

TEST_F(HandOverTest, ANotRunningSiblingStaysDownWhenTheUserDeclines)
{
    Answer = false;
    std::string file;
    EXPECT_EQ(RunInTE(Context, &file), TTEHandOver::thoDeclined);
    EXPECT_EQ(Questions, std::vector<std::string>{StartQuestion});
    EXPECT_TRUE(Launches.empty());
    EXPECT_TRUE(Messages.empty());
    // The file stays for the user.
    EXPECT_EQ(Files(TemporaryPath), std::vector<std::string>{DallasFile});
}

TEST_F(HandOverTest, AnOlderSiblingGetsTheFileInItsDropFolderAndTheWindowMessage)
{
    TEPipeInterface = false;
    // Its pipe would answer, but an older sibling is never asked through it.
    tepeer::TPipeRecorder pipe(Runtime.Path("TE"));
    sys::TWindowClassSocket window;
    int error = 0;
    ASSERT_TRUE(window.Open(TEWindowClass, error)) << error;
    std::string file;
    EXPECT_EQ(RunInTE(Context, &file), TTEHandOver::thoWindowMessage);
    EXPECT_EQ(file, TETemporaryPath + DallasFile);
    EXPECT_EQ(apptest::ReadBytes(file), ExpectedDocument());
    sys::TWindowMessage m;
    ASSERT_TRUE(window.Receive(m, 2000));
    EXPECT_EQ(m.Msg, 3243u);
    EXPECT_EQ(m.WParam, 0);
    EXPECT_EQ(m.LParam, 0);
    EXPECT_EQ(pipe.Connections(), 0);
    EXPECT_FALSE(Client->Connected());
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(Files(TemporaryPath).empty());
}

TEST_F(HandOverTest, AnOlderSiblingThatIsNotRunningIsStartedWithTheFile)
{
    TEPipeInterface = false;
    Answer = true;
    EXPECT_EQ(RunInTE(Context), TTEHandOver::thoStarted);
    EXPECT_EQ(Questions, std::vector<std::string>{StartQuestion});
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].first, TEPath + "te");
    EXPECT_EQ(Launches[0].second, TETemporaryPath + DallasFile);
    EXPECT_TRUE(fs::exists(Launches[0].second));

    Answer = false;
    EXPECT_EQ(RunInTE(Context), TTEHandOver::thoDeclined);
    EXPECT_EQ(Launches.size(), 1u);
}

TEST_F(HandOverTest, NothingHappensWithoutASiblingAPlaceOrAVisibleEclipse)
{
    tepeer::TPipeRecorder sibling(Runtime.Path("TE"));
    auto nothing = [&](const char* why) {
        EXPECT_EQ(RunInTE(Context), TTEHandOver::thoNothing) << why;
    };
    TEFound = false;
    nothing("no sibling");
    TEFound = true;
    for (int index : {-1, 1}) {
        Context.SelectedIndex = index;
        nothing("outside the list");
    }
    // 2024 April 8 is not seen from Lima.
    Locations.Add(Lima());
    Context.SelectedIndex = 1;
    nothing("not visible");
    // Nor the lunar eclipse where the Moon is down at every contact.
    auto lunar = LoadLunar(Lunar20250314());
    Context.EventType = TEEventLunar;
    Context.LunarEclipse = lunar.get();
    Locations.Add(Place("Ulaanbaatar (Mongolia)", -106.9L, 47.9L, 1350, 0, 870, 28800, ""));
    Context.SelectedIndex = 2;
    nothing("Moon below the horizon");

    Dispatcher.WaitAndProcess(50);
    EXPECT_EQ(sibling.Connections(), 0);
    EXPECT_EQ(sibling.Count(), 0u);
    EXPECT_TRUE(Files(TemporaryPath).empty());
    EXPECT_TRUE(Files(TETemporaryPath).empty());
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(Messages.empty());
}

TEST_F(HandOverTest, ALunarEclipseTravelsTheSameWay)
{
    tepeer::TPipeRecorder sibling(Runtime.Path("TE"));
    auto lunar = LoadLunar(Lunar20250314());
    Context.EventType = TEEventLunar;
    Context.LunarEclipse = lunar.get();
    Locations.Add(Lima());
    Context.SelectedIndex = 1;
    EXPECT_EQ(RunInTE(Context), TTEHandOver::thoPipe);
    ASSERT_TRUE(Dispatcher.ProcessUntil([&] { return sibling.Count() == 1; }, 60000));
    xml::TWideXmlDom doc;
    rtl::TStringStream stream(sibling.Messages()[0]);
    doc.LoadFromStream(stream);
    EXPECT_EQ(doc.Root()->Name(), "TEDocument");
    EXPECT_EQ(doc.Root()->ReadString("SFN"), "2025-03-14 - Total Lunar Eclipse - Lima (Peru).tlx");
    EXPECT_EQ(doc.Root()->NodeByName("StarChart")->ReadInteger("CentralBody"), 9);
}
