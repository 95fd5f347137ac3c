# The Windows installer of the desktop program (included from desktop/ on
# Windows only): zelto.exe, zelto-batch.exe and the help file readme.txt in one
# folder, the Qt libraries and plug-ins beside them (windeployqt, through Qt's
# deployment script), the other DLLs the programs load (PROJ, SQLite, ...) and
# PROJ's database. The settings file ZELTO.ini and the contour data file
# CONCXY.DAT are written beside the executable, so the folder must be one the
# operator can write: the installer offers a folder under the user's own
# programs folder (%LOCALAPPDATA%\Programs) and needs no administrator.
#
#   cmake --preset msvc
#   cmake --build --preset msvc
#   cmake --install build/msvc --config Release --prefix dist   (a runnable folder)
#   cpack --preset msvc                                         (ZELTO-*.exe and .zip)
set_target_properties(zelto PROPERTIES WIN32_EXECUTABLE ON)

install(TARGETS zelto RUNTIME DESTINATION .
        RUNTIME_DEPENDENCY_SET zelto_dlls)
if(TARGET zelto-batch)
  install(TARGETS zelto-batch RUNTIME DESTINATION . RUNTIME_DEPENDENCY_SET zelto_dlls)
endif()
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/readme.txt DESTINATION .)

# Non-Qt DLLs from vcpkg's bin folder; Windows' own and the Qt ones (the
# deployment script below places those with their plug-ins) are left out.
install(RUNTIME_DEPENDENCY_SET zelto_dlls DESTINATION .
        PRE_EXCLUDE_REGEXES "api-ms-.*" "ext-ms-.*" "Qt6.*"
        POST_EXCLUDE_REGEXES ".*[Ss]ystem32/.*\\.dll")

# PROJ's database, looked up in "proj" beside the executable (PROJ_DATA).
find_file(ZELTO_PROJ_DB proj.db PATH_SUFFIXES share/proj)
if(ZELTO_PROJ_DB)
  install(FILES ${ZELTO_PROJ_DB} DESTINATION proj)
endif()

# windeployqt: Qt's DLLs, the platform plug-in qwindows.dll, the image and
# SVG plug-ins and the Chinese translations of Qt's own dialogs.
qt_generate_deploy_app_script(TARGET zelto OUTPUT_SCRIPT _zelto_deploy NO_UNSUPPORTED_PLATFORM_ERROR
                              DEPLOY_TOOL_OPTIONS --no-compiler-runtime)
install(SCRIPT ${_zelto_deploy})
# The Visual C++ runtime DLLs beside the programs (no separate installer).
set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
include(InstallRequiredSystemLibraries)

set(CPACK_PACKAGE_NAME ZELTO)
set(CPACK_PACKAGE_VENDOR ZELTO)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ZELTO)
set(CPACK_PACKAGE_EXECUTABLES zelto "ZELTO")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_DEFINES "RequestExecutionLevel user")
set(CPACK_NSIS_MUI_FINISHPAGE_RUN zelto.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
include(CPack)
