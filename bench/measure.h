// What both benchmarks measure the same way: clocks, medians, the table's rows, and the model's own costs.
#pragma once
#include "app/frmcirculo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace measure {

using Clock = std::chrono::steady_clock;

inline double micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

inline double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Services that show and open nothing.
struct Silent {
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::RecordedFocus focus;
    Services services() { return {messages, addresses, focus}; }
};

// A row of the table: the figure, its baseline (none when 0) and their ratio.
inline void row(const char* what, double value, const char* unit, double baseline)
{
    if (baseline > 0)
        std::printf("| %-36s | %10.2f %-3s | %10.2f %-3s | %6.2f |\n", what, value, unit, baseline, unit,
                    value / baseline);
    else
        std::printf("| %-36s | %10.2f %-3s | %14s | %6s |\n", what, value, unit, "-", "-");
}

// The median of `sweeps` runs of the handler over all 360 angles, per angle, in microseconds.
inline double angleChanges(frmcirculo& form, int sweeps)
{
    std::vector<double> each;
    for (int sweep = 0; sweep < sweeps; ++sweep) {
        const auto t0 = Clock::now();
        for (int a = 1; a <= 360; ++a)
            form.brangulo.setValue(std::int16_t(a % 360));
        each.push_back(micros(Clock::now() - t0) / 360);
    }
    return median(each);
}

} // namespace measure
