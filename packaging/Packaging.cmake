# The release packages of this build (x64: win64, x86: win32): a portable zip
# and an NSIS installer, with SHA-256 sums beside them. scripts/package.sh
# makes them for both builds; `cpack` in a build tree makes that build's.

# $PROGRAMFILES, in both: each installer runs as its own kind of program, so
# that is "Program Files" for the x64 one and "Program Files (x86)" for the
# x86 one on 64-bit Windows. ($PROGRAMFILES64 would name the 32-bit folder in
# the x64 installer: CPack writes the install folder before the Target line.)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
set(vantrel_nsis_include "!include '${CMAKE_CURRENT_LIST_DIR}/firewall.nsh'")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # NSIS's default stub is a 32-bit program: the x64 installer is a 64-bit
  # one, so it runs where only 64-bit programs do.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode\n${vantrel_nsis_include}")
else()
  set(CPACK_NSIS_DEFINES "Unicode true\n${vantrel_nsis_include}")
endif()

# Everything in one folder: the tool finds zova.dll beside it.
foreach(program VantrelConfig zova vantrel-cli vantrel-devsim)
  install(PROGRAMS $<TARGET_FILE:${program}> DESTINATION .)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/simulator/fleets/demo.fleet
              ${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_CURRENT_LIST_DIR}/NOTICES.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME VantrelConfig)
set(CPACK_PACKAGE_VENDOR "Ulvenor Ltd")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME VantrelConfig-${PROJECT_VERSION}-${VANTREL_PACKAGE_ARCH})
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vantrel Config")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Vantrel Config")
set(CPACK_PACKAGE_EXECUTABLES VantrelConfig "Vantrel Config")
set(CPACK_NSIS_PACKAGE_NAME "Vantrel Config")
set(CPACK_NSIS_DISPLAY_NAME "Vantrel Config")
set(CPACK_NSIS_INSTALLED_ICON_NAME VantrelConfig.exe)
# The programs sit in the installation folder itself, not in bin/: the
# Start-menu shortcut points there.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/VantrelConfig.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/VantrelConfig.ico)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# Firewall rules for the programs that receive (packaging/firewall.nsh).
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro VantrelFirewallInstall")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro VantrelFirewallUninstall")
# The uninstaller removes the publisher's key too, once nothing else is in it.
set(CPACK_NSIS_DELETE_ICONS_EXTRA "DeleteRegKey /ifempty SHCTX 'Software\\\\Ulvenor Ltd'")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
