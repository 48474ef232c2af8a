#pragma once

#include <cstdint>

// Deterministic stand-ins for rand(), to be installed with
// RandomSourceOverride. Each counts its calls, so a test can tell how many
// draws a computation made.
namespace scripted {

// The linear congruential generator of the Windows C runtime: the same
// sequence on every platform, values 0..32767.
void SeedLcg(uint32_t seed);
int Lcg();

int Zero();

// Always the value given to SetConstant.
void SetConstant(int value);
int Constant();

// The values given to SetSequence, in order, then zeros.
void SetSequence(const int* values, int count);
int Sequence();

// Draws made by any of the sources above since the last ResetDraws.
long Draws();
void ResetDraws();

}  // namespace scripted
