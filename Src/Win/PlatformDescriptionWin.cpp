// Gathers what Windows tells about itself for the description of the running system. Functions
// that older systems lack are looked up at run time.
#include "PlatformDescription.h"

#include "TextUtil.h"

#include <windows.h>

namespace {

constexpr char kProductOptionsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr char kProductTypeValue[] = "ProductType";
constexpr char kHotfixQ246009Key[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";
// GetSystemMetrics index telling Windows Server 2003 R2.
constexpr int kServerR2Metric = 89;

using GetNativeSystemInfoFunction = void(WINAPI*)(LPSYSTEM_INFO);
using GetProductInfoFunction = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);

template <typename Function> Function LookUpKernel32(const char* name) {
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    FARPROC address = hKernel ? GetProcAddress(hKernel, name) : nullptr;
    // Through the generic function type, which stands for any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// The extended version information, or the basic one when the system knows only that.
void ReadVersion(PlatformVersionInfo& info) {
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    info.extendedFields = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != FALSE;
    if (!info.extendedFields) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
            return;
        }
    }
    info.versionRead = true;
    info.majorVersion = version.dwMajorVersion;
    info.minorVersion = version.dwMinorVersion;
    info.buildNumber = version.dwBuildNumber;
    info.platformId = version.dwPlatformId;
    CopyBounded(info.servicePack, sizeof info.servicePack, version.szCSDVersion);
    if (info.extendedFields) {
        info.suiteMask = version.wSuiteMask;
        info.productType = version.wProductType;
    }
}

void ReadProcessorArchitecture(PlatformVersionInfo& info) {
    SYSTEM_INFO system = {};
    if (auto getNativeSystemInfo =
            LookUpKernel32<GetNativeSystemInfoFunction>("GetNativeSystemInfo")) {
        getNativeSystemInfo(&system);
    } else {
        GetSystemInfo(&system);
    }
    info.processorArchitecture = system.wProcessorArchitecture;
}

void ReadProductInfo(PlatformVersionInfo& info) {
    auto getProductInfo = LookUpKernel32<GetProductInfoFunction>("GetProductInfo");
    DWORD type = 0;
    info.productInfoAvailable =
        getProductInfo &&
        getProductInfo(info.majorVersion, info.minorVersion, 0, 0, &type) != FALSE;
    info.productInfoType = type;
}

// False when the key cannot be opened, the value cannot be read or it does not fit.
bool ReadProductOptions(char (&productType)[80]) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductOptionsKey, 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD size = sizeof productType;
    const LONG result = RegQueryValueExA(hKey, kProductTypeValue, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(productType), &size);
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

bool KeyExists(HKEY hRoot, const char* path) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hRoot, path, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(hKey);
    return true;
}

} // namespace

bool GetPlatformDescription(char* out, size_t size) {
    PlatformVersionInfo info = {};
    ReadVersion(info);
    if (info.versionRead) {
        ReadProcessorArchitecture(info);
        ReadProductInfo(info);
        info.serverR2 = GetSystemMetrics(kServerR2Metric) != 0;
        // The registry is asked only where the description needs it: the product kind of an
        // early NT 4.0 and the hotfix that makes its Service Pack 6 a 6a.
        info.productOptionsRead = !info.extendedFields && ReadProductOptions(info.productOptions);
        info.hotfixQ246009 =
            info.majorVersion == 4 && KeyExists(HKEY_LOCAL_MACHINE, kHotfixQ246009Key);
    }
    return GetPlatformDescription(info, out, size);
}
