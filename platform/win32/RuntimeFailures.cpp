// The C++ runtime's own failures (an allocation the system refused, a misused container) end the
// program the way every unexpected failure does, through EndOnFailure, and not by throwing: the program
// is built without exceptions, and so without the runtime's exception machinery.
#include <windows.h>

#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

#include "platform/Failure.h"

namespace {

void* Allocate(std::size_t size) noexcept { return std::malloc(size != 0 ? size : 1); }

void* AllocateOrEnd(std::size_t size) {
    if (void* memory = Allocate(size)) {
        return memory;
    }
    tarvolen::EndOnFailure("memory could not be allocated", ERROR_NOT_ENOUGH_MEMORY);
}

[[noreturn]] void EndOnMisuse(const char* what) { tarvolen::EndOnFailure(what, ERROR_INVALID_PARAMETER); }

}  // namespace

// The global allocation functions that the program and the runtime call. Only the forms that take no
// std::nothrow_t may end the program; those that do answer null, as they promise.
void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

// The runtime's helpers that would throw its exceptions, as <bits/functexcept.h> declares them: each of
// its archive member that holds them, and std::function's empty call, so that none of those members, and
// none of the exception classes they would construct, is ever linked.
namespace std {

void __throw_bad_exception() { EndOnMisuse("bad exception"); }
void __throw_bad_alloc() { tarvolen::EndOnFailure("memory could not be allocated", ERROR_NOT_ENOUGH_MEMORY); }
void __throw_bad_array_new_length() { tarvolen::EndOnFailure("array too long", ERROR_NOT_ENOUGH_MEMORY); }
void __throw_bad_cast() { EndOnMisuse("bad cast"); }
void __throw_bad_typeid() { EndOnMisuse("bad typeid"); }
void __throw_logic_error(const char* what) { EndOnMisuse(what); }
void __throw_domain_error(const char* what) { EndOnMisuse(what); }
void __throw_invalid_argument(const char* what) { EndOnMisuse(what); }
void __throw_length_error(const char* what) { EndOnMisuse(what); }
void __throw_out_of_range(const char* what) { EndOnMisuse(what); }
void __throw_out_of_range_fmt(const char* format, ...) { EndOnMisuse(format); }
void __throw_runtime_error(const char* what) { EndOnMisuse(what); }
void __throw_range_error(const char* what) { EndOnMisuse(what); }
void __throw_overflow_error(const char* what) { EndOnMisuse(what); }
void __throw_underflow_error(const char* what) { EndOnMisuse(what); }
void __throw_bad_function_call() { EndOnMisuse("an empty std::function was called"); }

}  // namespace std
