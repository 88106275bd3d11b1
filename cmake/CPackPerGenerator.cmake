# Read by cpack before each generator runs.

if(CPACK_GENERATOR STREQUAL "NSIS")
    # The installer holds the standard program alone, installed as one piece: no page to choose
    # components.
    set(CPACK_MONOLITHIC_INSTALL ON)
    list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 build_folder)
    set(CPACK_INSTALL_CMAKE_PROJECTS "${build_folder};Clankmere;Clankmere;/")
    set(CPACK_PACKAGE_FILE_NAME
        "Clankmere-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME}-setup")
endif()
