// The numbers in settings values: read as the C scanner's "%d" would, but
// without its undefined behaviour on numbers that do not fit, and written in
// the form the program has always stored.
#pragma once

#include <cstdint>
#include <string>

// Skips leading white space, reads an optional sign and at least one decimal
// digit, and ignores whatever follows the digits ("12px" reads as 12). False,
// with *value untouched, when the text does not start with a number or the
// number lies outside the 32-bit signed range: the caller then keeps its default.
bool ParseProfileInteger(const std::u16string& text, std::int32_t* value);
// The number in decimal, a minus sign before a negative one.
std::u16string ProfileIntegerText(std::int32_t value);
