// ui_driver.hpp - the scripted user for tests: the operations of the
// script's window commands (panel, text, click, spin, slide, choose, key,
// hold, answer, print, expect, picture) on the addressed window, which is
// an open modal dialog first, else the window chosen with address() or
// panel().
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/user_agent.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"
#include "platform/window.hpp"

namespace vtgtest {

class UiDriver {
public:
    explicit UiDriver(hostapp::UserAgent* user = nullptr) : user_(user) {}

    void address(platform::WindowId window) { window_ = window; }
    bool panel(const std::string& name) {
        window_ = platform::FindNamedWindow(name);
        return window_ != 0;
    }
    platform::WindowId addressed() const {
        platform::WindowId modal = platform::CurrentModalDialog();
        return modal != 0 ? modal : window_;
    }
    // The control `id` of the addressed window (a test failure when missing).
    platform::WindowId control(int id) const {
        platform::WindowId c = platform::FindDescendant(addressed(), id);
        EXPECT_NE(c, 0u) << "no control " << id;
        return c;
    }

    // Each gesture returns the reason it could not be done, empty on success.
    std::string text(int id, const std::string& text) {
        return platform::user::Type(control(id), text);
    }
    std::string click(int id) { return platform::user::Click(control(id)); }
    std::string spin(int id, bool up) { return platform::user::Spin(control(id), up ? 1 : -1); }
    std::string slide(int id, int position) { return platform::user::Slide(control(id), position); }
    std::string choose(int id, int index) { return platform::user::Choose(control(id), index); }
    std::string doubleClick(int id, int index) {
        return platform::user::DoubleClickItem(control(id), index);
    }
    std::string dragItem(int id, int from, int to) {
        return platform::user::DragItem(control(id), from, to);
    }
    std::string key(const std::string& key) {
        platform::WindowId target = addressed();
        for (platform::WindowId f = platform::GetFocus(); f != 0; f = platform::GetParent(f))
            if (f == addressed()) {
                target = platform::GetFocus();
                break;
            }
        return platform::user::Key(target, key);
    }
    void hold(bool alt, bool ctrl, bool shift) {
        platform::SetKeyDown(platform::Modifier::Alt, alt);
        platform::SetKeyDown(platform::Modifier::Ctrl, ctrl);
        platform::SetKeyDown(platform::Modifier::Shift, shift);
    }
    void answer(hostapp::Answer::Kind kind, const std::string& text = "") {
        ASSERT_NE(user_, nullptr);
        user_->queue({kind, text});
    }
    std::string print(int id) const { return platform::user::Shown(control(id)); }
    ::testing::AssertionResult expect(int id, const std::string& shown) const {
        std::string actual = print(id);
        if (actual == shown)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "control " << id << " shows \"" << actual << "\", not \"" << shown << "\"";
    }
    // The SVG picture of control `id`, or of the addressed window for 0.
    std::string picture(int id = 0) const {
        return platform::RenderSvg(id == 0 ? addressed() : control(id));
    }
    // A step for the next modal loop.
    void then(std::function<void(UiDriver&)> step) {
        platform::QueueUserInput([this, step] { step(*this); });
    }

private:
    hostapp::UserAgent* user_;
    platform::WindowId window_ = 0;
};

} // namespace vtgtest
