# The release packages of a Windows build, made by `cpack` in the build folder (or by the
# build's `package` target):
#   Clankmere-<version>-<system>.zip        Clankmere.exe with Graphics and Sounds, ready to run
#   Clankmere9x-<version>-win32.zip         the same for Clankmere9x.exe (i686 build only)
#   Clankmere-<version>-<system>-setup.exe  the installer of Clankmere.exe
# Each holds the replay tool clankmere-replay.exe of its build beside the game.
# <system> is win64 for the x86_64 build and win32 for the i686 build. Each zip holds one top
# folder, Clankmere-<version>-<system>.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_COMPONENTS_ALL Clankmere)
else()
    set(CPACK_SYSTEM_NAME win32)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
    # Windows 95 and 98 run i686 programs only.
    set(CPACK_COMPONENTS_ALL Clankmere Clankmere9x)
endif()

set(CPACK_PACKAGE_NAME Clankmere)
set(CPACK_PACKAGE_VENDOR "Lantern Hill Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR ZIP NSIS)

# One zip per program (install component).
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
foreach(program ${CPACK_COMPONENTS_ALL})
    string(TOUPPER ${program} upper)
    set(CPACK_ARCHIVE_${upper}_FILE_NAME ${program}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
endforeach()

# The installer, from our own script (cmake/Installer/NSIS.template.in).
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/Installer)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Clankmere)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Clankmere)
set(CPACK_NSIS_PACKAGE_NAME Clankmere)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/Resources/Robot.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/Resources/Robot.ico)

# What differs between the zips and the installer is set per generator when cpack runs.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackPerGenerator.cmake)

include(CPack)
