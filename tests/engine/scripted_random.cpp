#include "tests/engine/scripted_random.h"

namespace scripted {

namespace {
uint32_t g_lcgState = 0;
int g_constant = 0;
const int* g_sequence = nullptr;
int g_sequenceLength = 0;
int g_sequenceNext = 0;
long g_draws = 0;
}  // namespace

void SeedLcg(uint32_t seed) { g_lcgState = seed; }

int Lcg()
{
    ++g_draws;
    g_lcgState = g_lcgState * 214013u + 2531011u;
    return static_cast<int>((g_lcgState >> 16) & 0x7FFF);
}

int Zero()
{
    ++g_draws;
    return 0;
}

void SetConstant(int value) { g_constant = value; }

int Constant()
{
    ++g_draws;
    return g_constant;
}

void SetSequence(const int* values, int count)
{
    g_sequence = values;
    g_sequenceLength = count;
    g_sequenceNext = 0;
}

int Sequence()
{
    ++g_draws;
    return g_sequenceNext < g_sequenceLength ? g_sequence[g_sequenceNext++] : 0;
}

long Draws() { return g_draws; }

void ResetDraws() { g_draws = 0; }

}  // namespace scripted
