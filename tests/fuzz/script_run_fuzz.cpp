// libFuzzer target: any bytes as a script, compiled and run with the
// standard library. The first byte picks the language. Each input has a
// time limit (a watchdog stops the run) and a memory budget (strings and
// arrays capped far below the defaults); files are out of reach and the
// user is never asked anything. A compile error, a run-time error or a
// stopped run are all fine; anything else the sanitizers see is a bug.

#include "platform/automation/value_limits.h"
#include "script/binding/file_access.h"
#include "script/binding/host_ui.h"
#include "script/library/standard_library.h"
#include "script/program/script.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace {

constexpr auto kTimeLimit = std::chrono::milliseconds(250);

// Answers nothing, shows nothing.
class SilentUi : public script::TfsHostUi {
public:
    void ShowMessage(const std::string&) override {}
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    int MessageDlg(const std::string&, int, int) override { return script::mrCancel; }
    void ShowError(const std::string&) override {}
};

// One thread that stops the run in progress once its time is up.
class Watchdog {
public:
    Watchdog() : thread_([this] { loop(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            quit_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void Start(script::TfsScript* s)
    {
        std::lock_guard<std::mutex> lock(m_);
        script_ = s;
        deadline_ = std::chrono::steady_clock::now() + kTimeLimit;
        cv_.notify_all();
    }
    void Stop()
    {
        std::lock_guard<std::mutex> lock(m_);
        script_ = nullptr;
    }

private:
    void loop()
    {
        std::unique_lock<std::mutex> lock(m_);
        while (!quit_) {
            if (!script_) {
                cv_.wait(lock);
                continue;
            }
            if (cv_.wait_until(lock, deadline_) == std::cv_status::timeout && script_ &&
                std::chrono::steady_clock::now() >= deadline_)
                script_->Terminate();
        }
    }
    std::mutex m_;
    std::condition_variable cv_;
    script::TfsScript* script_ = nullptr;
    std::chrono::steady_clock::time_point deadline_;
    bool quit_ = false;
    std::thread thread_;
};

void setUp()
{
    platform::valueLimits().maxStringBytes = std::size_t(1) << 20;
    platform::valueLimits().maxArrayElements = std::uint64_t(1) << 18;
    script::SetFileAccess(script::TfsFileAccess::None);
    static SilentUi ui;
    script::SetHostUi(&ui);
    script::InstallStandardLibrary();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = (setUp(), true);
    static Watchdog watchdog;
    (void)ready;
    if (size == 0)
        return 0;
    static const char* const kLanguages[] = {"PascalScript", "BasicScript", "JScript", "C++Script"};
    script::TfsScript s(&script::InstallStandardLibrary());
    s.SyntaxType = kLanguages[data[0] % 4];
    s.SetText(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    try {
        if (!s.Compile())
            return 0;
    } catch (const std::exception&) {
        return 0; // "#language" naming no language, a unit that cannot be read
    }
    watchdog.Start(&s);
    try {
        s.Execute();
    } catch (const std::exception&) {
    }
    watchdog.Stop();
    return 0;
}
