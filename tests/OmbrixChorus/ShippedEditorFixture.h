#pragma once

#include "EditorTestWindows.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <string>

// The shipped DLL as a host meets it in the Windows editor tests: loaded
// from disk by the tools' host for each test, its editor opened in one host
// window that the whole suite shares, and closed and unloaded after each
// test.
class ShippedEditorFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host = new HostWindow; }
    static void TearDownTestSuite()
    {
        delete host;
        host = nullptr;
    }

    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(plugin.Load(OMBRIX_CHORUS_PATH, error)) << error;
    }

    void TearDown() override
    {
        plugin.Dispatch(effEditClose);
        plugin.Unload();
    }

    HWND Item(int itemId) const { return GetDlgItem(host->Dialog(), itemId); }

    // The middle of an item in its client coordinates, with the pointer put
    // over it as a user's would be.
    POINT PointerToMiddle(int itemId) const
    {
        RECT client;
        GetClientRect(Item(itemId), &client);
        POINT middle = {client.right / 2, client.bottom / 2};
        POINT screen = middle;
        ClientToScreen(Item(itemId), &screen);
        SetCursorPos(screen.x, screen.y);
        return middle;
    }

    static inline HostWindow* host = nullptr;
    PluginHost plugin;
};
