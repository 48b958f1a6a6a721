// The cross-tab's companion component: registered by the cross-tab's
// start-up, so a form stream naming it reads back.

#include <gtest/gtest.h>

#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Streams.h"
#include "reportout/qlrCross.h"

using namespace qlr;

TEST(CrossObject, RegisteredAndStreamedWithItsForm)
{
    RegisterCrossTab();
    ASSERT_NE(rtl::GetClass("TqlrCrossObject"), nullptr);

    rtl::TComponent form(nullptr);
    auto* cross = new TqlrCrossObject(&form);
    cross->SetName("qlrCrossObject1");
    rtl::TMemoryStream stream;
    rtl::WriteComponentToStream(stream, cross);
    stream.SetPosition(0);

    // Read without an instance: the class comes from its streamed name.
    rtl::TComponent owner(nullptr);
    rtl::TComponent* loaded = rtl::ReadComponentFromStream(stream, nullptr, &owner);
    ASSERT_NE(dynamic_cast<TqlrCrossObject*>(loaded), nullptr);
    EXPECT_EQ(loaded->Name(), "qlrCrossObject1");
    EXPECT_EQ(owner.ComponentCount(), 1);
}
