#include "common/RealClock.h"

#include <utility>

namespace RealClock {
namespace {

std::function<TDateTime()>& source() {
    static std::function<TDateTime()> current;
    return current;
}

}  // namespace

TDateTime now() {
    const auto& injected = source();
    return injected ? injected() : DateTime::fromQDateTime(QDateTime::currentDateTime());
}

std::int64_t nowMSecsSinceEpoch() {
    const auto& injected = source();
    return injected ? DateTime::toQDateTime(injected()).toMSecsSinceEpoch()
                    : QDateTime::currentMSecsSinceEpoch();
}

void setSource(std::function<TDateTime()> newSource) {
    source() = std::move(newSource);
}

}  // namespace RealClock
