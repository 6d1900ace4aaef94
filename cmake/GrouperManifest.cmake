# The application manifest (windows/grouper.manifest) in every Windows program
# that the project builds: the batch, the tools and the test programs. It
# makes them long-path aware, runs them as invoker and names the Windows
# versions they are written for.
#
# MinGW-w64 links it as resource 1 of type 24 (the process's manifest),
# compiled by windres from a one-line resource script; Microsoft's linker
# merges it into the manifest that it makes itself.
#
# include() this at the top level before any target (it enables the resource
# compiler), and call grouper_embed_manifest() once after the last
# add_subdirectory: every executable made from the project's own folders then
# carries the manifest, a program added later included.

set(GROUPER_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/windows/grouper.manifest)
if(WIN32 AND NOT MSVC)
  enable_language(RC)
  set(GROUPER_MANIFEST_RC ${CMAKE_BINARY_DIR}/grouper_manifest.rc)
  file(CONFIGURE OUTPUT ${GROUPER_MANIFEST_RC} CONTENT [=[
/* The application manifest: CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST. */
1 24 "@GROUPER_MANIFEST@"
]=] @ONLY)
endif()

function(grouper_embed_manifest)
  if(NOT WIN32)
    return()
  endif()
  if(MSVC)
    set(source ${GROUPER_MANIFEST})
  else()
    set(source ${GROUPER_MANIFEST_RC})
  endif()
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    # Folders of other projects (GoogleTest's sources) are left as they are.
    cmake_path(IS_PREFIX CMAKE_SOURCE_DIR "${dir}" NORMALIZE ours)
    if(NOT ours)
      continue()
    endif()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        target_sources(${target} PRIVATE ${source})
        # windres reads the manifest by name; a change to it rebuilds the
        # resource.
        set_source_files_properties(${source} TARGET_DIRECTORY ${target}
          PROPERTIES OBJECT_DEPENDS ${GROUPER_MANIFEST})
      endif()
    endforeach()
  endwhile()
endfunction()
