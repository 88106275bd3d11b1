// The system description of game records, for every kind of Windows it tells apart.
#include "PlatformDescription.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Info = PlatformVersionInfo;

// Product types: workstation, domain controller, server; suites; processor architectures.
constexpr uint8_t kWs = 1, kDc = 2, kSv = 3;
constexpr uint16_t kEnt = 0x2, kDtc = 0x80, kPersonal = 0x200, kWeb = 0x400;
constexpr uint16_t kItanium = 6, kX64 = 9;

Info NT(uint32_t major, uint32_t minor, uint32_t build, const char* servicePack,
        uint8_t productType, uint16_t suite = 0, uint16_t architecture = 0) {
    // Every field in order: read, extended, version and platform, service pack, suite, product
    // type, architecture, product info, R2, ProductOptions, hotfix.
    Info info{true,        true,         major, minor, build, 2,     {}, suite,
              productType, architecture, false, 0,     false, false, {}, false};
    std::snprintf(info.servicePack, sizeof info.servicePack, "%s", servicePack);
    return info;
}

template <typename T> Info Set(Info info, T Info::*field, T value) {
    info.*field = value;
    return info;
}

Info Win9x(uint32_t minor, const char* servicePack) {
    return Set(NT(4, minor, 0x040A08AE, servicePack, 0), &Info::platformId, 1u);
}

// NT 4.0 before Service Pack 4: the product kind comes from the ProductOptions value, if read.
Info EarlyNT4(const char* productOptions) {
    Info info = Set(NT(4, 0, 1381, "SP3", 0), &Info::extendedFields, false);
    info.productOptionsRead = productOptions != nullptr;
    std::snprintf(info.productOptions, sizeof info.productOptions, "%s",
                  productOptions ? productOptions : "");
    return info;
}

// A value that fills its buffer, without a terminating NUL.
Info FullProductOptions() {
    Info info = EarlyNT4("");
    std::fill(std::begin(info.productOptions), std::end(info.productOptions), 'W');
    return info;
}

Info Hotfix(Info info) {
    return Set(info, &Info::hotfixQ246009, true);
}

Info Product(Info info, uint32_t productInfoType) {
    return Set(Set(info, &Info::productInfoAvailable, true), &Info::productInfoType,
               productInfoType);
}

std::string Describe(const Info& info, bool& ok) {
    char out[256];
    ok = GetPlatformDescription(info, out, sizeof out);
    return out;
}

