// A one-line English description of the operating system for game records and the "=" key,
// such as "Microsoft Windows XP Professional Service Pack 3 (Build 2600)".
#pragma once

#include <cstddef>
#include <cstdint>

// What Windows tells about itself, gathered by the Windows layer.
struct PlatformVersionInfo {
    // The version information could be read at all (GetVersionEx, extended or basic form).
    bool versionRead;
    // The extended form was read: suiteMask and productType are valid.
    bool extendedFields;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
    uint32_t platformId;
    char servicePack[128];
    uint16_t suiteMask;
    uint8_t productType;
    // The native processor architecture (6 Itanium, 9 x64).
    uint16_t processorArchitecture;
    // GetProductInfo exists, and the product type it gave.
    bool productInfoAvailable;
    uint32_t productInfoType;
    // GetSystemMetrics(SM_SERVERR2) is non-zero.
    bool serverR2;
    // The "ProductType" value under the ProductOptions key, needed only without the extended
    // fields; productOptionsRead is false when the key or the value could not be read or the
    // value was longer than the buffer.
    bool productOptionsRead;
    char productOptions[80];
    // The key of hotfix Q246009 (Service Pack 6a on NT 4.0) exists.
    bool hotfixQ246009;
};

// Fills `out` (zeroed first, at most size - 1 characters). False when the version information
// or, without the extended fields, the ProductOptions value is missing; the text built so far
// stays.
bool GetPlatformDescription(const PlatformVersionInfo& info, char* out, size_t size);

// The running system's description; provided once per platform.
bool GetPlatformDescription(char* out, size_t size);

// The description on other systems: "Linux 6.1.0-18-amd64 (x86_64)".
void DescribeOtherPlatform(const char* systemName, const char* release, const char* machine,
                           char* out, size_t size);
