// A scripted Host for tests: message boxes and dialogs are answered from
// queues, and everything shown or played is recorded.
#pragma once

#include "platform/Host.h"

#include <deque>
#include <functional>
#include <vector>

class FakeHost : public platform::Host {
public:
    // Answers, taken in order; when a queue is empty the defaults apply.
    std::deque<platform::MsgAnswer> Answers;          // default: Ok / Yes
    std::deque<std::optional<QString>> OpenAnswers;   // default: cancel
    std::deque<std::optional<QString>> SaveAnswers;   // default: cancel
    std::deque<std::optional<int32_t>> ColorAnswers;  // default: cancel
    std::deque<int32_t> FilterAnswers;  // the filter pair a chosen file comes with; default: the one asked for

    // What happened.
    std::vector<platform::MessageBox> Messages;
    std::vector<platform::FileDialogRequest> OpenRequests;
    std::vector<platform::FileDialogRequest> SaveRequests;
    std::vector<QByteArray> Played;
    std::vector<QString> Urls;
    int DoEventsCalls = 0;
    bool Busy = false;
    bool Quitting = false;  // set by Quit; DoEvents then runs nothing more

    QSize Screen{1920, 1080};
    double Monotonic = 0.0;   // advanced by tests, or by MonotonicStep per call
    double MonotonicStep = 0.0;
    double Time = 43200.0;    // time of day, seconds
    std::function<void()> OnDoEvents;  // runs inside DoEvents
    std::function<void(const platform::MessageBox&)> OnMessage;  // runs while a box is shown

    platform::MsgAnswer ShowMessage(const platform::MessageBox& box) override {
        Messages.push_back(box);
        if (OnMessage) OnMessage(box);
        if (!Answers.empty()) {
            const auto a = Answers.front();
            Answers.pop_front();
            return a;
        }
        return box.Buttons == platform::MsgButtons::YesNo || box.Buttons == platform::MsgButtons::YesNoCancel
                   ? platform::MsgAnswer::Yes
                   : platform::MsgAnswer::Ok;
    }
    std::optional<platform::FileDialogAnswer> ShowOpenFile(const platform::FileDialogRequest& request) override {
        OpenRequests.push_back(request);
        return Answer(Pop(OpenAnswers), request);
    }
    std::optional<platform::FileDialogAnswer> ShowSaveFile(const platform::FileDialogRequest& request) override {
        SaveRequests.push_back(request);
        return Answer(Pop(SaveAnswers), request);
    }
    std::optional<int32_t> ShowColor(int32_t initial, bool fullOpen, std::array<int32_t, 16>& custom) override {
        LastColorInitial = initial;
        LastColorFullOpen = fullOpen;
        LastCustomColors = custom;
        return Pop(ColorAnswers);
    }
    void PlaySound(const QByteArray& wave) override { Played.push_back(wave); }
    double MonotonicSeconds() override {
        Monotonic += MonotonicStep;
        return Monotonic;
    }
    double TimeOfDay() override { return Time; }
    QSize ScreenSize() override { return Screen; }
    bool DoEvents() override {
        ++DoEventsCalls;
        if (Quitting) return false;
        if (OnDoEvents) OnDoEvents();
        return !Quitting;
    }
    void Quit() override { Quitting = true; }
    void SetBusyPointer(bool busy) override { Busy = busy; }
    void OpenUrl(const QString& url) override { Urls.push_back(url); }

    int32_t LastColorInitial = -1;
    bool LastColorFullOpen = false;
    std::array<int32_t, 16> LastCustomColors{};

private:
    std::optional<platform::FileDialogAnswer> Answer(const std::optional<QString>& path,
                                                     const platform::FileDialogRequest& request) {
        if (!path) return std::nullopt;
        int32_t filter = request.FilterIndex > 0 ? request.FilterIndex : 1;
        if (!FilterAnswers.empty()) {
            filter = FilterAnswers.front();
            FilterAnswers.pop_front();
        }
        return platform::FileDialogAnswer{*path, filter};
    }

    template <typename T>
    static std::optional<T> Pop(std::deque<std::optional<T>>& q) {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};
