#pragma once

#include <QtGlobal>

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
