// Window-procedure hook chains on a headless control, and the helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbgrids/UxHooks.h"
#include "dbgrids/UxUtils.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Streams.h"

using namespace dbgrids;
using gui::TMessage;

namespace {

constexpr uint32_t kProbe = gui::WM_USER + 77;

// A party with named hooks that records the calls.
struct TParty {
    std::string Name;
    std::vector<std::string>* Log;
    bool Handle = false;
    std::function<void()> During{};
    bool Hook(TMessage& m)
    {
        if (m.Msg != kProbe) return false;
        Log->push_back(Name);
        if (During) During();
        return Handle;
    }
    TUxControlHook AsHook() { return MakeUxHook<&TParty::Hook>(this); }
};

struct HooksFixture : ::testing::Test {
    std::unique_ptr<gui::TForm> Form = std::make_unique<gui::TForm>(nullptr);
    gui::TPanel* Panel = nullptr;
    std::vector<std::string> Log;
    TUxWndProcHook Registry;
    void SetUp() override
    {
        Panel = new gui::TPanel(Form.get());
        Panel->SetParent(Form.get());
        auto own = Panel->WindowProc;
        Panel->WindowProc = [this, own](TMessage& m) {
            if (m.Msg == kProbe) Log.push_back("own");
            own(m);
        };
    }
};

} // namespace

TEST_F(HooksFixture, BeforeOwnAfterAndHandledStops)
{
    TParty a{"A", &Log}, b{"B", &Log}, c{"C", &Log};
    EXPECT_TRUE(Registry.RegisterWndProc(Panel, a.AsHook(), TUxHookOrder::hoBeforeMsg));
    Registry.RegisterWndProc(Panel, b.AsHook(), TUxHookOrder::hoBeforeMsg);
    Registry.RegisterWndProc(Panel, c.AsHook(), TUxHookOrder::hoAfterMsg);
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"A", "B", "own", "C"}));
    Log.clear();
    a.Handle = true;
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"A"}));
    EXPECT_FALSE(Registry.RegisterWndProc(nullptr, a.AsHook(), TUxHookOrder::hoBeforeMsg));
    EXPECT_FALSE(Registry.RegisterWndProc(Panel, TUxControlHook{}, TUxHookOrder::hoBeforeMsg));
}

TEST_F(HooksFixture, ChangesDuringADispatch)
{
    TParty a{"A", &Log}, b{"B", &Log}, late{"late", &Log};
    a.During = [&] {
        Registry.RegisterWndProc(Panel, late.AsHook(), TUxHookOrder::hoBeforeMsg);
        Registry.UnRegisterWndProc(Panel, b.AsHook(), TUxHookOrder::hoBeforeMsg);
    };
    Registry.RegisterWndProc(Panel, a.AsHook(), TUxHookOrder::hoBeforeMsg);
    Registry.RegisterWndProc(Panel, b.AsHook(), TUxHookOrder::hoBeforeMsg);
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"A", "late", "own"}));  // B removed, late added: both in this dispatch
}

TEST_F(HooksFixture, RemovingTheLastHookRestoresTheProcedure)
{
    TParty a{"A", &Log}, b{"B", &Log};
    Registry.RegisterWndProc(Panel, a.AsHook(), TUxHookOrder::hoBeforeMsg);
    Registry.RegisterWndProc(Panel, b.AsHook(), TUxHookOrder::hoAfterMsg);
    Registry.UnRegisterWndProc(Panel, a.AsHook(), TUxHookOrder::hoBeforeMsg);
    Registry.UnRegisterWndProc(Panel, b.AsHook(), TUxHookOrder::hoAfterMsg);
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"own"}));
    EXPECT_EQ(Registry.HookInfoCount(), 1);  // unhooked but still listed
}

