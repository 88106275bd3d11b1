// The system description of game records, for every kind of Windows it tells apart.
#include "PlatformDescription.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr uint8_t kServer = 3;
constexpr uint16_t kEnterprise = 0x2;
constexpr uint16_t kDatacenter = 0x80;
constexpr uint16_t kPersonal = 0x200;
constexpr uint16_t kWeb = 0x400;
constexpr uint16_t kItanium = 6;
constexpr uint16_t kX64 = 9;

PlatformVersionInfo Windows9x(uint32_t minor, const char* servicePack) {
    PlatformVersionInfo info{};
    info.versionRead = true;
    info.extendedFields = true;
    info.platformId = 1;
    info.majorVersion = 4;
    info.minorVersion = minor;
    info.buildNumber = 0x040A08AE;
    std::snprintf(info.servicePack, sizeof info.servicePack, "%s", servicePack);
    return info;
}

PlatformVersionInfo WindowsNT(uint32_t major, uint32_t minor, uint32_t build,
                              const char* servicePack, uint8_t productType, uint16_t suite = 0,
                              uint16_t architecture = 0) {
    PlatformVersionInfo info{};
    info.versionRead = true;
    info.extendedFields = true;
    info.platformId = 2;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = build;
    std::snprintf(info.servicePack, sizeof info.servicePack, "%s", servicePack);
    info.productType = productType;
    info.suiteMask = suite;
    info.processorArchitecture = architecture;
    return info;
}

PlatformVersionInfo WithProductInfo(PlatformVersionInfo info, uint32_t productInfoType) {
    info.productInfoAvailable = true;
    info.productInfoType = productInfoType;
    return info;
}

PlatformVersionInfo EarlyNT4(const char* productOptions) {
    PlatformVersionInfo info = WindowsNT(4, 0, 1381, "Service Pack 3", 0);
    info.extendedFields = false;
    info.productOptionsRead = productOptions != nullptr;
    std::snprintf(info.productOptions, sizeof info.productOptions, "%s",
                  productOptions ? productOptions : "");
    return info;
}

std::string Describe(const PlatformVersionInfo& info, bool expectedResult = true) {
    char out[256];
    EXPECT_EQ(GetPlatformDescription(info, out, sizeof out), expectedResult);
    return out;
}

TEST(PlatformDescription, NothingWithoutVersionInformation) {
    PlatformVersionInfo info = WindowsNT(5, 1, 2600, "Service Pack 3", kWorkstation);
    info.versionRead = false;
    EXPECT_EQ(Describe(info, false), "");
}

TEST(PlatformDescription, Win32sAndUnknownPlatforms) {
    PlatformVersionInfo info = Windows9x(0, "");
    info.platformId = 0;
    EXPECT_EQ(Describe(info), "Microsoft Win32s");
    info.platformId = 3;
    EXPECT_EQ(Describe(info), "");
}

TEST(PlatformDescription, The95FamilyWithoutBuild) {
    EXPECT_EQ(Describe(Windows9x(0, "")), "Microsoft Windows 95 ");
    EXPECT_EQ(Describe(Windows9x(0, " A")), "Microsoft Windows 95 ");
    EXPECT_EQ(Describe(Windows9x(0, " B")), "Microsoft Windows 95 OSR2 ");
    EXPECT_EQ(Describe(Windows9x(0, " C")), "Microsoft Windows 95 OSR2 ");
    EXPECT_EQ(Describe(Windows9x(10, "")), "Microsoft Windows 98 ");
    EXPECT_EQ(Describe(Windows9x(10, " A ")), "Microsoft Windows 98 SE ");
    EXPECT_EQ(Describe(Windows9x(10, " B")), "Microsoft Windows 98 SE ");
    EXPECT_EQ(Describe(Windows9x(10, " C")), "Microsoft Windows 98 ");
    EXPECT_EQ(Describe(Windows9x(90, " ")), "Microsoft Windows Millennium Edition");
    PlatformVersionInfo other = Windows9x(0, " C");
    other.majorVersion = 5;
    EXPECT_EQ(Describe(other), "");
}

