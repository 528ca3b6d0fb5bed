// Why a file step failed, in the user's words: the platform's error codes that a copy or a
// removal meets most, and the platform's own text for any other.
#pragma once
#include <cstddef>
#include <cstdint>

// Platform error codes the installer tells apart.
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorNotEnoughMemory = 8;
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorLockViolation = 33;
constexpr std::uint32_t kErrorHandleDiskFull = 39;
constexpr std::uint32_t kErrorDiskFull = 112;
// "Already there": a folder to create, or a file to move onto.
constexpr std::uint32_t kErrorFileExists = 80;
constexpr std::uint32_t kErrorAlreadyExists = 183;

// The platform's own text for an error, where it has one: fills out (size bytes) and returns
// true, or returns false.
using PlatformErrorText = bool (*)(std::uint32_t error, char* out, std::size_t size);

// One sentence for `error` into out: our own for the codes above (a missing file is named as
// missing from `missingWhat`, e.g. "the installation medium"), else the platform's text, else
// "Error N.".
void DescribeError(std::uint32_t error, const char* missingWhat, PlatformErrorText platformText, char* out,
                   std::size_t size);

// Appends text to the NUL-terminated buffer out (size bytes) when it fits whole; false and out
// unchanged otherwise.
bool AppendText(char* out, std::size_t size, const char* text);
// The same for a number's decimal digits.
bool AppendNumber(char* out, std::size_t size, std::uint32_t value);
