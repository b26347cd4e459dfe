// Drives windows that run their own message loops (modal dialogs, property sheets, modeless
// loops) from inside those loops. A thread timer runs one step per tick; timer messages come
// only when no posted message is waiting, so each step sees everything the previous one
// caused. Waiting steps are bounded: when a bound passes the test fails and the rescue action
// ends the window, so every test ends on its own.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class MessageScript {
  public:
    using Action = std::function<void()>;
    using Condition = std::function<bool()>;

    // Ticks a waiting step may take (about 10 ms each) before the script gives up.
    static constexpr int kWaitTicks = 1500;

    MessageScript() = default;
    ~MessageScript() { Stop(); }
    MessageScript(const MessageScript&) = delete;
    MessageScript& operator=(const MessageScript&) = delete;

    MessageScript& Do(Action action) {
        steps_.push_back({std::move(action), nullptr, ""});
        return *this;
    }
    MessageScript& WaitFor(std::string what, Condition condition) {
        steps_.push_back({nullptr, std::move(condition), std::move(what)});
        return *this;
    }
    // Runs when a wait fails, or when all steps are done but the window still runs.
    MessageScript& Rescue(Action rescue) {
        rescue_ = std::move(rescue);
        return *this;
    }

    void Start() {
        Stop();
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 10, &Tick);
    }
    void Stop() {
        if (timer_ != 0) KillTimer(nullptr, timer_);
        timer_ = 0;
        if (active_ == this) active_ = nullptr;
    }

    // All steps ran and no wait failed.
    bool Completed() const { return next_ == steps_.size() && !gaveUp_; }

  private:
    struct Step {
        Action action;
        Condition condition;
        std::string what;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (active_ != nullptr) active_->Advance();
    }

    void Advance() {
        if (gaveUp_) return;
        if (next_ == steps_.size()) {
            // Done, but the loop under test still runs: it should have ended by now.
            if (++idleTicks_ > kWaitTicks) GiveUp("the window to close after the last step");
            return;
        }
        Step& step = steps_[next_];
        if (step.condition) {
            if (!step.condition()) {
                if (++waitTicks_ > kWaitTicks) GiveUp(step.what);
                return;
            }
            waitTicks_ = 0;
            ++next_;
            return;
        }
        // Advanced first: a step may run a nested loop that needs the steps after it.
        ++next_;
        step.action();
    }

    void GiveUp(const std::string& what) {
        gaveUp_ = true;
        ADD_FAILURE() << "gave up waiting for " << what;
        if (rescue_) rescue_();
    }

    static inline MessageScript* active_ = nullptr;
    std::vector<Step> steps_;
    Action rescue_;
    UINT_PTR timer_ = 0;
    std::size_t next_ = 0;
    int waitTicks_ = 0;
    int idleTicks_ = 0;
    bool gaveUp_ = false;
};
