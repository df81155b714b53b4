#pragma once

#include <QStringView>

#include <array>
#include <optional>

#include "values/Money.h"

// The tariff calculator's figures: what a stretch of online time cost in all, shared out per
// minute, once for the call's cost (frame 0) and once for an additive cost (frame 1); the total
// is the sum of the two per-minute figures. Each box's text comes in as typed; a time that
// cannot be a count of minutes is refused and leaves every figure as it was.
class CostCalculator
{
public:
    static constexpr int kFrames = 2;
    // The time boxes hold 16-bit counts: no frame spans more minutes than this.
    static constexpr int kMaxMinutes = 32767;

    // txtCost (frame 0) or txtAddCost (frame 1) changed. A text that is no amount keeps the
    // frame's figure until the box holds one again.
    void setCost(int frame, QStringView text);
    // txtHour(frame) or txtMinute(frame) changed. Returns false, and keeps the previous time,
    // for a text that is not a whole number of 0 or more, or a time beyond kMaxMinutes.
    // A time of no minutes has no figure: it keeps the one shown.
    bool setHours(int frame, QStringView text);
    bool setMinutes(int frame, QStringView text);

    int hours(int frame) const { return at(frame).hours; }
    int minutes(int frame) const { return at(frame).minutes; }
    // lblMinuteCost, lblMinuteAddCost and lblTotalCost.
    Money perMinute(int frame) const { return at(frame).perMinute; }
    Money total() const { return perMinute(0) + perMinute(1); }

private:
    struct Frame
    {
        std::optional<Money> cost = Money();
        int hours = 0;
        int minutes = 0;
        Money perMinute;
    };

    const Frame &at(int frame) const { return m_frames.at(std::size_t(frame)); }
    bool setTime(int frame, std::optional<int> hours, std::optional<int> minutes);
    void recalculate(Frame &frame);

    std::array<Frame, kFrames> m_frames{};
};
