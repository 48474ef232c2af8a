#pragma once

// Every random draw of the engine goes through DrawRandom(), which in the game
// is the runtime library's rand(), seeded once at start-up. The order and the
// number of draws decide which puzzle a seed gives, so nothing else may draw.
//
// Tests replace the source for a while with a scripted one (always 0, a
// recorded sequence) through RandomSourceOverride; the game never does. Like
// rand(), a source must return values that are never negative.
typedef int (*RandomFunction)();

int DrawRandom();

class RandomSourceOverride {
public:
    explicit RandomSourceOverride(RandomFunction source);
    ~RandomSourceOverride();
    RandomSourceOverride(const RandomSourceOverride&) = delete;
    RandomSourceOverride& operator=(const RandomSourceOverride&) = delete;

private:
    RandomFunction previous_;
};
