// The process-wide random generator and the checked rounding rules.
#pragma once

#include <cstdint>
#include <functional>

// Nearest integer, halves to the even neighbour. Throws ModelError for NaN,
// infinities and results outside int32_t.
std::int32_t Round(double v);
// Toward zero, with the same checks.
std::int32_t Trunc(double v);

// One state for the whole process: generation, trees and clouds share it.
void set_seed(std::uint32_t s);
std::uint32_t seed();
double Random();                       // steps the seed, then seed * 2^-32
std::uint32_t Random(std::uint32_t m);  // steps the seed, then high 32 bits of seed * m
void Randomize();                      // seeds from the UTC time of day in milliseconds

// Makes Randomize read the given UTC time of day (milliseconds since midnight);
// an empty function restores the real clock.
void set_clock_for_tests(std::function<std::uint32_t()> ms_of_day);
