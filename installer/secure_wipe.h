// Overwriting secrets before their storage is given back.
#pragma once

#include <cstddef>
#include <string>

// Sets `size` bytes at `data` to zero through volatile stores, which the
// compiler may not drop even when the storage is freed right after.
void SecureWipe(void* data, std::size_t size) noexcept;

// Zeroes every character of `text`; its length is kept.
template <typename Char>
void SecureWipe(std::basic_string<Char>& text) noexcept
{
    SecureWipe(text.data(), text.size() * sizeof(Char));
}
