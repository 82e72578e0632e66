#include "installer/secure_wipe.h"

void SecureWipe(void* data, std::size_t size) noexcept
{
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = 0;
    }
}
