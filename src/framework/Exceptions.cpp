#include "framework/Exceptions.h"

#ifdef _MSC_VER
#include <intrin.h>
#pragma intrinsic(_ReturnAddress)
#define SNQ_RETURN_ADDRESS() _ReturnAddress()
#define SNQ_NOINLINE __declspec(noinline)
#else
#define SNQ_RETURN_ADDRESS() __builtin_return_address(0)
#define SNQ_NOINLINE __attribute__((noinline))
#endif

namespace snq {

// Not inlined, so that the return address is the code that raised the error.
SNQ_NOINLINE EException::EException(std::u16string message)
    : message_(std::move(message)), address_(SNQ_RETURN_ADDRESS()) {}

} // namespace snq