TEST(PlatformDescription, NT4WithExtendedFields) {
    EXPECT_EQ(Describe(WindowsNT(4, 0, 1381, "Service Pack 6", kWorkstation)),
              "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381)");
    EXPECT_EQ(Describe(WindowsNT(4, 0, 1381, "Service Pack 5", kServer)),
              "Microsoft Windows NT Server 4.0 Service Pack 5 (Build 1381)");
    EXPECT_EQ(Describe(WindowsNT(4, 0, 1381, "Service Pack 5", kDomainController)),
              "Microsoft Windows NT Server 4.0 Service Pack 5 (Build 1381)");
    EXPECT_EQ(Describe(WindowsNT(4, 0, 1381, "Service Pack 5", kServer, kEnterprise)),
              "Microsoft Windows NT Server 4.0, Enterprise Edition Service Pack 5 (Build 1381)");
    EXPECT_EQ(Describe(WindowsNT(4, 0, 1381, "", 0)), "Microsoft Windows NT  (Build 1381)");
}

TEST(PlatformDescription, NT4ServicePack6aByItsHotfix) {
    PlatformVersionInfo info = WindowsNT(4, 0, 1381, "service pack 6", kWorkstation);
    EXPECT_EQ(Describe(info), "Microsoft Windows NT Workstation 4.0 service pack 6 (Build 1381)");
    info.hotfixQ246009 = true;
    EXPECT_EQ(Describe(info), "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381)");
    std::snprintf(info.servicePack, sizeof info.servicePack, "Service Pack 5");
    EXPECT_EQ(Describe(info), "Microsoft Windows NT Workstation 4.0 Service Pack 5 (Build 1381)");
    PlatformVersionInfo later = WindowsNT(5, 0, 2195, "Service Pack 6", kWorkstation);
    later.hotfixQ246009 = true;
    EXPECT_EQ(Describe(later), "Microsoft Windows 2000 Professional Service Pack 6 (Build 2195)");
}

TEST(PlatformDescription, EarlyNT4ReadsTheProductOptions) {
    EXPECT_EQ(Describe(EarlyNT4("WINNT")),
              "Microsoft Windows NT Workstation 4.0 Service Pack 3 (Build 1381)");
    EXPECT_EQ(Describe(EarlyNT4("LanmanNT")),
              "Microsoft Windows NT Server 4.0 Service Pack 3 (Build 1381)");
    EXPECT_EQ(Describe(EarlyNT4("ServerNT")),
              "Microsoft Windows NT Advanced Server 4.0 Service Pack 3 (Build 1381)");
    EXPECT_EQ(Describe(EarlyNT4("WINNTX")), "Microsoft Windows NT 4.0 Service Pack 3 (Build 1381)");
    EXPECT_EQ(Describe(EarlyNT4(nullptr), false), "Microsoft Windows NT ");
}

TEST(PlatformDescription, EarlyNT4ProductOptionsFillingTheirBuffer) {
    PlatformVersionInfo info = EarlyNT4(nullptr);
    info.productOptionsRead = true;
    std::fill(std::begin(info.productOptions), std::end(info.productOptions), 'W');
    EXPECT_EQ(Describe(info), "Microsoft Windows NT 4.0 Service Pack 3 (Build 1381)");
}

TEST(PlatformDescription, Windows2000) {
    EXPECT_EQ(Describe(WindowsNT(5, 0, 2195, "Service Pack 4", kWorkstation)),
              "Microsoft Windows 2000 Professional Service Pack 4 (Build 2195)");
    EXPECT_EQ(Describe(WindowsNT(5, 0, 2195, "Service Pack 4", kServer)),
              "Microsoft Windows 2000 Server Service Pack 4 (Build 2195)");
    EXPECT_EQ(Describe(WindowsNT(5, 0, 2195, "Service Pack 4", kServer, kEnterprise)),
              "Microsoft Windows 2000 Advanced Server Service Pack 4 (Build 2195)");
    EXPECT_EQ(Describe(WindowsNT(5, 0, 2195, "Service Pack 4", kDomainController,
                                 kDatacenter | kEnterprise)),
              "Microsoft Windows 2000 Datacenter Server Service Pack 4 (Build 2195)");
}

TEST(PlatformDescription, WindowsXP) {
    EXPECT_EQ(Describe(WindowsNT(5, 1, 2600, "Service Pack 3", kWorkstation)),
              "Microsoft Windows XP Professional Service Pack 3 (Build 2600)");
    EXPECT_EQ(Describe(WindowsNT(5, 1, 2600, "Service Pack 3", kWorkstation, kPersonal)),
              "Microsoft Windows XP Home Edition Service Pack 3 (Build 2600)");
    EXPECT_EQ(Describe(WindowsNT(5, 2, 3790, "Service Pack 2", kWorkstation, 0, kX64)),
              "Microsoft Windows XP Professional x64 Edition Service Pack 2 (Build 3790)");
}

