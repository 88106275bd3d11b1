#include "PlatformDescription.h"

#include "TextUtil.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformWindowsNT = 2;

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr uint8_t kServer = 3;

constexpr uint16_t kSuiteEnterprise = 0x2;
constexpr uint16_t kSuiteDatacenter = 0x80;
constexpr uint16_t kSuitePersonal = 0x200;
constexpr uint16_t kSuiteWeb = 0x400;

constexpr uint16_t kArchitectureItanium = 6;
constexpr uint16_t kArchitectureX64 = 9;

// The text builder: every piece is appended within the caller's buffer.
struct Description {
    char* out;
    size_t size;

    void Append(const char* piece) const { AppendBounded(out, size, piece); }
};

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

bool Has(const PlatformVersionInfo& info, uint16_t suite) {
    return (info.suiteMask & suite) != 0;
}

bool IsWorkstation(const PlatformVersionInfo& info) {
    return info.productType == kWorkstation;
}

// The service-pack letter that tells the later releases of the 95 family apart.
char ReleaseLetter(const PlatformVersionInfo& info) {
    return info.servicePack[0] != '\0' ? info.servicePack[1] : '\0';
}

void DescribeWindows9x(const PlatformVersionInfo& info, const Description& text) {
    if (info.majorVersion != 4) {
        return;
    }
    const char letter = ReleaseLetter(info);
    if (info.minorVersion == 0) {
        text.Append("Microsoft Windows 95 ");
        if (letter == 'C' || letter == 'B') {
            text.Append("OSR2 ");
        }
    } else if (info.minorVersion == 10) {
        text.Append("Microsoft Windows 98 ");
        if (letter == 'A' || letter == 'B') {
            text.Append("SE ");
        }
    } else if (info.minorVersion == 90) {
        text.Append("Microsoft Windows Millennium Edition");
    }
}

const char* EditionName(uint32_t productInfoType) {
    switch (productInfoType) {
    case 1:
        return "Ultimate Edition ";
    case 2:
        return "Home Basic Edition ";
    case 3:
        return "Home Premium Edition ";
    case 4:
    case 10:
        return "Enterprise Edition ";
    case 6:
        return "Business Edition ";
    case 7:
        return "Standard Edition ";
    case 8:
        return "Datacenter Edition ";
    case 9:
        return "Small Business Server ";
    case 11:
        return "Starter Edition ";
    case 12:
        return "Datacenter Edition (core installation) ";
    case 13:
        return "Standard Edition (core installation) ";
    case 14:
        return "Enterprise Edition (core installation) ";
    case 15:
        return "Enterprise Edition for Itanium-based Systems ";
    case 17:
        return "Web Server Edition ";
    case 18:
        return "Cluster Server Edition ";
    case 25:
        return "Small Business Server Premium Edition ";
    case 0x30:
        return "Professional ";
    case 0xABCDABCD:
        return "Unlicensed ";
    default:
        return "";
    }
}

void DescribeVersion6(const PlatformVersionInfo& info, const Description& text) {
    if (info.minorVersion == 0) {
        text.Append(IsWorkstation(info) ? "Windows Vista " : "Windows Server 2008 ");
    } else if (info.minorVersion == 1) {
        text.Append(IsWorkstation(info) ? "Windows 7 " : "Windows Server 2008 R2 ");
    } else {
        text.Append("Newer than Windows 7 ");
    }
    if (info.productInfoAvailable) {
        text.Append(EditionName(info.productInfoType));
    }
}

void DescribeVersion5(const PlatformVersionInfo& info, const Description& text) {
    if (info.minorVersion == 2) {
        if (info.serverR2) {
            text.Append("Microsoft Windows Server 2003 \"R2\" ");
        } else if (IsWorkstation(info) && info.processorArchitecture == kArchitectureX64) {
            text.Append("Microsoft Windows XP Professional x64 Edition ");
        } else {
            text.Append("Microsoft Windows Server 2003, ");
        }
    } else if (info.minorVersion == 1) {
        text.Append("Microsoft Windows XP ");
    } else if (info.minorVersion == 0) {
        text.Append("Microsoft Windows 2000 ");
    }
}

void DescribeNTVersion(const PlatformVersionInfo& info, const Description& text) {
    if (info.majorVersion >= 7) {
        text.Append("WNewer than Windows 7 ");
    } else if (info.majorVersion == 6) {
        DescribeVersion6(info, text);
    } else if (info.majorVersion == 5) {
        DescribeVersion5(info, text);
    } else {
        text.Append("Microsoft Windows NT ");
    }
}

