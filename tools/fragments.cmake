# zk_include_fragments(FOLDER): includes every *.cmake file of FOLDER, each keeping the targets of one
# group, so a group adds its targets without editing the folder's CMakeLists.txt. Used by tests/ and bench/.
function(zk_include_fragments folder)
  file(GLOB fragments CONFIGURE_DEPENDS ${folder}/*.cmake)
  foreach(f ${fragments})
    include(${f})
  endforeach()
endfunction()