TEST_F(HooksFixture, DestroyingTheControlInsideAHook)
{
    TParty a{"A", &Log}, b{"B", &Log}, after{"after", &Log};
    a.During = [&] {
        delete Panel;
        Panel = nullptr;
    };
    Registry.RegisterWndProc(Panel, a.AsHook(), TUxHookOrder::hoBeforeMsg);
    Registry.RegisterWndProc(Panel, b.AsHook(), TUxHookOrder::hoBeforeMsg);
    Registry.RegisterWndProc(Panel, after.AsHook(), TUxHookOrder::hoAfterMsg);
    gui::TPanel* p = Panel;
    p->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"A"}));
    EXPECT_EQ(Registry.HookInfoCount(), 0);
    EXPECT_EQ(TUxReleaser::Instance().WaitingCount(), 1);
    gui::Application->ProcessMessages();
    EXPECT_EQ(TUxReleaser::Instance().WaitingCount(), 0);  // freed from the message loop
}

TEST_F(HooksFixture, WindowHookComponent)
{
    TUxWindowHook hook(Form.get());
    hook.SetBeforeMessage([&](rtl::TObject*, TMessage& m, bool& handled) {
        if (m.Msg == kProbe) Log.push_back("before");
        handled = false;
    });
    EXPECT_TRUE(hook.Active());
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"own"}));  // no control: nothing registered
    Log.clear();
    hook.SetControl(Panel);
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"before", "own"}));
    Log.clear();
    hook.UnHookControl();
    Panel->Perform(kProbe);
    EXPECT_EQ(Log, (std::vector<std::string>{"own"}));
}

TEST_F(HooksFixture, WindowHookStoresIsFormInPlaceOfItsOwnerForm)
{
    auto streamed = [](TUxWindowHook& hook) {
        rtl::TMemoryStream s;
        rtl::WriteComponentToStream(s, &hook);
        return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
    };
    TUxWindowHook onForm(Form.get());
    onForm.SetControl(Form.get());
    std::string bytes = streamed(onForm);
    EXPECT_NE(bytes.find("IsForm"), std::string::npos);
    EXPECT_EQ(bytes.find("Control"), std::string::npos);

    // Read into a hook owned by another form: True hooks that owner.
    gui::TForm other(nullptr);
    TUxWindowHook read(&other);
    rtl::TMemoryStream in;
    in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    in.SetPosition(0);
    rtl::ReadComponentFromStream(in, &read);
    EXPECT_EQ(read.Control(), &other);

    // A hook on another control writes no IsForm.
    TUxWindowHook onPanel(Form.get());
    onPanel.SetControl(Panel);
    EXPECT_EQ(streamed(onPanel).find("IsForm"), std::string::npos);
}

TEST(UxUtils, NthWordAndStorageNames)
{
    EXPECT_EQ(NthWord(3, "10,20, 30,40", ", "), "30");
    EXPECT_EQ(NthWord(5, "10,20, 30,40", ", "), "");
    EXPECT_EQ(NthWordStart(5, "10,20, 30,40", ", "), 0);
    EXPECT_EQ(NthWordStart(3, "10,20, 30,40", ", "), 8);
    EXPECT_EQ(NthWord(1, ",,a", ", "), "a");
}

namespace {
class TMainForm : public gui::TForm {
public:
    using gui::TForm::TForm;
};
} // namespace

TEST(UxUtils, ComponentStorageName)
{
    TMainForm form(nullptr);
    auto* grid = new gui::TPanel(&form);
    grid->SetName("Grid1");
    grid->SetParent(&form);
    auto* table = new rtl::TComponent(&form);
    table->SetName("Table1");
    std::string cls = form.ClassName();
    EXPECT_EQ(ComponentStorageName(grid), cls + "Grid1");
    EXPECT_EQ(ComponentStorageName(table), cls + ".Table1");
    EXPECT_EQ(ComponentStorageName(&form), cls);
    EXPECT_EQ(ComponentStorageName(nullptr), "");
    EXPECT_EQ(ParentFormOf(grid), &form);
}