TEST(PlatformDescription, WindowsServer2003) {
    const char* const prefix = "Microsoft Windows Server 2003, ";
    struct Case {
        uint16_t suite;
        uint16_t architecture;
        const char* edition;
    };
    for (Case c :
         {Case{0, 0, "Standard Edition "}, Case{kEnterprise, 0, "Enterprise Edition "},
          Case{kDatacenter | kEnterprise, 0, "Datacenter Edition "}, Case{kWeb, 0, "Web Edition "},
          Case{kEnterprise | kWeb, 0, "Enterprise Edition "},
          Case{0, kX64, "Standard x64 Edition "},
          Case{kEnterprise, kX64, "Enterprise x64 Edition "},
          Case{kDatacenter, kX64, "Datacenter x64 Edition "}, Case{0, kItanium, ""},
          Case{kWeb, kItanium, ""},
          Case{kEnterprise, kItanium, "Enterprise Edition for Itanium-based Systems"},
          Case{kDatacenter | kEnterprise, kItanium,
               "Datacenter Edition for Itanium-based Systems"}}) {
        EXPECT_EQ(
            Describe(WindowsNT(5, 2, 3790, "Service Pack 2", kServer, c.suite, c.architecture)),
            std::string(prefix) + c.edition + "Service Pack 2 (Build 3790)")
            << "suite " << c.suite << ", architecture " << c.architecture;
    }
}

TEST(PlatformDescription, WindowsServer2003R2) {
    PlatformVersionInfo info = WindowsNT(5, 2, 3790, "Service Pack 2", kServer, kEnterprise);
    info.serverR2 = true;
    EXPECT_EQ(
        Describe(info),
        "Microsoft Windows Server 2003 \"R2\" Enterprise Edition Service Pack 2 (Build 3790)");
}

TEST(PlatformDescription, VistaAnd2008) {
    EXPECT_EQ(Describe(WithProductInfo(WindowsNT(6, 0, 6002, "Service Pack 2", kWorkstation), 3)),
              "Windows Vista Home Premium Edition Professional Service Pack 2 (Build 6002)");
    EXPECT_EQ(Describe(WithProductInfo(
                  WindowsNT(6, 0, 6002, "Service Pack 2", kWorkstation, kPersonal, kX64), 6)),
              "Windows Vista Business Edition Service Pack 2 (Build 6002)");
    EXPECT_EQ(Describe(WithProductInfo(WindowsNT(6, 0, 6002, "Service Pack 2", kServer), 7)),
              "Windows Server 2008 Standard Edition Server 4.0 Service Pack 2 (Build 6002)");
    EXPECT_EQ(
        Describe(WithProductInfo(WindowsNT(6, 0, 6001, "", kServer, kEnterprise), 10)),
        "Windows Server 2008 Enterprise Edition Server 4.0, Enterprise Edition  (Build 6001)");
}

TEST(PlatformDescription, Windows7And2008R2) {
    EXPECT_EQ(Describe(WithProductInfo(
                  WindowsNT(6, 1, 7601, "Service Pack 1", kWorkstation, 0, kX64), 1)),
              "Windows 7 Ultimate Edition Service Pack 1 (Build 7601)");
    EXPECT_EQ(Describe(WithProductInfo(WindowsNT(6, 1, 7601, "Service Pack 1", kWorkstation), 1)),
              "Windows 7 Ultimate Edition Professional Service Pack 1 (Build 7601)");
    EXPECT_EQ(Describe(WindowsNT(6, 1, 7601, "Service Pack 1", kWorkstation, kPersonal)),
              "Windows 7 Home Edition Service Pack 1 (Build 7601)");
    EXPECT_EQ(Describe(WithProductInfo(
                  WindowsNT(6, 1, 7601, "Service Pack 1", kServer, kDatacenter, kX64), 8)),
              "Windows Server 2008 R2 Datacenter Edition Server 4.0 Service Pack 1 (Build 7601)");
    EXPECT_EQ(Describe(WithProductInfo(WindowsNT(6, 2, 9200, "", kWorkstation, 0, kX64), 0x30)),
              "Newer than Windows 7 Professional  (Build 9200)");
}

