# Installation where Linux packages put things: the game and its data, its
# desktop integration, and the engine as a library other programs build against.
#   cmake --install build [--prefix DIR]      (DESTDIR is honoured)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KB_RELEASE_DATE 2026-12-08)
# Where the project presents itself; the AppStream screenshot lives below it.
set(KB_HOMEPAGE https://brightmoor.example/kestrelby)
# Debian's games layout puts the data under share/games (debian/rules sets it).
set(KB_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/kestrelby/assets CACHE STRING
  "Where the game's data is installed, below the prefix; its last folder is named assets")
set(KB_DATA_INSTALL_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${KB_DATA_INSTALL_DIR})
set(DW_INCLUDE_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/duskwright)
set(DW_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/duskwright)
set(KB_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(KB_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# --- engine library ----------------------------------------------------------
set_target_properties(duskwright PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
# Both <duskwright/base/StringHash.h> and <base/StringHash.h> resolve.
target_include_directories(duskwright PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
  $<INSTALL_INTERFACE:${DW_INCLUDE_INSTALL_DIR}>)
set_target_properties(kb_mygui_ogre PROPERTIES EXPORT_NAME MyGUIOgrePlatform)

install(TARGETS duskwright kb_mygui_ogre EXPORT duskwrightTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# Every header of the exported interface; helpers that only the library's own
# sources include stay behind.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/engine/ DESTINATION ${DW_INCLUDE_INSTALL_DIR}
  FILES_MATCHING PATTERN "*.h"
  PATTERN "WindowCloseWatch.h" EXCLUDE)
install(EXPORT duskwrightTargets NAMESPACE duskwright:: DESTINATION ${DW_CMAKE_INSTALL_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/duskwrightConfig.cmake.in
  ${KB_PACKAGING_OUT}/duskwrightConfig.cmake INSTALL_DESTINATION ${DW_CMAKE_INSTALL_DIR})
write_basic_package_version_file(${KB_PACKAGING_OUT}/duskwrightConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${KB_PACKAGING_OUT}/duskwrightConfig.cmake ${KB_PACKAGING_OUT}/duskwrightConfigVersion.cmake
  DESTINATION ${DW_CMAKE_INSTALL_DIR})

# pkg-config: paths relative to the .pc file, so a DESTDIR or moved tree works.
file(RELATIVE_PATH DW_PC_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" DW_PC_PREFIX "${DW_PC_PREFIX}")
# A sanitized engine needs the sanitizer runtime linked into its consumers.
set(DW_PC_EXTRA_LIBS "")
if(KB_SANITIZE)
  list(JOIN KB_SANITIZER_FLAGS " " DW_PC_EXTRA_LIBS)
  set(DW_PC_EXTRA_LIBS " ${DW_PC_EXTRA_LIBS}")
endif()
configure_file(${KB_PACKAGING_DIR}/duskwright.pc.in ${KB_PACKAGING_OUT}/duskwright.pc @ONLY)
install(FILES ${KB_PACKAGING_OUT}/duskwright.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# --- game ----------------------------------------------------------------------
# The game finds the library and its data from its own folder first, so an
# installation runs wherever it is unpacked.
file(RELATIVE_PATH KB_LIB_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH KB_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${KB_DATA_INSTALL_DIR})
set_target_properties(kestrelby PROPERTIES INSTALL_RPATH "$ORIGIN/${KB_LIB_FROM_BIN}")
target_compile_definitions(kestrelby PRIVATE
  KB_INSTALL_DATA_FROM_BIN="${KB_DATA_FROM_BIN}"
  KB_INSTALL_DATA_DIR="${KB_DATA_INSTALL_FULL_DIR}")
install(TARGETS kestrelby RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The generated data is copied as the build made it.
install(DIRECTORY ${KB_ASSET_DIR}/ DESTINATION ${KB_DATA_INSTALL_DIR})

configure_file(${KB_PACKAGING_DIR}/kestrelby.desktop.in ${KB_PACKAGING_OUT}/${KB_APP_ID}.desktop @ONLY)
configure_file(${KB_PACKAGING_DIR}/kestrelby.metainfo.xml.in ${KB_PACKAGING_OUT}/${KB_APP_ID}.metainfo.xml @ONLY)
configure_file(${KB_PACKAGING_DIR}/kestrelby.6.in ${KB_PACKAGING_OUT}/kestrelby.6 @ONLY)
install(FILES ${KB_PACKAGING_OUT}/${KB_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KB_PACKAGING_OUT}/${KB_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KB_PACKAGING_OUT}/kestrelby.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(DIRECTORY ${KB_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
