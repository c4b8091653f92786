#include "Batch.hpp"

#include "Engine/KeyScript.hpp"
#include "TextField.hpp"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <numeric>

namespace kelvo::term {
namespace {

using Clock = std::chrono::steady_clock;

// The key, then the views a host redraws after it.
InputEngine::Output handleAndRedraw(Session& session, const KeyInput& key) {
    auto output = session.handle(key);
    InputEngine& engine = session.engine();
    volatile bool drawn = !engine.preedit().isEmpty();
    drawn = engine.sheetView() ? true : engine.englishHintView().has_value();
    drawn = engine.feedback().has_value();
    (void)drawn;
    return output;
}

void reportTiming(std::vector<double> microseconds, std::ostream& errors) {
    if (microseconds.empty()) {
        errors << "keys=0\n";
        return;
    }
    std::sort(microseconds.begin(), microseconds.end());
    auto at = [&](double fraction) {
        auto index = static_cast<std::size_t>(fraction * static_cast<double>(microseconds.size() - 1));
        return microseconds[index];
    };
    double mean = std::accumulate(microseconds.begin(), microseconds.end(), 0.0) /
                  static_cast<double>(microseconds.size());
    errors << "keys=" << microseconds.size() << " mean_us=" << mean << " p50_us=" << at(0.5)
           << " p99_us=" << at(0.99) << " max_us=" << microseconds.back() << "\n";
}

} // namespace

int runBatch(std::istream& input, std::ostream& output, std::ostream& errors,
             const SharedResources& resources, const TermSettings& settings) {
    int status = 0;
    std::vector<double> timings;
    std::string line;
    for (int number = 1; std::getline(input, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto parsed = parseKeyScript(line);
        if (auto* message = std::get_if<std::string>(&parsed)) {
            errors << "kelvo-term: line " << number << ": " << *message << "\n";
            output << "\n";
            status = 1;
            continue;
        }
        Session session(resources, settings);
        TextField field;
        for (const KeyInput& key : std::get<std::vector<KeyInput>>(parsed)) {
            auto start = Clock::now();
            auto result = handleAndRedraw(session, key);
            if (settings.timing)
                timings.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            field.receive(key, result);
        }
        if (auto rest = session.flush()) field.insert(*rest);
        output << escapedLine(field.text()) << "\n";
    }
    if (settings.timing) reportTiming(std::move(timings), errors);
    if (!resources.save(errors)) status = 1;
    return status;
}

} // namespace kelvo::term
