#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

using namespace rtl;

namespace {

// Records its destruction and the removal notices it receives.
struct Probe : TComponent {
    Probe(TComponent* owner, std::string n, std::vector<std::string>& log)
        : TComponent(owner), log_(log)
    {
        SetName(n);
    }
    ~Probe() override { log_.push_back("free " + Name()); }
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == TOperation::opRemove) log_.push_back(Name() + " told " + c->Name());
        TComponent::Notification(c, op);
    }
    std::vector<std::string>& log_;
};

int Count(const std::vector<std::string>& log, const std::string& entry)
{
    int n = 0;
    for (const auto& e : log) n += e == entry;
    return n;
}

} // namespace

TEST(Component, OwnerFreesOwnedComponentsExactlyOnce)
{
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, "Root", log);
    auto* a = new Probe(root, "A", log);
    new Probe(a, "A1", log);
    new Probe(root, "B", log);
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->FindComponent("b")->Name(), "B");
    EXPECT_EQ(a->Owner(), root);
    delete root;
    EXPECT_EQ(Count(log, "free Root"), 1);
    EXPECT_EQ(Count(log, "free A"), 1);
    EXPECT_EQ(Count(log, "free A1"), 1);
    EXPECT_EQ(Count(log, "free B"), 1);
    EXPECT_EQ(log.size(), 4u);  // components without free notification go silently
}

TEST(Component, FreedComponentLeavesItsOwnerAndNotifiesWatchers)
{
    std::vector<std::string> log;
    Probe form(nullptr, "Form", log);
    Probe other(nullptr, "Other", log);
    auto* button = new Probe(&form, "Button", log);
    // Another tree watches the button; a sibling hears through the owner.
    button->FreeNotification(&other);
    auto* sibling = new Probe(&form, "Sibling", log);
    delete button;
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0), sibling);
    EXPECT_EQ(Count(log, "Other told Button"), 1);
    EXPECT_EQ(Count(log, "Form told Button"), 1);
    EXPECT_EQ(Count(log, "Sibling told Button"), 1);
    EXPECT_EQ(Count(log, "free Button"), 1);

    // The watch is two-way: freeing the watcher tells the watched one.
    auto* watched = new Probe(nullptr, "Watched", log);
    {
        Probe watcher(nullptr, "Watcher", log);
        watcher.FreeNotification(watched);
    }
    EXPECT_EQ(Count(log, "Watched told Watcher"), 1);
    delete watched;  // no stale watcher pointer is used
    EXPECT_EQ(Count(log, "Watcher told Watched"), 0);
}

TEST(Component, NamesAreValidatedAndUniquePerOwner)
{
    std::vector<std::string> log;
    Probe owner(nullptr, "Owner", log);
    auto* a = new Probe(&owner, "Edit1", log);
    auto* b = new Probe(&owner, "", log);
    try {
        b->SetName("EDIT1");
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named EDIT1 already exists");
    }
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("Edit2");
    a->SetName("edit1");  // same name in another case is a rename of itself
    EXPECT_EQ(owner.FindComponent("EDIT2"), b);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_THROW(owner.Components(5), EListError);
}

TEST(Component, StateFlagsAndLoaded)
{
    struct Loader : TComponent {
        using TComponent::TComponent;
        int loaded = 0;
        void Loaded() override
        {
            TComponent::Loaded();
            ++loaded;
        }
    } c(nullptr);
    c.BeginLoading();
    EXPECT_TRUE(c.IsLoading());
    c.EndLoading();
    EXPECT_FALSE(c.IsLoading());
    EXPECT_EQ(c.loaded, 1);
    c.SetDesigning(true);
    EXPECT_TRUE(c.IsDesigning());
    EXPECT_EQ(c.ClassName(), "Loader");
}

TEST(Persistent, AssignBetweenUnrelatedClassesRaises)
{
    struct A : TPersistent {};
    struct B : TPersistent {};
    A a;
    B b;
    try {
        b.Assign(&a);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a A to a B");
    }
}
