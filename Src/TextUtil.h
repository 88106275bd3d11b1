// Bounded string handling for the fixed char buffers the program keeps its texts in.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies at most size - 1 characters of `text` into `out`, then zero-fills the rest of it.
void CopyBounded(char* out, size_t size, const char* text);

// Appends `piece` while the whole text stays at most size - 1 characters, cuts what does not
// fit and zero-fills the rest of the buffer. Does nothing when the text already fills it.
void AppendBounded(char* out, size_t size, const char* piece);

// The C library's reading of a leading decimal number, without its undefined corners: white
// space, an optional sign, digits; no digits gives 0. Out-of-range values saturate.
int32_t ParseSigned32(const char* text);
// As strtoul on a 32-bit unsigned long: a minus sign negates modulo 2^32, overflow gives the
// largest value.
uint32_t ParseUnsigned32(const char* text);

bool IsCSpace(char c);