TEST(PlatformDescription, EveryKindOfWindows) {
    const std::string ms = "Microsoft Windows ", nt = ms + "NT ", nt4 = nt + "Workstation 4.0 ";
    const std::string s2008 = "Windows Server 2008 ", newer = "WNewer than Windows 7 ";
    struct Case {
        Info info;
        std::string text;
        bool ok = true;
    };
    std::vector<Case> cases = {
        {Set(NT(5, 1, 2600, "SP3", kWs), &Info::versionRead, false), "", false},
        {Set(Win9x(0, ""), &Info::platformId, 0u), "Microsoft Win32s"},
        {Set(Win9x(0, ""), &Info::platformId, 3u), ""},
        {Win9x(0, ""), ms + "95 "},
        {Win9x(0, " A"), ms + "95 "},
        {Win9x(0, " B"), ms + "95 OSR2 "},
        {Win9x(0, " C"), ms + "95 OSR2 "},
        {Win9x(10, ""), ms + "98 "},
        {Win9x(10, " A "), ms + "98 SE "},
        {Win9x(10, " B"), ms + "98 SE "},
        {Win9x(10, " C"), ms + "98 "},
        {Win9x(90, " "), ms + "Millennium Edition"},
        {Set(Win9x(0, " C"), &Info::majorVersion, 5u), ""},
        {NT(4, 0, 1381, "SP6", kWs), nt4 + "SP6 (Build 1381)"},
        {NT(4, 0, 1381, "SP5", kSv), nt + "Server 4.0 SP5 (Build 1381)"},
        {NT(4, 0, 1381, "SP5", kDc), nt + "Server 4.0 SP5 (Build 1381)"},
        {NT(4, 0, 1381, "SP5", kSv, kEnt), nt + "Server 4.0, Enterprise Edition SP5 (Build 1381)"},
        {NT(4, 0, 1381, "", 0), nt + " (Build 1381)"},
        // Service Pack 6a is told by its hotfix, on NT 4.0 only.
        {NT(4, 0, 1381, "service pack 6", kWs), nt4 + "service pack 6 (Build 1381)"},
        {Hotfix(NT(4, 0, 1381, "service pack 6", kWs)), nt4 + "Service Pack 6a (Build 1381)"},
        {Hotfix(NT(4, 0, 1381, "Service Pack 5", kWs)), nt4 + "Service Pack 5 (Build 1381)"},
        {Hotfix(NT(5, 0, 2195, "Service Pack 6", kWs)),
         ms + "2000 Professional Service Pack 6 (Build 2195)"},
        {EarlyNT4("WINNT"), nt4 + "SP3 (Build 1381)"},
        {EarlyNT4("LanmanNT"), nt + "Server 4.0 SP3 (Build 1381)"},
        {EarlyNT4("ServerNT"), nt + "Advanced Server 4.0 SP3 (Build 1381)"},
        {EarlyNT4("WINNTX"), nt + "4.0 SP3 (Build 1381)"},
        {FullProductOptions(), nt + "4.0 SP3 (Build 1381)"},
        {EarlyNT4(nullptr), nt, false},
        {NT(5, 0, 2195, "SP4", kWs), ms + "2000 Professional SP4 (Build 2195)"},
        {NT(5, 0, 2195, "SP4", kSv), ms + "2000 Server SP4 (Build 2195)"},
        {NT(5, 0, 2195, "SP4", kSv, kEnt), ms + "2000 Advanced Server SP4 (Build 2195)"},
        {NT(5, 0, 2195, "SP4", kDc, kDtc | kEnt), ms + "2000 Datacenter Server SP4 (Build 2195)"},
        {NT(5, 1, 2600, "SP3", kWs), ms + "XP Professional SP3 (Build 2600)"},
        {NT(5, 1, 2600, "SP3", kWs, kPersonal), ms + "XP Home Edition SP3 (Build 2600)"},
        {NT(5, 2, 3790, "SP2", kWs, 0, kX64), ms + "XP Professional x64 Edition SP2 (Build 3790)"},
        {Set(NT(5, 2, 3790, "SP2", kSv, kEnt), &Info::serverR2, true),
         ms + "Server 2003 \"R2\" Enterprise Edition SP2 (Build 3790)"},
        {Product(NT(6, 0, 6002, "SP2", kWs), 3),
         "Windows Vista Home Premium Edition Professional SP2 (Build 6002)"},
        {Product(NT(6, 0, 6002, "SP2", kWs, kPersonal, kX64), 6),
         "Windows Vista Business Edition SP2 (Build 6002)"},
        {Product(NT(6, 0, 6002, "SP2", kSv), 7),
         s2008 + "Standard Edition Server 4.0 SP2 (Build 6002)"},
        {Product(NT(6, 0, 6001, "", kSv, kEnt), 10),
         s2008 + "Enterprise Edition Server 4.0, Enterprise Edition  (Build 6001)"},
        {NT(6, 1, 7601, "SP1", kWs, kPersonal), "Windows 7 Home Edition SP1 (Build 7601)"},
        {Product(NT(6, 1, 7601, "SP1", kSv, kDtc, kX64), 8),
         s2008 + "R2 Datacenter Edition Server 4.0 SP1 (Build 7601)"},
        {Product(NT(6, 2, 9200, "", kWs, 0, kX64), 0x30),
         "Newer than Windows 7 Professional  (Build 9200)"},
        // Version 10 and later: no edition lookup.
        {Product(NT(10, 0, 19045, "", kWs, 0, kX64), 0x30), newer + " (Build 19045)"},
        {NT(10, 0, 19045, "", kWs), newer + "Professional  (Build 19045)"},
        {NT(10, 0, 17763, "", kDc, kEnt, kX64),
         newer + "Server 4.0, Enterprise Edition  (Build 17763)"},
        // The build is the low 16 bits; service pack and build form one piece of 127 characters.
        {NT(5, 1, 0x05010A28, "", kWs), ms + "XP Professional  (Build 2600)"},
        {NT(5, 1, 2600, std::string(120, 's').c_str(), kWs),
         ms + "XP Professional " + std::string(120, 's') + " (Build"},
    };
    // Every edition of Windows Server 2003: suite, architecture, edition.
    using Server2003 = std::tuple<uint16_t, uint16_t, const char*>;
    for (auto [suite, architecture, edition] :
         {Server2003{0, 0, "Standard Edition "}, Server2003{kEnt, 0, "Enterprise Edition "},
          Server2003{kDtc | kEnt, 0, "Datacenter Edition "}, Server2003{kWeb, 0, "Web Edition "},
          Server2003{kEnt | kWeb, 0, "Enterprise Edition "},
          Server2003{0, kX64, "Standard x64 Edition "},
          Server2003{kEnt, kX64, "Enterprise x64 Edition "},
          Server2003{kDtc, kX64, "Datacenter x64 Edition "}, Server2003{0, kItanium, ""},
          Server2003{kWeb, kItanium, ""},
          Server2003{kEnt, kItanium, "Enterprise Edition for Itanium-based Systems"},
          Server2003{kDtc | kEnt, kItanium, "Datacenter Edition for Itanium-based Systems"}}) {
        cases.push_back({NT(5, 2, 3790, "SP2", kSv, suite, architecture),
                         ms + "Server 2003, " + edition + "SP2 (Build 3790)"});
    }
    // The editions GetProductInfo names: the ends of each run of the table, its gaps, and a
    // type it does not know.
    using Edition = std::pair<uint32_t, const char*>;
    for (auto [type, edition] :
         {Edition{0, ""}, Edition{1, "Ultimate Edition "}, Edition{2, "Home Basic Edition "},
          Edition{4, "Enterprise Edition "}, Edition{5, ""}, Edition{6, "Business Edition "},
          Edition{9, "Small Business Server "}, Edition{11, "Starter Edition "},
          Edition{12, "Datacenter Edition (core installation) "},
          Edition{13, "Standard Edition (core installation) "},
          Edition{14, "Enterprise Edition (core installation) "},
          Edition{15, "Enterprise Edition for Itanium-based Systems "}, Edition{16, ""},
          Edition{17, "Web Server Edition "}, Edition{18, "Cluster Server Edition "},
          Edition{19, ""}, Edition{25, "Small Business Server Premium Edition "},
          Edition{0x30, "Professional "}, Edition{0xABCDABCD, "Unlicensed "}}) {
        cases.push_back({Product(NT(6, 1, 7600, "", kWs, 0, kX64), type),
                         std::string("Windows 7 ") + edition + " (Build 7600)"});
    }
    for (const Case& c : cases) {
        bool ok = false;
        EXPECT_EQ(Describe(c.info, ok), c.text);
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

TEST(PlatformDescription, CutToTheBufferAndZeroFilled) {
    const Info info = Set(NT(5, 2, 3790, "Service Pack 2", kSv, kDtc, kX64), &Info::serverR2, true);
    bool ok = false;
    const std::string full = Describe(info, ok);
    ASSERT_GT(full.size(), 79u);
    for (size_t size : {size_t{80}, size_t{8}}) {
        char out[80];
        std::fill(std::begin(out), std::end(out), 'x');
        EXPECT_TRUE(GetPlatformDescription(info, out, size));
        EXPECT_EQ(std::string(out, size), full.substr(0, size - 1) + '\0');
    }
}

} // namespace
