#include "foundation/flash/flash_server_event.h"

#include <gtest/gtest.h>

namespace {

TEST(FlashServerEventTest, PresentOnlyWhileTheServerHoldsItsEvent)
{
    EXPECT_STREQ(L"Local\\evt_vxFlashServerGlobal", t_flashServerEvent().Name());
    EXPECT_FALSE(t_flashServerEvent().IsPresent());

    HANDLE server = CreateEventW(nullptr, TRUE, FALSE, t_flashServerEvent::c_eventName);
    ASSERT_NE(nullptr, server);
    {
        t_flashServerEvent probe;
        EXPECT_TRUE(probe.IsPresent());
    }
    // The probe kept no handle: closing the server's one removes the event.
    CloseHandle(server);
    EXPECT_FALSE(t_flashServerEvent().IsPresent());
    EXPECT_EQ(nullptr, OpenEventW(SYNCHRONIZE, FALSE, t_flashServerEvent::c_eventName));
}

}  // namespace
