#include "suites/fault_injector.h"

namespace plurion::host {

void FaultInjector::fail(const std::string& function, int nth, PF_Err error) {
    std::lock_guard lock(mutex_);
    plans_[function] = Plan{calls_[function] + nth, error, std::nullopt};
}

void FaultInjector::answer(const std::string& function, int nth, std::int64_t value) {
    std::lock_guard lock(mutex_);
    plans_[function] = Plan{calls_[function] + nth, PF_Err_NONE, value};
}

void FaultInjector::clear() {
    std::lock_guard lock(mutex_);
    plans_.clear();
    calls_.clear();
}

PF_Err FaultInjector::check(const std::string& function) {
    std::optional<std::int64_t> unused;
    return check(function, unused);
}

PF_Err FaultInjector::check(const std::string& function, std::optional<std::int64_t>& answer) {
    std::lock_guard lock(mutex_);
    const int call = ++calls_[function];
    const auto plan = plans_.find(function);
    if (plan != plans_.end() && plan->second.nth == call) {
        answer = plan->second.answer;
        return plan->second.error;
    }
    return PF_Err_NONE;
}

int FaultInjector::calls(const std::string& function) const {
    std::lock_guard lock(mutex_);
    const auto found = calls_.find(function);
    return found == calls_.end() ? 0 : found->second;
}

} // namespace plurion::host
