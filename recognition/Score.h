#pragma once

#include "CapturedLine.h"

#include <QtGlobal>

#include <array>
#include <initializer_list>
#include <limits>
#include <stdexcept>

// A score leaving its 16-bit range is a run-time failure of the parse.
class ScoreOverflow : public std::overflow_error
{
public:
    ScoreOverflow() : std::overflow_error("score out of 16-bit range") {}
};

inline void AddPoints(qint16 &score, int points)
{
    const int sum = int(score) + points;
    if (sum > std::numeric_limits<qint16>::max() || sum < std::numeric_limits<qint16>::min())
        throw ScoreOverflow();
    score = qint16(sum);
}

// The points one rule gives to one field of a line.
struct FieldPoints
{
    qint16 CapturedLine::*field = nullptr;
    qint16 points = 0;
};

// A rule of the recognition: the fields it speaks for and how strongly, in the
// order they are added. The rules themselves are listed in ScoreRules.h.
class ScoreRule
{
public:
    static constexpr size_t MostFields = 5;

    constexpr ScoreRule(std::initializer_list<FieldPoints> points)
    {
        size_t k = 0;
        for (const FieldPoints &p : points)
            m_points.at(k++) = p; // more fields than room fails to compile
    }

    constexpr const std::array<FieldPoints, MostFields> &Points() const { return m_points; }

private:
    std::array<FieldPoints, MostFields> m_points{};
};

// Adds the rule's points to line. Inlined and unrolled, a rule from the table
// costs what writing its additions out by hand costs.
[[gnu::always_inline]] inline void Award(CapturedLine &line, const ScoreRule &rule)
{
#if defined(__GNUC__)
#pragma GCC unroll 5
#endif
    for (const FieldPoints &p : rule.Points()) {
        if (p.field == nullptr)
            break;
        AddPoints(line.*p.field, p.points);
    }
}
