# Packages of the installed tree (see GrouperInstall.cmake), made by CPack
# from the build folder (`cpack` there, or the package step of the presets
# package-linux and package-windows):
#
#   Linux    grouper_<version>_amd64.deb   a Debian package: dependencies
#                                          computed by dpkg-shlibdeps, the
#                                          copyright file and changelog where
#                                          Debian keeps them, binaries stripped
#            grouper-<version>-Linux.tar.gz
#   Windows  grouper-<version>-win64.exe   an NSIS installer (64-bit, Unicode):
#                                          silent with /S /D=<folder>, Start
#                                          menu entries for the batch in a
#                                          console, grouper-month and the
#                                          Korean guide, a grouper-month
#                                          shortcut on the public desktop (an
#                                          option, on by default), and an
#                                          uninstaller that removes them all
#            grouper-<version>-win64.zip
#            (both carry the 32-bit grouper.dll in bin/x86: GROUPER_X86_DLL_DIR)
# grouper.html, the page that needs no installation (the wasm preset's
# build/wasm/js/grouper.html), goes into every package when GROUPER_PAGE names
# it: on Windows in the installation folder with a Start-menu entry
# "grouper (브라우저에서)", on Linux as /usr/share/grouper/grouper.html. The
# package presets take it from the environment (packaging/build-all.sh builds
# it first); a package made without it says so when it is configured.
set(GROUPER_PAGE "" CACHE FILEPATH "grouper.html of the wasm preset's build, for the packages")
if(GROUPER_PAGE)
  if(NOT EXISTS "${GROUPER_PAGE}")
    message(FATAL_ERROR "GROUPER_PAGE names ${GROUPER_PAGE}, which does not exist: build it "
      "first (cmake --preset wasm && cmake --build --preset wasm --target grouper_html)")
  endif()
  if(WIN32)
    set(GROUPER_INSTALL_PAGEDIR .)
  else()
    set(GROUPER_INSTALL_PAGEDIR ${CMAKE_INSTALL_DATADIR}/grouper)
  endif()
  install(FILES ${GROUPER_PAGE} DESTINATION ${GROUPER_INSTALL_PAGEDIR})
elseif(GROUPER_TEST_INSTALL)
  message(WARNING "The packages are made WITHOUT grouper.html (the page in the browser): "
    "GROUPER_PAGE is not set. Build it with the wasm preset and configure with "
    "-DGROUPER_PAGE=<source>/build/wasm/js/grouper.html (packaging/build-all.sh does both).")
endif()

