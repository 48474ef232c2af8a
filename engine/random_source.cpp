#include "engine/random_source.h"

#include <cstdlib>

namespace {
RandomFunction g_override = nullptr;
}

int DrawRandom() { return g_override ? g_override() : std::rand(); }

RandomSourceOverride::RandomSourceOverride(RandomFunction source) : previous_(g_override) { g_override = source; }

RandomSourceOverride::~RandomSourceOverride() { g_override = previous_; }