TEST(PlatformDescription, EveryEditionOfProductInfo) {
    struct Case {
        uint32_t type;
        const char* edition;
    };
    for (Case c : {Case{1, "Ultimate Edition "},
                   Case{2, "Home Basic Edition "},
                   Case{3, "Home Premium Edition "},
                   Case{4, "Enterprise Edition "},
                   Case{5, ""},
                   Case{6, "Business Edition "},
                   Case{7, "Standard Edition "},
                   Case{8, "Datacenter Edition "},
                   Case{9, "Small Business Server "},
                   Case{10, "Enterprise Edition "},
                   Case{11, "Starter Edition "},
                   Case{12, "Datacenter Edition (core installation) "},
                   Case{13, "Standard Edition (core installation) "},
                   Case{14, "Enterprise Edition (core installation) "},
                   Case{15, "Enterprise Edition for Itanium-based Systems "},
                   Case{16, ""},
                   Case{17, "Web Server Edition "},
                   Case{18, "Cluster Server Edition "},
                   Case{19, ""},
                   Case{25, "Small Business Server Premium Edition "},
                   Case{0x30, "Professional "},
                   Case{0xABCDABCD, "Unlicensed "},
                   Case{0, ""}}) {
        EXPECT_EQ(
            Describe(WithProductInfo(WindowsNT(6, 1, 7600, "", kWorkstation, 0, kX64), c.type)),
            std::string("Windows 7 ") + c.edition + " (Build 7600)")
            << "product type " << c.type;
    }
}

TEST(PlatformDescription, VersionTenAndLater) {
    PlatformVersionInfo info =
        WithProductInfo(WindowsNT(10, 0, 19045, "", kWorkstation, 0, kX64), 0x30);
    EXPECT_EQ(Describe(info), "WNewer than Windows 7  (Build 19045)") << "no edition lookup";
    EXPECT_EQ(Describe(WindowsNT(10, 0, 19045, "", kWorkstation)),
              "WNewer than Windows 7 Professional  (Build 19045)");
    EXPECT_EQ(Describe(WindowsNT(10, 0, 22631, "", kWorkstation, kPersonal)),
              "WNewer than Windows 7 Home Edition  (Build 22631)");
    EXPECT_EQ(Describe(WindowsNT(10, 0, 17763, "", kServer, 0, kX64)),
              "WNewer than Windows 7 Server 4.0  (Build 17763)");
    EXPECT_EQ(Describe(WindowsNT(10, 0, 17763, "", kDomainController, kEnterprise, kX64)),
              "WNewer than Windows 7 Server 4.0, Enterprise Edition  (Build 17763)");
}

TEST(PlatformDescription, BuildIsTheLow16Bits) {
    EXPECT_EQ(Describe(WindowsNT(5, 1, 0x05010A28, "", kWorkstation)),
              "Microsoft Windows XP Professional  (Build 2600)");
}

TEST(PlatformDescription, ServicePackAndBuildFormOnePieceOf127Characters) {
    const std::string longText(120, 's');
    const std::string piece = (longText + " (Build 2600)").substr(0, 127);
    EXPECT_EQ(Describe(WindowsNT(5, 1, 2600, longText.c_str(), kWorkstation)),
              "Microsoft Windows XP Professional " + piece);
}

TEST(PlatformDescription, CutToTheBufferAndZeroFilled) {
    PlatformVersionInfo info = WindowsNT(5, 2, 3790, "Service Pack 2", kServer, kDatacenter, kX64);
    info.serverR2 = true;
    const std::string full = Describe(info);
    ASSERT_GT(full.size(), 79u);
    char out[80];
    std::fill(std::begin(out), std::end(out), 'x');
    EXPECT_TRUE(GetPlatformDescription(info, out, sizeof out));
    EXPECT_EQ(std::string(out), full.substr(0, 79));

    char small[8];
    std::fill(std::begin(small), std::end(small), 'x');
    EXPECT_TRUE(
        GetPlatformDescription(WindowsNT(5, 1, 2600, "", kWorkstation), small, sizeof small));
    EXPECT_EQ(std::string(small), "Microso");
}

TEST(PlatformDescription, OtherSystems) {
    char out[80];
    DescribeOtherPlatform("Linux", "6.1.0-18-amd64", "x86_64", out, sizeof out);
    EXPECT_STREQ(out, "Linux 6.1.0-18-amd64 (x86_64)");
    DescribeOtherPlatform("Plan", "", nullptr, out, sizeof out);
    EXPECT_STREQ(out, "Plan");

    ASSERT_TRUE(GetPlatformDescription(out, sizeof out));
    EXPECT_NE(out[0], '\0');
}

} // namespace