set(CPACK_PACKAGE_NAME grouper)
set(CPACK_PACKAGE_VENDOR "grouper developers")
set(CPACK_PACKAGE_CONTACT "grouper developers <grouper@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "patient group codes of long-term care assessment records")
set(CPACK_PACKAGE_DESCRIPTION [=[
grouper reads a month of long-term care assessment records (one
fixed-width line per assessment, code page 949) and writes one line per
record: the record followed by its patient group code (A11 to A73), or
the message of the first rule of the assessment form that the record
breaks. It prints one progress line per record on the console.

The package holds the batch program grouper, the programs
grouper-month (a month's file made into its result file, explanation
table and report page in one go), grouper-explain (why a line gets its
answer, as text or JSON), grouper-report (a month's file as one HTML
page) and grouper-sample (synthetic assessment files), the library libgrouper with its C header,
CMake package and pkg-config file, and the Python module grouper.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git")
set(CPACK_PACKAGE_INSTALL_DIRECTORY grouper)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY grouper)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
  set(CPACK_SYSTEM_NAME win64)
  # Debian's makensis writes a 32-bit ANSI installer unless told otherwise;
  # Wine's 64-bit loader and any Windows run the 64-bit Unicode one, which
  # also takes a Hangul folder after /D=.
  # The Start-menu folder is "grouper", as the Korean guide names it, whatever
  # the version (MUI's default would be the package's name with its version).
  # The installer keeps no file's build time (SetDateSave off: installed files
  # are dated when installed), so that two builds of one commit make the same
  # installer.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!define MUI_STARTMENUPAGE_DEFAULTFOLDER \"grouper\"\nSetDateSave off")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_PACKAGE_NAME "grouper ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "grouper ${PROJECT_VERSION}")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # The 32-bit grouper.dll beside the 64-bit one, for 32-bit programs (Visual
  # Basic 6, PowerBuilder, Delphi, .NET run as 32-bit), with its import library
  # and the list of its exports, from a build of the preset windows-x86 (the
  # preset package-windows names build/windows-x86).
  set(GROUPER_X86_DLL_DIR "" CACHE PATH
    "Build folder of the preset windows-x86 whose grouper.dll the package carries in bin/x86")
  if(GROUPER_X86_DLL_DIR)
    set(grouper_x86_files grouper.dll grouper.lib grouper.def)
    list(TRANSFORM grouper_x86_files PREPEND ${GROUPER_X86_DLL_DIR}/)
    # Said now rather than by the install step, deep in the test or package step.
    if(NOT EXISTS ${GROUPER_X86_DLL_DIR}/grouper.dll)
      message(FATAL_ERROR "The installer and the zip carry the 32-bit grouper.dll of "
        "${GROUPER_X86_DLL_DIR}, which is not built yet. Build it first:\n"
        "  cmake --preset windows-x86 && cmake --build --preset windows-x86 --target grouper_shared\n"
        "or make every package with packaging/build-all.sh.")
    endif()
    install(FILES ${grouper_x86_files} DESTINATION ${CMAKE_INSTALL_BINDIR}/x86)
    # Stripped as the package's own programs are (CPACK_STRIP_FILES).
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\"
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/x86/grouper.dll\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  endif()
  # The clerks run the batch from its prompts: the entry opens a console in
  # code page 949, in the folder of whoever opens it (%USERPROFILE%, which cmd
  # reads when it starts), runs grouper (which asks for the file names when
  # there is no grouper.in) and leaves the console open to read.
  #
  # grouper-month has an entry too (without a file it asks for one), and a
  # shortcut on the desktop of every user, onto which the month's file is
  # dropped: CPack makes both from the lists below and removes them again. The
  # desktop shortcut is the check box of CPack's options page, which our copy
  # of the page (cmake/cpack/NSIS.InstallOptions.ini.in, found through
  # CPACK_MODULE_PATH) has on, so that a silent install makes it too. The
  # page also offers to put bin on the PATH, which stays off unless chosen.
  # The Korean guide (doc\ko\index.html) gets an entry of its own.
  set(CPACK_PACKAGE_EXECUTABLES grouper-month grouper-month)
  set(CPACK_CREATE_DESKTOP_LINKS grouper-month)
  set(CPACK_NSIS_MODIFY_PATH ON)
  set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake/cpack ${CMAKE_MODULE_PATH})
  # Shortcuts for every user, the desktop's included, whoever installs; the
  # uninstaller looks for them there.
  set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "SetShellVarContext all")
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "SetShellVarContext all")
  set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\grouper.lnk" "$SYSDIR\cmd.exe" '/k "chcp 949 >nul & cd /d "%USERPROFILE%" & "$INSTDIR\bin\grouper.exe""' "$INSTDIR\bin\grouper.exe" 0
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\grouper 사용 안내.lnk" "$INSTDIR\doc\ko\index.html"]=])
  set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\grouper.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\grouper 사용 안내.lnk"]=])
  if(GROUPER_PAGE)
    string(APPEND CPACK_NSIS_CREATE_ICONS_EXTRA [=[

  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\grouper (브라우저에서).lnk" "$INSTDIR\grouper.html"]=])
    string(APPEND CPACK_NSIS_DELETE_ICONS_EXTRA [=[

  Delete "$SMPROGRAMS\$MUI_TEMP\grouper (브라우저에서).lnk"]=])
  endif()
  # CPack writes these into its configuration file as they are, between
  # quotes that CMake reads again: escape what CMake would read.
  foreach(code CPACK_NSIS_DEFINES CPACK_NSIS_CREATE_ICONS_EXTRA CPACK_NSIS_DELETE_ICONS_EXTRA)
    string(REPLACE "\\" "\\\\" ${code} "${${code}}")
    string(REPLACE "\"" "\\\"" ${code} "${${code}}")
  endforeach()
else()
  # The package installs under /usr (CPack's default for it); configure with
  # CMAKE_INSTALL_PREFIX=/usr too (the preset package-linux does), so that the
  # library goes to Debian's multiarch folder.
  set(CPACK_GENERATOR DEB TGZ)
  # The first Debian revision of the release; the file is named by the release.
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE grouper_deb_arch
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT grouper_deb_arch)
    set(grouper_deb_arch amd64)
  endif()
  set(CPACK_DEBIAN_FILE_NAME grouper_${PROJECT_VERSION}_${grouper_deb_arch}.deb)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  # The Python module, the Java jar (on JNA) and the .NET assembly (on Mono).
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS
      "python3, default-jre-headless | java-runtime-headless, libjna-java, mono-runtime, libmono-posix4.0-cil")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

  # The copyright file and the package's changelog, where Debian keeps them.
  set(grouper_debian ${CMAKE_BINARY_DIR}/debian)
  file(CONFIGURE OUTPUT ${grouper_debian}/copyright @ONLY CONTENT [=[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: grouper
Upstream-Contact: @CPACK_PACKAGE_CONTACT@

Files: *
Copyright: 2026 grouper developers
License: Apache-2.0
 Licensed under the Apache License, Version 2.0 (the "License"); you may not
 use this file except in compliance with the License. You may obtain a copy
 of the License at
 .
     http://www.apache.org/licenses/LICENSE-2.0
 .
 Unless required by applicable law or agreed to in writing, software
 distributed under the License is distributed on an "AS IS" BASIS, WITHOUT
 WARRANTIES OR CONDITIONS OF ANY KIND, either express or implied. See the
 License for the specific language governing permissions and limitations
 under the License.
 .
 On Debian systems, the full text of the Apache License, Version 2.0 can be
 found in the file `/usr/share/common-licenses/Apache-2.0'.
]=])
  file(CONFIGURE OUTPUT ${grouper_debian}/changelog.Debian @ONLY CONTENT [=[
grouper (1.2.0-1) unstable; urgency=medium

  * grouper-month: a month's file made into its result file, explanation
    table and report in a folder beside it. The batch takes whole names at
    its prompt and warns about a wrong file. Item codes and names in the
    explanation and the report; a Korean guide. A 32-bit grouper.dll for
    32-bit Windows programs; a Python wheel, a jar and a NuGet package.
    See CHANGELOG.md.

 -- @CPACK_PACKAGE_CONTACT@  Wed, 09 Dec 2026 12:00:00 +0000

grouper (1.1.0-1) unstable; urgency=medium

  * Installable: a Debian package and a Windows installer; every program
    installed, with the library, its CMake package, the pkg-config file
    and the Python module. See CHANGELOG.md.

 -- @CPACK_PACKAGE_CONTACT@  Wed, 09 Dec 2026 00:00:00 +0000

grouper (1.0.0-1) unstable; urgency=medium

  * First release: the batch program, grouper-explain, grouper-report,
    grouper-sample, libgrouper and the Python module.

 -- @CPACK_PACKAGE_CONTACT@  Tue, 08 Dec 2026 00:00:00 +0000
]=])
  file(READ ${grouper_debian}/changelog.Debian changelog)
  string(FIND "${changelog}" "grouper (${PROJECT_VERSION}-1)" entry)
  if(entry EQUAL -1)
    message(FATAL_ERROR "cmake/GrouperPackage.cmake: add version ${PROJECT_VERSION} to changelog.Debian")
  endif()
  # Compressed as Debian wants it: best compression, no name or time stamp.
  if(GROUPER_GZIP)
    execute_process(COMMAND ${GROUPER_GZIP} -9nc ${grouper_debian}/changelog.Debian
      OUTPUT_FILE ${grouper_debian}/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${grouper_debian}/copyright ${grouper_debian}/changelog.Debian.gz
      DESTINATION ${CMAKE_INSTALL_DOCDIR})
    # The programs' manual pages, compressed the same way.
    foreach(program grouper grouper-month grouper-explain grouper-report grouper-sample)
      configure_file(${CMAKE_SOURCE_DIR}/docs/man/${program}.1.in ${grouper_debian}/${program}.1 @ONLY)
      execute_process(COMMAND ${GROUPER_GZIP} -9nc ${grouper_debian}/${program}.1
        OUTPUT_FILE ${grouper_debian}/${program}.1.gz COMMAND_ERROR_IS_FATAL ANY)
      install(FILES ${grouper_debian}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
  endif()

  # The maintainer scripts: the loader's cache is updated by libc's ldconfig
  # trigger; the Python module is byte-compiled when installed and its cache
  # removed before the package goes, as Debian does for its own modules.
  set(grouper_python_module "/usr/${GROUPER_INSTALL_PYTHONDIR}/grouper")
  file(WRITE ${grouper_debian}/triggers "activate-noawait ldconfig\n")
  file(CONFIGURE OUTPUT ${grouper_debian}/postinst @ONLY CONTENT [=[
#!/bin/sh
set -e
if [ "$1" = configure ] && command -v python3 >/dev/null 2>&1; then
  python3 -m compileall -q "@grouper_python_module@" >/dev/null 2>&1 || true
fi
]=])
  file(CONFIGURE OUTPUT ${grouper_debian}/prerm @ONLY CONTENT [=[
#!/bin/sh
set -e
rm -rf "@grouper_python_module@/__pycache__"
]=])
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${grouper_debian}/triggers ${grouper_debian}/postinst ${grouper_debian}/prerm)

  # One package holds the programs, the library and what builds against it,
  # as the users install it; a library package of its own is not wanted.
  file(WRITE ${grouper_debian}/lintian-overrides [=[
grouper: package-name-doesnt-match-sonames libgrouper1
grouper: link-to-shared-library-in-wrong-package *
]=])
  install(FILES ${grouper_debian}/lintian-overrides DESTINATION share/lintian/overrides
    RENAME grouper)
endif()

include(CPack)
