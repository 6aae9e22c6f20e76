#pragma once

#include "browser/grid/GridClock.h"

#include <map>
#include <utility>

// Time that moves only when the test says so; due calls run in order as it passes them.
class FakeGridClock final : public GridClock {
public:
    double now() const override { return now_; }
    Token callAfter(double seconds, std::function<void()> function) override
    {
        calls_.emplace(std::make_pair(now_ + seconds, ++lastToken_), std::move(function));
        return lastToken_;
    }
    void cancel(Token token) override
    {
        std::erase_if(calls_, [&](const auto& call) { return call.first.second == token; });
    }
    void advance(double seconds)
    {
        const double end = now_ + seconds;
        while (!calls_.empty() && calls_.begin()->first.first <= end) {
            auto call = calls_.extract(calls_.begin());
            now_ = std::max(now_, call.key().first);
            call.mapped()();
        }
        now_ = end;
    }
    size_t pending() const { return calls_.size(); }

private:
    double now_ = 100;
    Token lastToken_ = 0;
    std::map<std::pair<double, Token>, std::function<void()>> calls_;
};