const char* Server2003Edition(const PlatformVersionInfo& info) {
    const bool datacenter = Has(info, kSuiteDatacenter);
    const bool enterprise = Has(info, kSuiteEnterprise);
    if (info.processorArchitecture == kArchitectureItanium) {
        return datacenter   ? "Datacenter Edition for Itanium-based Systems"
               : enterprise ? "Enterprise Edition for Itanium-based Systems"
                            : "";
    }
    if (info.processorArchitecture == kArchitectureX64) {
        return datacenter   ? "Datacenter x64 Edition "
               : enterprise ? "Enterprise x64 Edition "
                            : "Standard x64 Edition ";
    }
    return datacenter             ? "Datacenter Edition "
           : enterprise           ? "Enterprise Edition "
           : Has(info, kSuiteWeb) ? "Web Edition "
                                  : "Standard Edition ";
}

const char* ServerEdition(const PlatformVersionInfo& info) {
    if (info.majorVersion == 5 && info.minorVersion == 2) {
        return Server2003Edition(info);
    }
    if (info.majorVersion == 5 && info.minorVersion == 0) {
        return Has(info, kSuiteDatacenter)   ? "Datacenter Server "
               : Has(info, kSuiteEnterprise) ? "Advanced Server "
                                             : "Server ";
    }
    return Has(info, kSuiteEnterprise) ? "Server 4.0, Enterprise Edition " : "Server 4.0 ";
}

// The product kind from the extended fields.
void DescribeProductKind(const PlatformVersionInfo& info, const Description& text) {
    if (IsWorkstation(info) && info.processorArchitecture != kArchitectureX64) {
        if (info.majorVersion == 4) {
            text.Append("Workstation 4.0 ");
        } else {
            text.Append(Has(info, kSuitePersonal) ? "Home Edition " : "Professional ");
        }
    } else if (info.productType == kDomainController || info.productType == kServer) {
        text.Append(ServerEdition(info));
    }
}

// The product kind of an early NT 4.0, from the registry; false when it could not be read.
bool DescribeProductOptions(const PlatformVersionInfo& info, const Description& text) {
    if (!info.productOptionsRead) {
        return false;
    }
    char productType[sizeof info.productOptions + 1];
    CopyBounded(productType, sizeof productType, info.productOptions);
    if (EqualsIgnoringCase(productType, "WINNT")) {
        text.Append("Workstation ");
    } else if (EqualsIgnoringCase(productType, "LANMANNT")) {
        text.Append("Server ");
    } else if (EqualsIgnoringCase(productType, "SERVERNT")) {
        text.Append("Advanced Server ");
    }
    char version[128];
    std::snprintf(version, sizeof version, "%u.%u ", static_cast<unsigned>(info.majorVersion),
                  static_cast<unsigned>(info.minorVersion));
    text.Append(version);
    return true;
}

// "Service Pack 3 (Build 2600)", formatted as one piece of at most 127 characters.
void DescribeServicePackAndBuild(const PlatformVersionInfo& info, const Description& text) {
    char piece[128];
    CopyBounded(piece, sizeof piece, info.servicePack);
    if (info.majorVersion == 4 && EqualsIgnoringCase(piece, "Service Pack 6") &&
        info.hotfixQ246009) {
        CopyBounded(piece, sizeof piece, "Service Pack 6a");
    }
    char build[16];
    std::snprintf(build, sizeof build, " (Build %u)", info.buildNumber & 0xFFFFu);
    AppendBounded(piece, sizeof piece, build);
    text.Append(piece);
}

bool DescribeWindowsNT(const PlatformVersionInfo& info, const Description& text) {
    DescribeNTVersion(info, text);
    if (info.extendedFields) {
        DescribeProductKind(info, text);
    } else if (!DescribeProductOptions(info, text)) {
        return false;
    }
    DescribeServicePackAndBuild(info, text);
    return true;
}

} // namespace

bool GetPlatformDescription(const PlatformVersionInfo& info, char* out, size_t size) {
    CopyBounded(out, size, "");
    if (!info.versionRead) {
        return false;
    }
    const Description text{out, size};
    switch (info.platformId) {
    case kPlatformWin32s:
        text.Append("Microsoft Win32s");
        return true;
    case kPlatformWindows9x:
        DescribeWindows9x(info, text);
        return true;
    case kPlatformWindowsNT:
        return DescribeWindowsNT(info, text);
    default:
        return true;
    }
}

void DescribeOtherPlatform(const char* systemName, const char* release, const char* machine,
                           char* out, size_t size) {
    CopyBounded(out, size, systemName);
    if (release && release[0] != '\0') {
        AppendBounded(out, size, " ");
        AppendBounded(out, size, release);
    }
    if (machine && machine[0] != '\0') {
        AppendBounded(out, size, " (");
        AppendBounded(out, size, machine);
        AppendBounded(out, size, ")");
    }
}
