#include "plot/core/host_failure_text.h"

#include "platform/automation/dispatch_exception.h"
#include "plot/core/host_evaluation.h"
#include "plot/core/se_exception.h"

#include <charconv>
#include <new>

namespace halvex {

namespace {

std::string OleFailure(std::int32_t status)
{
    char hex[16];
    auto [end, ec] = std::to_chars(hex, hex + sizeof hex, std::uint32_t(status), 16);
    (void)ec;
    return "Caught Ole Exception code is " + std::string(hex, end) + ".";
}

} // namespace

std::string HostFailureText()
{
    try {
        throw;
    } catch (const platform::DispatchException& e) {
        return e.description();
    } catch (const SE_Exception& e) {
        return std::string(e.name());
    } catch (const HostMessage& e) {
        return e.what();
    } catch (const std::bad_alloc&) {
        return OleFailure(platform::status::OutOfMemory);
    } catch (...) {
        return "Unknown error";
    }
}

} // namespace halvex
