#include "core/model/Schedule.h"

#include <tuple>

namespace {

auto Fields(const Schedule& s) {
    return std::make_tuple(s.kind, ToTicks(s.startTime), s.weekdayMask, s.monthMask, s.monthlyMode,
                           s.dayOfMonth, s.weekIndex, s.monthlyWeekday);
}

} // namespace

bool operator==(const Schedule& a, const Schedule& b) {
    return Fields(a) == Fields(b);
}

bool operator<(const Schedule& a, const Schedule& b) {
    return Fields(a) < Fields(b);
}

bool operator==(const ActionChoice& a, const ActionChoice& b) {
    return a.action == b.action && a.options == b.options;
}

bool operator<(const ActionChoice& a, const ActionChoice& b) {
    return std::tie(a.action, a.options) < std::tie(b.action, b.options);
}
